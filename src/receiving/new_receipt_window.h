#pragma once
// One stock-in receipt being written: its number, operator and date, the lines added so far
// (each stored the moment it is added) with their running totals, and the submit of its header.

#include "session/shell.h"
#include "ui/hosted_window.h"

class QCloseEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {
class ListView;
}

namespace receiving {

class ReceiptListWindow;

class NewReceiptWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    // `receiptList` is the host, refilled after a submit.
    NewReceiptWindow(session::Shell& shell, ReceiptListWindow* receiptList);

    // A new receipt: number, operator, date, remark "无", piece total 0.
    void setUpNewReceipt();
    // The lines stored under this receipt's number, into the line list; false, and the list
    // empty, when they could not be read.
    bool refreshNewReceiptLines();
    void submitReceipt();

    QString receiptNumber() const;
    // The receipt number is only proposed until the first line is stored under it, which may
    // have had to take another: from then on it is the receipt's own.
    bool receiptNumberProposed() const { return !numberStored_; }
    void lineStoredUnder(const QString& number);

    QGroupBox* 分组框1;
    QLabel* 标签_编号;   // the receipt number
    QLabel* 标签_总数;   // piece total
    QLabel* 标签_时间;   // receipt date
    QLabel* 标签_人员;   // operator
    QLabel* 标签_吊总;   // tag price total
    QLabel* 标签_进总;   // purchase price total
    QLineEdit* 编辑框_备注;
    ui::ListView* 超级列表框_入库信息;
    QPushButton* 按钮_添加产品;
    QPushButton* 按钮_提交表单;
    QPushButton* 按钮_退出;

protected:
    // The user's close asks first; No keeps the receipt on the screen.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildForm();
    void openAddProductWindow();
    void leave();
    // Closes without the close question: the program's own closes ask nothing.
    void closeWithoutAsking();

    session::Shell& shell_;
    ReceiptListWindow* receiptList_;
    bool asksOnClose_ = true;
    bool numberStored_ = false;
};

}  // namespace receiving
