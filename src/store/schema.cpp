#include "store/schema.h"

#include "store/paid_sales_sums.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <fcntl.h>
#include <unistd.h>

namespace store {

namespace {

const QString kBaseName = QStringLiteral("shop");

struct Step {
    const char* statement;
    const char* failureMessage;
};

const Step kTables[] = {
    {"CREATE TABLE 库存表(商品编号 varchar(255),助记码 varchar(255),款号 varchar(255),期初库存 varchar(255),进货库存 varchar(255),退货库存 varchar(255),销售出库 varchar(255),实际库存 varchar(255))",
     "1创建表失败，请联系作者！"},
    {"CREATE TABLE 入库管理模块(入库编号 varchar(255),入库单号 varchar(255),商品编号 varchar(255),商品数量 varchar(255),助记码 varchar(255),款号 varchar(255),品名 varchar(255),杯型 varchar(255),尺码 varchar(255),颜色 varchar(255),状态 varchar(255))",
     "2创建表失败，请联系作者！"},
    {"CREATE TABLE 入库管理总模块(ID varchar(255),入库单编号 varchar(255),商品总件数 varchar(255),款式数量 varchar(255),款号 memo,吊牌价总金额 varchar(255),进货价总金额 varchar(255),入库时间 varchar(255),入库人员 varchar(255),状态 varchar(255),备注 memo)",
     "3创建表失败，请联系作者！"},
    {"CREATE TABLE 商品资料(编号 varchar(255),助记码 varchar(255),条形码 varchar(255),款号 varchar(255),品名 varchar(100),品类 varchar(255),杯型 varchar(255),尺码 varchar(255),颜色 varchar(255),品牌供应商 varchar(255),吊牌价 varchar(100),进货价 varchar(100),库存 varchar(100))",
     "4创建表失败，请联系作者！"},
    {"CREATE TABLE 系统设置(id varchar(10),品牌管理 varchar(255),品类管理 varchar(255),杯型管理 varchar(255),尺码管理 varchar(255),折扣 varchar(255),折扣原因 varchar(255))",
     "6创建表失败，请联系作者！"},
    {"create table 销售管理总模块(编号 varchar(100),销售日期 varchar(100),销售单号 varchar(100),总件数 integer,销售总金额 real,销售人员 varchar(100),状态 varchar(100))",
     "7创建表失败，请联系作者！"},
    {"create table 销售模块(销售编号 varchar(100),销售时间 integer,销售单号 varchar(100),商品编号 varchar(100),数量 integer,款号 varchar(100),杯型 varchar(100),尺码 varchar(100),颜色 varchar(100),单价 varchar(100),折扣 varchar(100),折后价 varchar(100),小计 real,折扣原因 varchar(100),状态 varchar(100),销售人员 varchar(100))",
     "8创建表失败，请联系作者！"},
    {"create table 用户管理模块(用户名 varchar(100),密码 varchar(100))", "9创建表失败，请联系作者！"},
};

struct SeedRow {
    const char* statement;
    const char* value;
    const char* failureMessage;
};

const SeedRow kSeedRows[] = {
    {"insert into 用户管理模块(用户名)values(?)", "admin", "12创建表失败，请联系作者！"},
    {"insert into 系统设置(id)values(?)", "1", "创建表失败，请联系作者！"},
};

const char* const kLookupIndexes[] = {
    "CREATE INDEX IF NOT EXISTS 商品资料_编号 ON 商品资料(编号)",
    "CREATE INDEX IF NOT EXISTS 商品资料_助记码 ON 商品资料(助记码)",
    "CREATE INDEX IF NOT EXISTS 商品资料_条形码 ON 商品资料(条形码)",
    "CREATE INDEX IF NOT EXISTS 商品资料_款号 ON 商品资料(款号)",
    "CREATE INDEX IF NOT EXISTS 商品资料_品名 ON 商品资料(品名)",
    "CREATE INDEX IF NOT EXISTS 库存表_商品编号 ON 库存表(商品编号)",
    "CREATE INDEX IF NOT EXISTS 库存表_助记码 ON 库存表(助记码)",
    "CREATE INDEX IF NOT EXISTS 库存表_款号 ON 库存表(款号)",
    "CREATE INDEX IF NOT EXISTS 入库管理模块_入库单号 ON 入库管理模块(入库单号)",
    "CREATE INDEX IF NOT EXISTS 入库管理总模块_入库单编号 ON 入库管理总模块(入库单编号)",
    "CREATE INDEX IF NOT EXISTS 销售模块_销售单号 ON 销售模块(销售单号)",
    "CREATE INDEX IF NOT EXISTS 销售模块_销售时间 ON 销售模块(销售时间)",
    // The sales statistics read paid lines by sale date, and by product; both cover the
    // figures they sum, so neither reaches the table's rows.
    "CREATE INDEX IF NOT EXISTS 销售模块_统计 ON 销售模块(状态,销售时间,商品编号,数量,小计)",
    "CREATE INDEX IF NOT EXISTS 销售模块_单品 ON 销售模块(状态,商品编号,销售时间,数量,小计)",
    "CREATE INDEX IF NOT EXISTS 销售管理总模块_销售单号 ON 销售管理总模块(销售单号)",
    // A new number is looked for among those in use.
    "CREATE INDEX IF NOT EXISTS 销售模块_销售编号 ON 销售模块(销售编号)",
    "CREATE INDEX IF NOT EXISTS 销售管理总模块_编号 ON 销售管理总模块(编号)",
    "CREATE INDEX IF NOT EXISTS 入库管理模块_入库编号 ON 入库管理模块(入库编号)",
    "CREATE INDEX IF NOT EXISTS 入库管理总模块_ID ON 入库管理总模块(ID)",
};

struct TypedColumn {
    QString definition;  // SQLite column definition
    QString typeTest;    // true for a value the column refuses, or "" when any text fits
};

// varchar(n) is checked on the value as given; integer and real are checked in triggers, which
// see the value after SQLite has turned numeric text into a number.
TypedColumn typedColumn(const QString& definition) {
    static const QRegularExpression column(
        QStringLiteral("^\\s*(\\S+)\\s+(varchar\\((\\d+)\\)|memo|integer|real)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = column.match(definition);
    if (!match.hasMatch()) return {definition, {}};
    const QString name = match.captured(1);
    const QString type = match.captured(2).toLower();
    if (type.startsWith(u"varchar"))
        return {QStringLiteral("%1 TEXT CHECK(length(%1)<=%2)").arg(name, match.captured(3)), {}};
    if (type == u"memo") return {name + QStringLiteral(" TEXT"), {}};
    if (type == u"integer")
        return {name + QStringLiteral(" INTEGER"),
                QStringLiteral("typeof(NEW.%1) NOT IN ('integer','null') OR "
                               "NEW.%1 NOT BETWEEN -2147483648 AND 2147483647")
                    .arg(name)};
    return {name + QStringLiteral(" REAL"),
            QStringLiteral("typeof(NEW.%1) NOT IN ('real','null')").arg(name)};
}

}  // namespace

QStringList typedTableStatements(const QString& statement) {
    const qsizetype open = statement.indexOf(u'(');
    const qsizetype close = statement.lastIndexOf(u')');
    if (open < 0 || close < open) return {statement};
    // Column definitions split at the commas outside parentheses.
    QStringList pieces;
    QString current;
    int depth = 0;
    for (QChar c : statement.mid(open + 1, close - open - 1)) {
        if (c == u'(') ++depth;
        if (c == u')') --depth;
        if (c == u',' && depth == 0) {
            pieces << current;
            current.clear();
        } else {
            current += c;
        }
    }
    pieces << current;
    QStringList definitions;
    QStringList typeTests;
    for (const QString& piece : pieces) {
        const TypedColumn typed = typedColumn(piece);
        definitions << typed.definition;
        if (!typed.typeTest.isEmpty()) typeTests << QStringLiteral("(%1)").arg(typed.typeTest);
    }
    QStringList statements = {statement.left(open + 1) + definitions.join(u',') +
                              statement.mid(close)};
    if (typeTests.isEmpty()) return statements;
    const QString table = statement.left(open).split(u' ', Qt::SkipEmptyParts).last();
    for (const char* event : {"INSERT", "UPDATE"})
        statements << QStringLiteral("CREATE TRIGGER %1_%2_types BEFORE %2 ON %1 WHEN %3 BEGIN "
                                     "SELECT RAISE(ABORT,'value does not fit its column'); END")
                          .arg(table, QString::fromLatin1(event), typeTests.join(" OR "));
    return statements;
}

QString databaseFilePath(const QString& programFolder) {
    return programFolder + QStringLiteral("/data/") + kBaseName + QStringLiteral(".gbk");
}

namespace {

const QString kTableNames[] = {"库存表", "入库管理模块", "入库管理总模块", "商品资料", "系统设置",
                               "销售管理总模块", "销售模块", "用户管理模块"};
const char* const kCompanions[] = {"-journal", "-wal", "-shm"};

void ownerOnly(const QString& path) {
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void removeWithCompanions(const QString& path) {
    QFile::remove(path);
    for (const char* companion : kCompanions) QFile::remove(path + companion);
}

// A rename is only durable once the folder that holds the name is on disk.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// For a failure that belongs to no table.
QString creationFailed() { return QString::fromUtf8(kTables[0].failureMessage); }

// Runs the statements of a new database; "" or the message of the one that failed.
QString fillNewDatabase(Database& db) {
    for (const Step& table : kTables)
        for (const QString& statement : typedTableStatements(QString::fromUtf8(table.statement)))
            if (!db.execute(statement)) return QString::fromUtf8(table.failureMessage);
    for (const SeedRow& row : kSeedRows)
        if (!db.execute(QString::fromUtf8(row.statement), {QString::fromUtf8(row.value)}))
            return QString::fromUtf8(row.failureMessage);
    return ensureLookupIndexes(db) ? QString() : creationFailed();
}

bool hasEveryTable(Database& db) {
    QStringList names;
    for (const QString& name : kTableNames) names << name;
    const QString placeholders = QStringList(names.size(), QStringLiteral("?")).join(u',');
    return db.query("select count(*) from sqlite_master where type='table' and name in (" +
                        placeholders + ")",
                    names)
               .text(1) == QString::number(names.size());
}

}  // namespace

QString createDatabase(Database& db, const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    const QString draft = path + QStringLiteral(".new");
    removeWithCompanions(draft);  // what an interrupted creation left
    const QString createFailed = creationFailed();
    {
        QFile file(draft);
        if (!file.open(QIODevice::WriteOnly)) return createFailed;
    }
    ownerOnly(draft);
    if (!db.create(draft, kDatabasePassword) || !db.begin()) {
        db.close();
        removeWithCompanions(draft);
        return createFailed;
    }
    QString failure = fillNewDatabase(db);
    if (failure.isEmpty() && !db.commit()) failure = createFailed;
    if (!failure.isEmpty()) db.rollback();
    db.close();
    if (failure.isEmpty() && !QFile::rename(draft, path)) failure = createFailed;
    if (!failure.isEmpty()) {
        removeWithCompanions(draft);
        return failure;
    }
    syncFolder(folder);
    return {};
}

BooksOpening openBooks(Database& db, const QString& path) {
    const auto unavailable = [&path](const char* cause) {
        return BooksOpening{BooksState::Unavailable, QStringLiteral("数据库文件“") + path +
                                                         QStringLiteral("”") + QString::fromUtf8(cause) +
                                                         QStringLiteral("，程序将退出！")};
    };
    if (!db.open(path, kDatabaseUser, kDatabasePassword)) {
        switch (db.failure()) {
        case Database::Failure::Busy:
            return unavailable("正被其他程序使用，请关闭那个程序后再启动本软件");
        case Database::Failure::NoAccess:
            return unavailable("无法打开或读写，请检查文件和所在文件夹的权限");
        default:
            return {BooksState::Unreadable, {}};
        }
    }
    // SQLite opens a write-protected file for reading only, and a write-protected folder lets
    // no journal be made: either way nothing the shop does could be stored.
    if (db.isReadOnly() || !QFileInfo(QFileInfo(path).absolutePath()).isWritable()) {
        db.close();
        return unavailable("或其所在文件夹是只读的，请去掉只读属性后再启动本软件");
    }
    if (!hasEveryTable(db)) {
        db.close();
        return {BooksState::Unreadable, {}};
    }
    ownerOnly(path);
    // The indexes and sums change no behaviour: a file they cannot be made for now (another
    // program holds it) is used as it stands, and they are tried again at the next opening.
    ensureLookupIndexes(db);
    return {BooksState::Opened, {}};
}

bool ensureLookupIndexes(Database& db) {
    for (const char* index : kLookupIndexes)
        if (!db.execute(QString::fromUtf8(index))) return false;
    return ensurePaidSalesSums(db);
}

QString moveAside(const QString& path, const Clock& clock) {
    const QString stem = path + QStringLiteral(".unreadable-") +
                         clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target); ++n) target = stem + u'-' + QString::number(n);
    // A journal belongs to the file it was written for, so it moves with it.
    for (const char* companion : kCompanions)
        if (QFileInfo::exists(path + companion)) QFile::rename(path + companion, target + companion);
    if (!QFile::rename(path, target)) return {};
    ownerOnly(target);
    return target;
}

}  // namespace store
