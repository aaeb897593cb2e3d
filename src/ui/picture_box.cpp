#include "ui/picture_box.h"

#include <QDesktopServices>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace ui {

PictureBox::PictureBox(QWidget* parent, const QPixmap& picture) : QLabel(parent) {
    setPixmap(picture);
    setFixedSize(picture.size());
    setCursor(Qt::PointingHandCursor);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftButtonDown();
    QLabel::mousePressEvent(event);
}

QPixmap drawBanner(QSize size, const QString& caption, int pixelSize) {
    QPixmap picture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, size.width(), size.height());
    fill.setColorAt(0, QColor(0xf7, 0xc6, 0xd9));
    fill.setColorAt(1, QColor(0xc0, 0x5a, 0x8b));
    painter.fillRect(picture.rect(), fill);
    QFont font = painter.font();
    font.setPixelSize(pixelSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(picture.rect(), Qt::AlignCenter, caption);
    return picture;
}

QIcon programIcon() { return QIcon(drawBanner(QSize(64, 64), QStringLiteral("沐"), 40)); }

void openMakersPage() { QDesktopServices::openUrl(QUrl(QStringLiteral("https://www.example.com/"))); }

}  // namespace ui
