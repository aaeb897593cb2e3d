#pragma once
// The rules of a sales bill that need no window: pricing a line, the checks before a line is
// stored, the bill total, suspend and abandon, and checkout with its stock deduction.

#include "store/clock.h"
#include "store/database.h"

#include <QDate>
#include <QString>
#include <compare>
#include <optional>

namespace sales {

// Amounts are computed exactly from their texts, and a result of more than 15 significant digits
// is rounded to 15: they are shown, compared and stored as the clerk's boxes then hold them.

// How one amount stands to another: amounts closer than a ten-millionth count as equal, a
// subtotal to its tag amount, a payment to its total.
std::strong_ordering compareAmounts(const QString& amount, const QString& other);

// A discount is a number of tenths; "" and "不打折" mean none.
bool isNoDiscount(const QString& discount);
// Unit price times quantity, times discount / 10 when there is one.
QString subtotalText(const QString& discount, const QString& unitPrice, const QString& quantity);
// The unit price as it stands without a discount, else unit price times discount / 10.
QString discountedPrice(const QString& discount, const QString& unitPrice);
// The change for a payment of `received` on `total`; nothing when the payment falls short.
std::optional<QString> changeFor(const QString& received, const QString& total);

// A sale may be dated today or up to two calendar days back.
bool saleDateAllowed(const QDate& saleDate, const QDate& today);

// At most two decimals, the further digits dropped: 12.3456 gives 12.34, 150 stays 150.
QString cutToTwoDecimals(const QString& amount);
// The sum of the bill's line amounts so cut; "" for a bill without lines, nothing when the
// lines could not be read.
std::optional<QString> makeBillTotal(store::Database& db, const QString& billNumber);

// A bill line as the sales window's boxes hold it.
struct BillLine {
    QString billNumber;
    QDate saleDate;
    QString productCode;
    QString quantity;
    QString discount;
    QString subtotal;
    QString discountReason;
    QString styleNumber;
    QString cup;
    QString size;
    QString colour;
    QString unitPrice;
    QString salesperson;
    // Nothing of the bill is stored yet, so another program may have stored its number meanwhile.
    bool billNumberProposed = false;
};

// Why a line was not stored; the checks run in this order and the first that fails counts.
enum class LineProblem {
    None,
    UnknownProduct,
    UnknownStyleNumber,
    SaleDateOutOfRange,
    NoQuantity,
    ReasonNeeded,
    AboveTagPrice,
    NoProductChosen,
    NotStored,
};

struct Notice {
    QString text;
    QString title;
};
// Every refusal is an information notice (style 0x40).
Notice noticeFor(LineProblem problem);

struct AddedLine {
    LineProblem problem = LineProblem::None;
    QString billNumber;  // the number the line was stored under; "" when it was not
};
// Checks the line and stores it with status "未确认" and a new line id, in one transaction. A
// proposed bill number is made sure of there: when another program has stored it meanwhile, the
// line goes under a free number taken then.
AddedLine addBillLine(store::Database& db, const store::Clock& clock, const BillLine& line);

// The figures a bill line's change writes; its other columns stay.
// A stored line is reached by its row key, not by its line id: lines of an older file may share
// an id, and a change or delete of one must not reach the other.
struct LineChange {
    QString lineRow;
    QString quantity;
    QString discount;
    QString subtotal;
    QString discountReason;
    QString unitPrice;
};
bool changeBillLine(store::Database& db, const LineChange& change);
// Deletes the line and tells, from the same transaction, whether anything of the bill (a line or
// a header) is still stored: a bill that has nothing left no longer holds its number. Nothing
// when the line was not deleted.
std::optional<bool> deleteBillLine(store::Database& db, const QString& lineRow,
                                   const QString& billNumber);

// What suspending a bill records in its header; the pieces are counted from the bill's lines.
struct SuspendedBill {
    QString billNumber;
    QDate saleDate;
    QString total;
    QString salesperson;
};
// Writes a header "挂起" for the bill: a further one when it was suspended before. False when it
// was not stored.
bool suspendBill(store::Database& db, const store::Clock& clock, const SuspendedBill& bill);
// Whether the bill has a header that is still "挂起"; nothing when that could not be read.
std::optional<bool> isSuspended(store::Database& db, const QString& billNumber);
// Every header still "挂起", in the database's order.
store::RecordSet suspendedHeaders(store::Database& db);
// Deletes the bill's headers and lines in one transaction, reaching them by the bill number.
// Gives "" when it went through, otherwise the message of the step that failed, with nothing
// deleted.
QString abandonBill(store::Database& db, const QString& billNumber);

// Pays the bill in one transaction: its lines and headers become "已买单" and its products' stock
// goes down. Gives "" when it went through, otherwise the message of the step that failed, with
// nothing written.
QString payBill(store::Database& db, const QString& billNumber);

// Adds each product's quantity over the whole bill to its 销售出库 and takes it from its
// 实际库存; products without a stock row are passed over. False when an update failed.
bool deductStock(store::Database& db, const QString& billNumber);

}  // namespace sales
