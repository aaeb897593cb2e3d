#include "support/fixture.h"

class DistinctRowsTest : public test::ShopTest {
protected:
    static QStringList texts(const store::RecordSet& set, const std::vector<uint32_t>& rows) {
        QStringList result;
        for (uint32_t row : rows) result << set.cell(row, 0);
        return result;
    }
};

// 5 000 rows of 614 values: empty, ASCII, Chinese, full-width and beyond the 16-bit plane, where
// UTF-16 and UTF-8 order differ. SQLite itself says what each order is.
TEST_F(DistinctRowsTest, EachValueOnceInTheOrderOfItsFirstRowOrOfItsBytes) {
    const QString values =
        "with recursive n(i) as (select 0 union all select i + 1 from n where i < 4999) "
        "select i, case when i % 101 = 0 then '' "
        "else substr('v蕾Ａ😀', 1 + i % 4, 1) || (i * 7919 % 613) end as v from n";
    // Alone, and behind a prefix every value shares.
    for (const QString& value : {QString("v"), QString("'文胸k' || v")}) {
        SCOPED_TRACE(value.toStdString());
        const QString column = "select " + value + " as w, i from (" + values + ")";
        const store::RecordSet set = db.query("select w from (" + column + ")");
        ASSERT_EQ(set.rowCount(), 5000u);
        EXPECT_EQ(texts(set, set.distinctRows(0)),
                  rows("select w from (" + column + ") group by w order by min(i)"));
        EXPECT_EQ(texts(set, set.sortedDistinctRows(0)),
                  rows("select distinct w from (" + column + ") order by w"));
    }
    EXPECT_TRUE(store::RecordSet().sortedDistinctRows(0).empty());
}
