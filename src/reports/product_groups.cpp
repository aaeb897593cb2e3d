#include "reports/product_groups.h"

namespace reports {

namespace {

constexpr size_t kFirstSlots = 1 << 12;

uint64_t hashOf(std::optional<std::string_view> code) {
    uint64_t hash = code ? 14695981039346656037ull : 0;  // FNV-1a over the bytes
    if (code)
        for (unsigned char byte : *code) hash = (hash ^ byte) * 1099511628211ull;
    // Mixed, so the low bits that pick a slot depend on every byte.
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdull;
    hash ^= hash >> 33;
    return hash;
}

template <typename T>
std::optional<T> figureIf(int64_t count, T sum) {
    return count ? std::optional<T>(sum) : std::nullopt;
}

}  // namespace

ProductGroups::ProductGroups() : slots_(kFirstSlots) {}

void ProductGroups::add(std::optional<std::string_view> code, const store::LineSums& sums) {
    Group& group = groupOf(code);
    group.lines += sums.lines;
    group.quantity += sums.quantity;
    group.quantities += sums.quantities;
    group.millionths += sums.millionths;
    group.amounts += sums.amounts;
}

ProductGroups::Group& ProductGroups::groupOf(std::optional<std::string_view> code) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    const uint64_t hash = hashOf(code);
    const size_t mask = slots_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        Group& group = slots_[slot];
        if (!group.used) {
            group.used = true;
            group.hash = hash;
            group.hasCode = code.has_value();
            if (code) {
                group.codeAt = static_cast<uint32_t>(codes_.size());
                group.codeSize = static_cast<uint32_t>(code->size());
                codes_.append(*code);
            }
            ++used_;
            return group;
        }
        if (group.hash == hash && group.hasCode == code.has_value() && (!code || codeOf(group) == *code))
            return group;
    }
}

void ProductGroups::grow() {
    std::vector<Group> old(slots_.size() * 2);
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Group& group : old) {
        if (!group.used) continue;
        size_t slot = group.hash & mask;
        while (slots_[slot].used) slot = (slot + 1) & mask;
        slots_[slot] = group;
    }
}

std::string_view ProductGroups::codeOf(const Group& group) const {
    return std::string_view(codes_).substr(group.codeAt, group.codeSize);
}

bool ProductGroups::isBefore(const Group& a, const Group& b) const {
    if (!a.hasCode || !b.hasCode) return !a.hasCode && b.hasCode;
    return codeOf(a) < codeOf(b);  // unsigned bytes, as SQLite compares text
}

template <typename Figure, typename Text>
std::pair<QString, QString> ProductGroups::best(Figure figure, Text text) const {
    const Group* best = nullptr;
    for (const Group& group : slots_) {
        if (!group.used || group.lines == 0) continue;
        if (!best) {
            best = &group;
            continue;
        }
        const auto mine = figure(group), theirs = figure(*best);
        const bool beats = mine.has_value() != theirs.has_value() ? mine.has_value()
                           : mine && *mine != *theirs ? *mine > *theirs
                                                               : isBefore(group, *best);
        if (beats) best = &group;
    }
    if (!best) return {};
    const auto sum = figure(*best);
    return {QString::fromUtf8(codeOf(*best)), sum ? text(*sum) : QString()};
}

std::pair<QString, QString> ProductGroups::mostPieces() const {
    return best([](const Group& g) { return figureIf(g.quantities, g.quantity); },
                [](int64_t sum) { return QString::number(sum); });
}

std::pair<QString, QString> ProductGroups::mostAmount() const {
    return best([](const Group& g) { return figureIf(g.amounts, g.millionths); },
                store::millionthsText);
}

}  // namespace reports
