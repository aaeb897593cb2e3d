#include "app/entry_windows.h"
#include "masterdata/catalogue_window.h"
#include "support/child_roles.h"
#include "support/fixture.h"
#include "ui/list_view.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <map>

using masterdata::CatalogueWindow;
using test::Shown;
using ui::Answer;

namespace {

const QString kProposedCode = "sp20240305953";  // "sp" + 20240305 + 953 at the fixed moment
const Shown kAdded{"商品资料添加成功！", 0x40, ui::kStandardTitle};
const Shown kAddFailed{"商品资料添加失败！", 0x40, ui::kStandardTitle};
const Shown kRequired{"带*星号的必填项没有填写完整，请重新填写！", 0x40, "*星号项为必填项"};
const Shown kCodeTaken{"你所填写商品编号已经存在，请重新输入！", 0x10, "沐岚轩内衣ERP系统提醒你！"};
const Shown kMnemonicTaken{"你所填写助记码已经存在，请重新输入！", 0x10, "沐岚轩内衣ERP系统提醒你！"};
const Shown kBarcodeTaken{"你所填写条形码已经存在，请重新输入！", 0x10, "沐岚轩内衣ERP系统提醒你！"};
const Shown kQueryQuestion{"编号框内是否是你所要查询的编码！", 0x64, ui::kStandardTitle};
const Shown kNotFound{"你所查找的商品编号不存在！", 0x40, ui::kStandardTitle};
const Shown kChangeQuestion{"是否确认修改商品资料！是：修改！否：返回！", 0x64, ui::kStandardTitle};
const Shown kChanged{"商品资料修改成功！", 0x40, ui::kStandardTitle};
const Shown kDeleteQuestion{"是否删除该条商品资料？", 0x24, "警告"};
const Shown kDeleted{"删除商品资料成功！", 0x40, ui::kStandardTitle};

const QString kProductsInOrder =
    "select 编号,助记码,条形码,款号,品名,品类,杯型,尺码,颜色,品牌供应商,吊牌价,进货价,库存 from 商品资料";
const QString kStockRows = "select 商品编号,助记码,款号,期初库存,进货库存,退货库存,销售出库,实际库存 from 库存表";

// A complete product as the form takes it: the five required fields and a barcode.
const std::map<QString, QString> kValidEntry = {{"编辑框_助记码", "m1"}, {"编辑框_条形码", "b1"},
                                                {"编辑框_款号", "k1"},   {"编辑框_品名", "文胸"},
                                                {"编辑框_库存", "10"}};

}  // namespace

class CatalogueTest : public test::ShopTest {
protected:
    CatalogueTest() {
        exec("update 系统设置 set 品牌管理=?,品类管理=?,杯型管理=?,尺码管理=? where id='1'",
             {"爱慕,曼妮芬", "文胸,内裤", "A,B,C", "70,75,80"});
    }

    CatalogueWindow* open() { return window = openWindow<CatalogueWindow>(ui::Placement::TopLeft); }

    // Stores a product row and its stock row as an earlier add would have; a short row gets
    // empty cells and the stock as its 库存.
    void storeProduct(const QStringList& cells, const QString& stock = "5") {
        QStringList row = cells;
        while (row.size() < 12) row << QString();
        if (row.size() == 12) row << stock;
        exec("insert into 商品资料 values(?,?,?,?,?,?,?,?,?,?,?,?,?)", row);
        exec("insert into 库存表(商品编号,助记码,款号,期初库存,实际库存) values(?,?,?,?,?)",
             {row[0], row[1], row[3], stock, stock});
    }

