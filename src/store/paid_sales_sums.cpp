#include "store/paid_sales_sums.h"

#include "store/numbers.h"
#include "store/transaction.h"

#include <QStringList>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

namespace store {

namespace {

// SQL patterns: `@` stands for the line (NEW, OLD, or a name of 销售模块). SQL's own `%` is the
// modulo, so no pattern goes through QString::arg.
QString over(const QString& line, const char* pattern) {
    return QString::fromUtf8(pattern).replace(u'@', line);
}

// The amount as a whole number of millionths, or NULL: millionthsOf in SQL. A typed amount
// (169.15, 0.001) is stored as the double nearest to it, which gives the number back exactly.
const char kMillionths[] =
    "CASE WHEN typeof(@.小计)='real' AND abs(@.小计)<1e9 AND round(@.小计*1000000)/1000000=@.小计 "
    "THEN cast(round(@.小计*1000000) AS INTEGER) END";

const char kWholeQuantity[] =
    "(@.数量 IS NULL OR typeof(@.数量)='integer' AND @.数量 BETWEEN -2147483648 AND 2147483647)";

// What one line adds to each of kSumsColumns; `millionths` is its amount as kMillionths gives it.
QStringList figuresOf(const QString& line, const QString& millionths) {
    const QString whole = over(line, kWholeQuantity);
    return {QStringLiteral("1"),
            "CASE WHEN " + whole + " THEN ifnull(" + line + ".数量,0) ELSE 0 END",
            line + ".数量 IS NOT NULL",
            "NOT " + whole,
            "ifnull(" + millionths + ",0)/1000000",
            "ifnull(" + millionths + ",0)%1000000",
            line + ".小计 IS NOT NULL",
            "(" + line + ".小计 IS NOT NULL AND " + millionths + " IS NULL)"};
}

// A sale date that names a calendar day of the years 1 to 9999, a whole number: the days a range
// takes off a month's or a year's sums at its ends then take off all the sums hold beyond its
// bounds. A date with a fraction (20240305.5) lies between two days and is none.
QString isCalendarDay(const QString& line) {
    const QString date = line + ".销售时间";
    const QString month = date + "/100%100";
    const QString year = date + "/10000";
    const QString leap = "(" + year + "%4=0 AND (" + year + "%100<>0 OR " + year + "%400=0))";
    const QString lastDay = "CASE WHEN " + month + " IN (4,6,9,11) THEN 30 WHEN " + month +
                            "=2 THEN 28+" + leap + " ELSE 31 END";
    return "(typeof(" + date + ")='integer' AND " + date + " BETWEEN 10101 AND 99991231 AND " +
           month + " BETWEEN 1 AND 12 AND " + date + "%100 BETWEEN 1 AND " + lastDay + ")";
}

enum class Dates { All, CalendarDays, OtherDates };

// Every table has two keys.
using Keys = std::array<const char*, 2>;

struct SumsTable {
    const char* name;
    const char* keyColumns;  // with their types
    bool withoutRowid;       // the table is its own index on the keys, which are never NULL
    Keys keysOfLine;         // patterns over the line
    Dates dates;
    const char* movingColumns;  // the columns whose change moves a line's figures
    // Filled from the rows of this finer table, made before it, rather than from the lines.
    const char* finerTable = nullptr;
    Keys keysOfFinerRow = {};
    // Its keys need a column that no index on 状态 holds (销售人员): one pass over the lines'
    // table reads each page once, where the index would fetch every line's row apart.
    bool fillsFromTheTable = false;
};

const SumsTable kSumsTables[] = {
    {"销售日汇总", "销售时间 INTEGER,销售人员 TEXT", false, {"@.销售时间", "@.销售人员"}, Dates::All,
     "销售时间,销售人员,数量,小计,状态", nullptr, {}, true},
    // Without rowid: reading a month's rows reads nothing else.
    {"销售月单品汇总", "月份 INTEGER,商品编号 TEXT", true,
     {"@.销售时间/100", "ifnull(@.商品编号,X'')"}, Dates::CalendarDays,
     "销售时间,商品编号,数量,小计,状态"},
    {"销售年单品汇总", "年份 INTEGER,商品编号 TEXT", true,
     {"@.销售时间/10000", "ifnull(@.商品编号,X'')"}, Dates::CalendarDays,
     "销售时间,商品编号,数量,小计,状态", "销售月单品汇总", {"月份/100", "商品编号"}},
    {"销售异日单品汇总", "销售时间 INTEGER,商品编号 TEXT", false,
     {"@.销售时间", "ifnull(@.商品编号,X'')"}, Dates::OtherDates, "销售时间,商品编号,数量,小计,状态"},
};

QString nameOf(const SumsTable& table) { return QString::fromUtf8(table.name); }

QStringList keyNames(const SumsTable& table) {
    QStringList names;
    for (const QString& column : QString::fromUtf8(table.keyColumns).split(u','))
        names << column.section(u' ', 0, 0);
    return names;
}

QString definition(const SumsTable& table) {
    QStringList figures;
    for (const QString& figure : kSumsColumns.split(u',')) figures << figure + " INTEGER";
    const QString key = keyNames(table).join(u',');
    return "CREATE TABLE " + nameOf(table) + "(" + QString::fromUtf8(table.keyColumns) + "," +
           figures.join(u',') +
           (table.withoutRowid ? ",PRIMARY KEY(" + key + ")) WITHOUT ROWID" : QStringLiteral(")"));
}

// Both such tables are read by sale date first.
QString indexName(const SumsTable& table) { return nameOf(table) + "_日期"; }

QString index(const SumsTable& table) {
    return "CREATE INDEX " + indexName(table) + " ON " + nameOf(table) + "(" +
           keyNames(table).join(u',') + ")";
}

// The lines a table holds.
QString holds(const SumsTable& table, const QString& line) {
    const QString paid = line + ".状态='已买单'";
    switch (table.dates) {
    case Dates::All: return paid;
    case Dates::CalendarDays: return paid + " AND " + isCalendarDay(line);
    case Dates::OtherDates: return paid + " AND NOT " + isCalendarDay(line);
    }
    return paid;
}

QString keysOf(const SumsTable& table, const QString& line) {
    QStringList keys;
    for (const char* key : table.keysOfLine) keys << over(line, key);
    return keys.join(u',');
}

// "WHERE" over the table's row for the line.
QString rowOf(const SumsTable& table, const QString& line) {
    const QStringList names = keyNames(table);
    return names[0] + " IS " + over(line, table.keysOfLine[0]) + " AND " + names[1] + " IS " +
           over(line, table.keysOfLine[1]);
}

QString rowFor(const SumsTable& table, const QString& line, const QString& guard) {
    return "INSERT INTO " + nameOf(table) + " SELECT " + keysOf(table, line) +
           ",0,0,0,0,0,0,0,0 WHERE " + guard + " AND NOT EXISTS(SELECT 1 FROM " + nameOf(table) +
           " WHERE " + rowOf(table, line) + ");";
}

// Adds (sign '+') or takes off ('-') the line's figures.
QString change(const SumsTable& table, const QString& line, QChar sign, const QString& guard) {
    const QStringList columns = kSumsColumns.split(u',');
    const QStringList figures = figuresOf(line, over(line, kMillionths));
    QStringList sets;
    for (int f = 0; f < columns.size(); ++f)
        sets << columns[f] + "=" + columns[f] + sign + "(" + figures[f] + ")";
    return "UPDATE " + nameOf(table) + " SET " + sets.join(u',') + " WHERE " + guard + " AND " +
           rowOf(table, line) + ";";
}

QString triggerName(const SumsTable& table, const char* event) {
    return nameOf(table) + u'_' + QLatin1String(event);
}

std::vector<std::pair<QString, QString>> triggers(const SumsTable& table) {
    const QString newHeld = holds(table, "NEW");
    const QString oldHeld = holds(table, "OLD");
    const QString on = QStringLiteral(" ON 销售模块 WHEN ");
    return {
        {triggerName(table, "insert"),
         "CREATE TRIGGER " + triggerName(table, "insert") + " AFTER INSERT" + on + newHeld +
             " BEGIN " + rowFor(table, "NEW", "1") + change(table, "NEW", u'+', "1") + " END"},
        {triggerName(table, "delete"),
         "CREATE TRIGGER " + triggerName(table, "delete") + " AFTER DELETE" + on + oldHeld +
             " BEGIN " + change(table, "OLD", u'-', "1") + " END"},
        {triggerName(table, "update"),
         "CREATE TRIGGER " + triggerName(table, "update") + " AFTER UPDATE OF " +
             QString::fromUtf8(table.movingColumns) + on + "(" + oldHeld + ") OR (" + newHeld +
             ") BEGIN " + change(table, "OLD", u'-', oldHeld) + rowFor(table, "NEW", newHeld) +
             change(table, "NEW", u'+', newHeld) + " END"},
    };
}

QString fill(const SumsTable& table) {
    QStringList sums;
    if (table.finerTable) {
        for (const QString& column : kSumsColumns.split(u',')) sums << "sum(" + column + ")";
        return "INSERT INTO " + nameOf(table) + " SELECT " + QString::fromUtf8(table.keysOfFinerRow[0]) +
               "," + QString::fromUtf8(table.keysOfFinerRow[1]) + "," + sums.join(u',') + " FROM " +
               QString::fromUtf8(table.finerTable) + " GROUP BY 1,2";
    }
    // The lines are grouped first by key and figures, so each figure is worked out once for each
    // quantity and amount that recurs under a key rather than once for every line.
    const QString distinct = "SELECT " + over("销售模块", table.keysOfLine[0]) + " AS 键1," +
                             over("销售模块", table.keysOfLine[1]) +
                             " AS 键2,数量,小计,count(*) AS n FROM 销售模块" +
                             (table.fillsFromTheTable ? " NOT INDEXED" : "") + " WHERE " +
                             holds(table, "销售模块") + " GROUP BY 1,2,3,4";
    for (const QString& figure : figuresOf("行", over("行", kMillionths)))
        sums << "sum(行.n*(" + figure + "))";
    return "INSERT INTO " + nameOf(table) + " SELECT 行.键1,行.键2," + sums.join(u',') + " FROM (" +
           distinct + ") AS 行 GROUP BY 1,2";
}

// Each object of the sums as this version makes it: name and statement.
std::vector<std::pair<QString, QString>> objects() {
    std::vector<std::pair<QString, QString>> all;
    for (const SumsTable& table : kSumsTables) {
        all.emplace_back(nameOf(table), definition(table));
        if (!table.withoutRowid) all.emplace_back(indexName(table), index(table));
        for (auto& trigger : triggers(table)) all.push_back(std::move(trigger));
    }
    return all;
}

// Nothing when the file's objects cannot be read.
std::optional<bool> isCurrent(Database& db, const std::vector<std::pair<QString, QString>>& wanted) {
    QStringList names;
    for (const auto& object : wanted) names << object.first;
    const RecordSet stored = db.query(
        "SELECT name,sql FROM sqlite_master WHERE name IN (" +
            QStringList(names.size(), QStringLiteral("?")).join(u',') + ")",
        names);
    if (stored.failed()) return std::nullopt;
    if (stored.rowCount() != wanted.size()) return false;
    for (size_t row = 0; row < stored.rowCount(); ++row) {
        const QString name = stored.cell(row, 0);
        for (const auto& object : wanted)
            if (object.first == name && object.second != stored.cell(row, 1)) return false;
    }
    return true;
}

// Whatever is left of the sums, of this version or an older one, is made anew from the lines.
bool makeAnew(Database& db) {
    QStringList steps;
    // Old triggers first: they would otherwise outlive their tables' replacement.
    for (const SumsTable& table : kSumsTables)
        for (const char* event : {"insert", "delete", "update"})
            steps << "DROP TRIGGER IF EXISTS " + triggerName(table, event);
    for (const SumsTable& table : kSumsTables) {
        steps << "DROP TABLE IF EXISTS " + nameOf(table) << definition(table);
        if (!table.withoutRowid) steps << index(table);
        steps << fill(table);
    }
    for (const SumsTable& table : kSumsTables)
        for (const auto& trigger : triggers(table)) steps << trigger.second;
    const auto run = [&] {
        for (const QString& step : steps)
            if (!db.execute(step)) return false;
        return true;
    };
    // Within a transaction already open (the creation's own), its commit or rollback decides.
    // Outside one, the sums come whole or not at all in a transaction of their own that ends
    // whatever happens: a commit that another program's read keeps from the file rolls back,
    // so nothing is left open to refuse the program's next write.
    return db.isInTransaction() ? run() : inTransaction(db, run);
}

}  // namespace

LineSums LineSums::ofRow(const Row& row, int first, int sign) {
    LineSums sums;
    sums.lines = sign * row.integer(first);
    sums.quantity = sign * row.integer(first + 1);
    sums.quantities = sign * row.integer(first + 2);
    sums.oddQuantities = sign * row.integer(first + 3);
    sums.millionths = sign * (__int128(row.integer(first + 4)) * 1000000 + row.integer(first + 5));
    sums.amounts = sign * row.integer(first + 6);
    sums.oddAmounts = sign * row.integer(first + 7);
    return sums;
}

// The rule of figuresOf, for a line read with kLineColumns.
LineSums LineSums::ofLine(const Row& row, int first, int sign) {
    LineSums sums;
    sums.lines = sign;
    const std::string_view quantityType = row.bytes(first);
    if (quantityType != "null") {
        sums.quantities = sign;
        const int64_t quantity = row.integer(first + 1);
        if (quantityType == "integer" && quantity >= INT32_MIN && quantity <= INT32_MAX)
            sums.quantity = sign * quantity;
        else
            sums.oddQuantities = sign;
    }
    const std::string_view amountType = row.bytes(first + 2);
    if (amountType != "null") {
        sums.amounts = sign;
        const std::optional<int64_t> millionths =
            amountType == "real" ? millionthsOf(row.real(first + 3)) : std::nullopt;
        if (millionths)
            sums.millionths = sign * *millionths;
        else
            sums.oddAmounts = sign;
    }
    return sums;
}

void LineSums::add(const LineSums& other) {
    lines += other.lines;
    quantity += other.quantity;
    quantities += other.quantities;
    oddQuantities += other.oddQuantities;
    millionths += other.millionths;
    amounts += other.amounts;
    oddAmounts += other.oddAmounts;
}

QString LineSums::quantityText() const { return quantities ? QString::number(quantity) : QString(); }

QString LineSums::amountText() const { return amounts ? millionthsText(millionths) : QString(); }

// kMillionths step for step, as SQLite works it out: its round() adds one half and truncates.
std::optional<int64_t> millionthsOf(double amount) {
    if (!(std::fabs(amount) < 1e9)) return std::nullopt;
    const double scaled = amount * 1000000;
    const double rounded =
        scaled >= 0 ? double(int64_t(scaled + 0.5)) : -double(int64_t(-scaled + 0.5));
    if (rounded / 1000000 != amount) return std::nullopt;
    return int64_t(rounded);
}

QString millionthsText(__int128 millionths) {
    // The double nearest to the exact sum, whose plain text gives back its decimals.
    return numberText(double(millionths) / 1e6);
}

bool ensurePaidSalesSums(Database& db) {
    const std::optional<bool> current = isCurrent(db, objects());
    return current && (*current || makeAnew(db));
}

}  // namespace store
