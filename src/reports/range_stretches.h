#pragma once
// Where the paid lines of a date range are read. A range counts a line when its 销售时间 lies
// between the bounds, compared as numbers, whether or not it names a calendar day. So the range
// is read in two parts:
//   - the lines dated on a calendar day (a whole yyyymmdd): whole years and whole months from the
//     sums kept beside the lines, the days of a month begun or ended inside from the lines
//     themselves. A range that covers most of a year takes the year's sums and takes off the
//     days it leaves out, which is far fewer rows than the months and days it covers;
//   - the lines dated on no calendar day (20231301, 20230230, 2023011, 20240305.5), from their
//     own sums, compared with the bounds as they are.
// A stretch of days never runs past the end of a month: between two months lie only dates that
// are no calendar day, as between two days, which the second part counts.

#include <QString>
#include <vector>

namespace reports {

// Days: the lines of calendar days; Lines: every line, whatever its date.
enum class Grain { Years, Months, Days, OtherDates, Lines };

struct Stretch {
    Grain grain;
    int sign;      // +1 adds the stretch's lines, -1 takes them off
    QString from;  // yyyy, yyyymm or yyyymmdd, or for OtherDates and Lines the bound as given;
    QString to;    // both included
};

// For yyyymmdd bounds of calendar days, both included. Bounds that are not are one stretch of
// lines, which reads every line compared with them.
std::vector<Stretch> stretchesOf(const QString& start, const QString& end);

}  // namespace reports
