#include "add_product_fixture.h"
#include "support/picker_order.h"

using receiving::AddProductWindow;
using test::kFullPicker;

class ReceiptPickerTest : public test::AddProductTest {};

// Boxes by column position: 0 编号, 1 助记码, 2 条形码, 3 款号, 4 品名, 5 品类, 6 杯型, 7 尺码,
// 8 颜色, 9 品牌.
TEST_F(ReceiptPickerTest, ChosenAttributesNarrowTheCodeBoxesAndTheAttributesNotChosen) {
    addCatalogue();
    struct Step {
        int box;
        QString text;
        bool chosen;  // chosen from the list, or only typed
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        QStringList state;
    };
    const Case cases[] = {
        {"only the category",
         {{5, "文胸", true}},
         {"sp1,sp2,sp3,sp6 : ", "m1,m2,m3,m6 : ", "b1,b2,b3,b6 : ", "k1,k2 : ", "无痕,蕾丝 : ",
          "文胸,内裤 : 文胸", "A,B : ", "70,75,80 : ", "红,白 : ", "爱慕,曼妮芬 : "}},
        {"four chosen: the cup keeps its list",
         {{3, "k1", false}, {4, "蕾丝", false}, {5, "文胸", true}, {6, "B", true}},
         {"sp2,sp6 : ", "m2,m6 : ", "b2,b6 : ", "k1,k2,k3 : k1", "平角,无痕,蕾丝 : 蕾丝",
          "文胸,内裤 : 文胸", "A,B : B", "75,80 : ", "红,白 : ", "爱慕,曼妮芬 : "}},
        {"single values choose themselves",
         {{8, "白", true}},
         {"sp3,sp6 : ", "m3,m6 : ", "b3,b6 : ", "k1,k2 : ", "无痕,蕾丝 : ", "文胸 : 文胸",
          "B : B", "75,80 : ", "红,白,黑 : 白", "曼妮芬 : 曼妮芬"}},
        {"one product left: its code is chosen and looked up",
         {{8, "白", true}, {7, "80", true}},
         test::showing({"sp6", "m6", "b6", "k1", "蕾丝", "文胸", "B", "80", "白", "曼妮芬"})},
        // The single colour chooses itself and narrows again to the same lists; the empty barcode
        // and the empty cup are single items too, chosen without narrowing again.
        {"a single colour, an empty barcode and an empty cup",
         {{5, "内裤", true}},
         {"sp4,sp5 : ", "m4,m4 : ", "'' : ", "k3 : k3", "平角 : 平角", "文胸,内裤 : 内裤", "'' : ",
          "M,L : ", "黑 : 黑", "曼妮芬 : 曼妮芬"}},
        {"values no product combines",
         {{3, "k2", false}, {5, "内裤", true}},
         {" : ", " : ", " : ", "k1,k2,k3 : k2", " : ", "文胸,内裤 : 内裤", " : ", " : ", " : ",
          " : "}},
        {"a typed style number counts as chosen",
         {{3, "k3", false}, {7, "L", true}},
         test::showing({"sp5", "m4", "", "k3", "平角", "内裤", "", "L", "黑", "曼妮芬"})},
    };
    AddProductWindow* w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::click(w->按钮_重置);
        for (const Step& step : c.steps) {
            QComboBox* box = boxes(w)[step.box];
            if (step.chosen) test::choose(box, step.text);
            else box->setEditText(step.text);
        }
        EXPECT_EQ(picker(w), c.state);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReceiptPickerTest, AProductAloneInItsStyleEndsShownInEveryBoxWithoutLooping) {
    // A product without mnemonic code, barcode, cup or colour: its empty values are single items
    // that start nothing further.
    addProduct({"sp7", "", "", "k7", "睡衣", "家居", "", "", "", "", "88", "40"});
    addProduct({"sp8", "m8", "b8", "k8", "睡衣", "家居", "", "", "", "", "88", "40"});
    AddProductWindow* w = open();
    test::choose(w->组合框_款号, "k7");
    EXPECT_EQ(picker(w), test::showing({"sp7", "", "", "k7", "睡衣", "家居", "", "", "", ""}));
    // Both products: every attribute box but the style number holds one value.
    test::click(w->按钮_重置);
    test::choose(w->组合框_品名, "睡衣");
    EXPECT_EQ(picker(w), QStringList({"sp7,sp8 : ", "'',m8 : ", "'',b8 : ", "k7,k8 : ",
                                      "睡衣 : 睡衣", "家居 : 家居", "'' : ", "'' : ", "'' : ",
                                      "'' : "}));
    EXPECT_TRUE(messages.shown.empty());
}

