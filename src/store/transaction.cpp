#include "store/transaction.h"

namespace store {

bool inTransaction(Database& db, const std::function<bool()>& writes) {
    return failureInTransaction(db, QStringLiteral("failed"), [&] {
               return writes() ? QString() : QStringLiteral("failed");
           }).isEmpty();
}

QString failureInTransaction(Database& db, const QString& failed,
                             const std::function<QString()>& writes) {
    if (!db.begin()) return failed;
    QString failure = writes();
    if (failure.isEmpty() && !db.commit()) failure = failed;
    if (!failure.isEmpty()) db.rollback();
    return failure;
}

}  // namespace store
