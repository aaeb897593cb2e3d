#include "masterdata/settings_list_append.h"

#include "store/transaction.h"

namespace masterdata {

namespace {

// Every list column of the settings row is varchar(255), counted in characters as the store does.
constexpr qsizetype kListColumnLength = 255;

}  // namespace

AppendOutcome appendSettingsValue(store::Database& db, const QString& column, const QString& value) {
    // The list is read and written in one transaction: a list that could not be read is never
    // replaced by the new value alone, and no other program's value is lost in between.
    AppendOutcome refusal = AppendOutcome::Failed;
    const bool committed = store::inTransaction(db, [&] {
        const store::RecordSet old =
            db.query(QStringLiteral("select %1 from 系统设置 where id='1'").arg(column));
        if (old.failed()) return false;
        const QString oldList = old.text(1);
        const QString newList = oldList.isEmpty() ? value : oldList + u',' + value;
        if (newList.toUcs4().size() > kListColumnLength) {
            refusal = AppendOutcome::ListFull;
            return false;
        }
        return db.execute(QStringLiteral("update 系统设置 set %1=? where ID='1'").arg(column),
                          {newList}) &&
               db.changedRows() > 0;
    });
    return committed ? AppendOutcome::Added : refusal;
}

QString listFullText() {
    return QStringLiteral("这个列表已满（最多%1个字符），放不下这个值。").arg(kListColumnLength);
}

}  // namespace masterdata