    template <typename Control>
    Control* control(const QString& name) {
        auto* found = window->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    // Types into the edit boxes and chooses in the attribute boxes, as the user would.
    void fill(const std::map<QString, QString>& values) {
        for (const auto& [name, value] : values) {
            if (auto* box = window->findChild<QComboBox*>(name)) test::choose(box, value);
            else test::typeInto(control<QLineEdit>(name), value);
        }
    }

    void addValid(std::map<QString, QString> changes = {}) {
        std::map<QString, QString> entry = kValidEntry;
        for (const auto& [name, value] : changes) entry[name] = value;
        fill(entry);
        test::click(window->按钮_添加);
    }

    // The cells of a list row joined with "|".
    QString listRow(int row) {
        QStringList cells;
        for (int c = 0; c < 13; ++c) cells << window->超级列表框_商品资料->cell(row, c);
        return cells.join(u'|');
    }

    bool inEditMode() {
        const bool editing = window->按钮_确认修改->isVisible();
        EXPECT_EQ(window->按钮_重置->isVisible(), editing);
        for (QPushButton* entryButton : {window->按钮_查询, window->按钮_添加, window->按钮_删除})
            EXPECT_EQ(entryButton->isVisible(), !editing) << entryButton->objectName().toStdString();
        return editing;
    }

    // The pop-up item 修改 on a list row.
    void editRow(int row) {
        test::selectRow(window->超级列表框_商品资料, row);
        test::trigger(window->菜单项_修改);
    }

    CatalogueWindow* window = nullptr;
};

TEST_F(CatalogueTest, OpensAtTheTopLeftWithTheListAProposedCodeAndTheAttributeLists) {
    storeProduct({"sp2", "m2", "b2", "k2", "内裤", "内裤", "", "75", "黑", "曼妮芬", "59", "20", "3"});
    storeProduct({"sp1", "m1", "b1", "k1", "文胸"});
    open();
    EXPECT_EQ(window->windowTitle(), "商品资料(*星号为必填项)");
    EXPECT_EQ(window->size(), QSize(800, 540));
    EXPECT_EQ(window->pos(), QPoint(0, 0));
    EXPECT_TRUE(window->hidesOnLogout());
    EXPECT_FALSE(inEditMode());
    EXPECT_EQ(test::focused(), window->编辑框_助记码);
    EXPECT_EQ(window->编辑框_编号->text(), kProposedCode);

    // The database's order, one row per product, empty columns as empty cells.
    ui::ListView* list = window->超级列表框_商品资料;
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(listRow(0), "sp2|m2|b2|k2|内裤|内裤||75|黑|曼妮芬|59|20|3");
    EXPECT_EQ(listRow(1), "sp1|m1|b1|k1|文胸||||||||5");
    const std::vector<std::pair<QString, int>> columns = {
        {"编号", 120}, {"助记码", 50}, {"条形码", 90}, {"款号", 60},      {"品名", 60},
        {"品类", 60},  {"杯型", 40},   {"尺码", 40},   {"颜色", 40},      {"品牌供应商", 80},
        {"吊牌价", 50}, {"进货价", 50}, {"库存", 50}};
    ASSERT_EQ(list->model()->columnCount(), 13);
    for (int c = 0; c < 13; ++c) {
        EXPECT_EQ(list->model()->headerData(c, Qt::Horizontal).toString(), columns[c].first);
        EXPECT_EQ(list->columnWidth(c), columns[c].second) << c;
    }

    const std::vector<std::pair<QComboBox*, QStringList>> boxes = {
        {window->组合框_品牌, {"爱慕", "曼妮芬"}},
        {window->组合框_品类, {"文胸", "内裤"}},
        {window->组合框_杯型, {"A", "B", "C"}},
        {window->组合框_尺码, {"70", "75", "80"}}};
    for (const auto& [box, items] : boxes) {
        QStringList shown;
        for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
        EXPECT_EQ(shown, items) << box->objectName().toStdString();
        EXPECT_EQ(box->currentIndex(), -1);
        EXPECT_FALSE(box->isEditable());
    }

    for (const auto& [name, caption] : std::map<QString, QString>{
             {"编号", "编号*"}, {"品类", "品    类"}, {"品牌供应商", "品牌供应商"}, {"库存", "库存*"},
             {"元", "（元）"}, {"元1", "（元）"}}) {
        auto* label = control<QLabel>(name);
        EXPECT_EQ(label->text(), caption);
        EXPECT_EQ(label->font().pixelSize(), 14);
    }
    QMenu* exitMenu = window->菜单栏->actions().value(0)->menu();
    ASSERT_NE(exitMenu, nullptr);
    EXPECT_EQ(exitMenu->title(), "  退出  ");
    EXPECT_EQ(exitMenu->actions(), QList<QAction*>{window->菜单项_退出商品资料管理});
    EXPECT_EQ(window->菜单项_退出商品资料管理->text(), "退出商品资料管理");
    EXPECT_EQ(window->菜单_删除商品->title(), "删除商品");
    EXPECT_EQ(window->菜单_删除商品->actions(),
              (QList<QAction*>{window->菜单项_删除, window->菜单项_修改}));
    EXPECT_EQ(window->菜单项_删除->text(), "删除");
    EXPECT_EQ(window->菜单项_修改->text(), "修改");
}

TEST_F(CatalogueTest, TheNavigationEntryOpensOneCatalogueAndTheExitMenuDestroysIt) {
    app::openEntryWindow(shell, app::kEntryCatalogue);
    QPointer<CatalogueWindow> opened = mainWindow->findChild<CatalogueWindow*>();
    ASSERT_FALSE(opened.isNull());
    EXPECT_EQ(opened->pos(), QPoint(0, 0));
    opened->hide();
    app::openEntryWindow(shell, app::kEntryCatalogue);
    EXPECT_EQ(mainWindow->findChildren<CatalogueWindow*>().size(), 1);
    EXPECT_TRUE(opened->isVisible());

    test::trigger(opened->菜单项_退出商品资料管理);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(opened.isNull());
}

TEST_F(CatalogueTest, AnAddStoresTheProductAndItsStockRowAndReadiesTheForm) {
    open();
    clock.set(QDateTime(QDate(2024, 3, 5), QTime(10, 0, 0)));
    // Prices and stock are text columns: letters are stored as typed, quotes too.
    fill({{"组合框_品类", "文胸"}, {"组合框_杯型", "B"}, {"编辑框_颜色", "肤'色\""},
          {"组合框_品牌", "曼妮芬"}, {"编辑框_吊牌价", "abc"}, {"编辑框_进货价", "59.5"}});
    addValid({{"编辑框_助记码", "m'1"}});

    EXPECT_EQ(messages.shown, std::vector<Shown>{kAdded});
    const QString stored = "sp20240305953|m'1|b1|k1|文胸|文胸|B||肤'色\"|曼妮芬|abc|59.5|10";
    EXPECT_EQ(rows(kProductsInOrder), QStringList{stored});
    EXPECT_EQ(rows(kStockRows), QStringList{"sp20240305953|m'1|k1|10||||10"});
    EXPECT_EQ(rows("select count(*) from 库存表 where 进货库存 is null and 退货库存 is null and "
                   "销售出库 is null"),
              QStringList{"1"});

    ASSERT_EQ(window->超级列表框_商品资料->rowCount(), 1);
    EXPECT_EQ(listRow(0), stored);
    EXPECT_EQ(window->编辑框_编号->text(), "sp202403051000");
    for (QLineEdit* edit : {window->编辑框_助记码, window->编辑框_条形码, window->编辑框_款号,
                            window->编辑框_品名, window->编辑框_颜色, window->编辑框_吊牌价,
                            window->编辑框_进货价, window->编辑框_库存})
        EXPECT_EQ(edit->text(), "") << edit->objectName().toStdString();
    for (QComboBox* box : {window->组合框_品类, window->组合框_杯型, window->组合框_尺码, window->组合框_品牌})
        EXPECT_EQ(box->currentIndex(), -1);
    EXPECT_FALSE(inEditMode());
}

TEST_F(CatalogueTest, ATakenCodeMnemonicCodeOrBarcodeStopsTheAdd) {
    storeProduct({"sp1", "m1", "b1", "k1", "文胸"});
    storeProduct({"sp2", "m2", "", "k2", "内裤"});
    struct Case {
        QString code, mnemonic, barcode;
        std::vector<Shown> shown;
        QString focus;  // "" when the add goes through
    };
    const std::vector<Case> cases = {
        {"sp1", "m1", "b1", {kCodeTaken}, "编辑框_编号"},  // the code is tested first
        {"sp2", "m9", "b9", {kCodeTaken}, "编辑框_编号"},
        {"SP1", "m9", "b9", {kAdded}, ""},  // letter case counts
        {kProposedCode, "m1", "b1", {kMnemonicTaken}, "编辑框_助记码"},  // then the mnemonic code
        {kProposedCode, "m1", "b9", {kMnemonicTaken}, "编辑框_助记码"},
        {kProposedCode, "m9", "b1", {kBarcodeTaken}, "编辑框_条形码"},
        {kProposedCode, "M1", "B1", {kAdded}, ""},
        {kProposedCode, "m9", "", {kAdded}, ""},    // several products may lack a barcode
        {kProposedCode, "", "b9", {kRequired}, ""}, // an empty mnemonic code is missing, not taken
        {"", "m9", "b9", {kRequired}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.code + "/" + c.mnemonic + "/" + c.barcode).toStdString());
        exec("delete from 商品资料 where 编号 not in ('sp1','sp2')");
        exec("delete from 库存表 where 商品编号 not in ('sp1','sp2')");
        open();
        messages.clear();
        addValid({{"编辑框_编号", c.code}, {"编辑框_助记码", c.mnemonic}, {"编辑框_条形码", c.barcode}});
        EXPECT_EQ(messages.shown, c.shown);
        const bool added = c.shown == std::vector<Shown>{kAdded};
        EXPECT_EQ(rows("select count(*) from 商品资料").value(0), added ? "3" : "2");
        EXPECT_EQ(rows("select count(*) from 库存表").value(0), added ? "3" : "2");
        if (!c.focus.isEmpty()) {
            EXPECT_EQ(test::focused(), control<QLineEdit>(c.focus));
            EXPECT_EQ(window->编辑框_编号->text(), c.code);
            EXPECT_EQ(window->编辑框_助记码->text(), c.mnemonic);
            EXPECT_EQ(window->编辑框_条形码->text(), c.barcode);
        }
        window->close();
    }
}

