#pragma once
// The sales window's product picker. Three code boxes (product code, barcode, mnemonic code)
// look a product up and fill every other box from it; four attribute boxes (style number, cup,
// size, colour) narrow each other's lists and the code boxes' to the products the chosen ones
// allow. It reads the catalogue only.

#include "session/shell.h"
#include "store/database.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QWidget;

namespace sales {

// The first product, in the catalogue's order, whose `column` holds `value` (all its columns).
store::RecordSet firstProductWith(store::Database& db, const QString& column,
                                  const QString& value);

class SalesPicker {
public:
    // The boxes, in the order a reset refills them.
    enum Box { kCode, kMnemonic, kStyleNumber, kBarcode, kCup, kSize, kColour, kBoxCount };

    struct Controls {
        std::array<QComboBox*, kBoxCount> boxes;
        QLabel* unitPrice;   // the tag price of the product looked up last
        QWidget* quantity;   // takes the focus after a lookup by product code
    };

    // `afterNotFound` runs once the clerk has been told that a looked-up code does not exist or
    // could not be read; it gives whether its own reads succeeded.
    SalesPicker(session::Shell& shell, Controls controls, std::function<bool()> afterNotFound);

    // Every box lists the whole catalogue; a box with a single item chooses it. False when the
    // catalogue could not be read: the boxes then list nothing, and the caller tells it.
    [[nodiscard]] bool refillAll();
    // The clerk's lookups from the code boxes (Enter, or an item chosen); each tells the clerk
    // what it could not find or read.
    void lookupSalesProductByCode() { lookUpForClerk(kCode); }
    void lookupSalesProductByBarcode() { lookUpForClerk(kBarcode); }
    void lookupSalesProductByMnemonic() { lookUpForClerk(kMnemonic); }
    // The product of a bill line about to be changed, looked up by its code as the clerk's lookup
    // is. When it could not be read, that is told and nothing changes. True when it was found.
    bool lookUpLineProduct(const QString& code);
    // Nothing when the catalogue could not be read.
    std::optional<bool> styleNumberExists() const;
    // A code box with text looks its product up again; otherwise the chosen attribute boxes
    // narrow the code boxes and the attribute boxes not chosen. Tells a read that failed.
    void refilterSalesAttributes();

private:
    enum class Found { Product, Nothing, Unread };

    // The chosen attribute boxes as a condition on the catalogue: each column holds its value.
    struct Filter {
        QStringList columns;
        QStringList values;
        bool operator==(const Filter&) const = default;
    };
    Filter chosenAttributes() const;
    store::RecordSet productsMatching(const Filter& filter) const;

    QComboBox* box(Box which) const { return controls_.boxes[which]; }
    QString text(Box which) const;
    // Fills the other boxes from the first product whose column holds the code box's text.
    Found lookUp(Box codeBox);
    void lookUpForClerk(Box codeBox) { tellUnlessFound(codeBox, lookUp(codeBox)); }
    void tellUnlessFound(Box codeBox, Found found);
    // False when a lookup its auto-select ran could not read.
    bool refill(Box which, const store::RecordSet& products, const Filter& filter);

    session::Shell& shell_;
    Controls controls_;
    std::function<bool()> afterNotFound_;
};

}  // namespace sales
