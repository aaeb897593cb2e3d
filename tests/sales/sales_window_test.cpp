#include "app/entry_windows.h"
#include "sales_fixture.h"
#include "store/stamps.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <functional>

using sales::SalesWindow;
using test::kRemindYou;
using test::Shown;
using test::typeInto;
using ui::Answer;
using ui::kStandardTitle;

namespace {

const QString kCloseQuestion =
    QStringLiteral("请保存销售数据，窗口关闭后数据无法恢复。你确认要关闭销售窗口吗？");
const QString kCheckOutQuestion = QStringLiteral("是否确认买单！");
const QString kPrintQuestion = QStringLiteral("是否打印小票！");
const QString kCheer = QStringLiteral("　　　　继续努力！加油！");

}  // namespace

class SalesWindowTest : public test::SalesTest {
protected:
    // A suspended bill xs1 of lines with these amounts, retrieved onto the window: a window reads
    // only a bill of its own, never rows that may stand under a number it only proposes.
    void retrieveBillOf(SalesWindow* w, const QStringList& amounts) {
        exec("delete from 销售模块");
        exec("delete from 销售管理总模块");
        exec("insert into 销售管理总模块(销售单号,状态)values('xs1','挂起')");
        for (const QString& amount : amounts)
            exec("insert into 销售模块(销售单号,小计,状态)values('xs1',?,'未确认')", {amount});
        ASSERT_EQ(w->loadRetrievedBill("xs1"), sales::SalesWindow::Retrieval::Loaded);
    }
};

TEST_F(SalesWindowTest, OpensWithGreetingDateAndANewBill) {
    SalesWindow* w = open();
    EXPECT_EQ(w->windowTitle(), "销售窗口");
    EXPECT_EQ(w->size(), QSize(743, 512));
    EXPECT_TRUE(w->hidesOnLogout());
    EXPECT_EQ(w->标签_店员->text(), "张三");
    EXPECT_EQ(w->标签_时间->text(), "2024年3月5日星期二");
    EXPECT_EQ(w->标签_销售单号->text(), "xs20240305953");
    EXPECT_EQ(w->分组框2->title(), "xs20240305953");
    EXPECT_EQ(w->日期框1->date(), QDate(2024, 3, 5));
    EXPECT_TRUE(w->按钮_加入->isVisible());
    EXPECT_FALSE(w->按钮_修改->isVisible());
    EXPECT_EQ(w->按钮_修改->geometry(), w->按钮_加入->geometry());
    EXPECT_EQ(items(w->组合框_折扣), QStringList({"不打折", "9", "8.5"}));
    EXPECT_EQ(items(w->组合框_折扣原因), QStringList({"会员", "促销"}));
    EXPECT_EQ(w->组合框_折扣->currentText(), "");

    const QStringList captions = {"序号", "款号", "杯型", "尺码", "颜色",    "数量",
                                  "单价", "折后价", "小计", "销售编号", "商品编号"};
    const int widths[] = {40, 70, 45, 45, 45, 45, 45, 50, 50, 0, 0};
    QAbstractItemModel* columns = w->超级列表框_销售单->model();
    ASSERT_EQ(columns->columnCount(), captions.size());
    for (int c = 0; c < captions.size(); ++c) {
        EXPECT_EQ(columns->headerData(c, Qt::Horizontal).toString(), captions[c]);
        if (widths[c] == 0) EXPECT_TRUE(w->超级列表框_销售单->isColumnHidden(c));
        else EXPECT_EQ(w->超级列表框_销售单->columnWidth(c), widths[c]);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SalesWindowTest, WeekdayNamesRunMondayToSunday) {
    const std::pair<QDate, QString> days[] = {
        {QDate(2024, 3, 4), "2024年3月4日星期一"},
        {QDate(2024, 3, 9), "2024年3月9日星期六"},
        {QDate(2024, 3, 10), "2024年3月10日星期天"},
        {QDate(2023, 12, 31), "2023年12月31日星期天"},
    };
    for (const auto& [day, text] : days) {
        clock.set(QDateTime(day, QTime(9, 5, 3)));
        EXPECT_EQ(open()->标签_时间->text(), text);
    }
}

TEST_F(SalesWindowTest, TheNavigationEntryOpensOneCentredWindow) {
    app::openEntryWindow(shell, app::kEntrySales);
    auto* w = mainWindow->findChild<SalesWindow*>();
    ASSERT_NE(w, nullptr);
    const QSize host = mainWindow->frameGeometry().size();
    EXPECT_EQ(w->pos(), QPoint(int(host.width() / 2.0 - 743 / 2.0), int(host.height() / 2.0 - 256)));
    w->hide();
    app::openEntryWindow(shell, app::kEntrySales);
    EXPECT_EQ(mainWindow->findChildren<SalesWindow*>().size(), 1);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(SalesWindowTest, CloseAnsweredNoKeepsTheBillAndYesClosesTheWindow) {
    addTwoProducts();
    QPointer<SalesWindow> w = open();
    addLine(w, "sp1", "1");
    messages.clear();
    messages.answer(Answer::No);
    w->close();
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{kCloseQuestion, 0x24, kStandardTitle}}));
    ASSERT_FALSE(w.isNull());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 1);

    messages.answer(Answer::Yes);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(rows("select 销售单号,状态 from 销售模块"), QStringList({"xs20240305953|未确认"}));
}

