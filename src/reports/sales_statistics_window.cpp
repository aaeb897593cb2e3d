#include "reports/sales_statistics_window.h"

#include "ui/combo_items.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace reports {

namespace {

const QString kNoSales = QStringLiteral("没有销售数据！");
const QString kNotRead = QStringLiteral("读取销售数据失败！");

// Eleven rows down the group box; the right half of a row starts at kRightLeft.
constexpr int kRowTop = 26;
constexpr int kRowStep = 38;
constexpr int kRowHeight = 24;
constexpr int kRightLeft = 236;

QRect at(int row, int left, int width) {
    return {left, kRowTop + (row - 1) * kRowStep, width, kRowHeight};
}

}  // namespace

SalesStatisticsWindow::SalesStatisticsWindow(session::Shell& shell, QWidget* host)
    : HostedWindow(host, QStringLiteral("销售统计"), QSize(479, 488)), shell_(shell) {
    buildForm();
    connect(按钮_日期查询, &QPushButton::clicked, this, &SalesStatisticsWindow::queryDateRange);
    connect(按钮_单品查询, &QPushButton::clicked, this, &SalesStatisticsWindow::queryProduct);
    connect(按钮_单品查询1, &QPushButton::clicked, this, &SalesStatisticsWindow::querySalesperson);
    shell_.tellUnlessRead(fillCombos());
}

void SalesStatisticsWindow::buildForm() {
    分组框1 = ui::addGroupBox(body(), "分组框1", QStringLiteral("销售额查询"), {4, 2, 471, 456});
    QWidget* group = 分组框1;
    int captions = 0;
    const auto caption = [&](const char* text, QRect place) {
        ui::addLabel(group, QStringLiteral("标签%1").arg(++captions), QString::fromUtf8(text), place);
    };
    QList<QLabel*> results;
    const auto result = [&](const char* name, QRect place) {
        QLabel* label = ui::addLabel(group, name, {}, place);
        results << label;
        return label;
    };
    // A row's result in the left or the right half: caption, figure, unit.
    const auto figure = [&](int row, int left, const char* text, const char* name, const char* unit) {
        caption(text, at(row, left, 76));
        QLabel* label = result(name, at(row, left + 76, unit ? 110 : 130));
        if (unit) caption(unit, at(row, left + 188, 20));
        return label;
    };
    const QDate today = shell_.clock.now().date();

    caption("从", at(1, 10, 20));
    日期框1 = ui::named(ui::makeDateBox(group, today), "日期框1", at(1, 32, 124));
    caption("--到--", at(1, 160, 44));
    日期框2 = ui::named(ui::makeDateBox(group, today), "日期框2", at(1, 206, 124));
    按钮_日期查询 = ui::addButton(group, "按钮_日期查询", QStringLiteral("查询"), at(1, 350, 80));

    标签_总金额 = figure(2, 10, "总销售额：", "标签_总金额", "元");
    标签_总件数 = figure(2, kRightLeft, "总件数：", "标签_总件数", "件");

    caption("销售最多的款：", at(3, 10, 104));
    编辑框_最多 = ui::addLineEdit(group, "编辑框_最多", at(3, 114, 110));
    标签_最多 = figure(3, kRightLeft, "共计销售：", "标签_最多", "件");
    标签_最多占比 = figure(4, kRightLeft, "占比：", "标签_最多占比", nullptr);

    caption("销售额最多的款：", at(5, 10, 104));
    编辑框_最高 = ui::addLineEdit(group, "编辑框_最高", at(5, 114, 110));
    标签_最高 = figure(5, kRightLeft, "共计销售：", "标签_最高", "元");
    标签_最高占比 = figure(6, kRightLeft, "占比：", "标签_最高占比", nullptr);

    组合框1 = ui::addComboBox(group, "组合框1", true, at(7, 10, 214));
    按钮_单品查询 = ui::addButton(group, "按钮_单品查询", QStringLiteral("查询"), at(7, kRightLeft, 80));
    标签_单品件数 = figure(8, 10, "共计销售：", "标签_单品件数", "件");
    标签_单品件数占比 = figure(8, kRightLeft, "占比：", "标签_单品件数占比", nullptr);
    标签_单品销售额 = figure(9, 10, "共计销售：", "标签_单品销售额", "元");
    标签_单品销售额占比 = figure(9, kRightLeft, "占比：", "标签_单品销售额占比", nullptr);

    组合框_个人 = ui::addComboBox(group, "组合框_个人", true, at(10, 10, 214));
    按钮_单品查询1 =
        ui::addButton(group, "按钮_单品查询1", QStringLiteral("查询个人销售"), at(10, kRightLeft, 120));
    标签_个人销售额1 = figure(11, 10, "共计销售：", "标签_个人销售额1", "元");
    标签_个人占比 = figure(11, kRightLeft, "占比：", "标签_个人占比", nullptr);

    for (QLabel* label : results) ui::setFontHeight(label, 19, QFont::Bold);
}

