#include "app/set_password_window.h"

namespace app {

SetPasswordWindow::SetPasswordWindow(Shell& shell, QWidget* host)
    : HostedWindow(host, QStringLiteral("设置密码"), QSize(260, 179)), shell_(shell) {}

}  // namespace app
