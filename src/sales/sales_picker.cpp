#include "sales/sales_picker.h"

#include "ui/controls.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <unordered_set>

namespace sales {

namespace {

using Box = SalesPicker::Box;

// The catalogue column of each box, in the order of SalesPicker::Box.
const char* const kColumns[] = {"编号", "助记码", "款号", "条形码", "杯型", "尺码", "颜色"};
const QString kPickerColumns =
    QStringLiteral("select 编号,助记码,款号,条形码,杯型,尺码,颜色 from 商品资料");

struct CodeLookup {
    Box box;
    const char* notFound;
    bool focusesQuantity;
};

// In the order in which a code box with text takes precedence over the attributes.
const CodeLookup kCodeLookups[] = {
    {SalesPicker::kCode, "你输入的编号不存在！", true},
    {SalesPicker::kBarcode, "你输入的条形码不存在！", false},
    {SalesPicker::kMnemonic, "你输入的助记码不存在！", false},
};

const Box kAttributes[] = {SalesPicker::kStyleNumber, SalesPicker::kCup, SalesPicker::kSize,
                           SalesPicker::kColour};

// The items of a picker box: a column of a record set, turned into text only when shown or
// read, so a box takes the whole catalogue in one go; or a few texts of its own.
class PickerItems : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setColumn(const store::RecordSet& set, int column) {
        beginResetModel();
        set_ = set;
        column_ = column;
        texts_.clear();
        endResetModel();
    }
    void setTexts(QStringList texts) {
        beginResetModel();
        set_ = {};
        column_ = -1;
        texts_ = std::move(texts);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        if (parent.isValid()) return 0;
        return static_cast<int>(column_ < 0 ? texts_.size() : set_.rowCount());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
        return column_ < 0 ? texts_.value(index.row()) : set_.cell(index.row(), column_);
    }

private:
    store::RecordSet set_;
    int column_ = -1;
    QStringList texts_;
};

PickerItems* itemsOf(QComboBox* box) { return static_cast<PickerItems*>(box->model()); }

QStringList distinctValues(const store::RecordSet& set, int column) {
    QStringList values;
    std::unordered_set<QString> seen;
    for (size_t row = 0; row < set.rowCount(); ++row) {
        QString value = set.cell(row, column);
        if (seen.insert(value).second) values << std::move(value);
    }
    return values;
}

const CodeLookup* codeLookupOf(Box box) {
    for (const CodeLookup& lookup : kCodeLookups)
        if (lookup.box == box) return &lookup;
    return nullptr;
}

}  // namespace

store::RecordSet firstProductWith(store::Database& db, const QString& column,
                                  const QString& value) {
    return db.query("select * from 商品资料 where " + column + " =? limit 1", {value});
}

SalesPicker::SalesPicker(app::Shell& shell, Controls controls, std::function<void()> afterNotFound)
    : shell_(shell), controls_(controls), afterNotFound_(std::move(afterNotFound)) {
    for (QComboBox* combo : controls_.boxes) {
        combo->setModel(new PickerItems(combo));
        // Neither the box's width nor its drop-down list measures every item.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        if (auto* list = qobject_cast<QListView*>(combo->view())) list->setUniformItemSizes(true);
    }
}

QString SalesPicker::text(Box which) const { return box(which)->currentText(); }

// Clear, fill and auto-select of one box: a code box lists every product's value, an attribute
// box each value once. A code box that ends with a single product chooses it and looks it up,
// unless the value is empty: nobody picked it, and one kept as NULL would not be found again.
void SalesPicker::refill(Box which, const store::RecordSet& products, bool distinct) {
    QComboBox* combo = box(which);
    if (distinct) itemsOf(combo)->setTexts(distinctValues(products, which));
    else itemsOf(combo)->setColumn(products, which);
    if (combo->count() != 1) {
        ui::setNoSelection(combo);
        return;
    }
    combo->setCurrentIndex(0);
    if (codeLookupOf(which) && !combo->itemText(0).isEmpty()) lookUp(which, Origin::AutoSelect);
}

void SalesPicker::refillAll() {
    const store::RecordSet products = shell_.db.query(kPickerColumns);
    for (int which = 0; which < kBoxCount; ++which)
        refill(Box(which), products, !codeLookupOf(Box(which)));
}

void SalesPicker::lookUp(Box codeBox, Origin origin) {
    const CodeLookup* lookup = codeLookupOf(codeBox);
    const store::RecordSet product =
        firstProductWith(shell_.db, kColumns[codeBox], text(codeBox));
    if (!product.atEnd()) {
        for (int other = 0; other < kBoxCount; ++other) {
            if (other == codeBox) continue;
            itemsOf(box(Box(other)))->setTexts({product.text(kColumns[other])});
            box(Box(other))->setCurrentIndex(0);
        }
        controls_.unitPrice->setText(product.text("吊牌价"));
        if (lookup->focusesQuantity) controls_.quantity->setFocus();
        return;
    }
    // A value an auto-select took from the catalogue itself is not the clerk's typing: telling
    // and resetting would only start the same auto-select again.
    if (origin == Origin::AutoSelect) return;
    shell_.showMessage(QString::fromUtf8(lookup->notFound), 0x40, kRemindYouTitle);
    afterNotFound_();
}

bool SalesPicker::styleNumberExists() const {
    return !firstProductWith(shell_.db, "款号", text(kStyleNumber)).atEnd();
}

SalesPicker::Filter SalesPicker::chosenAttributes() const {
    Filter filter;
    for (Box attribute : kAttributes) {
        if (text(attribute).isEmpty()) continue;
        filter.condition << QString::fromUtf8(kColumns[attribute]) + " =?";
        filter.values << text(attribute);
    }
    return filter;
}

store::RecordSet SalesPicker::productsMatching(const Filter& filter) const {
    return shell_.db.query(kPickerColumns + " where " + filter.condition.join(" and "),
                           filter.values);
}

void SalesPicker::refilterSalesAttributes() {
    for (const CodeLookup& lookup : kCodeLookups) {
        if (text(lookup.box).isEmpty()) continue;
        lookUp(lookup.box, Origin::Clerk);
        return;
    }
    const Filter chosen = chosenAttributes();
    if (chosen.condition.isEmpty()) return;
    const store::RecordSet products = productsMatching(chosen);
    for (Box code : {kCode, kMnemonic, kBarcode}) refill(code, products, false);
    for (Box attribute : kAttributes) {
        if (!text(attribute).isEmpty()) continue;
        // A single product found above, or a single value chosen by itself, counts as chosen.
        const Filter now = chosenAttributes();
        refill(attribute, now == chosen ? products : productsMatching(now), true);
    }
}

}  // namespace sales
