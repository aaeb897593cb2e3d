#pragma once
// The administrator's desk for stock-in receipts: every submitted receipt header, the lines of the
// receipt chosen, and on the menu bar every action on a receipt. It hosts the new receipt, the
// review, the line change and the query windows, which read its selected rows.

#include "receiving/stock_review.h"
#include "session/shell.h"
#include "store/database.h"
#include "store/table_rows.h"
#include "ui/hosted_window.h"

#include <QString>

class QAction;
class QGroupBox;
class QMenu;
class QMenuBar;

namespace ui {
class ListView;
}

namespace receiving {

class ReceiptListWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    // Cells of a receipt row, filled from 入库管理总模块.
    enum ReceiptCell { kReceiptNumberCell = 0, kReceiptStatusCell = 8 };
    // Cells of a line row, filled from 入库管理模块.
    enum LineCell {
        kLineReceiptNumberCell = 0,
        kLineProductCodeCell = 1,
        kLineQuantityCell = 2,
        kLineStatusCell = 9,
        kLineIdCell = 10,
    };

    ReceiptListWindow(session::Shell& shell, QWidget* host);

    // The two refills give false when the file could not be read, for the action that ran them
    // to tell; the list is then empty.
    // Every receipt header, in the table's order; the line list keeps its rows. Only the headers
    // written since the last refill are read again and redrawn.
    bool refillReceiptList();
    // The lines of the selected receipt; none while no receipt is selected.
    bool showReceiptLines();
    // Fills the receipt list with headers read by any query (the receipt query's results too).
    void showReceipts(const store::RecordSet& headers);

    // A cell of the selected row; "" while no row is selected.
    QString selectedReceiptCell(ReceiptCell cell) const;
    QString selectedLineCell(LineCell cell) const;
    // The row key of the selected line, "" while none is: line ids repeat within a second, so a
    // change reaches its line by this key.
    QString selectedLineKey() const;

    QGroupBox* 分组框_入库单列表;
    ui::ListView* 超级列表框_入库单列表;
    QGroupBox* 分组框_入库单详情;
    ui::ListView* 超级列表框_入库单详情;

    QMenuBar* 菜单栏;
    QAction* 菜单项_新增入库;
    QAction* 菜单项_审核入库单;
    QAction* 菜单项_反审入库单;
    QAction* 菜单项_查询入库单;
    QAction* 菜单项_修改入库单;
    QAction* 菜单项_删除入库单;
    QAction* 菜单项_退出商品入库;
    QAction* 菜单项_刷新入库单列表;
    QMenu* 菜单_修改商品库存;
    QAction* 菜单项_修改;

private:
    void buildForm();
    void buildMenus();

    void openNewReceiptWindow();
    void openQueryWindow();
    // The menu items' guards on the selected receipt's status, then the review window.
    void reviewChosen(ReviewMode mode);
    void openReviewWindow(ReviewMode mode);
    void explainReceiptChange();
    void deleteReceipt();
    // The pop-up's guard on the selected line's status, then the line change window.
    void changeLineChosen();
    void openLineChangeWindow();

    session::Shell& shell_;
    store::TableRows headers_;
    store::RecordSet lines_;  // the rows behind the line list, with their row keys
};

}  // namespace receiving
