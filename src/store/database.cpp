#include "store/database.h"

#include "store/numbers.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

// Page cache for the working set of a large shop (a million bill lines): the file is decrypted
// page by page, so a scan that misses the cache pays for every page again.
// The rollback journal keeps every committed change in the database file itself, so a copy of the
// file taken between two actions holds the shop's whole books. Sorts and groupings (tens of
// megabytes at most, for a million lines) are kept in memory rather than in temporary files.
constexpr const char* kConnectionSettings =
    "PRAGMA cache_size=-262144;"
    "PRAGMA journal_mode=DELETE;"
    "PRAGMA synchronous=FULL;"
    "PRAGMA temp_store=MEMORY;"
    "PRAGMA foreign_keys=OFF;";

// Rowids noted for one table before a reader is told to read it whole instead.
constexpr size_t kRowsNotedAtMost = 4096;

// A set starts in a small block and goes on in large ones. Large blocks of sets that are gone
// are kept for the next large set: fresh memory costs a page fault for every page it touches.
constexpr size_t kFirstBlockSize = 8 << 10;
constexpr size_t kLargeBlockSize = 1 << 20;
constexpr size_t kSpareBlocksKept = 48;

struct SpareBlocks {
    std::vector<char*> blocks;
    ~SpareBlocks() {
        for (char* block : blocks) std::free(block);
    }
};
thread_local SpareBlocks spareBlocks;
// Likewise the row list of a large set.
constexpr size_t kSpareStartsAtLeast = 4096;
thread_local std::vector<const char*> spareStarts;

// Below U+0020: never typed on purpose, and refused in every value a write is given.
bool hasControlCharacter(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < 0x20) return true;
    return false;
}

}  // namespace

