#include "add_product_fixture.h"
#include "masterdata/catalogue_window.h"

#include <QPointer>
#include <QTest>

using receiving::AddProductWindow;
using test::kFullPicker;
using test::kRemindYou;
using test::kSp3;
using test::Shown;
using test::typeInto;
using ui::Answer;
using ui::kStandardTitle;

namespace {

// The state after a lookup: the key box keeps its list and text, the others show the product.
QStringList lookedUp(int keyBox, const QString& keyState, const QStringList& product) {
    QStringList state = test::showing(product);
    state[keyBox] = keyState;
    return state;
}

}  // namespace

class AddProductWindowTest : public test::AddProductTest {};

TEST_F(AddProductWindowTest, OpensCentredInTheNewReceiptWithTheWholeCatalogueAndNothingChosen) {
    addCatalogue();
    AddProductWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), receipt);
    EXPECT_EQ(w->windowTitle(), "添加商品入库");
    EXPECT_EQ(w->size(), QSize(340, 337));
    EXPECT_EQ(w->pos(), QPoint(130, 31));  // 600 / 2 - 340 / 2, 400 / 2 - 337 / 2 truncated
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(test::focused(), w->组合框_编号);  // taken from the 添加商品 just clicked
    EXPECT_EQ(picker(w), kFullPicker);
    EXPECT_EQ(w->编辑框_数量->text(), "");
    // Style number, name and colour take typing; category, cup, size and brand only a choice.
    QStringList editable;
    for (QComboBox* box : boxes(w))
        if (box->isEditable()) editable << box->objectName();
    EXPECT_EQ(editable, QStringList({"组合框_编号", "组合框_助记码", "组合框_条形码", "组合框_款号",
                                     "组合框_品名", "组合框_颜色"}));
    // A second click shows the open window again.
    w->move(0, 0);
    test::click(receipt->按钮_添加产品);
    EXPECT_EQ(receipt->findChildren<AddProductWindow*>().size(), 1);
    EXPECT_EQ(w->pos(), QPoint(130, 31));
    EXPECT_TRUE(messages.shown.empty());
}

// In the program's 12-pixel font the product code box shows a whole proposed code, the longest
// the clock makes, and every caption and box still stands apart within the form's size.
TEST_F(AddProductWindowTest, TheCodeBoxShowsAWholeProposedCode) {
    const QFont testFont = QApplication::font();
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    AddProductWindow* w = open();
    QLineEdit* edit = w->组合框_编号->lineEdit();
    EXPECT_LT(edit->fontMetrics().horizontalAdvance("sp20261231235959"), edit->width() - 4);
    EXPECT_EQ(w->size(), QSize(340, 337));
    const QList<QWidget*> controls = w->body()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        EXPECT_TRUE(w->body()->rect().contains(control->geometry())) << control->objectName().toStdString();
        for (QWidget* other : controls)
            EXPECT_TRUE(other == control || !other->geometry().intersects(control->geometry()))
                << control->objectName().toStdString() << " " << other->objectName().toStdString();
    }
    QApplication::setFont(testFont);
}

TEST_F(AddProductWindowTest, AnEmptyCatalogueLeavesEveryBoxEmpty) {
    AddProductWindow* w = open();
    for (QComboBox* box : boxes(w)) {
        EXPECT_EQ(box->count(), 0) << box->objectName().toStdString();
        EXPECT_EQ(box->currentText(), "");
    }
}

TEST_F(AddProductWindowTest, ResetEmptiesAPartialChoiceAndTheQuantity) {
    addCatalogue();
    AddProductWindow* w = open();
    test::choose(w->组合框_品类, "文胸");
    typeInto(w->组合框_款号, "k1");
    typeInto(w->编辑框_数量, "3");
    test::click(w->按钮_重置);
    EXPECT_EQ(picker(w), kFullPicker);
    EXPECT_EQ(w->编辑框_数量->text(), "");
}

