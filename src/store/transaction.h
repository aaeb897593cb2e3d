#pragma once
// One transaction around a group of writes: committed only when every write succeeded, rolled
// back on every other path, so no failure leaves a change half-written and no success is told
// before the commit.

#include "store/database.h"

#include <QString>
#include <functional>

namespace store {

// False when a write or the commit failed; nothing of the writes then stays.
bool inTransaction(Database& db, const std::function<bool()>& writes);

// `writes` gives "" when it succeeded, or why it failed. Gives "" once committed; otherwise the
// failure `writes` gave, or `failed` when the transaction itself could not begin or commit.
QString failureInTransaction(Database& db, const QString& failed,
                             const std::function<QString()>& writes);

}  // namespace store