TEST_F(CatalogueTest, AMissingRequiredFieldOrAnOverlongTextStoresNothingAndKeepsTheFields) {
    struct Case {
        QString field, text;
        Shown shown;
    };
    const std::vector<Case> cases = {
        {"编辑框_编号", "", kRequired},
        {"编辑框_助记码", "", kRequired},
        {"编辑框_款号", "", kRequired},
        {"编辑框_品名", "", kRequired},
        {"编辑框_库存", "", kRequired},
        {"编辑框_品名", QString(101, u'名'), kAddFailed},  // the product row is refused
        {"编辑框_库存", QString(101, u'9'), kAddFailed},   // the stock row alone would fit
        {"编辑框_颜色", QString(256, u'红'), kAddFailed},
        // Numbers no sale or review could compute with exactly, or write back within their
        // columns.
        {"编辑框_库存", "1234567890123456", kAddFailed},
        {"编辑框_吊牌价", "59.90000000000001", kAddFailed},
        {"编辑框_库存", "1e255", kAddFailed},
        {"编辑框_库存", "1e999", kAddFailed},
        {"编辑框_吊牌价", "inf", kAddFailed},
        {"编辑框_进货价", "NaN", kAddFailed},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field.toStdString() + " of " + std::to_string(c.text.size()));
        messages.clear();
        std::map<QString, QString> entry = kValidEntry;
        entry[c.field] = c.text;
        fill(entry);
        if (c.field != "编辑框_编号") test::typeInto(window->编辑框_编号, kProposedCode);
        test::click(window->按钮_添加);
        EXPECT_EQ(messages.shown, std::vector<Shown>{c.shown});
        EXPECT_EQ(rows("select count(*) from 商品资料"), QStringList{"0"});
        EXPECT_EQ(rows("select count(*) from 库存表"), QStringList{"0"});
        EXPECT_EQ(control<QLineEdit>(c.field)->text(), c.text);
        EXPECT_EQ(window->编辑框_款号->text(), c.field == "编辑框_款号" ? "" : "k1");
    }
    // The connection is left with no transaction open: a later add commits.
    addValid({{"编辑框_颜色", ""}, {"编辑框_吊牌价", ""}, {"编辑框_进货价", ""}});
    EXPECT_EQ(rows("select count(*) from 商品资料"), QStringList{"1"});
}