TEST_F(AddProductWindowTest, ExitAsksAndOnlyYesClosesTheWindow) {
    addCatalogue();
    AddProductWindow* w = open();
    test::choose(w->组合框_品类, "文胸");
    const QStringList chosen = picker(w);
    const Shown question{"是否退出？", 0x44, kRemindYou};

    messages.answer(Answer::No);
    test::click(w->按钮_退出);
    EXPECT_EQ(messages.shown, std::vector<Shown>{question});
    EXPECT_EQ(picker(w), chosen);

    QPointer<AddProductWindow> closing = w;
    messages.answer(Answer::Yes);
    test::click(w->按钮_退出);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
    EXPECT_TRUE(receipt->isVisible());
    // The frame's close box closes it without a question.
    w = open();
    messages.clear();
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AddProductWindowTest, ChoosingACodeFillsTheOtherBoxesFromTheFirstProductWithIt) {
    addCatalogue();
    struct Case {
        int box;
        QString item;
        QStringList state;
    };
    const Case cases[] = {
        {0, "sp3", lookedUp(0, "sp1,sp2,sp3,sp4,sp5,sp6 : sp3", kSp3)},
        // sp4 and sp5 share m4: the first one in the catalogue's order.
        {1, "m4", lookedUp(1, "m1,m2,m3,m4,m4,m6 : m4",
                           {"sp4", "m4", "", "k3", "平角", "内裤", "", "M", "黑", "曼妮芬"})},
        {2, "b2", lookedUp(2, "b1,b2,b3,'','',b6 : b2",
                           {"sp2", "m2", "b2", "k1", "蕾丝", "文胸", "B", "75", "红", "爱慕"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item.toStdString());
        AddProductWindow* w = open();
        QComboBox* box = boxes(w)[c.box];
        box->setFocus();
        test::choose(box, c.item);
        EXPECT_EQ(picker(w), c.state);
        EXPECT_EQ(test::focused(), box);
        test::click(w->按钮_重置);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AddProductWindowTest, ACodeBoxWithTextIsLookedUpInPlaceOfTheChosenAttribute) {
    addCatalogue();
    struct Case {
        std::vector<std::pair<int, QString>> typed;
        std::vector<Shown> told;
        QString code;  // the product the boxes show after it, "" for a reset
    };
    const Case cases[] = {
        {{{0, "sp3"}, {2, "b1"}}, {}, "sp3"},
        {{{1, "m2"}, {2, "b1"}}, {}, "sp2"},
        {{{2, "b6"}}, {}, "sp6"},
        {{{0, "x9"}, {1, "m2"}}, {{"你输入的编号不存在！", 0x40, kRemindYou}}, ""},
        {{{1, "x9"}}, {{"你输入的助记码不存在！", 0x40, kStandardTitle}}, ""},
        {{{2, "x9"}}, {{"你输入的条形码不存在！", 0x40, kRemindYou}}, ""},
        {{{0, "sp1' or '1'='1"}}, {{"你输入的编号不存在！", 0x40, kRemindYou}}, ""},
    };
    AddProductWindow* w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.front().second.toStdString());
        test::click(w->按钮_重置);
        messages.clear();
        typeInto(w->编辑框_数量, "2");
        // Typed, and not yet looked up.
        for (const auto& [box, text] : c.typed) boxes(w)[box]->setEditText(text);
        test::choose(w->组合框_颜色, "红");  // ignored: a code box has text
        EXPECT_EQ(messages.shown, c.told);
        if (c.code.isEmpty()) {
            EXPECT_EQ(picker(w), kFullPicker);
            EXPECT_EQ(w->编辑框_数量->text(), "");
            continue;
        }
        EXPECT_EQ(w->组合框_编号->currentText(), c.code);
        EXPECT_EQ(w->组合框_颜色->count(), 1);
        EXPECT_EQ(w->编辑框_数量->text(), "2");
    }
}

TEST_F(AddProductWindowTest, EnterOnAValueSomeProductHasNarrowsThePicker) {
    addCatalogue();
    struct Case {
        std::vector<std::pair<int, QString>> typed;  // Enter in the last box typed into
        QStringList state;
    };
    const QString allCodes = "sp1,sp2,sp3,sp4,sp5,sp6 : sp3";
    const Case cases[] = {
        {{{0, "sp3"}}, lookedUp(0, allCodes, kSp3)},
        // A code in 编号 comes first: the barcode typed last is not looked up.
        {{{0, "sp3"}, {2, "b2"}}, lookedUp(0, allCodes, kSp3)},
        {{{3, "k2"}}, test::showing(kSp3)},
        {{{4, "无痕"}}, test::showing(kSp3)},
    };
    AddProductWindow* w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.back().second.toStdString());
        test::click(w->按钮_重置);
        for (const auto& [box, text] : c.typed) boxes(w)[box]->setEditText(text);
        test::pressEnter(boxes(w)[c.typed.back().first]);
        EXPECT_EQ(picker(w), c.state);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AddProductWindowTest, EnterOnAValueNobodyHasOffersTheCatalogue) {
    addCatalogue();
    const std::pair<int, QString> questions[] = {
        {0, "你所输入的商品编码不存在！是否添加商品资料？"},
        {1, "你所输入的助记码不存在！是否添加商品资料？"},
        {2, "你所输入的条形码不存在！是否添加商品资料？"},
        {3, "你所输入的款号不存在！是否添加商品资料？"},
        {4, "你所输入的商品名称不存在！是否添加商品资料？"},
    };
    // Typed as they stand: quotation marks, a long text and control characters.
    const QString typed[] = {"x9", "k1' or '1'='1", "蕾丝\"", QString(300, u'长'), "k1\t\x01"};
    AddProductWindow* w = open();
    test::choose(w->组合框_品类, "文胸");
    for (const auto& [box, question] : questions) {
        for (const QString& text : typed) {
            SCOPED_TRACE((question + text.left(12)).toStdString());
            messages.clear();
            messages.answer(Answer::No);
            boxes(w)[box]->setEditText(text);
            test::pressEnter(boxes(w)[box]);
            EXPECT_EQ(messages.shown, (std::vector<Shown>{{question, 0x44, kStandardTitle}}));
            EXPECT_EQ(picker(w), kFullPicker);  // No resets
        }
    }
    // Nothing typed looks for an empty value: no product lacks a style number, but two lack a
    // barcode, and with nothing chosen the filter then leaves the lists as they are.
    messages.answer(Answer::No);
    test::pressEnter(w->组合框_款号);
    EXPECT_EQ(messages.texts().last(), "你所输入的款号不存在！是否添加商品资料？");
    messages.clear();
    test::pressEnter(w->组合框_条形码);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(picker(w), kFullPicker);

    // Yes opens the catalogue at the main window's top-left corner and leaves the picker as it
    // was; a second Yes shows the same catalogue.
    test::choose(w->组合框_品类, "内裤");
    w->组合框_款号->setEditText("k9");
    const QStringList before = picker(w);
    for (int time = 0; time < 2; ++time) {
        messages.answer(Answer::Yes);
        test::pressEnter(w->组合框_款号);
        auto* catalogue = mainWindow->findChild<masterdata::CatalogueWindow*>();
        ASSERT_NE(catalogue, nullptr);
        EXPECT_TRUE(catalogue->isVisible());
        EXPECT_EQ(catalogue->pos(), QPoint(0, 0));
        catalogue->move(40, 40);
    }
    EXPECT_EQ(mainWindow->findChildren<masterdata::CatalogueWindow*>().size(), 1);
    EXPECT_EQ(picker(w), before);
    EXPECT_EQ(w->组合框_款号->currentText(), "k9");
}

