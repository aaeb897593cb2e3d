#include "app/main_window.h"

#include "app/entry_windows.h"
#include "app/navigation_panel.h"
#include "app/set_password_window.h"
#include "store/schema.h"
#include "ui/hosted_window.h"
#include "ui/picture_box.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace app {

MainWindow::MainWindow(session::Shell& shell) : QWidget(nullptr, Qt::Window), shell_(shell) {
    shell_.mainWindow = this;
    shell_.openProductCatalogue = [this] { openEntryWindow(shell_, kEntryCatalogue); };
    setWindowTitle(QStringLiteral("沐岚轩内衣进销存软件V1.0内部测试版"));
    setWindowIcon(ui::programIcon());
    resize(800, 570);

    标签_欢迎 = new QLabel(this);
    标签_欢迎->setObjectName(QStringLiteral("标签_欢迎"));
    标签_欢迎->setGeometry(800 - 280 - 110, 8, 280, 24);
    标签_欢迎->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    按钮_退出系统 = new QPushButton(QStringLiteral("退出系统"), this);
    按钮_退出系统->setObjectName(QStringLiteral("按钮_退出系统"));
    按钮_退出系统->setGeometry(800 - 100, 6, 90, 28);
    connect(按钮_退出系统, &QPushButton::clicked, this, &MainWindow::logOut);
    图片框1 = new ui::PictureBox(
        this, ui::drawBanner(QSize(200, 60), QStringLiteral("沐岚轩 · 访问官网"), 18));
    图片框1->setObjectName(QStringLiteral("图片框1"));
    图片框1->move(800 - 210, 570 - 70);
    connect(图片框1, &ui::PictureBox::leftButtonDown, this, &ui::openMakersPage);

    startUp();
}

MainWindow::~MainWindow() {
    // The panel is a window of its own; it goes with the main window.
    delete panel_;
    shell_.navigationPanel = nullptr;
    shell_.mainWindow = nullptr;
    shell_.openProductCatalogue = nullptr;
}

void MainWindow::startUp() {
    const QString path = store::databaseFilePath(shell_.programFolder);
    if (!QFileInfo::exists(path)) {
        if (shell_.showMessage(QStringLiteral("是否创建数据库？"), 4, QString()) != ui::Answer::Yes) {
            shell_.endProgram();
            return;
        }
        createDatabase(path);
    }

    // The panel is loaded now and shown only at the end, in its place: a panel that showed
    // while the database opens and then moved to the main window would jump under the pointer.
    panel_ = new NavigationPanel(shell_);
    shell_.navigationPanel = panel_;
    centrePair();

    const store::BooksOpening opening = store::openBooks(shell_.db, path);
    if (opening.state == store::BooksState::Unavailable) {
        endForUnavailableBooks(opening);
        return;
    }
    if (opening.state == store::BooksState::Unreadable) {
        if (shell_.showMessage(QStringLiteral("数据库打开失败，是否创建数据库？"), 4, QString()) !=
                ui::Answer::Yes ||
            !recreateDatabase(path)) {
            shell_.endProgram();
            return;
        }
    }

    const std::optional<bool> hasPassword = administratorHasPassword();
    if (!hasPassword) {
        // Not knowing whether admin has a password is no reason to let anyone set a new one.
        shell_.tellReadFailed();
        shell_.endProgram();
        return;
    }
    if (*hasPassword) {
        showPanel();
    } else {
        ui::openHostedWindow(new SetPasswordWindow(shell_, this), this, ui::Placement::Centred);
    }
}

// A healthy file that is locked or write-protected is never moved aside: the user is told what
// stands in the way, and the program ends with the file untouched.
void MainWindow::endForUnavailableBooks(const store::BooksOpening& opening) {
    shell_.showMessage(opening.problem, 0x10, ui::kStandardTitle);
    shell_.endProgram();
}

