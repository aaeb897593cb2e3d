#include "store/database.h"

#include "store/numbers.h"

#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

// Page cache for the working set of a large shop (a million bill lines): the file is decrypted
// page by page, so a scan that misses the cache pays for every page again.
// The rollback journal keeps every committed change in the database file itself, so a copy of the
// file taken between two actions holds the shop's whole books.
constexpr const char* kConnectionSettings =
    "PRAGMA cache_size=-262144;"
    "PRAGMA journal_mode=DELETE;"
    "PRAGMA synchronous=FULL;"
    "PRAGMA foreign_keys=OFF;";

// A short lock held by another program (a backup, say) is waited out rather than failed.
constexpr int kBusyTimeoutMs = 3000;

// Numbers are written as their plain text, so every reader sees what the user would.
void appendCell(QByteArray& bytes, sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return;
    case SQLITE_INTEGER:
        bytes += QByteArray::number(sqlite3_column_int64(statement, column));
        return;
    case SQLITE_FLOAT:
        bytes += numberText(sqlite3_column_double(statement, column)).toUtf8();
        return;
    default:
        bytes.append(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                     sqlite3_column_bytes(statement, column));
    }
}

// first_max_key(key, value): the key of the first row whose value is the largest, as an
// "order by value desc" takes its top row, with empty values below every number. One grouped
// pass then gives a best seller without sorting the groups.
struct FirstMax {
    sqlite3_value* key;
    double best;
    bool seen;
    bool bestIsNumber;
};

void firstMaxStep(sqlite3_context* context, int, sqlite3_value** arguments) {
    auto* state = static_cast<FirstMax*>(sqlite3_aggregate_context(context, sizeof(FirstMax)));
    if (!state) return;
    const bool isNumber = sqlite3_value_type(arguments[1]) != SQLITE_NULL;
    const double value = sqlite3_value_double(arguments[1]);
    if (state->seen && (!isNumber || (state->bestIsNumber && value <= state->best))) return;
    sqlite3_value_free(state->key);
    state->key = sqlite3_value_dup(arguments[0]);
    state->best = value;
    state->bestIsNumber = isNumber;
    state->seen = true;
}

void firstMaxFinal(sqlite3_context* context) {
    auto* state = static_cast<FirstMax*>(sqlite3_aggregate_context(context, 0));
    if (!state || !state->key) return;
    sqlite3_result_value(context, state->key);
    sqlite3_value_free(state->key);
}

}  // namespace

bool hasControlCharacter(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < 0x20) return true;
    return false;
}

RecordSet::RecordSet() : rows_(std::make_shared<Rows>()) {}

size_t RecordSet::rowCount() const {
    return rows_->columns.empty() ? 0 : rows_->ends.size() / rows_->columns.size();
}

