#include "app/help_window.h"
#include "main_window_fixture.h"
#include "masterdata/settings_window.h"

#include <QLabel>

using test::Shown;

namespace {

const QString kWelcomeLabel = "，欢迎您进入沐岚轩内衣ERP系统！";

Shown welcome(const QString& name) { return {"欢迎" + name + "进入沐岚轩内衣ERP系统！", 0, "提示"}; }
Shown noPermission(const QString& name) {
    return {name + ",你无权使用此项功能，请与管理员联系！", 0x40, "沐岚轩内衣ERP系统提醒你！"};
}

}  // namespace

class LoginTest : public test::MainWindowTest {
protected:
    LoginTest() {
        addUsers();
        startMainWindow();
    }
};

TEST_F(LoginTest, TheFormOpensCentredWithTheFocusInTheUserName) {
    doubleClickEntry(app::kEntryLogin);
    app::LoginWindow* login = loginWindow();
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->windowTitle(), "用户登录");
    EXPECT_EQ(login->size(), QSize(332, 215));
    EXPECT_EQ(login->pos(), centredIn(QSize(332, 215)));
    EXPECT_EQ(login->标签2->text(), "密  码");
    EXPECT_EQ(login->编辑框_密码->echoMode(), QLineEdit::Password);
    EXPECT_EQ(test::focused(), login->编辑框_用户名);
}

TEST_F(LoginTest, RefusalsComeInOrderAndLeaveTheWindowWithItsTexts) {
    const QString tooLong(200, u'名');
    const struct {
        QString name, password;
        Shown message;
    } cases[] = {
        {"a'b", "p'w", {"用户名中存在注入破解语句！", 0x40, "警告"}},
        {"a\"b", "", {"用户名中存在注入破解语句！", 0x40, "警告"}},
        {"", "p\"w", {"密码中存在注入破解语句！", 0x40, "警告"}},
        {"", "", {"你还没有输入用户名，请输入后再登陆！", 0x40, "提示"}},
        {"admin", "", {"你还没有输入密码，请输入后再登陆！", 0x40, "提示"}},
        {"admin", "wrong", {"用户名密码不正确，请重新输入！", 0x40, "提示"}},
        {"nobody", "admin123", {"用户名密码不正确，请重新输入！", 0x40, "提示"}},
        {"admin ", "admin123", {"用户名密码不正确，请重新输入！", 0x40, "提示"}},
        {"小王", "admin123", {"用户名密码不正确，请重新输入！", 0x40, "提示"}},
        {tooLong, "xw1", {"用户名密码不正确，请重新输入！", 0x40, "提示"}},
        // The quotation mark goes nowhere near the statement.
        {"admin' or '1'='1", "x", {"用户名中存在注入破解语句！", 0x40, "警告"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString() + " / " + c.password.toStdString());
        logIn(c.name, c.password);
        EXPECT_EQ(messages.shown, std::vector<Shown>{c.message});
        EXPECT_TRUE(shell.currentUser.isEmpty());
        app::LoginWindow* login = loginWindow();
        ASSERT_NE(login, nullptr);
        EXPECT_TRUE(login->isVisible());
        EXPECT_EQ(login->编辑框_用户名->text(), c.name);
        EXPECT_EQ(login->编辑框_密码->text(), c.password);
        messages.clear();
    }
}

TEST_F(LoginTest, EnterMovesToThePasswordAndThenLogsIn) {
    doubleClickEntry(app::kEntryLogin);
    app::LoginWindow* login = loginWindow();
    test::typeInto(login->编辑框_用户名, "小王");
    test::pressEnter(login->编辑框_用户名);
    EXPECT_EQ(test::focused(), login->编辑框_密码);
    EXPECT_TRUE(messages.shown.empty());
    test::typeInto(login->编辑框_密码, "xw1");
    test::pressEnter(login->编辑框_密码);
    flushClosedWindows();
    EXPECT_EQ(shell.currentUser, "小王");
    EXPECT_EQ(messages.shown, std::vector<Shown>{welcome("小王")});
    EXPECT_EQ(loginWindow(), nullptr);
    EXPECT_EQ(main->标签_欢迎->text(), "小王" + kWelcomeLabel);
}

// Users set up before each password had its own salt keep logging in.
TEST_F(LoginTest, AnUnsaltedDigestStillLogsIn) {
    exec("update 用户管理模块 set 密码=? where 用户名=?",
         {"44e59b9dc7047bd661e0aa1ce25eb0364592ba374e31ce9aef487f84ea08be1b", "小王"});
    logIn("小王", "secret1");
    EXPECT_EQ(shell.currentUser, "小王");
}

TEST_F(LoginTest, ResetEmptiesBothBoxesAndFocusesTheUserName) {
    doubleClickEntry(app::kEntryLogin);
    app::LoginWindow* login = loginWindow();
    test::typeInto(login->编辑框_用户名, "小王");
    test::typeInto(login->编辑框_密码, "xw1");
    test::click(login->按钮_重置);
    EXPECT_EQ(login->编辑框_用户名->text(), "");
    EXPECT_EQ(login->编辑框_密码->text(), "");
    EXPECT_EQ(test::focused(), login->编辑框_用户名);
    EXPECT_TRUE(messages.shown.empty());
}

// Who asked for which entry before logging in: what follows the welcome.
TEST_F(LoginTest, TheRequestedEntryDecidesWhatFollowsTheWelcome) {
    addUser("Admin", "big");
    addUser("小王 ", "blank");
    const struct {
        QString name, password;
        int entry;
        bool refused;
    } cases[] = {
        {"admin", "admin123", app::kEntryHelp, false},
        {"admin", "admin123", app::kEntryCatalogue, false},
        {"admin", "admin123", -1, false},
        {"小王", "xw1", app::kEntryLogin, false},
        {"小王", "xw1", app::kEntrySales, false},
        {"小王", "xw1", app::kEntryStockQuery, false},
        {"小王", "xw1", app::kEntryCatalogue, true},
        {"小王", "xw1", app::kEntryReceiving, true},
        {"小王", "xw1", app::kEntryStatistics, true},
        {"小王", "xw1", app::kEntrySettings, true},
        {"小王", "xw1", app::kEntryHelp, true},
        {"小王", "xw1", -1, true},
        {"Admin", "big", app::kEntryCatalogue, true},
        {"小王 ", "blank", app::kEntryCatalogue, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString() + " asked for " + std::to_string(c.entry));
        logIn(c.name, c.password, c.entry);
        // A successful login always ends logged in, as typed.
        EXPECT_EQ(shell.currentUser, c.name);
        EXPECT_EQ(loginWindow(), nullptr);
        EXPECT_EQ(shell.requestedEntry, c.entry);
        std::vector<Shown> expected{welcome(c.name)};
        if (c.refused) expected.push_back(noPermission(c.name));
        EXPECT_EQ(messages.shown, expected);
        EXPECT_EQ(main->标签_欢迎->text(), c.refused ? "" : c.name + kWelcomeLabel);
        // 软件帮助 asked for before the login opens nothing after it, nor does a refusal.
        EXPECT_EQ(main->findChild<app::HelpWindow*>(), nullptr);
        if (c.refused) {
            EXPECT_TRUE(main->findChildren<ui::HostedWindow*>().isEmpty());
        }

        shell.currentUser.clear();
        main->标签_欢迎->clear();
        messages.clear();
        // What an earlier case opened must not count for the next one. Deleted, not closed: the
        // sales window asks before it closes.
        qDeleteAll(main->findChildren<ui::HostedWindow*>(Qt::FindDirectChildrenOnly));
    }
}

TEST_F(LoginTest, TheAdministratorGetsTheEntryAskedForCentred) {
    logIn("admin", "admin123", app::kEntrySettings);
    auto* settings = main->findChild<masterdata::SettingsWindow*>();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->pos(), centredIn(settings->size()));
    EXPECT_EQ(messages.shown, std::vector<Shown>{welcome("admin")});
}

