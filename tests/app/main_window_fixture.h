#pragma once
// The real main window, with its navigation panel, over the fixture's database.

#include "app/entry_windows.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/navigation_panel.h"
#include "session/password_digest.h"
#include "support/fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace test {

class MainWindowTest : public ShopTest {
protected:
    ~MainWindowTest() override { main.reset(); }

    // Start-up as the program runs it; the panel and whatever start-up opens are shown, the
    // panel once the main window is on the screen.
    void startMainWindow() {
        main = std::make_unique<app::MainWindow>(shell);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        main->activateWindow();
        QApplication::setActiveWindow(main.get());
        flushClosedWindows();
    }

    // The administrator "admin" with password "admin123" and a clerk "小王" with "xw1".
    void addUsers() {
        exec("update 用户管理模块 set 密码=? where 用户名='admin'",
             {session::makePasswordDigest("admin123")});
        addUser("小王", "xw1");
    }
    void addUser(const QString& name, const QString& password) {
        exec("insert into 用户管理模块(用户名,密码)values(?,?)",
             {name, session::makePasswordDigest(password)});
    }

    app::NavigationPanel* panel() const { return main->navigationPanel(); }
    app::LoginWindow* loginWindow() const { return main->findChild<app::LoginWindow*>(); }

    // As the user's double click does it: the press selects the row (-1: nothing selected).
    void doubleClickEntry(int row) {
        QListWidget* list = panel()->菜单项;
        if (row < 0) {
            list->clearSelection();
            panel()->openNavigationEntry();
        } else {
            list->setCurrentRow(row);
            emit list->itemDoubleClicked(list->item(row));
        }
        flushClosedWindows();
    }

    // Through the login window that a double click on `entry` opens.
    void logIn(const QString& name, const QString& password, int entry = app::kEntryLogin) {
        doubleClickEntry(entry);
        app::LoginWindow* login = loginWindow();
        ASSERT_NE(login, nullptr);
        typeInto(login->编辑框_用户名, name);
        typeInto(login->编辑框_密码, password);
        click(login->按钮_登录);
        flushClosedWindows();
    }

    // Closed windows are destroyed once the event loop comes round.
    static void flushClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QPoint centredIn(QSize size) const {
        const QSize host = main->frameGeometry().size();
        return QPoint(int(host.width() / 2.0 - size.width() / 2.0),
                      int(host.height() / 2.0 - size.height() / 2.0));
    }

    std::unique_ptr<app::MainWindow> main;
};

}  // namespace test
