#pragma once
// The test program doubles as the child process a test needs when it must kill or outlast
// another program: the child's role and its argument come in SHOP_TEST_CHILD as "role:argument".

#include <QProcess>
#include <QStringList>
#include <optional>

namespace test {

// The child's exit code when this process was started as a child, nothing otherwise.
std::optional<int> runChildRole(int argc, char** argv);

// Another program holding the file from construction until `milliseconds` later: in a write
// transaction that it commits then (others may read meanwhile), or exclusively, as a backup tool
// might (others may not even read). The destructor waits for it to let go.
enum class Lock { Write, Exclusive };
class LockHolder {
public:
    LockHolder(const QString& path, Lock lock, int milliseconds);
    ~LockHolder();

private:
    QProcess process_;
};

// Starts this test program as a child in `role` on `argument`.
void startChild(QProcess& child, const QString& role, const QString& argument);

}  // namespace test
