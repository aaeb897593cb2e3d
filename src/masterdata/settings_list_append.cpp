#include "masterdata/settings_list_append.h"

namespace masterdata {

bool appendSettingsValue(store::Database& db, const QString& column, const QString& value) {
    const QString oldList =
        db.query(QStringLiteral("select %1 from 系统设置 where id='1'").arg(column)).text(1);
    const QString newList = oldList.isEmpty() ? value : oldList + u',' + value;
    return db.execute(QStringLiteral("update 系统设置 set %1=? where ID='1'").arg(column),
                      {newList}) &&
           db.changedRows() > 0;
}

}  // namespace masterdata