TEST_F(SalesWindowTest, PricesFollowQuantityAndDiscount) {
    addTwoProducts();
    struct Case {
        QString discount;
        QString subtotal;
        QString discounted;
    };
    const Case cases[] = {
        {"", "398", "199"},
        {"不打折", "398", "199"},
        {"9", "358.2", "179.1"},
        {"8.5", "338.3", "169.15"},
    };
    SalesWindow* w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.discount.toStdString());
        tick();
        lookUpCode(w, "sp1");
        typeInto(w->编辑框_数量, "2");
        EXPECT_EQ(w->编辑框_小计->text(), "398");  // each key of the quantity recomputes
        if (!c.discount.isEmpty()) test::choose(w->组合框_折扣, c.discount);
        EXPECT_EQ(w->编辑框_小计->text(), c.subtotal);
        test::choose(w->组合框_折扣原因, "会员");
        test::click(w->按钮_加入);
        EXPECT_EQ(rows("select 小计,折后价,折扣,数量 from 销售模块 where 销售编号=?",
                       {store::makeDocumentNumber(clock, "xsbh")}),
                  QStringList({c.subtotal + "|" + c.discounted + "|" + c.discount + "|2"}));
    }
    // Typing into the discount box does not recompute; 计算 does.
    lookUpCode(w, "sp1");
    typeInto(w->编辑框_数量, "1");
    typeInto(w->组合框_折扣, "5");
    EXPECT_EQ(w->编辑框_小计->text(), "199");
    test::click(w->按钮_计算);
    EXPECT_EQ(w->编辑框_小计->text(), "99.5");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SalesWindowTest, AnAddedLineCarriesEveryValueAndResetsTheEntry) {
    addTwoProducts();
    SalesWindow* w = open();
    lookUpCode(w, "sp2");
    typeInto(w->编辑框_数量, "2");
    test::choose(w->组合框_折扣, "9");
    test::choose(w->组合框_折扣原因, "促销");
    w->日期框1->setDate(QDate(2024, 3, 4));
    test::click(w->按钮_加入);
    EXPECT_EQ(rows("select * from 销售模块"),
              QStringList({"xsbh20240305953|20240304|xs20240305953|sp2|2|k2|B|80|黑|159|9|143.1|"
                           "286.2|促销|未确认|张三"}));
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 1);
    QStringList cells;
    for (int c = 0; c < 11; ++c) cells << w->超级列表框_销售单->cell(0, c);
    EXPECT_EQ(cells, QStringList({"1", "k2", "B", "80", "黑", "2", "159", "143.1", "286.2",
                                  "xsbh20240305953", "sp2"}));
    EXPECT_EQ(w->标签_总金额->text(), "286.2");
    for (QLineEdit* box : {w->编辑框_数量, w->编辑框_小计}) EXPECT_EQ(box->text(), "");
    EXPECT_EQ(w->组合框_编号->currentText(), "");
    EXPECT_EQ(w->标签_单价->text(), "");
    EXPECT_EQ(w->组合框_折扣->currentText(), "");
    EXPECT_EQ(test::focused(), w->组合框_编号);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SalesWindowTest, EachCheckRefusesTheLineWithItsMessage) {
    addTwoProducts();
    struct Case {
        const char* name;
        std::function<void(SalesWindow*)> enter;  // after sp1 (199) is looked up with quantity 1
        QString message;
        QString title;
    };
    const Case cases[] = {
        {"unknown product", [](SalesWindow* w) { w->组合框_编号->setEditText("sp9"); },
         "你输入的编号不存在！", kRemindYou},
        {"quoted product code", [](SalesWindow* w) { w->组合框_编号->setEditText("sp1'"); },
         "你输入的编号不存在！", kRemindYou},
        {"unknown style number", [](SalesWindow* w) { w->组合框_款号->setEditText("k9"); },
         "你输入的款号不存在，请重新输入！", kStandardTitle},
        {"sale date three days back", [](SalesWindow* w) { w->日期框1->setDate(QDate(2024, 3, 2)); },
         "不能录入超过2两天前的销售单和超过今天以后的销售单！", kStandardTitle},
        {"no quantity", [](SalesWindow* w) { typeInto(w->编辑框_数量, ""); },
         "请输入商品数量！", kStandardTitle},
        {"quantity 0", [](SalesWindow* w) { typeInto(w->编辑框_数量, "0"); },
         "请输入商品数量！", kStandardTitle},
        {"typed subtotal below the tag price",
         [](SalesWindow* w) { typeInto(w->编辑框_小计, "150"); },
         "由于最终价格比吊牌价低，你需要选择打折原因！", kStandardTitle},
        {"discount without a reason", [](SalesWindow* w) { test::choose(w->组合框_折扣, "9"); },
         "由于最终价格比吊牌价低，你需要选择打折原因！", kStandardTitle},
        {"subtotal above the tag price, even with a reason",
         [](SalesWindow* w) {
             typeInto(w->编辑框_小计, "200");
             test::choose(w->组合框_折扣原因, "会员");
         },
         "最终价格不能大于吊牌价！", kStandardTitle},
        {"empty product code that a product has",
         [this](SalesWindow* w) {
             addProduct({"", "m0", "b0", "k1", "A", "75", "红", "199"});
             w->组合框_编号->setEditText("");
         },
         "请选择商品！", kStandardTitle},
        {"quantity 1.5", [](SalesWindow* w) { typeInto(w->编辑框_数量, "1.5"); },
         "加入销售单失败!", kStandardTitle},
        {"quantity abc", [](SalesWindow* w) { typeInto(w->编辑框_数量, "abc"); },
         "加入销售单失败!", kStandardTitle},
        {"subtotal abc with a reason",
         [](SalesWindow* w) {
             typeInto(w->编辑框_小计, "abc");
             test::choose(w->组合框_折扣原因, "会员");
         },
         "加入销售单失败!", kStandardTitle},
        {"discount inf with a reason",  // would price the line at 0
         [](SalesWindow* w) {
             typeInto(w->组合框_折扣, "inf");
             test::choose(w->组合框_折扣原因, "会员");
         },
         "加入销售单失败!", kStandardTitle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SalesWindow* w = open();
        lookUpCode(w, "sp1");
        typeInto(w->编辑框_数量, "1");
        c.enter(w);
        const QString quantity = w->编辑框_数量->text();
        messages.clear();
        test::click(w->按钮_加入);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{c.message, 0x40, c.title}}));
        EXPECT_TRUE(rows("select * from 销售模块").isEmpty());
        // Only an unknown product resets the entry; every other refusal keeps the boxes.
        EXPECT_EQ(w->编辑框_数量->text(), c.message == "你输入的编号不存在！" ? "" : quantity);
        delete w;
        exec("delete from 商品资料 where 编号=''");
    }
}

