#include "session/password_digest.h"
#include "masterdata/change_password_window.h"
#include "masterdata/settings_window.h"
#include "support/fixture.h"
#include "ui/list_view.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using masterdata::ChangePasswordWindow;
using masterdata::SettingsWindow;
using test::Shown;
using ui::kStandardTitle;

class ChangePasswordWindowTest : public test::ShopTest {
protected:
    ChangePasswordWindowTest() {
        exec("update 用户管理模块 set 密码=? where 用户名='admin'", {session::makePasswordDigest("root")});
        exec("insert into 用户管理模块(用户名,密码)values(?,?)",
             {"o'neil", session::makePasswordDigest("old")});
        settings = openWindow<SettingsWindow>();
    }

    // Opens the window from the user list's row, as the pop-up menu does.
    ChangePasswordWindow* openFor(int row) {
        test::selectRow(settings->超级列表框1, row);
        test::trigger(settings->修改密码);
        return settings->findChild<ChangePasswordWindow*>();
    }
    void change(ChangePasswordWindow* window, const QString& old, const QString& fresh,
                const QString& again) {
        test::typeInto(window->编辑框1, old);
        test::typeInto(window->编辑框3, fresh);
        test::typeInto(window->编辑框2, again);
        test::click(window->按钮_修改密码);
    }
    QString storedDigest(const QString& name) {
        return rows("select 密码 from 用户管理模块 where 用户名=?", {name}).value(0);
    }
    static void processDeletions() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    SettingsWindow* settings;
};

TEST_F(ChangePasswordWindowTest, OpensCentredInTheSettingsWindowForTheSelectedUser) {
    ChangePasswordWindow* window = openFor(1);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(window->parentWidget(), settings);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "修改密码");
    EXPECT_EQ(window->size(), QSize(240, 253));
    EXPECT_EQ(window->pos(), QPoint(153, 47));  // 547 / 2 - 240 / 2, 348 / 2 - 253 / 2
    EXPECT_EQ(window->分组框1->title(), "o'neil");
    for (QLineEdit* box : {window->编辑框1, window->编辑框2, window->编辑框3})
        EXPECT_EQ(box->echoMode(), QLineEdit::Password);
}

TEST_F(ChangePasswordWindowTest, RefusalsInOrderEmptyTheBoxesAndKeepTheWindow) {
    struct Case {
        QString old, fresh, again, message;
    };
    const Case cases[] = {
        {"wrong", "n1", "n2", "原密码不正确！"},  // before the mismatch of the new ones
        {"", "n1", "n1", "原密码不正确！"},
        {"old", "n1", "n2", "新密码两次输入不一致！"},
        {"old", "old", "old", "新密码与原密码不能一样！"},
        // What login refuses is never stored: nobody could log in with it.
        {"old", "", "", "密码不能为空！"},
        {"old", "a'b", "a'b", "密码中不能有单引号或双引号，否则将无法登录！"},
        {"old", "a\"b", "a\"b", "密码中不能有单引号或双引号，否则将无法登录！"},
    };
    ChangePasswordWindow* window = openFor(1);
    const QString before = storedDigest("o'neil");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        messages.clear();
        change(window, c.old, c.fresh, c.again);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{c.message, 0x40, kStandardTitle}}));
        EXPECT_EQ(window->编辑框1->text() + window->编辑框2->text() + window->编辑框3->text(), "");
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(storedDigest("o'neil"), before);
    }
}

TEST_F(ChangePasswordWindowTest, ASuccessStoresTheNewDigestAndClosesTheWindow) {
    const QString before = storedDigest("o'neil");
    const std::pair<QString, QString> changes[] = {{"old", "new pw"}, {"new pw", "密码"}};
    for (const auto& [old, fresh] : changes) {
        SCOPED_TRACE(fresh.toStdString());
        messages.clear();
        QPointer<ChangePasswordWindow> window = openFor(1);
        change(window, old, fresh, fresh);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{"修改密码成功！", 0, kStandardTitle}}));
        EXPECT_FALSE(window->isVisible());
        processDeletions();
        EXPECT_TRUE(window.isNull());
        EXPECT_TRUE(session::passwordMatches(fresh, storedDigest("o'neil")));
        EXPECT_TRUE(session::passwordMatches("root", storedDigest("admin")));
        // The list is not refilled: it still shows the digest it was filled with.
        EXPECT_EQ(settings->超级列表框1->cell(1, 1), before);
    }
}

TEST_F(ChangePasswordWindowTest, ChangesTheUserItWasOpenedForWhateverIsSelectedLater) {
    ChangePasswordWindow* window = openFor(1);
    test::selectRow(settings->超级列表框1, 0);
    change(window, "old", "new", "new");
    EXPECT_EQ(messages.texts(), QStringList{"修改密码成功！"});
    EXPECT_TRUE(session::passwordMatches("new", storedDigest("o'neil")));
    EXPECT_TRUE(session::passwordMatches("root", storedDigest("admin")));
}

// A digest from before salts logs in, and the change stores a salted one in its place.
TEST_F(ChangePasswordWindowTest, AnUnsaltedDigestIsReplacedBySaltedOne) {
    const QString unsalted = "44e59b9dc7047bd661e0aa1ce25eb0364592ba374e31ce9aef487f84ea08be1b";
    exec("update 用户管理模块 set 密码=? where 用户名=?", {unsalted, "o'neil"});
    change(openFor(1), "secret1", "secret2", "secret2");
    EXPECT_EQ(messages.texts(), QStringList{"修改密码成功！"});
    EXPECT_TRUE(storedDigest("o'neil").startsWith("s2$"));
    EXPECT_TRUE(session::passwordMatches("secret2", storedDigest("o'neil")));
}

TEST_F(ChangePasswordWindowTest, AUserDeletedMeanwhileIsNotFoundAndNothingIsStored) {
    ChangePasswordWindow* window = openFor(1);
    exec("delete from 用户管理模块 where 用户名=?", {"o'neil"});
    change(window, "old", "new", "new");
    EXPECT_EQ(messages.texts(), QStringList{"原密码不正确！"});
    EXPECT_EQ(rows("select 用户名 from 用户管理模块"), QStringList{"admin"});
}