struct RecordSet::Block {
    explicit Block(size_t wanted) : size(std::max(wanted, kFirstBlockSize)) {
        std::vector<char*>& spare = spareBlocks.blocks;
        if (size == kLargeBlockSize && !spare.empty()) {
            data = spare.back();
            spare.pop_back();
        } else {
            data = static_cast<char*>(std::malloc(size));
            if (!data) throw std::bad_alloc();
        }
    }
    ~Block() {
        if (size == kLargeBlockSize && spareBlocks.blocks.size() < kSpareBlocksKept)
            spareBlocks.blocks.push_back(data);
        else
            std::free(data);
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    char* data;
    size_t size;
    size_t used = 0;
};

RecordSet::Rows::~Rows() {
    if (starts.capacity() >= kSpareStartsAtLeast && starts.capacity() > spareStarts.capacity())
        starts.swap(spareStarts);
}

RecordSet::RecordSet() : rows_(std::make_shared<Rows>()) {}

RecordSet RecordSet::failure() {
    RecordSet set;
    set.failed_ = true;
    return set;
}

void RecordSet::addRow(std::vector<const char*>& starts, const char* start) {
    if (starts.size() == starts.capacity() && spareStarts.capacity() > starts.size()) {
        spareStarts.assign(starts.begin(), starts.end());
        starts.swap(spareStarts);
        std::vector<const char*>().swap(spareStarts);
    }
    starts.push_back(start);
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
    const std::string_view bytes = cellBytes(row, column);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string_view RecordSet::cellBytes(size_t row, size_t column) const {
    if (row >= rowCount() || column >= columnCount()) return {};
    const char* start = rows_->starts[row];
    uint32_t begin = 0, end = 0;
    if (column > 0) std::memcpy(&begin, start + (column - 1) * sizeof(uint32_t), sizeof begin);
    std::memcpy(&end, start + column * sizeof(uint32_t), sizeof end);
    const char* cells = start + columnCount() * sizeof(uint32_t);
    return {cells + begin, end - begin};
}

const std::vector<uint32_t>& RecordSet::distinctRows(int column) const {
    if (auto known = rows_->distinctRows.find(column); known != rows_->distinctRows.end())
        return known->second;
    std::vector<uint32_t> rows;
    if (column >= 0 && static_cast<size_t>(column) < columnCount()) {
        // Open addressing over row numbers: a column of tens of thousands of cells is seen
        // without an allocation per value.
        size_t slotCount = 16;
        while (slotCount < 2 * rowCount()) slotCount *= 2;
        constexpr uint32_t kFree = UINT32_MAX;
        std::vector<uint32_t> firstRowOf(slotCount, kFree);
        for (size_t row = 0; row < rowCount(); ++row) {
            const std::string_view bytes = cellBytes(row, column);
            size_t slot = std::hash<std::string_view>{}(bytes) & (slotCount - 1);
            while (firstRowOf[slot] != kFree && cellBytes(firstRowOf[slot], column) != bytes)
                slot = (slot + 1) & (slotCount - 1);
            if (firstRowOf[slot] != kFree) continue;
            firstRowOf[slot] = static_cast<uint32_t>(row);
            rows.push_back(static_cast<uint32_t>(row));
        }
    }
    return rows_->distinctRows.emplace(column, std::move(rows)).first->second;
}

const std::vector<uint32_t>& RecordSet::sortedDistinctRows(int column) const {
    auto& known = rows_->sortedDistinctRows;
    if (auto found = known.find(column); found != known.end()) return found->second;
    const std::vector<uint32_t>& distinct = distinctRows(column);
    // The bytes that every cell begins with decide nothing; the eight after them, taken as one
    // number, settle most comparisons without comparing the bytes themselves.
    const std::string_view first = distinct.empty() ? "" : cellBytes(distinct.front(), column);
    size_t shared = first.size();
    for (uint32_t row : distinct) {
        const std::string_view bytes = cellBytes(row, column);
        const auto end = first.begin() + static_cast<ptrdiff_t>(shared);
        shared = std::mismatch(first.begin(), end, bytes.begin(), bytes.end()).first - first.begin();
    }
    struct Cell {
        uint64_t head;
        std::string_view bytes;
        uint32_t row;
    };
    std::vector<Cell> cells;
    cells.reserve(distinct.size());
    for (uint32_t row : distinct) {
        const std::string_view bytes = cellBytes(row, column);
        uint64_t head = 0;
        for (size_t i = shared; i < shared + 8; ++i)
            head = head << 8 | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0);
        cells.push_back({head, bytes, row});
    }
    std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return a.head != b.head ? a.head < b.head : a.bytes < b.bytes;
    });
    std::vector<uint32_t> rows;
    rows.reserve(cells.size());
    for (const Cell& cell : cells) rows.push_back(cell.row);
    return known.emplace(column, std::move(rows)).first->second;
}

