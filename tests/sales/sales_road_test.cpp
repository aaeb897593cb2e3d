#include "app/main_window_fixture.h"
#include "sales_fixture.h"

using sales::SalesWindow;
using test::Shown;
using ui::Answer;

class SalesRoadTest : public test::MainWindowTest {};

// The road of one sale through the real program: log in from 店铺销售, pick, add, check out;
// the stock rows and the lines show the sale. Logout hides the window with its bill.
TEST_F(SalesRoadTest, OneSaleFromTheLoginToTheStock) {
    addUsers();
    ASSERT_TRUE(test::insertTwoProducts(db));
    startMainWindow();
    logIn("小王", "xw1", app::kEntrySales);
    auto* w = main->findChild<SalesWindow*>();
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
