#pragma once
// Sums of the paid bill lines (状态 "已买单") kept beside 销售模块, so the sales statistics over
// months and years read a few rows per product instead of every line. Triggers keep them in the
// same transaction as every write to the lines, whoever writes.
//
//   销售日汇总       per sale date (销售时间, as the line holds it) and salesperson (销售人员)
//   销售月单品汇总    per month (月份, 销售时间 / 100) and product (商品编号)
//   销售年单品汇总    per year (年份, 销售时间 / 10000) and product
//   销售异日单品汇总  per sale date and product, for the lines dated on no calendar day
//
// The month and year tables hold only lines dated on a calendar day, a whole yyyymmdd, so a
// month's row holds exactly the lines of its days, and a range that begins or ends inside it
// takes off or adds whole days. Lines dated otherwise (20231301, 20230230, 2023011, a fraction
// such as 20240305.5 that lies between two days, a text, none) stand under their own date.
// A product key may not be NULL: a line without a product code stands under X''.
//
// Every figure is an exact integer, so adding and taking off lines leaves nothing behind:
//   行数              the lines
//   数量, 数量个数     the summed quantities, and how many are not empty
//   散数量            quantities that are not 32-bit integers, left out of 数量
//   小计元, 小计微元   the summed amounts in millionths: 小计元 x 1 000 000 + 小计微元
//   小计个数          amounts that are not empty
//   散小计            amounts that are no whole number of millionths within a billion, left out
// A reader that meets a 散 count other than 0 reads that figure from the lines themselves.

#include "store/database.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace store {

// The figures of a row of sums, after its key, in this order.
inline const QString kSumsColumns =
    QStringLiteral("行数,数量,数量个数,散数量,小计元,小计微元,小计个数,散小计");
// What a reader of the lines themselves selects of each line, for LineSums::ofLine.
inline const QString kLineColumns = QStringLiteral("typeof(数量),数量,typeof(小计),小计");

// The figures of some paid lines, added and taken off exactly.
struct LineSums {
    int64_t lines = 0;
    int64_t quantity = 0;
    int64_t quantities = 0;
    int64_t oddQuantities = 0;
    __int128 millionths = 0;
    int64_t amounts = 0;
    int64_t oddAmounts = 0;

    // A row of kSumsColumns from column `first` on, times `sign`.
    static LineSums ofRow(const Row& row, int first, int sign);
    // One line read with kLineColumns from column `first` on, times `sign`: what the triggers
    // add for it.
    static LineSums ofLine(const Row& row, int first, int sign);
    void add(const LineSums& other);

    // Whether the integers carry the quantities (amounts) of these lines.
    bool carriesQuantity() const { return oddQuantities == 0; }
    bool carriesAmount() const { return oddAmounts == 0; }
    // As SQL's sum over the lines shows them: empty when no line has one.
    QString quantityText() const;
    QString amountText() const;
};

// An amount as a whole number of millionths, where it is one within a billion.
std::optional<int64_t> millionthsOf(double amount);
// An amount in millionths as plain text.
QString millionthsText(__int128 millionths);

// Makes the tables, their index and triggers anew, filled from the paid lines, unless every one
// is there exactly as this version makes it: a file of an older version, or one that lost a
// trigger, gets them all made anew, whole or not at all. False when they could not be read or
// made; outside a transaction the file then keeps the sums it had, and inside one the caller's
// rollback takes back what was made.
bool ensurePaidSalesSums(Database& db);

}  // namespace store
