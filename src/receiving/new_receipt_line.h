#pragma once
// Adding one line to the receipt being written: the checks, the line stored at once as "未入库"
// with the catalogue's values of its product, and the receipt's running totals.

#include "store/clock.h"
#include "store/database.h"

#include <QString>

namespace receiving {

// The running totals as the new receipt shows them: texts of numbers, "" counting as 0.
struct ReceiptTotals {
    QString pieces;
    QString tagPrice;       // tag price x quantity over the lines
    QString purchasePrice;  // purchase price x quantity over the lines
};

// A line as the add-product window holds it.
struct NewReceiptLine {
    QString receiptNumber;
    QString productCode;
    QString quantity;  // as typed
    // No line of the receipt is stored yet, so another program may have stored its number meanwhile.
    bool receiptNumberProposed = false;
};

// Why a line was not added; the checks run in this order and the first that fails counts.
enum class LineProblem { None, NoProductCode, NoQuantity, UnknownProduct, NotStored };

struct Notice {
    QString text;
    QString title;
};
// Every refusal is an information notice (style 0x40).
Notice noticeFor(LineProblem problem);

struct AddedLine {
    LineProblem problem = LineProblem::None;
    QString receiptNumber;  // the number the line was stored under; "" when it was not
};
// Stores the line for the first product whose code it names (its mnemonic code, style number,
// name, cup, size and colour) and adds it to `totals`. On a problem nothing is stored or added.
// The line id, and a proposed receipt number, are made sure of in the transaction that stores
// the line: a proposed number another program has stored meanwhile gives way to a free one.
AddedLine addReceiptLine(store::Database& db, const store::Clock& clock,
                         const NewReceiptLine& line, ReceiptTotals& totals);

}  // namespace receiving
