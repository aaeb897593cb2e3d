#include "bench.h"

#include "reports/sales_statistics_window.h"
#include "reports/stock_query_window.h"
#include "store/paid_sales_sums.h"
#include "store/schema.h"
#include "ui/hosted_window.h"

#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace bench {

namespace {

// The best seller by quantity as one statement in SQLite's dialect, for SQLite's own time.
QString bestSellerSql(const QString& start, const QString& end) {
    return "select * from (select sum(数量) as a,商品编号 from 销售模块 where 销售时间>=" + start +
           " and 销售时间<=" + end + " and 状态='已买单' group by 商品编号) order by a desc limit 1";
}

template <typename Window>
Window* openIn(Bench& bench) {
    auto* window = new Window(bench.shell, bench.host.get());
    ui::openHostedWindow(window, bench.host.get(), ui::Placement::Centred);
    return window;
}

}  // namespace

void benchReports(Bench& bench) {
    bench.time("statistics: open the window (two combo fills)",
               [&] { delete openIn<reports::SalesStatisticsWindow>(bench); },
               "select distinct 商品编号 from 销售模块 where 状态='已买单'");

    auto* statistics = openIn<reports::SalesStatisticsWindow>(bench);
    const auto setRange = [&](QDate start, QDate end) {
        statistics->日期框1->setDate(start);
        statistics->日期框2->setDate(end);
    };
    setRange({2024, 3, 1}, {2024, 3, 7});
    bench.time("statistics: date range, a week (19 000 lines)", [&] { statistics->queryDateRange(); },
               bestSellerSql("20240301", "20240307"));
    setRange({2024, 1, 1}, {2024, 12, 31});
    bench.time("statistics: date range, a year (1 000 000 lines)",
               [&] { statistics->queryDateRange(); }, bestSellerSql("20240101", "20241231"));

    // A year that begins and ends inside a month: month sums and the lines of the two odd months.
    setRange({2024, 1, 2}, {2024, 12, 30});
    bench.time("statistics: date range, a year off the month bounds",
               [&] { statistics->queryDateRange(); }, bestSellerSql("20240102", "20241230"));
    setRange({2024, 1, 1}, {2024, 12, 31});

    // Cold: a fresh connection, so every page is read and decrypted again.
    std::vector<double> cold;
    const QString path = store::databaseFilePath(bench.folder.path());
    for (int run = 0; run < 5; ++run) {
        bench.db.open(path, store::kDatabaseUser, store::kDatabasePassword);
        QElapsedTimer timer;
        timer.start();
        statistics->queryDateRange();
        cold.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(cold.begin(), cold.end());
    bench.add("statistics: date range, a year, cold connection", cold[cold.size() / 2]);

    statistics->组合框1->setEditText("sp4242");
    bench.time("statistics: per product, a year", [&] { statistics->queryProduct(); },
               "select sum(小计),sum(数量) from 销售模块 where 商品编号='sp4242' and 状态='已买单' "
               "and 销售时间>=20240101 and 销售时间<=20241231");
    statistics->组合框_个人->setEditText("admin");
    bench.time("statistics: per salesperson, a year", [&] { statistics->querySalesperson(); },
               "select sum(小计) from 销售模块 where 销售时间>=20240101 and 销售时间<=20241231 and "
               "状态='已买单' and 销售人员='admin'");
    delete statistics;

    const QString productRows =
        "select p.编号,p.助记码,p.款号,p.杯型,p.尺码,p.颜色,s.销售出库,s.实际库存 from 商品资料 p "
        "left join 库存表 s on s.rowid=(select min(rowid) from 库存表 where 商品编号=p.编号)";
    bench.time("stock query: open the window (50 000 products)",
               [&] { delete openIn<reports::StockQueryWindow>(bench); }, productRows);
    auto* stock = openIn<reports::StockQueryWindow>(bench);
    bench.time("stock query: by product code", [&] {
        stock->组合框1->setCurrentIndex(stock->组合框1->findText("sp4242"));
        stock->queryByCode();
    }, productRows + " where p.编号='sp4242'");
    bench.time("stock query: by mnemonic code", [&] {
        stock->编辑框1->setText("m4242");
        stock->queryByCode();
    }, productRows + " where p.助记码='m4242'");
    stock->组合框2->setEditText("k42");
    bench.time("stock query: by style number (100 products)", [&] { stock->queryByStyleNumber(); },
               productRows + " where p.款号='k42'");
    delete stock;

    // Last, as it turns over the page cache: an older file, or one that lost a trigger, gets its
    // sums made anew from the lines when it opens.
    bench.db.execute("drop trigger 销售日汇总_insert");
    QElapsedTimer timer;
    timer.start();
    store::ensurePaidSalesSums(bench.db);
    bench.add("statistics: sums made anew from 1 000 000 lines (once)", timer.nsecsElapsed() / 1e6);
}

}  // namespace bench
