#include "store/table_rows.h"
#include "store/schema.h"
#include "support/child_roles.h"
#include "support/fixture.h"

#include <functional>

namespace {

// Every cell of the set, row by row, as "|"-joined texts.
QStringList cellsOf(const store::RecordSet& set) {
    QStringList rows;
    for (size_t row = 0; row < set.rowCount(); ++row) {
        QStringList cells;
        for (size_t column = 0; column < set.columnCount(); ++column) cells << set.cell(row, column);
        rows << cells.join("|");
    }
    return rows;
}

}  // namespace

class TableRowsTest : public test::ShopTest {
protected:
    void product(const QString& code, const QString& name = "文胸") {
        exec("insert into 商品资料(编号,助记码,品名)values(?,?,?)", {code, "m" + code, name});
    }
    // The kept rows, brought up to date, against a fresh read of the whole table.
    void expectInStep(const char* step) {
        const store::RecordSet kept = products.rows();
        const store::RecordSet fresh = db.query("select * from 商品资料");
        ASSERT_EQ(kept.columnCount(), fresh.columnCount()) << step;
        EXPECT_EQ(cellsOf(kept), cellsOf(fresh)) << step;
    }

    store::TableRows products{db, "商品资料"};
};

TEST_F(TableRowsTest, WritesOfAFewRowsKeepTheRowsOfAFullRead) {
    for (int i = 0; i < 6; ++i) product("sp" + QString::number(i));
    product("sp2");  // a second product with the code sp2
    expectInStep("first read");
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"insert", [&] { product("sp9"); }},
        {"update of two rows sharing a code",
         [&] { exec("update 商品资料 set 品名=? where 编号=?", {"内裤", "sp2"}); }},
        {"delete from the middle", [&] { exec("delete from 商品资料 where 编号=?", {"sp3"}); }},
        {"delete of the last row, then an insert that takes its rowid",
         [&] {
             exec("delete from 商品资料 where 编号=?", {"sp9"});
             product("sp10");
         }},
        {"an insert rolled back",
         [&] {
             ASSERT_TRUE(db.begin());
             product("sp11");
             ASSERT_TRUE(db.rollback());
         }},
        {"a delete and a change rolled back",
         [&] {
             ASSERT_TRUE(db.begin());
             exec("delete from 商品资料 where 编号=?", {"sp1"});
             exec("update 商品资料 set 品名=? where 编号=?", {"睡衣", "sp4"});
             ASSERT_TRUE(db.rollback());
         }},
        {"an insert read inside its transaction, then rolled back",
         [&] {
             ASSERT_TRUE(db.begin());
             product("sp12");
             products.rows();
             ASSERT_TRUE(db.rollback());
         }},
        {"a row written twice", [&] {
             exec("update 商品资料 set 品名=? where 编号=?", {"a", "sp0"});
             exec("update 商品资料 set 品名=? where 编号=?", {"b", "sp0"});
         }},
        {"many rows at once",
         [&] {
             ASSERT_TRUE(db.begin());
             for (int i = 100; i < 700; ++i) product("sp" + QString::number(i));
             ASSERT_TRUE(db.commit());
         }},
        {"every row deleted", [&] { exec("delete from 商品资料"); }},
        {"a row after the table was emptied", [&] { product("sp1000"); }},
        {"the file opened anew, then a write",
         [&] {
             ASSERT_TRUE(db.open(store::databaseFilePath(folder.path()), store::kDatabaseUser,
                                 store::kDatabasePassword));
             product("sp1001");
         }},
    };
    for (const auto& [name, write] : steps) {
        write();
        expectInStep(name);
    }
}

TEST_F(TableRowsTest, AnUnchangedTableGivesTheSameRowsWithoutReadingThem) {
    product("sp1");
    const store::RecordSet first = products.rows();
    exec("insert into 销售模块(销售编号)values(?)", {"xsbh1"});  // another table
    const store::RecordSet second = products.rows();
    EXPECT_EQ(&first.cellBytes(0, 0)[0], &second.cellBytes(0, 0)[0]);
}

// Another program's write shows at the next look, as a full read would show it.
TEST_F(TableRowsTest, AnotherProgramsWriteIsReadToo) {
    product("sp1");
    expectInStep("first read");
    store::Database other;
    ASSERT_TRUE(other.open(store::databaseFilePath(folder.path()), store::kDatabaseUser,
                           store::kDatabasePassword));
    ASSERT_TRUE(other.execute("insert into 商品资料(编号)values(?)", {"sp-other"}));
    expectInStep("another program's insert");
    EXPECT_EQ(products.rows().rowCount(), 2u);
}

// While another program keeps the file from being read, the kept rows say the read failed rather
// than give a table without the rows written since; once it lets go, they are all there.
TEST_F(TableRowsTest, AReadThatFailsUnderAnotherProgramsLockIsAFailureNotLostRows) {
    product("sp1");
    expectInStep("first read");
    product("sp2");
    db.setBusyTimeout(100);
    {
        test::LockHolder holder(store::databaseFilePath(folder.path()), test::Lock::Exclusive);
        const store::RecordSet kept = products.rows();
        EXPECT_TRUE(kept.failed());
        EXPECT_TRUE(kept.isEmpty());
    }
    expectInStep("after the lock");
    EXPECT_EQ(products.rows().rowCount(), 2u);
}
