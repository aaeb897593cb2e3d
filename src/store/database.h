#pragma once
// The one connection to the shop's database file: an SQLCipher (encrypted SQLite) file.
// Every value reaches a statement through a `?` placeholder, bound as text, so no typed or
// stored value can change which rows a statement reaches.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// The rows of one query, read at once and positioned on the first. Closing is the destructor.
// A query that failed gives a set without rows that says so: a reader that only shows rows may
// show none, but a reader whose answer decides a write must take it as the failure it is.
// The cells stay UTF-8 until read, packed row by row into large blocks that are used again once
// a set is gone, so a large set costs little more than SQLite's own scan; copies share the rows.
class RecordSet {
public:
    RecordSet();

    bool failed() const { return failed_; }
    bool atEnd() const { return row_ >= rowCount(); }
    bool isEmpty() const { return rowCount() == 0; }
    void moveNext() { if (!atEnd()) ++row_; }
    size_t rowCount() const { return rows_->starts.size(); }
    size_t columnCount() const { return rows_->columns.size(); }
    // 0-based position of the named column, -1 when the query has none.
    int columnIndex(const QString& column) const;

    // The current row's value: NULL, a missing column and a read past the end give "".
    QString text(const QString& column) const;
    QString text(int position) const;  // 1-based, as the columns stand in the query
    QString cell(size_t row, size_t column) const;  // 0-based, for filling lists in one go
    // The cell's UTF-8 bytes, valid while the set (or a copy) lives; equal texts, equal bytes.
    std::string_view cellBytes(size_t row, size_t column) const;

    // The rows in which each text of the column first appears, in order; worked out once per set.
    const std::vector<uint32_t>& distinctRows(int column) const;
    // The same rows in the order of their texts, byte by byte, as SQLite's binary collation
    // orders them; worked out once per set.
    const std::vector<uint32_t>& sortedDistinctRows(int column) const;
    // The rows whose cells in `columns` hold `values`, in their order here: what "where column =
    // value and ..." gives for values that are not empty (a NULL cell reads as empty here).
    RecordSet rowsWhere(const std::vector<int>& columns, const QStringList& values) const;

private:
    friend class Database;
    friend class TableRows;
    struct Block;
    // Each row: the end of each of its cells (4 bytes apiece), then the cells' bytes.
    struct Rows {
        Rows() = default;
        ~Rows();  // a large row list is kept for the next large set
        Rows(const Rows&) = delete;
        Rows& operator=(const Rows&) = delete;

        std::vector<QString> columns;
        std::vector<const char*> starts;                  // each row's place in a block
        std::vector<std::shared_ptr<const Block>> blocks;  // hold the rows' bytes
        // distinctRows and sortedDistinctRows, once worked out
        mutable std::unordered_map<int, std::vector<uint32_t>> distinctRows;
        mutable std::unordered_map<int, std::vector<uint32_t>> sortedDistinctRows;
    };
    explicit RecordSet(std::shared_ptr<const Rows> rows) : rows_(std::move(rows)) {}
    // Adds a row to a list being built; grown large, the list takes the one a large set left.
    static void addRow(std::vector<const char*>& starts, const char* start);

    static RecordSet failure();

    std::shared_ptr<const Rows> rows_;
    size_t row_ = 0;
    bool failed_ = false;
};

