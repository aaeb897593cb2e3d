#include "reports/stock_query_window.h"
#include "sales/sales_fixture.h"
#include "ui/list_view.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

using reports::StockQueryWindow;
using test::Shown;
using ui::kStandardTitle;

namespace {

// The items in the database's order, which is not the test's to fix: sorted.
QStringList items(QComboBox* box) {
    QStringList all;
    for (int i = 0; i < box->count(); ++i) all << box->itemText(i);
    all.sort();
    return all;
}

QStringList listed(ui::ListView* list) {
    QStringList all;
    for (int row = 0; row < list->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 8; ++column) cells << list->cell(row, column);
        all << cells.join('|');
    }
    return all;
}

}  // namespace

class StockQueryWindowTest : public test::ShopTest {
protected:
    // As the catalogue adds a product: its stock row with 期初库存 = 实际库存 = the stock.
    void addProduct(const QString& code, const QString& mnemonic, const QString& style,
                    const QString& size, const QString& stock = "5") {
        exec("insert into 商品资料(编号,助记码,款号,杯型,尺码,颜色)values(?,?,?,'B',?,'黑')",
             {code, mnemonic, style, size});
        exec("insert into 库存表(商品编号,助记码,款号,期初库存,实际库存)values(?,?,?,?,?)",
             {code, mnemonic, style, stock, stock});
    }
    StockQueryWindow* open() { return openWindow<StockQueryWindow>(); }
    void queryCode(StockQueryWindow* w, const QString& code, const QString& mnemonic = {}) {
        w->组合框1->setCurrentIndex(w->组合框1->findText(code));
        test::typeInto(w->编辑框1, mnemonic);
        test::click(w->按钮1);
    }
    static Shown summary(const QString& text) { return {text, 0, kStandardTitle}; }
};