int RecordSet::columnIndex(const QString& column) const {
    for (size_t i = 0; i < rows_->columns.size(); ++i)
        if (rows_->columns[i].compare(column, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

QString RecordSet::text(const QString& column) const {
    const int index = columnIndex(column);
    return index < 0 ? QString() : cell(row_, static_cast<size_t>(index));
}

QString RecordSet::text(int position) const {
    if (position < 1) return {};
    return cell(row_, static_cast<size_t>(position - 1));
}

QString RecordSet::cell(size_t row, size_t column) const {
    return QString::fromUtf8(cellBytes(row, column));
}

QByteArrayView RecordSet::cellBytes(size_t row, size_t column) const {
    if (row >= rowCount() || column >= columnCount()) return {};
    const size_t index = row * columnCount() + column;
    const uint32_t start = index == 0 ? 0 : rows_->ends[index - 1];
    return QByteArrayView(rows_->bytes.constData() + start, rows_->ends[index] - start);
}

Database::~Database() { close(); }

bool Database::open(const QString& path, const QString&, const QString& password) {
    close();
    if (!QFileInfo::exists(path)) {
        failure_ = Failure::NotADatabase;
        lastError_ = QStringLiteral("no such file");
        return false;
    }
    return connect(path, password.toUtf8(), SQLITE_OPEN_READWRITE);
}

bool Database::create(const QString& path, const QString& password) {
    close();
    return connect(path, password.toUtf8(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

bool Database::connect(const QString& path, const QByteArray& key, int flags) {
    failure_ = Failure::None;
    const QByteArray file = path.toUtf8();
    // One thread uses the connection, so SQLite need not lock around every call.
    const int opened = sqlite3_open_v2(file.constData(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (opened != SQLITE_OK) {
        fail(opened);
        close();
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_key(db_, key.constData(), key.size());
    // The key is only tried on the first read: a wrong key or a foreign file fails here.
    if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) !=
            SQLITE_OK ||
        sqlite3_exec(db_, kConnectionSettings, nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(sqlite3_errcode(db_));
        close();
        return false;
    }
    path_ = path;
    key_ = key;
    sqlite3_create_function(db_, "first_max_key", 2, SQLITE_UTF8, nullptr, nullptr, firstMaxStep,
                            firstMaxFinal);
    return true;
}

void Database::fail(int code) {
    lastError_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(code));
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        failure_ = Failure::Busy;
        break;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
    case SQLITE_IOERR:
    case SQLITE_FULL:
        failure_ = Failure::NoAccess;
        break;
    default:
        failure_ = Failure::NotADatabase;
    }
}

bool Database::isReadOnly() const { return db_ && sqlite3_db_readonly(db_, "main") == 1; }

void Database::close() {
    finalizeAll();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Database::finalizeAll() {
    for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
    statements_.clear();
}

sqlite3_stmt* Database::prepared(const QString& sql, const QStringList& values) {
    if (!db_) {
        lastError_ = QStringLiteral("database not open");
        return nullptr;
    }
    // SQLite measures and compares text only up to a NUL, so such a value would pass a column's
    // length limit and compare equal to what it is not; no box of the shop's takes other
    // control characters either.
    for (const QString& value : values)
        if (hasControlCharacter(value)) {
            lastError_ = QStringLiteral("a value holds a control character");
            return nullptr;
        }
    const std::string key = sql.toStdString();
    sqlite3_stmt* statement = nullptr;
    if (auto found = statements_.find(key); found != statements_.end()) {
        statement = found->second;
    } else {
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db_, key.c_str(), static_cast<int>(key.size()), &statement, &tail) != SQLITE_OK ||
            !statement) {
            lastError_ = QString::fromUtf8(sqlite3_errmsg(db_));
            return nullptr;
        }
        statements_.emplace(key, statement);
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    const int placeholders = sqlite3_bind_parameter_count(statement);
    for (int i = 0; i < placeholders && i < values.size(); ++i) {
        const QByteArray value = values[i].toUtf8();
        sqlite3_bind_text(statement, i + 1, value.constData(), value.size(), SQLITE_TRANSIENT);
    }
    return statement;
}

RecordSet Database::query(const QString& sql, const QStringList& values) {
    sqlite3_stmt* statement = prepared(sql, values);
    if (!statement) return {};
    RecordSet set;
    RecordSet::Rows& rows = *set.rows_;
    const int columnCount = sqlite3_column_count(statement);
    for (int i = 0; i < columnCount; ++i)
        rows.columns.push_back(QString::fromUtf8(sqlite3_column_name(statement, i)));
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW)
        for (int i = 0; i < columnCount; ++i) {
            appendCell(rows.bytes, statement, i);
            rows.ends.push_back(static_cast<uint32_t>(rows.bytes.size()));
        }
    sqlite3_reset(statement);
    if (step != SQLITE_DONE) {
        lastError_ = QString::fromUtf8(sqlite3_errmsg(db_));
        return {};
    }
    return set;
}

bool Database::execute(const QString& sql, const QStringList& values) {
    sqlite3_stmt* statement = prepared(sql, values);
    if (!statement) return false;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    const bool ok = step == SQLITE_DONE;
    if (!ok) lastError_ = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_reset(statement);
    return ok;
}

int Database::changedRows() const { return db_ ? sqlite3_changes(db_) : 0; }

bool Database::begin() { return execute(QStringLiteral("BEGIN")); }
bool Database::commit() { return execute(QStringLiteral("COMMIT")); }
bool Database::rollback() {
    if (execute(QStringLiteral("ROLLBACK")) || !db_ || sqlite3_get_autocommit(db_)) return true;
    // A transaction that will not end would hold the next action's writes hostage: closing the
    // connection ends it, and SQLite takes back its changes when the file is opened again.
    const QString path = path_;
    const QByteArray key = key_;
    close();
    connect(path, key, SQLITE_OPEN_READWRITE);
    return false;
}

}  // namespace store
