#include "store/schema.h"
#include "support/child_roles.h"
#include "support/fixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

using test::ShopTest;

class DatabaseTest : public ShopTest {};

TEST_F(DatabaseTest, RecordSetReadsByNameAndPositionWithNullAsEmpty) {
    exec("insert into 销售模块(销售编号,销售时间,数量,小计,单价)values(?,?,?,?,?)",
         {"xsbh1", "20240305", "3", "19.9", ""});
    store::RecordSet set = db.query("select 销售编号, 销售时间, 数量, 小计, 折扣, 单价 from 销售模块");
    ASSERT_FALSE(set.atEnd());
    EXPECT_EQ(set.text("销售编号"), "xsbh1");
    EXPECT_EQ(set.text(1), "xsbh1");
    EXPECT_EQ(set.text("销售时间"), "20240305");
    EXPECT_EQ(set.text(3), "3");
    EXPECT_EQ(set.text("小计"), "19.9");  // kept in double precision
    EXPECT_EQ(set.text("折扣"), "");      // NULL
    EXPECT_EQ(set.text("单价"), "");      // empty text
    EXPECT_EQ(set.text("没有此列"), "");
    set.moveNext();
    EXPECT_TRUE(set.atEnd());
    EXPECT_EQ(set.text(1), "");  // past the end
}

TEST_F(DatabaseTest, SumsReadAsPlainNumbersAndAFailedQueryIsEmptyAndSaysSo) {
    for (const char* amount : {"19.9", "0.1", "0.2"})
        exec("insert into 销售模块(小计)values(?)", {amount});
    EXPECT_EQ(db.query("select sum(小计) from 销售模块").text(1), "20.2");
    EXPECT_EQ(db.query("select sum(小计) from 销售模块 where 1=0").text(1), "");
    store::RecordSet failed = db.query("select * from 不存在的表");
    EXPECT_TRUE(failed.atEnd());
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_TRUE(failed.failed());
    EXPECT_FALSE(db.query("select * from 商品资料").failed());  // no rows, but read
}

TEST_F(DatabaseTest, TypedColumnsRefuseWhatTheyCannotHold) {
    const struct {
        const char* statement;
        QStringList values;
        bool accepted;
    } cases[] = {
        {"insert into 用户管理模块(用户名)values(?)", {QString(100, u'名')}, true},
        {"insert into 用户管理模块(用户名)values(?)", {QString(101, u'名')}, false},
        {"insert into 商品资料(品名)values(?)", {QString(101, u'a')}, false},
        {"insert into 商品资料(颜色)values(?)", {QString(255, u'a')}, true},
        {"insert into 商品资料(颜色)values(?)", {QString(256, u'a')}, false},
        {"insert into 系统设置(id)values(?)", {"12345678901"}, false},
        {"insert into 入库管理总模块(备注)values(?)", {QString(5000, u'x')}, true},
        {"insert into 销售模块(数量)values(?)", {"2"}, true},
        {"insert into 销售模块(数量)values(?)", {"-7"}, true},
        {"insert into 销售模块(数量)values(?)", {"1.5"}, false},
        {"insert into 销售模块(数量)values(?)", {"abc"}, false},
        {"insert into 销售模块(数量)values(?)", {""}, false},
        {"insert into 销售模块(小计)values(?)", {"12.5"}, true},
        {"insert into 销售模块(小计)values(?)", {"12"}, true},
        {"insert into 销售模块(小计)values(?)", {"12元"}, false},
        {"insert into 销售管理总模块(总件数,销售总金额)values(?,?)", {"3", "x"}, false},
        {"insert into 库存表(期初库存)values(?)", {"abc"}, true},  // stock is a text column
    };
    for (const auto& c : cases)
        EXPECT_EQ(db.execute(c.statement, c.values), c.accepted)
            << c.statement << " " << c.values.join(",").left(20).toStdString();
}

