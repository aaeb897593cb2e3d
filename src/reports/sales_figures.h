#pragma once
// The figures of the sales statistics, without a window: the range bounds and their checks, the
// share text, and the sums of paid bill lines over a range, in total, per product and per
// salesperson. Only lines whose 状态 is "已买单" count; a range includes both bounds.

#include "store/clock.h"
#include "store/database.h"

#include <QDate>
#include <QString>
#include <optional>

namespace reports {

// yyyymmdd texts, formed in this order: end, start, today.
struct DateBounds {
    QString end;
    QString start;
    QString today;
};
DateBounds makeBounds(const QDate& start, const QDate& end, const store::Clock& clock);

// The first bound after today, start tested first; "" when both pass. The start is not tested
// against the end.
QString boundsProblem(const DateBounds& bounds);

// part / total x 100 as plain text cut after five characters, with "%": 2 of 3 is "66.66%".
// A total of nothing gives "0%".
QString shareText(const QString& part, const QString& total);

// Each figure is that of SQL's sum over the paid lines of the range, as shown. The kept sums
// give it exactly; where they cannot (a line whose figures they do not carry, or sums that
// cannot be read) the figure is read from the lines themselves. Nothing when a read fails.

// The range's summed amount and quantity; an empty amount means no sales in the range.
struct RangeTotals {
    QString amount;
    QString quantity;
};
std::optional<RangeTotals> rangeTotals(store::Database& db, const DateBounds& bounds);

// The products with the largest summed quantity and the largest summed amount, with those sums;
// of products that tie, the first in the order a grouping by 商品编号 returns them (byte for
// byte, lines without a code first).
struct BestSellers {
    QString byQuantityCode;
    QString quantity;
    QString byAmountCode;
    QString amount;
};
std::optional<BestSellers> bestSellers(store::Database& db, const DateBounds& bounds);

// One product's amount and quantity; both empty when it has no sales in the range.
struct ProductSales {
    QString amount;
    QString quantity;
};
std::optional<ProductSales> productSales(store::Database& db, const QString& productCode,
                                         const DateBounds& bounds);

// One salesperson's amount; empty when none in the range.
std::optional<QString> salespersonAmount(store::Database& db, const QString& salesperson,
                                         const DateBounds& bounds);

// The product codes and the salespeople of paid lines of every date, each once.
store::RecordSet paidProductCodes(store::Database& db);
store::RecordSet paidSalespeople(store::Database& db);

}  // namespace reports
