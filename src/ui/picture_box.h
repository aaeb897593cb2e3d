#pragma once
// A picture that answers the left mouse button.

#include <QLabel>

namespace ui {

class PictureBox : public QLabel {
    Q_OBJECT
public:
    PictureBox(QWidget* parent, const QPixmap& picture);

signals:
    void leftButtonDown();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The pictures the forms show, drawn here: a banner with a caption on a soft gradient.
QPixmap drawBanner(QSize size, const QString& caption, int pixelSize);
QIcon programIcon();

// The maker's web page, opened in the default browser by the link pictures.
void openMakersPage();

}  // namespace ui