// One row of a statement being stepped through, its cells (0-based) as SQLite holds them.
class Row {
public:
    bool isText(int column) const;
    std::string_view bytes(int column) const;  // as UTF-8 text
    int64_t integer(int column) const;
    double real(int column) const;

private:
    friend class Database;
    explicit Row(sqlite3_stmt* statement) : statement_(statement) {}
    sqlite3_stmt* statement_;
};

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The password is the file's key; the user is accepted for the callers' sake and not used.
    // A missing file, a wrong key, or a file that is not a database gives false and leaves the
    // connection closed; `failure()` then tells why.
    bool open(const QString& path, const QString& user, const QString& password);
    // Makes a new, empty file at `path`, encrypted with `password` from its first page.
    bool create(const QString& path, const QString& password);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    // The file could only be opened for reading (write-protected by the system).
    bool isReadOnly() const;

    // A short lock held by another program (a backup, say) is waited out rather than failed;
    // only one held longer than this fails the statement.
    static constexpr int kDefaultBusyTimeoutMs = 3000;
    void setBusyTimeout(int milliseconds);

    enum class Failure {
        None,
        NotADatabase,  // no such file, a foreign file or a wrong key
        Busy,          // another program holds the file locked
        NoAccess,      // the system refuses to open or write the file
    };
    Failure failure() const { return failure_; }

    // A failed query gives an empty set whose `failed()` is true. A reader (this and forEachRow)
    // binds each value as it stands, every byte of it, so a value read back from the file finds
    // its rows whatever another program stored in it, control characters too.
    RecordSet query(const QString& sql, const QStringList& values = {});
    // For tests: from now on every query whose text holds `fragment` fails, as a query does when
    // the file cannot be read; "" ends it.
    void failQueriesContaining(const QString& fragment) { failingQueries_ = fragment; }
    // Refuses a value holding a control character (below U+0020) before the file is asked: the
    // write fails, and the caller tells its own failure.
    bool execute(const QString& sql, const QStringList& values = {});
    // Hands each row to `each` as it is stepped through, for a reader that folds many rows into
    // a few figures; false when the statement fails, possibly after some rows.
    bool forEachRow(const QString& sql, const QStringList& values,
                    const std::function<void(const Row&)>& each);

    // How many rows the last successful execute changed.
    int changedRows() const;

    // Begins as a write transaction, so the busy timeout covers it whole: a transaction that
    // read first would otherwise be refused its write lock at once, without waiting.
    bool begin();
    bool commit();
    // False when the transaction could not be rolled back; the connection is then opened anew,
    // so no transaction is ever left open behind the windows' backs.
    bool rollback();
    bool isInTransaction() const;

    QString lastError() const { return lastError_; }

    // Which rows of a table this connection writes, for a reader that keeps the table's rows
    // and reads again only the rows written since it last looked.
    struct ChangeMark {
        uint64_t connection = 0;
        uint64_t position = 0;
        QString othersVersion;  // changes when another program commits to the file
    };
    // From now on, the rowid of every row inserted, changed or deleted in `table` is noted.
    ChangeMark watch(const QString& table);
    // The rowids noted since `mark` (in the order written, repeats included), and `mark` moves
    // on to now. Nothing when they can no longer be told (too many, the file opened anew, or
    // another program wrote to it since): the reader then reads the whole table.
    std::optional<std::vector<int64_t>> rowsWrittenSince(const QString& table, ChangeMark& mark);

private:
    friend class TableRows;
    struct TableLog {
        std::string table;
        std::vector<int64_t> rowids;
        uint64_t dropped = 0;  // rowids noted before rowids[0] and let go
    };
    static void noteWrittenRow(void* self, int, const char*, const char* table, long long rowid);
    static int authorize(void* self, int action, const char* table, const char*, const char*,
                         const char*);
    TableLog* logOf(std::string_view table);
    // Steps through the prepared statement; with `rowids`, the first column is each row's rowid.
    RecordSet read(sqlite3_stmt* statement, std::vector<int64_t>* rowids = nullptr);

    bool connect(const QString& path, const QByteArray& key, int flags);
    void fail(int code);
    sqlite3_stmt* prepared(const QString& sql, const QStringList& values);
    void finalizeAll();

    sqlite3* db_ = nullptr;
    QString path_;
    QByteArray key_;
    Failure failure_ = Failure::None;
    // A statement the windows run again and again is prepared once.
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
    QString lastError_;
    std::vector<TableLog> logs_;
    // Counts the openings and the rollbacks, so marks made before one of them are told stale.
    uint64_t connection_ = 0;
    int busyTimeoutMs_ = kDefaultBusyTimeoutMs;
    QString failingQueries_;
};

}  // namespace store
