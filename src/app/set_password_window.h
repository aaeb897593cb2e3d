#pragma once
// The first-run window that asks for the administrator's password.

#include "app/shell.h"
#include "ui/hosted_window.h"

namespace app {

class SetPasswordWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    SetPasswordWindow(Shell& shell, QWidget* host);

private:
    Shell& shell_;
};

}  // namespace app
