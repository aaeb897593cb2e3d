#include "app/main_window_fixture.h"
#include "masterdata/catalogue_window.h"
#include "receiving/add_product_window.h"
#include "receiving/new_receipt_window.h"
#include "receiving/receipt_list_window.h"
#include "ui/list_view.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using receiving::AddProductWindow;
using receiving::NewReceiptWindow;
using receiving::ReceiptListWindow;
using ui::Answer;

class AddProductRoadTest : public test::MainWindowTest {};

// The road of a receipt through the real program: log in from 商品入库, 新增入库, 添加商品, two
// products chosen by their attributes, submit; the receipt and its lines stand in the file and
// in the receipt list.
TEST_F(AddProductRoadTest, TwoLinesChosenByAttributesFromTheLogin) {
    addUsers();
    exec("insert into 商品资料(编号,助记码,条形码,款号,品名,品类,杯型,尺码,颜色,品牌供应商,吊牌价,进货价)"
         "values('sp1','m1','b1','k1','蕾丝','文胸','A','70','红','爱慕','59.9','30'),"
         "('sp2','m2','b2','k1','蕾丝','文胸','B','75','红','爱慕','99','50'),"
         "('sp3','m3','b3','k2','无痕','文胸','B','75','白','曼妮芬','129','60')");
    startMainWindow();
    logIn("admin", "admin123", app::kEntryReceiving);
    auto* list = main->findChild<ReceiptListWindow*>();
    ASSERT_NE(list, nullptr);
    test::trigger(list->菜单项_新增入库);
    auto* receipt = list->findChild<NewReceiptWindow*>();
    ASSERT_NE(receipt, nullptr);
    test::click(receipt->按钮_添加产品);
    auto* w = receipt->findChild<AddProductWindow*>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());

    // A style nobody has: the catalogue is offered and opens at the main window's corner.
    messages.answer(Answer::Yes);
    test::typeInto(w->组合框_款号, "k9");
    test::pressEnter(w->组合框_款号);
    auto* catalogue = main->findChild<masterdata::CatalogueWindow*>();
    ASSERT_NE(catalogue, nullptr);
    EXPECT_TRUE(catalogue->isVisible());
    EXPECT_EQ(catalogue->pos(), QPoint(0, 0));
    catalogue->close();
    flushClosedWindows();
    test::click(w->按钮_重置);

    // Category and cup leave sp1 alone; colour and size then leave sp3 alone.
    messages.clear();
    test::choose(w->组合框_品类, "文胸");
    test::choose(w->组合框_杯型, "A");
    EXPECT_EQ(w->组合框_编号->currentText(), "sp1");
    test::typeInto(w->编辑框_数量, "2");
    test::click(w->按钮_添加);
    clock.set(clock.now().addSecs(1));
    test::choose(w->组合框_颜色, "白");
    EXPECT_EQ(w->组合框_编号->currentText(), "sp3");
    test::typeInto(w->编辑框_数量, "1");
    test::click(w->按钮_添加);
    EXPECT_EQ(messages.texts(), QStringList({"执行添加成功！", "执行添加成功！"}));

    const QString number = receipt->receiptNumber();
    EXPECT_EQ(rows("select 入库单号,商品编号,商品数量,状态 from 入库管理模块"),
              QStringList({number + "|sp1|2|未入库", number + "|sp3|1|未入库"}));
    EXPECT_EQ(receipt->超级列表框_入库信息->rowCount(), 2);
    EXPECT_EQ(receipt->超级列表框_入库信息->cell(1, 0), "sp3");
    EXPECT_EQ(receipt->标签_总数->text(), "3");
    EXPECT_EQ(receipt->标签_吊总->text(), "248.8");
    EXPECT_EQ(receipt->标签_进总->text(), "120");

    // Submitted, the receipt stands in the list with its lines below it.
    messages.clear();
    test::click(receipt->按钮_提交表单);
    flushClosedWindows();
    EXPECT_EQ(messages.texts(),
              QStringList{"执行提交成功，需要在商品入库窗口执行审核入库才能增加库存！"});
    EXPECT_EQ(list->findChild<NewReceiptWindow*>(), nullptr);
    EXPECT_EQ(rows("select 入库单编号,商品总件数,款式数量,款号,吊牌价总金额,状态 from 入库管理总模块"),
              QStringList{number + "|3|2|k2,k1,|248.8|未入库"});
    ASSERT_EQ(list->超级列表框_入库单列表->rowCount(), 1);
    EXPECT_EQ(list->超级列表框_入库单列表->cell(0, 0), number);
    test::selectRow(list->超级列表框_入库单列表, 0);
    EXPECT_EQ(list->超级列表框_入库单详情->rowCount(), 2);
    EXPECT_EQ(list->超级列表框_入库单详情->cell(1, 1), "sp3");
}
