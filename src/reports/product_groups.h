#pragma once
// Paid lines, or sums of them, folded per product code as a grouping by 商品编号 would: lines
// without a code form one group, sorted before every code, and codes sort byte for byte. A range
// can hold a million lines of fifty thousand products, so the groups live in one open-addressing
// table rather than a node per product.

#include "store/paid_sales_sums.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reports {

class ProductGroups {
public:
    ProductGroups();

    // `code` is std::nullopt for lines without one. The counts say how many of the lines had a
    // quantity and an amount: a sum of none is empty, as in SQL. Negative figures take lines off
    // again; a group left without lines is no group.
    void add(std::optional<std::string_view> code, const store::LineSums& sums);

    // The first group, in the grouping's order, with the largest summed quantity (amount), and
    // that sum as text; groups without a figure count below every number. Both empty without
    // groups. Sums are exact, so equal sums are a tie whatever order their lines came in.
    std::pair<QString, QString> mostPieces() const;
    std::pair<QString, QString> mostAmount() const;

private:
    struct Group {
        uint64_t hash = 0;
        uint32_t codeAt = 0;  // in codes_
        uint32_t codeSize = 0;
        bool used = false;
        bool hasCode = false;
        int64_t lines = 0;
        int64_t quantity = 0;
        int64_t quantities = 0;
        __int128 millionths = 0;
        int64_t amounts = 0;
    };

    Group& groupOf(std::optional<std::string_view> code);
    void grow();
    std::string_view codeOf(const Group& group) const;
    bool isBefore(const Group& a, const Group& b) const;  // in the grouping's order
    template <typename Figure, typename Text>
    std::pair<QString, QString> best(Figure figure, Text text) const;

    std::vector<Group> slots_;  // a power of two, at most half used
    size_t used_ = 0;
    std::string codes_;
};

}  // namespace reports
