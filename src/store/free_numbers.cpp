#include "store/free_numbers.h"

#include "store/stamps.h"

#include <QSet>

namespace store {

namespace {

struct Column {
    const char* table;
    const char* name;
};

// The longest number, "xsbh" with its 14 digits and a suffix, stays far within the narrowest
// column it is written to (100 characters).
struct Kind {
    const char* prefix;
    std::vector<Column> inUse;
};

const Kind& kindOf(NumberKind kind) {
    static const Kind kinds[] = {  // in the order of NumberKind
        {"sp", {{"商品资料", "编号"}, {"库存表", "商品编号"}}},
        {"rk", {{"入库管理模块", "入库单号"}, {"入库管理总模块", "入库单编号"}}},
        {"", {{"入库管理总模块", "ID"}}},
        {"", {{"入库管理模块", "入库编号"}}},
        {"xs", {{"销售模块", "销售单号"}, {"销售管理总模块", "销售单号"}}},
        {"xsbh", {{"销售模块", "销售编号"}}},
        {"xsz", {{"销售管理总模块", "编号"}}},
    };
    return kinds[static_cast<int>(kind)];
}

// The numbers in use that are `base` or `base` followed by "-" and more: "-" sorts just below
// ".", so all of them lie between `base` and `base` + "." and an index finds them at once.
std::optional<QSet<QString>> numbersLike(Database& db, const Kind& kind, const QString& base) {
    QSet<QString> found;
    for (const Column& column : kind.inUse) {
        const QString sql = QStringLiteral("select distinct %1 from %2 where %1 >= ? and %1 < ?")
                                .arg(QString::fromUtf8(column.name), QString::fromUtf8(column.table));
        RecordSet rows = db.query(sql, {base, base + u'.'});
        if (rows.failed()) return std::nullopt;
        for (; !rows.atEnd(); rows.moveNext()) found.insert(rows.text(1));
    }
    return found;
}

}  // namespace

std::optional<QString> takeFreeNumber(Database& db, const Clock& clock, NumberKind kind,
                                      const QStringList& held) {
    const Kind& numbers = kindOf(kind);
    const QString base = makeDocumentNumber(clock, QString::fromUtf8(numbers.prefix));
    std::optional<QSet<QString>> taken = numbersLike(db, numbers, base);
    if (!taken) return std::nullopt;
    for (const QString& number : held) taken->insert(number);
    QString number = base;
    for (int suffix = 2; taken->contains(number); ++suffix)
        number = base + u'-' + QString::number(suffix);
    return number;
}

std::optional<bool> isNumberInUse(Database& db, NumberKind kind, const QString& number) {
    const std::optional<QSet<QString>> stored = numbersLike(db, kindOf(kind), number);
    if (!stored) return std::nullopt;
    return stored->contains(number);
}

std::optional<QString> claimNumber(Database& db, const Clock& clock, NumberKind kind,
                                   const QString& proposed) {
    const std::optional<bool> inUse = isNumberInUse(db, kind, proposed);
    if (!inUse) return std::nullopt;
    return *inUse ? takeFreeNumber(db, clock, kind) : proposed;
}

std::optional<LineNumbers> takeLineNumbers(Database& db, const Clock& clock, NumberKind document,
                                           const QString& number, bool proposed) {
    const std::optional<QString> documentNumber =
        proposed ? claimNumber(db, clock, document, number) : number;
    const NumberKind line =
        document == NumberKind::BillNumber ? NumberKind::BillLineId : NumberKind::ReceiptLineId;
    const std::optional<QString> lineId =
        documentNumber ? takeFreeNumber(db, clock, line) : std::nullopt;
    if (!lineId) return std::nullopt;
    return LineNumbers{*documentNumber, *lineId};
}

}  // namespace store