TEST_F(SalesWindowTest, SaleDatesReachTwoCalendarDaysBack) {
    addTwoProducts();
    struct Case {
        QDate today;
        QDate sale;
        bool accepted;
    };
    const Case cases[] = {
        {QDate(2023, 3, 1), QDate(2023, 2, 26), false}, {QDate(2023, 3, 1), QDate(2023, 2, 27), true},
        {QDate(2023, 3, 1), QDate(2023, 2, 28), true},  {QDate(2023, 3, 1), QDate(2023, 3, 1), true},
        {QDate(2023, 3, 1), QDate(2023, 3, 2), false},  {QDate(2024, 3, 1), QDate(2024, 2, 27), false},
        {QDate(2024, 3, 1), QDate(2024, 2, 28), true},  {QDate(2024, 3, 1), QDate(2024, 2, 29), true},
        {QDate(2024, 3, 1), QDate(2024, 3, 1), true},   {QDate(2024, 3, 1), QDate(2025, 3, 1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sale.toString(Qt::ISODate).toStdString());
        clock.set(QDateTime(c.today, QTime(23, 59, 59)));
        exec("delete from 销售模块");
        SalesWindow* w = open();  // a bill of its own: lines gone from under a window are told
        messages.clear();
        lookUpCode(w, "sp1");
        typeInto(w->编辑框_数量, "1");
        w->日期框1->setDate(c.sale);
        test::click(w->按钮_加入);
        EXPECT_EQ(rows("select 销售时间 from 销售模块"),
                  c.accepted ? QStringList({store::toDateStamp(c.sale)}) : QStringList());
        EXPECT_EQ(messages.texts(),
                  c.accepted ? QStringList()
                             : QStringList({"不能录入超过2两天前的销售单和超过今天以后的销售单！"}));
    }
}

TEST_F(SalesWindowTest, PriceRulesAllowOneTenMillionthEitherWay) {
    addTwoProducts();
    const std::pair<QString, QString> cases[] = {
        {"199.00000005", ""},
        {"198.99999995", ""},
        {"199.0000002", "最终价格不能大于吊牌价！"},
        {"198.9999998", "由于最终价格比吊牌价低，你需要选择打折原因！"},
    };
    for (const auto& [subtotal, message] : cases) {
        SCOPED_TRACE(subtotal.toStdString());
        exec("delete from 销售模块");
        SalesWindow* w = open();  // a bill of its own: lines gone from under a window are told
        messages.clear();
        lookUpCode(w, "sp1");
        typeInto(w->编辑框_数量, "1");
        typeInto(w->编辑框_小计, subtotal);
        test::pressEnter(w->编辑框_小计);
        EXPECT_EQ(messages.texts(), message.isEmpty() ? QStringList() : QStringList({message}));
        EXPECT_EQ(rows("select count(*) from 销售模块"), QStringList({message.isEmpty() ? "1" : "0"}));
    }
}

// A price of 15 significant digits is sold as it stands: subtotal, list and total keep every
// digit, and the price rules let the undiscounted subtotal through.
TEST_F(SalesWindowTest, AFifteenDigitPriceKeepsEveryDigit) {
    const std::pair<QString, QString> cases[] = {
        {"123456789012345", "123456789012345"},
        {"99999999.9999999", "99999999.99"},  // the total keeps two decimals
    };
    for (const auto& [price, total] : cases) {
        SCOPED_TRACE(price.toStdString());
        exec("delete from 商品资料");
        exec("delete from 销售模块");
        addProduct({"sp1", "m1", "b1", "k1", "A", "75", "红", price});
        messages.clear();
        SalesWindow* w = open();
        lookUpCode(w, "sp1");
        typeInto(w->编辑框_数量, "1");
        EXPECT_EQ(w->编辑框_小计->text(), price);
        test::click(w->按钮_加入);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(w->超级列表框_销售单->cell(0, 8), price);
        EXPECT_EQ(w->标签_总金额->text(), total);
        delete w;
    }
}

TEST_F(SalesWindowTest, ChangeModeStoresFiveColumnsOfTheSelectedLine) {
    addTwoProducts();
    SalesWindow* w = open();
    addLine(w, "sp1", "1");
    addLine(w, "sp2", "2");
    const QString sp1Line = w->超级列表框_销售单->cell(0, 9);

    // No row selected: neither the menu item nor the button does anything.
    test::trigger(w->菜单项_修改);
    EXPECT_TRUE(w->按钮_加入->isVisible());

    test::selectRow(w->超级列表框_销售单, 0);
    test::trigger(w->菜单项_修改);
    EXPECT_FALSE(w->按钮_加入->isVisible());
    EXPECT_TRUE(w->按钮_修改->isVisible());
    EXPECT_EQ(w->组合框_编号->currentText(), "sp1");
    EXPECT_EQ(w->组合框_款号->currentText(), "k1");
    EXPECT_EQ(w->标签_单价->text(), "199");
    EXPECT_EQ(w->编辑框_数量->text(), "1");
    EXPECT_EQ(w->编辑框_小计->text(), "199");  // the written quantity recomputes
    EXPECT_EQ(test::focused(), w->编辑框_数量);

    // A change runs no checks: a subtotal above the tag amount is taken.
    typeInto(w->编辑框_数量, "3");
    test::choose(w->组合框_折扣, "9");
    typeInto(w->编辑框_小计, "999");
    test::choose(w->组合框_折扣原因, "会员");
    test::click(w->按钮_修改);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(rows("select 商品编号,数量,折扣,折后价,小计,折扣原因,单价,款号,状态 from 销售模块 "
                   "where 销售编号=?",
                   {sp1Line}),
              QStringList({"sp1|3|9|179.1|999|会员|199|k1|未确认"}));
    EXPECT_TRUE(w->按钮_加入->isVisible());
    EXPECT_FALSE(w->按钮_修改->isVisible());
    EXPECT_EQ(w->超级列表框_销售单->cell(0, 5), "3");
    EXPECT_EQ(w->标签_总金额->text(), "1317");
    EXPECT_EQ(w->编辑框_数量->text(), "");
}

TEST_F(SalesWindowTest, InChangeModeEnterAddsAndResetLeavesIt) {
    addTwoProducts();
    SalesWindow* w = open();
    addLine(w, "sp1", "1");
    test::selectRow(w->超级列表框_销售单, 0);
    test::trigger(w->菜单项_修改);
    tick();
    typeInto(w->编辑框_数量, "2");
    test::pressEnter(w->编辑框_小计);
    EXPECT_EQ(rows("select 数量 from 销售模块"), QStringList({"1", "2"}));
    EXPECT_TRUE(w->按钮_修改->isVisible());

    test::click(w->按钮_重置);
    EXPECT_TRUE(w->按钮_加入->isVisible());
    EXPECT_FALSE(w->按钮_修改->isVisible());
    EXPECT_EQ(w->标签_总金额->text(), "597");
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 2);
}

