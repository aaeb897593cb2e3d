#include "receiving/receipt_header.h"

#include "receiving/receipt_status.h"
#include "store/free_numbers.h"
#include "store/transaction.h"

#include <optional>

namespace receiving {

namespace {

// The distinct styles of the receipt's lines, each followed by ",", in the reverse of the order
// the query gives them: A then B gives "B,A,". Nothing when the lines cannot be read.
std::optional<QString> styleList(store::Database& db, const QString& receiptNumber) {
    const store::RecordSet set =
        db.query("select distinct 款号 from 入库管理模块 where 入库单号 =?", {receiptNumber});
    if (set.failed()) return std::nullopt;
    QString styles;
    for (size_t row = 0; row < set.rowCount(); ++row) styles = set.cell(row, 0) + "," + styles;
    return styles;
}

}  // namespace

bool submitReceiptHeader(store::Database& db, const store::Clock& clock,
                         const ReceiptHeader& header) {
    // The lines are read inside the transaction, so the header counts the lines as stored.
    return store::inTransaction(db, [&] {
        const std::optional<QString> styles = styleList(db, header.receiptNumber);
        const store::RecordSet styleCount =
            db.query("select count(款号) as cns from (select distinct 款号 from 入库管理模块 "
                     "where 入库单号 =?)",
                     {header.receiptNumber});
        if (!styles || styleCount.failed() || styleCount.atEnd()) return false;
        const std::optional<QString> id =
            store::takeFreeNumber(db, clock, store::NumberKind::ReceiptHeaderId);
        return id && db.execute(
            "insert into 入库管理总模块 (ID,入库单编号,商品总件数,款式数量,款号,吊牌价总金额,"
            "进货价总金额,入库时间,入库人员,状态,备注)values(?,?,?,?,?,?,?,?,?,?,?)",
            {*id, header.receiptNumber, header.pieceTotal, styleCount.text(1), *styles,
             header.tagPriceTotal, header.purchasePriceTotal,
             header.receiptDate, header.operatorName, kNotInStock, header.remark});
    });
}

bool deleteReceiptWithLines(store::Database& db, const QString& receiptNumber) {
    return store::inTransaction(db, [&] {
        return db.execute("delete from 入库管理总模块 where 入库单编号 =?", {receiptNumber}) &&
               db.execute("delete from 入库管理模块 where 入库单号 =?", {receiptNumber});
    });
}

}  // namespace receiving
