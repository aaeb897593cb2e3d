#pragma once
// The rules of a sales bill that need no window: pricing a line, the checks before a line is
// stored, the bill total, suspend and abandon, and checkout with its stock deduction.

#include "store/clock.h"
#include "store/database.h"

#include <QDate>
#include <QString>
#include <compare>
#include <optional>
#include <vector>

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

// The message of a write on a bill that no longer stands as the window shows it: another
// program paid it, abandoned it or changed its lines meanwhile.
inline const QString kBillChangedElsewhere = QStringLiteral("这张销售单已在其他地方买单或废弃！");

// The bill a sales window shows: its number and the row key of each line on its list.
struct ShownBill {
    QString number;
    std::vector<QString> lineRows;
    // Nothing of the bill is stored yet, so another program may have stored its number meanwhile.
    bool numberProposed = false;
};

// A bill's lines as the file holds them now.
struct StoredBill {
    std::vector<QString> lineRows;
    bool allUnpaid = true;  // every line still "未确认"
    // The lines' amounts summed exactly and cut to two decimals once; "" when no line has one.
    QString total;

    // Whether the window may still write to the bill: every line is still unpaid, and every
    // line the window shows is still stored.
    bool keeps(const ShownBill& shown) const;
    // Whether it is the bill the window shows, to be paid as shown: kept, and no line added.
    bool isExactly(const ShownBill& shown) const;
};
// Nothing when the lines could not be read.
std::optional<StoredBill> readStoredBill(store::Database& db, const QString& billNumber);

// The bill's total as readStoredBill gives it; nothing when the lines could not be read.
std::optional<QString> makeBillTotal(store::Database& db, const QString& billNumber);

// A bill line as the sales window's boxes hold it.
struct BillLine {
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
    BillChangedElsewhere,
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
// Checks the line and stores it on the bill with status "未确认" and a new line id, in one
// transaction. A proposed bill number is made sure of there: when another program has stored it
// meanwhile, the line goes under a free number taken then.
AddedLine addBillLine(store::Database& db, const store::Clock& clock, const ShownBill& bill,
                      const BillLine& line);

// The writes below act on the bill only while it keeps what the window shows (StoredBill::keeps),
// read in their own transaction; otherwise they write nothing and give kBillChangedElsewhere.
// Each gives "" when it went through, otherwise the message of the step that failed, with
// nothing written.

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
QString changeBillLine(store::Database& db, const ShownBill& bill, const LineChange& change);

struct DeletedLine {
    QString failure;
    // Whether anything of the bill (a line or a header) is still stored: a bill that has nothing
    // left no longer holds its number.
    bool billLeft = false;
};
DeletedLine deleteBillLine(store::Database& db, const ShownBill& bill, const QString& lineRow);

// Writes a header "挂起" for the bill, a further one when it was suspended before, with the pieces
// and the total of its lines as they are then.
QString suspendBill(store::Database& db, const store::Clock& clock, const ShownBill& bill,
                    const QDate& saleDate, const QString& salesperson);
// Whether the bill has a header that is still "挂起"; nothing when that could not be read.
std::optional<bool> isSuspended(store::Database& db, const QString& billNumber);
// Every header still "挂起", in the database's order.
store::RecordSet suspendedHeaders(store::Database& db);
// Deletes the bill's lines and headers.
QString abandonBill(store::Database& db, const ShownBill& bill);

// Pays the bill as the window shows it (StoredBill::isExactly) on the total the payment was
// taken on: its lines and headers become "已买单" and its products' stock goes down.
QString payBill(store::Database& db, const ShownBill& bill, const QString& total);

// Adds each product's quantity over the whole bill to its 销售出库 and takes it from its
// 实际库存; products without a stock row are passed over. False when an update failed.
bool deductStock(store::Database& db, const QString& billNumber);

}  // namespace sales
