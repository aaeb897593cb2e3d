#include "store/schema.h"
#include "store/settings_lists.h"
#include "support/child_roles.h"
#include "support/fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QFileInfo>
#include <functional>

using test::ShopTest;

class SchemaTest : public ShopTest {};

TEST_F(SchemaTest, CreationMakesTheEightTablesAndTheTwoSeedRows) {
    EXPECT_EQ(rows("select 用户名, 密码 from 用户管理模块"), QStringList{"admin|"});
    EXPECT_EQ(rows("select * from 系统设置"), QStringList{"1||||||"});
    for (const char* table : {"库存表", "入库管理模块", "入库管理总模块", "商品资料",
                              "销售管理总模块", "销售模块"})
        EXPECT_TRUE(rows(QString("select * from ") + table).isEmpty()) << table;
    // Beside the eight, the sums of paid sales that speed the statistics.
    EXPECT_EQ(rows(test::kCountShopTables),
              QStringList{"8"});
    const QString path = store::databaseFilePath(folder.path());
    EXPECT_TRUE(path.endsWith("/data/shop.gbk"));
    EXPECT_TRUE(QFileInfo::exists(path));
}

// Whatever step fails, neither the file nor its draft is left behind.
TEST_F(SchemaTest, ACreationThatCannotFinishLeavesNoFile) {
    const struct {
        const char* cause;
        std::function<void(store::Database&, const QString& path)> hinder;
    } cases[] = {
        {"the name the new file is made under is taken",
         [](store::Database&, const QString& path) { QDir().mkpath(path + ".new"); }},
        {"the sums kept beside the lines cannot be made",
         [](store::Database& other, const QString&) {
             other.failQueriesContaining("FROM sqlite_master WHERE name IN");
         }},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        const QString data = folder.filePath(QString("other%1/data").arg(++run));
        const QString path = data + "/shop.gbk";
        store::Database other;
        c.hinder(other, path);
        EXPECT_EQ(store::createDatabase(other, path), "1创建表失败，请联系作者！");
        EXPECT_FALSE(other.isOpen());
        EXPECT_EQ(QDir(data).entryList(QDir::Files), QStringList());
    }
}

// A creation killed at any moment leaves either no database or a whole one, never a file that
// looks like the books but lacks some of them.
TEST_F(SchemaTest, ACreationKilledAtAnyMomentLeavesNoFileOrAWholeOne) {
    const QString path = folder.filePath("killed/data/shop.gbk");
    const auto startChild = [&](QProcess& child) { test::startChild(child, "create", path); };
    QElapsedTimer timer;
    timer.start();
    {
        QProcess whole;
        startChild(whole);
        ASSERT_TRUE(whole.waitForFinished());
        ASSERT_EQ(whole.exitCode(), 0);
    }
    const qint64 lifetimeUs = timer.nsecsElapsed() / 1000;

    int whole = 0;
    constexpr int kRuns = 24;
    for (int run = 0; run < kRuns; ++run) {
        QFile::remove(path);
        QProcess child;
        startChild(child);
        QThread::usleep(lifetimeUs * run / kRuns);
        child.kill();
        child.waitForFinished();
        if (!QFileInfo::exists(path)) continue;
        store::Database made;
        ASSERT_TRUE(made.open(path, store::kDatabaseUser, store::kDatabasePassword)) << run;
        EXPECT_EQ(made.query(test::kCountShopTables).text(1), "8");
        EXPECT_EQ(made.query("select count(*) from 用户管理模块").text(1), "1") << run;
        EXPECT_EQ(made.query("select count(*) from 系统设置").text(1), "1") << run;
        ++whole;
    }
    EXPECT_LT(whole, kRuns);  // some runs were killed before the end
}

TEST_F(SchemaTest, TypedTablesKeepTheirNamesWithTriggersOnlyForNumbers) {
    EXPECT_EQ(store::typedTableStatements("create table t(a varchar(10),b memo)"),
              QStringList{"create table t(a TEXT CHECK(length(a)<=10),b TEXT)"});
    const QStringList typed = store::typedTableStatements("create table u(c integer,d real)");
    ASSERT_EQ(typed.size(), 3);
    EXPECT_EQ(typed[0], "create table u(c INTEGER,d REAL)");
    EXPECT_TRUE(typed[1].startsWith("CREATE TRIGGER u_INSERT_types BEFORE INSERT ON u"));
    EXPECT_TRUE(typed[2].startsWith("CREATE TRIGGER u_UPDATE_types BEFORE UPDATE ON u"));
}

TEST_F(SchemaTest, UpdatesAreTypeCheckedToo) {
    exec("insert into 销售模块(销售单号,数量)values(?,?)", {"xs1", "1"});
    EXPECT_TRUE(db.execute("update 销售模块 set 数量=? where 销售单号=?", {"4", "xs1"}));
    EXPECT_FALSE(db.execute("update 销售模块 set 数量=? where 销售单号=?", {"x", "xs1"}));
    EXPECT_FALSE(db.execute("update 销售模块 set 数量=? where 销售单号=?", {"9999999999", "xs1"}));
    EXPECT_EQ(rows("select 数量 from 销售模块"), QStringList{"4"});
}

TEST_F(SchemaTest, LookupIndexesAreAddedToFilesThatLackThem) {
    exec("drop index 商品资料_编号");
    EXPECT_TRUE(store::ensureLookupIndexes(db));
    EXPECT_EQ(rows("select count(*) from sqlite_master where name='商品资料_编号'"),
              QStringList{"1"});
}

TEST_F(SchemaTest, SettingsListsSplitAtEveryCommaAndEmptyGivesNothing) {
    EXPECT_EQ(store::loadBrandList(db), QStringList());  // NULL
    exec("update 系统设置 set 品牌管理=?, 杯型管理=?, 尺码管理=?, 折扣=?", {"", "A", "70,75 ,,80", "9"});
    EXPECT_EQ(store::loadBrandList(db), QStringList());  // empty text
    EXPECT_EQ(store::loadCupList(db), QStringList{"A"});
    EXPECT_EQ(store::loadSizeList(db), (QStringList{"70", "75 ", "", "80"}));
    EXPECT_EQ(store::loadDiscountList(db), QStringList{"9"});
    EXPECT_EQ(store::loadDiscountReasonList(db), QStringList());
    EXPECT_EQ(store::loadCategoryList(db), QStringList());
    // A settings row that cannot be read is no empty list.
    db.failQueriesContaining("系统设置");
    EXPECT_FALSE(store::loadCupList(db).has_value());
}
