#include "support/child_roles.h"

#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = test::runChildRole(argc, argv)) return *exitCode;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    application.setFont(QFont(QStringLiteral("WenQuanYi Micro Hei")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
