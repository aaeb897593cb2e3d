#include "reports/sales_figures.h"

#include "reports/product_groups.h"
#include "reports/range_stretches.h"
#include "store/numbers.h"
#include "store/stamps.h"

#include <optional>

namespace reports {

namespace {

// Bounds closer than this to today count as today.
constexpr double kBoundTolerance = 1e-7;

// The range condition on 销售时间. The bounds come as text: made numbers once, they are not
// converted again at every line compared.
const QString kInRange =
    QStringLiteral("销售时间>=cast(? as integer) and 销售时间<=cast(? as integer)");

bool isAfterToday(const QString& bound, const QString& today) {
    return store::toNumber(bound) - store::toNumber(today) > kBoundTolerance;
}

// Each row: product code, lines, quantity, how many quantities, amount, how many amounts. A
// code that is not text (NULL in a line, X'' in the sums) stands for lines without one.
QString stretchRows(Grain grain) {
    static const QString sums = QStringLiteral(
        "select 商品编号,行数,数量,数量个数,小计,小计个数 from %1 "
        "where %2>=cast(? as integer) and %2<=cast(? as integer) and 行数>0");
    switch (grain) {
    case Grain::Years: return sums.arg(QStringLiteral("销售年单品汇总"), QStringLiteral("年份"));
    case Grain::Months: return sums.arg(QStringLiteral("销售月单品汇总"), QStringLiteral("月份"));
    case Grain::Days: break;
    }
    return "select 商品编号,1,数量,数量 is not null,小计,小计 is not null from 销售模块 indexed by "
           "销售模块_统计 where 状态='已买单' and " + kInRange;
}

}  // namespace

DateBounds makeBounds(const QDate& start, const QDate& end, const store::Clock& clock) {
    DateBounds bounds;
    bounds.end = store::toDateStamp(end);
    bounds.start = store::toDateStamp(start);
    bounds.today = store::makeDateStamp(clock);
    return bounds;
}

QString boundsProblem(const DateBounds& bounds) {
    if (isAfterToday(bounds.start, bounds.today)) return QStringLiteral("开始日期不能超过今天！");
    if (isAfterToday(bounds.end, bounds.today)) return QStringLiteral("结束日期不能超过今天！");
    return {};
}

QString shareText(const QString& part, const QString& total) {
    const double whole = store::toNumber(total);
    const double share = whole == 0 ? 0 : store::toNumber(part) / whole * 100;
    return store::numberText(share).left(5) + u'%';
}

RangeTotals rangeTotals(store::Database& db, const DateBounds& bounds) {
    const store::RecordSet sums = db.query(
        "select case when sum(小计个数)>0 then sum(小计) end,"
        "case when sum(数量个数)>0 then sum(数量) end "
        "from 销售日汇总 where " + kInRange,
        {bounds.start, bounds.end});
    return {sums.text(1), sums.text(2)};
}

BestSellers bestSellers(store::Database& db, const DateBounds& bounds) {
    ProductGroups groups;
    for (const Stretch& stretch : stretchesOf(bounds.start, bounds.end)) {
        const bool read = db.forEachRow(
            stretchRows(stretch.grain), {stretch.from, stretch.to}, [&](const store::Row& row) {
                const int sign = stretch.sign;
                groups.add(!row.isText(0) ? std::nullopt : std::optional(row.bytes(0)),
                           sign * row.integer(1), sign * row.integer(2), sign * row.integer(3),
                           sign * row.real(4), sign * row.integer(5));
            });
        if (!read) return {};  // a part of the range would be a wrong figure
    }
    const auto [byQuantity, quantity] = groups.mostPieces();
    const auto [byAmount, amount] = groups.mostAmount();
    return {byQuantity, quantity, byAmount, amount};
}

ProductSales productSales(store::Database& db, const QString& productCode,
                          const DateBounds& bounds) {
    const store::RecordSet sums = db.query(
        "select sum(小计),sum(数量) from 销售模块 where 商品编号=? and 状态='已买单' and " + kInRange,
        {productCode, bounds.start, bounds.end});
    return {sums.text(1), sums.text(2)};
}

QString salespersonAmount(store::Database& db, const QString& salesperson,
                          const DateBounds& bounds) {
    return db
        .query("select case when sum(小计个数)>0 then sum(小计) end from 销售日汇总 "
               "where 销售人员=? and " + kInRange,
               {salesperson, bounds.start, bounds.end})
        .text(1);
}

store::RecordSet paidProductCodes(store::Database& db) {
    // From the year sums, which hold every paid line once: a few rows per product, not a row
    // per line. Sorted as the lines' own index gives them, lines without a code first.
    return db.query("select nullif(商品编号,X'') 商品编号 from 销售年单品汇总 where 行数>0 group by 1");
}

store::RecordSet paidSalespeople(store::Database& db) {
    // In the order they first sold, whatever order the day sums were written in.
    return db.query("select 销售人员 from 销售日汇总 where 行数>0 group by 销售人员 "
                    "order by min(销售时间),销售人员");
}

}  // namespace reports
