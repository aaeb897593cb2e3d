#pragma once
// The line change window: a new quantity for the receipt line that was selected when it opened,
// while that line is not in stock.

#include "session/shell.h"
#include "ui/hosted_window.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace receiving {

class ReceiptListWindow;

class LineChangeWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    // `receiptList` is the host. The window stays bound to the line selected there now, whatever
    // is selected later.
    LineChangeWindow(session::Shell& shell, ReceiptListWindow* receiptList);

    void changeReceiptLine();

    QGroupBox* 分组框1;
    QLabel* 标签_编号;
    QLabel* 标签_编号读;
    QLabel* 标签_读取库存;
    QLabel* 标签_读取库存数;
    QLabel* 标签_读取库存1;
    QLineEdit* 编辑框_输入修改;
    QPushButton* 按钮确认修改;
    QPushButton* 按钮2;

private:
    void buildForm();

    session::Shell& shell_;
    ReceiptListWindow* receiptList_;
    const QString lineKey_;
    const QString receiptNumber_;
};

}  // namespace receiving
