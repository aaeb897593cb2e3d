#include "support/fixture.h"

class DistinctTextsTest : public test::ShopTest {};

// Values in the order of their first row, whatever their hashes.
TEST_F(DistinctTextsTest, DistinctValuesComeOnceInTheOrderOfTheirFirstRow) {
    const store::RecordSet set = db.query(
        "with recursive n(i) as (select 0 union all select i + 1 from n where i < 4999) "
        "select case when i % 101 = 0 then '' else 'v' || (i * 7919 % 613) end from n");
    QStringList expected;
    for (int i = 0; i < 5000; ++i) {
        const QString value = i % 101 == 0 ? QString() : "v" + QString::number(i * 7919 % 613);
        if (!expected.contains(value)) expected << value;
    }
    EXPECT_EQ(set.distinctTexts(0), expected);
    EXPECT_EQ(store::RecordSet().distinctTexts(0), QStringList());
}
