#include "sales/bill.h"
#include "sales_fixture.h"
#include "store/schema.h"

#include <QFile>

namespace {

class CheckoutStockTest : public test::ShopTest {
protected:
    void sell(const QString& code, const QString& quantity) {
        exec("insert into 销售模块(销售编号,销售单号,商品编号,数量,状态)values(?,?,?,?,?)",
             {"xsbh1", "xs1", code, quantity, "未确认"});
    }
};

TEST_F(CheckoutStockTest, OnlyTheFirstStockRowOfASharedCodeMoves) {
    ASSERT_TRUE(test::insertProduct(db, {"sp1", "m1", "b1", "k1", "A", "75", "红", "199", "10"}));
    exec("insert into 库存表(商品编号,销售出库,实际库存)values(?,?,?)", {"sp1", "4", "7"});
    sell("sp1", "3");
    EXPECT_EQ(test::payAsStored(db, "xs1"), "");
    EXPECT_EQ(rows("select 销售出库,实际库存 from 库存表 order by rowid"),
              (QStringList{"3|7", "4|7"}));
}

// Another program stored a product code holding a tab: the checkout finds its stock row by the
// code as it stands.
TEST_F(CheckoutStockTest, AProductCodeWithAControlCharacterIsDeductedAsItStands) {
    exec("insert into 库存表(商品编号,销售出库,实际库存)values('sp'||char(9)||'1','0','10')");
    exec("insert into 销售模块(销售编号,销售单号,商品编号,数量,状态)"
         "values('xsbh1','xs1','sp'||char(9)||'1',2,'未确认')");
    EXPECT_EQ(test::payAsStored(db, "xs1"), "");
    EXPECT_EQ(rows("select 销售出库,实际库存 from 库存表"), QStringList{"2|8"});
}

// Each stock figure moves exactly, its fifteenth digit included, and a large one is written out
// in full; one that would need more digits is never written rounded: the checkout fails and
// writes nothing.
TEST_F(CheckoutStockTest, StockMovesExactlyOrTheCheckoutFails) {
    const struct {
        QString soldOut, actual, sold;
        QString after;  // 销售出库|实际库存, or "" when the checkout fails
    } cases[] = {
        {"0", "123456789012345", "1", "1|123456789012344"},
        {"0", "99999999.9999999", "1", "1|99999998.9999999"},
        {"0.3", "300.7", "300", "300.3|0.7"},
        {"", "", "2", "2|-2"},
        {"0", "1e20", "100000", "100000|99999999999999900000"},
        {"999999999999999", "5", "1", "1000000000000000|4"},
        {"0", "1e50", "1", ""},
        {"0.000001", "10", "2000000000", ""},
        {"0", "12345678901234567", "1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.soldOut + " / " + c.actual + " - " + c.sold).toStdString());
        exec("delete from 库存表");
        exec("delete from 销售模块");
        exec("insert into 库存表(商品编号,销售出库,实际库存)values(?,?,?)", {"sp1", c.soldOut, c.actual});
        sell("sp1", c.sold);
        EXPECT_EQ(test::payAsStored(db, "xs1"), c.after.isEmpty() ? "扣减库存失败" : "");
        EXPECT_EQ(rows("select 销售出库,实际库存 from 库存表"),
                  QStringList{c.after.isEmpty() ? c.soldOut + "|" + c.actual : c.after});
        EXPECT_EQ(rows("select 状态 from 销售模块"), QStringList{c.after.isEmpty() ? "未确认" : "已买单"});
    }
}

// The file alone is the shop's books: nothing committed waits in a journal beside it.
TEST_F(CheckoutStockTest, ACopyOfTheFileTakenRightAfterACheckoutHoldsIt) {
    ASSERT_TRUE(test::insertProduct(db, {"sp1", "m1", "b1", "k1", "A", "75", "红", "199", "10"}));
    sell("sp1", "2");
    ASSERT_EQ(test::payAsStored(db, "xs1"), "");

    const QString copy = folder.filePath("copy.gbk");
    ASSERT_TRUE(QFile::copy(store::databaseFilePath(folder.path()), copy));
    store::Database copied;
    ASSERT_TRUE(copied.open(copy, store::kDatabaseUser, store::kDatabasePassword));
    EXPECT_EQ(copied.query("select 状态 from 销售模块").text(1), "已买单");
    EXPECT_EQ(copied.query("select 实际库存 from 库存表").text(1), "8");
}

// Another program reading the file past the wait keeps the commit from going through: the
// checkout reports its failure, nothing of it stays, and no transaction is left open.
TEST_F(CheckoutStockTest, ACommitThatCannotGoThroughIsReportedAndTakenBack) {
    ASSERT_TRUE(test::insertProduct(db, {"sp1", "m1", "b1", "k1", "A", "75", "红", "199", "10"}));
    sell("sp1", "2");
    {
        store::Database reader;
        ASSERT_TRUE(reader.open(store::databaseFilePath(folder.path()), store::kDatabaseUser,
                                store::kDatabasePassword));
        ASSERT_TRUE(reader.begin());
        ASSERT_FALSE(reader.query("select * from 销售模块").isEmpty());  // holds its read lock
        EXPECT_EQ(test::payAsStored(db, "xs1"), "数据库写入失败！");
    }
    EXPECT_EQ(rows("select 状态 from 销售模块"), QStringList{"未确认"});
    EXPECT_EQ(rows("select 实际库存 from 库存表"), QStringList{"10"});
    EXPECT_TRUE(db.begin());
    EXPECT_TRUE(db.rollback());
}

}  // namespace