// A pasted NUL would hide the rest of a text from the column's length limit.
TEST_F(CatalogueTest, APastedControlCharacterStoresNothing) {
    open();
    for (const QString& name : {QString("ab") + QChar(0) + QString(1000, u'x'), QString("红\t黑")}) {
        messages.clear();
        fill(kValidEntry);
        test::typeInto(window->编辑框_编号, kProposedCode);
        window->编辑框_品名->setText(name);  // as a paste puts it there
        test::click(window->按钮_添加);
        EXPECT_EQ(messages.shown, std::vector<Shown>{kAddFailed});
        EXPECT_EQ(rows("select count(*) from 商品资料"), QStringList{"0"});
        EXPECT_EQ(rows("select count(*) from 库存表"), QStringList{"0"});
    }
}

// The program killed while it tells the user the product was added: the product is there.
TEST_F(CatalogueTest, AProductToldAddedIsInTheFileEvenIfTheProgramDiesThen) {
    QProcess child;
    test::startChild(child, "add-product", folder.path());
    ASSERT_TRUE(child.waitForReadyRead(10000));
    EXPECT_EQ(QString::fromUtf8(child.readLine()).trimmed(), "商品资料添加成功！");
    child.kill();
    child.waitForFinished();
    EXPECT_EQ(rows("select 助记码,品名 from 商品资料"), QStringList{"m1|文胸"});
    EXPECT_EQ(rows("select 助记码,实际库存 from 库存表"), QStringList{"m1|10"});
}

