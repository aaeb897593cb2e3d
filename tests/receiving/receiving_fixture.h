#pragma once
// The receipt list on the test database, with stock rows, receipt headers and lines put in as
// earlier work would have left them.

#include "receiving/receipt_list_window.h"
#include "support/fixture.h"
#include "ui/list_view.h"

#include <QAction>
#include <QCoreApplication>

namespace test {

struct StockRow {
    QString code;
    QString actual;
    QString opening = actual;
};

struct ReceiptLine {
    QString code;
    QString quantity;
    QString id = "1";
};

class ReceivingTest : public ShopTest {
protected:
    ReceivingTest() { shell.currentUser = "admin"; }

    void addStock(const std::vector<StockRow>& stock) {
        for (const StockRow& row : stock)
            exec("insert into 库存表(商品编号,款号,期初库存,销售出库,实际库存)values(?,?,?,?,?)",
                 {row.code, "k" + row.code, row.opening, "0", row.actual});
    }

    // A submitted receipt: its header and lines with `status`; the piece total is the sum of
    // the lines' quantities.
    void addReceipt(const QString& number, const std::vector<ReceiptLine>& lines,
                    const QString& status = "未入库") {
        int total = 0;
        for (const ReceiptLine& line : lines) {
            exec("insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,款号,状态)"
                 "values(?,?,?,?,?,?)",
                 {line.id, number, line.code, line.quantity, "k" + line.code, status});
            total += line.quantity.toInt();
        }
        exec("insert into 入库管理总模块(ID,入库单编号,商品总件数,款式数量,入库人员,状态)"
             "values(?,?,?,?,?,?)",
             {"1", number, QString::number(total), QString::number(lines.size()), "admin", status});
    }

    receiving::ReceiptListWindow* openList() {
        return list = openWindow<receiving::ReceiptListWindow>(ui::Placement::TopLeft);
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

    static void flushClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    receiving::ReceiptListWindow* list = nullptr;
};

}  // namespace test
