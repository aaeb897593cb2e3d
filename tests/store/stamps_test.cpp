#include "store/stamps.h"

#include <gtest/gtest.h>

using namespace store;

TEST(Stamps, DateStampPadsMonthAndDayButNotTheYear) {
    EXPECT_EQ(toDateStamp(QDate(2024, 3, 5)), "20240305");
    EXPECT_EQ(toDateStamp(QDate(2024, 12, 28)), "20241228");
    EXPECT_EQ(toDateStamp(QDate(2025, 1, 1)), "20250101");
}

TEST(Stamps, TimeStampDropsLeadingZeros) {
    const struct {
        QTime time;
        const char* stamp;
    } cases[] = {
        {QTime(9, 5, 3), "953"},    {QTime(23, 59, 59), "235959"}, {QTime(0, 0, 0), "000"},
        {QTime(10, 0, 0), "1000"},  {QTime(1, 11, 5), "1115"},     {QTime(11, 1, 5), "1115"},
    };
    for (const auto& c : cases) EXPECT_EQ(toTimeStamp(c.time), QString(c.stamp)) << c.stamp;
}

TEST(Stamps, DocumentNumberTakesOneReadingOfTheClock) {
    FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(9, 5, 3)));
    EXPECT_EQ(makeDocumentNumber(clock, "rk"), "rk20240305953");
    EXPECT_EQ(makeDocumentNumber(clock, "sp"), makeDocumentNumber(clock, "sp"));
    EXPECT_EQ(makeDateStamp(clock), "20240305");
    EXPECT_EQ(makeTimeStamp(clock), "953");
    // One reading per number: a clock that moves between the date and the time parts would
    // give a stamp of one day with the time of the next.
    struct TickingClock : Clock {
        mutable int readings = 0;
        QDateTime now() const override {
            return ++readings == 1 ? QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59))
                                   : QDateTime(QDate(2025, 1, 1), QTime(0, 0, 0));
        }
    } ticking;
    EXPECT_EQ(makeDocumentNumber(ticking, "xs"), "xs20241231235959");
}
