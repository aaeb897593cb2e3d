#include "add_product_fixture.h"

using receiving::AddProductWindow;
using test::kFullPicker;
using test::kRemindYou;
using test::Shown;
using ui::kStandardTitle;

namespace {

const QString kReceipt = "rk20240305953";  // "rk" + 20240305 + 953 at the fixed moment
const Shown kAdded{"执行添加成功！", 0x40, kStandardTitle};
const QString kStoredLines = "select 入库编号,入库单号,商品编号,商品数量,助记码,款号,品名,杯型,尺码,颜色,状态 "
                             "from 入库管理模块";

}  // namespace

class AddReceiptLineTest : public test::AddProductTest {
protected:
    void addLine(AddProductWindow* w, const QString& code, const QString& quantity) {
        tick();
        test::choose(w->组合框_编号, code);
        test::typeInto(w->编辑框_数量, quantity);
        test::click(w->按钮_添加);
    }

    QStringList totals() const {
        return {receipt->标签_总数->text(), receipt->标签_吊总->text(), receipt->标签_进总->text()};
    }

    QStringList listedLines() const {
        QStringList result;
        for (int row = 0; row < receipt->超级列表框_入库信息->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 8; ++column)
                cells << receipt->超级列表框_入库信息->cell(row, column);
            result << cells.join('|');
        }
        return result;
    }
};

TEST_F(AddReceiptLineTest, ThreeLinesAreStoredListedAndAddedToTheRunningTotals) {
    addCatalogue();
    AddProductWindow* w = open();
    EXPECT_EQ(totals(), QStringList({"0", "", ""}));

    addLine(w, "sp1", "2");  // 59.9 and 30 a piece
    EXPECT_EQ(messages.shown, std::vector<Shown>{kAdded});
    EXPECT_EQ(totals(), QStringList({"2", "119.8", "60"}));
    EXPECT_EQ(picker(w), kFullPicker);
    EXPECT_EQ(w->编辑框_数量->text(), "");
    addLine(w, "sp3", "1");
    addLine(w, "sp1", "3");
    EXPECT_EQ(totals(), QStringList({"6", "428.5", "210"}));
    EXPECT_EQ(rows(kStoredLines),
              QStringList({"20240305954|" + kReceipt + "|sp1|2|m1|k1|蕾丝|A|70|红|未入库",
                           "20240305955|" + kReceipt + "|sp3|1|m3|k2|无痕|B|75|白|未入库",
                           "20240305956|" + kReceipt + "|sp1|3|m1|k1|蕾丝|A|70|红|未入库"}));
    EXPECT_EQ(listedLines(), QStringList({"sp1|m1|k1|蕾丝|2|A|70|红", "sp3|m3|k2|无痕|1|B|75|白",
                                          "sp1|m1|k1|蕾丝|3|A|70|红"}));
    EXPECT_EQ(messages.shown, std::vector<Shown>(3, kAdded));
    EXPECT_TRUE(w->isVisible());
}

