#include "store/stamps.h"

namespace store {

QString toDateStamp(const QDate& date) {
    return QString::number(date.year()) + QString::number(date.month()).rightJustified(2, u'0') +
           QString::number(date.day()).rightJustified(2, u'0');
}

QString makeDateStamp(const Clock& clock) { return toDateStamp(clock.now().date()); }

QString toTimeStamp(const QTime& time) {
    return QString::number(time.hour()) + QString::number(time.minute()) +
           QString::number(time.second());
}

QString makeTimeStamp(const Clock& clock) { return toTimeStamp(clock.now().time()); }

QString makeDocumentNumber(const Clock& clock, const QString& prefix) {
    const QDateTime moment = clock.now();
    return prefix + toDateStamp(moment.date()) + toTimeStamp(moment.time());
}

}  // namespace store
