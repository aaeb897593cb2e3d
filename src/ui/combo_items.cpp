#include "ui/combo_items.h"

#include <QComboBox>
#include <QListView>

namespace ui {

void ComboItems::setColumn(const store::RecordSet& set, int column) {
    beginResetModel();
    set_ = set;
    column_ = column;
    texts_.clear();
    endResetModel();
}

void ComboItems::setTexts(QStringList texts) {
    beginResetModel();
    set_ = {};
    column_ = -1;
    texts_ = std::move(texts);
    endResetModel();
}

int ComboItems::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(column_ < 0 ? texts_.size() : set_.rowCount());
}

QVariant ComboItems::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return column_ < 0 ? texts_.value(index.row()) : set_.cell(index.row(), column_);
}

ComboItems* installComboItems(QComboBox* box) {
    auto* items = new ComboItems(box);
    box->setModel(items);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* list = qobject_cast<QListView*>(box->view())) list->setUniformItemSizes(true);
    return items;
}

ComboItems* comboItemsOf(QComboBox* box) { return static_cast<ComboItems*>(box->model()); }

QStringList distinctValues(const store::RecordSet& set, int column) {
    return set.distinctTexts(column);
}

}  // namespace ui
