#include "add_product_fixture.h"

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
         {"sp1,sp2,sp3,sp6 : ", "m1,m2,m3,m6 : ", "b1,b2,b3,b6 : ", "k1,k2 : ", "蕾丝,无痕 : ",
          "文胸,内裤 : 文胸", "A,B : ", "70,75,80 : ", "红,白 : ", "爱慕,曼妮芬 : "}},
        {"four chosen: the cup keeps its list",
         {{3, "k1", false}, {4, "蕾丝", false}, {5, "文胸", true}, {6, "B", true}},
         {"sp2,sp6 : ", "m2,m6 : ", "b2,b6 : ", "k1,k2,k3 : k1", "蕾丝,无痕,平角 : 蕾丝",
          "文胸,内裤 : 文胸", "A,B : B", "75,80 : ", "红,白 : ", "爱慕,曼妮芬 : "}},
        {"single values choose themselves",
         {{8, "白", true}},
         {"sp3,sp6 : ", "m3,m6 : ", "b3,b6 : ", "k2,k1 : ", "无痕,蕾丝 : ", "文胸 : 文胸",
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
