#include "store/paid_sales_sums.h"

#include <QStringList>
#include <vector>

namespace store {

namespace {

struct Key {
    const char* column;
    const char* ofLine;  // the key worked out from a line; %1 stands for the line
};

struct SumsTable {
    const char* name;
    const char* definition;
    const char* index;  // or nullptr
    std::vector<Key> keys;
    const char* movingColumns;  // the columns whose change moves a line's figures
};

const SumsTable kSumsTables[] = {
    {"销售日汇总",
     "CREATE TABLE 销售日汇总(销售时间 INTEGER,销售人员 TEXT,行数 INTEGER,数量 INTEGER,"
     "数量个数 INTEGER,小计 REAL,小计个数 INTEGER)",
     "CREATE INDEX 销售日汇总_日期 ON 销售日汇总(销售时间,销售人员)",
     {{"销售时间", "%1.销售时间"}, {"销售人员", "%1.销售人员"}},
     "销售时间,销售人员,数量,小计,状态"},
    // Without rowid: the table is its own index, so reading a month's rows reads nothing else.
    {"销售月单品汇总",
     "CREATE TABLE 销售月单品汇总(月份 INTEGER,商品编号 TEXT,行数 INTEGER,数量 INTEGER,"
     "数量个数 INTEGER,小计 REAL,小计个数 INTEGER,PRIMARY KEY(月份,商品编号)) WITHOUT ROWID",
     nullptr,
     {{"月份", "ifnull(%1.销售时间/100,-1)"}, {"商品编号", "ifnull(%1.商品编号,X'')"}},
     "销售时间,商品编号,数量,小计,状态"},
    {"销售年单品汇总",
     "CREATE TABLE 销售年单品汇总(年份 INTEGER,商品编号 TEXT,行数 INTEGER,数量 INTEGER,"
     "数量个数 INTEGER,小计 REAL,小计个数 INTEGER,PRIMARY KEY(年份,商品编号)) WITHOUT ROWID",
     nullptr,
     {{"年份", "ifnull(%1.销售时间/10000,-1)"}, {"商品编号", "ifnull(%1.商品编号,X'')"}},
     "销售时间,商品编号,数量,小计,状态"},
};

QString ofLine(const char* pattern, const QString& line) {
    return QString::fromUtf8(pattern).arg(line);
}

// The lines every table holds.
QString paid(const QString& line) { return line + QStringLiteral(".状态='已买单'"); }

QString keysOf(const SumsTable& table, const QString& line) {
    QStringList keys;
    for (const Key& key : table.keys) keys << ofLine(key.ofLine, line);
    return keys.join(u',');
}

// "WHERE" over the table's row for the line.
QString rowOf(const SumsTable& table, const QString& line) {
    QStringList terms;
    for (const Key& key : table.keys)
        terms << QStringLiteral("%1 IS %2").arg(QString::fromUtf8(key.column), ofLine(key.ofLine, line));
    return terms.join(QStringLiteral(" AND "));
}

QString rowFor(const SumsTable& table, const QString& line, const QString& guard) {
    return QStringLiteral("INSERT INTO %1 SELECT %2,0,0,0,0.0,0 WHERE %3 AND NOT EXISTS(SELECT 1 "
                          "FROM %1 WHERE %4);")
        .arg(QString::fromUtf8(table.name), keysOf(table, line), guard, rowOf(table, line));
}

QString add(const SumsTable& table, const QString& line, const QString& guard) {
    return QStringLiteral(
               "UPDATE %1 SET 行数=行数+1,数量=数量+ifnull(%2.数量,0),"
               "数量个数=数量个数+(%2.数量 IS NOT NULL),小计=小计+ifnull(%2.小计,0.0),"
               "小计个数=小计个数+(%2.小计 IS NOT NULL) WHERE %3 AND %4;")
        .arg(QString::fromUtf8(table.name), line, guard, rowOf(table, line));
}

// A row whose last amount goes is set back to exactly nothing, free of what subtracting left.
QString subtract(const SumsTable& table, const QString& line, const QString& guard) {
    return QStringLiteral(
               "UPDATE %1 SET 行数=行数-1,数量=数量-ifnull(%2.数量,0),"
               "数量个数=数量个数-(%2.数量 IS NOT NULL),"
               "小计=CASE WHEN 小计个数-(%2.小计 IS NOT NULL)=0 THEN 0.0 "
               "ELSE 小计-ifnull(%2.小计,0.0) END,小计个数=小计个数-(%2.小计 IS NOT NULL) "
               "WHERE %3 AND %4;")
        .arg(QString::fromUtf8(table.name), line, guard, rowOf(table, line));
}

QString triggerName(const SumsTable& table, const char* event) {
    return QString::fromUtf8(table.name) + u'_' + QLatin1String(event);
}

QStringList triggers(const SumsTable& table) {
    const QString name = QString::fromUtf8(table.name);
    const QString newHeld = paid("NEW");
    const QString oldHeld = paid("OLD");
    return {
        QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON 销售模块 WHEN %2 BEGIN %3%4 END")
            .arg(triggerName(table, "insert"), newHeld, rowFor(table, "NEW", "1"), add(table, "NEW", "1")),
        QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON 销售模块 WHEN %2 BEGIN %3 END")
            .arg(triggerName(table, "delete"), oldHeld, subtract(table, "OLD", "1")),
        QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2 ON 销售模块 WHEN %3 OR %4 BEGIN %5%6%7 END")
            .arg(triggerName(table, "update"), QString::fromUtf8(table.movingColumns), oldHeld,
                 newHeld, subtract(table, "OLD", oldHeld), rowFor(table, "NEW", newHeld),
                 add(table, "NEW", newHeld)),
    };
}

QString fill(const SumsTable& table) {
    return QStringLiteral(
               "INSERT INTO %1 SELECT %2,count(*),ifnull(sum(数量),0),count(数量),"
               "ifnull(sum(小计),0.0),count(小计) FROM 销售模块 WHERE %3 GROUP BY %2")
        .arg(QString::fromUtf8(table.name), keysOf(table, "销售模块"), paid("销售模块"));
}

bool isWhole(Database& db, const SumsTable& table) {
    return db.query("SELECT count(*) FROM sqlite_master WHERE name IN (?,?,?,?)",
                    {QString::fromUtf8(table.name), triggerName(table, "insert"),
                     triggerName(table, "delete"), triggerName(table, "update")})
               .text(1) == u"4";
}

// Whatever part of the table is left is made anew, from the lines.
void makeAnew(Database& db, const SumsTable& table) {
    QStringList steps;
    for (const char* event : {"insert", "delete", "update"})
        steps << "DROP TRIGGER IF EXISTS " + triggerName(table, event);
    steps << "DROP TABLE IF EXISTS " + QString::fromUtf8(table.name)
          << QString::fromUtf8(table.definition);
    if (table.index) steps << QString::fromUtf8(table.index);
    steps << fill(table) << triggers(table);
    // A savepoint nests inside the creation's own transaction and is one outside it: the sums
    // come whole or not at all.
    if (!db.execute(QStringLiteral("SAVEPOINT paid_sums"))) return;
    for (const QString& step : steps)
        if (!db.execute(step)) {
            db.execute(QStringLiteral("ROLLBACK TO paid_sums"));
            break;
        }
    db.execute(QStringLiteral("RELEASE paid_sums"));
}

}  // namespace

void ensurePaidSalesSums(Database& db) {
    for (const SumsTable& table : kSumsTables)
        if (!isWhole(db, table)) makeAnew(db, table);
}

}  // namespace store
