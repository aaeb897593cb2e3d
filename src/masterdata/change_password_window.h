#pragma once
// The change-password window, opened from the user list of the system settings window for one
// user; it changes that user's password whatever is selected in the list afterwards.

#include "session/shell.h"
#include "ui/hosted_window.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace masterdata {

class ChangePasswordWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    ChangePasswordWindow(session::Shell& shell, QWidget* host, QString userName);

    QGroupBox* 分组框1;  // its caption is the user's name
    QLineEdit* 编辑框1;  // old password
    QLineEdit* 编辑框3;  // new password
    QLineEdit* 编辑框2;  // new password again
    QPushButton* 按钮_修改密码;

private:
    void changePassword();
    void emptyBoxes();

    session::Shell& shell_;
    const QString userName_;
};

}  // namespace masterdata
