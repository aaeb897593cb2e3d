#include "sales/sales_picker.h"

#include "ui/combo_items.h"
#include "ui/controls.h"

#include <QComboBox>
#include <QLabel>

namespace sales {

namespace {

using Box = SalesPicker::Box;

// The catalogue column of each box, in the order of SalesPicker::Box.
const char* const kColumns[] = {"编号", "助记码", "款号", "条形码", "杯型", "尺码", "颜色"};

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

SalesPicker::SalesPicker(session::Shell& shell, Controls controls, std::function<bool()> afterNotFound)
    : shell_(shell), controls_(controls), afterNotFound_(std::move(afterNotFound)) {
    for (QComboBox* combo : controls_.boxes) ui::installComboItems(combo);
}

QString SalesPicker::text(Box which) const { return box(which)->currentText(); }

// Clear, fill and auto-select of one box: a code box lists every product's value, an attribute
// box each value once. A code box that ends with a single product chooses it and looks it up,
// unless the value is empty: nobody picked it, and one kept as NULL would not be found again.
// `products` are those `filter` matches, and the filter makes an attribute box's statement.
bool SalesPicker::refill(Box which, const store::RecordSet& products, const Filter& filter) {
    QComboBox* combo = box(which);
    const QString column = QString::fromUtf8(kColumns[which]);
    const int at = products.columnIndex(column);
    if (codeLookupOf(which))
        ui::comboItemsOf(combo)->setColumn(products, at);
    else
        ui::comboItemsOf(combo)->setColumn(
            products, at, shell_.products.distinctRows(products, column, filter.columns));
    if (combo->count() != 1) {
        ui::setNoSelection(combo);
        return true;
    }
    combo->setCurrentIndex(0);
    // A value an auto-select took from the catalogue itself is not the clerk's typing: telling
    // and resetting would only start the same auto-select again.
    return !codeLookupOf(which) || combo->itemText(0).isEmpty() || lookUp(which) != Found::Unread;
}

bool SalesPicker::refillAll() {
    const store::RecordSet products = shell_.products.rows();
    bool read = !products.failed();
    for (int which = 0; which < kBoxCount; ++which) read = refill(Box(which), products, {}) && read;
    return read;
}

SalesPicker::Found SalesPicker::lookUp(Box codeBox) {
    const store::RecordSet product =
        firstProductWith(shell_.db, kColumns[codeBox], text(codeBox));
    if (product.failed()) return Found::Unread;
    if (product.atEnd()) return Found::Nothing;
    for (int other = 0; other < kBoxCount; ++other) {
        if (other == codeBox) continue;
        ui::comboItemsOf(box(Box(other)))->setTexts({product.text(kColumns[other])});
        box(Box(other))->setCurrentIndex(0);
    }
    controls_.unitPrice->setText(product.text("吊牌价"));
    if (codeLookupOf(codeBox)->focusesQuantity) controls_.quantity->setFocus();
    return Found::Product;
}

// A code that could not be read is no answer about the product: the clerk is told so, and the
// entry fields reset as for a code that does not exist. One failed read is told once.
void SalesPicker::tellUnlessFound(Box codeBox, Found found) {
    if (found == Found::Product) return;
    if (found == Found::Unread)
        shell_.tellReadFailed();
    else
        shell_.showMessage(QString::fromUtf8(codeLookupOf(codeBox)->notFound), 0x40,
                           ui::kRemindYouTitle);
    if (!afterNotFound_() && found == Found::Nothing) shell_.tellReadFailed();
}

bool SalesPicker::lookUpLineProduct(const QString& code) {
    const QString typed = text(kCode);
    box(kCode)->setEditText(code);
    const Found found = lookUp(kCode);
    if (found == Found::Unread) {
        box(kCode)->setEditText(typed);
        shell_.tellReadFailed();
    } else {
        tellUnlessFound(kCode, found);
    }
    return found == Found::Product;
}

std::optional<bool> SalesPicker::styleNumberExists() const {
    const store::RecordSet product = firstProductWith(shell_.db, "款号", text(kStyleNumber));
    if (product.failed()) return std::nullopt;
    return !product.atEnd();
}

SalesPicker::Filter SalesPicker::chosenAttributes() const {
    Filter filter;
    for (Box attribute : kAttributes) {
        if (text(attribute).isEmpty()) continue;
        filter.columns << QString::fromUtf8(kColumns[attribute]);
        filter.values << text(attribute);
    }
    return filter;
}

// What "where" with the chosen columns gives, taken from the kept catalogue: chosen values are
// never empty, so an empty or NULL cell matches none, as in the database.
store::RecordSet SalesPicker::productsMatching(const Filter& filter) const {
    const store::RecordSet products = shell_.products.rows();
    if (products.failed()) return products;
    std::vector<int> columns;
    for (const QString& column : filter.columns) columns.push_back(products.columnIndex(column));
    return products.rowsWhere(columns, filter.values);
}

void SalesPicker::refilterSalesAttributes() {
    for (const CodeLookup& lookup : kCodeLookups) {
        if (text(lookup.box).isEmpty()) continue;
        lookUpForClerk(lookup.box);
        return;
    }
    const Filter chosen = chosenAttributes();
    if (chosen.columns.isEmpty()) return;
    const store::RecordSet products = productsMatching(chosen);
    // The lists stay as they were: they still stand for the catalogue last read.
    if (products.failed()) return shell_.tellReadFailed();
    bool read = true;
    for (Box code : {kCode, kMnemonic, kBarcode}) read = refill(code, products, chosen) && read;
    for (Box attribute : kAttributes) {
        if (!text(attribute).isEmpty()) continue;
        // A single product found above, or a single value chosen by itself, counts as chosen.
        const Filter now = chosenAttributes();
        const store::RecordSet narrowed = now == chosen ? products : productsMatching(now);
        read = !narrowed.failed() && refill(attribute, narrowed, now) && read;
    }
    if (!read) shell_.tellReadFailed();
}

}  // namespace sales
