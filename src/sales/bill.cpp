#include "sales/bill.h"

#include "sales/sales_picker.h"
#include "store/exact_number.h"
#include "store/free_numbers.h"
#include "store/numbers.h"
#include "store/stamps.h"
#include "store/transaction.h"
#include "ui/messages.h"

#include <tuple>

namespace sales {

using store::ExactNumber;
using store::NumberKind;

namespace {

const QString kPaid = QStringLiteral("已买单");
const QString kSuspended = QStringLiteral("挂起");

// A product read that fails is no answer about the product: the line is not stored.
LineProblem productProblem(store::Database& db, const QString& column, const QString& value,
                           LineProblem missing) {
    const store::RecordSet product = firstProductWith(db, column, value);
    if (product.failed()) return LineProblem::NotStored;
    return product.atEnd() ? missing : LineProblem::None;
}

LineProblem checkBillLine(store::Database& db, const QDate& today, const BillLine& line) {
    for (const auto& [column, value, missing] :
         {std::tuple{"编号", line.productCode, LineProblem::UnknownProduct},
          std::tuple{"款号", line.styleNumber, LineProblem::UnknownStyleNumber}})
        if (const LineProblem problem = productProblem(db, column, value, missing);
            problem != LineProblem::None)
            return problem;
    if (!saleDateAllowed(line.saleDate, today)) return LineProblem::SaleDateOutOfRange;
    if (line.quantity.isEmpty() || line.quantity == u"0") return LineProblem::NoQuantity;
    // Against the tag amount as the subtotal box shows it without a discount.
    const std::strong_ordering order =
        compareAmounts(line.subtotal, subtotalText({}, line.unitPrice, line.quantity));
    if (order < 0 && line.discountReason.isEmpty()) return LineProblem::ReasonNeeded;
    if (order > 0) return LineProblem::AboveTagPrice;
    if (line.productCode.isEmpty()) return LineProblem::NoProductChosen;
    return LineProblem::None;
}

}  // namespace

std::strong_ordering compareAmounts(const QString& amount, const QString& other) {
    static const ExactNumber tolerance = *ExactNumber::of(QStringLiteral("0.0000001"));
    const ExactNumber difference =
        store::roundedFigure(amount).roundedPlus(store::roundedFigure(other).negated());
    if (difference < tolerance.negated()) return std::strong_ordering::less;
    if (difference > tolerance) return std::strong_ordering::greater;
    return std::strong_ordering::equal;
}

bool isNoDiscount(const QString& discount) {
    return discount.isEmpty() || discount == u"不打折";
}

QString subtotalText(const QString& discount, const QString& unitPrice, const QString& quantity) {
    const ExactNumber price = store::roundedFigure(unitPrice);
    const ExactNumber count = store::roundedFigure(quantity);
    if (isNoDiscount(discount)) return ExactNumber::roundedProduct({price, count}).text();
    return ExactNumber::roundedProduct({store::roundedFigure(discount).tenth(), price, count})
        .text();
}

QString discountedPrice(const QString& discount, const QString& unitPrice) {
    if (isNoDiscount(discount)) return unitPrice;
    return ExactNumber::roundedProduct(
               {store::roundedFigure(unitPrice), store::roundedFigure(discount).tenth()})
        .text();
}

std::optional<QString> changeFor(const QString& received, const QString& total) {
    if (compareAmounts(received, total) < 0) return std::nullopt;
    return store::roundedFigure(received).roundedPlus(store::roundedFigure(total).negated()).text();
}

bool saleDateAllowed(const QDate& saleDate, const QDate& today) {
    return saleDate >= today.addDays(-2) && saleDate <= today;
}

QString cutToTwoDecimals(const QString& amount) {
    const qsizetype point = amount.indexOf(u'.');
    return point < 0 ? amount : amount.left(point + 3);
}

std::optional<QString> makeBillTotal(store::Database& db, const QString& billNumber) {
    // Summed exactly here: SQL sums in double, and the text of its sum cannot keep a fifteenth
    // digit apart from the noise (123456789012344 would read 123456789012340).
    const store::RecordSet amounts =
        db.query("select 小计 from 销售模块 where 销售单号 =? and 小计 is not null", {billNumber});
    if (amounts.failed()) return std::nullopt;
    if (amounts.isEmpty()) return QString();
    ExactNumber total;
    for (size_t row = 0; row < amounts.rowCount(); ++row)
        total = total.roundedPlus(store::roundedFigure(amounts.cell(row, 0)));
    return cutToTwoDecimals(total.text());
}

Notice noticeFor(LineProblem problem) {
    const QString& standard = ui::kStandardTitle;
    switch (problem) {
    case LineProblem::None: return {};
    case LineProblem::UnknownProduct: return {"你输入的编号不存在！", ui::kRemindYouTitle};
    case LineProblem::UnknownStyleNumber: return {"你输入的款号不存在，请重新输入！", standard};
    case LineProblem::SaleDateOutOfRange:
        return {"不能录入超过2两天前的销售单和超过今天以后的销售单！", standard};
    case LineProblem::NoQuantity: return {"请输入商品数量！", standard};
    case LineProblem::ReasonNeeded: return {"由于最终价格比吊牌价低，你需要选择打折原因！", standard};
    case LineProblem::AboveTagPrice: return {"最终价格不能大于吊牌价！", standard};
    case LineProblem::NoProductChosen: return {"请选择商品！", standard};
    case LineProblem::NotStored: return {"加入销售单失败!", standard};
    }
    return {};
}

namespace {

// "inf" or "NaN" would price the line at 0 without a word; the discounted price must fit 折后价.
bool discountFits(const QString& discount) { return store::fitsAsNumber(discount, 100); }

}  // namespace

AddedLine addBillLine(store::Database& db, const store::Clock& clock, const BillLine& line) {
    if (const LineProblem problem = checkBillLine(db, clock.now().date(), line);
        problem != LineProblem::None)
        return {problem, {}};
    // A bill without a number would gather the lines of every other such bill.
    if (line.billNumber.isEmpty() || !discountFits(line.discount))
        return {LineProblem::NotStored, {}};
    std::optional<store::LineNumbers> numbers;
    const bool stored = store::inTransaction(db, [&] {
        numbers = store::takeLineNumbers(db, clock, NumberKind::BillNumber, line.billNumber,
                                         line.billNumberProposed);
        return numbers && db.execute(
            "insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,折扣,折后价,小计,折扣原因,"
            "状态,款号,杯型,尺码,颜色,单价,销售人员)values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
            {numbers->lineId, store::toDateStamp(line.saleDate), numbers->document,
             line.productCode, line.quantity, line.discount,
             discountedPrice(line.discount, line.unitPrice), line.subtotal, line.discountReason,
             "未确认", line.styleNumber, line.cup, line.size, line.colour, line.unitPrice,
             line.salesperson});
    });
    return stored ? AddedLine{LineProblem::None, numbers->document}
                  : AddedLine{LineProblem::NotStored, {}};
}

bool changeBillLine(store::Database& db, const LineChange& change) {
    return discountFits(change.discount) && db.execute(
        "update 销售模块 set 数量 =?, 折扣 =?, 折后价 =?, 小计 =?, 折扣原因 =? where rowid =?",
        {change.quantity, change.discount, discountedPrice(change.discount, change.unitPrice),
         change.subtotal, change.discountReason, change.lineRow});
}

std::optional<bool> deleteBillLine(store::Database& db, const QString& lineRow,
                                   const QString& billNumber) {
    std::optional<bool> billLeft;
    const bool deleted = store::inTransaction(db, [&] {
        if (!db.execute("delete from 销售模块 where rowid =?", {lineRow})) return false;
        billLeft = store::isNumberInUse(db, NumberKind::BillNumber, billNumber);
        return billLeft.has_value();
    });
    return deleted ? billLeft : std::nullopt;
}

bool suspendBill(store::Database& db, const store::Clock& clock, const SuspendedBill& bill) {
    // The header counts the lines as they are when it is written.
    return store::inTransaction(db, [&] {
        const store::RecordSet pieces =
            db.query("select sum(数量) from 销售模块 where 销售单号 =?", {bill.billNumber});
        const std::optional<QString> number =
            pieces.failed() ? std::nullopt
                            : store::takeFreeNumber(db, clock, NumberKind::BillHeaderNumber);
        return number &&
               db.execute("insert into 销售管理总模块(编号,销售日期,销售单号,总件数,销售总金额,"
                          "销售人员,状态)values(?,?,?,?,?,?,?)",
                          {*number, store::toDateStamp(bill.saleDate) + store::makeTimeStamp(clock),
                           bill.billNumber, pieces.text(1), bill.total, bill.salesperson,
                           kSuspended});
    });
}

std::optional<bool> isSuspended(store::Database& db, const QString& billNumber) {
    const store::RecordSet header = db.query(
        "select 1 from 销售管理总模块 where 销售单号 =? and 状态 =? limit 1", {billNumber, kSuspended});
    if (header.failed()) return std::nullopt;
    return !header.atEnd();
}

store::RecordSet suspendedHeaders(store::Database& db) {
    return db.query("select * from 销售管理总模块 where 状态 =?", {kSuspended});
}

QString abandonBill(store::Database& db, const QString& billNumber) {
    const QString linesFailed = QStringLiteral("删除失败");
    return store::failureInTransaction(db, linesFailed, [&] {
        if (!db.execute("delete from 销售管理总模块 where 销售单号 =?", {billNumber}))
            return QStringLiteral("总模块删除失败");
        if (!db.execute("delete from 销售模块 where 销售单号 =?", {billNumber})) return linesFailed;
        return QString();
    });
}

QString payBill(store::Database& db, const QString& billNumber) {
    const QString writeFailed = QStringLiteral("数据库写入失败！");
    return store::failureInTransaction(db, writeFailed, [&] {
        if (!db.execute("update 销售模块 set 状态 =? where 销售单号 =?", {kPaid, billNumber}) ||
            !db.execute("update 销售管理总模块 set 状态 =? where 销售单号 =?", {kPaid, billNumber}))
            return writeFailed;
        if (!deductStock(db, billNumber)) return QStringLiteral("扣减库存失败");
        return QString();
    });
}

bool deductStock(store::Database& db, const QString& billNumber) {
    store::RecordSet sold = db.query(
        "select 商品编号,sum(数量) from 销售模块 where 销售单号 =? group by 商品编号", {billNumber});
    if (sold.failed()) return false;
    for (; !sold.atEnd(); sold.moveNext()) {
        const QString product = sold.text(1);
        const std::optional<ExactNumber> quantity = store::exactFigure(sold.text(2));
        // The row read is the row written: other rows sharing the code keep their own figures.
        const store::RecordSet stock = db.query(
            "select rowid,销售出库,实际库存 from 库存表 where 商品编号 =? limit 1", {product});
        if (!quantity || stock.failed()) return false;
        if (stock.atEnd()) continue;
        // A stock figure is written exactly or the deduction fails.
        const std::optional<QString> soldOut = store::movedFigure(stock.text(2), *quantity);
        const std::optional<QString> actual = store::movedFigure(stock.text(3), quantity->negated());
        if (!soldOut || !actual ||
            !db.execute("update 库存表 set 销售出库 =?,实际库存 =? where rowid =?",
                        {*soldOut, *actual, stock.text(1)}))
            return false;
    }
    return true;
}

}  // namespace sales