TEST_F(SalesWindowTest, AFailedChangeKeepsChangeMode) {
    addTwoProducts();
    SalesWindow* w = open();
    addLine(w, "sp1", "1");
    test::selectRow(w->超级列表框_销售单, 0);
    test::trigger(w->菜单项_修改);
    typeInto(w->编辑框_数量, "1.5");
    test::click(w->按钮_修改);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"修改失败!", 0x40, kStandardTitle}}));
    EXPECT_TRUE(w->按钮_修改->isVisible());
    EXPECT_EQ(rows("select 数量 from 销售模块"), QStringList({"1"}));
}

TEST_F(SalesWindowTest, DeleteAsksNothingAndTheTotalFollows) {
    addTwoProducts();
    SalesWindow* w = open();
    addLine(w, "sp1", "1");
    addLine(w, "sp2", "1");
    lookUpCode(w, "sp2");
    test::trigger(w->菜单项_删除);  // nothing selected: nothing deleted
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 2);

    test::selectRow(w->超级列表框_销售单, 0);
    test::trigger(w->菜单项_删除);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(rows("select 商品编号 from 销售模块"), QStringList({"sp2"}));
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 1);
    EXPECT_EQ(w->超级列表框_销售单->cell(0, 0), "1");
    EXPECT_EQ(w->标签_总金额->text(), "159");
    EXPECT_EQ(w->组合框_编号->currentText(), "sp2");  // the entry fields stay
}

// Lines of an older file may share their line id; a change or delete of one must leave the
// other alone.
TEST_F(SalesWindowTest, RowActionsReachOnlyTheSelectedLineWhenIdsRepeat) {
    addTwoProducts();
    SalesWindow* w = open();
    for (const char* code : {"sp1", "sp2", "sp1"}) {
        lookUpCode(w, code);
        typeInto(w->编辑框_数量, "1");
        test::click(w->按钮_加入);
    }
    exec("update 销售模块 set 销售编号='xsbh20240305953'");
    w->refillBillList(w->标签_销售单号->text());
    test::selectRow(w->超级列表框_销售单, 2);
    test::trigger(w->菜单项_修改);
    typeInto(w->编辑框_数量, "4");
    test::click(w->按钮_修改);
    test::selectRow(w->超级列表框_销售单, 1);
    test::trigger(w->菜单项_删除);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(rows("select 商品编号,数量 from 销售模块"), QStringList({"sp1|1", "sp1|4"}));
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 2);
}

