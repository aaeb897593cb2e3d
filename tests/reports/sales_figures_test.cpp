#include "reports/sales_figures.h"
#include "reports_fixture.h"

using reports::DateBounds;

namespace {

DateBounds range(const QString& start, const QString& end) { return {end, start, "20240305"}; }

}  // namespace

class SalesFiguresTest : public test::ReportsTest {};

TEST(ShareText, IsCutAfterFiveCharactersNeverRounded) {
    const struct {
        QString part, total, share;
    } cases[] = {
        {"1", "3", "33.33%"}, {"2", "3", "66.66%"}, {"1", "8", "12.5%"}, {"1", "7", "14.28%"},
        {"5", "5", "100%"},   {"0", "7", "0%"},     {"", "7", "0%"},     {"3", "4", "75%"},
        // A total of nothing: no division, no "nan" or "inf".
        {"1", "0", "0%"},     {"", "", "0%"},       {"0", "0", "0%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reports::shareText(c.part, c.total), c.share) << c.part.toStdString() << "/"
                                                                << c.total.toStdString();
}

TEST_F(SalesFiguresTest, BoundsAreFormedEndFirstAndTheStartIsTestedFirst) {
    const DateBounds bounds = reports::makeBounds(QDate(2024, 3, 1), QDate(2024, 3, 5), clock);
    EXPECT_EQ(bounds.end, "20240305");
    EXPECT_EQ(bounds.start, "20240301");
    EXPECT_EQ(bounds.today, "20240305");
    const struct {
        QDate start, end;
        QString problem;
    } cases[] = {
        {QDate(2024, 3, 5), QDate(2024, 3, 5), ""},
        {QDate(2024, 3, 4), QDate(2024, 2, 1), ""},  // a start after the end is not tested
        {QDate(2024, 3, 6), QDate(2024, 3, 7), "开始日期不能超过今天！"},
        {QDate(2024, 3, 6), QDate(2024, 3, 1), "开始日期不能超过今天！"},
        {QDate(2024, 3, 1), QDate(2024, 3, 6), "结束日期不能超过今天！"},
        {QDate(2023, 3, 1), QDate(2025, 1, 1), "结束日期不能超过今天！"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reports::boundsProblem(reports::makeBounds(c.start, c.end, clock)), c.problem)
            << c.start.toString().toStdString() << " " << c.end.toString().toStdString();
}

TEST_F(SalesFiguresTest, TheExampleGivesTotalsAndBestSellersWithTiesToTheFirst) {
    sellTheExample();
    const reports::RangeTotals totals = reports::rangeTotals(db, range("20240301", "20240305")).value();
    EXPECT_EQ(totals.amount, "100");
    EXPECT_EQ(totals.quantity, "4");
    const reports::BestSellers best = reports::bestSellers(db, range("20240301", "20240305")).value();
    EXPECT_EQ(best.byQuantityCode, "A");
    EXPECT_EQ(best.quantity, "3");
    EXPECT_EQ(best.byAmountCode, "A");  // A and B both 50: the first returned
    EXPECT_EQ(best.amount, "50");
}

// Both bounds count; unpaid lines, lines outside the range and a start after the end do not.
TEST_F(SalesFiguresTest, RangesIncludeBothBoundsAndOnlyPaidLines) {
    sellTheExample();
    sell({{"20240229", "C", "7", "70"}, {"20240303", "C", "9", "90", "未确认"},
          {"20240306", "C", "9", "90"}});
    const struct {
        QString start, end, amount, quantity, best, bestQuantity;
    } cases[] = {
        {"20240301", "20240305", "100", "4", "A", "3"},
        {"20240302", "20240304", "50", "1", "B", "1"},
        {"20240305", "20240305", "20", "1", "A", "1"},
        {"20240229", "20240301", "100", "9", "C", "7"},
        {"20240310", "20240301", "", "", "", ""},
        {"20240303", "20240304", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start.toStdString() + "-" + c.end.toStdString());
        const reports::RangeTotals totals = reports::rangeTotals(db, range(c.start, c.end)).value();
        EXPECT_EQ(totals.amount, c.amount);
        EXPECT_EQ(totals.quantity, c.quantity);
        const reports::BestSellers best = reports::bestSellers(db, range(c.start, c.end)).value();
        EXPECT_EQ(best.byQuantityCode, c.best);
        EXPECT_EQ(best.quantity, c.bestQuantity);
    }
}

// A long range and a short one: right figures either way.
TEST_F(SalesFiguresTest, BestSellersAreRightWhicheverIndexReadsThem) {
    for (int day = 1; day <= 20; ++day)
        sell({QStringLiteral("202402%1").arg(day, 2, 10, QChar('0')), day == 20 ? "Z" : "Y", "1",
              day == 20 ? "500" : "10"});
    const reports::BestSellers wide = reports::bestSellers(db, range("20240201", "20240229")).value();
    const reports::BestSellers narrow = reports::bestSellers(db, range("20240220", "20240220")).value();
    EXPECT_EQ(wide.byQuantityCode + wide.quantity + wide.byAmountCode + wide.amount, "Y19Z500");
    EXPECT_EQ(narrow.byQuantityCode + narrow.quantity + narrow.byAmountCode + narrow.amount,
              "Z1Z500");
}

// Whole years and months are read from their sums, the days at either end from the lines: every
// range gives what one grouping over the lines gives, ties going to the first code.
TEST_F(SalesFiguresTest, BestSellersEqualOneGroupingOverTheLinesForEveryRange) {
    const char* codes[] = {"A", "B", "C", "", "D"};
    QDate day(2023, 11, 20);
    for (int n = 0; day <= QDate(2025, 2, 10); ++n, day = day.addDays(n % 3 ? 1 : 2)) {
        const QString quantity = n % 11 == 0 ? "" : QString::number(n * 7 % 5 + 1);
        const QString amount = n % 13 == 0 ? "" : QString::number(n * 37 % 40 * 0.25);
        exec("insert into 销售模块(销售时间,商品编号,数量,小计,状态)values(?,?,nullif(?,''),"
             "nullif(?,''),?)",
             {day.toString("yyyyMMdd"), codes[n * 3 % 5], quantity, amount,
              n % 9 == 0 ? "未确认" : "已买单"});
    }
    exec("insert into 销售模块(销售时间,数量,小计,状态)values(20240229,9,99.5,'已买单')");  // no code
    const auto grouped = [&](const char* figure, const QString& start, const QString& end) {
        const QStringList best = rows(
            QString("select 商品编号,sum(%1) a from 销售模块 where 状态='已买单' and 销售时间>=? and "
                    "销售时间<=? group by 商品编号 order by a desc,商品编号 limit 1").arg(figure),
            {start, end});
        return best.isEmpty() ? QString("|") : best[0];
    };
    const struct {
        QString start, end;
    } ranges[] = {
        {"20240101", "20241231"}, {"20240101", "20241230"}, {"20231231", "20250101"},
        {"20231101", "20250228"}, {"20231215", "20250131"}, {"20240201", "20240229"},
        {"20240201", "20240228"}, {"20240229", "20240331"}, {"20240301", "20240531"},
        {"20240115", "20240210"}, {"20240101", "20250131"}, {"20240229", "20240229"},
        {"20240310", "20240301"}, {"20260101", "20261231"}, {"20240301", "20241231"},
        {"20240215", "20241115"},
    };
    for (const auto& r : ranges) {
        SCOPED_TRACE(r.start.toStdString() + "-" + r.end.toStdString());
        const reports::BestSellers best = reports::bestSellers(db, range(r.start, r.end)).value();
        EXPECT_EQ(best.byQuantityCode + "|" + best.quantity, grouped("数量", r.start, r.end));
        EXPECT_EQ(best.byAmountCode + "|" + best.amount, grouped("小计", r.start, r.end));
    }
}

// Most of a year is the year's sums less the days left out: a product sold only on those days
// is no group at all, not one of no pieces.
TEST_F(SalesFiguresTest, AProductSoldOnlyOutsideMostOfAYearIsNoGroup) {
    sell({"20240105", "Q", "5", "10"});
    exec("insert into 销售模块(销售时间,商品编号,状态)values(20240601,'R','已买单')");
    const reports::BestSellers best = reports::bestSellers(db, range("20240201", "20241231")).value();
    EXPECT_EQ(best.byQuantityCode + "|" + best.quantity + "|" + best.byAmountCode + "|" + best.amount,
              "R||R|");
}

// Another program wrote dates with a fraction, which lie between two days: a range that begins
// or ends next to one counts it only where the comparison with the bounds does, whether the
// range is read as months and days or as a year less the days it leaves out.
TEST_F(SalesFiguresTest, BestSellersCountDatesWithAFractionAsTheyCompareAtBothEnds) {
    exec("drop trigger 销售模块_INSERT_types");
    sell({{"20240305.5", "A", "48", "4.8"}, {"20240310", "A", "10", "1"}, {"20240601", "B", "30", "3"},
          {"20241105.5", "A", "25", "2.5"}, {"20241106", "B", "1", "0.1"}, {"20240301.5", "B", "2", "0.2"}});
    const struct {
        QString start, end, best;  // by quantity and by amount, then the totals
    } cases[] = {
        {"20240306", "20241231", "A|35 A|3.5 66|6.6"},  // most of a year, taking off 1 to 5 March
        {"20240305", "20241231", "A|83 A|8.3 114|11.4"},
        {"20240101", "20241105", "A|58 A|5.8 90|9"},    // most of a year, taking off 6 November on
        {"20240101", "20241106", "A|83 A|8.3 116|11.6"},
        {"20240306", "20241105", "B|30 B|3 40|4"},
        {"20240306", "20240331", "A|10 A|1 10|1"},      // a month less its first days
        {"20240301", "20240305", "B|2 B|0.2 2|0.2"},    // the first days of a month
        {"20240305", "20240331", "A|58 A|5.8 58|5.8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start.toStdString() + "-" + c.end.toStdString());
        const reports::BestSellers best = reports::bestSellers(db, range(c.start, c.end)).value();
        const reports::RangeTotals totals = reports::rangeTotals(db, range(c.start, c.end)).value();
        EXPECT_EQ((best.byQuantityCode + "|" + best.quantity + " " + best.byAmountCode + "|" + best.amount +
                   " " + totals.quantity + "|" + totals.amount)
                      .toStdString(),
                  c.best.toStdString());
    }
}

// Sums that cannot be read give way to the lines; a read of the lines that fails is no figure.
TEST_F(SalesFiguresTest, UnreadableSumsGiveWayToTheLinesAndAFailedReadIsNoFigure) {
    sell({{"20240105", "Q", "5", "10"}, {"20240601", "R", "1", "1.5"}});
    for (const char* table : {"销售年单品汇总", "销售日汇总"}) exec(QString("drop table ") + table);
    const DateBounds year = range("20240101", "20241231");
    const std::optional<reports::BestSellers> best = reports::bestSellers(db, year);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->byQuantityCode + best->quantity + best->byAmountCode + best->amount, "Q5Q10");
    const std::optional<reports::RangeTotals> totals = reports::rangeTotals(db, year);
    ASSERT_TRUE(totals);
    EXPECT_EQ(totals->amount + "|" + totals->quantity, "11.5|6");
    EXPECT_EQ(reports::salespersonAmount(db, "张三", year), "11.5");
    exec("drop table 销售模块");
    EXPECT_FALSE(reports::rangeTotals(db, year));
    EXPECT_FALSE(reports::bestSellers(db, year));
    EXPECT_FALSE(reports::productSales(db, "Q", year));
    EXPECT_FALSE(reports::salespersonAmount(db, "张三", year));
}

// 0.1+0.2+0.3 and 0.3+0.3 both read 0.6: a tie, to the first code, though the binary sums differ.
TEST_F(SalesFiguresTest, AmountsThatReadAlikeTieWhateverOrderTheyWereAddedIn) {
    sell({{"20240301", "B", "1", "0.1"}, {"20240302", "B", "1", "0.2"}, {"20240303", "B", "1", "0.3"},
          {"20240301", "A", "1", "0.3"}, {"20240303", "A", "1", "0.3"}});
    for (const char* end : {"20240331", "20240330"}) {  // from the month's sums, from the lines
        const reports::BestSellers best = reports::bestSellers(db, range("20240301", end)).value();
        EXPECT_EQ(best.byAmountCode + "|" + best.amount, "A|0.6") << end;
    }
}

TEST_F(SalesFiguresTest, ProductAndSalespersonSalesInTheRange) {
    sellTheExample();
    sell({{"20240303", "B", "4", "40", "已买单", "李四"}, {"20240304", "A", "5", "99", "未确认"}});
    const DateBounds march = range("20240301", "20240305");
    const reports::ProductSales a = reports::productSales(db, "A", march).value();
    EXPECT_EQ(a.amount + "|" + a.quantity, "50|3");
    const reports::ProductSales none = reports::productSales(db, "A'", march).value();
    EXPECT_EQ(none.amount + "|" + none.quantity, "|");
    EXPECT_EQ(reports::salespersonAmount(db, "张三", march).value(), "100");
    EXPECT_EQ(reports::salespersonAmount(db, "李四", march).value(), "40");
    EXPECT_EQ(reports::salespersonAmount(db, "李四", range("20240301", "20240302")).value(), "");
    EXPECT_EQ(reports::salespersonAmount(db, "", march).value(), "");
    EXPECT_EQ(reports::salespersonAmount(db, "张'三", march).value(), "");
}

TEST_F(SalesFiguresTest, CombosListPaidLinesOfEveryDateOnce) {
    sellTheExample();
    sell({{"20200101", "C", "1", "1", "已买单", "李四"}, {"20240301", "D", "1", "1", "未确认", "王五"}});
    const auto values = [](const store::RecordSet& set) {
        QStringList all;
        for (size_t row = 0; row < set.rowCount(); ++row) all << set.cell(row, 0);
        all.sort();
        return all;
    };
    EXPECT_EQ(values(reports::paidProductCodes(db)), QStringList({"A", "B", "C"}));
    EXPECT_EQ(values(reports::paidSalespeople(db)), QStringList({"张三", "李四"}));
    // Codes as the lines themselves list them, in their order: a line without a code, one
    // without a date, one product sold in several years.
    sell({"20230101", "A", "1", "1"});
    exec("insert into 销售模块(商品编号,状态)values('E','已买单')");
    exec("insert into 销售模块(销售时间,状态)values(20240301,'已买单')");
    const store::RecordSet codes = reports::paidProductCodes(db);
    QStringList listed;
    for (size_t row = 0; row < codes.rowCount(); ++row) listed << codes.cell(row, 0);
    EXPECT_EQ(listed, rows("select distinct 商品编号 from 销售模块 where  状态='已买单'"));
    EXPECT_EQ(listed, QStringList({"", "A", "B", "C", "E"}));
}

// Each statement over the bill lines reads the index meant for it.
TEST_F(SalesFiguresTest, StatementsUseTheirIndexes) {
    const auto plan = [&](const QString& sql) {
        return rows("explain query plan " + sql, {"A", "20240301", "20240305"}).join(" ");
    };
    EXPECT_TRUE(plan("select typeof(sum(小计)),sum(小计),typeof(sum(数量)),sum(数量) from 销售模块 "
                     "where 商品编号=? and 状态='已买单' and 销售时间>=cast(? as integer) and "
                     "销售时间<=cast(? as integer)")
                    .contains("COVERING INDEX 销售模块_单品"));
    EXPECT_TRUE(plan("select 行数 from 销售日汇总 where 销售人员=? and 销售时间>=cast(? as integer) and "
                     "销售时间<=cast(? as integer)")
                    .contains("销售日汇总_日期"));
}
