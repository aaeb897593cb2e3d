#pragma once
// The shop's database file: where it lives, its key, its eight tables and their seed rows.

#include "store/clock.h"
#include "store/database.h"

#include <QString>

namespace store {

inline const QString kDatabaseUser = QStringLiteral("admin");
inline const QString kDatabasePassword = QStringLiteral("quvanto472913");

// <program folder>/data/<base name>.gbk
QString databaseFilePath(const QString& programFolder);

// Creates the data folder and the file, encrypted with the database password from the start,
// with its tables, indexes and seed rows. Gives "" on success, or the message of the statement
// that failed; nothing after a failed statement runs. The file is made whole under another name
// and only then put in place, so an interrupted creation leaves no file at `path`. The connection
// is left closed.
QString createDatabase(Database& db, const QString& path);

// Opening the shop's books at start-up.
enum class BooksState {
    Opened,
    Unreadable,   // missing, not a database, a wrong key, or lacking tables: make a new one
    Unavailable,  // a healthy file this program may not use now: locked, or write-protected
};
struct BooksOpening {
    BooksState state;
    QString problem;  // for Unavailable, what the user is told
};
// Opens the file and adds the lookup indexes it lacks; only the file's owner may read it.
BooksOpening openBooks(Database& db, const QString& path);

// The non-unique indexes on the columns the windows look rows up by, and the sums kept beside the
// paid sales lines; they change no behaviour. Missing ones are added, so files made without them
// get them on opening. False at the first that could not be added.
bool ensureLookupIndexes(Database& db);

// Renames the file (and its journal) to a free name beside it, so that a file that could not be
// opened is kept, readable by its owner only. Gives the new path, or "" when the rename failed.
QString moveAside(const QString& path, const Clock& clock);

// A table statement of the typed file this one replaces, as SQLite statements that behave alike:
// varchar(n) refuses longer text, integer and real refuse text that is not such a number.
QStringList typedTableStatements(const QString& statement);

}  // namespace store
