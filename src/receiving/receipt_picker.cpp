#include "receiving/receipt_picker.h"

#include "ui/combo_items.h"
#include "ui/controls.h"
#include "ui/messages.h"

#include <QComboBox>
#include <vector>

namespace receiving {

namespace {

using Box = ReceiptPicker::Box;
using enum ReceiptPicker::Box;

// The catalogue column of each box, in the order of ReceiptPicker::Box.
const char* const kColumns[] = {"编号", "助记码", "条形码", "款号", "品名",
                                "品类", "杯型",   "尺码",   "颜色", "品牌供应商"};
const QString kPickerColumns = QStringLiteral(
    "select 编号,助记码,条形码,款号,品名,品类,杯型,尺码,颜色,品牌供应商 from 商品资料");

constexpr Box kCodeBoxes[] = {kCode, kMnemonic, kBarcode};
constexpr Box kAttributes[] = {kStyleNumber, kName, kCategory, kCup, kSize, kColour, kBrand};

bool isCodeBox(Box box) { return box < kStyleNumber; }
// The boxes that list one item per matching product; the others list each value once.
bool listsEveryProduct(Box box) { return box == kCode || box == kMnemonic; }
constexpr unsigned bit(Box box) { return 1u << box; }

struct CodeLookup {
    const char* notFound;
    const QString& title;
};
// In the order of kCodeBoxes.
const CodeLookup kCodeLookups[] = {
    {"你输入的编号不存在！", ui::kRemindYouTitle},
    {"你输入的助记码不存在！", ui::kStandardTitle},
    {"你输入的条形码不存在！", ui::kRemindYouTitle},
};

// The chosen sets whose boxes are refilled in an order of their own; every other set refills
// the three code boxes, then the attribute boxes not chosen in the column order.
struct RefillOrder {
    unsigned chosen;
    std::vector<Box> refills;
};

unsigned chosenSet(std::initializer_list<Box> boxes) {
    unsigned set = 0;
    for (Box box : boxes) set |= bit(box);
    return set;
}

std::vector<Box> afterCodeBoxes(std::initializer_list<Box> attributes) {
    std::vector<Box> refills(std::begin(kCodeBoxes), std::end(kCodeBoxes));
    refills.insert(refills.end(), attributes);
    return refills;
}

const std::vector<RefillOrder>& refillOrders() {
    static const std::vector<RefillOrder> orders = {
        {chosenSet({kStyleNumber, kName}), afterCodeBoxes({kCategory, kCup, kSize, kBrand, kColour})},
        {chosenSet({kStyleNumber, kCategory}), afterCodeBoxes({kName, kCup, kSize, kBrand, kColour})},
        {chosenSet({kStyleNumber, kCup}), afterCodeBoxes({kName, kCategory, kSize, kBrand, kColour})},
        {chosenSet({kStyleNumber, kSize}), afterCodeBoxes({kName, kCategory, kCup, kBrand, kColour})},
        {chosenSet({kStyleNumber}), afterCodeBoxes({kBrand, kName, kCategory, kCup, kSize, kColour})},
        {chosenSet({kName, kCategory, kCup, kSize}), afterCodeBoxes({kStyleNumber, kBrand, kColour})},
        {chosenSet({kName, kCategory, kCup, kColour}), afterCodeBoxes({kStyleNumber, kBrand, kSize})},
        {chosenSet({kName, kCategory, kCup, kBrand}), afterCodeBoxes({kStyleNumber, kColour, kSize})},
        {chosenSet({kName, kCategory, kCup}), afterCodeBoxes({kStyleNumber, kColour, kSize, kBrand})},
        {chosenSet({kName, kCategory, kSize}), afterCodeBoxes({kStyleNumber, kCup, kBrand, kColour})},
        {chosenSet({kName, kCategory, kColour}), afterCodeBoxes({kStyleNumber, kCup, kBrand, kSize})},
        {chosenSet({kName, kCategory, kBrand}), afterCodeBoxes({kStyleNumber, kCup, kColour, kSize})},
        {chosenSet({kName, kCategory}), afterCodeBoxes({kStyleNumber, kCup, kColour, kSize, kBrand})},
        {chosenSet({kName}), afterCodeBoxes({kStyleNumber, kBrand, kCategory, kCup, kSize, kColour})},
        {chosenSet({kCategory, kCup, kSize}), afterCodeBoxes({kStyleNumber, kName, kBrand, kColour})},
        {chosenSet({kCategory}), afterCodeBoxes({kStyleNumber, kName, kBrand, kCup, kSize, kColour})},
        {chosenSet({kCup, kSize}), afterCodeBoxes({kStyleNumber, kName, kCategory, kBrand, kColour})},
        {chosenSet({kCup}), afterCodeBoxes({kStyleNumber, kName, kCategory, kBrand, kSize, kColour})},
        // Here the barcode box comes after the style number.
        {chosenSet({kSize, kColour, kBrand}),
         {kCode, kMnemonic, kStyleNumber, kBarcode, kName, kCategory, kCup}},
        {chosenSet({kSize, kColour}),
         {kCode, kMnemonic, kStyleNumber, kBarcode, kName, kCategory, kCup, kBrand}},
        {chosenSet({kSize, kBrand}),
         {kCode, kMnemonic, kStyleNumber, kBarcode, kName, kCategory, kColour, kCup}},
        {chosenSet({kSize}),
         {kCode, kMnemonic, kStyleNumber, kBarcode, kName, kCategory, kCup, kBrand, kColour}},
        {chosenSet({kColour, kBrand}),
         {kCode, kMnemonic, kStyleNumber, kBarcode, kName, kCategory, kCup, kSize}},
        {chosenSet({kColour}),
         {kCode, kMnemonic, kStyleNumber, kBarcode, kName, kCategory, kCup, kSize, kBrand}},
    };
    return orders;
}

QStringList columnsOf(unsigned chosen) {
    QStringList columns;
    for (Box attribute : kAttributes)
        if (chosen & bit(attribute)) columns << QString::fromUtf8(kColumns[attribute]);
    return columns;
}

std::vector<Box> refillsFor(unsigned chosen) {
    for (const RefillOrder& order : refillOrders())
        if (order.chosen == chosen) return order.refills;
    std::vector<Box> refills(std::begin(kCodeBoxes), std::end(kCodeBoxes));
    for (Box attribute : kAttributes)
        if (!(chosen & bit(attribute))) refills.push_back(attribute);
    return refills;
}

// Where the box's column stands in the kept catalogue's rows.
int columnOf(const store::RecordSet& products, ReceiptPicker::Box box) {
    return products.columnIndex(QString::fromUtf8(kColumns[box]));
}

}  // namespace

QString ReceiptPicker::column(Box box) { return QString::fromUtf8(kColumns[box]); }

ReceiptPicker::ReceiptPicker(session::Shell& shell, Boxes boxes, std::function<bool()> reset)
    : shell_(shell), boxes_(boxes), reset_(std::move(reset)) {
    for (QComboBox* combo : boxes_) ui::installComboItems(combo);
}

QString ReceiptPicker::text(Box which) const { return box(which)->currentText(); }

bool ReceiptPicker::refillAll() {
    // Here every code box, the barcode box too, lists one item per product.
    const store::RecordSet catalogue = shell_.products.rows();
    for (int which = 0; which < kBoxCount; ++which) {
        const Box each = Box(which);
        ui::ComboItems* items = ui::comboItemsOf(box(each));
        const int at = columnOf(catalogue, each);
        if (isCodeBox(each)) items->setColumn(catalogue, at);
        else items->setColumn(catalogue, at, shell_.products.distinctRows(catalogue, column(each), {}));
        ui::setNoSelection(box(each));
    }
    return !catalogue.failed();
}

std::optional<bool> ReceiptPicker::productHas(Box which) const {
    const store::RecordSet product = shell_.db.query(
        "select 1 from 商品资料 where " + column(which) + " =? limit 1", {text(which)});
    if (product.failed()) return std::nullopt;
    return !product.atEnd();
}

void ReceiptPicker::readFailed() {
    if (running_) readFailedInRun_ = true;
    else shell_.tellReadFailed();
}

// A code that could not be read is no answer about the product: the user is told so, and the
// window resets as for a code that does not exist.
void ReceiptPicker::lookUp(Box codeBox) {
    const store::RecordSet product =
        shell_.db.query(kPickerColumns + " where " + column(codeBox) + " =? limit 1", {text(codeBox)});
    if (product.failed()) {
        readFailed();
        if (!running_) reset_();
        return;
    }
    if (!product.atEnd()) {
        for (int other = 0; other < kBoxCount; ++other) {
            if (other == codeBox) continue;
            ui::comboItemsOf(box(Box(other)))->setTexts({product.text(other + 1)});
            box(Box(other))->setCurrentIndex(0);
        }
        return;
    }
    // A code that a filter run chose from the catalogue is nobody's typing: telling and resetting
    // in the middle of the run would only confuse it.
    if (running_) return;
    const CodeLookup& lookup = kCodeLookups[codeBox];
    shell_.showMessage(QString::fromUtf8(lookup.notFound), 0x40, lookup.title);
    shell_.tellUnlessRead(reset_());
}

ReceiptPicker::Filter ReceiptPicker::chosenAttributes() const {
    Filter filter;
    for (Box attribute : kAttributes) {
        filter.values[attribute] = text(attribute);
        if (!filter.values[attribute].isEmpty()) filter.chosen |= bit(attribute);
    }
    return filter;
}

// What "where" with the chosen columns gives, taken from the kept catalogue: the chosen values
// are never empty, so an empty or NULL cell matches none, as in the database.
store::RecordSet ReceiptPicker::productsMatching(const Filter& filter) const {
    const store::RecordSet products = shell_.products.rows();
    if (products.failed()) return products;
    std::vector<int> columns;
    QStringList values;
    for (Box attribute : kAttributes) {
        if (!(filter.chosen & bit(attribute))) continue;
        columns.push_back(columnOf(products, attribute));
        values << filter.values[attribute];
    }
    return products.rowsWhere(columns, values);
}

const std::vector<uint32_t>& ReceiptPicker::Matching::valueRowsOf(Box box) {
    if (!valueRows[box]) valueRows[box] = products.distinctRows(columnOf(products, box));
    return *valueRows[box];
}

bool ReceiptPicker::Matching::alsoMatches(const Filter& other) {
    for (Box attribute : kAttributes) {
        const bool mine = filter.chosen & bit(attribute);
        const bool theirs = other.chosen & bit(attribute);
        if (mine && (!theirs || other.values[attribute] != filter.values[attribute])) return false;
        if (!mine && theirs &&
            (valueRowsOf(attribute).size() != 1 ||
             products.cell(valueRowsOf(attribute).front(), columnOf(products, attribute)) !=
                 other.values[attribute]))
            return false;
    }
    return true;
}

void ReceiptPicker::refilterReceiptAttributes() {
    for (Box code : kCodeBoxes) {
        if (text(code).isEmpty()) continue;
        lookUp(code);
        return;
    }
    const Filter chosen = chosenAttributes();
    if (!chosen.chosen) return;
    Matching* outer = running_;
    std::optional<Matching> own;
    Matching* matching = outer && outer->alsoMatches(chosen)
                             ? outer
                             : &own.emplace(Matching{chosen, productsMatching(chosen), {}});
    // The lists stay as they were: they still stand for the catalogue last read.
    if (matching->products.failed()) return readFailed();
    running_ = matching;
    for (Box which : refillsFor(chosen.chosen)) refill(which, *matching, chosen);
    running_ = outer;
    if (!outer && readFailedInRun_) {
        readFailedInRun_ = false;
        shell_.tellReadFailed();
    }
}

// `chosen` makes the box's statement; `matching` holds the products it matches.
void ReceiptPicker::refill(Box which, Matching& matching, const Filter& chosen) {
    ui::ComboItems* items = ui::comboItemsOf(box(which));
    const int at = columnOf(matching.products, which);
    if (listsEveryProduct(which)) {
        items->setColumn(matching.products, at);
    } else {
        items->setColumn(matching.products, at,
                         shell_.products.distinctRows(matching.products, column(which),
                                                      columnsOf(chosen.chosen)));
    }
    autoSelect(which);
}

// A single value is chosen and narrows again; a code box with text makes that a lookup. An empty
// single value is no choice: narrowing again would meet the same boxes without end.
void ReceiptPicker::autoSelect(Box which) {
    QComboBox* combo = box(which);
    if (combo->count() != 1) {
        ui::setNoSelection(combo);
        return;
    }
    combo->setCurrentIndex(0);
    if (!combo->itemText(0).isEmpty()) refilterReceiptAttributes();
}

}  // namespace receiving
