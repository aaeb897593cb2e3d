#include "app/main_window_fixture.h"
#include "sales_fixture.h"

using sales::SalesWindow;
using test::Shown;
using ui::Answer;

class SalesRoadTest : public test::MainWindowTest {
protected:
    // Two products, the program started, and 小王 logged in from 店铺销售: the sales window.
    SalesWindow* logInToSales() {
        addUsers();
        EXPECT_TRUE(test::insertTwoProducts(db));
        startMainWindow();
        logIn("小王", "xw1", app::kEntrySales);
        return main->findChild<SalesWindow*>();
    }
};

// The road of one sale through the real program: log in from 店铺销售, pick, add, check out;
// the stock rows and the lines show the sale. Logout hides the window with its bill.
TEST_F(SalesRoadTest, OneSaleFromTheLoginToTheStock) {
    SalesWindow* w = logInToSales();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->pos(), centredIn(QSize(743, 512)));
    EXPECT_EQ(w->标签_店员->text(), "小王");
    const QString bill = w->标签_销售单号->text();

    // By product code with Enter alone, then by barcode with the button.
    test::typeInto(w->组合框_编号, "sp1");
    test::pressEnter(w->组合框_编号);
    test::typeInto(w->编辑框_数量, "2");
    for (QWidget* box : {static_cast<QWidget*>(w->编辑框_数量), static_cast<QWidget*>(w->组合框_折扣),
                         static_cast<QWidget*>(w->编辑框_小计)})
        test::pressEnter(box);
    clock.set(clock.now().addSecs(1));
    test::typeInto(w->组合框_条形码, "b2");
    test::pressEnter(w->组合框_条形码);
    test::typeInto(w->编辑框_数量, "1");
    test::click(w->按钮_加入);
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 2);
    EXPECT_EQ(w->标签_总金额->text(), "557");

    // A logout hides the window with its bill; the next login shows the same one again.
    test::click(main->按钮_退出系统);
    EXPECT_TRUE(w->isHidden());
    logIn("小王", "xw1", app::kEntrySales);
    EXPECT_EQ(main->findChild<SalesWindow*>(), w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->标签_销售单号->text(), bill);
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 2);

    messages.clear();
    messages.answer({Answer::Yes, Answer::No});
    test::typeInto(w->编辑框_收款, "600");
    test::pressEnter(w->编辑框_收款);
    EXPECT_EQ(messages.texts(), QStringList({"应找零：43元", "是否确认买单！", "是否打印小票！",
                                             "　　　　继续努力！加油！"}));
    EXPECT_EQ(rows("select 商品编号,数量,状态,销售人员 from 销售模块 where 销售单号=?", {bill}),
              QStringList({"sp1|2|已买单|小王", "sp2|1|已买单|小王"}));
    EXPECT_EQ(rows("select 商品编号,销售出库,实际库存 from 库存表"),
              QStringList({"sp1|2|8", "sp2|1|9"}));
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 0);
}

// Two customers at once: the first one's bill is parked while the second one pays, then comes
// back and is paid. Each bill ends paid and each product's stock goes down once.
TEST_F(SalesRoadTest, TwoCustomersAtOnce) {
    SalesWindow* w = logInToSales();
    ASSERT_NE(w, nullptr);
    const auto sell = [&](const QString& code, const QString& quantity) {
        clock.set(clock.now().addSecs(1));
        test::typeInto(w->组合框_编号, code);
        test::pressEnter(w->组合框_编号);
        test::typeInto(w->编辑框_数量, quantity);
        test::click(w->按钮_加入);
    };
    const auto pay = [&](const QString& received) {
        messages.answer({Answer::Yes, Answer::No});
        test::typeInto(w->编辑框_收款, received);
        test::pressEnter(w->编辑框_收款);
    };

    messages.clear();
    const QString first = w->标签_销售单号->text();
    sell("sp1", "2");
    clock.set(clock.now().addSecs(1));
    messages.answer(Answer::Yes);
    test::click(w->按钮_挂起);
    const QString second = w->标签_销售单号->text();
    ASSERT_NE(second, first);
    sell("sp2", "1");
    pay("200");

    test::click(w->按钮_取回挂起);
    auto* retrieve = w->findChild<sales::RetrieveSuspendedWindow*>();
    ASSERT_NE(retrieve, nullptr);
    ASSERT_EQ(retrieve->超级列表框_取回挂起->rowCount(), 1);
    test::selectRow(retrieve->超级列表框_取回挂起, 0);
    test::click(retrieve->按钮_取回);
    flushClosedWindows();
    EXPECT_EQ(w->findChild<sales::RetrieveSuspendedWindow*>(), nullptr);
    EXPECT_EQ(w->标签_销售单号->text(), first);
    EXPECT_EQ(w->标签_总金额->text(), "398");
    pay("400");

    EXPECT_EQ(messages.texts(),
              QStringList({"是否挂起！", "应找零：41元", "是否确认买单！", "是否打印小票！",
                           "　　　　继续努力！加油！", "应找零：2元", "是否确认买单！",
                           "是否打印小票！", "　　　　继续努力！加油！"}));
    EXPECT_EQ(rows("select 销售单号,商品编号,数量,状态 from 销售模块"),
              QStringList({first + "|sp1|2|已买单", second + "|sp2|1|已买单"}));
    EXPECT_EQ(rows("select 销售单号,总件数,销售总金额,销售人员,状态 from 销售管理总模块"),
              QStringList({first + "|2|398|小王|已买单"}));
    EXPECT_EQ(rows("select 商品编号,销售出库,实际库存 from 库存表"),
              QStringList({"sp1|2|8", "sp2|1|9"}));
}
