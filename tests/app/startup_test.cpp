#include "app/main_window.h"
#include "app/navigation_panel.h"
#include "app/set_password_window.h"
#include "store/schema.h"
#include "support/fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <functional>

using test::Shown;
using ui::Answer;

class StartUpTest : public test::ShopTest {
protected:
    // A program folder of its own, with no database yet.
    QTemporaryDir programFolder;
    store::Database startUpDb;
    session::Shell startUpShell{startUpDb, messages, clock, programFolder.path()};
    QString path() const { return store::databaseFilePath(programFolder.path()); }

    // A database whose admin already has a password.
    void seedAdministratorWithPassword() {
        store::Database seeded;
        ASSERT_EQ(store::createDatabase(seeded, path()), "");
        ASSERT_TRUE(seeded.open(path(), "admin", store::kDatabasePassword));
        ASSERT_TRUE(seeded.execute("update 用户管理模块 set 密码=? where 用户名='admin'", {"digest"}));
        seeded.close();
    }

    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

// Where the navigation panel stands each time it is shown.
struct PanelShows : QObject {
    PanelShows() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* panel = qobject_cast<app::NavigationPanel*>(watched)) at.push_back(panel->pos());
        return false;
    }
    std::vector<QPoint> at;
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
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{"是否创建数据库？", 4, ""}, {"创建完成！", 0, ""}}));
    EXPECT_FALSE(startUpShell.programEnded);
    EXPECT_TRUE(QFileInfo::exists(path()));
    EXPECT_EQ(test::fileMode(path()), 0600);
    EXPECT_TRUE(startUpDb.isOpen());
    EXPECT_FALSE(window.navigationPanel()->isVisible());
    auto* setPassword = window.findChild<app::SetPasswordWindow*>();
    ASSERT_NE(setPassword, nullptr);
    EXPECT_TRUE(setPassword->isVisible());
    EXPECT_EQ(setPassword->windowTitle(), "设置密码");
    EXPECT_EQ(setPassword->size(), QSize(260, 179));
    EXPECT_EQ(setPassword->pos(), QPoint(270, 195));  // 800 / 2 - 260 / 2, 570 / 2 - 179 / 2
}

// Users that cannot be read say nothing of admin's password: no set-password window offers
// to replace it, and the program ends.
TEST_F(StartUpTest, UsersThatCannotBeReadEndTheProgramWithoutOfferingANewPassword) {
    seedAdministratorWithPassword();
    startUpDb.failQueriesContaining("from 用户管理模块");

    app::MainWindow window(startUpShell);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"读取数据失败！", 0x40, ui::kStandardTitle}}));
    EXPECT_TRUE(startUpShell.programEnded);
    EXPECT_EQ(window.findChild<app::SetPasswordWindow*>(), nullptr);
    EXPECT_FALSE(window.navigationPanel()->isVisible());
}

TEST_F(StartUpTest, AnAdministratorWithAPasswordGetsTheDockedPanelAndNothingElse) {
    seedAdministratorWithPassword();
    PanelShows shows;

    app::MainWindow window(startUpShell);
    window.show();
    app::NavigationPanel* panel = window.navigationPanel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isVisible(); }));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(window.findChild<app::SetPasswordWindow*>(), nullptr);
    // Shown once, already where it stands: against the main window's left edge, tops level.
    EXPECT_EQ(shows.at, std::vector<QPoint>{panel->pos()});
    const auto expectDocked = [&] {
        EXPECT_EQ(panel->frameGeometry().right() + 1, window.frameGeometry().left());
        EXPECT_EQ(panel->y(), window.y());
    };
    expectDocked();
    // The panel follows the main window, not the other way round.
    window.move(window.x() + 40, window.y() + 25);
    expectDocked();
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

// Files that open with no shop's books in them: each is kept aside and a new database is made.
struct BadFile {
    const char* name;
    std::function<void(const QString& path)> make;
};
void PrintTo(const BadFile& file, std::ostream* out) { *out << file.name; }

void keyedFileWith(const QString& path, const QStringList& statements) {
    store::Database keyed;
    ASSERT_TRUE(keyed.create(path, store::kDatabasePassword));
    for (const QString& statement : statements) ASSERT_TRUE(keyed.execute(statement));
}

