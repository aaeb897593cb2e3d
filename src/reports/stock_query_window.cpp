#include "reports/stock_query_window.h"

#include "ui/combo_items.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace reports {

namespace {

// Each product with 销售出库 and 实际库存 of its first stock row, in one statement; a product
// without a stock row gets empty figures.
const QString kProductRows = QStringLiteral(
    "select p.编号,p.助记码,p.款号,p.杯型,p.尺码,p.颜色,s.销售出库,s.实际库存 from 商品资料 p "
    "left join 库存表 s on s.rowid=(select min(rowid) from 库存表 where 商品编号=p.编号)");

}  // namespace

StockQueryWindow::StockQueryWindow(session::Shell& shell, QWidget* host)
    : HostedWindow(host, QStringLiteral("库存查询"), QSize(552, 457)), shell_(shell) {
    buildForm();
    connect(按钮1, &QPushButton::clicked, this, &StockQueryWindow::queryByCode);
    connect(按钮2, &QPushButton::clicked, this, &StockQueryWindow::queryByStyleNumber);
    const bool filled = fillCombos();
    shell_.tellUnlessRead(showProducts() != Shown::Unread && filled);
}

void StockQueryWindow::buildForm() {
    QWidget* form = body();
    分组框1 = ui::addGroupBox(form, "分组框1", QStringLiteral("按商品编号查询"), {6, 4, 540, 56});
    标签1 = ui::addLabel(分组框1, "标签1", QStringLiteral("商品编号："), {10, 22, 70, 24}, ui::kAlignRight);
    组合框1 = ui::addComboBox(分组框1, "组合框1", false, {82, 22, 150, 24});
    标签2 = ui::addLabel(分组框1, "标签2", QStringLiteral("助记码："), {240, 22, 60, 24}, ui::kAlignRight);
    编辑框1 = ui::addLineEdit(分组框1, "编辑框1", {302, 22, 130, 24});
    按钮1 = ui::addButton(分组框1, "按钮1", QStringLiteral("查询"), {448, 21, 80, 26});

    分组框2 = ui::addGroupBox(form, "分组框2", QStringLiteral("按款号查询"), {6, 64, 540, 56});
    标签3 = ui::addLabel(分组框2, "标签3", QStringLiteral("款号："), {10, 22, 70, 24}, ui::kAlignRight);
    组合框2 = ui::addComboBox(分组框2, "组合框2", true, {82, 22, 150, 24});
    按钮2 = ui::addButton(分组框2, "按钮2", QStringLiteral("查询"), {448, 21, 80, 26});

    超级列表框1 = ui::named(new ui::ListView(form, {{"商品编号", 100},
                                                  {"助记码", 100},
                                                  {"款号", 50},
                                                  {"杯型", 50},
                                                  {"尺码", 50},
                                                  {"颜色", 50},
                                                  {"已售", 50},
                                                  {"库存", 50}}),
                          "超级列表框1", {6, 126, 540, 299});
}

bool StockQueryWindow::fillCombos() {
    const std::pair<QComboBox*, const char*> fills[] = {{组合框1, "select 商品编号 from 库存表"},
                                                        {组合框2, "select 款号 from 库存表"}};
    bool read = true;
    for (const auto& [box, sql] : fills) {
        const store::RecordSet values = shell_.db.query(sql);
        read = read && !values.failed();
        ui::installComboItems(box)->setColumn(values, 0);
        ui::setNoSelection(box);
    }
    return read;
}

StockQueryWindow::Shown StockQueryWindow::showProducts(const QString& condition,
                                                       const QStringList& values) {
    const store::RecordSet products =
        shell_.db.query(condition.isEmpty() ? kProductRows : kProductRows + " where " + condition,
                        values);
    超级列表框1->setRows(products, {"编号", "助记码", "款号", "杯型", "尺码", "颜色", "销售出库", "实际库存"});
    if (products.failed()) return Shown::Unread;
    return products.isEmpty() ? Shown::None : Shown::Some;
}

void StockQueryWindow::queryByCode() {
    const QString code = 组合框1->currentText();
    const bool byMnemonic = code.isEmpty();
    const QString key = byMnemonic ? 编辑框1->text() : code;
    const store::RecordSet stock = shell_.db.query(
        byMnemonic ? "select 销售出库,实际库存 from 库存表 where 助记码=? limit 1"
                   : "select 销售出库,实际库存 from 库存表 where 商品编号=? limit 1",
        {key});
    // Inputs and list stay as they were, for another try.
    if (stock.failed()) return shell_.tellReadFailed();
    if (stock.atEnd()) {
        shell_.showMessage(byMnemonic ? QStringLiteral("你查询的助记码不存在！")
                                      : QStringLiteral("你查询的商品编号不存在！"),
                           0x40, ui::kStandardTitle);
        return;
    }
    shell_.showMessage(QStringLiteral("已销售：%1库存：%2").arg(stock.text(1), stock.text(2)), 0,
                       ui::kStandardTitle);
    ui::setNoSelection(组合框1);
    编辑框1->clear();
    const Shown shown = showProducts(byMnemonic ? "p.助记码=?" : "p.编号=?", {key});
    shell_.tellUnlessRead(shown != Shown::Unread);
}

void StockQueryWindow::queryByStyleNumber() {
    超级列表框1->deleteAllRows();
    const Shown shown = showProducts("p.款号=?", {组合框2->currentText()});
    if (shown == Shown::Unread)
        shell_.tellReadFailed();
    else if (shown == Shown::None)
        shell_.showMessage(QStringLiteral("你输入的款号不存在！"), 0x40, ui::kStandardTitle);
}

}  // namespace reports