TEST_F(SalesWindowTest, ThePopUpMenuOpensOnlyOverRows) {
    addTwoProducts();
    SalesWindow* w = open();
    emit w->超级列表框_销售单->rightClicked();
    EXPECT_FALSE(w->菜单_编辑->isVisible());
    addLine(w, "sp1", "1");
    emit w->超级列表框_销售单->rightClicked();
    EXPECT_TRUE(w->菜单_编辑->isVisible());
    EXPECT_EQ(w->菜单_编辑->title(), "编辑");
    w->菜单_编辑->hide();
}

TEST_F(SalesWindowTest, TheTotalKeepsAtMostTwoDecimalsUncut) {
    const std::pair<QStringList, QString> cases[] = {
        {{"10.5", "20.25"}, "30.75"},
        {{"12.3456"}, "12.34"},
        {{"12.999"}, "12.99"},
        {{"12.5"}, "12.5"},
        {{"100", "50"}, "150"},
        {{}, ""},
    };
    SalesWindow* w = open();
    for (const auto& [amounts, total] : cases) {
        SCOPED_TRACE(total.toStdString());
        retrieveBillOf(w, amounts);
        test::click(w->按钮_重置);
        EXPECT_EQ(w->标签_总金额->text(), total);
    }
}

TEST_F(SalesWindowTest, GivingChangeLeadsToTheCheckoutQuestion) {
    struct Case {
        QString total;
        QString received;
        QString change;              // "" when the payment falls short
        std::vector<Shown> shown;
    };
    const Shown checkOut = {kCheckOutQuestion, 0x24, kStandardTitle};
    const Shown shortOf = {"你收的款不够！", 0x40, kStandardTitle};
    const Case cases[] = {
        {"87.5", "100", "12.5", {{"应找零：12.5元", 0x40, kStandardTitle}, checkOut}},
        {"87.5", "87.5", "0", {{"应找零：0元", 0x40, kStandardTitle}, checkOut}},
        {"87.5", "87.49", "", {shortOf}},
        {"87.5", "abc", "", {shortOf}},
        {"", "", "0", {{"应找零：0元", 0x40, kStandardTitle}, checkOut}},
        {"", "abc", "0", {{"应找零：0元", 0x40, kStandardTitle}, checkOut}},
    };
    SalesWindow* w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE((c.total + " / " + c.received).toStdString());
        retrieveBillOf(w, c.total.isEmpty() ? QStringList() : QStringList{c.total});
        test::click(w->按钮_重置);
        messages.clear();
        if (!c.change.isEmpty()) messages.answer(Answer::No);
        typeInto(w->编辑框_收款, c.received);
        test::pressEnter(w->编辑框_收款);
        EXPECT_EQ(messages.shown, c.shown);
        EXPECT_EQ(w->标签_找零->text(), c.change);
    }
    // The button gives change as Enter does.
    messages.clear();
    messages.answer(Answer::No);
    test::click(w->按钮_找零);
    EXPECT_EQ(messages.texts(), QStringList({"应找零：0元", kCheckOutQuestion}));
}

// While the bill's lines cannot be read, the total last read stays and nothing is paid, given
// change for or suspended against it; once they can, the change is the amount less the real total.
TEST_F(SalesWindowTest, ATotalThatCannotBeReadStaysAsLastReadAndRefusesPayment) {
    addTwoProducts();
    SalesWindow* w = open();
    addLine(w, "sp1", "1");
    db.failQueriesContaining("select rowid,状态,小计 from 销售模块");
    const Shown readFailed = {"读取数据失败！", 0x40, kStandardTitle};
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"重置", [&] { test::click(w->按钮_重置); }},
        {"Enter in 收款",
         [&] {
             typeInto(w->编辑框_收款, "200");
             test::pressEnter(w->编辑框_收款);
         }},
        {"找零", [&] { test::click(w->按钮_找零); }},
        {"确认买单", [&] { test::click(w->按钮_确认买单); }},
        {"挂起", [&] { test::click(w->按钮_挂起); }},
    };
    for (const auto& [action, act] : actions) {
        SCOPED_TRACE(action);
        messages.clear();
        act();
        EXPECT_EQ(messages.shown, std::vector<Shown>{readFailed});
        EXPECT_EQ(w->标签_总金额->text(), "199");
        EXPECT_EQ(w->标签_找零->text(), "");
    }
    // An unknown code resets as ever, and the total still stands.
    messages.clear();
    lookUpCode(w, "x9");
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"你输入的编号不存在！", 0x40, kRemindYou}, readFailed}));
    EXPECT_EQ(w->标签_总金额->text(), "199");
    // A line is stored only on a bill whose lines were read in its own write.
    messages.clear();
    addLine(w, "sp2", "1");
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"加入销售单失败!", 0x40, kStandardTitle}}));
    EXPECT_EQ(rows("select 状态 from 销售模块"), QStringList({"未确认"}));
    EXPECT_TRUE(rows("select * from 销售管理总模块").isEmpty());

    db.failQueriesContaining({});
    addLine(w, "sp2", "1");
    messages.clear();
    messages.answer(Answer::No);
    typeInto(w->编辑框_收款, "400");
    test::pressEnter(w->编辑框_收款);
    EXPECT_EQ(w->标签_总金额->text(), "358");
    EXPECT_EQ(messages.texts(), QStringList({"应找零：42元", kCheckOutQuestion}));
}

