#include "bench.h"

#include "receiving/new_receipt_window.h"
#include "receiving/receipt_list_window.h"
#include "receiving/receipt_query_window.h"
#include "store/stamps.h"
#include "ui/list_view.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

namespace bench {

void benchReceiving(Bench& bench) {
    using receiving::ReceiptListWindow;
    const QString allHeaders = QStringLiteral("select * from 入库管理总模块");
    bench.time("receiving: open the receipt list (5 000 receipts)", [&] {
        auto* window = new ReceiptListWindow(bench.shell, bench.host.get());
        ui::openHostedWindow(window, bench.host.get(), ui::Placement::TopLeft);
        delete window;
    }, allHeaders);

    auto* list = new ReceiptListWindow(bench.shell, bench.host.get());
    ui::openHostedWindow(list, bench.host.get(), ui::Placement::TopLeft);
    bench.time("receiving: refillReceiptList", [&] { list->refillReceiptList(); }, allHeaders);
    list->超级列表框_入库单列表->selectRow(4242);
    bench.time("receiving: showReceiptLines (10 of 50 000 lines)", [&] { list->showReceiptLines(); },
               "select rowid as 行键, * from 入库管理模块 where 入库单号='rk4242'");

    // Each run submits a header for the same lines: a new receipt takes a number of its own, so
    // the window is given theirs.
    store::FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(9, 5, 3)));
    session::Shell shell(bench.db, bench.messages, clock, bench.folder.path());
    shell.currentUser = bench.shell.currentUser;
    auto* receiptList = new ReceiptListWindow(shell, bench.host.get());
    const QString number = store::makeDocumentNumber(clock, "rk");
    bench.db.begin();
    for (int line = 0; line < 10; ++line)
        bench.db.execute("insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,款号,状态)"
                         "values(?,?,?,?,?,?)",
                         {QString::number(line), number, "sp" + QString::number(line * 997), "1",
                          "k" + QString::number(line % 3), "未入库"});
    bench.db.commit();
    bench.time("receiving: submit a 10-line receipt and refill", [&] {
        auto* window = new receiving::NewReceiptWindow(shell, receiptList);
        window->标签_编号->setText(number);
        window->refreshNewReceiptLines();
        window->按钮_提交表单->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });

    bench.time("receiving: query by date range and status (14 days)", [&] {
        list->菜单项_查询入库单->trigger();
        auto* query = list->findChild<receiving::ReceiptQueryWindow*>();
        query->日期框1->setDate(QDate(2024, 3, 1));
        query->日期框2->setDate(QDate(2024, 3, 14));
        query->组合框_状态->setCurrentIndex(query->组合框_状态->findText("已入库"));
        query->选择框_时间->setChecked(true);
        query->选择框_状态->setChecked(true);
        query->按钮_查询->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }, "select * from 入库管理总模块 where 入库时间 >='20240301' and 入库时间 <='20240314' and "
       "状态 ='已入库'");

    bench.time("receiving: delete a receipt and refill", [&] {
        list->超级列表框_入库单列表->selectRow(0);
        list->菜单项_删除入库单->trigger();
    });
    delete receiptList;
    delete list;
}

}  // namespace bench
