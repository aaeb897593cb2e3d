#include "app/main_window_fixture.h"
#include "receiving/receipt_list_window.h"
#include "receiving/review_window.h"
#include "sales/sales_fixture.h"

using receiving::ReceiptListWindow;
using receiving::ReviewWindow;
using ui::Answer;

class StockRoadTest : public test::MainWindowTest {
protected:
    // Chooses the receipt in the list and runs the review window's button for `item`.
    void runReview(ReceiptListWindow* list, QAction* item) {
        test::selectRow(list->超级列表框_入库单列表, 0);
        test::trigger(item);
        auto* w = list->findChild<ReviewWindow*>();
        ASSERT_NE(w, nullptr);
        messages.answer(Answer::Yes);
        test::click(item == list->菜单项_审核入库单 ? w->按钮_审核 : w->按钮_反审);
        test::click(w->按钮_关闭);
        flushClosedWindows();
    }
};

// Stock flows in through a reviewed receipt, out through a sale at the counter, and the receipt
// comes out again through its reverse review.
TEST_F(StockRoadTest, ReceivedSoldAndReversed) {
    addUsers();
    ASSERT_TRUE(test::insertTwoProducts(db));  // sp1 and sp2, 10 each
    exec("insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,款号,状态)values"
         "('953','rk20240305953','sp1','3','k1','未入库'),('953','rk20240305953','sp1','2','k1','未入库')");
    exec("insert into 入库管理总模块(ID,入库单编号,商品总件数,款式数量,款号,入库时间,入库人员,状态)"
         "values('953','rk20240305953','5','1','k1,','20240305','admin','未入库')");
    startMainWindow();
    logIn("admin", "admin123", app::kEntryReceiving);
    auto* list = main->findChild<ReceiptListWindow*>();
    ASSERT_NE(list, nullptr);

    messages.clear();
    runReview(list, list->菜单项_审核入库单);
    EXPECT_EQ(messages.texts(), QStringList({"是否将入库单内容加入库存！", "审核成功！"}));
    EXPECT_EQ(rows("select 期初库存,实际库存 from 库存表"), QStringList({"15|15", "10|10"}));
    EXPECT_EQ(list->超级列表框_入库单列表->cell(0, 8), "已入库");

    doubleClickEntry(app::kEntrySales);
    auto* sale = main->findChild<sales::SalesWindow*>();
    ASSERT_NE(sale, nullptr);
    test::typeInto(sale->组合框_编号, "sp1");
    test::pressEnter(sale->组合框_编号);
    test::typeInto(sale->编辑框_数量, "1");
    test::click(sale->按钮_加入);
    messages.clear();
    messages.answer({Answer::Yes, Answer::No});
    test::typeInto(sale->编辑框_收款, "199");
    test::pressEnter(sale->编辑框_收款);
    EXPECT_EQ(rows("select 期初库存,销售出库,实际库存 from 库存表"), QStringList({"15|1|14", "10|0|10"}));

    messages.clear();
    runReview(list, list->菜单项_反审入库单);
    EXPECT_EQ(messages.texts(), QStringList({"是否将入库单内容从库存中减去！", "反审成功！"}));
    EXPECT_EQ(rows("select 期初库存,销售出库,实际库存 from 库存表"), QStringList({"9|1|9", "10|0|10"}));
    EXPECT_EQ(rows("select distinct 状态 from 入库管理模块"), QStringList({"未入库-反审"}));
    EXPECT_EQ(list->超级列表框_入库单列表->cell(0, 8), "未入库-反审");
}