bool SalesStatisticsWindow::fillCombos() {
    const std::pair<QComboBox*, store::RecordSet> fills[] = {
        {组合框1, paidProductCodes(shell_.db)}, {组合框_个人, paidSalespeople(shell_.db)}};
    bool read = true;
    for (const auto& [box, values] : fills) {
        read = read && !values.failed();
        ui::installComboItems(box)->setColumn(values, 0);
        ui::setNoSelection(box);
    }
    return read;
}

void SalesStatisticsWindow::tell(const QString& text) {
    shell_.showMessage(text, 0x40, ui::kStandardTitle);
}

std::optional<DateBounds> SalesStatisticsWindow::checkedBounds() {
    const DateBounds bounds = makeBounds(日期框1->date(), 日期框2->date(), shell_.clock);
    if (const QString problem = boundsProblem(bounds); !problem.isEmpty()) {
        tell(problem);
        return std::nullopt;
    }
    return bounds;
}

bool SalesStatisticsWindow::confirmRange(const DateBounds& bounds) {
    return shell_.showMessage(QStringLiteral("你所要查询的日期是从%1到%2吗？").arg(bounds.start, bounds.end),
                              0x24, ui::kStandardTitle) == ui::Answer::Yes;
}

std::optional<RangeTotals> SalesStatisticsWindow::totalsWithSales(const DateBounds& bounds) {
    const std::optional<RangeTotals> totals = rangeTotals(shell_.db, bounds);
    if (!totals || totals->amount.isEmpty()) {
        tell(totals ? kNoSales : kNotRead);
        return std::nullopt;
    }
    return totals;
}

void SalesStatisticsWindow::queryDateRange() {
    const std::optional<DateBounds> bounds = checkedBounds();
    if (!bounds) return;
    const std::optional<RangeTotals> totals = totalsWithSales(*bounds);
    if (!totals) return;
    const std::optional<BestSellers> best = bestSellers(shell_.db, *bounds);
    if (!best) return tell(kNotRead);
    标签_总金额->setText(totals->amount);
    标签_总件数->setText(totals->quantity);
    标签_最多->setText(best->quantity);
    编辑框_最多->setText(best->byQuantityCode);
    标签_最高->setText(best->amount);
    编辑框_最高->setText(best->byAmountCode);
    // The shares are those of the figures as shown.
    标签_最多占比->setText(shareText(标签_最多->text(), 标签_总件数->text()));
    标签_最高占比->setText(shareText(标签_最高->text(), 标签_总金额->text()));
}

void SalesStatisticsWindow::queryProduct() {
    const std::optional<DateBounds> bounds = checkedBounds();
    if (!bounds) return;
    const QString product = 组合框1->currentText();
    if (product.isEmpty()) {
        tell(QStringLiteral("你还没有选择商品编号！"));
        return;
    }
    if (!confirmRange(*bounds)) return;
    const std::optional<RangeTotals> totals = totalsWithSales(*bounds);
    if (!totals) return;
    const std::optional<ProductSales> sales = productSales(shell_.db, product, *bounds);
    if (!sales) return tell(kNotRead);
    标签_单品件数->setText(sales->quantity);
    标签_单品销售额->setText(sales->amount);
    标签_单品件数占比->setText(shareText(标签_单品件数->text(), totals->quantity));
    标签_单品销售额占比->setText(shareText(标签_单品销售额->text(), totals->amount));
}

void SalesStatisticsWindow::querySalesperson() {
    const std::optional<DateBounds> bounds = checkedBounds();
    if (!bounds || !confirmRange(*bounds)) return;
    const std::optional<RangeTotals> totals = totalsWithSales(*bounds);
    if (!totals) return;
    const std::optional<QString> amount =
        salespersonAmount(shell_.db, 组合框_个人->currentText(), *bounds);
    if (!amount || amount->isEmpty()) return tell(amount ? kNoSales : kNotRead);
    标签_个人销售额1->setText(*amount);
    标签_个人占比->setText(shareText(标签_个人销售额1->text(), totals->amount));
}

}  // namespace reports
