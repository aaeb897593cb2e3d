#include "ui/list_view.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <utility>

namespace ui {

namespace {

std::string_view cellBytesOf(const store::RecordSet& set, const std::vector<int>& setColumns,
                             int row, int column) {
    const int source = setColumns[column];
    return source < 0 ? std::string_view() : set.cellBytes(row, source);
}

std::vector<int> columnIndexes(const store::RecordSet& set, const QStringList& setColumns) {
    std::vector<int> indexes;
    for (const QString& name : setColumns) indexes.push_back(set.columnIndex(name));
    return indexes;
}

}  // namespace

TextTableModel::TextTableModel(std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(setColumns_.empty() ? rows_.size() : set_.rowCount());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole) return alignmentOf(index.column());
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    return cell(index.row(), index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::TextAlignmentRole) return alignmentOf(section);
    if (role != Qt::DisplayRole) return {};
    return columns_[section].caption;
}

QVariant TextTableModel::alignmentOf(int column) const {
    if (column < 0 || column >= columnCount()) return {};
    return int(columns_[column].alignment);
}

void TextTableModel::setRows(std::vector<QStringList> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    set_ = {};
    setColumns_.clear();
    endResetModel();
}

void TextTableModel::setRows(const store::RecordSet& set, std::vector<int> setColumns) {
    beginResetModel();
    rows_.clear();
    set_ = set;
    setColumns_ = std::move(setColumns);
    if (setColumns_.empty()) set_ = {};
    endResetModel();
}

bool TextTableModel::replaceRows(const store::RecordSet& set, std::vector<int> setColumns) {
    if (setColumns_.empty() || setColumns.size() != setColumns_.size() ||
        set.rowCount() != set_.rowCount())
        return false;
    const store::RecordSet before = std::exchange(set_, set);
    const std::vector<int> beforeColumns = std::exchange(setColumns_, std::move(setColumns));
    const int rows = rowCount();
    const int columns = columnCount();
    const auto changed = [&](int row) {
        for (int column = 0; column < columns; ++column)
            if (cellBytesOf(before, beforeColumns, row, column) !=
                cellBytesOf(set_, setColumns_, row, column))
                return true;
        return false;
    };
    for (int row = 0; row < rows; ++row) {
        if (!changed(row)) continue;
        const int first = row;
        while (row + 1 < rows && changed(row + 1)) ++row;
        emit dataChanged(index(first, 0), index(row, columns - 1));
    }
    return true;
}

void TextTableModel::materialize() {
    if (setColumns_.empty()) return;
    const int count = rowCount();
    std::vector<QStringList> rows;
    rows.reserve(count);
    for (int r = 0; r < count; ++r) {
        QStringList cells;
        for (int c = 0; c < columnCount(); ++c) cells << cell(r, c);
        rows.push_back(std::move(cells));
    }
    rows_ = std::move(rows);
    set_ = {};
    setColumns_.clear();
}

int TextTableModel::appendRow(QStringList cells) {
    materialize();
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.push_back(std::move(cells));
    endInsertRows();
    return row;
}

void TextTableModel::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
    materialize();
    QStringList& cells = rows_[row];
    while (cells.size() <= column) cells.append(QString());
    cells[column] = text;
    emit dataChanged(index(row, column), index(row, column));
}

QString TextTableModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
    if (!setColumns_.empty()) {
        const int source = setColumns_[column];
        return source < 0 ? QString() : set_.cell(row, source);
    }
    return rows_[row].value(column);
}

ListView::ListView(QWidget* parent, std::vector<Column> columns)
    : QTableView(parent), model_(new TextTableModel(columns, this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab moves on to the next control, as from any other; the arrow keys walk the rows.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setShowGrid(false);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        if (columns[i].width == 0) setColumnHidden(i, true);
        else setColumnWidth(i, columns[i].width);
    }
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row()); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit selectedRowChanged(selectedRow()); });
}

void ListView::setRows(std::vector<QStringList> rows) {
    model_->setRows(std::move(rows));
    clearSelection();
    setCurrentIndex({});
}

void ListView::setRows(const store::RecordSet& set, const QStringList& setColumns) {
    model_->setRows(set, columnIndexes(set, setColumns));
    clearSelection();
    setCurrentIndex({});
}

void ListView::updateRows(const store::RecordSet& set, const QStringList& setColumns) {
    const int selected = selectedRow();
    const int current = currentIndex().row();
    if (!model_->replaceRows(set, columnIndexes(set, setColumns))) return setRows(set, setColumns);
    // As a reset of the model does: the selection goes without a signal.
    selectionModel()->reset();
    for (int row : {selected, current})
        if (row >= 0)
            viewport()->update(QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row)));
    clearSelection();
    setCurrentIndex({});
}

int ListView::appendRow(QStringList cells) { return model_->appendRow(std::move(cells)); }

int ListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListView::selectRow(int row) {
    if (row < 0 || row >= rowCount()) {
        clearSelection();
        return;
    }
    QTableView::selectRow(row);
}

void ListView::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::RightButton) return;
    const QModelIndex under = indexAt(event->position().toPoint());
    if (under.isValid()) selectRow(under.row());
    emit rightClicked();
}

}  // namespace ui
