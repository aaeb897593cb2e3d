#include "app/main_window.h"
#include "app/navigation_panel.h"
#include "app/set_password_window.h"
#include "store/schema.h"
#include "support/fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using test::Shown;
using ui::Answer;

class StartUpTest : public test::ShopTest {
protected:
    // A program folder of its own, with no database yet.
    QTemporaryDir programFolder;
    store::Database startUpDb;
    session::Shell startUpShell{startUpDb, messages, clock, programFolder.path()};
    QString path() const { return store::databaseFilePath(programFolder.path()); }

    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(StartUpTest, NoDatabaseAnsweredNoEndsTheProgramAtOnce) {
    messages.answer(Answer::No);
    app::MainWindow window(startUpShell);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"是否创建数据库？", 4, ""}}));
    EXPECT_TRUE(startUpShell.programEnded);
    EXPECT_EQ(window.navigationPanel(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(path()));
}

TEST_F(StartUpTest, FirstRunCreatesTheDatabaseAndAsksForTheAdministratorsPassword) {
    messages.answer(Answer::Yes);
    app::MainWindow window(startUpShell);
    window.show();
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{"是否创建数据库？", 4, ""}, {"创建完成！", 0, ""}}));
    EXPECT_FALSE(startUpShell.programEnded);
    EXPECT_TRUE(QFileInfo::exists(path()));
    EXPECT_TRUE(startUpDb.isOpen());
    EXPECT_FALSE(window.navigationPanel()->isVisible());
    auto* setPassword = window.findChild<app::SetPasswordWindow*>();
    ASSERT_NE(setPassword, nullptr);
    EXPECT_TRUE(setPassword->isVisible());
    EXPECT_EQ(setPassword->windowTitle(), "设置密码");
    EXPECT_EQ(setPassword->size(), QSize(260, 179));
    EXPECT_EQ(setPassword->pos(), QPoint(270, 195));  // 800 / 2 - 260 / 2, 570 / 2 - 179 / 2
}

TEST_F(StartUpTest, AnAdministratorWithAPasswordGetsTheDockedPanelAndNothingElse) {
    store::Database seeded;
    ASSERT_EQ(store::createDatabase(seeded, path()), "");
    ASSERT_TRUE(seeded.open(path(), "admin", store::kDatabasePassword));
    ASSERT_TRUE(seeded.execute("update 用户管理模块 set 密码=? where 用户名='admin'", {"digest"}));
    seeded.close();

    app::MainWindow window(startUpShell);
    window.show();
    EXPECT_TRUE(messages.shown.empty());
    app::NavigationPanel* panel = window.navigationPanel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(window.findChild<app::SetPasswordWindow*>(), nullptr);
    // The panel follows the main window, not the other way round.
    window.move(window.x() + 40, window.y() + 25);
    EXPECT_EQ(panel->frameGeometry().right() + 1, window.frameGeometry().left());
    EXPECT_EQ(panel->y(), window.y());
    const QPoint mainAt = window.pos();
    panel->move(panel->x() - 30, panel->y());
    EXPECT_EQ(window.pos(), mainAt);
}

TEST_F(StartUpTest, AFileThatWillNotOpenIsKeptAndNoEndsTheProgram) {
    const QByteArray books(4096, 'b');
    writeFile(books);
    messages.answer(Answer::No);
    app::MainWindow window(startUpShell);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"数据库打开失败，是否创建数据库？", 4, ""}}));
    EXPECT_TRUE(startUpShell.programEnded);
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), books);
}

TEST_F(StartUpTest, RecreatingMovesTheUnreadableFileAsideUnderANewName) {
    const QByteArray books(4096, 'b');
    writeFile(books);
    messages.answer(Answer::Yes);
    app::MainWindow window(startUpShell);
    const QString kept = path() + ".unreadable-20240305-090503";
    EXPECT_EQ(messages.texts(),
              (QStringList{"数据库打开失败，是否创建数据库？",
                           "无法打开的数据库文件已改名保存为：shop.gbk.unreadable-20240305-090503",
                           "创建完成！"}));
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), books);
    EXPECT_TRUE(startUpDb.isOpen());
    EXPECT_NE(window.findChild<app::SetPasswordWindow*>(), nullptr);
    EXPECT_FALSE(startUpShell.programEnded);
}

TEST_F(StartUpTest, ASecondFileThatWillNotOpenDoesNotOverwriteTheFirstOneKept) {
    writeFile("first");
    QFile::rename(path(), path() + ".unreadable-20240305-090503");
    writeFile("second");
    messages.answer(Answer::Yes);
    app::MainWindow window(startUpShell);
    QFile first(path() + ".unreadable-20240305-090503");
    QFile second(path() + ".unreadable-20240305-090503-2");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), "first");
    EXPECT_EQ(second.readAll(), "second");
}
