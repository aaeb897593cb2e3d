#include "ui/combo_items.h"

#include <QComboBox>
#include <QListView>
#include <QHashFunctions>

namespace ui {

void ComboItems::setColumn(const store::RecordSet& set, int column) {
    beginResetModel();
    set_ = set;
    column_ = column;
    allRows_ = true;
    rows_.clear();
    texts_.clear();
    endResetModel();
}

void ComboItems::setColumn(const store::RecordSet& set, int column, std::vector<uint32_t> rows) {
    beginResetModel();
    set_ = set;
    column_ = column;
    allRows_ = false;
    rows_ = std::move(rows);
    texts_.clear();
    endResetModel();
}

void ComboItems::setTexts(QStringList texts) {
    beginResetModel();
    set_ = {};
    column_ = -1;
    rows_.clear();
    texts_ = std::move(texts);
    endResetModel();
}

int ComboItems::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    if (column_ < 0) return static_cast<int>(texts_.size());
    return static_cast<int>(allRows_ ? set_.rowCount() : rows_.size());
}

QVariant ComboItems::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (column_ < 0) return texts_.value(index.row());
    if (allRows_) return set_.cell(index.row(), column_);
    return size_t(index.row()) < rows_.size() ? set_.cell(rows_[index.row()], column_) : QString();
}

ComboItems* installComboItems(QComboBox* box) {
    auto* items = new ComboItems(box);
    box->setModel(items);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* list = qobject_cast<QListView*>(box->view())) list->setUniformItemSizes(true);
    return items;
}

ComboItems* comboItemsOf(QComboBox* box) { return static_cast<ComboItems*>(box->model()); }

// An open-addressing table of the rows found so far, keyed by their cells' bytes: a column of
// tens of thousands of different values is sorted out without an allocation per value.
std::vector<uint32_t> distinctRows(const store::RecordSet& set, int column) {
    std::vector<uint32_t> rows;
    size_t capacity = 16;
    while (capacity < 2 * set.rowCount()) capacity *= 2;
    std::vector<uint32_t> table(capacity, 0);  // a row + 1, or 0 for a free slot
    for (size_t row = 0; row < set.rowCount(); ++row) {
        const QByteArrayView cell = set.cellBytes(row, column);
        size_t slot = qHash(cell) & (capacity - 1);
        while (table[slot] && set.cellBytes(table[slot] - 1, column) != cell)
            slot = (slot + 1) & (capacity - 1);
        if (table[slot]) continue;
        table[slot] = uint32_t(row + 1);
        rows.push_back(uint32_t(row));
    }
    return rows;
}

QStringList distinctValues(const store::RecordSet& set, int column) {
    QStringList values;
    for (uint32_t row : distinctRows(set, column)) values << set.cell(row, column);
    return values;
}

}  // namespace ui