TEST_F(CatalogueTest, EnterWalksTheFieldsInOrderAndAddsOnTheAddButton) {
    open();
    fill(kValidEntry);
    const std::vector<QWidget*> chain = {
        window->编辑框_编号, window->编辑框_助记码, window->编辑框_条形码, window->编辑框_款号,
        window->编辑框_品名, window->组合框_品类,   window->组合框_杯型,   window->组合框_尺码,
        window->编辑框_颜色, window->组合框_品牌,   window->编辑框_吊牌价, window->编辑框_进货价,
        window->编辑框_库存, window->按钮_添加};
    chain.front()->setFocus();
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        ASSERT_EQ(test::focused(), chain[i]) << i;
        test::pressEnter(test::focused());
    }
    ASSERT_EQ(test::focused(), window->按钮_添加);
    EXPECT_TRUE(messages.shown.empty());
    test::pressEnter(window->按钮_添加);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kAdded});
    EXPECT_EQ(rows("select 编号,助记码 from 商品资料"), QStringList{kProposedCode + "|m1"});

    // The keyboard is back in the mnemonic code, and the next product goes in the same way:
    // each field's text, then Enter, down to Enter on 添加.
    messages.clear();
    for (const char* text : {"m2", "", "k2", "内裤", "", "", "", "", "", "", "", "3", ""}) {
        if (*text) test::typeInto(test::focused(), QString::fromUtf8(text));
        test::pressEnter(test::focused());
    }
    EXPECT_EQ(messages.shown, std::vector<Shown>{kAdded});
    EXPECT_EQ(rows("select 助记码,款号,品名,库存 from 商品资料"),
              QStringList({"m1|k1|文胸|10", "m2|k2|内裤|3"}));
    EXPECT_EQ(test::focused(), window->编辑框_助记码);
}

