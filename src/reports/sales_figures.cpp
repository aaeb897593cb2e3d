#include "reports/sales_figures.h"

#include "reports/product_groups.h"
#include "reports/range_stretches.h"
#include "store/numbers.h"
#include "store/paid_sales_sums.h"
#include "store/stamps.h"

namespace reports {

using store::LineSums;

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

// Each row: product code, then store::kSumsColumns, or for lines store::kLineColumns. A code
// that is not text (NULL in a line, X'' in the sums) stands for lines without one.
QString stretchRows(Grain grain) {
    const auto sums = [](const char* table, const char* date) {
        return "select 商品编号," + store::kSumsColumns + " from " + QString::fromUtf8(table) +
               " where " + QString::fromUtf8(date) + ">=cast(? as integer) and " +
               QString::fromUtf8(date) + "<=cast(? as integer) and 行数>0";
    };
    const QString lines = "select 商品编号," + store::kLineColumns +
                          " from 销售模块 indexed by 销售模块_统计 where 状态='已买单' and " + kInRange;
    switch (grain) {
    case Grain::Years: return sums("销售年单品汇总", "年份");
    case Grain::Months: return sums("销售月单品汇总", "月份");
    case Grain::OtherDates: return sums("销售异日单品汇总", "销售时间");
    // Within a month every whole number is a calendar day; a date between two days is none.
    case Grain::Days: return lines + " and typeof(销售时间)='integer'";
    case Grain::Lines: break;
    }
    return lines;
}

// The kept sums of the rows a statement reads, folded; nothing when the read fails.
std::optional<LineSums> keptSums(store::Database& db, const QString& sql, const QStringList& values) {
    LineSums all;
    const bool read = db.forEachRow(
        sql, values, [&](const store::Row& row) { all.add(LineSums::ofRow(row, 0, +1)); });
    return read ? std::optional(all) : std::nullopt;
}

QString sumText(const store::Row& row, int typeColumn) {
    const std::string_view type = row.bytes(typeColumn);
    if (type == "null") return {};
    if (type == "integer") return QString::number(row.integer(typeColumn + 1));
    if (type == "real") return store::computedNumberText(row.real(typeColumn + 1));
    return QString::fromUtf8(row.bytes(typeColumn + 1));
}

// SQL's own sums of `figures` over the lines where `condition` holds, as a record set shows
// them (each read with its type); nothing when the read fails.
std::optional<QStringList> sumsOfLines(store::Database& db, const QStringList& figures,
                                       const QString& condition, const QStringList& values) {
    QStringList columns;
    for (const QString& figure : figures)
        columns << QStringLiteral("typeof(sum(%1)),sum(%1)").arg(figure);
    QStringList texts;
    const bool read = db.forEachRow(
        "select " + columns.join(u',') + " from 销售模块 where " + condition, values,
        [&](const store::Row& row) {
            for (int figure = 0; figure < figures.size(); ++figure) texts << sumText(row, 2 * figure);
        });
    if (!read || texts.size() != figures.size()) return std::nullopt;
    return texts;
}

// The first product with the largest sum of `figure` over the lines, and that sum.
std::optional<std::pair<QString, QString>> bestOfLines(store::Database& db, const char* figure,
                                                       const DateBounds& bounds) {
    std::optional<std::pair<QString, QString>> best;
    const bool read = db.forEachRow(
        QStringLiteral("select 商品编号,typeof(a),a from (select sum(%1) a,商品编号 from 销售模块 "
                       "where 状态='已买单' and %2 group by 商品编号) order by a desc,商品编号 limit 1")
            .arg(QString::fromUtf8(figure), kInRange),
        {bounds.start, bounds.end},
        [&](const store::Row& row) { best = {QString::fromUtf8(row.bytes(0)), sumText(row, 1)}; });
    if (!read) return std::nullopt;
    return best ? best : std::pair<QString, QString>();
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
    return store::computedNumberText(share).left(5) + u'%';
}

std::optional<RangeTotals> rangeTotals(store::Database& db, const DateBounds& bounds) {
    const QStringList range = {bounds.start, bounds.end};
    const std::optional<LineSums> kept =
        keptSums(db, "select " + store::kSumsColumns + " from 销售日汇总 where " + kInRange, range);
    if (kept && kept->carriesAmount() && kept->carriesQuantity())
        return RangeTotals{kept->amountText(), kept->quantityText()};
    const std::optional<QStringList> sums =
        sumsOfLines(db, {"小计", "数量"}, "状态='已买单' and " + kInRange, range);
    if (!sums) return std::nullopt;
    return RangeTotals{(*sums)[0], (*sums)[1]};
}

std::optional<BestSellers> bestSellers(store::Database& db, const DateBounds& bounds) {
    ProductGroups groups;
    LineSums all;  // tells whether the kept integers carry every line of the range
    bool read = true;
    for (const Stretch& stretch : stretchesOf(bounds.start, bounds.end)) {
        const bool ofLines = stretch.grain == Grain::Days || stretch.grain == Grain::Lines;
        const auto sumsOf = ofLines ? LineSums::ofLine : LineSums::ofRow;
        read = db.forEachRow(stretchRows(stretch.grain), {stretch.from, stretch.to},
                             [&](const store::Row& row) {
                                 const LineSums sums = sumsOf(row, 1, stretch.sign);
                                 all.add(sums);
                                 const bool hasCode = row.isText(0);
                                 groups.add(hasCode ? std::optional(row.bytes(0)) : std::nullopt, sums);
                             });
        if (!read) break;  // a part of the range would be a wrong figure
    }
    const auto best = [&](bool carried, auto most, const char* figure) {
        return read && carried ? std::optional((groups.*most)()) : bestOfLines(db, figure, bounds);
    };
    const auto byQuantity = best(all.carriesQuantity(), &ProductGroups::mostPieces, "数量");
    const auto byAmount = best(all.carriesAmount(), &ProductGroups::mostAmount, "小计");
    if (!byQuantity || !byAmount) return std::nullopt;
    return BestSellers{byQuantity->first, byQuantity->second, byAmount->first, byAmount->second};
}

std::optional<ProductSales> productSales(store::Database& db, const QString& productCode,
                                         const DateBounds& bounds) {
    const std::optional<QStringList> sums = sumsOfLines(
        db, {"小计", "数量"}, "商品编号=? and 状态='已买单' and " + kInRange,
        {productCode, bounds.start, bounds.end});
    if (!sums) return std::nullopt;
    return ProductSales{(*sums)[0], (*sums)[1]};
}

std::optional<QString> salespersonAmount(store::Database& db, const QString& salesperson,
                                         const DateBounds& bounds) {
    const QStringList values = {salesperson, bounds.start, bounds.end};
    const std::optional<LineSums> kept = keptSums(
        db, "select " + store::kSumsColumns + " from 销售日汇总 where 销售人员=? and " + kInRange, values);
    if (kept && kept->carriesAmount()) return kept->amountText();
    const std::optional<QStringList> sums =
        sumsOfLines(db, {"小计"}, "状态='已买单' and 销售人员=? and " + kInRange, values);
    if (!sums) return std::nullopt;
    return (*sums)[0];
}

store::RecordSet paidProductCodes(store::Database& db) {
    // From the year sums and the sums of lines dated on no calendar day, which together hold
    // every paid line once: a few rows per product, not a row per line. Sorted as the lines' own
    // index gives them, lines without a code first.
    return db.query("select nullif(商品编号,X'') 商品编号 from (select 商品编号 from 销售年单品汇总 "
                    "where 行数>0 union all select 商品编号 from 销售异日单品汇总 where 行数>0) group by 1");
}

store::RecordSet paidSalespeople(store::Database& db) {
    // In the order they first sold, whatever order the day sums were written in.
    return db.query("select 销售人员 from 销售日汇总 where 行数>0 group by 销售人员 "
                    "order by min(销售时间),销售人员");
}

}  // namespace reports
