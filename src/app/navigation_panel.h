#pragma once
// The program's menu: a top-level window kept against the main window's left edge.

#include "app/shell.h"

#include <QWidget>

namespace app {

class NavigationPanel : public QWidget {
    Q_OBJECT
public:
    explicit NavigationPanel(Shell& shell);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Shell& shell_;
};

}  // namespace app
