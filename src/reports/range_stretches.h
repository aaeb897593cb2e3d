#pragma once
// Where the paid lines of a date range are read: whole years and whole months from the sums kept
// beside the lines, other days from the lines themselves. A range that covers most of a year
// takes the year's sums and takes off the days it leaves out, which is far fewer rows than the
// months and days it covers. Sale dates are calendar dates from the sales window's date box, so
// a month's sums hold exactly the lines of its days.

#include <QString>
#include <vector>

namespace reports {

enum class Grain { Years, Months, Days };

struct Stretch {
    Grain grain;
    int sign;      // +1 adds the stretch's lines, -1 takes them off
    QString from;  // yyyy, yyyymm or yyyymmdd; both included
    QString to;
};

// For yyyymmdd bounds, both included; bounds that are not dates are one stretch of days.
std::vector<Stretch> stretchesOf(const QString& start, const QString& end);

}  // namespace reports
