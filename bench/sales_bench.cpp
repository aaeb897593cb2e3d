#include "bench.h"

#include "sales/retrieve_suspended_window.h"
#include "sales/sales_window.h"
#include "store/stamps.h"
#include "ui/list_view.h"
#include "ui/hosted_window.h"

#include <QComboBox>
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <tuple>

namespace bench {

namespace {

void pressEnter(QWidget* control) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &press);
}

void choose(QComboBox* box, const QString& item) {
    const int index = box->findText(item);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// A timing stands for its action only if the action went through: a write refused (the bill no
// longer as the window shows it) is quick. What it should have left is looked at afterwards.
void expectCount(store::Database& db, const QString& sql, const QString& bills, int expected,
                 const char* operation) {
    const QString found = db.query(sql, {bills}).text(1);
    if (found != QString::number(expected))
        std::fprintf(stderr, "%s did not go through: %s counts %s, not %d\n", operation,
                     sql.toUtf8().constData(), found.toUtf8().constData(), expected);
}

// A bill of 50 lines of different products.
void addFiftyLines(store::Database& db, const store::Clock& clock, const QString& bill) {
    for (int line = 0; line < 50; ++line)
        db.execute("insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,小计,状态)"
                   "values(?,?,?,?,?,?,?)",
                   {"xsbh" + QString::number(line), store::makeDateStamp(clock), bill,
                    "sp" + QString::number(line * 997), "1", "199", "未确认"});
}

void addHeader(store::Database& db, const QString& bill, const QString& status) {
    db.execute("insert into 销售管理总模块(编号,销售日期,销售单号,总件数,销售总金额,销售人员,状态)"
               "values(?,?,?,?,?,?,?)",
               {"xsz" + bill, "20240305953", bill, "20", "3980", "admin", status});
}

void benchSuspendRetrieveAbandon(Bench& bench, session::Shell& shell, sales::SalesWindow* w) {
    // 10 000 paid headers and 1 000 suspended ones, over bills of the large shop.
    const QString suspended = QStringLiteral("挂起");
    const QString bill = QStringLiteral("xs-suspend");
    bench.db.begin();
    for (int b = 0; b < 11000; ++b)
        addHeader(bench.db, "xs" + QString::number(b), b < 10000 ? "已买单" : suspended);
    addFiftyLines(bench.db, shell.clock, bill);
    addHeader(bench.db, bill, suspended);
    for (int b = 0; b < 10; ++b) {
        addFiftyLines(bench.db, shell.clock, "xs-abandon" + QString::number(b));
        addHeader(bench.db, "xs-abandon" + QString::number(b), suspended);
    }
    bench.db.commit();

    // The bill is retrieved onto the window before each suspend, as a window suspends only a bill
    // of its own.
    bench.time("sales: suspend a 50-line bill", [&] { w->按钮_挂起->click(); }, {}, 9,
               [&] { w->loadRetrievedBill(bill); });
    expectCount(bench.db, "select count(*) from 销售管理总模块 where 销售单号=?", bill, 10, "suspend");
    bench.time("sales: open the retrieve window (1 000 suspended)", [&] {
        auto* window = new sales::RetrieveSuspendedWindow(shell, w);
        ui::openHostedWindow(window, w, ui::Placement::Centred);
        delete window;
    }, "select * from 销售管理总模块 where 状态='挂起'");
    bench.time("sales: retrieve a 50-line bill", [&] { w->loadRetrievedBill(bill); },
               "select * from 销售模块 where 销售单号='" + bill + "'");
    int abandoned = 0;
    bench.time("sales: abandon a 50-line suspended bill", [&] { w->按钮_废弃->click(); }, {}, 9,
               [&] { w->loadRetrievedBill("xs-abandon" + QString::number(abandoned++)); });
    expectCount(bench.db, "select count(*) from 销售模块 where 销售单号 like ?", "xs-abandon%", 50,
                "abandon");
}

}  // namespace

