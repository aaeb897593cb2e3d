#pragma once
// The receipt list on the test database, with receipts put in as earlier windows would have
// stored them.

#include "receiving/new_receipt_window.h"
#include "receiving/receipt_list_window.h"
#include "support/fixture.h"
#include "ui/list_view.h"

#include <QAction>
#include <QCoreApplication>

namespace test {

// A receipt header as a submit stores it, with the fields the receiving windows read.
struct Receipt {
    QString number;
    QString status;
    QString date = "20240305";
    QString operatorName = "admin";
};

// A receipt line as the add-product window stores it.
struct ReceiptLine {
    QString id;
    QString receipt;
    QString product;
    QString quantity;
    QString style;
    QString status = "未入库";
};

inline bool insertReceipt(store::Database& db, const Receipt& r) {
    return db.execute("insert into 入库管理总模块(ID,入库单编号,商品总件数,款式数量,款号,吊牌价总金额,"
                      "进货价总金额,入库时间,入库人员,状态,备注)values(?,?,?,?,?,?,?,?,?,?,?)",
                      {"1", r.number, "3", "2", "k2,k1,", "597", "240", r.date, r.operatorName,
                       r.status, "无"});
}

inline bool insertReceiptLine(store::Database& db, const ReceiptLine& l) {
    return db.execute("insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,助记码,款号,品名,杯型,"
                      "尺码,颜色,状态)values(?,?,?,?,?,?,?,?,?,?,?)",
                      {l.id, l.receipt, l.product, l.quantity, "m", l.style, "文胸", "A", "75",
                       "红", l.status});
}

class ReceivingTest : public ShopTest {
protected:
    ReceivingTest() { shell.currentUser = "admin"; }

    receiving::ReceiptListWindow* openList() {
        return openWindow<receiving::ReceiptListWindow>(ui::Placement::TopLeft);
    }
    receiving::NewReceiptWindow* openNewReceipt(receiving::ReceiptListWindow* list) {
        trigger(list->菜单项_新增入库);
        return list->findChild<receiving::NewReceiptWindow*>();
    }

    void addReceipt(const Receipt& r) { ASSERT_TRUE(insertReceipt(db, r)); }
    void addLine(const ReceiptLine& l) { ASSERT_TRUE(insertReceiptLine(db, l)); }

    // A statement on `table` that the test makes fail.
    void refuseOn(const QString& event, const QString& table) {
        exec(QStringLiteral("create trigger 拒绝 before %1 on %2 begin select raise(abort, '拒绝'); end")
                 .arg(event, table));
    }

    // Cell `column` of every row of `list`.
    static QStringList column(ui::ListView* list, int column) {
        QStringList cells;
        for (int row = 0; row < list->rowCount(); ++row) cells << list->cell(row, column);
        return cells;
    }
    static QStringList row(ui::ListView* list, int row) {
        QStringList cells;
        for (int c = 0; c < list->model()->columnCount(); ++c) cells << list->cell(row, c);
        return cells;
    }

    // Closed windows are destroyed once the event loop comes round.
    static void flushClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

}  // namespace test
