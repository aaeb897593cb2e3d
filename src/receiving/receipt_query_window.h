#pragma once
// Narrows the receipt list to the receipts of a date range, an operator and a status, each
// condition taken only when its box is ticked. Found receipts go into the receipt list.

#include "session/shell.h"
#include "ui/hosted_window.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QPushButton;

namespace receiving {

class ReceiptListWindow;

class ReceiptQueryWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    // `receiptList` is the host, whose receipt list shows what the query finds.
    ReceiptQueryWindow(session::Shell& shell, ReceiptListWindow* receiptList);

    // The stored operators and statuses; a box with a single value has it chosen.
    // False when the stored values could not be read; the boxes are then empty.
    bool refillQueryBoxes();
    void runReceiptQuery();

    QGroupBox* 分组框1;
    QDateEdit* 日期框1;  // from
    QDateEdit* 日期框2;  // to
    QCheckBox* 选择框_时间;
    QComboBox* 组合框_人员;
    QCheckBox* 选择框_人员;
    QComboBox* 组合框_状态;
    QCheckBox* 选择框_状态;
    QPushButton* 按钮_查询;
    QPushButton* 按钮_退出;

private:
    void buildForm();
    void refuse(const QString& text);

    session::Shell& shell_;
    ReceiptListWindow* receiptList_;
};

}  // namespace receiving