TEST_F(CatalogueTest, AQueryShowsTheFirstProductWithTheCode) {
    storeProduct({"sp1", "m1", "", "k1", "文胸"});
    storeProduct({"sp'x", "m2", "", "k2", "内裤"});
    storeProduct({"sp'x", "m3", "", "k3", "睡衣"});
    open();
    struct Case {
        QString code;
        Answer answer;
        std::vector<Shown> shown;
        QStringList listed;  // the 助记码 of each listed row
    };
    const std::vector<Case> cases = {
        {"sp'x", Answer::Yes, {kQueryQuestion}, {"m2"}},
        {"sp' or '1'='1", Answer::Yes, {kQueryQuestion, kNotFound}, {}},
        {"sp1", Answer::No, {kQueryQuestion}, {"m1", "m2", "m3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        window->refreshProductList();
        messages.clear();
        test::typeInto(window->编辑框_编号, c.code);
        messages.answer(c.answer);
        test::click(window->按钮_查询);
        EXPECT_EQ(messages.shown, c.shown);
        QStringList listed;
        for (int r = 0; r < window->超级列表框_商品资料->rowCount(); ++r)
            listed << window->超级列表框_商品资料->cell(r, 1);
        EXPECT_EQ(listed, c.listed);
        EXPECT_EQ(window->编辑框_编号->text(), c.code);
        EXPECT_FALSE(inEditMode());
        if (c.shown.size() == 2) {
            EXPECT_EQ(test::focused(), window->编辑框_编号);
        }
    }
    // An empty code asks nothing.
    messages.clear();
    test::typeInto(window->编辑框_编号, "");
    test::click(window->按钮_查询);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CatalogueTest, EditFillsTheFormFromTheRowAndReturnStoresNothing) {
    exec("update 系统设置 set 品牌管理=? where id='1'", {"爱慕"});
    storeProduct({"sp1", "m1", "b1", "k1", "文胸", "文胸", "B", "", "黑", "旧品牌", "99", "40", "10"});
    open();
    editRow(0);
    EXPECT_TRUE(inEditMode());
    const std::vector<std::pair<QLineEdit*, QString>> edits = {
        {window->编辑框_编号, "sp1"}, {window->编辑框_助记码, "m1"}, {window->编辑框_条形码, "b1"},
        {window->编辑框_款号, "k1"},  {window->编辑框_品名, "文胸"}, {window->编辑框_颜色, "黑"},
        {window->编辑框_吊牌价, "99"}, {window->编辑框_进货价, "40"}, {window->编辑框_库存, "10"}};
    for (const auto& [edit, text] : edits) EXPECT_EQ(edit->text(), text);
    EXPECT_EQ(window->组合框_品类->currentText(), "文胸");
    EXPECT_EQ(window->组合框_杯型->currentText(), "B");
    EXPECT_EQ(window->组合框_尺码->currentIndex(), -1);
    // A brand the list no longer holds is shown as the box's one extra item, also when edited twice.
    editRow(0);
    EXPECT_EQ(window->组合框_品牌->currentText(), "旧品牌");
    EXPECT_EQ(window->组合框_品牌->count(), 2);

    clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, 5, 4)));
    test::click(window->按钮_重置);
    EXPECT_FALSE(inEditMode());
    EXPECT_EQ(window->编辑框_编号->text(), "sp20240305954");
    EXPECT_EQ(window->编辑框_助记码->text(), "");
    EXPECT_EQ(window->组合框_品牌->currentIndex(), -1);
    EXPECT_EQ(window->组合框_品牌->count(), 1);
    EXPECT_EQ(test::focused(), window->编辑框_助记码);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(rows(kProductsInOrder), QStringList{"sp1|m1|b1|k1|文胸|文胸|B||黑|旧品牌|99|40|10"});
}

