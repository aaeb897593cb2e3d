#include "store/settings_lists.h"

namespace store {

SettingsList loadSettingsList(Database& db, const QString& column) {
    const RecordSet settings = db.query("select * from 系统设置");
    if (settings.failed()) return std::nullopt;
    const QString list = settings.text(column);
    if (list.isEmpty()) return QStringList();
    return list.split(u',');
}

}  // namespace store
