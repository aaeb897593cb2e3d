#include "receiving/new_receipt_line.h"

#include "receiving/receipt_status.h"
#include "store/exact_number.h"
#include "store/free_numbers.h"
#include "store/transaction.h"
#include "ui/messages.h"

namespace receiving {

namespace {

// A running total moved exactly by a price times the quantity; nothing when a figure cannot be
// carried exactly.
std::optional<QString> plusAmount(const QString& total, const QString& price,
                                  const store::ExactNumber& quantity) {
    const std::optional<store::ExactNumber> unit = store::exactFigure(price);
    const std::optional<store::ExactNumber> amount = unit ? unit->times(quantity) : std::nullopt;
    return amount ? store::movedFigure(total, *amount) : std::nullopt;
}

}  // namespace

Notice noticeFor(LineProblem problem) {
    switch (problem) {
    case LineProblem::None: return {};
    case LineProblem::NoProductCode: return {"编号内容不能等于空！", ui::kRemindYouTitle};
    case LineProblem::NoQuantity: return {"数量内容不能等于空或者0！", ui::kRemindYouTitle};
    case LineProblem::UnknownProduct: return {"你输入的编号不存在！", ui::kRemindYouTitle};
    case LineProblem::NotStored: return {"执行添加失败！", ui::kStandardTitle};
    }
    return {};
}

AddedLine addReceiptLine(store::Database& db, const store::Clock& clock,
                         const NewReceiptLine& line, ReceiptTotals& totals) {
    const AddedLine refused = {LineProblem::NotStored, {}};
    if (line.productCode.isEmpty()) return {LineProblem::NoProductCode, {}};
    // Texts, not numbers: "0.0" and "00" pass.
    if (line.quantity.isEmpty() || line.quantity == u"0") return {LineProblem::NoQuantity, {}};
    // A quantity a double does not carry exactly, or a review could not write back into
    // 实际库存, would come back into stock as another figure.
    if (!store::isExactQuantity(line.quantity, kFigureColumnLength)) return refused;
    // The product is looked up once, by its code: a mnemonic code or barcode that an earlier
    // product shares must not turn the line into that product.
    const store::RecordSet product =
        db.query("select * from 商品资料 where 编号 =? limit 1", {line.productCode});
    if (product.failed()) return refused;
    if (product.atEnd()) return {LineProblem::UnknownProduct, {}};
    const store::ExactNumber quantity = *store::ExactNumber::of(line.quantity);
    const std::optional<QString> sums[] = {
        store::movedFigure(totals.pieces, quantity),
        plusAmount(totals.tagPrice, product.text("吊牌价"), quantity),
        plusAmount(totals.purchasePrice, product.text("进货价"), quantity)};
    // The totals go into the receipt's header at the submit: one that is not the exact figure,
    // or that its column cannot hold, would make the submit store a wrong one or fail for good.
    for (const std::optional<QString>& sum : sums)
        if (!sum || sum->size() > kFigureColumnLength) return refused;
    // A receipt without a number would gather the lines of every other such receipt.
    if (line.receiptNumber.isEmpty()) return refused;
    std::optional<store::LineNumbers> numbers;
    const bool stored = store::inTransaction(db, [&] {
        numbers = store::takeLineNumbers(db, clock, store::NumberKind::ReceiptNumber,
                                         line.receiptNumber, line.receiptNumberProposed);
        return numbers && db.execute(
            "insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,助记码,款号,品名,杯型,尺码,"
            "颜色,状态)values(?,?,?,?,?,?,?,?,?,?,?)",
            {numbers->lineId, numbers->document, line.productCode, line.quantity,
             product.text("助记码"), product.text("款号"), product.text("品名"), product.text("杯型"),
             product.text("尺码"), product.text("颜色"), kNotInStock});
    });
    if (!stored) return refused;
    totals = {*sums[0], *sums[1], *sums[2]};
    return {LineProblem::None, numbers->document};
}

}  // namespace receiving
