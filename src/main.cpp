#include "app/main_window.h"
#include "session/shell.h"
#include "store/clock.h"
#include "store/database.h"
#include "ui/messages.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    // WenQuanYi Micro Hei stands in for the Windows fonts the forms were drawn with.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    application.setFont(font);

    store::Database database;
    ui::DialogMessages messages;
    store::Clock clock;
    session::Shell shell(database, messages, clock, QApplication::applicationDirPath());
    app::MainWindow mainWindow(shell);
    if (shell.programEnded) return 0;
    mainWindow.show();
    return application.exec();
}