TEST_F(CatalogueTest, AConfirmedChangeUpdatesTheCatalogueOnlyAndStaysInEditMode) {
    storeProduct({"sp1", "m1", "b1", "k1", "文胸", "文胸", "", "", "", "旧品牌", "99", "40", "10"},
                 "10");
    open();
    editRow(0);
    fill({{"编辑框_库存", "12"}, {"编辑框_品名", "新'名"}, {"组合框_杯型", "C"}});

    messages.answer(Answer::No);
    test::click(window->按钮_确认修改);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kChangeQuestion});
    EXPECT_TRUE(inEditMode());
    EXPECT_EQ(window->编辑框_库存->text(), "12");
    EXPECT_EQ(rows("select 库存 from 商品资料"), QStringList{"10"});

    messages.clear();
    messages.answer(Answer::Yes);
    test::click(window->按钮_确认修改);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{kChangeQuestion, kChanged}));
    // The brand the list lacks is kept; the stock row keeps its figures.
    EXPECT_EQ(rows(kProductsInOrder), QStringList{"sp1|m1|b1|k1|新'名|文胸|C|||旧品牌|99|40|12"});
    EXPECT_EQ(rows(kStockRows), QStringList{"sp1|m1|k1|10||||10"});
    EXPECT_TRUE(inEditMode());
    EXPECT_EQ(listRow(0), "sp1|m1|b1|k1|新'名|文胸|C|||旧品牌|99|40|12");
    EXPECT_EQ(window->编辑框_编号->text(), kProposedCode);
    EXPECT_EQ(window->编辑框_品名->text(), "");
    EXPECT_EQ(window->组合框_品牌->currentIndex(), -1);
}

TEST_F(CatalogueTest, AChangeReachesEveryProductWithTheCodeInTheBoxAndNoOther) {
    storeProduct({"sp1", "m1", "", "k1", "文胸"});
    storeProduct({"sp2", "m2", "", "k2", "内裤"});
    storeProduct({"sp'2", "m3", "", "k3", "睡衣"});
    open();
    editRow(0);
    test::typeInto(window->编辑框_编号, "sp2");
    messages.answer(Answer::Yes);
    test::click(window->按钮_确认修改);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{kChangeQuestion, kChanged}));
    EXPECT_EQ(rows("select 编号,助记码,款号,品名 from 商品资料"),
              (QStringList{"sp1|m1|k1|文胸", "sp2|m1|k1|文胸", "sp'2|m3|k3|睡衣"}));
}

TEST_F(CatalogueTest, AChangeToACodeNoProductHasIsReportedAsFailed) {
    storeProduct({"sp1", "m1", "", "k1", "文胸"});
    open();
    editRow(0);
    test::typeInto(window->编辑框_编号, "sp9");
    test::typeInto(window->编辑框_品名, "内裤");
    messages.answer(Answer::Yes);
    test::click(window->按钮_确认修改);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{kChangeQuestion,
                                                  {"商品资料修改失败！", 0x40, ui::kStandardTitle}}));
    EXPECT_FALSE(inEditMode());
    EXPECT_EQ(rows("select 编号,品名 from 商品资料"), QStringList{"sp1|文胸"});
}

TEST_F(CatalogueTest, AChangeWithAMissingRequiredFieldReturnsToEntryMode) {
    storeProduct({"sp1", "m1", "", "k1", "文胸"});
    open();
    editRow(0);
    test::typeInto(window->编辑框_款号, "");
    test::click(window->按钮_确认修改);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kRequired});
    EXPECT_FALSE(inEditMode());
    EXPECT_EQ(window->编辑框_助记码->text(), "");
    EXPECT_EQ(rows("select 款号 from 商品资料"), QStringList{"k1"});
}

