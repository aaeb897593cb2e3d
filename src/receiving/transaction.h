#pragma once
// How the receiving operations that write in one transaction report back, and the transaction
// they share: committed before any success is told, rolled back on every other path.

#include "store/transaction.h"

#include <QString>

namespace receiving {

struct Outcome {
    bool done = false;
    QString message;  // told to the user either way: the success, the refusal or the failure
};

// Runs `work` inside one transaction. A refusal or failure of `work` rolls back and keeps its
// message; a transaction that cannot begin or commit rolls back with `failure`.
template <typename Work>
Outcome inOneTransaction(store::Database& db, const QString& failure, Work&& work) {
    Outcome outcome;
    const QString failed = store::failureInTransaction(db, failure, [&] {
        outcome = work();
        if (outcome.done) return QString();
        return outcome.message.isEmpty() ? failure : outcome.message;
    });
    return failed.isEmpty() ? outcome : Outcome{false, failed};
}

}  // namespace receiving
