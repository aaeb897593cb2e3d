#include "store/settings_lists.h"

namespace store {

QStringList loadSettingsList(Database& db, const QString& column) {
    const QString list = db.query("select * from 系统设置").text(column);
    if (list.isEmpty()) return {};
    return list.split(u',');
}

}  // namespace store
