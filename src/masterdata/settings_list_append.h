#pragma once
// Extending one of the six settings lists of the settings row.

#include "store/database.h"

#include <QString>

namespace masterdata {

enum class AppendOutcome {
    Added,
    ListFull,  // the longer list would not fit its column: nothing written
    Failed,    // the write failed or no settings row took it
};

// Appends `value` to the list kept in `column` (one of the settings row's list columns, never
// typed input): alone when the list is empty, after one "," otherwise, untrimmed and unchecked
// against the values already there.
AppendOutcome appendSettingsValue(store::Database& db, const QString& column, const QString& value);

// What the user is told when a list is full, after the list's own failure message.
QString listFullText();

}  // namespace masterdata
