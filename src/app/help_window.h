#pragma once
// A short note on how the program is used.

#include "session/shell.h"
#include "ui/hosted_window.h"

class QLabel;

namespace app {

class HelpWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    HelpWindow(session::Shell& shell, QWidget* host);

    QLabel* 标签1;
};

}  // namespace app