// Enter has no meaning in the colour box: a typed colour, even one on the list, narrows nothing
// until the next filter run counts it.
TEST_F(AddProductWindowTest, EnterInTheColourBoxChangesNoOtherBox) {
    addCatalogue();
    AddProductWindow* w = open();
    for (const QString& colour : {QStringLiteral("白"), QStringLiteral("紫")}) {
        SCOPED_TRACE(colour.toStdString());
        test::click(w->按钮_重置);
        typeInto(w->组合框_颜色, colour);
        test::pressEnter(w->组合框_颜色);
        QStringList expected = kFullPicker;
        expected[8] = "红,白,黑 : " + colour;
        EXPECT_EQ(picker(w), expected);
        EXPECT_EQ(test::focused(), w->组合框_颜色);
    }
    test::click(w->按钮_重置);
    typeInto(w->组合框_颜色, "白");
    test::pressEnter(w->组合框_颜色);
    test::choose(w->组合框_尺码, "80");
    EXPECT_EQ(picker(w), test::showing({"sp6", "m6", "b6", "k1", "蕾丝", "文胸", "B", "80", "白", "曼妮芬"}));
    EXPECT_TRUE(messages.shown.empty());
}

// Leaving a box with a typed value, one on its list too, is no choice of that value.
TEST_F(AddProductWindowTest, KeysOtherThanEnterLookNothingUp) {
    addCatalogue();
    AddProductWindow* w = open();
    const std::pair<int, QString> typed[] = {{0, "x9"}, {0, "sp3"}, {1, "m3"}, {2, "b3"},
                                             {3, "k2"}, {4, "无痕"}, {8, "白"}};
    for (const auto& [box, text] : typed) {
        SCOPED_TRACE(text.toStdString());
        test::click(w->按钮_重置);
        typeInto(boxes(w)[box], text);
        QTest::keyClick(boxes(w)[box], Qt::Key_Tab);
        QTest::keyClick(boxes(w)[box], Qt::Key_Escape);
        QStringList expected = kFullPicker;
        expected[box] += text;
        EXPECT_EQ(picker(w), expected);
    }
    EXPECT_TRUE(messages.shown.empty());
}
