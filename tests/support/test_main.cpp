#include "store/schema.h"

#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // A child that a test kills part-way through making a database.
    if (const QByteArray path = qgetenv("SHOP_TEST_CREATE_DATABASE"); !path.isEmpty()) {
        store::Database db;
        return store::createDatabase(db, QString::fromLocal8Bit(path)).isEmpty() ? 0 : 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    application.setFont(QFont(QStringLiteral("WenQuanYi Micro Hei")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
