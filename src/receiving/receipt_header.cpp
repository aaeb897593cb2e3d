#include "receiving/receipt_header.h"

#include "receiving/receipt_status.h"
#include "store/free_numbers.h"
#include "store/transaction.h"

namespace receiving {

QString makeStyleList(store::Database& db, const QString& receiptNumber) {
    QString styles;
    for (store::RecordSet set =
             db.query("select distinct 款号 from 入库管理模块 where 入库单号 =?", {receiptNumber});
         !set.atEnd(); set.moveNext())
        styles = set.text("款号") + "," + styles;
    return styles;
}

bool submitReceiptHeader(store::Database& db, const store::Clock& clock,
                         const ReceiptHeader& header) {
    const QString styles = makeStyleList(db, header.receiptNumber);
    return store::inTransaction(db, [&] {
        const QString styleCount =
            db.query("select count(款号) as cns from (select distinct 款号 from 入库管理模块 "
                     "where 入库单号 =?)",
                     {header.receiptNumber})
                .text(1);
        const std::optional<QString> id =
            store::takeFreeNumber(db, clock, store::NumberKind::ReceiptHeaderId);
        return id && db.execute(
            "insert into 入库管理总模块 (ID,入库单编号,商品总件数,款式数量,款号,吊牌价总金额,"
            "进货价总金额,入库时间,入库人员,状态,备注)values(?,?,?,?,?,?,?,?,?,?,?)",
            {*id, header.receiptNumber, header.pieceTotal,
             styleCount, styles, header.tagPriceTotal, header.purchasePriceTotal,
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
