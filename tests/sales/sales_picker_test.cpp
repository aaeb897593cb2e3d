#include "sales_fixture.h"
#include "support/picker_order.h"

#include <QTest>

using sales::SalesWindow;
using test::kRemindYou;
using test::Shown;
using test::typeInto;
using ui::kStandardTitle;

class SalesPickerTest : public test::SalesTest {
protected:
    // Cup B holds three style numbers; m4 and b4 are shared by sp4 and sp5.
    void addCatalogue() {
        addProduct({"sp1", "m1", "b1", "k1", "A", "70", "红", "199"});
        addProduct({"sp2", "m2", "b2", "k2", "B", "75", "黑", "159"});
        addProduct({"sp3", "m3", "b3", "k3", "B", "80", "白", "129"});
        addProduct({"sp4", "m4", "b4", "k4", "B", "75", "红", "99"});
        addProduct({"sp5", "m4", "b4", "k5", "C", "75", "黑", "89"});
    }

    // Each picker box's items, then its text.
    static QStringList picker(SalesWindow* w) {
        QStringList state;
        for (QComboBox* box : {w->组合框_编号, w->组合框_条形码, w->组合框_助记码, w->组合框_款号,
                               w->组合框_杯型, w->组合框_尺码, w->组合框_颜色})
            state << items(box).join(',') + " : " + box->currentText();
        return state;
    }
};