void benchSales(Bench& bench) {
    store::FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(9, 5, 3)));
    session::Shell shell(bench.db, bench.messages, clock, bench.folder.path());
    shell.currentUser = bench.shell.currentUser;
    shell.mainWindow = bench.host.get();

    const QString allProducts =
        QStringLiteral("select 编号,助记码,款号,条形码,杯型,尺码,颜色 from 商品资料");
    const auto open = [&](session::Shell& on) {
        auto* window = new sales::SalesWindow(on, bench.host.get());
        ui::openHostedWindow(window, bench.host.get(), ui::Placement::Centred);
        delete window;
    };
    // The first opening after start-up reads the catalogue; later ones find it kept.
    bench.time("sales: open the window, reading the catalogue", [&] {
        session::Shell started(bench.db, bench.messages, clock, bench.folder.path());
        started.currentUser = shell.currentUser;
        open(started);
    }, "select * from 商品资料");
    bench.time("sales: open the window again (set-up and reset)", [&] { open(shell); }, allProducts);

    auto* w = new sales::SalesWindow(shell, bench.host.get());
    ui::openHostedWindow(w, bench.host.get(), ui::Placement::Centred);
    bench.time("sales: resetSalesEntryFields", [&] { w->resetSalesEntryFields(); }, allProducts);

    const std::tuple<const char*, QComboBox*, QString> lookups[] = {
        {"sales: lookup by product code", w->组合框_编号, "sp4242"},
        {"sales: lookup by barcode", w->组合框_条形码, "b4242"},
        {"sales: lookup by mnemonic code", w->组合框_助记码, "m4242"}};
    for (const auto& [name, box, code] : lookups)
        bench.time(name, [&] {
            box->setEditText(code);
            pressEnter(box);
        });

    w->resetSalesEntryFields();
    bench.time("sales: filter step, style number (100 products)", [&] {
        w->组合框_款号->setEditText("k42");
        pressEnter(w->组合框_款号);
    }, allProducts + " where 款号='k42'");
    w->resetSalesEntryFields();
    bench.time("sales: filter step, cup (12 500 products)", [&] { choose(w->组合框_杯型, "B"); },
               allProducts + " where 杯型='B'");
    bench.time("sales: filter step, colour after cup (1 786)", [&] { choose(w->组合框_颜色, "色3"); },
               allProducts + " where 杯型='B' and 尺码='75' and 颜色='色3'");

    bench.time("sales: add a line with its reset", [&] {
        w->组合框_编号->setEditText("sp4242");
        w->组合框_款号->setEditText("k242");
        w->标签_单价->setText("199");
        w->编辑框_数量->setText("1");
        w->编辑框_小计->setText("199");
        w->按钮_加入->click();
    });

    const QString bill = w->标签_销售单号->text();
    bench.db.execute("delete from 销售模块 where 销售单号=?", {bill});
    bench.db.begin();
    addFiftyLines(bench.db, clock, bill);
    addHeader(bench.db, bill, QStringLiteral("挂起"));
    bench.db.commit();
    // The bill retrieved onto the window, as a window pays and changes only a bill of its own.
    const auto retrieve = [&] {
        bench.db.execute("update 销售模块 set 状态='未确认' where 销售单号=?", {bill});
        bench.db.execute("update 销售管理总模块 set 状态='挂起' where 销售单号=?", {bill});
        w->loadRetrievedBill(bill);
    };
    // Each run pays the same 50 lines again, made unpaid once more: a checkout starts a bill with a
    // number of its own.
    bench.time("sales: checkout of a 50-line bill", [&] { w->checkOutBill(); }, {}, 9, retrieve);
    expectCount(bench.db, "select count(*) from 销售模块 where 销售单号=? and 状态='已买单'", bill, 50,
                "checkout");

    retrieve();
    bench.time("sales: change a line (修改, then store)", [&] {
        w->超级列表框_销售单->selectRow(0);
        w->菜单项_修改->trigger();
        w->按钮_修改->click();
    });
    bench.time("sales: delete a line", [&] {
        w->超级列表框_销售单->selectRow(0);
        w->菜单项_删除->trigger();
    });
    expectCount(bench.db, "select count(*) from 销售模块 where 销售单号=?", bill, 41, "delete");
    benchSuspendRetrieveAbandon(bench, shell, w);
    delete w;
}

}  // namespace bench
