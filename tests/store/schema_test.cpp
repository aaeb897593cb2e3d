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

TEST_F(SchemaTest, ACreationThatCannotFinishLeavesNoFile) {
    const QString path = folder.filePath("other/data/shop.gbk");
    QDir().mkpath(path + ".new");  // the name the new file is made under is taken
    store::Database other;
    EXPECT_EQ(store::createDatabase(other, path), "1创建表失败，请联系作者！");
    EXPECT_FALSE(other.isOpen());
    EXPECT_FALSE(QFileInfo::exists(path));
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
    store::ensureLookupIndexes(db);
    EXPECT_EQ(rows("select count(*) from sqlite_master where name='商品资料_编号'"),
              QStringList{"1"});
}

namespace {

// Each table of sums beside the paid lines, and the same figures worked out from the lines.
struct PaidSums {
    const char* table;
    QString sums;
    QString fromLines;
};
const PaidSums kPaidSums[] = {
    {"销售日汇总",
     "select 销售时间,销售人员,行数,数量,数量个数,小计,小计个数 from 销售日汇总 where 行数>0 "
     "order by 1,2",
     "select 销售时间,销售人员,count(*),ifnull(sum(数量),0),count(数量),ifnull(sum(小计),0),"
     "count(小计) from 销售模块 where 状态='已买单' group by 1,2 order by 1,2"},
    {"销售月单品汇总",
     "select 月份,typeof(商品编号)||hex(商品编号),行数,数量,数量个数,小计,小计个数 from 销售月单品汇总 where 行数>0 "
     "order by 1,2",
     "select ifnull(销售时间/100,-1),typeof(ifnull(商品编号,X''))||hex(ifnull(商品编号,X'')),count(*),"
     "ifnull(sum(数量),0),count(数量),ifnull(sum(小计),0),count(小计) from 销售模块 "
     "where 状态='已买单' group by 1,2 order by 1,2"},
    {"销售年单品汇总",
     "select 年份,typeof(商品编号)||hex(商品编号),行数,数量,数量个数,小计,小计个数 from 销售年单品汇总 where 行数>0 "
     "order by 1,2",
     "select ifnull(销售时间/10000,-1),typeof(ifnull(商品编号,X''))||hex(ifnull(商品编号,X'')),count(*),"
     "ifnull(sum(数量),0),count(数量),ifnull(sum(小计),0),count(小计) from 销售模块 "
     "where 状态='已买单' group by 1,2 order by 1,2"},
};

}  // namespace

// Every write to the bill lines keeps every table of sums equal to the sums over the paid lines.
TEST_F(SchemaTest, PaidSalesSumsFollowEveryWriteToPaidLines) {
    const auto line = [&](const QString& id, const QString& day, const QString& quantity,
                          const QString& amount, const QString& status) {
        exec("insert into 销售模块(销售编号,销售时间,销售单号,数量,小计,状态,销售人员)"
             "values(?,?,'xs1',?,?,?,'张三')",
             {id, day, quantity, amount, status});
    };
    const auto expectSumsOfLines = [&] {
        for (const PaidSums& sums : kPaidSums) EXPECT_EQ(rows(sums.sums), rows(sums.fromLines)) << sums.table;
    };
    line("a", "20240301", "2", "30.5", "已买单");
    line("b", "20240301", "1", "19.9", "未确认");
    exec("insert into 销售模块(销售编号,销售时间,状态,销售人员)values('c',20240302,'已买单','张三')");
    exec("insert into 销售模块(销售编号,商品编号,数量,状态)values('n','sp9',4,'已买单')");  // no date
    EXPECT_EQ(rows(kPaidSums[0].sums),
              QStringList({"||1|4|1|0|0", "20240301|张三|1|2|1|30.5|1", "20240302|张三|1|0|0|0|0"}));
    EXPECT_EQ(rows(kPaidSums[2].sums), (QStringList{"-1|text737039|1|4|1|0|0", "2024|blob|2|2|1|30.5|1"}));
    expectSumsOfLines();
    const QString steps[] = {
        "update 销售模块 set 状态='已买单' where 销售编号='b'",  // checkout
        "update 销售模块 set 数量=5,小计=12.25 where 销售编号='a'",
        "update 销售模块 set 销售时间=20240302,销售人员='李四' where 销售编号='b'",
        "update 销售模块 set 商品编号='sp1' where 销售编号='a'",
        "update 销售模块 set 商品编号='' where 销售编号='c'",
        "update 销售模块 set 销售时间=20250101 where 销售编号='c'",
        "update 销售模块 set 状态='未确认' where 销售编号='c'",
        "delete from 销售模块 where 销售编号='a'",
    };
    for (const QString& step : steps) {
        SCOPED_TRACE(step.toStdString());
        exec(step);
        expectSumsOfLines();
    }
    EXPECT_EQ(rows(kPaidSums[0].sums), (QStringList{"||1|4|1|0|0", "20240302|李四|1|1|1|19.9|1"}));
    // A file made without a table gets it, filled from its paid lines.
    for (const PaidSums& sums : kPaidSums) exec(QString("drop table ") + sums.table);
    store::ensureLookupIndexes(db);
    expectSumsOfLines();
    line("d", "20240302", "1", "0.1", "已买单");
    expectSumsOfLines();
    // A file that lost a trigger gets the sums made anew, so they follow the lines again.
    for (const PaidSums& sums : kPaidSums) {
        exec(QString("drop trigger ") + sums.table + "_insert");
        exec(QString("update ") + sums.table + " set 行数=99");
    }
    store::ensureLookupIndexes(db);
    line("e", "20240302", "1", "0.2", "已买单");
    expectSumsOfLines();
}

TEST_F(SchemaTest, SettingsListsSplitAtEveryCommaAndEmptyGivesNothing) {
    EXPECT_TRUE(store::loadBrandList(db).isEmpty());  // NULL
    exec("update 系统设置 set 品牌管理=?, 杯型管理=?, 尺码管理=?, 折扣=?", {"", "A", "70,75 ,,80", "9"});
    EXPECT_TRUE(store::loadBrandList(db).isEmpty());  // empty text
    EXPECT_EQ(store::loadCupList(db), QStringList{"A"});
    EXPECT_EQ(store::loadSizeList(db), (QStringList{"70", "75 ", "", "80"}));
    EXPECT_EQ(store::loadDiscountList(db), QStringList{"9"});
    EXPECT_TRUE(store::loadDiscountReasonList(db).isEmpty());
    EXPECT_TRUE(store::loadCategoryList(db).isEmpty());
}
