#pragma once
// The program's start window: it runs start-up, owns the navigation panel and hosts the
// working windows.

#include "session/shell.h"
#include "store/schema.h"

#include <QWidget>
#include <optional>

class QLabel;
class QPushButton;

namespace ui { class PictureBox; }

namespace app {

class NavigationPanel;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Builds the form, then runs start-up; afterwards `shell.programEnded` tells whether the
    // program is to go on.
    explicit MainWindow(session::Shell& shell);
    ~MainWindow() override;

    QLabel* 标签_欢迎;
    QPushButton* 按钮_退出系统;
    ui::PictureBox* 图片框1;

    NavigationPanel* navigationPanel() const { return panel_; }
    // Puts the navigation panel against the main window's left edge, top edges level.
    void dockPanel();
    // Main window and panel together, centred side by side on the screen.
    void centrePair();
    // Shows the navigation panel docked, once the main window stands on the screen.
    void showPanel();

    // 退出系统: hides the windows that logout hides and forgets the user.
    void logOut();

protected:
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void startUp();
    void endForUnavailableBooks(const store::BooksOpening& opening);
    bool recreateDatabase(const QString& path);
    void createDatabase(const QString& path);
    // Nothing when the users could not be read.
    std::optional<bool> administratorHasPassword();
    void restorePanel();
    int panelFrameWidth() const;

    session::Shell& shell_;
    NavigationPanel* panel_ = nullptr;
    bool onScreen_ = false;   // mapped and framed by the window manager
    bool panelWaits_ = false;  // to be shown once the main window is on the screen
};

// Shows the navigation panel, docked at the main window.
void showNavigationPanel(session::Shell& shell);

}  // namespace app
