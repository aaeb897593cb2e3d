#include "bench.h"

#include "receiving/line_change_window.h"
#include "receiving/receipt_list_window.h"
#include "receiving/review_window.h"
#include "receiving/stock_review.h"
#include "ui/list_view.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>

namespace bench {

namespace {

// Receipts rkb0..rkbN-1 of 20 lines each, not in stock, spread over the products.
void addBenchReceipts(Bench& bench, int count) {
    bench.db.begin();
    for (int r = 0; r < count; ++r) {
        const QString number = "rkb" + QString::number(r);
        bench.db.execute("insert into 入库管理总模块(ID,入库单编号,商品总件数,状态)values(?,?,?,?)",
                         {number, number, "40", "未入库"});
        for (int l = 0; l < 20; ++l)
            bench.db.execute("insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,状态)"
                             "values(?,?,?,?,?)",
                             {QString::number(l), number,
                              "sp" + QString::number((r * 20 + l) * 2477 % 50000), "2", "未入库"});
    }
    bench.db.commit();
}

void selectReceipt(receiving::ReceiptListWindow& list, const QString& number) {
    ui::ListView* receipts = list.超级列表框_入库单列表;
    for (int row = receipts->rowCount() - 1; row >= 0; --row)
        if (receipts->cell(row, 0) == number) return receipts->selectRow(row);
}

}  // namespace

void benchReview(Bench& bench) {
    constexpr int kRuns = 9;
    addBenchReceipts(bench, kRuns);
    receiving::ReceiptListWindow list(bench.shell, bench.host.get());
    ui::openHostedWindow(&list, bench.host.get(), ui::Placement::TopLeft);

    selectReceipt(list, "rkb0");
    bench.time("receiving: open the review window (50 000 stock rows)", [&] {
        list.菜单项_审核入库单->trigger();
        delete list.findChild<receiving::ReviewWindow*>();
    }, "select * from 库存表 where 商品编号 in (select 商品编号 from 入库管理模块 where 入库单号='rkb0')");

    std::vector<receiving::ReviewWindow*> windows;
    for (int r = 0; r < kRuns; ++r) {
        selectReceipt(list, "rkb" + QString::number(r));
        list.菜单项_审核入库单->trigger();
        windows.push_back(list.findChildren<receiving::ReviewWindow*>().last());
    }
    QCoreApplication::processEvents();  // the windows as the user sees them before choosing
    size_t next = 0;
    bench.time("receiving: review a 20-line receipt (commit, list refill)",
               [&] { windows[next++ % windows.size()]->reviewReceipt(); }, "select * from 库存表", kRuns);
    next = 0;
    bench.time("receiving: reverse review a 20-line receipt", [&] {
        receiving::ReviewWindow* w = windows[next++ % windows.size()];
        w->allowOnly(receiving::ReviewMode::ReverseReview);
        w->reverseReviewReceipt();
    }, "select * from 库存表", kRuns);
    for (receiving::ReviewWindow* w : windows) delete w;

    // The rule alone, without the windows' refills and repaints.
    bool review = true;
    const auto reviewOrReverse = [&](const QString& receipt) {
        receiving::reviewReceiptStock(bench.db, receipt,
                                      review ? receiving::ReviewMode::Review
                                             : receiving::ReviewMode::ReverseReview);
        review = !review;
    };
    bench.time("receiving: stock rewrite and commit alone (review, reverse)",
               [&] { reviewOrReverse("rkb2"); }, {}, 10);

    // Every stock row's 期初库存 differs from its 实际库存, as after a day of sales of every
    // product: each review then rewrites all 50 000 rows.
    bench.time("receiving: review, all 50 000 stock rows changed (set-up in)", [&] {
        bench.db.execute("update 库存表 set 期初库存=''");
        reviewOrReverse("rkb0");
    }, {}, 10);
    bench.time("receiving: (that set-up alone)",
               [&] { bench.db.execute("update 库存表 set 期初库存=''"); });

    selectReceipt(list, "rkb1");
    bench.time("receiving: change a line's quantity", [&] {
        list.超级列表框_入库单详情->selectRow(0);
        list.菜单项_修改->trigger();
        auto* w = list.findChildren<receiving::LineChangeWindow*>().last();
        w->编辑框_输入修改->setText(QString::number(next++ % 2 + 3));
        w->changeReceiptLine();
        selectReceipt(list, "rkb1");
        delete w;
    });
}

}  // namespace bench
