#include "ui/combo_items.h"

#include <QComboBox>
#include <QListView>

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

}  // namespace ui
