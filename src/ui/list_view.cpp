#include "ui/list_view.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace ui {

TextTableModel::TextTableModel(std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    return cell(index.row(), index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= columnCount()) return {};
    return columns_[section].caption;
}

void TextTableModel::setRows(std::vector<QStringList> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TextTableModel::appendRow(QStringList cells) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.push_back(std::move(cells));
    endInsertRows();
    return row;
}

void TextTableModel::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
    QStringList& cells = rows_[row];
    while (cells.size() <= column) cells.append(QString());
    cells[column] = text;
    emit dataChanged(index(row, column), index(row, column));
}

QString TextTableModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0) return {};
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
