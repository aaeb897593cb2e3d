#pragma once
// The test program doubles as the child process a test needs when it must kill or outlast
// another program: the child's role and its argument come in SHOP_TEST_CHILD as "role:argument".

#include <QProcess>
#include <QStringList>
#include <optional>

namespace test {

// The child's exit code when this process was started as a child, nothing otherwise.
std::optional<int> runChildRole(int argc, char** argv);

// Another program holding the file from construction until the test lets it go: in a write
// transaction that it commits then (others may read meanwhile), or exclusively, as a backup tool
// might (others may not even read). Unless told earlier, it lets go when the holder goes, and the
// destructor waits for it to end.
enum class Lock { Write, Exclusive };
class LockHolder {
public:
    LockHolder(const QString& path, Lock lock);
    ~LockHolder();

    // The other program lets go `milliseconds` after it is told, while the test goes on: a lock
    // that an action started now finds held and then sees go.
    void letGoIn(int milliseconds);

private:
    QProcess process_;
    bool told_ = false;
};

// Starts this test program as a child in `role` on `argument`.
void startChild(QProcess& child, const QString& role, const QString& argument);

}  // namespace test