TEST_F(DatabaseTest, TextKeepsLeadingZerosAndRealKeepsDoublePrecision) {
    exec("insert into 入库管理总模块(款号,商品总件数)values(?,?)", {"007", "007"});
    EXPECT_EQ(rows("select 款号, 商品总件数 from 入库管理总模块"), QStringList{"007|007"});
    exec("insert into 销售管理总模块(销售总金额)values(?)", {"19.9"});
    EXPECT_EQ(rows("select 销售总金额 from 销售管理总模块"), QStringList{"19.9"});
}

TEST_F(DatabaseTest, RollbackLeavesNothing) {
    ASSERT_TRUE(db.begin());
    exec("insert into 商品资料(编号)values(?)", {"sp1"});
    exec("insert into 库存表(商品编号)values(?)", {"sp1"});
    ASSERT_TRUE(db.rollback());
    EXPECT_TRUE(rows("select * from 商品资料").isEmpty());
    EXPECT_TRUE(rows("select * from 库存表").isEmpty());
    ASSERT_TRUE(db.begin());
    exec("insert into 商品资料(编号)values(?)", {"sp2"});
    ASSERT_TRUE(db.commit());
    EXPECT_EQ(rows("select 编号 from 商品资料"), QStringList{"sp2"});
}

TEST_F(DatabaseTest, HostileValuesAreStoredAndComparedAsTyped) {
    const QStringList hostile = {"a'b", "x' or '1'='1", "\"q\"", "back\\slash", "50%", "--", ";",
                                 "'; delete from 商品资料; --"};
    for (const QString& value : hostile) exec("insert into 商品资料(编号)values(?)", {value});
    exec("insert into 商品资料(编号)values(?)", {"bystander"});
    for (const QString& value : hostile)
        EXPECT_EQ(rows("select 编号 from 商品资料 where 编号=?", {value}), QStringList{value});
    exec("delete from 商品资料 where 编号=?", {"x' or '1'='1"});
    EXPECT_EQ(db.changedRows(), 1);
    EXPECT_EQ(rows("select * from 商品资料").size(), hostile.size());
    EXPECT_EQ(rows("select 编号 from 商品资料 where 编号 like ?", {"50%"}).size(), 1);
}

// A value another program stored with a control character is found by the value read back; a
// value no row holds is an answer, not a failure; only a write refuses such a value, before the
// file is asked.
TEST_F(DatabaseTest, ControlCharactersAreLookedUpAsTheyStandAndRefusedOnlyByWrites) {
    exec("insert into 库存表(商品编号,实际库存)values('sp'||char(9)||'1','5'),"
         "(cast(x'73700032' as text),'7'),('sp','9')");  // a tab, a NUL
    const store::RecordSet codes = db.query("select 商品编号 from 库存表 order by rowid limit 2");
    ASSERT_EQ(codes.rowCount(), 2u);
    const QString tab = codes.cell(0, 0), nul = codes.cell(1, 0);
    ASSERT_EQ(tab, "sp\t1");
    ASSERT_EQ(nul, QString("sp") + QChar(0) + "2");
    const QString stockOf = "select 实际库存 from 库存表 where 商品编号=?";
    EXPECT_EQ(rows(stockOf, {tab}), QStringList{"5"});
    EXPECT_EQ(rows(stockOf, {nul}), QStringList{"7"});
    QStringList stepped;
    EXPECT_TRUE(db.forEachRow(stockOf, {nul}, [&](const store::Row& row) {
        stepped << QString::fromUtf8(row.bytes(0));
    }));
    EXPECT_EQ(stepped, QStringList{"7"});
    for (const QString& missing : {QString("sp\t2"), QString("sp") + QChar(0)}) {
        const store::RecordSet none = db.query(stockOf, {missing});
        EXPECT_TRUE(none.isEmpty());
        EXPECT_FALSE(none.failed());
    }

    const QStringList before = rows("select 商品编号,实际库存 from 库存表");
    EXPECT_FALSE(db.execute("insert into 库存表(商品编号)values(?)", {"sp\t3"}));
    EXPECT_FALSE(db.execute("update 库存表 set 实际库存=? where 商品编号='sp'", {QString("0") + QChar(0)}));
    EXPECT_EQ(rows("select 商品编号,实际库存 from 库存表"), before);
}

