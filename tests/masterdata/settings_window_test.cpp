#include "app/entry_windows.h"
#include "session/password_digest.h"
#include "masterdata/change_password_window.h"
#include "masterdata/settings_window.h"
#include "support/fixture.h"
#include "ui/list_view.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using masterdata::SettingsWindow;
using test::Shown;
using ui::Answer;
using test::items;
using ui::kStandardTitle;

class SettingsWindowTest : public test::ShopTest {
protected:
    SettingsWindow* open() { return window = openWindow<SettingsWindow>(); }
    QString list(const QString& column) {
        return rows(QStringLiteral("select %1 from 系统设置 where id='1'").arg(column)).value(0);
    }
    void addUser(const QString& name, const QString& password, const QString& again) {
        test::typeInto(window->编辑框1, name);
        test::typeInto(window->编辑框2, password);
        test::typeInto(window->编辑框3, again);
        test::click(window->按钮_增加用户);
    }
    QStringList listedUsers() {
        QStringList result;
        for (int row = 0; row < window->超级列表框1->rowCount(); ++row)
            result << window->超级列表框1->cell(row, 0) + u'|' + window->超级列表框1->cell(row, 1);
        return result;
    }

    SettingsWindow* window = nullptr;
};

// --- 基本资料: one table for the six rows ---

struct ListRowCase {
    const char* button;
    const char* box;
    const char* column;
    const char* prompt;
    const char* failure;
};
void PrintTo(const ListRowCase& row, std::ostream* out) { *out << row.column; }

class SettingsListTest : public SettingsWindowTest,
                         public ::testing::WithParamInterface<ListRowCase> {
protected:
    QComboBox* box() { return window->findChild<QComboBox*>(QString::fromUtf8(GetParam().box)); }
    QPushButton* button() {
        return window->findChild<QPushButton*>(QString::fromUtf8(GetParam().button));
    }
    QString column() const { return QString::fromUtf8(GetParam().column); }
    void add(const QString& text) {
        test::typeInto(box(), text);
        test::click(button());
    }
};

INSTANTIATE_TEST_SUITE_P(
    SixLists, SettingsListTest,
    ::testing::Values(
        ListRowCase{"按钮_品牌增加", "组合框_品牌", "品牌管理", "请输入你要添加的品牌！", "增加品牌失败！"},
        ListRowCase{"按钮_品尺码增加", "组合框_尺码", "尺码管理", "请输入你要添加的尺码！", "增加尺码失败！"},
        ListRowCase{"按钮_杯型增加", "组合框_杯型", "杯型管理", "请输入你要添加的杯型！", "增加杯型失败！"},
        ListRowCase{"按钮_品类增加", "组合框_品类", "品类管理", "请输入你要添加的品类！", "增加品类失败！"},
        ListRowCase{"按钮_折扣增加", "组合框_折扣", "折扣", "请输入你要添加的折扣！", "增加折扣失败！"},
        ListRowCase{"按钮_折扣原因", "组合框_折扣原因", "折扣原因", "请输入你要折扣原因的折扣！",
                    "增加折扣原因失败！"}));

TEST_P(SettingsListTest, AppendsEachValueAsTypedAndRefillsTheBox) {
    open();
    ASSERT_NE(box(), nullptr);
    ASSERT_NE(button(), nullptr);
    const Shown added{"添加成功！", 0, kStandardTitle};

    add("");
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{GetParam().prompt, 0x40, kStandardTitle}}));
    EXPECT_EQ(list(column()), "");

    messages.clear();
    add("A");
    EXPECT_EQ(list(column()), "A");  // the first value alone, no comma
    add("B");
    add("A");                        // nothing compares: listed twice
    add("x,y");                      // splits into two values on reading back
    add("  ");                       // blanks only are not empty
    add("o'k");
    EXPECT_EQ(messages.shown, std::vector<Shown>(6, added));
    EXPECT_EQ(list(column()), "A,B,A,x,y,  ,o'k");
    EXPECT_EQ(items(box()), (QStringList{"A", "B", "A", "x", "y", "  ", "o'k"}));
    EXPECT_EQ(box()->currentIndex(), -1);
    EXPECT_EQ(box()->currentText(), "");
}

TEST_P(SettingsListTest, AListPastItsColumnFailsAndKeepsTheTypedText) {
    exec(QStringLiteral("update 系统设置 set %1=? where id='1'").arg(column()),
         {QString(253, u'a')});
    open();

    add("bc");  // 256 characters
    const QString full =
        QString::fromUtf8(GetParam().failure) + "这个列表已满（最多255个字符），放不下这个值。";
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{full, 0x40, kStandardTitle}}));
    EXPECT_EQ(list(column()), QString(253, u'a'));
    EXPECT_EQ(box()->currentText(), "bc");
    EXPECT_EQ(items(box()), QStringList{QString(253, u'a')});

    messages.clear();
    add("b");  // exactly 255
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"添加成功！", 0, kStandardTitle}}));
    EXPECT_EQ(list(column()), QString(253, u'a') + ",b");
}

