#include "reports/sales_figures.h"

#include "store/numbers.h"
#include "store/stamps.h"

namespace reports {

namespace {

// Bounds closer than this to today count as today.
constexpr double kBoundTolerance = 1e-7;

// A range holding more than this share of all paid lines is summed in product order over every
// paid line, which needs no sorting; a smaller one is read by date and its groups sorted.
constexpr int kWholeScanShare = 8;

// The range condition on 销售时间. The bounds come as text: made numbers once, they are not
// converted again at every line compared.
const QString kInRange =
    QStringLiteral("销售时间>=cast(? as integer) and 销售时间<=cast(? as integer)");

bool isAfterToday(const QString& bound, const QString& today) {
    return store::toNumber(bound) - store::toNumber(today) > kBoundTolerance;
}

// The paid lines in the range and in all, from the day sums.
struct LineCounts {
    double inRange;
    double all;
};
LineCounts paidLineCounts(store::Database& db, const DateBounds& bounds) {
    const store::RecordSet counts = db.query(
        "select sum(case when " + kInRange + " then 行数 end),sum(行数) from 销售日汇总",
        {bounds.start, bounds.end});
    return {store::toNumber(counts.text(1)), store::toNumber(counts.text(2))};
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
    const LineCounts lines = paidLineCounts(db, bounds);
    const QString index = lines.inRange * kWholeScanShare > lines.all
                              ? QStringLiteral("销售模块_单品")
                              : QStringLiteral("销售模块_统计");
    const store::RecordSet best = db.query(
        "select first_max_key(商品编号,a),max(a),first_max_key(商品编号,b),max(b) from "
        "(select 商品编号,sum(数量) a,sum(小计) b from 销售模块 indexed by " + index +
            " where 状态='已买单' and " + kInRange + " group by 商品编号)",
        {bounds.start, bounds.end});
    return {best.text(1), best.text(2), best.text(3), best.text(4)};
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
    return db.query("select distinct 商品编号 from 销售模块 where 状态='已买单'");
}

store::RecordSet paidSalespeople(store::Database& db) {
    // In the order they first sold, whatever order the day sums were written in.
    return db.query("select 销售人员 from 销售日汇总 where 行数>0 group by 销售人员 "
                    "order by min(销售时间),销售人员");
}

}  // namespace reports