TEST_F(SalesWindowTest, CheckoutAnsweredNoChangesNothing) {
    addTwoProducts();
    SalesWindow* w = open();
    addLine(w, "sp1", "2");
    messages.clear();
    messages.answer(Answer::No);
    test::click(w->按钮_确认买单);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{kCheckOutQuestion, 0x24, kStandardTitle}}));
    EXPECT_EQ(rows("select 状态 from 销售模块"), QStringList({"未确认"}));
    EXPECT_EQ(rows("select 销售出库,实际库存 from 库存表 where 商品编号='sp1'"), QStringList({"0|10"}));
    EXPECT_EQ(w->标签_销售单号->text(), "xs20240305953");
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 1);
    EXPECT_EQ(w->标签_总金额->text(), "398");
}

TEST_F(SalesWindowTest, CheckoutPaysLinesAndHeadersAndDeductsEachProductOnce) {
    addTwoProducts();
    addProduct({"sp3", "m3", "b3", "k3", "C", "85", "白", "59", "1"});
    addProduct({"sp4", "m4", "b4", "k4", "C", "85", "白", "29"});
    exec("delete from 库存表 where 商品编号='sp4'");  // no stock row: passed over
    exec("create table 更新记录(商品编号 text)");
    exec("create trigger 记录 after update on 库存表 begin "
         "insert into 更新记录 values(new.商品编号); end");
    SalesWindow* w = open();
    const QString bill = w->标签_销售单号->text();
    addLine(w, "sp1", "1");
    addLine(w, "sp1", "2");
    addLine(w, "sp3", "3");
    addLine(w, "sp4", "1");
    for (const char* header : {"xsz1", "xsz2"})
        exec("insert into 销售管理总模块(编号,销售单号,状态)values(?,?,?)", {header, bill, "挂起"});
    exec("insert into 销售模块(销售编号,销售单号,商品编号,数量,状态)values(?,?,?,?,?)",
         {"other", "xs-other", "sp1", "5", "未确认"});
    tick();
    messages.clear();
    messages.answer({Answer::Yes, Answer::No});
    test::click(w->按钮_确认买单);

    EXPECT_EQ(messages.shown, (std::vector<Shown>{{kCheckOutQuestion, 0x24, kStandardTitle},
                                                  {kPrintQuestion, 0x24, kStandardTitle},
                                                  {kCheer, 0, kStandardTitle}}));
    EXPECT_EQ(rows("select distinct 状态 from 销售模块 where 销售单号=?", {bill}),
              QStringList({"已买单"}));
    EXPECT_EQ(rows("select 状态 from 销售模块 where 销售单号='xs-other'"), QStringList({"未确认"}));
    EXPECT_EQ(rows("select 状态 from 销售管理总模块"), QStringList({"已买单", "已买单"}));
    EXPECT_EQ(rows("select 商品编号,销售出库,实际库存 from 库存表 order by 商品编号"),
              QStringList({"sp1|3|7", "sp2|0|10", "sp3|3|-2"}));
    EXPECT_EQ(rows("select 商品编号 from 更新记录"), QStringList({"sp1", "sp3"}));
    // A new, empty bill.
    EXPECT_EQ(w->标签_销售单号->text(), store::makeDocumentNumber(clock, "xs"));
    EXPECT_NE(w->标签_销售单号->text(), bill);
    EXPECT_EQ(w->分组框2->title(), w->标签_销售单号->text());
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 0);
    EXPECT_EQ(w->标签_总金额->text(), "");
}

TEST_F(SalesWindowTest, CheckoutOfABillWithoutLinesStillStartsANewBill) {
    SalesWindow* w = open();
    tick();
    messages.answer({Answer::Yes, Answer::Yes});
    test::click(w->按钮_确认买单);
    EXPECT_EQ(messages.texts(), QStringList({kCheckOutQuestion, kPrintQuestion, kCheer}));
    EXPECT_EQ(w->标签_销售单号->text(), "xs20240305954");
    // Again in the same second: the number shown is in use until the new one replaces it.
    messages.answer({Answer::Yes, Answer::Yes});
    test::click(w->按钮_确认买单);
    EXPECT_EQ(w->标签_销售单号->text(), "xs20240305954-2");
}

// A bill number that cannot be taken is none: the window says so and takes no line until 废弃
// starts a bill that has one.
TEST_F(SalesWindowTest, WithoutAFreeBillNumberNoLineIsTaken) {
    addTwoProducts();
    exec("alter table 销售管理总模块 rename to 别名");
    SalesWindow* w = open();
    exec("alter table 别名 rename to 销售管理总模块");
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"生成销售单号失败，请点废弃重新开单！", 0x40,
                                                   kStandardTitle}}));
    EXPECT_EQ(w->标签_销售单号->text(), "");
    messages.clear();
    addLine(w, "sp1", "1");
    EXPECT_EQ(messages.texts(), QStringList({"加入销售单失败!"}));
    EXPECT_TRUE(rows("select * from 销售模块").isEmpty());

    messages.answer(Answer::Yes);
    test::click(w->按钮_废弃);
    EXPECT_EQ(w->标签_销售单号->text(), "xs20240305954");
    addLine(w, "sp1", "1");
    EXPECT_EQ(rows("select 销售单号 from 销售模块"), QStringList({"xs20240305954"}));
}

