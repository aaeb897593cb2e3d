#include "store/free_numbers.h"
#include "store/stamps.h"
#include "support/fixture.h"

using store::NumberKind;
using store::takeFreeNumber;

namespace {

struct Kind {
    NumberKind kind;
    QString prefix;
    std::vector<std::pair<QString, QString>> inUse;  // table, column
};

const Kind kKinds[] = {
    {NumberKind::ProductCode, "sp", {{"商品资料", "编号"}, {"库存表", "商品编号"}}},
    {NumberKind::ReceiptNumber, "rk", {{"入库管理模块", "入库单号"}, {"入库管理总模块", "入库单编号"}}},
    {NumberKind::ReceiptHeaderId, "", {{"入库管理总模块", "ID"}}},
    {NumberKind::ReceiptLineId, "", {{"入库管理模块", "入库编号"}}},
    {NumberKind::BillNumber, "xs", {{"销售模块", "销售单号"}, {"销售管理总模块", "销售单号"}}},
    {NumberKind::BillLineId, "xsbh", {{"销售模块", "销售编号"}}},
    {NumberKind::BillHeaderNumber, "xsz", {{"销售管理总模块", "编号"}}},
};

}  // namespace

class FreeNumbersTest : public test::ShopTest {
protected:
    QString take(NumberKind kind, const QStringList& held = {}) {
        return takeFreeNumber(db, clock, kind, held).value_or("(none)");
    }
    void store(const std::pair<QString, QString>& column, const QString& number) {
        exec(QString("insert into %1(%2) values(?)").arg(column.first, column.second), {number});
    }
    void clearAll() {
        for (const char* table : {"商品资料", "库存表", "入库管理模块", "入库管理总模块", "销售模块",
                                  "销售管理总模块"})
            exec(QString("delete from ") + table);
    }
};

// Each column that holds numbers of a kind counts; a number that starts like the one made but
// goes on is another number and leaves it free.
TEST_F(FreeNumbersTest, ANumberInUseIsMadeUniqueKeepingItsForm) {
    for (const Kind& k : kKinds) {
        const QString made = store::makeDocumentNumber(clock, k.prefix);
        SCOPED_TRACE(made.toStdString());
        clearAll();
        EXPECT_EQ(take(k.kind), made);  // as made: files and readers see no change
        for (const auto& column : k.inUse) {
            SCOPED_TRACE(column.second.toStdString());
            clearAll();
            for (const QString& other : {made + "0", made + "-2x", "x" + made}) store(column, other);
            EXPECT_EQ(take(k.kind), made);
            store(column, made);
            EXPECT_EQ(take(k.kind), made + "-2");
            store(column, made + "-2");
            store(column, made + "-4");
            EXPECT_EQ(take(k.kind), made + "-3");
            EXPECT_EQ(take(k.kind, {made + "-3"}), made + "-5");
        }
    }
}

TEST_F(FreeNumbersTest, ANumberAnOpenWindowHoldsIsInUse) {
    EXPECT_EQ(take(NumberKind::BillNumber, {"xs20240305953"}), "xs20240305953-2");
    EXPECT_EQ(take(NumberKind::BillNumber, {"xs20240305953", "xs20240305953-2"}),
              "xs20240305953-3");
    EXPECT_EQ(take(NumberKind::BillNumber, {""}), "xs20240305953");
}

// 2:05:27 and 2:52:07 give one time stamp.
TEST_F(FreeNumbersTest, ATimeStampThatRepeatsWithinTheDayGivesANewNumber) {
    clock.set(QDateTime(QDate(2026, 12, 11), QTime(2, 52, 7)));
    exec("insert into 销售模块(销售单号) values(?)", {take(NumberKind::BillNumber)});
    clock.set(QDateTime(QDate(2026, 12, 11), QTime(2, 5, 27)));
    EXPECT_EQ(take(NumberKind::BillNumber), "xs202612112527-2");
}

// A number is never taken on a read that failed: it might be the one in use.
TEST_F(FreeNumbersTest, AFailedReadGivesNoNumber) {
    for (const Kind& k : kKinds) {
        for (const auto& column : k.inUse) {
            SCOPED_TRACE(column.first.toStdString());
            exec(QString("alter table %1 rename to 别名").arg(column.first));
            EXPECT_EQ(takeFreeNumber(db, clock, k.kind), std::nullopt);
            exec(QString("alter table 别名 rename to %1").arg(column.first));
            EXPECT_NE(takeFreeNumber(db, clock, k.kind), std::nullopt);
        }
    }
}
