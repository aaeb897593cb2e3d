#pragma once
// The test program doubles as the child process a test needs when it must kill or outlast
// another program: the child's role and its argument come in SHOP_TEST_CHILD as "role:argument".

#include <QStringList>
#include <optional>

class QProcess;

namespace test {

// The child's exit code when this process was started as a child, nothing otherwise.
std::optional<int> runChildRole(int argc, char** argv);

// Starts this test program as a child in `role` on `argument`.
void startChild(QProcess& child, const QString& role, const QString& argument);

}  // namespace test
