#pragma once
// Date stamps, time stamps and the document numbers built from them.

#include "store/clock.h"

#include <QDate>
#include <QString>

namespace store {

// yyyymmdd, month and day padded to two digits.
QString toDateStamp(const QDate& date);
QString makeDateStamp(const Clock& clock);
// Hour, minute and second without leading zeros, joined: 9:05:03 gives 953.
QString toTimeStamp(const QTime& time);
QString makeTimeStamp(const Clock& clock);
// Prefix + date stamp + time stamp of one reading of the clock. Nothing makes it unique.
QString makeDocumentNumber(const Clock& clock, const QString& prefix);

}  // namespace store
