#include "app/navigation_panel.h"

#include <QCloseEvent>

namespace app {

NavigationPanel::NavigationPanel(Shell& shell) : QWidget(nullptr, Qt::Window), shell_(shell) {
    setWindowTitle(QStringLiteral("操作菜单"));
    resize(190, 570);
}

void NavigationPanel::closeEvent(QCloseEvent* event) {
    event->accept();
    shell_.endProgram();
}

}  // namespace app
