#pragma once
// The items of a combo box that lists a column of the catalogue: a column of a record set, turned
// into text only when shown or read, so a box takes tens of thousands of items in one go; or a
// few texts of its own.

#include "store/database.h"

#include <QAbstractListModel>
#include <QStringList>
#include <cstdint>
#include <vector>

class QComboBox;

namespace ui {

class ComboItems : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // Every row's cell of the column.
    void setColumn(const store::RecordSet& set, int column);
    // The cells of the column in the given rows, in their order.
    void setColumn(const store::RecordSet& set, int column, std::vector<uint32_t> rows);
    void setTexts(QStringList texts);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    store::RecordSet set_;
    int column_ = -1;  // -1 while the items are texts_
    bool allRows_ = true;
    std::vector<uint32_t> rows_;
    QStringList texts_;
};

// Gives `box` lazy items, sized so that neither the box nor its drop-down measures every item.
ComboItems* installComboItems(QComboBox* box);
// The items of a box that installComboItems prepared.
ComboItems* comboItemsOf(QComboBox* box);

}  // namespace ui