TEST_F(SalesWindowTest, AFailedCheckoutWritesNothingAndKeepsTheBill) {
    struct Case {
        const char* table;
        const char* when;
        QString message;
    };
    const Case cases[] = {
        {"销售模块", "", "数据库写入失败！"},
        {"销售管理总模块", "", "数据库写入失败！"},
        {"库存表", "when old.商品编号='sp2'", "扣减库存失败"},  // after sp1 was deducted
    };
    addTwoProducts();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        SalesWindow* w = openWithTwoLines();
        const QString bill = w->标签_销售单号->text();
        exec("insert into 销售管理总模块(编号,销售单号,状态)values(?,?,?)", {"xsz1", bill, "挂起"});
        exec(QString("create trigger refuse before update on %1 %2 begin "
                     "select raise(abort,'refused'); end")
                 .arg(c.table, c.when));
        messages.clear();
        messages.answer(Answer::Yes);
        test::click(w->按钮_确认买单);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{kCheckOutQuestion, 0x24, kStandardTitle},
                                                      {c.message, 0x40, kStandardTitle}}));
        EXPECT_EQ(rows("select distinct 状态 from 销售模块"), QStringList({"未确认"}));
        EXPECT_EQ(rows("select 状态 from 销售管理总模块"), QStringList({"挂起"}));
        EXPECT_EQ(rows("select 销售出库,实际库存 from 库存表"), QStringList({"0|10", "0|10"}));
        EXPECT_EQ(w->标签_销售单号->text(), bill);
        EXPECT_EQ(w->超级列表框_销售单->rowCount(), 2);
        EXPECT_EQ(w->标签_总金额->text(), "517");
        exec("drop trigger refuse");
        delete w;
    }
}

// A clerk's whole sale on the window: Enter alone from the code to the line, twice, then change
// and checkout; the stock and the lines show the sale.
TEST_F(SalesWindowTest, RoadOfOneSale) {
    addTwoProducts();
    SalesWindow* w = open();
    const QString bill = w->标签_销售单号->text();
    const std::pair<QString, QString> lines[] = {{"sp1", "2"}, {"sp2", "1"}};
    for (const auto& [code, quantity] : lines) {
        tick();
        typeInto(w->组合框_编号, code);
        test::pressEnter(w->组合框_编号);
        ASSERT_EQ(test::focused(), w->编辑框_数量);
        typeInto(w->编辑框_数量, quantity);
        test::pressEnter(w->编辑框_数量);
        ASSERT_EQ(test::focused(), w->组合框_折扣);
        test::pressEnter(w->组合框_折扣);
        ASSERT_EQ(test::focused(), w->编辑框_小计);
        test::pressEnter(w->编辑框_小计);
        // The next product's code is typed at once.
        ASSERT_EQ(test::focused(), w->组合框_编号);
    }
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 2);
    EXPECT_EQ(w->标签_总金额->text(), "557");
    // Fifteen controls on from the product code, the bill list one of them, Tab reaches 收款.
    for (int control = 0; control < 15; ++control) QTest::keyClick(test::focused(), Qt::Key_Tab);
    EXPECT_EQ(test::focused(), w->编辑框_收款);

    messages.answer({Answer::Yes, Answer::No});
    typeInto(w->编辑框_收款, "600");
    test::pressEnter(w->编辑框_收款);
    EXPECT_EQ(messages.texts(), QStringList({"应找零：43元", kCheckOutQuestion, kPrintQuestion, kCheer}));
    EXPECT_EQ(rows("select 商品编号,数量,小计,状态,销售人员 from 销售模块 where 销售单号=?", {bill}),
              QStringList({"sp1|2|398|已买单|张三", "sp2|1|159|已买单|张三"}));
    EXPECT_EQ(rows("select 商品编号,销售出库,实际库存 from 库存表"),
              QStringList({"sp1|2|8", "sp2|1|9"}));
    EXPECT_NE(w->标签_销售单号->text(), bill);
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 0);
    // The next customer's first code is typed at once.
    EXPECT_EQ(test::focused(), w->组合框_编号);
}

