#pragma once
// Taking a new number for a product, a receipt or a bill. The time stamp repeats within a day
// (2:05:27 and 2:52:07 both give 2527) and within a second, so a number as makeDocumentNumber
// makes it may already name something; the number taken never does.

#include "store/clock.h"
#include "store/database.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace store {

// Each kind of number, with its prefix, and the columns whose rows hold the numbers in use.
enum class NumberKind {
    ProductCode,       // "sp": 商品资料 编号, 库存表 商品编号
    ReceiptNumber,     // "rk": 入库管理模块 入库单号, 入库管理总模块 入库单编号
    ReceiptHeaderId,   // no prefix: 入库管理总模块 ID
    ReceiptLineId,     // no prefix: 入库管理模块 入库编号
    BillNumber,        // "xs": 销售模块 销售单号, 销售管理总模块 销售单号
    BillLineId,        // "xsbh": 销售模块 销售编号
    BillHeaderNumber,  // "xsz": 销售管理总模块 编号
};

// The number makeDocumentNumber gives now, when no stored row has it and it is not `held` (shown
// by an open window); otherwise that number followed by "-2", "-3" and so on, the first that is
// free. Nothing when a read failed: the action that wanted the number fails then, rather than
// take one that may be in use.
std::optional<QString> takeFreeNumber(Database& db, const Clock& clock, NumberKind kind,
                                      const QStringList& held = {});

// Whether a stored row has `number`; nothing when a read failed.
std::optional<bool> isNumberInUse(Database& db, NumberKind kind, const QString& number);

// A window's number is only proposed until the window has stored something under it: another
// program on the file may store the same number meanwhile. Run inside the write transaction that
// stores the first row under it, this gives `proposed` while no stored row has it, and otherwise
// a number taken free now. Nothing when a read failed.
std::optional<QString> claimNumber(Database& db, const Clock& clock, NumberKind kind,
                                   const QString& proposed);

// The numbers a new line of a bill or a receipt is stored under, taken inside the write
// transaction that stores it: its document's number, claimed while only `proposed`, and a free
// line id of the document's kind. Nothing when a read failed.
struct LineNumbers {
    QString document;
    QString lineId;
};
std::optional<LineNumbers> takeLineNumbers(Database& db, const Clock& clock, NumberKind document,
                                           const QString& number, bool proposed);

}  // namespace store
