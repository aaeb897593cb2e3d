#include "store/database.h"

#include "store/numbers.h"

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

// Page cache for the working set of a large shop (a million bill lines): the file is decrypted
// page by page, so a scan that misses the cache pays for every page again.
constexpr const char* kConnectionSettings =
    "PRAGMA cache_size=-262144;"
    "PRAGMA journal_mode=WAL;"
    "PRAGMA synchronous=FULL;"
    "PRAGMA foreign_keys=OFF;";

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

}  // namespace

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
    const QByteArray file = path.toUtf8();
    // One thread uses the connection, so SQLite need not lock around every call.
    if (sqlite3_open_v2(file.constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        lastError_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
        close();
        return false;
    }
    const QByteArray key = password.toUtf8();
    sqlite3_key(db_, key.constData(), key.size());
    // The key is only tried on the first read: a wrong key or a foreign file fails here.
    if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) !=
            SQLITE_OK ||
        sqlite3_exec(db_, kConnectionSettings, nullptr, nullptr, nullptr) != SQLITE_OK) {
        lastError_ = QString::fromUtf8(sqlite3_errmsg(db_));
        close();
        return false;
    }
    return true;
}

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
bool Database::rollback() { return execute(QStringLiteral("ROLLBACK")); }

}  // namespace store