TEST_F(StockQueryWindowTest, AFreshWindowListsEveryProductWithItsFirstStockRow) {
    addProduct("sp1", "m1", "k1", "75");
    addProduct("sp2", "m2", "k1", "80", "7");
    exec("update 库存表 set 销售出库='3',实际库存='4' where 商品编号='sp2'");
    exec("insert into 库存表(商品编号,款号,销售出库,实际库存)values('sp2','k1','99','99')");
    exec("insert into 商品资料(编号,助记码,款号)values('sp3','m3','k3')");  // without a stock row
    exec("insert into 库存表(商品编号,款号,实际库存)values('sp0','k0','1')");  // product deleted
    auto* w = open();
    EXPECT_EQ(w->windowTitle(), "库存查询");
    EXPECT_EQ(w->size(), QSize(552, 457));
    EXPECT_EQ(w->分组框1->title(), "按商品编号查询");
    EXPECT_EQ(w->分组框2->title(), "按款号查询");
    EXPECT_FALSE(w->组合框1->isEditable());
    EXPECT_TRUE(w->组合框2->isEditable());
    EXPECT_EQ(items(w->组合框1), QStringList({"sp0", "sp1", "sp2", "sp2"}));
    EXPECT_EQ(items(w->组合框2), QStringList({"k0", "k1", "k1", "k1"}));
    EXPECT_EQ(w->组合框1->currentText(), "");
    EXPECT_EQ(w->组合框2->currentText(), "");
    EXPECT_EQ(listed(w->超级列表框1), QStringList({"sp1|m1|k1|B|75|黑||5", "sp2|m2|k1|B|80|黑|3|4",
                                                  "sp3|m3|k3|||||"}));
    const QStringList headers = {"商品编号", "助记码", "款号", "杯型", "尺码", "颜色", "已售", "库存"};
    const int widths[] = {100, 100, 50, 50, 50, 50, 50, 50};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(w->超级列表框1->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        EXPECT_EQ(w->超级列表框1->columnWidth(c), widths[c]);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StockQueryWindowTest, ACodeOrMnemonicQueryTellsTheFiguresAndListsTheProducts) {
    addProduct("sp1", "m1", "k1", "75");
    addProduct("sp2", "m2", "k2", "80");
    addProduct("sp2", "m9", "k9", "85");  // nothing makes codes unique
    exec("update 库存表 set 实际库存='8' where 助记码='m9'");
    exec("insert into 库存表(商品编号,款号,实际库存)values('sp0','k0','1')");  // product deleted
    exec("insert into 销售模块(销售编号,销售单号,商品编号,数量,小计,状态)"
         "values('xsbh1','xs1','sp1',2,398,'未确认')");
    ASSERT_EQ(test::payAsStored(db, "xs1"), "");  // a checkout of two
    auto* w = open();
    const struct {
        QString code, mnemonic;
        Shown message;
        QStringList list;
    } cases[] = {
        {"sp1", "ignored", summary("已销售：2库存：3"), {"sp1|m1|k1|B|75|黑|2|3"}},
        {"sp2", "", summary("已销售：库存：5"), {"sp2|m2|k2|B|80|黑||5", "sp2|m9|k9|B|85|黑||5"}},
        {"sp0", "", summary("已销售：库存：1"), {}},
        {"", "m9", summary("已销售：库存：8"), {"sp2|m9|k9|B|85|黑||5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.toStdString() + c.mnemonic.toStdString());
        messages.clear();
        queryCode(w, c.code, c.mnemonic);
        EXPECT_EQ(messages.shown, std::vector<Shown>{c.message});
        EXPECT_EQ(listed(w->超级列表框1), c.list);
        EXPECT_EQ(w->组合框1->currentText(), "");
        EXPECT_EQ(w->编辑框1->text(), "");
    }
    // Not found: told, inputs and list kept. A second click without input looks up "".
    const struct {
        QString mnemonic, message;
    } misses[] = {{"", "你查询的助记码不存在！"}, {"m'1", "你查询的助记码不存在！"},
                  {QString(300, 'x') + "\x01", "你查询的助记码不存在！"}};
    for (const auto& miss : misses) {
        messages.clear();
        w->组合框1->setCurrentIndex(-1);
        w->编辑框1->setText(miss.mnemonic);  // pasted: control characters too
        const QString typed = w->编辑框1->text();
        test::click(w->按钮1);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{miss.message, 0x40, kStandardTitle}}));
        EXPECT_EQ(w->编辑框1->text(), typed);
        EXPECT_EQ(listed(w->超级列表框1), QStringList{"sp2|m9|k9|B|85|黑||5"});
    }
    exec("delete from 库存表 where 商品编号='sp1'");
    messages.clear();
    queryCode(w, "sp1");
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"你查询的商品编号不存在！", 0x40, kStandardTitle}}));
    EXPECT_EQ(w->组合框1->currentText(), "sp1");
}

TEST_F(StockQueryWindowTest, AStyleQueryListsItsProductsOrEmptiesTheList) {
    for (const QString size : {"70", "75", "80"}) addProduct("sp" + size, "m" + size, "k7", size);
    addProduct("sp9", "m9", "k9", "75");
    auto* w = open();
    EXPECT_EQ(items(w->组合框2).count("k7"), 3);
    test::choose(w->组合框2, "k7");
    test::click(w->按钮2);
    EXPECT_EQ(listed(w->超级列表框1),
              QStringList({"sp70|m70|k7|B|70|黑||5", "sp75|m75|k7|B|75|黑||5", "sp80|m80|k7|B|80|黑||5"}));
    EXPECT_EQ(w->组合框2->currentText(), "k7");
    EXPECT_TRUE(messages.shown.empty());
    for (const QString style : {"k404", "k7'", ""}) {
        messages.clear();
        test::typeInto(w->组合框2, style);
        test::click(w->按钮2);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{"你输入的款号不存在！", 0x40, kStandardTitle}}));
        EXPECT_EQ(w->超级列表框1->rowCount(), 0);
        EXPECT_EQ(w->组合框2->currentText(), style);
    }
}
