#pragma once
// A working window shown inside a host window (the main window or another working window):
// a child widget with a title bar of its own, a close box, and dragging within the host.
// Being a QObject child of its host, `host->findChild<SomeWindow*>()` tells whether it is loaded.

#include <QPoint>
#include <QSize>
#include <QWidget>

class QLabel;

namespace ui {

class HostedWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTitleBarHeight = 26;

    // `outerSize` is the form's size, title bar included. The window is destroyed on close.
    HostedWindow(QWidget* host, const QString& title, QSize outerSize);

    // The client area below the title bar, where the form's controls stand.
    QWidget* body() const { return body_; }

    // The catalogue, the receipt windows and the sales window are hidden, not closed, when the
    // user logs out; the others stay as they are.
    bool hidesOnLogout() const { return hidesOnLogout_; }
    void setHidesOnLogout(bool hides) { hidesOnLogout_ = hides; }

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QLabel* title_;
    QWidget* body_;
    QPoint dragOffset_;
    bool dragging_ = false;
    bool hidesOnLogout_ = false;
};

enum class Placement {
    Centred,   // centreInHost
    TopLeft,   // left 0, top 0
    Fixed,     // left 100, top 30
};

// Makes `window` a child of `host`, places it and shows it in front, and gives it the keyboard:
// the host's top-level window is activated (the keyboard may be with another top-level window,
// such as the navigation panel), so typing reaches the focus the window's created event chose.
void openHostedWindow(QWidget* window, QWidget* host, Placement placement);

// Raises and activates a top-level window; its focus widget gets the keyboard.
void takeKeyboard(QWidget* topLevel);

// Shows the `Window` that `host` has loaded as it stands, or builds one as
// Window(arguments..., host); either way at its placement, in front. Gives the window.
template <typename Window, typename Host, typename... Arguments>
Window* openOnce(Host* host, Placement placement, Arguments&&... arguments) {
    auto* window = host->template findChild<Window*>();
    if (!window) window = new Window(std::forward<Arguments>(arguments)..., host);
    openHostedWindow(window, host, placement);
    return window;
}

// left = host width / 2 - window width / 2, top likewise, truncated toward zero, outer sizes;
// a window larger than its host gets a negative position.
void centreInHost(QWidget* window, QWidget* host);

}  // namespace ui
