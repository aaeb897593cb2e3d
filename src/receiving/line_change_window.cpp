#include "receiving/line_change_window.h"

#include "receiving/line_change.h"
#include "receiving/receipt_list_window.h"
#include "ui/form.h"
#include "ui/messages.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace receiving {

LineChangeWindow::LineChangeWindow(session::Shell& shell, ReceiptListWindow* receiptList)
    : HostedWindow(receiptList, QStringLiteral("修改库存"), QSize(369, 235)),
      shell_(shell),
      receiptList_(receiptList),
      lineKey_(receiptList->selectedLineKey()),
      receiptNumber_(receiptList->selectedLineCell(ReceiptListWindow::kLineReceiptNumberCell)) {
    setHidesOnLogout(true);
    buildForm();
    connect(按钮确认修改, &QPushButton::clicked, this, &LineChangeWindow::changeReceiptLine);
    connect(按钮2, &QPushButton::clicked, this, &QWidget::close);
    标签_编号读->setText(receiptList->selectedLineCell(ReceiptListWindow::kLineProductCodeCell));
    标签_读取库存数->setText(receiptList->selectedLineCell(ReceiptListWindow::kLineQuantityCell));
}

void LineChangeWindow::buildForm() {
    QWidget* form = body();
    分组框1 = ui::addGroupBox(form, "分组框1", {}, {8, 4, form->width() - 16, 136});
    // Three rows: caption on the left, the line's figure or the new quantity on the right.
    const auto place = [](int row, int left, int width) {
        return QRect(left, 20 + row * 38, width, 24);
    };
    标签_编号 = ui::addLabel(分组框1, "标签_编号", QStringLiteral("商品编号："), place(0, 30, 90),
                             ui::kAlignRight);
    标签_编号读 = ui::addLabel(分组框1, "标签_编号读", {}, place(0, 126, 190));
    标签_读取库存 = ui::addLabel(分组框1, "标签_读取库存", QStringLiteral("读取库存："),
                                 place(1, 30, 90), ui::kAlignRight);
    标签_读取库存数 = ui::addLabel(分组框1, "标签_读取库存数", {}, place(1, 126, 190));
    标签_读取库存1 = ui::addLabel(分组框1, "标签_读取库存1", QStringLiteral("修改库存："),
                                  place(2, 30, 90), ui::kAlignRight);
    编辑框_输入修改 = ui::addLineEdit(分组框1, "编辑框_输入修改", place(2, 126, 180));

    const int top = form->height() - 52;
    按钮确认修改 = ui::addButton(form, "按钮确认修改", QStringLiteral("确认修改"), {70, top, 100, 32});
    按钮2 = ui::addButton(form, "按钮2", QStringLiteral("退出修改"), {196, top, 100, 32});
}

void LineChangeWindow::changeReceiptLine() {
    const QString newQuantity = 编辑框_输入修改->text();
    if (const QString refusal = refusalOfQuantity(标签_读取库存数->text(), newQuantity);
        !refusal.isEmpty()) {
        shell_.showMessage(refusal, 0x40, ui::kStandardTitle);
        return;
    }
    const Outcome outcome =
        changeLineQuantity(shell_.db, {lineKey_, receiptNumber_, newQuantity});
    shell_.showMessage(outcome.message, 0x40, ui::kStandardTitle);
    if (!outcome.done) return;
    const bool listed = receiptList_->refillReceiptList();
    shell_.tellUnlessRead(receiptList_->showReceiptLines() && listed);
    close();
}

}  // namespace receiving
