#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    application.setFont(QFont(QStringLiteral("WenQuanYi Micro Hei")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
