#pragma once
// The review window: one receipt's lines beside the stock rows of their products, with 审核→ to
// bring the receipt into stock and ←反审 to take it out again. The receipt list opens it for its
// selected receipt and leaves only one of the two buttons usable.

#include "receiving/stock_review.h"
#include "session/shell.h"
#include "ui/hosted_window.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace ui {
class ListView;
}

namespace receiving {

class ReceiptListWindow;

class ReviewWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    // `receiptList` is the host; the window works on its selected receipt.
    ReviewWindow(session::Shell& shell, ReceiptListWindow* receiptList);

    // The selected receipt's number, its lines and the stock rows of their products; false when
    // they could not be read (the lists are then empty), for the action that ran it to tell.
    bool fillReviewWindow();
    void reviewReceipt();
    void reverseReviewReceipt();
    // Only the button of `mode` stays usable.
    void allowOnly(ReviewMode mode);

    QString receiptNumber() const;

    QLabel* 标签1;
    QLabel* 标签_单号;
    QGroupBox* 分组框1;
    ui::ListView* 超级列表框_未入;
    QGroupBox* 分组框2;
    ui::ListView* 超级列表框_入;
    QPushButton* 按钮_审核;
    QPushButton* 按钮_关闭;
    QPushButton* 按钮_反审;

private:
    void buildForm();
    bool fillStockList();
    void run(ReviewMode mode);
    void closeAndRefresh();

    session::Shell& shell_;
    ReceiptListWindow* receiptList_;
};

}  // namespace receiving
