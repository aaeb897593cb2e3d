#include "receiving/line_change.h"

#include "receiving/receipt_status.h"
#include "store/exact_number.h"

namespace receiving {

namespace {

const QString kHeaderFailed = QStringLiteral("执行修改失败！");
const QString kLineFailed = QStringLiteral("执行修改失败，请联系作者!");

Outcome storeLineChange(store::Database& db, const LineChange& change) {
    const store::RecordSet line =
        db.query("select 状态,商品数量 from 入库管理模块 where rowid =?", {change.lineKey});
    if (line.failed()) return {false, kLineFailed};
    if (line.atEnd()) return {false, kHeaderFailed};  // deleted meanwhile: no status to refuse by
    if (!isNotInStock(line.text(1)))
        return {false, QStringLiteral("你所需要修改的商品库存已经通过审核入库，需反审后才能修改！")};
    // From the stored quantity, so that two changes of one line move the total only once; whole
    // pieces, truncated toward zero, exactly or not at all.
    const std::optional<store::ExactNumber> newQuantity = store::exactFigure(change.newQuantity);
    const std::optional<store::ExactNumber> oldQuantity = store::exactFigure(line.text(2));
    const std::optional<store::ExactNumber> difference =
        newQuantity && oldQuantity ? newQuantity->plus(oldQuantity->negated()) : std::nullopt;
    if (!difference) return {false, kLineFailed};
    if (!db.execute("update 入库管理模块 set 商品数量 =?,状态 =? where rowid =?",
                    {change.newQuantity, QStringLiteral("未入库，已修改！"), change.lineKey}))
        return {false, kLineFailed};
    const store::RecordSet header = db.query(
        "select 商品总件数 from 入库管理总模块 where 入库单编号 =? limit 1", {change.receiptNumber});
    const std::optional<QString> pieces =
        header.failed() || header.atEnd()
            ? std::nullopt
            : store::movedFigure(header.text(1), difference->truncated());
    if (!pieces || !db.execute("update 入库管理总模块 set 商品总件数 =? where 入库单编号 =?",
                               {*pieces, change.receiptNumber}))
        return {false, kHeaderFailed};
    return {true, QStringLiteral("执行修改成功！")};
}

}  // namespace

QString refusalOfQuantity(const QString& oldQuantity, const QString& newQuantity) {
    if (newQuantity.isEmpty() || newQuantity == u"0")
        return QStringLiteral("你所输入的修改数量不能为空或者0！");
    if (newQuantity == oldQuantity) return QStringLiteral("修改数量不应与原数量一样！");
    // A quantity a double does not carry exactly, or a review could not write back into
    // 实际库存, would come back into stock as another figure.
    if (!store::isExactQuantity(newQuantity, kFigureColumnLength)) return kLineFailed;
    return {};
}

Outcome changeLineQuantity(store::Database& db, const LineChange& change) {
    return inOneTransaction(db, kHeaderFailed, [&] { return storeLineChange(db, change); });
}

}  // namespace receiving
