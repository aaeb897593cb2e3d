#pragma once
// Review brings a submitted receipt into stock, reverse review takes it out again: the rule
// behind the review window, without the window.

#include "receiving/transaction.h"
#include "store/database.h"

#include <QString>

namespace receiving {

// Which way a review goes; the receipt list's two menu items each leave one of them usable.
enum class ReviewMode { Review, ReverseReview };

// In one transaction: every stock row's 期初库存 and 实际库存 become its 实际库存 plus (review) or
// minus (reverse review) the sum of its product's quantities on the receipt, its scratch column
// (进货库存 or 退货库存) is emptied, and the receipt's header and lines get "已入库" or
// "未入库-反审". The stored status is read first: a receipt already in stock is not reviewed
// again, one not in stock is not reverse reviewed, and nothing is written. Figures are moved
// exactly: a review whose new figure would need more digits than a double carries, or more
// than its column holds, fails, as does one whose header is gone or any of whose reads fails.
Outcome reviewReceiptStock(store::Database& db, const QString& receiptNumber, ReviewMode mode);

}  // namespace receiving
