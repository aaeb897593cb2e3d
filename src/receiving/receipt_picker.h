#pragma once
// The add-product window's product picker. Three code boxes (product code, mnemonic code,
// barcode) look a product up and fill every other box from it; seven attribute boxes narrow the
// code boxes and each other's lists to the products the chosen ones allow, and a box left with a
// single value chooses it and narrows again. It reads the catalogue only.

#include "session/shell.h"
#include "store/database.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;

namespace receiving {

class ReceiptPicker {
public:
    // The code boxes in the order in which one with text takes precedence, then the attribute
    // boxes in the column order that orders every condition.
    enum Box {
        kCode, kMnemonic, kBarcode,
        kStyleNumber, kName, kCategory, kCup, kSize, kColour, kBrand,
        kBoxCount
    };
    using Boxes = std::array<QComboBox*, kBoxCount>;

    // `reset` refills the whole window once the user has been told that a code does not exist or
    // could not be read; it gives whether its own reads succeeded.
    ReceiptPicker(session::Shell& shell, Boxes boxes, std::function<bool()> reset);

    // Every box lists the whole catalogue (a code box one item per product, an attribute box
    // each value once), with nothing chosen. False when the catalogue could not be read: the
    // boxes then list nothing, and the caller tells it.
    [[nodiscard]] bool refillAll();

    // The user's lookups: an item chosen in a code box.
    void lookupReceiptProductByCode() { lookUp(kCode); }
    void lookupReceiptProductByMnemonic() { lookUp(kMnemonic); }
    void lookupReceiptProductByBarcode() { lookUp(kBarcode); }

    // Whether some product holds the box's text in the box's column; nothing when the catalogue
    // could not be read.
    std::optional<bool> productHas(Box box) const;

    // A code box with text looks its product up; otherwise the chosen attribute boxes narrow
    // the code boxes and the attribute boxes not chosen. Tells a read that failed, once.
    void refilterReceiptAttributes();

    // The column of 商品资料 behind a box.
    static QString column(Box box);

private:
    // The attribute boxes with text when a run starts, and their texts.
    struct Filter {
        unsigned chosen = 0;  // bit per Box
        std::array<QString, kBoxCount> values;
    };
    // The products a filter run matches, with the rows that hold each column's values once,
    // worked out when first asked for. A nested run whose extra choices are values every one of
    // these products shares matches the same products, so it shares this too.
    struct Matching {
        Filter filter;
        store::RecordSet products;
        std::array<std::optional<std::vector<uint32_t>>, kBoxCount> valueRows;

        const std::vector<uint32_t>& valueRowsOf(Box box);
        bool alsoMatches(const Filter& other);
    };

    QComboBox* box(Box which) const { return boxes_[which]; }
    QString text(Box which) const;
    Filter chosenAttributes() const;
    store::RecordSet productsMatching(const Filter& filter) const;
    void lookUp(Box codeBox);
    void refill(Box which, Matching& matching, const Filter& chosen);
    void autoSelect(Box which);
    // Inside a filter run a failed read is told once, when the outermost run ends.
    void readFailed();

    session::Shell& shell_;
    Boxes boxes_;
    std::function<bool()> reset_;
    Matching* running_ = nullptr;  // the filter run in progress, if any
    bool readFailedInRun_ = false;
};

}  // namespace receiving
