#include "ui/hosted_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>

namespace ui {

HostedWindow::HostedWindow(QWidget* host, const QString& title, QSize outerSize)
    : QWidget(host), title_(new QLabel(title, this)), body_(new QWidget(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    setObjectName(QStringLiteral("hostedWindow"));
    setAttribute(Qt::WA_StyledBackground);
    // The style sheet's background covers the whole window, so windows stacked beneath it
    // need not be painted again whenever it is.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setStyleSheet(QStringLiteral(
        "#hostedWindow { background: palette(window); border: 1px solid #5b7fb0; }"
        "#titleBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #6d97d0,"
        " stop:1 #3f6aa8); }"
        "#titleBar QLabel { color: white; font-weight: bold; }"
        "#titleBar QToolButton { color: white; border: none; font-size: 14px; }"
        "#titleBar QToolButton:hover { background: #d9534f; }"));
    resize(outerSize);
    hide();

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("titleBar"));
    bar->setAttribute(Qt::WA_StyledBackground);
    bar->setGeometry(1, 1, outerSize.width() - 2, kTitleBarHeight);
    auto* close = new QToolButton(bar);
    close->setText(QStringLiteral("✕"));
    close->setToolTip(QStringLiteral("关闭"));
    close->setFixedSize(kTitleBarHeight, kTitleBarHeight - 4);
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 0, 2, 0);
    title_->setParent(bar);
    row->addWidget(title_, 1);
    row->addWidget(close);
    bar->installEventFilter(this);
    title_->installEventFilter(this);

    body_->setGeometry(1, kTitleBarHeight + 1, outerSize.width() - 2,
                       outerSize.height() - kTitleBarHeight - 2);
}

bool HostedWindow::eventFilter(QObject*, QEvent* event) {
    // Dragging by the title bar moves the window within its host.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        raise();
        dragging_ = true;
        dragOffset_ = mouse->globalPosition().toPoint() - pos();
        return true;
    }
    case QEvent::MouseMove:
        if (!dragging_) return false;
        move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
        return true;
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        return false;
    default:
        return false;
    }
}

void HostedWindow::mousePressEvent(QMouseEvent* event) {
    raise();
    QWidget::mousePressEvent(event);
}

// Qt leaves an opaque widget's background to it: the style sheet's, border included.
void HostedWindow::paintEvent(QPaintEvent*) {
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void HostedWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowTitleChange) title_->setText(windowTitle());
    QWidget::changeEvent(event);
}

void openHostedWindow(QWidget* window, QWidget* host, Placement placement) {
    if (window->parentWidget() != host) window->setParent(host);
    switch (placement) {
    case Placement::Centred: centreInHost(window, host); break;
    case Placement::TopLeft: window->move(0, 0); break;
    case Placement::Fixed: window->move(100, 30); break;
    }
    window->show();
    window->raise();
    // The focus the window's created event chose takes effect once it is shown.
    if (QWidget* chosen = window->focusWidget()) chosen->setFocus();
    takeKeyboard(host->window());
}

void takeKeyboard(QWidget* topLevel) {
    topLevel->raise();
    topLevel->activateWindow();
    if (QWidget* focus = topLevel->focusWidget()) focus->setFocus();
}

void centreInHost(QWidget* window, QWidget* host) {
    const QSize hostSize = host->frameGeometry().size();
    const QSize size = window->frameGeometry().size();
    window->move(static_cast<int>(hostSize.width() / 2.0 - size.width() / 2.0),
                 static_cast<int>(hostSize.height() / 2.0 - size.height() / 2.0));
    window->show();
}

}  // namespace ui
