#pragma once
// The first-run window that asks for the administrator's password; nothing else can be reached
// until it is stored.

#include "session/shell.h"
#include "ui/hosted_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class SetPasswordWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    SetPasswordWindow(session::Shell& shell, QWidget* host);

    QLabel* 标签4;
    QLabel* 标签5;
    QLabel* 标签1;
    QLineEdit* 编辑框2;  // the password
    QLabel* 标签2;
    QLineEdit* 编辑框1;  // its confirmation
    QLabel* 标签3;
    QPushButton* 按钮1;

    void storeAdminPassword();

private:
    bool refusesInput();
    bool writeAdminDigest(const QString& digest);

    session::Shell& shell_;
};

}  // namespace app
