#include "masterdata/settings_list_append.h"

namespace masterdata {

namespace {

// Every list column of the settings row is varchar(255), counted in characters as the store does.
constexpr qsizetype kListColumnLength = 255;

}  // namespace

AppendOutcome appendSettingsValue(store::Database& db, const QString& column, const QString& value) {
    const QString oldList =
        db.query(QStringLiteral("select %1 from 系统设置 where id='1'").arg(column)).text(1);
    const QString newList = oldList.isEmpty() ? value : oldList + u',' + value;
    if (newList.toUcs4().size() > kListColumnLength) return AppendOutcome::ListFull;
    const bool added =
        db.execute(QStringLiteral("update 系统设置 set %1=? where ID='1'").arg(column), {newList}) &&
        db.changedRows() > 0;
    return added ? AppendOutcome::Added : AppendOutcome::Failed;
}

QString listFullText() {
    return QStringLiteral("这个列表已满（最多%1个字符），放不下这个值。").arg(kListColumnLength);
}

}  // namespace masterdata
