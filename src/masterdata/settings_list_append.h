#pragma once
// Extending one of the six settings lists of the settings row.

#include "store/database.h"

#include <QString>

namespace masterdata {

// Appends `value` to the list kept in `column` (one of the settings row's list columns, never
// typed input): alone when the list is empty, after one "," otherwise, untrimmed and unchecked
// against the values already there. False when the list no longer fits its column or no settings
// row took the change.
bool appendSettingsValue(store::Database& db, const QString& column, const QString& value);

}  // namespace masterdata