TEST_F(SalesPickerTest, AResetListsTheWholeCatalogueWithNothingChosen) {
    addCatalogue();
    SalesWindow* w = open();
    EXPECT_EQ(picker(w), QStringList({"sp1,sp2,sp3,sp4,sp5 : ", "b1,b2,b3,b4,b4 : ",
                                      "m1,m2,m3,m4,m4 : ", "k1,k2,k3,k4,k5 : ", "A,B,C : ",
                                      "70,75,80 : ", "红,黑,白 : "}));
    EXPECT_EQ(w->标签_单价->text(), "");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SalesPickerTest, EachCodeBoxLooksItsProductUp) {
    addCatalogue();
    struct Case {
        QComboBox* SalesWindow::*box;
        QString typed;
        QString price;
        bool focusToQuantity;
        QStringList state;
    };
    const Case cases[] = {
        {&SalesWindow::组合框_编号, "sp3", "129", true,
         {"sp1,sp2,sp3,sp4,sp5 : sp3", "b3 : b3", "m3 : m3", "k3 : k3", "B : B", "80 : 80", "白 : 白"}},
        {&SalesWindow::组合框_条形码, "b2", "159", false,
         {"sp2 : sp2", "b1,b2,b3,b4,b4 : b2", "m2 : m2", "k2 : k2", "B : B", "75 : 75", "黑 : 黑"}},
        {&SalesWindow::组合框_助记码, "m1", "199", false,
         {"sp1 : sp1", "b1 : b1", "m1,m2,m3,m4,m4 : m1", "k1 : k1", "A : A", "70 : 70", "红 : 红"}},
        // Two products share the barcode and the mnemonic code: the first one wins.
        {&SalesWindow::组合框_条形码, "b4", "99", false,
         {"sp4 : sp4", "b1,b2,b3,b4,b4 : b4", "m4 : m4", "k4 : k4", "B : B", "75 : 75", "红 : 红"}},
        {&SalesWindow::组合框_助记码, "m4", "99", false,
         {"sp4 : sp4", "b4 : b4", "m1,m2,m3,m4,m4 : m4", "k4 : k4", "B : B", "75 : 75", "红 : 红"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        SalesWindow* w = open();
        QComboBox* box = w->*c.box;
        typeInto(box, c.typed);
        test::pressEnter(box);
        EXPECT_EQ(picker(w), c.state);
        EXPECT_EQ(w->标签_单价->text(), c.price);
        EXPECT_EQ(test::focused(), c.focusToQuantity ? static_cast<QWidget*>(w->编辑框_数量) : box);
        delete w;
    }
    // Choosing an item looks up as Enter does.
    SalesWindow* w = open();
    test::choose(w->组合框_助记码, "m2");
    EXPECT_EQ(w->组合框_编号->currentText(), "sp2");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SalesPickerTest, ACodeNobodyHasIsToldThenTheEntryResets) {
    addCatalogue();
    const std::pair<QComboBox* SalesWindow::*, QString> cases[] = {
        {&SalesWindow::组合框_编号, "你输入的编号不存在！"},
        {&SalesWindow::组合框_条形码, "你输入的条形码不存在！"},
        {&SalesWindow::组合框_助记码, "你输入的助记码不存在！"},
    };
    SalesWindow* w = open();
    addLine(w, "sp1", "1");
    for (const auto& [member, message] : cases) {
        for (const QString typed : {"x9", "sp1'", ""}) {
            SCOPED_TRACE((message + typed).toStdString());
            QComboBox* box = w->*member;
            typeInto(w->编辑框_数量, "2");
            typeInto(box, typed);
            messages.clear();
            test::pressEnter(box);
            EXPECT_EQ(messages.shown, (std::vector<Shown>{{message, 0x40, kRemindYou}}));
            EXPECT_EQ(box->currentText(), "");
            EXPECT_EQ(w->编辑框_数量->text(), "");
            EXPECT_EQ(items(w->组合框_编号).size(), 5);
            EXPECT_EQ(w->标签_总金额->text(), "199");  // the bill's lines stay on the window
        }
    }
}

TEST_F(SalesPickerTest, ACupNarrowsTheOtherListsAndAnAutoChosenBoxCountsNext) {
    addCatalogue();
    SalesWindow* w = open();
    test::choose(w->组合框_杯型, "B");
    EXPECT_EQ(picker(w), QStringList({"sp2,sp3,sp4 : ", "b2,b3,b4 : ", "m2,m3,m4 : ",
                                      "k2,k3,k4 : ", "A,B,C : B", "75,80 : ", "黑,白,红 : "}));
    // Size 75 with cup B leaves two products.
    test::choose(w->组合框_尺码, "75");
    EXPECT_EQ(picker(w), QStringList({"sp2,sp4 : ", "b2,b4 : ", "m2,m4 : ", "k2,k4 : ",
                                      "A,B,C : B", "75,80 : 75", "黑,红 : "}));
    EXPECT_EQ(w->标签_单价->text(), "");
    // Cup C with the chosen size 75 leaves sp5 alone, which is looked up; its barcode and
    // mnemonic code are shared with sp4, whose lookup by them comes first.
    test::choose(w->组合框_杯型, "C");
    EXPECT_EQ(w->组合框_款号->currentText(), "k4");
    EXPECT_EQ(w->组合框_编号->currentText(), "sp4");
    EXPECT_EQ(w->标签_单价->text(), "99");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SalesPickerTest, FilterChoicesBuildOnEachOtherInEveryOrder) {
    addProduct({"p1", "n1", "c1", "s1", "B", "75", "红", "10"});
    addProduct({"p2", "n2", "c2", "s2", "B", "75", "黑", "20"});
    addProduct({"p3", "n3", "c3", "s3", "C", "75", "白", "30"});
    addProduct({"p4", "n4", "c4", "s4", "C", "80", "白", "40"});
    SalesWindow* w = open();
    // Cup B leaves one size, chosen by itself; cup C next is filtered with that size too.
    test::choose(w->组合框_杯型, "B");
    EXPECT_EQ(w->组合框_尺码->currentText(), "75");
    EXPECT_EQ(items(w->组合框_编号), QStringList({"p1", "p2"}));
    test::choose(w->组合框_杯型, "C");
    EXPECT_EQ(picker(w), QStringList({"p3 : p3", "c3 : c3", "n3 : n3", "s3 : s3", "C : C",
                                      "75 : 75", "白 : 白"}));
    EXPECT_EQ(w->标签_单价->text(), "30");
    EXPECT_EQ(test::focused(), w->编辑框_数量);

    // A style number first, then a colour.
    test::click(w->按钮_重置);
    typeInto(w->组合框_款号, "s4");
    test::pressEnter(w->组合框_款号);
    EXPECT_EQ(w->组合框_编号->currentText(), "p4");
    EXPECT_EQ(w->标签_单价->text(), "40");
    test::click(w->按钮_重置);
    test::choose(w->组合框_颜色, "白");
    EXPECT_EQ(picker(w), QStringList({"p3,p4 : ", "c3,c4 : ", "n3,n4 : ", "s3,s4 : ", "C : C",
                                      "75,80 : ", "红,黑,白 : 白"}));
}

TEST_F(SalesPickerTest, ACodeBoxWithTextTakesPrecedenceOverTheAttributes) {
    addCatalogue();
    SalesWindow* w = open();
    typeInto(w->组合框_编号, "sp3");  // typed, not yet looked up
    test::choose(w->组合框_颜色, "红");
    EXPECT_EQ(w->组合框_颜色->currentText(), "白");
    EXPECT_EQ(items(w->组合框_颜色), QStringList({"白"}));
    EXPECT_EQ(w->标签_单价->text(), "129");
    // Choosing a cup again looks sp3 up again; a code nobody has is told.
    typeInto(w->组合框_编号, "nope");
    test::choose(w->组合框_杯型, "B");
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"你输入的编号不存在！", 0x40, kRemindYou}}));
    EXPECT_EQ(items(w->组合框_杯型), QStringList({"A", "B", "C"}));
}

