#pragma once
// Checks a user name and password against the users, makes the user the current user and opens
// the navigation entry asked for before the login.

#include "session/shell.h"
#include "ui/hosted_window.h"

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class LoginWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    LoginWindow(session::Shell& shell, QWidget* host);

    QLabel* 标签1;
    QLineEdit* 编辑框_用户名;
    QLabel* 标签2;
    QLineEdit* 编辑框_密码;
    QPushButton* 按钮_登录;
    QPushButton* 按钮_重置;

    void logIn();

private:
    // Whether a row of the user holds the digest of this password; nothing when the users could
    // not be read.
    std::optional<bool> hasPassword(const QString& userName, const QString& password);
    // Shows the first refusal of the typed name and password; false when they may be looked up.
    bool refusesInput(const QString& userName, const QString& password);
    void openRequestedEntry();
    void reset();

    session::Shell& shell_;
};

}  // namespace app
