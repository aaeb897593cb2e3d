#include "app/set_password_window.h"
#include "main_window_fixture.h"

#include <QLabel>

using test::Shown;

namespace {

Shown standard(const QString& text) { return {text, 0x40, "沐岚轩内衣ERP系统提醒您！"}; }

}  // namespace

// Start-up on a file whose admin has no password opens the window.
class SetPasswordTest : public test::MainWindowTest {
protected:
    app::SetPasswordWindow* window() const { return main->findChild<app::SetPasswordWindow*>(); }

    void store(const QString& password, const QString& confirmation) {
        test::typeInto(window()->编辑框2, password);
        test::typeInto(window()->编辑框1, confirmation);
        test::click(window()->按钮1);
        flushClosedWindows();
    }

    // After success: the panel docked, nothing inside the main window, nobody logged in.
    void expectStored(const QString& password) {
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(rows("select 用户名 from 用户管理模块"), QStringList{"admin"});
        EXPECT_TRUE(session::passwordMatches(
            password, rows("select 密码 from 用户管理模块").value(0)));
        EXPECT_EQ(window(), nullptr);
        EXPECT_TRUE(main->findChildren<ui::HostedWindow*>().isEmpty());
        EXPECT_TRUE(panel()->isVisible());
        EXPECT_EQ(panel()->frameGeometry().right() + 1, main->frameGeometry().left());
        EXPECT_EQ(panel()->y(), main->y());
        EXPECT_EQ(shell.currentUser, "");
        EXPECT_FALSE(shell.programEnded);
    }
};

TEST_F(SetPasswordTest, RefusalsMoveTheFocusAndStoreNothing) {
    startMainWindow();
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->标签5->text(), "admin");
    const struct {
        QString password, confirmation;
        QString message;
        QLineEdit* app::SetPasswordWindow::*focus;
    } cases[] = {
        {"", "", "你还没有输入确认密码", &app::SetPasswordWindow::编辑框1},
        {"abc", "", "你还没有输入确认密码", &app::SetPasswordWindow::编辑框1},
        {"", "abc", "你还没有输入密码", &app::SetPasswordWindow::编辑框2},
        {"abc", "abd", "你两次输入的密码不一样！", &app::SetPasswordWindow::编辑框1},
        {"abc", "ABC", "你两次输入的密码不一样！", &app::SetPasswordWindow::编辑框1},
        {"abc", "abc ", "你两次输入的密码不一样！", &app::SetPasswordWindow::编辑框1},
        // Login refuses these, so storing one would lock the administrator out for good.
        {"a'b", "a'b", "密码中不能有单引号或双引号，否则将无法登录！", &app::SetPasswordWindow::编辑框2},
        {"a\"b", "a\"b", "密码中不能有单引号或双引号，否则将无法登录！", &app::SetPasswordWindow::编辑框2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password.toStdString() + " / " + c.confirmation.toStdString());
        store(c.password, c.confirmation);
        EXPECT_EQ(messages.shown, std::vector<Shown>{standard(c.message)});
        EXPECT_EQ(test::focused(), window()->*c.focus);
        EXPECT_EQ(window()->编辑框2->text(), c.password);
        EXPECT_EQ(rows("select 密码 from 用户管理模块"), QStringList{""});
        EXPECT_FALSE(panel()->isVisible());
        messages.clear();
    }
}

TEST_F(SetPasswordTest, EnterChainStoresTheDigestAndTheAdministratorCanLogIn) {
    startMainWindow();
    const QString password = "密 码 abc";  // the hint is not enforced
    EXPECT_EQ(test::focused(), window()->编辑框2);  // the typing starts in the password box
    test::typeInto(window()->编辑框2, password);
    test::pressEnter(window()->编辑框2);
    EXPECT_EQ(test::focused(), window()->编辑框1);
    EXPECT_TRUE(messages.shown.empty());
    test::typeInto(window()->编辑框1, password);
    test::pressEnter(window()->编辑框1);
    flushClosedWindows();
    expectStored(password);

    logIn("admin", password);
    EXPECT_EQ(shell.currentUser, "admin");
}

TEST_F(SetPasswordTest, AMissingAdminRowIsMadeAnew) {
    exec("delete from 用户管理模块");
    startMainWindow();
    ASSERT_NE(window(), nullptr);
    store("s3cret", "s3cret");
    expectStored("s3cret");
}

struct Breakage {
    const char* name;
    std::vector<const char*> statements;
};
void PrintTo(const Breakage& breakage, std::ostream* out) { *out << breakage.name; }

// Neither the update nor the insert that makes a missing row anew may fail unnoticed.
class SetPasswordFailureTest : public SetPasswordTest,
                               public ::testing::WithParamInterface<Breakage> {};

TEST_P(SetPasswordFailureTest, EndsTheProgramAfterItsMessage) {
    for (const char* statement : GetParam().statements) exec(statement);
    startMainWindow();
    ASSERT_NE(window(), nullptr);
    store("s3cret", "s3cret");
    EXPECT_EQ(messages.shown, std::vector<Shown>{standard("存储密码失败，请联系作者！")});
    EXPECT_TRUE(shell.programEnded);
    EXPECT_FALSE(panel()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    , SetPasswordFailureTest,
    ::testing::Values(
        Breakage{"UpdateFails",
                 {"create trigger 拒绝 before update on 用户管理模块 "
                  "begin select raise(abort, 'no'); end"}},
        Breakage{"InsertFails",
                 {"delete from 用户管理模块",
                  "create trigger 拒绝 before insert on 用户管理模块 "
                  "begin select raise(abort, 'no'); end"}}),
    [](const ::testing::TestParamInfo<Breakage>& info) { return info.param.name; });
