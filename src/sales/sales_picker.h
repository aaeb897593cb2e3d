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

    // `afterNotFound` runs once the clerk has been told that a looked-up code does not exist.
    SalesPicker(session::Shell& shell, Controls controls, std::function<void()> afterNotFound);

    // Every box lists the whole catalogue; a box with a single item chooses it.
    void refillAll();
    // The clerk's lookups from the code boxes (Enter, or an item chosen).
    void lookupSalesProductByCode() { lookUp(kCode, Origin::Clerk); }
    void lookupSalesProductByBarcode() { lookUp(kBarcode, Origin::Clerk); }
    void lookupSalesProductByMnemonic() { lookUp(kMnemonic, Origin::Clerk); }
    bool styleNumberExists() const;
    // A code box with text looks its product up again; otherwise the chosen attribute boxes
    // narrow the code boxes and the attribute boxes not chosen.
    void refilterSalesAttributes();

private:
    enum class Origin { Clerk, AutoSelect };

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
    void lookUp(Box codeBox, Origin origin);
    void refill(Box which, const store::RecordSet& products, const Filter& filter);

    session::Shell& shell_;
    Controls controls_;
    std::function<void()> afterNotFound_;
};

}  // namespace sales
