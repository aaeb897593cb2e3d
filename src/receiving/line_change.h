#pragma once
// Changing the quantity of one receipt line while it is not in stock: the rule behind the line
// change window, without the window. Stock is never touched; the new quantity reaches it through
// a later review.

#include "receiving/transaction.h"
#include "store/database.h"

#include <QString>

namespace receiving {

// Why a typed quantity is refused before anything is written, "" when it may be stored. The
// texts are compared, not the numbers: "5.0" against "5" passes.
QString refusalOfQuantity(const QString& oldQuantity, const QString& newQuantity);

// The line is reached by its row key (line ids repeat within a second), the header by the
// receipt number the line was listed under.
struct LineChange {
    QString lineKey;
    QString receiptNumber;
    QString newQuantity;
};

// In one transaction: the line stores the new quantity exactly as typed with "未入库，已修改！",
// and the header's 商品总件数 moves by the difference to the stored quantity, truncated toward
// zero. A line reviewed meanwhile is refused, one deleted meanwhile (or its header) is a failure.
Outcome changeLineQuantity(store::Database& db, const LineChange& change);

}  // namespace receiving
