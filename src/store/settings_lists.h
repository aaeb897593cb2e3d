#pragma once
// The lists the shop extends in the system settings (brands, categories, cups, sizes, discounts,
// discount reasons), each kept as one comma-separated text in the one settings row.

#include "store/database.h"

#include <QStringList>

namespace store {

// An empty or NULL list gives no values; otherwise the text split at every ",", untrimmed.
QStringList loadSettingsList(Database& db, const QString& column);

inline QStringList loadDiscountList(Database& db) { return loadSettingsList(db, "折扣"); }
inline QStringList loadDiscountReasonList(Database& db) { return loadSettingsList(db, "折扣原因"); }
inline QStringList loadBrandList(Database& db) { return loadSettingsList(db, "品牌管理"); }
inline QStringList loadCupList(Database& db) { return loadSettingsList(db, "杯型管理"); }
inline QStringList loadCategoryList(Database& db) { return loadSettingsList(db, "品类管理"); }
inline QStringList loadSizeList(Database& db) { return loadSettingsList(db, "尺码管理"); }

}  // namespace store
