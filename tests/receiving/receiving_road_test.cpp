#include "app/main_window_fixture.h"
#include "receiving_fixture.h"

#include <QLabel>
#include <QPushButton>

using receiving::NewReceiptWindow;
using receiving::ReceiptListWindow;
using ui::Answer;

class ReceivingRoadTest : public test::MainWindowTest {};

// The road of one receipt through the real program: log in from 商品入库, write a new receipt
// whose lines the fixture stores, submit it, see it and its lines in the list, delete it.
TEST_F(ReceivingRoadTest, OneReceiptFromTheLoginToItsDelete) {
    addUsers();
    startMainWindow();
    logIn("admin", "admin123", app::kEntryReceiving);
    auto* list = main->findChild<ReceiptListWindow*>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->pos(), QPoint(0, 0));

    test::trigger(list->菜单项_新增入库);
    auto* w = list->findChild<NewReceiptWindow*>();
    ASSERT_NE(w, nullptr);
    const QString number = w->标签_编号->text();
    ASSERT_TRUE(test::insertReceiptLine(db, {"1", number, "sp1", "2", "k1"}));
    ASSERT_TRUE(test::insertReceiptLine(db, {"2", number, "sp2", "1", "k2"}));
    w->refreshNewReceiptLines();
    w->标签_总数->setText("3");
    messages.clear();
    test::click(w->按钮_提交表单);
    flushClosedWindows();
    EXPECT_EQ(list->findChild<NewReceiptWindow*>(), nullptr);

    ASSERT_EQ(list->超级列表框_入库单列表->rowCount(), 1);
    EXPECT_EQ(list->超级列表框_入库单列表->cell(0, 0), number);
    EXPECT_EQ(list->超级列表框_入库单列表->cell(0, 8), "未入库");
    test::selectRow(list->超级列表框_入库单列表, 0);
    EXPECT_EQ(list->超级列表框_入库单详情->rowCount(), 2);

    messages.answer(Answer::Yes);
    test::trigger(list->菜单项_删除入库单);
    EXPECT_EQ(messages.texts(),
              QStringList({"执行提交成功，需要在商品入库窗口执行审核入库才能增加库存！",
                           "这张入库单还没有入库，你确定要删除么，删除后将不可恢复！",
                           "入库单已经删除！"}));
    EXPECT_EQ(list->超级列表框_入库单列表->rowCount(), 0);
    EXPECT_EQ(list->超级列表框_入库单详情->rowCount(), 0);
    EXPECT_TRUE(rows("select * from 入库管理总模块").isEmpty());
    EXPECT_TRUE(rows("select * from 入库管理模块").isEmpty());
}
