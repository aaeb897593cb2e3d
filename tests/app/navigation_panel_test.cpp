#include "app/help_window.h"
#include "main_window_fixture.h"
#include "ui/picture_box.h"

#include <QGroupBox>
#include <QLabel>

using test::Shown;

class NavigationPanelTest : public test::MainWindowTest {
protected:
    NavigationPanelTest() {
        addUsers();
        startMainWindow();
    }
};

TEST_F(NavigationPanelTest, TheFormHoldsTheEightEntriesAndTheContactBox) {
    app::NavigationPanel* menu = panel();
    EXPECT_EQ(menu->windowTitle(), "操作菜单");
    EXPECT_EQ(menu->size(), QSize(190, 570));
    const QStringList entries{"用户登录", "店铺销售", "商品资料", "商品入库",
                              "销售统计", "库存查询", "系统管理", "软件帮助"};
    ASSERT_EQ(menu->菜单项->count(), entries.size());
    for (int row = 0; row < entries.size(); ++row) {
        EXPECT_EQ(menu->菜单项->item(row)->text(), entries[row]);
        EXPECT_FALSE(menu->菜单项->item(row)->icon().isNull());
    }
    EXPECT_EQ(menu->分组框1->title(), "交流信息");
    EXPECT_EQ(menu->图片框1->size(), QSize(165, 20));
    const QList<QLabel*> labels = menu->分组框1->findChildren<QLabel*>();
    int disabled = 0;
    for (QLabel* label : labels) disabled += label != static_cast<QLabel*>(menu->图片框1) && !label->isEnabled();
    EXPECT_EQ(disabled, 4);
}

TEST_F(NavigationPanelTest, BeforeLoginEveryEntryOpensTheOneLoginWindowCentred) {
    for (int entry : std::initializer_list<int>{app::kEntryHelp, app::kEntryLogin, app::kEntrySales, app::kEntryCatalogue,
                      app::kEntryReceiving, app::kEntryStatistics, app::kEntryStockQuery,
                      app::kEntrySettings, -1}) {
        SCOPED_TRACE(entry);
        doubleClickEntry(entry);
        EXPECT_EQ(shell.requestedEntry, entry);
        EXPECT_EQ(main->findChildren<app::LoginWindow*>().size(), 1);
        EXPECT_TRUE(loginWindow()->isVisible());
        EXPECT_EQ(loginWindow()->pos(), centredIn(QSize(332, 215)));
    }
    EXPECT_EQ(main->findChild<app::HelpWindow*>(), nullptr);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(NavigationPanelTest, LoggedInTheEntriesOpenForWhoeverMayUseThem) {
    logIn("小王", "xw1");
    messages.clear();
    // Entries the clerk may not use show nothing at all.
    for (int entry : std::initializer_list<int>{app::kEntryCatalogue, app::kEntryReceiving, app::kEntryStatistics,
                      app::kEntrySettings, -1}) {
        doubleClickEntry(entry);
        EXPECT_EQ(shell.requestedEntry, entry);
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(main->findChildren<ui::HostedWindow*>().isEmpty());

    doubleClickEntry(app::kEntryHelp);
    auto* help = main->findChild<app::HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), "帮助");
    EXPECT_EQ(help->size(), QSize(380, 241));
    EXPECT_EQ(help->pos(), centredIn(QSize(380, 241)));
    EXPECT_FALSE(help->标签1->text().isEmpty());
    // A second double click shows the same window again.
    doubleClickEntry(app::kEntryHelp);
    EXPECT_EQ(main->findChildren<app::HelpWindow*>().size(), 1);
}

TEST_F(NavigationPanelTest, LoginWhileLoggedInShowsTheNameAndChangesNothing) {
    addUser("Admin", "big");
    logIn("Admin", "big");
    messages.clear();
    doubleClickEntry(app::kEntryLogin);
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{"Admin你已经登录，请退出后在重新登录！", 0x50, "错误"}}));
    EXPECT_EQ(shell.currentUser, "Admin");
    EXPECT_EQ(loginWindow(), nullptr);
}

TEST_F(NavigationPanelTest, MinimisedItHidesAndClosedItEndsTheProgram) {
    panel()->setWindowState(Qt::WindowMinimized);  // as the title bar's button does
    EXPECT_TRUE(panel()->isHidden());
    EXPECT_FALSE(shell.programEnded);
    panel()->show();
    panel()->close();
    EXPECT_TRUE(shell.programEnded);
}