TEST_F(CatalogueTest, DeleteRemovesEveryProductWithTheRowsCodeAndKeepsStockRows) {
    storeProduct({"sp'1", "m1", "", "k1", "文胸"}, "7");
    storeProduct({"sp2", "m2", "", "k2", "内裤"});
    storeProduct({"sp'1", "m3", "", "k3", "睡衣"});
    open();

    // Nothing selected: nothing asked. Answered No: nothing deleted.
    test::click(window->按钮_删除);
    test::selectRow(window->超级列表框_商品资料, 0);
    messages.answer(Answer::No);
    test::click(window->按钮_删除);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kDeleteQuestion});
    EXPECT_EQ(rows("select count(*) from 商品资料"), QStringList{"3"});

    // From the pop-up in edit mode, where the button is hidden.
    messages.clear();
    editRow(2);
    messages.answer(Answer::Yes);
    test::trigger(window->菜单项_删除);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{kDeleteQuestion, kDeleted}));
    EXPECT_EQ(rows("select 编号 from 商品资料"), QStringList{"sp2"});
    EXPECT_EQ(rows("select 商品编号,实际库存 from 库存表"), (QStringList{"sp'1|7", "sp2|5", "sp'1|5"}));
    EXPECT_EQ(window->超级列表框_商品资料->rowCount(), 1);
    EXPECT_TRUE(inEditMode());
    EXPECT_EQ(window->编辑框_编号->text(), kProposedCode);
    EXPECT_EQ(window->编辑框_助记码->text(), "m3");

    // From the button, in entry mode.
    test::click(window->按钮_重置);
    messages.clear();
    test::selectRow(window->超级列表框_商品资料, 0);
    messages.answer(Answer::Yes);
    test::click(window->按钮_删除);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{kDeleteQuestion, kDeleted}));
    EXPECT_EQ(rows("select count(*) from 商品资料"), QStringList{"0"});
}

TEST_F(CatalogueTest, TheRightButtonOpensThePopUpOnlyOverASelectedRow) {
    storeProduct({"sp1", "m1", "", "k1", "文胸"});
    open();
    ui::ListView* list = window->超级列表框_商品资料;
    const QPoint belowTheRows(40, list->viewport()->height() - 5);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, belowTheRows);
    EXPECT_FALSE(window->菜单_删除商品->isVisible());
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualRect(list->model()->index(0, 0)).center());
    EXPECT_EQ(list->selectedRow(), 0);
    EXPECT_TRUE(window->菜单_删除商品->isVisible());
    window->菜单_删除商品->hide();
    // A click on a row only selects it: the form stays as it was.
    EXPECT_EQ(window->编辑框_助记码->text(), "");
    EXPECT_FALSE(inEditMode());
}

// After each add, change and delete the list is read again only where it was written: it must
// hold what a full read of the table gives, row for row.
TEST_F(CatalogueTest, AfterEachWriteTheListIsWhatAFullReadGives) {
    for (const char* code : {"sp1", "sp2", "sp3", "sp2"}) storeProduct({code, "m", "", "k", "文胸"});
    open();
    auto listed = [&] {
        QStringList cells;
        for (int row = 0; row < window->超级列表框_商品资料->rowCount(); ++row) cells << listRow(row);
        return cells;
    };
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"add", [&] { addValid(); }},
        {"add refused by the database",
         [&] { addValid({{"编辑框_助记码", "m9"}, {"编辑框_品名", QString(101, u'名')}}); }},
        {"change of the two products sharing sp2",
         [&] {
             editRow(1);
             test::typeInto(window->编辑框_品名, "内裤");
             messages.answer(Answer::Yes);
             test::click(window->按钮_确认修改);
         }},
        {"delete from the middle",
         [&] {
             test::selectRow(window->超级列表框_商品资料, 2);
             messages.answer(Answer::Yes);
             test::trigger(window->菜单项_删除);
         }},
        {"a query, then a delete of the product found",
         [&] {
             test::click(window->按钮_重置);
             window->编辑框_编号->setText("sp1");
             messages.answer({Answer::Yes, Answer::Yes});
             test::click(window->按钮_查询);
             test::selectRow(window->超级列表框_商品资料, 0);
             test::click(window->按钮_删除);
         }},
        {"add after the last row was deleted",
         [&] {
             test::selectRow(window->超级列表框_商品资料, window->超级列表框_商品资料->rowCount() - 1);
             messages.answer(Answer::Yes);
             test::click(window->按钮_删除);
             addValid({{"编辑框_助记码", "m10"}, {"编辑框_条形码", "b10"}});
         }},
    };
    for (const auto& [step, write] : steps) {
        write();
        EXPECT_EQ(listed(), rows(kProductsInOrder)) << step;
    }
    EXPECT_EQ(messages.unusedReplies(), 0u);
}