TEST_F(SalesPickerTest, ANewChoiceEmptiesAShownSubtotal) {
    addCatalogue();
    SalesWindow* w = open();
    test::choose(w->组合框_杯型, "B");
    typeInto(w->编辑框_数量, "2");  // no price yet: the subtotal reads 0
    test::choose(w->组合框_折扣, "9");
    ASSERT_EQ(w->编辑框_小计->text(), "0");
    test::choose(w->组合框_尺码, "80");
    EXPECT_EQ(w->编辑框_小计->text(), "");
    EXPECT_EQ(w->编辑框_数量->text(), "");
    EXPECT_EQ(w->组合框_折扣->currentText(), "");
    // With an empty subtotal the quantity stays.
    test::click(w->按钮_重置);
    typeInto(w->编辑框_数量, "2");
    w->编辑框_小计->clear();
    test::choose(w->组合框_尺码, "75");
    EXPECT_EQ(w->编辑框_数量->text(), "2");
}

TEST_F(SalesPickerTest, AStyleNumberNobodyHasChangesNothing) {
    addCatalogue();
    SalesWindow* w = open();
    test::choose(w->组合框_杯型, "B");
    const QStringList before = picker(w);
    for (const QString typed : {"", "k9", "k1'"}) {
        messages.clear();
        typeInto(w->组合框_款号, typed);
        test::pressEnter(w->组合框_款号);
        EXPECT_EQ(messages.shown,
                  (std::vector<Shown>{{"你输入的款号不存在，请重新输入！", 0x40, kStandardTitle}}));
    }
    w->组合框_款号->setEditText("");
    EXPECT_EQ(picker(w), before);
}

TEST_F(SalesPickerTest, AOneProductCatalogueIsChosenInEveryBox) {
    addProduct({"sp1", "m1", "b1", "k1", "A", "70", "红", "199"});
    SalesWindow* w = open();
    EXPECT_EQ(picker(w), QStringList({"sp1 : sp1", "b1 : b1", "m1 : m1", "k1 : k1", "A : A",
                                      "70 : 70", "红 : 红"}));
    EXPECT_EQ(w->标签_单价->text(), "199");
    EXPECT_EQ(test::focused(), w->编辑框_数量);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SalesPickerTest, AnEmptyCatalogueListsNothingAndEveryLookupIsTold) {
    SalesWindow* w = open();
    EXPECT_EQ(picker(w), QStringList({" : ", " : ", " : ", " : ", " : ", " : ", " : "}));
    const std::pair<QComboBox*, QString> cases[] = {
        {w->组合框_编号, "你输入的编号不存在！"},
        {w->组合框_条形码, "你输入的条形码不存在！"},
        {w->组合框_助记码, "你输入的助记码不存在！"},
    };
    for (const auto& [box, message] : cases) {
        messages.clear();
        test::pressEnter(box);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{message, 0x40, kRemindYou}}));
    }
}

// A single code that its own lookup would not find again (a value stored as NULL reads as
// empty text) must not start a lookup, or the failed lookup's reset would start it again.
TEST_F(SalesPickerTest, ASingleEmptyCodeRunsNoLookup) {
    exec("insert into 商品资料(编号,款号,杯型,吊牌价)values(?,?,?,?)", {"sp1", "k1", "A", "50"});
    SalesWindow* w = open();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(w->组合框_编号->currentText(), "sp1");
    EXPECT_EQ(w->标签_单价->text(), "50");
    EXPECT_EQ(items(w->组合框_助记码), QStringList({""}));

    exec("delete from 商品资料");
    exec("insert into 商品资料(编号,助记码,款号,吊牌价)values(?,?,?,?)", {"", "m1", "k1", "60"});
    test::click(w->按钮_重置);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(w->组合框_助记码->currentText(), "m1");  // looked up by its mnemonic code instead
    EXPECT_EQ(w->标签_单价->text(), "60");
}

