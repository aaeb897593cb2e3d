#include "store/table_rows.h"

#include <algorithm>

namespace store {

namespace {

// Beyond these, reading the table whole is as quick as reading the rows one by one.
constexpr size_t kRowsReadAgainAtMost = 256;
// Each row read again holds a small block; past this many the table is read whole again.
constexpr size_t kBlocksAtMost = 1024;

}  // namespace

RecordSet TableRows::rows() {
    if (!db_.isOpen()) {
        read_ = false;
        return RecordSet::failure();
    }
    if (read_) {
        std::optional<std::vector<int64_t>> written = db_.rowsWrittenSince(table_, mark_);
        if (written && written->empty()) return set_;
        if (written && readAgain(std::move(*written))) return set_;
    }
    read_ = readAll();
    return set_;
}

const std::vector<uint32_t>& TableRows::distinctRows(const RecordSet& some, const QString& column,
                                                   const QStringList& whereColumns) {
    const int at = some.columnIndex(column);
    return readsDistinctInIndexOrder(column, whereColumns) ? some.sortedDistinctRows(at)
                                                           : some.distinctRows(at);
}

// SQLite keeps DISTINCT apart in a temporary tree, in the order it meets the rows, unless it
// walks an index on the column, which yields each value once in the index's order. Which of
// the two it does depends on the indexes and on any statistics stored in the file, so the
// file's own plan tells.
bool TableRows::readsDistinctInIndexOrder(const QString& column, const QStringList& whereColumns) {
    QString statement = "explain query plan select distinct " + column + " from " + table_;
    for (qsizetype i = 0; i < whereColumns.size(); ++i)
        statement += (i == 0 ? " where " : " and ") + whereColumns[i] + " =?";
    const RecordSet plan = db_.query(statement);
    const int detail = plan.columnIndex(QStringLiteral("detail"));
    bool throughIndex = false;
    for (size_t row = 0; row < plan.rowCount(); ++row) {
        const QString step = plan.cell(row, detail);
        if (step.contains(QLatin1String("B-TREE FOR DISTINCT"))) return false;
        throughIndex = throughIndex || step.contains(QLatin1String(" INDEX "));
    }
    return throughIndex;
}

bool TableRows::readAll() {
    mark_ = db_.watch(table_);
    std::vector<int64_t> rowids;
    sqlite3_stmt* statement = db_.prepared("select rowid, * from " + table_, {});
    set_ = statement ? db_.read(statement, &rowids) : RecordSet::failure();
    rowids_ = std::move(rowids);
    return !set_.failed();
}

// Each written row is read again by its rowid and put where the table's order puts it: in its
// old place when changed, dropped when deleted, inserted by rowid when new.
bool TableRows::readAgain(std::vector<int64_t> written) {
    std::sort(written.begin(), written.end());
    written.erase(std::unique(written.begin(), written.end()), written.end());
    if (written.size() > kRowsReadAgainAtMost ||
        set_.rows_->blocks.size() + written.size() > kBlocksAtMost)
        return false;
    auto rows = std::make_shared<RecordSet::Rows>();
    rows->columns = set_.rows_->columns;
    for (const char* start : set_.rows_->starts) RecordSet::addRow(rows->starts, start);
    rows->blocks = set_.rows_->blocks;
    const QString readOne = "select rowid, * from " + table_ + " where rowid =?";
    for (int64_t rowid : written) {
        sqlite3_stmt* statement = db_.prepared(readOne, {QString::number(rowid)});
        if (!statement) return false;
        std::vector<int64_t> found;
        const RecordSet now = db_.read(statement, &found);
        // A row that could not be read is not a deleted row: the table is then read whole.
        if (now.failed() || (now.columnCount() != rows->columns.size() && !now.isEmpty()))
            return false;
        const auto place = std::lower_bound(rowids_.begin(), rowids_.end(), rowid);
        const auto index = place - rowids_.begin();
        const bool listed = place != rowids_.end() && *place == rowid;
        if (now.isEmpty()) {
            if (!listed) continue;
            rowids_.erase(place);
            rows->starts.erase(rows->starts.begin() + index);
            continue;
        }
        if (listed) {
            rows->starts[index] = now.rows_->starts.front();
        } else {
            rowids_.insert(place, rowid);
            rows->starts.insert(rows->starts.begin() + index, now.rows_->starts.front());
        }
        rows->blocks.insert(rows->blocks.end(), now.rows_->blocks.begin(), now.rows_->blocks.end());
    }
    set_ = RecordSet(std::move(rows));
    return true;
}

}  // namespace store
