#pragma once
// The writes of a receipt header that need no window: its submit after its lines were stored,
// and its delete together with its lines. Each runs in one transaction and counts as done only
// once committed; on any failure nothing of it stays written.

#include "store/clock.h"
#include "store/database.h"

#include <QString>

namespace receiving {

// A receipt as the new receipt window holds it.
struct ReceiptHeader {
    QString receiptNumber;
    QString pieceTotal;
    QString tagPriceTotal;
    QString purchasePriceTotal;
    QString receiptDate;
    QString operatorName;
    QString remark;
};

// Stores the header with status "未入库", its style count and style list taken from its lines
// (each distinct style followed by ",", in the reverse of the order the query gives them: A then
// B gives "B,A,") and a free id made of the date and time stamps of now. False, with nothing
// written, when the lines cannot be read or the header cannot be stored.
bool submitReceiptHeader(store::Database& db, const store::Clock& clock,
                         const ReceiptHeader& header);

// Deletes the receipt's headers and lines. Stock is not touched, even for a received receipt.
bool deleteReceiptWithLines(store::Database& db, const QString& receiptNumber);

}  // namespace receiving
