#pragma once
// The counter's sales window: one bill at a time, built line by line from the product picker and
// settled with change and checkout. The bill on the window is the caption of 标签_销售单号, its
// total the caption of 标签_总金额, and the window is in change mode while 按钮_修改 stands in
// place of 按钮_加入.

#include "session/shell.h"
#include "sales/bill.h"
#include "sales/sales_picker.h"
#include "ui/hosted_window.h"

#include <memory>

class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
namespace ui { class ListView; }

namespace sales {

class SalesWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    SalesWindow(session::Shell& shell, QWidget* host);
    ~SalesWindow() override;

    // The operations below that read give false when a read failed, for the action that ran
    // them to tell once.
    // Starts a new bill: greeting, today's date, a new bill number, empty entry fields.
    bool setUpSalesWindow();
    // Empties the entry and settlement fields and refills every list of the entry area.
    bool resetSalesEntryFields();
    bool refillBillList(const QString& billNumber);
    void recomputeSubtotal();
    void addBillLine();
    void giveChange();
    void checkOutBill();
    // Parks the bill under a header "挂起" and starts a new one.
    void suspendBill();
    void openRetrieveSuspended();
    // Puts a suspended bill on the window in place of the one shown. When the bill is no longer
    // suspended, or that could not be read, the window keeps its bill.
    enum class Retrieval { Loaded, NotSuspended, Unread };
    Retrieval loadRetrievedBill(const QString& number);
    // Deletes the bill with its headers and starts a new one; on failure the bill stays.
    void abandonBill();

    QGroupBox* 分组框1;
    QGroupBox* 分组框4;
    QLabel* 标签_店员;
    QLabel* 标签_时间;
    QLabel* 标签_销售单号;
    QDateEdit* 日期框1;
    QComboBox* 组合框_编号;
    QComboBox* 组合框_条形码;
    QComboBox* 组合框_助记码;
    QComboBox* 组合框_款号;
    QComboBox* 组合框_杯型;
    QComboBox* 组合框_尺码;
    QComboBox* 组合框_颜色;
    QLineEdit* 编辑框_数量;
    QComboBox* 组合框_折扣;
    QLabel* 标签_单价;
    QLineEdit* 编辑框_小计;
    QComboBox* 组合框_折扣原因;
    QPushButton* 按钮_计算;
    QPushButton* 按钮_重置;
    QPushButton* 按钮_加入;
    QPushButton* 按钮_修改;
    QGroupBox* 分组框2;
    ui::ListView* 超级列表框_销售单;
    QGroupBox* 分组框3;
    QLabel* 标签_总金额;
    QLineEdit* 编辑框_收款;
    QPushButton* 按钮_找零;
    QLabel* 标签_找零;
    QPushButton* 按钮_挂起;
    QPushButton* 按钮_取回挂起;
    QPushButton* 按钮_废弃;
    QPushButton* 按钮_确认买单;
    QMenu* 菜单_编辑;
    QAction* 菜单项_修改;
    QAction* 菜单项_删除;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildEntryGroup();
    void buildBillGroup();
    void buildSettlementGroup();
    void connectEvents();

    QString billNumber() const;
    ShownBill shownBill() const;
    store::RecordSet readBillLines(const QString& number) const;
    void showBillLines(const store::RecordSet& lines);
    void startNewBillNumber();
    // The bill list of the window's own bill; empty while its number is only proposed.
    bool refillOwnBill();
    BillLine enteredLine() const;
    // 标签_总金额 shows the bill's total as read now, and the bill's lines so read are given; when
    // they cannot be read, the last total read stays and nothing is given.
    std::optional<StoredBill> showBillTotal();
    // The total to take payment on, read now; nothing when it could not be read, or when the bill
    // no longer stands as shown. Either is told.
    std::optional<QString> payableTotal();
    void settleBill(const QString& total);
    // Tells why a write on the bill failed; a bill changed elsewhere gives way to a new one.
    void tellBillWriteFailed(const QString& failure);
    // After a checkout: a new, empty bill.
    void startNextBill();
    // A bill paid, abandoned or changed elsewhere is told and shown as it now stands.
    void showChangedBill();
    bool resetAndShowTotal();
    void setChangeMode(bool changing);
    void resetClicked();
    void enterChangeMode();
    void storeChangedLine();
    void deleteSelectedLine();
    void clearAmountsForNewChoice();
    void onSalesStyleNumberChosen();
    void onSalesAttributeChosen();
    void tell(const QString& text, const QString& title);

    session::Shell& shell_;
    std::unique_ptr<SalesPicker> picker_;
    std::vector<QString> billLineRows_;  // the row key of each line in the bill list, in order
    QString billTotal_;  // the total of the bill on the window, as last read
    // The bill number is the window's own once it stored a line under it or retrieved the bill;
    // until then it is only proposed, and the rows under it, if any, are another program's.
    bool ownsBillNumber_ = false;
};

}  // namespace sales