// The file that would not open holds the shop's books: it is kept under a new name, never
// overwritten, and the new database is made beside it.
bool MainWindow::recreateDatabase(const QString& path) {
    if (QFileInfo::exists(path)) {
        const QString kept = store::moveAside(path, shell_.clock);
        if (kept.isEmpty()) {
            shell_.showMessage(QStringLiteral("无法打开的数据库文件不能改名保存，程序将退出！"),
                               0x10, ui::kStandardTitle);
            return false;
        }
        shell_.showMessage(QStringLiteral("无法打开的数据库文件已改名保存为：") +
                               QFileInfo(kept).fileName(),
                           0x40, ui::kStandardTitle);
    }
    createDatabase(path);
    const store::BooksOpening opening = store::openBooks(shell_.db, path);
    if (opening.state == store::BooksState::Opened) return true;
    if (opening.state == store::BooksState::Unavailable) {
        shell_.showMessage(opening.problem, 0x10, ui::kStandardTitle);
        return false;
    }
    shell_.showMessage(QStringLiteral("新建的数据库仍然无法打开，程序将退出！"), 0x10,
                       ui::kStandardTitle);
    return false;
}

void MainWindow::createDatabase(const QString& path) {
    const QString failure = store::createDatabase(shell_.db, path);
    if (failure.isEmpty())
        shell_.showMessage(QStringLiteral("创建完成！"), 0, QString());
    else
        shell_.showMessage(failure, 0x40, ui::kStandardTitle);
}

std::optional<bool> MainWindow::administratorHasPassword() {
    const store::RecordSet admin =
        shell_.db.query(QStringLiteral("select 密码 from 用户管理模块 where 用户名='admin'"));
    if (admin.failed()) return std::nullopt;
    // No admin row at all counts as no password, so the administrator can always be set up again.
    return !admin.text(1).isEmpty();
}

void MainWindow::centrePair() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double panelWidth = panel_ ? panelFrameWidth() : 0;
    move(static_cast<int>(screen.width() / 2.0 + panelWidth / 2.0 - frameGeometry().width() / 2.0),
         static_cast<int>(screen.height() / 2.0 - frameGeometry().height() / 2.0));
    dockPanel();
}

void MainWindow::dockPanel() {
    if (panel_) panel_->move(x() - panelFrameWidth(), y());
}

// A panel not shown yet has no frame of its own; the window manager will frame it as it framed
// the main window.
int MainWindow::panelFrameWidth() const {
    const int framed = panel_->frameGeometry().width();
    return framed != panel_->width() ? framed : panel_->width() + frameGeometry().width() - width();
}

void MainWindow::showPanel() {
    if (!panel_) return;
    panelWaits_ = !onScreen_;
    if (panelWaits_) return;
    dockPanel();
    panel_->show();
}

void MainWindow::logOut() {
    if (!shell_.isLoggedIn()) {
        shell_.showMessage(QStringLiteral("你还没有登录！"), 0x40, ui::kStandardTitle);
        return;
    }
    // They stay loaded with their contents; the other windows stay as they are.
    for (ui::HostedWindow* window : findChildren<ui::HostedWindow*>())
        if (window->hidesOnLogout()) window->hide();
    标签_欢迎->clear();
    shell_.currentUser.clear();
    shell_.showMessage(QStringLiteral("你已经成功退出系统！"), 0, ui::kStandardTitle);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    dockPanel();
}

// The window manager's frame, and with it the panel's place, is known once the main window is
// exposed for the first time.
void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!onScreen_) windowHandle()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        onScreen_ = true;
        if (panelWaits_) showPanel();
    }
    return QWidget::eventFilter(watched, event);
}

// Restoring the main window from the task bar brings the panel back, docked, unless the
// administrator's password is still to be set.
void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !isMinimized()) restorePanel();
}

void MainWindow::restorePanel() {
    if (!panel_ || findChild<SetPasswordWindow*>()) return;
    centrePair();
    panel_->showNormal();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    shell_.endProgram();
}

void showNavigationPanel(session::Shell& shell) {
    if (auto* mainWindow = qobject_cast<MainWindow*>(shell.mainWindow)) mainWindow->showPanel();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, QColor(0xfd, 0xf0, 0xf5));
    fill.setColorAt(1, QColor(0xf3, 0xd2, 0xe1));
    painter.fillRect(rect(), fill);
    QFont font = painter.font();
    font.setPixelSize(40);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0xc0, 0x5a, 0x8b, 90));
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("沐岚轩内衣进销存"));
}

}  // namespace app
