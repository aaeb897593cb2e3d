#include "bench.h"

#include "store/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <sqlcipher/sqlite3.h>

namespace bench {

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// What a line is held to: start-up to the first window 150 ms, a window's opening 100 ms, a
// click or an Enter 16 ms; the statistics over a year 100 ms (300 ms on a cold connection), one
// product's or one salesperson's 50 ms, the sums of an older file made anew 5 s. The store's own
// lines and set-ups are yardsticks.
double goalOf(const QString& name) {
    if (name.startsWith("start-up")) return 150;
    if (name.contains("open")) return 100;
    if (name.contains("a year, cold")) return 300;
    if (name.contains("date range, a year")) return 100;
    if (name.contains(", a year")) return 50;
    if (name.contains("sums made anew")) return 5000;
    for (const char* yardstick : {"query of", "scan of", "one bill", "execute:"})
        if (name.startsWith(yardstick)) return -1;
    if (name.contains("set-up alone")) return -1;
    return 16;
}

QByteArray cellOf(double milliseconds) {
    return milliseconds < 0 ? QByteArray("-") : QByteArray::number(milliseconds, 'f', 2);
}

}  // namespace

Bench::Bench() : shell(db, messages, clock, folder.path()) {
    const QString path = store::databaseFilePath(folder.path());
    store::createDatabase(db, path);
    db.open(path, store::kDatabaseUser, store::kDatabasePassword);
    host = std::make_unique<QWidget>();
    host->resize(800, 570);
    host->show();
    shell.mainWindow = host.get();
    shell.currentUser = session::kAdministrator;
}

Bench::~Bench() = default;

void Bench::buildLargeShop(const Sizes& sizes) {
    QElapsedTimer timer;
    timer.start();
    db.begin();
    for (int i = 0; i < sizes.products; ++i) {
        const QString n = QString::number(i);
        const QString style = "k" + QString::number(i % 500);
        db.execute("insert into 商品资料(编号,助记码,条形码,款号,品名,品类,杯型,尺码,颜色,品牌供应商,"
                   "吊牌价,进货价,库存)values(?,?,?,?,?,?,?,?,?,?,?,?,?)",
                   {"sp" + n, "m" + n, "b" + n, style, "文胸" + n, "文胸", "ABCD"[i % 4] + QString(),
                    QString::number(70 + 5 * (i % 4)), "色" + QString::number(i % 7), "品牌",
                    "199", "80", "100"});
        db.execute(" insert into 库存表(商品编号,助记码,款号,期初库存,实际库存)values(?,?,?,?,?)",
                   {"sp" + n, "m" + n, style, "100", "100"});
    }
    const QDate first(2024, 1, 1);
    for (int i = 0; i < sizes.billLines; ++i) {
        const int product = static_cast<int>((i * 7919LL) % sizes.products);
        const QString bill = "xs" + QString::number(i / 20);
        db.execute("insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,款号,杯型,尺码,颜色,单价,"
                   "折扣,折后价,小计,折扣原因,状态,销售人员)values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                   {"xsbh" + QString::number(i),
                    first.addDays((i / 20) % 366).toString("yyyyMMdd"), bill,
                    "sp" + QString::number(product), "1", "k" + QString::number(product % 500),
                    "A", "75", "色1", "199", "", "199", "199", "", "已买单", "admin"});
    }
    for (int r = 0; r < sizes.receipts; ++r) {
        const QString number = "rk" + QString::number(r);
        db.execute("insert into 入库管理总模块(ID,入库单编号,商品总件数,款式数量,款号,吊牌价总金额,"
                   "进货价总金额,入库时间,入库人员,状态,备注)values(?,?,?,?,?,?,?,?,?,?,?)",
                   {QString::number(r), number, "5", "5", "k1,k2", "995", "400",
                    first.addDays(r % 366).toString("yyyyMMdd"), "admin",
                    "已入库", ""});
        const int linesPerReceipt = sizes.receiptLines / sizes.receipts;
        for (int l = 0; l < linesPerReceipt; ++l) {
            const int line = r * linesPerReceipt + l;
            db.execute("insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,助记码,款号,品名,杯型,"
                       "尺码,颜色,状态)values(?,?,?,?,?,?,?,?,?,?,?)",
                       {QString::number(line), number, "sp" + QString::number(line % sizes.products),
                        "1", "m", "k", "文胸", "A", "75", "色1", "已入库"});
        }
    }
    db.commit();
    std::printf("large shop built in %.1f s: %d products, %d bill lines, %d receipts with %d lines\n",
                timer.elapsed() / 1000.0, sizes.products, sizes.billLines, sizes.receipts,
                sizes.receiptLines);
}

void Bench::time(const QString& name, const std::function<void()>& operation, const QString& rawSql,
                 int runs, const std::function<void()>& before) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (before) before();
        QElapsedTimer timer;
        timer.start();
        operation();
        QCoreApplication::processEvents();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    add(name, median(times), rawSql.isEmpty() ? -1 : rawMilliseconds(rawSql, runs));
}

void Bench::add(const QString& name, double median, double raw) {
    lines_.push_back({name, median, raw});
    std::printf("  %-52s %9.2f ms\n", name.toUtf8().constData(), median);
    std::fflush(stdout);
}

double Bench::rawMilliseconds(const QString& sql, int runs) {
    sqlite3* raw = nullptr;
    const QByteArray path = store::databaseFilePath(folder.path()).toUtf8();
    sqlite3_open_v2(path.constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray key = store::kDatabasePassword.toUtf8();
    sqlite3_key(raw, key.constData(), key.size());
    sqlite3_exec(raw, "PRAGMA cache_size=-262144;", nullptr, nullptr, nullptr);
    const QByteArray text = sql.toUtf8();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(raw, text.constData(), text.size(), &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(statement); ++c) sqlite3_column_text(statement, c);
        sqlite3_finalize(statement);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    sqlite3_close(raw);
    return median(times);
}

void Bench::report() const {
    std::printf("\n| operation | median (ms) | SQLite alone (ms) | ratio | goal (ms) | met |\n"
                "|---|---:|---:|---:|---:|:-:|\n");
    for (const Line& line : lines_) {
        const double goal = goalOf(line.name);
        std::printf("| %s | %s | %s | %s | %s | %s |\n", line.name.toUtf8().constData(),
                    cellOf(line.median).constData(), cellOf(line.raw).constData(),
                    line.raw > 0 ? QByteArray::number(line.median / line.raw, 'f', 2).constData() : "-",
                    cellOf(goal).constData(), goal < 0 ? "" : line.median <= goal ? "yes" : "NO");
    }
}

}  // namespace bench
