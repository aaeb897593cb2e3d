#include "receiving/new_receipt_window.h"

#include "receiving/add_product_window.h"
#include "receiving/notices.h"
#include "receiving/receipt_header.h"
#include "receiving/receipt_list_window.h"
#include "store/free_numbers.h"
#include "store/stamps.h"
#include "ui/form.h"
#include "ui/list_view.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace receiving {

namespace {

const std::vector<ui::Column> kLineColumns = {
    {"商品编号", 100}, {"助记码", 80}, {"款号", 80}, {"品名", 80},
    {"商品数量", 80},  {"杯型", 50},   {"尺码", 50}, {"颜色", 50}};
const QStringList kLineSource = {"商品编号", "助记码", "款号", "品名",
                                 "商品数量", "杯型",   "尺码", "颜色"};

}  // namespace

NewReceiptWindow::NewReceiptWindow(session::Shell& shell, ReceiptListWindow* receiptList)
    : HostedWindow(receiptList, QStringLiteral("新增入库"), QSize(600, 400)),
      shell_(shell),
      receiptList_(receiptList) {
    setHidesOnLogout(true);
    buildForm();
    connect(按钮_添加产品, &QPushButton::clicked, this, &NewReceiptWindow::openAddProductWindow);
    connect(按钮_提交表单, &QPushButton::clicked, this, &NewReceiptWindow::submitReceipt);
    connect(按钮_退出, &QPushButton::clicked, this, &NewReceiptWindow::leave);
    setUpNewReceipt();
}

void NewReceiptWindow::buildForm() {
    QWidget* form = body();
    分组框1 = ui::addGroupBox(form, "分组框1", QStringLiteral("入库单基本信息"),
                              {4, 2, form->width() - 8, 112});
    // Three rows of two caption-and-value pairs, then the remark.
    struct Pair {
        const char* captionName;
        const char* caption;
        const char* valueName;
        QLabel** value;
    };
    const Pair pairs[] = {
        {"标签_入库单编号", "入库单编号：", "标签_编号", &标签_编号},
        {"标签_总数量", "入库商品总数：", "标签_总数", &标签_总数},
        {"标签_入库时间", "入库时间：", "标签_时间", &标签_时间},
        {"标签_入库人员", "入库人员：", "标签_人员", &标签_人员},
        {"标签_总数量2", "吊牌价总金额：", "标签_吊总", &标签_吊总},
        {"标签_总数量1", "进货价总金额：", "标签_进总", &标签_进总},
    };
    for (int i = 0; i < int(std::size(pairs)); ++i) {
        const int left = 8 + (i % 2) * 290;
        const int top = 20 + (i / 2) * 22;
        ui::addLabel(分组框1, pairs[i].captionName, QString::fromUtf8(pairs[i].caption),
                     {left, top, 96, 20}, ui::kAlignRight);
        *pairs[i].value = ui::addLabel(分组框1, pairs[i].valueName, {}, {left + 100, top, 180, 20});
    }
    ui::addLabel(分组框1, "标签_备注", QStringLiteral("备注："), {8, 86, 96, 20}, ui::kAlignRight);
    编辑框_备注 = ui::addLineEdit(分组框1, "编辑框_备注", {108, 86, 460, 20});

    const int buttonsTop = form->height() - 34;
    超级列表框_入库信息 = ui::named(new ui::ListView(form, kLineColumns), "超级列表框_入库信息",
                                    {4, 118, form->width() - 8, buttonsTop - 124});
    按钮_添加产品 = ui::addButton(form, "按钮_添加产品", QStringLiteral("添加商品"),
                                  {form->width() - 292, buttonsTop, 90, 28});
    按钮_提交表单 = ui::addButton(form, "按钮_提交表单", QStringLiteral("提交表单"),
                                  {form->width() - 196, buttonsTop, 90, 28});
    按钮_退出 = ui::addButton(form, "按钮_退出", QStringLiteral("退出"),
                              {form->width() - 100, buttonsTop, 90, 28});
}

// A proposal, free when taken; the receipt's first line makes sure of it. Without a number the
// window takes no line.
void NewReceiptWindow::setUpNewReceipt() {
    const std::optional<QString> number =
        store::takeFreeNumber(shell_.db, shell_.clock, store::NumberKind::ReceiptNumber);
    标签_编号->setText(number.value_or(QString()));
    if (!number) notify(shell_, QStringLiteral("生成入库单编号失败，请退出后重新新增入库！"));
    标签_人员->setText(shell_.currentUser);
    标签_时间->setText(store::makeDateStamp(shell_.clock));
    编辑框_备注->setText(QStringLiteral("无"));
    标签_总数->setText(QStringLiteral("0"));
    按钮_添加产品->setFocus();
}

QString NewReceiptWindow::receiptNumber() const { return 标签_编号->text(); }

void NewReceiptWindow::lineStoredUnder(const QString& number) {
    标签_编号->setText(number);
    numberStored_ = true;
}

bool NewReceiptWindow::refreshNewReceiptLines() {
    const store::RecordSet lines =
        shell_.db.query("select * from 入库管理模块 where 入库单号 =?", {receiptNumber()});
    超级列表框_入库信息->setRows(lines, kLineSource);
    return !lines.failed();
}

// The lines were stored as they were added; the submit writes the header. Success is told, and
// the window closed, only once the header is committed.
void NewReceiptWindow::submitReceipt() {
    if (超级列表框_入库信息->rowCount() == 0) {
        notify(shell_, QStringLiteral("请添加产品后进行提交！"));
        return;
    }
    const ReceiptHeader header = {receiptNumber(),     标签_总数->text(), 标签_吊总->text(),
                                  标签_进总->text(),   标签_时间->text(), 标签_人员->text(),
                                  编辑框_备注->text()};
    if (!submitReceiptHeader(shell_.db, shell_.clock, header)) {
        notify(shell_, QStringLiteral("执行提交失败，请联系作者！"));
        return;
    }
    notify(shell_, QStringLiteral("执行提交成功，需要在商品入库窗口执行审核入库才能增加库存！"));
    closeWithoutAsking();
    shell_.tellUnlessRead(receiptList_->refillReceiptList());
}

void NewReceiptWindow::leave() {
    if (shell_.showMessage(QStringLiteral("入库单是否已经提交？已提交点：是。未提交点:否"), 0x44,
                           {}) == ui::Answer::Yes)
        closeWithoutAsking();
}

void NewReceiptWindow::closeWithoutAsking() {
    asksOnClose_ = false;
    close();
}

void NewReceiptWindow::closeEvent(QCloseEvent* event) {
    if (asksOnClose_ &&
        shell_.showMessage(
            QStringLiteral("你是否已经提交表单，窗口关闭后表单无法恢复，你确认要关闭窗口吗？"), 0x24,
            ui::kStandardTitle) != ui::Answer::Yes) {
        event->ignore();
        return;
    }
    event->accept();
}

// A second click shows the add-product window already open.
void NewReceiptWindow::openAddProductWindow() {
    ui::openOnce<AddProductWindow>(this, ui::Placement::Centred, shell_);
}

}  // namespace receiving
