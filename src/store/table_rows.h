#pragma once
// Every row of one table, as "select * from <table>" gives them, kept in step with what this
// connection writes: after a write that touches a few rows, only those rows are read again and
// put in their places, so a window refills a list of the whole catalogue at the cost of a copy.

#include "store/database.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace store {

class TableRows {
public:
    TableRows(Database& db, QString table) : db_(db), table_(std::move(table)) {}

    // The table's rows now, in the database's order (a table scan's: by rowid).
    RecordSet rows();

    // Of `some` (the rows where each of `whereColumns` holds a value, taken from rows()), the
    // rows that hold each value of `column` once, in the order in which "select distinct
    // <column> from <table> where <each where column> =? and ..." gives the values on this file:
    // sorted where SQLite reads them through an index on the column, else as the rows come.
    const std::vector<uint32_t>& distinctRows(const RecordSet& some, const QString& column,
                                              const QStringList& whereColumns);

private:
    bool readsDistinctInIndexOrder(const QString& column, const QStringList& whereColumns);
    bool readAll();
    bool readAgain(std::vector<int64_t> written);

    Database& db_;
    const QString table_;
    RecordSet set_;
    std::vector<int64_t> rowids_;  // of set_'s rows, ascending
    Database::ChangeMark mark_;
    bool read_ = false;
};

}  // namespace store
