#pragma once
// The program's menu: a top-level window kept against the main window's left edge, holding the
// eight navigation entries.

#include "session/shell.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QListWidget;

namespace ui { class PictureBox; }

namespace app {

class NavigationPanel : public QWidget {
    Q_OBJECT
public:
    explicit NavigationPanel(session::Shell& shell);

    QListWidget* 菜单项;
    QGroupBox* 分组框1;
    ui::PictureBox* 图片框1;

    // A double click on the list: the login window while nobody is logged in, otherwise the
    // entry's window for whoever may open it.
    void openNavigationEntry();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildContactBox();

    session::Shell& shell_;
};

}  // namespace app
