#include "sales/bill.h"

#include "sales/sales_picker.h"
#include "store/exact_number.h"
#include "store/free_numbers.h"
#include "store/numbers.h"
#include "store/stamps.h"
#include "store/transaction.h"
#include "ui/messages.h"

#include <algorithm>
#include <functional>
#include <tuple>

namespace sales {

using store::ExactNumber;
using store::NumberKind;

namespace {

const QString kUnpaid = QStringLiteral("未确认");
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

bool StoredBill::keeps(const ShownBill& shown) const {
    return allUnpaid && std::all_of(shown.lineRows.begin(), shown.lineRows.end(),
                                    [this](const QString& row) {
                                        return std::find(lineRows.begin(), lineRows.end(), row) !=
                                               lineRows.end();
                                    });
}

bool StoredBill::isExactly(const ShownBill& shown) const {
    return keeps(shown) && lineRows.size() == shown.lineRows.size();
}

std::optional<StoredBill> readStoredBill(store::Database& db, const QString& billNumber) {
    // Summed exactly here: SQL sums in double, and the text of its sum cannot keep a fifteenth
    // digit apart from the noise (123456789012344 would read 123456789012340).
    const store::RecordSet lines =
        db.query("select rowid,状态,小计 from 销售模块 where 销售单号 =?", {billNumber});
    if (lines.failed()) return std::nullopt;
    StoredBill bill;
    store::ExactSum total;
    bool anyAmount = false;
    for (size_t row = 0; row < lines.rowCount(); ++row) {
        bill.lineRows.push_back(lines.cell(row, 0));
        bill.allUnpaid = bill.allUnpaid && lines.cell(row, 1) == kUnpaid;
        if (lines.cellBytes(row, 2).empty()) continue;  // NULL
        anyAmount = true;
        total.add(store::roundedFigure(lines.cell(row, 2)));
    }
    if (anyAmount) bill.total = total.cutTo(2).text();
    return bill;
}

std::optional<QString> makeBillTotal(store::Database& db, const QString& billNumber) {
    const std::optional<StoredBill> bill = readStoredBill(db, billNumber);
    if (!bill) return std::nullopt;
    return bill->total;
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
    case LineProblem::BillChangedElsewhere: return {kBillChangedElsewhere, standard};
    }
    return {};
}

namespace {

// "inf" or "NaN" would price the line at 0 without a word; the discounted price must fit 折后价.
bool discountFits(const QString& discount) { return store::fitsAsNumber(discount, 100); }

using Standing = bool (StoredBill::*)(const ShownBill&) const;

// Runs `writes` in one transaction once the bill, read in that transaction, still stands as the
// window shows it: another program may have paid, abandoned or changed it since the window read
// it. A bill whose number is only proposed has nothing of the window's stored to stand by.
QString writeIfStillShown(store::Database& db, const ShownBill& bill, const QString& failed,
                          const std::function<QString(const StoredBill&)>& writes,
                          Standing stands = &StoredBill::keeps) {
    return store::failureInTransaction(db, failed, [&] {
        if (bill.numberProposed) return writes({});
        const std::optional<StoredBill> stored = readStoredBill(db, bill.number);
        if (!stored) return failed;
        return ((*stored).*stands)(bill) ? writes(*stored) : kBillChangedElsewhere;
    });
}

}  // namespace

AddedLine addBillLine(store::Database& db, const store::Clock& clock, const ShownBill& bill,
                      const BillLine& line) {
    if (const LineProblem problem = checkBillLine(db, clock.now().date(), line);
        problem != LineProblem::None)
        return {problem, {}};
    // A bill without a number would gather the lines of every other such bill.
    if (bill.number.isEmpty() || !discountFits(line.discount)) return {LineProblem::NotStored, {}};
    const QString notStored = noticeFor(LineProblem::NotStored).text;
    std::optional<store::LineNumbers> numbers;
    const QString failure = writeIfStillShown(db, bill, notStored, [&](const StoredBill&) {
        numbers = store::takeLineNumbers(db, clock, NumberKind::BillNumber, bill.number,
                                         bill.numberProposed);
        const bool stored = numbers && db.execute(
            "insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,折扣,折后价,小计,折扣原因,"
            "状态,款号,杯型,尺码,颜色,单价,销售人员)values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
            {numbers->lineId, store::toDateStamp(line.saleDate), numbers->document,
             line.productCode, line.quantity, line.discount,
             discountedPrice(line.discount, line.unitPrice), line.subtotal, line.discountReason,
             kUnpaid, line.styleNumber, line.cup, line.size, line.colour, line.unitPrice,
             line.salesperson});
        return stored ? QString() : notStored;
    });
    if (failure.isEmpty()) return {LineProblem::None, numbers->document};
    return {failure == kBillChangedElsewhere ? LineProblem::BillChangedElsewhere
                                             : LineProblem::NotStored,
            {}};
}

QString changeBillLine(store::Database& db, const ShownBill& bill, const LineChange& change) {
    const QString failed = QStringLiteral("修改失败!");
    if (!discountFits(change.discount)) return failed;
    return writeIfStillShown(db, bill, failed, [&](const StoredBill&) {
        return db.execute(
                   "update 销售模块 set 数量 =?, 折扣 =?, 折后价 =?, 小计 =?, 折扣原因 =? where rowid =?",
                   {change.quantity, change.discount,
                    discountedPrice(change.discount, change.unitPrice), change.subtotal,
                    change.discountReason, change.lineRow})
                   ? QString()
                   : failed;
    });
}

DeletedLine deleteBillLine(store::Database& db, const ShownBill& bill, const QString& lineRow) {
    const QString failed = QStringLiteral("删除失败！");
    DeletedLine deleted;
    deleted.failure = writeIfStillShown(db, bill, failed, [&](const StoredBill&) {
        if (!db.execute("delete from 销售模块 where rowid =?", {lineRow})) return failed;
        const std::optional<bool> left = store::isNumberInUse(db, NumberKind::BillNumber, bill.number);
        deleted.billLeft = left.value_or(false);
        return left ? QString() : failed;
    });
    return deleted;
}

QString suspendBill(store::Database& db, const store::Clock& clock, const ShownBill& bill,
                    const QDate& saleDate, const QString& salesperson) {
    const QString failed = QStringLiteral("挂起失败");
    // The header counts the lines as they are when it is written.
    return writeIfStillShown(db, bill, failed, [&](const StoredBill& stored) {
        const store::RecordSet pieces =
            db.query("select sum(数量) from 销售模块 where 销售单号 =?", {bill.number});
        const std::optional<QString> number =
            pieces.failed() ? std::nullopt
                            : store::takeFreeNumber(db, clock, NumberKind::BillHeaderNumber);
        const bool written =
            number &&
            db.execute("insert into 销售管理总模块(编号,销售日期,销售单号,总件数,销售总金额,"
                       "销售人员,状态)values(?,?,?,?,?,?,?)",
                       {*number, store::toDateStamp(saleDate) + store::makeTimeStamp(clock),
                        bill.number, pieces.text(1), stored.total, salesperson, kSuspended});
        return written ? QString() : failed;
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

// A bill still as shown has no paid line: its headers go, and every line of it, each unpaid.
QString abandonBill(store::Database& db, const ShownBill& bill) {
    const QString linesFailed = QStringLiteral("删除失败");
    return writeIfStillShown(db, bill, linesFailed, [&](const StoredBill&) {
        if (!db.execute("delete from 销售管理总模块 where 销售单号 =?", {bill.number}))
            return QStringLiteral("总模块删除失败");
        if (!db.execute("delete from 销售模块 where 销售单号 =? and 状态 =?", {bill.number, kUnpaid}))
            return linesFailed;
        return QString();
    });
}

// Exactly the bill shown has every line unpaid: each is paid once, and the deduction over the
// bill's lines takes exactly their quantities.
QString payBill(store::Database& db, const ShownBill& bill, const QString& total) {
    const QString writeFailed = QStringLiteral("数据库写入失败！");
    return writeIfStillShown(
        db, bill, writeFailed,
        [&](const StoredBill& stored) {
            // The payment was taken on this total; amounts changed since would be charged wrongly.
            if (stored.total != total) return kBillChangedElsewhere;
            if (!db.execute("update 销售模块 set 状态 =? where 销售单号 =? and 状态 =?",
                            {kPaid, bill.number, kUnpaid}) ||
                !db.execute("update 销售管理总模块 set 状态 =? where 销售单号 =?", {kPaid, bill.number}))
                return writeFailed;
            if (!deductStock(db, bill.number)) return QStringLiteral("扣减库存失败");
            return QString();
        },
        &StoredBill::isExactly);
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
