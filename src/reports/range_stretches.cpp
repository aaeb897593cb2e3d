#include "reports/range_stretches.h"

#include <QDate>
#include <algorithm>
#include <optional>

namespace reports {

namespace {

// The calendar day a bound names as a number, yyyymmdd of the years 1 to 9999, as the sums
// tell calendar days from other dates.
std::optional<QDate> calendarDay(const QString& bound) {
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (bound.isEmpty() || bound.size() > 8 || !std::all_of(bound.begin(), bound.end(), isDigit))
        return std::nullopt;
    const int number = bound.toInt();
    const int year = number / 10000;
    const QDate day(year, number / 100 % 100, number % 100);
    if (year < 1 || !day.isValid()) return std::nullopt;
    return day;
}

QString stampOf(const QDate& date, Grain grain) {
    const int number = grain == Grain::Years    ? date.year()
                       : grain == Grain::Months ? date.year() * 100 + date.month()
                                                : date.year() * 10000 + date.month() * 100 + date.day();
    return QString::number(number);
}

class Stretches {
public:
    // Joined to the last stretch where it goes on from it; days only within their month.
    void take(Grain grain, int sign, const QDate& from, const QDate& to) {
        if (!list_.empty() && list_.back().grain == grain && list_.back().sign == sign &&
            lastDay_.addDays(1) == from && (grain != Grain::Days || from.day() != 1))
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

    void takeOtherDates(const QString& start, const QString& end) {
        list_.push_back({Grain::OtherDates, +1, start, end});
    }

    std::vector<Stretch> list() && { return std::move(list_); }

private:
    std::vector<Stretch> list_;
    QDate lastDay_;
};

}  // namespace

std::vector<Stretch> stretchesOf(const QString& startText, const QString& endText) {
    const std::optional<QDate> start = calendarDay(startText);
    const std::optional<QDate> end = calendarDay(endText);
    if (!start || !end) return {{Grain::Lines, +1, startText, endText}};
    Stretches stretches;
    for (int year = start->year(); year <= end->year(); ++year) {
        const QDate first(year, 1, 1);
        const QDate last(year, 12, 31);
        const QDate from = std::max(*start, first);
        const QDate to = std::min(*end, last);
        if (from > to) continue;
        if ((from.daysTo(to) + 1) * 2 <= first.daysTo(last) + 1) {
            stretches.takeWithinYear(+1, from, to);
            continue;
        }
        stretches.take(Grain::Years, +1, first, last);
        stretches.takeWithinYear(-1, first, from.addDays(-1));
        stretches.takeWithinYear(-1, to.addDays(1), last);
    }
    stretches.takeOtherDates(startText, endText);
    return std::move(stretches).list();
}

}  // namespace reports