class LogoutTest : public LoginTest {};

TEST_F(LogoutTest, NobodyLoggedInIsTold) {
    test::click(main->按钮_退出系统);
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{"你还没有登录！", 0x40, "沐岚轩内衣ERP系统提醒您！"}}));
}

TEST_F(LogoutTest, HidesTheWindowsThatLogoutHidesAndForgetsTheUser) {
    logIn("小王", "xw1", app::kEntrySales);
    const auto openWindow = [](QWidget* host, bool hidesOnLogout) {
        auto* window = new ui::HostedWindow(host, "窗口", QSize(300, 200));
        window->setHidesOnLogout(hidesOnLogout);
        ui::openHostedWindow(window, host, ui::Placement::Centred);
        return window;
    };
    ui::HostedWindow* sales = openWindow(main.get(), true);
    ui::HostedWindow* stockQuery = openWindow(main.get(), false);
    ui::HostedWindow* nestedHiding = openWindow(stockQuery, true);
    ui::HostedWindow* nestedStaying = openWindow(sales, false);
    messages.clear();

    test::click(main->按钮_退出系统);
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{"你已经成功退出系统！", 0, "沐岚轩内衣ERP系统提醒您！"}}));
    // Hidden, still loaded with their contents; the others stay as they are.
    EXPECT_TRUE(sales->isHidden());
    EXPECT_TRUE(nestedHiding->isHidden());
    EXPECT_TRUE(stockQuery->isVisible());
    EXPECT_FALSE(nestedStaying->isHidden());
    EXPECT_EQ(main->标签_欢迎->text(), "");
    EXPECT_EQ(shell.currentUser, "");
    EXPECT_EQ(shell.requestedEntry, app::kEntrySales);

    // Logged out, the panel asks for a login again.
    doubleClickEntry(app::kEntryStockQuery);
    EXPECT_NE(loginWindow(), nullptr);
}
