#include "receiving/stock_review.h"

#include "receiving/receipt_status.h"
#include "store/numbers.h"

#include <QHash>

namespace receiving {

namespace {

struct Direction {
    double sign;
    QString scratchColumn;
    QString newStatus;
    bool (*refusedAt)(const QString& storedStatus);
    QString refusal;
    QString success;
    QString failure;
};

const Direction& directionOf(ReviewMode mode) {
    static const Direction review{
        +1, QStringLiteral("进货库存"), kInStock, &isInStock,
        QStringLiteral("此张入库单已经入库，请勿重复操作！"), QStringLiteral("审核成功！"),
        QStringLiteral("审核失败！")};
    static const Direction reverse{
        -1, QStringLiteral("退货库存"), QStringLiteral("未入库-反审"), &isNotInStock,
        QStringLiteral("此张入库单还没有入库入库，不需要反审！"), QStringLiteral("反审成功！"),
        QStringLiteral("反审失败！")};
    return mode == ReviewMode::Review ? review : reverse;
}

// Each product's quantity summed over all its lines of the receipt, so that review and reverse
// review stay each other's inverse when a product stands on several lines.
QHash<QString, double> receiptQuantities(store::Database& db, const QString& receiptNumber) {
    QHash<QString, double> quantities;
    for (store::RecordSet lines =
             db.query("select 商品编号,商品数量 from 入库管理模块 where 入库单号 =?", {receiptNumber});
         !lines.atEnd(); lines.moveNext())
        quantities[lines.text(1)] += store::toNumber(lines.text(2));
    return quantities;
}

// The stock rows a review rewrites in SQL alone, which are nearly all: the receipt does not name
// the product, and 实际库存 is a whole number already in its plain text, so both figures become
// 实际库存 as it stands. Every row is tested on each review, so the named rows are found through
// the product code's index and the cheap tests come first.
const QString kNamedProduct =
    QStringLiteral("商品编号 in (select 商品编号 from 入库管理模块 where 入库单号 =?)");
const QString kPlainFigure = QStringLiteral(
    "coalesce(实际库存 = cast(cast(实际库存 as integer) as text) and length(实际库存) <= 15, 0)");

// Rewrites every stock row from its own figures: the plain rows in one statement, the others one
// by one by their row keys (product codes may repeat among stock rows) through one prepared
// statement. A row that already reads as the rewrite would leave it is not written again.
bool rewriteStock(store::Database& db, const QString& receiptNumber, const Direction& direction) {
    const QString& scratch = direction.scratchColumn;
    const QString notNamed = "not coalesce(" + kNamedProduct + ", 0)";
    if (!db.execute("update 库存表 set 期初库存 =实际库存," + scratch + " ='' where (期初库存 is not "
                        "实际库存 or ifnull(" + scratch + ",'') <> '') and " + kPlainFigure +
                        " and " + notNamed,
                    {receiptNumber}))
        return false;
    const QString columns = "select rowid,商品编号,期初库存,实际库存," + scratch;
    const store::RecordSet stock =
        db.query(columns + ",1 from 库存表 where " + kNamedProduct + " union all " + columns +
                     ",0 from 库存表 where not " + kPlainFigure + " and " + notNamed,
                 {receiptNumber, receiptNumber});
    const QHash<QString, double> quantities = receiptQuantities(db, receiptNumber);
    const QString update =
        "update 库存表 set 期初库存 =?,实际库存 =?," + scratch + " ='' where rowid =?";
    for (size_t row = 0; row < stock.rowCount(); ++row) {
        const QString actual = stock.cell(row, 3);
        const double quantity = stock.cell(row, 5) == u"1" ? quantities.value(stock.cell(row, 1)) : 0;
        const QString figure =
            store::numberText(store::toNumber(actual) + direction.sign * quantity);
        if (figure == actual && figure == stock.cell(row, 2) && stock.cell(row, 4).isEmpty())
            continue;
        if (!db.execute(update, {figure, figure, stock.cell(row, 0)})) return false;
    }
    return true;
}

Outcome review(store::Database& db, const QString& receiptNumber, const Direction& direction) {
    const store::RecordSet header =
        db.query("select 状态 from 入库管理总模块 where 入库单编号 =? limit 1", {receiptNumber});
    if (header.atEnd() || direction.refusedAt(header.text(1))) return {false, direction.refusal};
    const bool written =
        rewriteStock(db, receiptNumber, direction) &&
        db.execute("update 入库管理模块 set 状态 =? where 入库单号 =?",
                   {direction.newStatus, receiptNumber}) &&
        db.execute("update 入库管理总模块 set 状态 =? where 入库单编号 =?",
                   {direction.newStatus, receiptNumber});
    return written ? Outcome{true, direction.success} : Outcome{false, direction.failure};
}

}  // namespace

Outcome reviewReceiptStock(store::Database& db, const QString& receiptNumber, ReviewMode mode) {
    const Direction& direction = directionOf(mode);
    return inOneTransaction(db, direction.failure,
                            [&] { return review(db, receiptNumber, direction); });
}

}  // namespace receiving