TEST_F(DatabaseTest, OpensOnlyWithTheDatabasePassword) {
    const QString path = store::databaseFilePath(folder.path());
    db.close();
    store::Database other;
    EXPECT_FALSE(other.open(path, "admin", "wrong"));
    EXPECT_FALSE(other.open(path, "admin", ""));
    EXPECT_FALSE(other.isOpen());
    EXPECT_TRUE(other.open(path, "admin", store::kDatabasePassword));
    EXPECT_EQ(other.query("select count(*) from 用户管理模块").text(1), "1");

    const QString junk = folder.filePath("junk.gbk");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    EXPECT_FALSE(other.open(junk, "admin", store::kDatabasePassword));
}

TEST_F(DatabaseTest, RepeatedStatementsReuseTheirPreparedFormWithFreshValues) {
    for (int i = 0; i < 3; ++i) exec("insert into 商品资料(编号)values(?)", {QString::number(i)});
    EXPECT_EQ(rows("select 编号 from 商品资料 where 编号=?", {"1"}), QStringList{"1"});
    EXPECT_EQ(rows("select 编号 from 商品资料 where 编号=?", {"2"}), QStringList{"2"});
}

// A lock another program holds for a moment is waited out, not failed, also by a transaction
// that reads before it writes; one held longer than the timeout fails the transaction at once.
TEST_F(DatabaseTest, ATransactionWaitsForAShortLockAndFailsAtALongOne) {
    const QString path = store::databaseFilePath(folder.path());
    const auto readThenWrite = [&](const QString& discount) {
        if (!db.begin()) return false;
        const bool written = !db.query("select 折扣 from 系统设置").failed() &&
                             db.execute("update 系统设置 set 折扣=? where id='1'", {discount});
        return written ? db.commit() : (db.rollback(), false);
    };
    {
        test::LockHolder holder(path, test::Lock::Write);
        QElapsedTimer waited;
        waited.start();
        holder.letGoIn(300);
        EXPECT_TRUE(readThenWrite("9"));
        EXPECT_GT(waited.elapsed(), 250);
    }
    EXPECT_EQ(rows("select 折扣 from 系统设置"), QStringList{"9"});
    db.setBusyTimeout(100);
    {
        test::LockHolder holder(path, test::Lock::Exclusive);
        EXPECT_FALSE(readThenWrite("8"));
        EXPECT_TRUE(db.query("select 折扣 from 系统设置").failed());
    }
    EXPECT_EQ(rows("select 折扣 from 系统设置"), QStringList{"9"});
}

// Rows past one block, and a cell larger than a block, read back as they were written.
TEST_F(DatabaseTest, LargeSetsReadBackEveryCellAcrossTheirBlocks) {
    ASSERT_TRUE(db.begin());
    for (int i = 0; i < 30000; ++i)
        exec("insert into 入库管理总模块(ID,入库单编号,商品总件数,备注)values(?,?,?,?)",
             {QString::number(i), "rk" + QString::number(i), QString::number(i % 3),
              i == 12345 ? QString(1500000, u'长') : QString()});
    ASSERT_TRUE(db.commit());
    const store::RecordSet set = db.query("select ID,入库单编号,商品总件数,备注 from 入库管理总模块");
    ASSERT_EQ(set.rowCount(), 30000u);
    for (size_t row : {size_t(0), size_t(12344), size_t(12345), size_t(12346), size_t(29999)}) {
        EXPECT_EQ(set.cell(row, 1), "rk" + QString::number(row));
        EXPECT_EQ(set.cell(row, 2), QString::number(row % 3));
        EXPECT_EQ(set.cell(row, 3).size(), row == 12345 ? 1500000 : 0);
    }
    EXPECT_EQ(set.distinctRows(2), (std::vector<uint32_t>{0, 1, 2}));
    const store::RecordSet ones = set.rowsWhere({2}, {"1"});
    ASSERT_EQ(ones.rowCount(), 10000u);
    EXPECT_EQ(ones.cell(0, 1), "rk1");
    EXPECT_EQ(ones.cell(9999, 1), "rk29998");
}