TEST_F(SettingsWindowTest, OpensCentredWithTheStoredListsAndTheFocusInTheUserName) {
    exec("update 系统设置 set 品牌管理=?,杯型管理=?,折扣=? where id='1'", {"爱慕,曼妮芬", "A,B,C", "9"});
    app::openEntryWindow(shell, app::kEntrySettings);
    window = mainWindow->findChild<SettingsWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "系统设置");
    EXPECT_EQ(window->size(), QSize(547, 348));
    const QSize host = mainWindow->frameGeometry().size();
    EXPECT_EQ(window->pos(), QPoint(int(host.width() / 2.0 - 273.5), int(host.height() / 2.0 - 174)));
    EXPECT_FALSE(window->hidesOnLogout());
    EXPECT_EQ(window->分组框1->title(), "基本资料");
    EXPECT_EQ(window->分组框2->title(), "用户");

    EXPECT_EQ(items(window->组合框_品牌), (QStringList{"爱慕", "曼妮芬"}));
    EXPECT_EQ(items(window->组合框_杯型), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(items(window->组合框_折扣), QStringList{"9"});
    EXPECT_EQ(window->组合框_尺码->count(), 0);
    EXPECT_EQ(window->组合框_品牌->currentText(), "");
    EXPECT_EQ(listedUsers(), QStringList{"admin|"});
    EXPECT_EQ(test::focused(), window->编辑框1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsWindowTest, ASuccessfulAddEmptiesTheTextOfEveryBox) {
    open();
    test::typeInto(window->组合框_品类, "bra");
    test::typeInto(window->组合框_尺码, "75");
    test::click(window->按钮_品尺码增加);
    EXPECT_EQ(list("尺码管理"), "75");
    EXPECT_EQ(list("品类管理"), "");
    EXPECT_EQ(window->组合框_品类->currentText(), "");
    EXPECT_EQ(items(window->组合框_尺码), QStringList{"75"});
}

TEST_F(SettingsWindowTest, NoSettingsRowToTakeTheValueIsAFailure) {
    exec("delete from 系统设置");
    open();
    test::typeInto(window->组合框_品牌, "Aimer");
    test::click(window->按钮_品牌增加);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"增加品牌失败！", 0x40, kStandardTitle}}));
    EXPECT_EQ(window->组合框_品牌->currentText(), "Aimer");
}

TEST_F(SettingsWindowTest, AListsRoomIsCountedInCharactersAsTheColumnCountsThem) {
    exec("update 系统设置 set 品牌管理=? where id='1'", {QString(253, u'a')});
    open();
    window->组合框_品牌->setEditText("😀");  // pasted: one character, two UTF-16 units; 255 in all
    test::click(window->按钮_品牌增加);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"添加成功！", 0, kStandardTitle}}));
    EXPECT_EQ(list("品牌管理"), QString(253, u'a') + ",😀");
}

// --- 用户 ---

TEST_F(SettingsWindowTest, AddUserChecksInOrderAndKeepsTheTypedTexts) {
    struct Case {
        QString name, password, again, message;
    };
    const Case cases[] = {
        {"", "", "", "请输入用户名"},
        {"", "p", "p", "请输入用户名"},
        {"u", "", "p", "请输入密码"},
        {"u", "p", "", "请再次输入密码"},
        {"u", "p", "q", "两次密码输入不一致"},
        {"admin", "p", "q", "两次密码输入不一致"},
        {"admin", "p", "p", "已经存在的用户名！"},
        {QString(101, u'n'), "p", "p", "添加用户失败！"},
        // What login refuses is never stored: nobody could log in with it.
        {"o'neil", "p", "p", "用户名中不能有单引号或双引号，否则将无法登录！"},
        {"u\"", "p", "p", "用户名中不能有单引号或双引号，否则将无法登录！"},
        {"u", "a'b", "a'b", "密码中不能有单引号或双引号，否则将无法登录！"},
        {"u", "a\"b", "a\"b", "密码中不能有单引号或双引号，否则将无法登录！"},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString() + " for " + c.name.left(10).toStdString());
        messages.clear();
        addUser(c.name, c.password, c.again);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{c.message, 0x40, kStandardTitle}}));
        EXPECT_EQ(window->编辑框1->text(), c.name);
        EXPECT_EQ(window->编辑框2->text(), c.password);
        EXPECT_EQ(window->编辑框3->text(), c.again);
        EXPECT_EQ(rows("select 用户名 from 用户管理模块"), QStringList{"admin"});
    }
}

