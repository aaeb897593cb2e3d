#pragma once
// The receipt list on the test database, with stock rows, receipt headers and lines put in as
// earlier windows would have stored them.

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

struct StockRow {
    QString code;
    QString actual;
    QString opening = actual;
};

// A line of a receipt by its product and quantity, for the review and the line change.
struct ReceiptQuantity {
    QString code;
    QString quantity;
    QString id = "1";
};

class ReceivingTest : public ShopTest {
protected:
    ReceivingTest() { shell.currentUser = "admin"; }

    receiving::ReceiptListWindow* openList() {
        return list = openWindow<receiving::ReceiptListWindow>(ui::Placement::TopLeft);
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

    void addStock(const std::vector<StockRow>& stock) {
        for (const StockRow& row : stock)
            exec("insert into 库存表(商品编号,款号,期初库存,销售出库,实际库存)values(?,?,?,?,?)",
                 {row.code, "k" + row.code, row.opening, "0", row.actual});
    }

    // A submitted receipt: its header and lines with `status`; the piece total is the sum of
    // the lines' quantities.
    void addReceipt(const QString& number, const std::vector<ReceiptQuantity>& lines,
                    const QString& status = "未入库") {
        int total = 0;
        for (const ReceiptQuantity& line : lines) {
            exec("insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,款号,状态)"
                 "values(?,?,?,?,?,?)",
                 {line.id, number, line.code, line.quantity, "k" + line.code, status});
            total += line.quantity.toInt();
        }
        exec("insert into 入库管理总模块(ID,入库单编号,商品总件数,款式数量,入库人员,状态)"
             "values(?,?,?,?,?,?)",
             {"1", number, QString::number(total), QString::number(lines.size()), "admin", status});
    }

    // Selects the receipt's row in the receipt list, which shows its lines.
    void selectReceipt(const QString& number) {
        ui::ListView* receipts = list->超级列表框_入库单列表;
        for (int row = 0; row < receipts->rowCount(); ++row)
            if (receipts->cell(row, 0) == number) return selectRow(receipts, row);
        ADD_FAILURE() << "no receipt " << number.toStdString();
    }

    // The whole of the three tables a review or line change writes, to see that nothing moved.
    QStringList everything() {
        return rows("select * from 库存表") + rows("select * from 入库管理模块") +
               rows("select * from 入库管理总模块");
    }

    receiving::ReceiptListWindow* list = nullptr;
};

}  // namespace test