TEST_F(AddReceiptLineTest, QuantitiesAreComparedAsTextsAndStoredAsTyped) {
    addCatalogue();
    struct Case {
        QString quantity;
        std::vector<Shown> told;
        QStringList totals;  // after the line, from 0, "" and ""
    };
    const Case cases[] = {
        {"", {{"数量内容不能等于空或者0！", 0x40, kRemindYou}}, {"0", "", ""}},
        {"0", {{"数量内容不能等于空或者0！", 0x40, kRemindYou}}, {"0", "", ""}},
        {"0.0", {kAdded}, {"0", "0", "0"}},
        {"00", {kAdded}, {"0", "0", "0"}},
        {"-1", {kAdded}, {"-1", "-39", "-15"}},
        {"2.5", {kAdded}, {"2.5", "97.5", "37.5"}},
        // Longer than the line's column takes: refused by the file, nothing stored or added.
        {QString(256, u'9'), {{"执行添加失败！", 0x40, kStandardTitle}}, {"0", "", ""}},
        // Numbers no review could write back into 实际库存.
        {"1e300", {{"执行添加失败！", 0x40, kStandardTitle}}, {"0", "", ""}},
        {"inf", {{"执行添加失败！", 0x40, kStandardTitle}}, {"0", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quantity.left(8).toStdString());
        exec("delete from 入库管理模块");
        AddProductWindow* w = open();
        test::choose(w->组合框_编号, "sp4");  // 39 and 15 a piece
        w->编辑框_数量->setText(c.quantity);
        messages.clear();
        test::click(w->按钮_添加);
        EXPECT_EQ(messages.shown, c.told);
        EXPECT_EQ(totals(), c.totals);
        const bool added = c.told.front() == kAdded;
        EXPECT_EQ(rows("select 商品数量 from 入库管理模块"),
                  added ? QStringList{c.quantity} : QStringList{});
        // A refused quantity keeps the choice; a failed insert resets the window.
        const bool kept = !added && c.told.front().text != "执行添加失败！";
        EXPECT_EQ(w->组合框_编号->currentText(), kept ? "sp4" : "");
        // A new receipt each time, with its totals from the start.
        delete receipt;
        receipt = nullptr;
    }
}

TEST_F(AddReceiptLineTest, AMissingOrUnknownCodeStoresNothing) {
    addCatalogue();
    AddProductWindow* w = open();
    test::typeInto(w->编辑框_数量, "1");
    test::click(w->按钮_添加);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"编号内容不能等于空！", 0x40, kRemindYou}}));
    EXPECT_EQ(w->编辑框_数量->text(), "1");

    // A code typed, or one whose product was deleted since it was chosen.
    for (const QString code : {"x9", "sp2' or '1'='1", "sp2"}) {
        SCOPED_TRACE(code.toStdString());
        test::click(w->按钮_重置);
        if (code == "sp2") {
            test::choose(w->组合框_编号, code);
            exec("delete from 商品资料 where 编号='sp2'");
        } else {
            w->组合框_编号->setEditText(code);
        }
        test::typeInto(w->编辑框_数量, "1");
        messages.clear();
        test::click(w->按钮_添加);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{"你输入的编号不存在！", 0x40, kRemindYou}}));
        EXPECT_EQ(w->编辑框_数量->text(), "");
        EXPECT_EQ(w->组合框_编号->currentText(), "");
    }
    EXPECT_TRUE(rows("select * from 入库管理模块").isEmpty());
    EXPECT_EQ(totals(), QStringList({"0", "", ""}));
    EXPECT_EQ(receipt->超级列表框_入库信息->rowCount(), 0);
}

// sp4 and sp5 share a mnemonic code and an empty barcode: the line is the product whose code
// was chosen, with its own values and prices, never the earlier product that shares them.
TEST_F(AddReceiptLineTest, ALineIsStoredForTheProductWhoseCodeWasChosen) {
    addCatalogue();
    AddProductWindow* w = open();
    addLine(w, "sp5", "2");  // 45 and 20 a piece
    EXPECT_EQ(rows("select 商品编号,助记码,款号,尺码 from 入库管理模块"), QStringList({"sp5|m4|k3|L"}));
    EXPECT_EQ(totals(), QStringList({"2", "90", "40"}));

    // Chosen by its attributes: size L leaves sp5 alone.
    tick();
    test::choose(w->组合框_尺码, "L");
    ASSERT_EQ(w->组合框_编号->currentText(), "sp5");
    test::typeInto(w->编辑框_数量, "1");
    test::click(w->按钮_添加);
    EXPECT_EQ(rows("select 商品编号,尺码 from 入库管理模块"), QStringList({"sp5|L", "sp5|L"}));
}

// A receipt number that cannot be taken is none: the new receipt says so and stores no line.
TEST_F(AddReceiptLineTest, WithoutAFreeReceiptNumberNoLineIsStored) {
    addCatalogue();
    receiptList = openWindow<receiving::ReceiptListWindow>(ui::Placement::TopLeft);
    exec("alter table 入库管理模块 rename to 别名");
    test::trigger(receiptList->菜单项_新增入库);
    exec("alter table 别名 rename to 入库管理模块");
    AddProductWindow* w = open();
    EXPECT_EQ(receipt->标签_编号->text(), "");
    EXPECT_EQ(messages.shown, std::vector<Shown>({{"生成入库单编号失败，请退出后重新新增入库！", 0x40,
                                                   kStandardTitle}}));
    messages.clear();
    addLine(w, "sp1", "2");
    EXPECT_EQ(messages.shown, std::vector<Shown>({{"执行添加失败！", 0x40, kStandardTitle}}));
    EXPECT_TRUE(rows(kStoredLines).isEmpty());
}
