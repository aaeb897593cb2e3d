#pragma once
// The one connection to the shop's database file: an SQLCipher (encrypted SQLite) file.
// Every value reaches a statement through a `?` placeholder, bound as text, so no typed or
// stored value can change which rows a statement reaches.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// Below U+0020: never typed on purpose, and refused in every value a statement is given.
bool hasControlCharacter(const QString& text);

// The rows of one query, read at once and positioned on the first. Closing is the destructor.
// The cells stay UTF-8 until read, so a large set costs little more than SQLite's own scan, and
// copies share the rows.
class RecordSet {
public:
    RecordSet();

    bool atEnd() const { return row_ >= rowCount(); }
    bool isEmpty() const { return rowCount() == 0; }
    void moveNext() { if (!atEnd()) ++row_; }
    void moveFirst() { row_ = 0; }
    size_t rowCount() const;
    size_t columnCount() const { return rows_->columns.size(); }
    // 0-based position of the named column, -1 when the query has none.
    int columnIndex(const QString& column) const;

    // The current row's value: NULL, a missing column and a read past the end give "".
    QString text(const QString& column) const;
    QString text(int position) const;  // 1-based, as the columns stand in the query
    QString cell(size_t row, size_t column) const;  // 0-based, for filling lists in one go
    // The cell's UTF-8 text, for comparing many cells without turning each into a QString;
    // valid while the set or a copy of it lives.
    QByteArrayView cellBytes(size_t row, size_t column) const;

private:
    friend class Database;
    struct Rows {
        std::vector<QString> columns;
        QByteArray bytes;             // every cell's UTF-8 text, one after the other
        std::vector<uint32_t> ends;   // where each cell ends in `bytes`, row after row
    };
    std::shared_ptr<Rows> rows_;
    size_t row_ = 0;
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
    // Statements may use first_max_key(key, value): the key of the first row with the largest
    // value, empty values counting below every number.
    bool open(const QString& path, const QString& user, const QString& password);
    // Makes a new, empty file at `path`, encrypted with `password` from its first page.
    bool create(const QString& path, const QString& password);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    // The file could only be opened for reading (write-protected by the system).
    bool isReadOnly() const;

    enum class Failure {
        None,
        NotADatabase,  // no such file, a foreign file or a wrong key
        Busy,          // another program holds the file locked
        NoAccess,      // the system refuses to open or write the file
    };
    Failure failure() const { return failure_; }

    // A failed query gives an empty set.
    RecordSet query(const QString& sql, const QStringList& values = {});
    bool execute(const QString& sql, const QStringList& values = {});

    // How many rows the last successful execute changed.
    int changedRows() const;

    bool begin();
    bool commit();
    // False when the transaction could not be rolled back; the connection is then opened anew,
    // so no transaction is ever left open behind the windows' backs.
    bool rollback();

    QString lastError() const { return lastError_; }

private:
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
};

}  // namespace store
