#include "app/main_window_fixture.h"
#include "reports/sales_statistics_window.h"
#include "reports/stock_query_window.h"
#include "sales/sales_fixture.h"

#include <QDateEdit>

using reports::SalesStatisticsWindow;
using reports::StockQueryWindow;
using ui::Answer;

class ReportsRoadTest : public test::MainWindowTest {};

// After a sale through the real program, 销售统计 shows it for today and 库存查询 shows the sold
// pieces and the stock left; each opens centred from the navigation panel for who may use it.
TEST_F(ReportsRoadTest, ASaleShowsInTheStatisticsAndTheStockQuery) {
    addUsers();
    ASSERT_TRUE(test::insertTwoProducts(db));
    startMainWindow();
    logIn("admin", "admin123", app::kEntrySales);
    auto* sale = main->findChild<sales::SalesWindow*>();
    ASSERT_NE(sale, nullptr);
    test::typeInto(sale->组合框_编号, "sp1");
    test::pressEnter(sale->组合框_编号);
    test::typeInto(sale->编辑框_数量, "2");
    test::click(sale->按钮_加入);
    messages.answer({Answer::Yes, Answer::No});
    test::typeInto(sale->编辑框_收款, "400");
    test::pressEnter(sale->编辑框_收款);
    messages.clear();

    doubleClickEntry(app::kEntryStatistics);
    auto* statistics = main->findChild<SalesStatisticsWindow*>();
    ASSERT_NE(statistics, nullptr);
    EXPECT_TRUE(statistics->isVisible());
    EXPECT_EQ(statistics->pos(), centredIn(QSize(479, 488)));
    EXPECT_EQ(statistics->组合框1->count(), 1);
    test::click(statistics->按钮_日期查询);
    EXPECT_EQ(statistics->标签_总金额->text(), "398");
    EXPECT_EQ(statistics->标签_总件数->text(), "2");
    EXPECT_EQ(statistics->编辑框_最多->text(), "sp1");
    EXPECT_EQ(statistics->标签_最多占比->text(), "100%");

    doubleClickEntry(app::kEntryStockQuery);
    auto* stock = main->findChild<StockQueryWindow*>();
    ASSERT_NE(stock, nullptr);
    EXPECT_TRUE(stock->isVisible());
    EXPECT_EQ(stock->pos(), centredIn(QSize(552, 457)));
    EXPECT_EQ(stock->超级列表框1->cell(0, 0), "sp1");
    EXPECT_EQ(stock->超级列表框1->cell(0, 6), "2");
    EXPECT_EQ(stock->超级列表框1->cell(0, 7), "8");
    EXPECT_TRUE(messages.shown.empty());

    // A clerk gets the stock query from the login's dispatch, and never the statistics.
    stock->close();
    statistics->close();
    flushClosedWindows();
    test::click(main->按钮_退出系统);
    logIn("小王", "xw1", app::kEntryStockQuery);
    stock = main->findChild<StockQueryWindow*>();
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(stock->pos(), centredIn(QSize(552, 457)));
    doubleClickEntry(app::kEntryStatistics);
    EXPECT_EQ(main->findChild<SalesStatisticsWindow*>(), nullptr);
}