RecordSet RecordSet::rowsWhere(const std::vector<int>& columns, const QStringList& values) const {
    if (columns.size() != static_cast<size_t>(values.size())) return {};
    std::vector<QByteArray> wanted;
    for (const QString& value : values) wanted.push_back(value.toUtf8());
    auto rows = std::make_shared<Rows>();
    rows->columns = rows_->columns;
    rows->blocks = rows_->blocks;
    for (size_t row = 0; row < rowCount(); ++row) {
        bool matches = true;
        for (size_t i = 0; i < columns.size() && matches; ++i)
            matches = columns[i] >= 0 &&
                      cellBytes(row, static_cast<size_t>(columns[i])) ==
                          std::string_view(wanted[i].constData(), static_cast<size_t>(wanted[i].size()));
        if (matches) addRow(rows->starts, rows_->starts[row]);
    }
    // Every row matched: this set itself, with what it has already worked out.
    if (rows->starts.size() == rowCount()) return *this;
    return RecordSet(std::move(rows));
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
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
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
    ++connection_;
    for (TableLog& log : logs_) {
        log.rowids.clear();
        log.dropped = 0;
    }
    sqlite3_update_hook(db_, &Database::noteWrittenRow, this);
    sqlite3_set_authorizer(db_, &Database::authorize, this);
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

void Database::setBusyTimeout(int milliseconds) {
    busyTimeoutMs_ = milliseconds;
    if (db_) sqlite3_busy_timeout(db_, milliseconds);
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
    // With its full length, so a value holding a NUL is compared whole.
    const int placeholders = sqlite3_bind_parameter_count(statement);
    for (int i = 0; i < placeholders && i < values.size(); ++i) {
        const QByteArray value = values[i].toUtf8();
        sqlite3_bind_text(statement, i + 1, value.constData(), value.size(), SQLITE_TRANSIENT);
    }
    return statement;
}

RecordSet Database::query(const QString& sql, const QStringList& values) {
    if (!failingQueries_.isEmpty() && sql.contains(failingQueries_)) {
        lastError_ = QStringLiteral("the file could not be read");
        return RecordSet::failure();
    }
    sqlite3_stmt* statement = prepared(sql, values);
    return statement ? read(statement) : RecordSet::failure();
}

RecordSet Database::read(sqlite3_stmt* statement, std::vector<int64_t>* rowids) {
    auto rows = std::make_shared<RecordSet::Rows>();
    const int first = rowids ? 1 : 0;
    const int count = std::max(sqlite3_column_count(statement) - first, 0);
    for (int i = 0; i < count; ++i)
        rows->columns.push_back(QString::fromUtf8(sqlite3_column_name(statement, first + i)));

    // Numbers are written as their plain text, so every reader sees what the user would. A real
    // column holds a figure as it was typed; a real the statement worked out (a sum) was added up
    // in double, and its noise is hidden.
    std::vector<QString (*)(double)> realText(count);
    for (int i = 0; i < count; ++i)
        realText[i] =
            sqlite3_column_decltype(statement, first + i) ? &numberText : &computedNumberText;
    std::vector<std::string_view> cells(count);
    std::vector<std::array<char, 24>> integers(count);
    std::vector<QByteArray> reals(count);
    RecordSet::Block* block = nullptr;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        if (rowids) rowids->push_back(sqlite3_column_int64(statement, 0));
        size_t size = count * sizeof(uint32_t);
        for (int i = 0; i < count; ++i) {
            // One look-up of the column's value; the calls on it then skip the statement's checks.
            // Reading such an unprotected value is sound only because one thread uses the
            // connection (it is opened without SQLite's per-call mutex).
            sqlite3_value* value = sqlite3_column_value(statement, first + i);
            switch (sqlite3_value_type(value)) {
            case SQLITE_NULL:
                cells[i] = {};
                break;
            case SQLITE_INTEGER: {
                char* digits = integers[i].data();
                const auto written =
                    std::to_chars(digits, digits + integers[i].size(), sqlite3_value_int64(value));
                cells[i] = {digits, static_cast<size_t>(written.ptr - digits)};
                break;
            }
            case SQLITE_FLOAT:
                reals[i] = realText[i](sqlite3_value_double(value)).toUtf8();
                cells[i] = {reals[i].constData(), static_cast<size_t>(reals[i].size())};
                break;
            default: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
                cells[i] = {text, static_cast<size_t>(sqlite3_value_bytes(value))};
            }
            }
            size += cells[i].size();
        }
        // Rows start on a 4-byte boundary, where their cell ends are.
        size = (size + 3) & ~size_t(3);
        if (!block || block->size - block->used < size) {
            const size_t wanted = block ? std::max(size, kLargeBlockSize) : size;
            auto fresh = std::make_shared<RecordSet::Block>(wanted);
            block = fresh.get();
            rows->blocks.push_back(std::move(fresh));
        }
        char* start = block->data + block->used;
        char* text = start + count * sizeof(uint32_t);
        uint32_t end = 0;
        for (int i = 0; i < count; ++i) {
            if (!cells[i].empty()) std::memcpy(text + end, cells[i].data(), cells[i].size());
            end += static_cast<uint32_t>(cells[i].size());
            std::memcpy(start + i * sizeof(uint32_t), &end, sizeof end);
        }
        block->used += size;
        RecordSet::addRow(rows->starts, start);
    }
    sqlite3_reset(statement);
    if (step != SQLITE_DONE) {
        lastError_ = QString::fromUtf8(sqlite3_errmsg(db_));
        if (rowids) rowids->clear();
        return RecordSet::failure();
    }
    return RecordSet(std::move(rows));
}

