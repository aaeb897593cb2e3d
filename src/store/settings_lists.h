#pragma once
// The lists the shop extends in the system settings (brands, categories, cups, sizes, discounts,
// discount reasons), each kept as one comma-separated text in the one settings row.

#include "store/database.h"

#include <QStringList>
#include <optional>

namespace store {

// An empty or NULL list gives no values; otherwise the text split at every ",", untrimmed.
// Nothing when the settings row could not be read: that is no empty list.
using SettingsList = std::optional<QStringList>;
SettingsList loadSettingsList(Database& db, const QString& column);

inline SettingsList loadDiscountList(Database& db) { return loadSettingsList(db, "折扣"); }
inline SettingsList loadDiscountReasonList(Database& db) { return loadSettingsList(db, "折扣原因"); }
inline SettingsList loadBrandList(Database& db) { return loadSettingsList(db, "品牌管理"); }
inline SettingsList loadCupList(Database& db) { return loadSettingsList(db, "杯型管理"); }
inline SettingsList loadCategoryList(Database& db) { return loadSettingsList(db, "品类管理"); }
inline SettingsList loadSizeList(Database& db) { return loadSettingsList(db, "尺码管理"); }

}  // namespace store