TEST_F(SalesWindowTest, SuspendParksTheBillAndStartsANewOne) {
    addProduct({"sp5", "m5", "b5", "k5", "A", "75", "红", "50"});
    struct Case {
        const char* name;
        int lines;           // of sp5, quantities 2 and then 1
        const char* answer;  // to "是否挂起！", "" when not asked
        const char* refuse;  // a trigger refusing the header, or ""
        std::vector<Shown> shown;
    };
    const Shown question = {"是否挂起！", 0x24, kStandardTitle};
    const Case cases[] = {
        {"empty bill", 0, "", "", {{"你还没有输入任何商品！", 0x40, kStandardTitle}}},
        {"answered No", 2, "No", "", {question}},
        {"header refused", 2, "Yes", "select raise(abort,'refused');",
         {question, {"挂起失败", 0x40, kStandardTitle}}},
        {"answered Yes", 2, "Yes", "", {question}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("delete from 销售模块");
        SalesWindow* w = open();
        const QString bill = w->标签_销售单号->text();
        for (int line = 0; line < c.lines; ++line) addLine(w, "sp5", line == 0 ? "2" : "1");
        if (*c.refuse)
            exec(QString("create trigger refuse before insert on 销售管理总模块 begin %1 end")
                     .arg(c.refuse));
        typeInto(w->编辑框_收款, "200");
        tick();
        messages.clear();
        if (*c.answer) messages.answer(QString(c.answer) == "Yes" ? Answer::Yes : Answer::No);
        test::click(w->按钮_挂起);
        EXPECT_EQ(messages.shown, c.shown);
        const bool parked = c.shown.size() == 1 && *c.answer == 'Y';
        EXPECT_EQ(rows("select 编号,销售日期,销售单号,总件数,销售总金额,销售人员,状态 from 销售管理总模块"),
                  parked ? QStringList({"xsz20240305" + store::makeTimeStamp(clock) + "|20240305" +
                                        store::makeTimeStamp(clock) + "|" + bill + "|3|150|张三|挂起"})
                         : QStringList());
        if (parked) {
            EXPECT_EQ(w->标签_销售单号->text(), store::makeDocumentNumber(clock, "xs"));
            EXPECT_NE(w->标签_销售单号->text(), bill);
            EXPECT_EQ(w->分组框2->title(), w->标签_销售单号->text());
            EXPECT_EQ(w->超级列表框_销售单->rowCount(), 0);
            EXPECT_EQ(w->标签_总金额->text(), "");
            EXPECT_EQ(w->编辑框_收款->text(), "");
        } else {
            EXPECT_EQ(w->标签_销售单号->text(), bill);
            EXPECT_EQ(w->超级列表框_销售单->rowCount(), c.lines);
            EXPECT_EQ(w->标签_总金额->text(), c.lines ? "150" : "");
            EXPECT_EQ(w->编辑框_收款->text(), "200");
        }
        EXPECT_EQ(rows("select count(*) from 销售模块 where 销售单号=?", {bill}),
                  QStringList({QString::number(c.lines)}));
        if (*c.refuse) exec("drop trigger refuse");
        exec("delete from 销售管理总模块");
        delete w;
    }
}

TEST_F(SalesWindowTest, AbandonDeletesTheBillAndStartsANewOne) {
    addTwoProducts();
    struct Case {
        const char* name;
        bool suspended;      // the bill was suspended and retrieved before
        Answer answer;
        const char* refuse;  // a trigger refusing a delete, or ""
        QString failure;     // the message after the question, "" for none
    };
    const Case cases[] = {
        {"answered No", true, Answer::No, "", ""},
        {"never suspended", false, Answer::Yes, "", ""},
        {"suspended", true, Answer::Yes, "", ""},
        {"header delete refused", true, Answer::Yes, "before delete on 销售管理总模块", "总模块删除失败"},
        {"line delete refused", true, Answer::Yes,
         "before delete on 销售模块 when old.商品编号='sp2'", "删除失败"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SalesWindow* w = openWithTwoLines();
        const QString bill = w->标签_销售单号->text();
        // Another bill whose line shares a line id of this one.
        exec("insert into 销售模块(销售编号,销售单号,商品编号,数量)values(?,?,?,?)",
             {rows("select 销售编号 from 销售模块").first(), "xs-other", "sp1", "5"});
        exec("insert into 销售管理总模块(编号,销售单号,状态)values(?,?,?)", {"xsz", "xs-other", "挂起"});
        if (c.suspended) {
            suspend(w);
            ASSERT_EQ(w->loadRetrievedBill(bill), sales::SalesWindow::Retrieval::Loaded);
        }
        if (*c.refuse)
            exec(QString("create trigger refuse %1 begin select raise(abort,'refused'); end")
                     .arg(c.refuse));
        // Abandon leaves change mode as it is.
        test::selectRow(w->超级列表框_销售单, 0);
        test::trigger(w->菜单项_修改);
        tick();
        messages.clear();
        messages.answer(c.answer);
        test::click(w->按钮_废弃);

        std::vector<Shown> shown;
        shown.push_back({"是否废弃这张销售单！", 0x24, kStandardTitle});
        if (!c.failure.isEmpty()) shown.push_back({c.failure, 0x40, kStandardTitle});
        EXPECT_EQ(messages.shown, shown);
        const bool abandoned = c.answer == Answer::Yes && c.failure.isEmpty();
        EXPECT_EQ(rows("select count(*) from 销售模块 where 销售单号=?", {bill}),
                  QStringList({abandoned ? "0" : "2"}));
        EXPECT_EQ(rows("select count(*) from 销售管理总模块 where 销售单号=?", {bill}),
                  QStringList({!abandoned && c.suspended ? "1" : "0"}));
        EXPECT_EQ(rows("select 商品编号,数量 from 销售模块 where 销售单号='xs-other'"),
                  QStringList({"sp1|5"}));
        EXPECT_EQ(rows("select count(*) from 销售管理总模块 where 销售单号='xs-other'"),
                  QStringList({"1"}));
        EXPECT_EQ(w->标签_销售单号->text(), abandoned ? store::makeDocumentNumber(clock, "xs") : bill);
        EXPECT_EQ(w->分组框2->title(), w->标签_销售单号->text());
        EXPECT_EQ(w->超级列表框_销售单->rowCount(), abandoned ? 0 : 2);
        if (abandoned) {
            EXPECT_EQ(test::focused(), w->组合框_编号);  // the next customer's first code
        }
        EXPECT_TRUE(w->按钮_修改->isVisible());
        if (*c.refuse) exec("drop trigger refuse");
        delete w;
    }
}
