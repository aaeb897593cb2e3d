#include "receiving/stock_review.h"

#include "receiving/receipt_status.h"
#include "store/exact_number.h"

#include <QHash>
#include <optional>

namespace receiving {

namespace {

struct Direction {
    bool adds;  // review adds the receipt to stock, reverse review takes it away
    QString scratchColumn;
    QString newStatus;
    bool (*refusedAt)(const QString& storedStatus);
    QString refusal;
    QString success;
    QString failure;
};

const Direction& directionOf(ReviewMode mode) {
    static const Direction review{
        true, QStringLiteral("进货库存"), kInStock, &isInStock,
        QStringLiteral("此张入库单已经入库，请勿重复操作！"), QStringLiteral("审核成功！"),
        QStringLiteral("审核失败！")};
    static const Direction reverse{
        false, QStringLiteral("退货库存"), QStringLiteral("未入库-反审"), &isNotInStock,
        QStringLiteral("此张入库单还没有入库入库，不需要反审！"), QStringLiteral("反审成功！"),
        QStringLiteral("反审失败！")};
    return mode == ReviewMode::Review ? review : reverse;
}

// Each product's quantity summed exactly over all its lines of the receipt, so that review and
// reverse review stay each other's inverse when a product stands on several lines. Nothing when
// the lines cannot be read or a sum needs more digits than a figure can carry.
std::optional<QHash<QString, store::ExactNumber>> receiptQuantities(store::Database& db,
                                                                     const QString& receiptNumber) {
    const store::RecordSet lines =
        db.query("select 商品编号,商品数量 from 入库管理模块 where 入库单号 =?", {receiptNumber});
    if (lines.failed()) return std::nullopt;
    QHash<QString, store::ExactNumber> quantities;
    for (size_t row = 0; row < lines.rowCount(); ++row) {
        const std::optional<store::ExactNumber> quantity = store::exactFigure(lines.cell(row, 1));
        if (!quantity) return std::nullopt;
        store::ExactNumber& sum = quantities[lines.cell(row, 0)];
        const std::optional<store::ExactNumber> added = sum.plus(*quantity);
        if (!added) return std::nullopt;
        sum = *added;
    }
    return quantities;
}

// A named product's new figure: its stock moved exactly by its quantity on the receipt, or
// nothing when that figure would need more than 15 significant digits or not fit its column.
std::optional<QString> movedFigure(const QString& actual, const store::ExactNumber& quantity,
                                   const Direction& direction) {
    const std::optional<QString> moved =
        store::movedFigure(actual, direction.adds ? quantity : quantity.negated());
    if (!moved || moved->size() > kFigureColumnLength) return std::nullopt;
    return moved;
}

// A row the receipt does not name keeps its figure, written plainly; one that cannot be
// written exactly keeps its text.
QString unmovedFigure(const QString& actual) {
    const std::optional<store::ExactNumber> stock = store::exactFigure(actual);
    return stock ? stock->text() : actual;
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
// False when a row cannot be read or written, or a named row's new figure cannot be written.
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
    const auto quantities = receiptQuantities(db, receiptNumber);
    if (stock.failed() || !quantities) return false;
    const QString update =
        "update 库存表 set 期初库存 =?,实际库存 =?," + scratch + " ='' where rowid =?";
    for (size_t row = 0; row < stock.rowCount(); ++row) {
        const QString actual = stock.cell(row, 3);
        const std::optional<QString> figure =
            stock.cell(row, 5) == u"1"
                ? movedFigure(actual, quantities->value(stock.cell(row, 1)), direction)
                : unmovedFigure(actual);
        if (!figure) return false;
        if (*figure == actual && *figure == stock.cell(row, 2) && stock.cell(row, 4).isEmpty())
            continue;
        if (!db.execute(update, {*figure, *figure, stock.cell(row, 0)})) return false;
    }
    return true;
}

Outcome review(store::Database& db, const QString& receiptNumber, const Direction& direction) {
    const store::RecordSet header =
        db.query("select 状态 from 入库管理总模块 where 入库单编号 =? limit 1", {receiptNumber});
    // A header that cannot be read, or is gone, has no status to refuse it by.
    if (header.failed() || header.atEnd()) return {false, direction.failure};
    if (direction.refusedAt(header.text(1))) return {false, direction.refusal};
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
