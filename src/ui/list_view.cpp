#include "ui/list_view.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace ui {

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
    std::vector<int> indexes;
    for (const QString& name : setColumns) indexes.push_back(set.columnIndex(name));
    model_->setRows(set, std::move(indexes));
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