// Twelve products whose values first appear in an order other than their sorted one.
class ReceiptPickerOrderTest : public test::AddProductTest {
protected:
    void addShuffledCatalogue() {
        const QString names[] = {"蕾丝", "无痕", "平角"}, colours[] = {"红", "白", "黑"};
        const QString sizes[] = {"80", "75", "70"};
        for (int i : {7, 2, 10, 4, 0, 9, 5, 11, 1, 6, 3, 8}) {
            const QString n = QString::number(i);
            addProduct({"sp" + n, "m" + n, "b" + n, "k" + QString::number(i * 5 % 4 + 1),
                        names[i * 7 % 3], i % 2 ? "内裤" : "文胸", i / 2 % 2 ? "A" : "B",
                        sizes[i % 3], colours[i / 3 % 3], i / 4 % 2 ? "曼妮芬" : "爱慕", "99", "50"});
        }
    }

    // What the box's own statement gives with the boxes that have text as its condition:
    // "select distinct 品名 from 商品资料 where 品类  ='文胸'and 颜色 ='红'" and the like.
    QStringList statementGives(AddProductWindow* w, int box) {
        using receiving::ReceiptPicker;
        QString condition;
        for (int attribute = ReceiptPicker::kStyleNumber; attribute < ReceiptPicker::kBoxCount;
             ++attribute) {
            const QString text = boxes(w)[attribute]->currentText();
            if (text.isEmpty()) continue;
            const QString column = ReceiptPicker::column(ReceiptPicker::Box(attribute));
            condition += condition.isEmpty() ? column + "  ='" + text : "'and " + column + " ='" + text;
        }
        const QString column = ReceiptPicker::column(ReceiptPicker::Box(box));
        // The code boxes list whole rows, the barcode box too at a reset.
        const bool wholeRows = box < ReceiptPicker::kBarcode ||
                               (box == ReceiptPicker::kBarcode && condition.isEmpty());
        QString statement = (wholeRows ? QString("select * ") : "select distinct " + column) +
                            " from 商品资料";
        if (!condition.isEmpty()) statement += " where " + condition + "'";
        return test::columnTexts(db, statement, column);
    }
};

// The lists in the order the statements give them on this file: the lookup indexes make
// SQLite return style numbers, names and barcodes sorted where it walks their index, and in the
// order of the rows where it looks the rows up by a style number or a name instead; stored
// statistics change which it does.
TEST_F(ReceiptPickerOrderTest, EveryListIsInTheOrderOfItsStatement) {
    addShuffledCatalogue();
    AddProductWindow* w = open();
    test::expectListsInStatementOrder(
        db, w->按钮_重置, boxes(w), {3, 4},
        {{"the reset", {}, 3, {"k1", "k2", "k3", "k4"}},
         {"a category", {{5, "文胸"}}, 2, {"b0", "b10", "b2", "b4", "b6", "b8"}},
         {"a colour", {{8, "红"}}, 7, {"70", "75", "80"}},
         {"a category, then a colour", {{5, "文胸"}, {8, "红"}}, 3, {"k1", "k3"}},
         {"a colour, then a cup", {{8, "红"}, {6, "B"}}, 2, {"b0", "b1", "b9"}},
         {"a typed style number", {{3, "k2"}}, 4, {"蕾丝", "平角", "无痕"}},
         {"a typed name", {{4, "无痕"}}, 2, {"b7", "b10", "b4", "b1"}}},
        [&](int box) { return statementGives(w, box); });
    EXPECT_TRUE(messages.shown.empty());
}