TEST_F(SettingsWindowTest, EnterMovesThroughTheBoxesAndAddsTheUser) {
    open();
    ASSERT_EQ(test::focused(), window->编辑框1);
    test::typeInto(window->编辑框1, "小 王");
    test::pressEnter(window->编辑框1);
    EXPECT_EQ(test::focused(), window->编辑框2);
    test::typeInto(window->编辑框2, "pw 1");
    test::pressEnter(window->编辑框2);
    EXPECT_EQ(test::focused(), window->编辑框3);
    EXPECT_TRUE(messages.shown.empty());
    test::typeInto(window->编辑框3, "pw 1");
    test::pressEnter(window->编辑框3);

    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"添加用户成功！", 0, kStandardTitle}}));
    const QString digest = rows("select 密码 from 用户管理模块 where 用户名=?", {"小 王"}).value(0);
    EXPECT_TRUE(session::passwordMatches("pw 1", digest));
    EXPECT_EQ(listedUsers(), (QStringList{"admin|", "小 王|" + digest}));
    EXPECT_EQ(window->编辑框1->text() + window->编辑框2->text() + window->编辑框3->text(), "");
    EXPECT_EQ(test::focused(), window->编辑框3);  // the focus stays
}

TEST_F(SettingsWindowTest, TwoUsersWithOnePasswordGetDifferentDigests) {
    open();
    addUser("小王", "same", "same");
    addUser("小李", "same", "same");
    const QStringList digests = rows("select 密码 from 用户管理模块 where 用户名<>'admin'");
    ASSERT_EQ(digests.size(), 2);
    EXPECT_NE(digests[0], digests[1]);
}

TEST_F(SettingsWindowTest, AUserNameHoldingANulIsRefused) {
    open();
    window->编辑框1->setText(QString("ad") + QChar(0) + "min");  // as a paste puts it there
    test::typeInto(window->编辑框2, "p");
    test::typeInto(window->编辑框3, "p");
    test::click(window->按钮_增加用户);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"添加用户失败！", 0x40, kStandardTitle}}));
    EXPECT_EQ(rows("select 用户名 from 用户管理模块"), QStringList{"admin"});
}

TEST_F(SettingsWindowTest, NamesDifferingInCaseOrBlanksAreNewUsers) {
    open();
    addUser("Admin", "p", "p");
    addUser("admin ", "p", "p");
    EXPECT_EQ(messages.texts(), (QStringList{"添加用户成功！", "添加用户成功！"}));
    EXPECT_EQ(rows("select 用户名 from 用户管理模块"), (QStringList{"admin", "Admin", "admin "}));
}

TEST_F(SettingsWindowTest, DeleteAsksAndRemovesOnlyThatName) {
    exec("insert into 用户管理模块(用户名,密码)values(?,?)", {"o'neil", "d1"});
    exec("insert into 用户管理模块(用户名,密码)values(?,?)", {"neil", "d2"});
    open();
    test::selectRow(window->超级列表框1, 1);
    messages.answer(Answer::Yes);
    test::trigger(window->删除用户);
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{"你确定要删除:o'neil-用户吗？", 0x24, kStandardTitle}}));
    EXPECT_EQ(rows("select 用户名 from 用户管理模块"), (QStringList{"admin", "neil"}));
    EXPECT_EQ(listedUsers(), (QStringList{"admin|", "neil|d2"}));
}

TEST_F(SettingsWindowTest, DeleteAnsweredNoRefillsTheListAndDeletesNothing) {
    open();
    exec("insert into 用户管理模块(用户名,密码)values(?,?)", {"later", "d"});
    test::selectRow(window->超级列表框1, 0);
    messages.answer(Answer::No);
    test::trigger(window->删除用户);
    EXPECT_EQ(messages.texts(), QStringList{"你确定要删除:admin-用户吗？"});
    EXPECT_EQ(rows("select 用户名 from 用户管理模块"), (QStringList{"admin", "later"}));
    EXPECT_EQ(listedUsers(), (QStringList{"admin|", "later|d"}));
}

TEST_F(SettingsWindowTest, RowActionsWithoutASelectedUserAreRefused) {
    open();
    for (QAction* action : {window->修改密码, window->删除用户}) {
        SCOPED_TRACE(action->text().toStdString());
        messages.clear();
        test::trigger(action);
        EXPECT_EQ(messages.shown,
                  (std::vector<Shown>{{"请先选择一个用户！", 0x40, kStandardTitle}}));
        EXPECT_EQ(window->findChild<masterdata::ChangePasswordWindow*>(), nullptr);
        EXPECT_EQ(rows("select 用户名 from 用户管理模块"), QStringList{"admin"});
    }
}

TEST_F(SettingsWindowTest, TheRightButtonSelectsTheRowUnderTheMouseAndPopsUpTheMenu) {
    exec("insert into 用户管理模块(用户名,密码)values(?,?)", {"neil", "d"});
    open();
    QWidget* viewport = window->超级列表框1->viewport();
    const QPoint second = window->超级列表框1->visualRect(window->超级列表框1->model()->index(1, 0)).center();
    QTest::mouseClick(viewport, Qt::RightButton, {}, second);
    EXPECT_EQ(window->超级列表框1->selectedRow(), 1);
    EXPECT_TRUE(window->编辑->isVisible());
    EXPECT_EQ(window->编辑->actions(), (QList<QAction*>{window->修改密码, window->删除用户}));
    window->编辑->hide();
}