// What the clerk typed is what is looked up: the box adds no completion of its own.
TEST_F(SalesPickerTest, ATypedCodeIsLookedUpAsTyped) {
    addProduct({"sp10", "m10", "b10", "k1", "A", "70", "红", "199"});
    addProduct({"sp20", "m20", "b20", "k2", "B", "75", "黑", "159"});
    SalesWindow* w = open();
    typeInto(w->组合框_编号, "sp1");
    test::pressEnter(w->组合框_编号);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"你输入的编号不存在！", 0x40, kRemindYou}}));
    // Only Enter looks a typed code up: leaving the box with one on its list is no choice of it.
    messages.clear();
    typeInto(w->组合框_编号, "sp20");
    QTest::keyClick(w->组合框_编号, Qt::Key_Tab);
    EXPECT_EQ(w->标签_单价->text(), "");
    EXPECT_EQ(items(w->组合框_款号), QStringList({"k1", "k2"}));
    EXPECT_TRUE(messages.shown.empty());
}

// The reset's lists after products were added, changed and deleted since the window opened:
// read again only where written, they hold what a full read of the catalogue gives.
TEST_F(SalesPickerTest, AResetAfterCatalogueWritesListsWhatAFullReadGives) {
    addCatalogue();
    SalesWindow* w = open();
    addProduct({"sp6", "m6", "b6", "k6", "D", "85", "紫", "79"});
    exec("update 商品资料 set 杯型=?,颜色=? where 编号=?", {"E", "蓝", "sp1"});
    exec("delete from 商品资料 where 编号=?", {"sp3"});
    ASSERT_TRUE(db.begin());
    exec("delete from 商品资料 where 编号=?", {"sp2"});
    ASSERT_TRUE(db.rollback());
    test::click(w->按钮_重置);

    auto column = [&](const QString& name) { return rows("select " + name + " from 商品资料"); };
    QStringList expected;
    for (const char* code : {"编号", "条形码", "助记码"}) expected << column(code).join(',') + " : ";
    for (const char* attribute : {"款号", "杯型", "尺码", "颜色"})
        expected << rows(QString("select distinct ") + attribute + " from 商品资料").join(',') + " : ";
    EXPECT_EQ(picker(w), expected);
    EXPECT_EQ(expected[4], "E,B,C,D : ");
}

// Twelve products whose values first appear in an order other than their sorted one. The lists
// come in the order the boxes' statements give them on this file: the lookup index of the style
// number makes SQLite return style numbers sorted where it walks that index, and in the order
// of the rows where it looks rows up by a style number instead; stored statistics change which.
TEST_F(SalesPickerTest, EveryListIsInTheOrderOfItsStatement) {
    const QString colours[] = {"红", "白", "黑"}, sizes[] = {"80", "75", "70"};
    for (int i : {7, 2, 10, 4, 0, 9, 5, 11, 1, 6, 3, 8}) {
        const QString n = QString::number(i);
        addProduct({"sp" + n, "m" + n, "b" + n, "k" + QString::number(i * 5 % 4 + 1),
                    i / 2 % 2 ? "A" : "B", sizes[i % 3], colours[i / 3 % 3], "99"});
    }
    SalesWindow* w = open();
    const QList<QComboBox*> boxes = {w->组合框_编号, w->组合框_条形码, w->组合框_助记码, w->组合框_款号,
                                     w->组合框_杯型, w->组合框_尺码, w->组合框_颜色};
    const auto columnOf = [&](int box) { return boxes[box]->objectName().mid(4); };  // 组合框_
    // "select distinct 颜色 from 商品资料 where 款号 ='k2'and 杯型 ='B'" and the like.
    const auto statementGives = [&](int box) {
        QString condition;
        for (int attribute = 3; attribute < 7; ++attribute) {
            const QString text = boxes[attribute]->currentText();
            if (!text.isEmpty())
                condition += (condition.isEmpty() ? "" : "'and ") + columnOf(attribute) + " ='" + text;
        }
        QString statement =
            (box < 3 ? QString("select * ") : "select distinct " + columnOf(box)) + " from 商品资料";
        if (!condition.isEmpty()) statement += " where " + condition + "'";
        return test::columnTexts(db, statement, columnOf(box));
    };
    test::expectListsInStatementOrder(
        db, w->按钮_重置, boxes, {3},
        {{"the reset", {}, 3, {"k1", "k2", "k3", "k4"}},
         {"a cup", {{4, "A"}}, 3, {"k3", "k4"}},
         {"a colour", {{6, "红"}}, 3, {"k1", "k2", "k3", "k4"}},
         {"a cup, then a size", {{4, "A"}, {5, "75"}}, 6, {"黑", "红"}},
         {"a typed style number", {{3, "k2"}}, 5, {"80", "70", "75"}}},
        statementGives);
    EXPECT_TRUE(messages.shown.empty());
}
