#include "reports/range_stretches.h"

#include <QDate>
#include <algorithm>

namespace reports {

namespace {

QString stampOf(const QDate& date, Grain grain) {
    const int number = grain == Grain::Years    ? date.year()
                       : grain == Grain::Months ? date.year() * 100 + date.month()
                                                : date.year() * 10000 + date.month() * 100 + date.day();
    return QString::number(number);
}

class Stretches {
public:
    // Joined to the last stretch where it goes on from it.
    void take(Grain grain, int sign, const QDate& from, const QDate& to) {
        if (!list_.empty() && list_.back().grain == grain && list_.back().sign == sign &&
            lastDay_.addDays(1) == from)
            list_.back().to = stampOf(to, grain);
        else
            list_.push_back({grain, sign, stampOf(from, grain), stampOf(to, grain)});
        lastDay_ = to;
    }

    // Days of one year: its whole months, and the days of a month begun or ended inside.
    void takeWithinYear(int sign, QDate from, const QDate& to) {
        while (from <= to) {
            const QDate monthEnd(from.year(), from.month(), from.daysInMonth());
            const QDate last = std::min(monthEnd, to);
            take(from.day() == 1 && last == monthEnd ? Grain::Months : Grain::Days, sign, from, last);
            from = last.addDays(1);
        }
    }

    std::vector<Stretch> list() && { return std::move(list_); }

private:
    std::vector<Stretch> list_;
    QDate lastDay_;
};

}  // namespace

std::vector<Stretch> stretchesOf(const QString& startText, const QString& endText) {
    const QDate start = QDate::fromString(startText, QStringLiteral("yyyyMMdd"));
    const QDate end = QDate::fromString(endText, QStringLiteral("yyyyMMdd"));
    if (!start.isValid() || !end.isValid()) return {{Grain::Days, +1, startText, endText}};
    Stretches stretches;
    for (int year = start.year(); year <= end.year(); ++year) {
        const QDate first(year, 1, 1);
        const QDate last(year, 12, 31);
        const QDate from = std::max(start, first);
        const QDate to = std::min(end, last);
        if (from > to) continue;
        if ((from.daysTo(to) + 1) * 2 <= first.daysTo(last) + 1) {
            stretches.takeWithinYear(+1, from, to);
            continue;
        }
        stretches.take(Grain::Years, +1, first, last);
        stretches.takeWithinYear(-1, first, from.addDays(-1));
        stretches.takeWithinYear(-1, to.addDays(1), last);
    }
    return std::move(stretches).list();
}

}  // namespace reports