class BadFileStartUpTest : public StartUpTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFileStartUpTest, IsKeptAsideAndANewDatabaseIsMade) {
    writeFile({});
    GetParam().make(path());
    QFile original(path());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray books = original.readAll();
    original.close();

    messages.answer(Answer::Yes);
    app::MainWindow window(startUpShell);
    const QString kept = path() + ".unreadable-20240305-090503";
    EXPECT_EQ(messages.texts(),
              (QStringList{"数据库打开失败，是否创建数据库？",
                           "无法打开的数据库文件已改名保存为：shop.gbk.unreadable-20240305-090503",
                           "创建完成！"}));
    QFile keptFile(kept);
    ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptFile.readAll(), books);
    EXPECT_EQ(test::fileMode(kept), 0600);
    EXPECT_EQ(startUpDb.query(test::kCountShopTables).text(1), "8");
    EXPECT_NE(window.findChild<app::SetPasswordWindow*>(), nullptr);
    EXPECT_FALSE(startUpShell.programEnded);
}

INSTANTIATE_TEST_SUITE_P(
    , BadFileStartUpTest,
    ::testing::Values(
        BadFile{"ZeroBytes", [](const QString&) {}},
        BadFile{"KeyedWithoutTables", [](const QString& path) { keyedFileWith(path, {"PRAGMA user_version=1"}); }},
        BadFile{"KeyedWithTwoTables",
                [](const QString& path) {
                    keyedFileWith(path, {"create table 库存表(商品编号)",
                                         "create table 入库管理模块(入库编号)"});
                }},
        BadFile{"RandomBytes",
                [](const QString& path) {
                    QFile file(path);
                    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                    QByteArray noise(8192, 0);
                    for (int i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919 + 13) % 251);
                    file.write(noise);
                }}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return info.param.name; });

// A healthy file the program may not use now is left as it is, and the user is told why.
class UnavailableStartUpTest : public StartUpTest {
protected:
    UnavailableStartUpTest() {
        EXPECT_EQ(store::createDatabase(startUpDb, path()), "");
        QFile file(path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        books = file.readAll();
    }
    ~UnavailableStartUpTest() override {
        for (const QString& target : protectedPaths) setImmutable(target, false);
    }

    // Write protection that binds root too; false where the file system will not have it.
    bool protect(const QString& target) {
        if (!setImmutable(target, true)) return false;
        protectedPaths << target;
        return true;
    }
    static bool setImmutable(const QString& target, bool on) {
        return QProcess::execute("chattr", {on ? "+i" : "-i", target}) == 0;
    }

    void expectToldAndUntouched(const QString& cause) {
        app::MainWindow window(startUpShell);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].style, 0x10);
        EXPECT_EQ(messages.shown[0].title, ui::kStandardTitle);
        EXPECT_TRUE(messages.shown[0].text.contains(path())) << messages.shown[0].text.toStdString();
        EXPECT_TRUE(messages.shown[0].text.contains(cause)) << messages.shown[0].text.toStdString();
        EXPECT_TRUE(startUpShell.programEnded);
        EXPECT_FALSE(startUpDb.isOpen());
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), books);
        EXPECT_EQ(QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files),
                  QStringList{"shop.gbk"});
    }

    QByteArray books;
    QStringList protectedPaths;
};

TEST_F(UnavailableStartUpTest, AFileLockedByAnotherProgram) {
    store::Database holder;
    ASSERT_TRUE(holder.open(path(), store::kDatabaseUser, store::kDatabasePassword));
    ASSERT_TRUE(holder.execute("BEGIN EXCLUSIVE"));  // as a backup tool's long read-write would
    expectToldAndUntouched("正被其他程序使用");
}

TEST_F(UnavailableStartUpTest, AWriteProtectedFile) {
    if (!protect(path())) GTEST_SKIP() << "this file system cannot write-protect a file for root";
    expectToldAndUntouched("只读");
}

TEST_F(UnavailableStartUpTest, AWriteProtectedFolder) {
    if (!protect(QFileInfo(path()).absolutePath()))
        GTEST_SKIP() << "this file system cannot write-protect a folder for root";
    expectToldAndUntouched("只读");
}