bool Database::execute(const QString& sql, const QStringList& values) {
    // SQLite measures text only up to a NUL, so such a value would pass a column's length limit;
    // no box of the shop's takes other control characters either.
    if (std::any_of(values.begin(), values.end(), hasControlCharacter)) {
        lastError_ = QStringLiteral("a value holds a control character");
        return false;
    }
    return forEachRow(sql, values, [](const Row&) {});
}

bool Database::forEachRow(const QString& sql, const QStringList& values,
                          const std::function<void(const Row&)>& each) {
    sqlite3_stmt* statement = prepared(sql, values);
    if (!statement) return false;
    const Row row(statement);
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) each(row);
    const bool ok = step == SQLITE_DONE;
    if (!ok) lastError_ = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_reset(statement);
    return ok;
}

bool Row::isText(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_TEXT; }

std::string_view Row::bytes(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return {text ? text : "", static_cast<size_t>(sqlite3_column_bytes(statement_, column))};
}

int64_t Row::integer(int column) const { return sqlite3_column_int64(statement_, column); }

double Row::real(int column) const { return sqlite3_column_double(statement_, column); }

Database::TableLog* Database::logOf(std::string_view table) {
    for (TableLog& log : logs_)
        if (log.table == table) return &log;
    return nullptr;
}

void Database::noteWrittenRow(void* self, int, const char*, const char* table, long long rowid) {
    TableLog* log = static_cast<Database*>(self)->logOf(table);
    if (!log) return;
    if (log->rowids.size() == kRowsNotedAtMost) {
        log->dropped += log->rowids.size();
        log->rowids.clear();
    }
    log->rowids.push_back(rowid);
}

// A delete of every row of a watched table would empty it without telling each row; told to
// ignore the delete, SQLite deletes the rows one by one instead, and each is noted.
int Database::authorize(void* self, int action, const char* table, const char*, const char*,
                        const char*) {
    if (action == SQLITE_DELETE && table && static_cast<Database*>(self)->logOf(table))
        return SQLITE_IGNORE;
    return SQLITE_OK;
}

Database::ChangeMark Database::watch(const QString& table) {
    const std::string name = table.toStdString();
    TableLog* log = logOf(name);
    if (!log) {
        logs_.push_back({name, {}, 0});
        log = &logs_.back();
        // Statements prepared before were authorized without knowing the table is watched.
        finalizeAll();
    }
    return {connection_, log->dropped + log->rowids.size(),
            query(QStringLiteral("PRAGMA data_version")).text(1)};
}

std::optional<std::vector<int64_t>> Database::rowsWrittenSince(const QString& table,
                                                               ChangeMark& mark) {
    const TableLog* log = logOf(table.toStdString());
    const ChangeMark now = watch(table);
    const bool told = log && mark.connection == connection_ && mark.position >= log->dropped &&
                      mark.position <= now.position && mark.othersVersion == now.othersVersion;
    const uint64_t from = mark.position;
    mark = now;
    if (!told) return std::nullopt;
    return std::vector<int64_t>(log->rowids.begin() + static_cast<ptrdiff_t>(from - log->dropped),
                                log->rowids.end());
}

int Database::changedRows() const { return db_ ? sqlite3_changes(db_) : 0; }

bool Database::isInTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

bool Database::begin() { return execute(QStringLiteral("BEGIN IMMEDIATE")); }
bool Database::commit() { return execute(QStringLiteral("COMMIT")); }
bool Database::rollback() {
    // A watcher that read rows inside the transaction holds rows that are gone now: every mark
    // is told stale, so the next look reads its table whole.
    ++connection_;
    if (execute(QStringLiteral("ROLLBACK")) || !isInTransaction()) return true;
    // A transaction that will not end would hold the next action's writes hostage: closing the
    // connection ends it, and SQLite takes back its changes when the file is opened again.
    const QString path = path_;
    const QByteArray key = key_;
    close();
    connect(path, key, SQLITE_OPEN_READWRITE);
    return false;
}

}  // namespace store
