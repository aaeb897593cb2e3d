#pragma once
// Building a window's form from its data: every control gets its form name, which is also its Qt
// object name, and its place. Every window builds its form with these, so forms look alike.

#include <QFont>
#include <QRect>
#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QWidget;

namespace ui {

template <typename Control>
Control* named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}
template <typename Control>
Control* named(Control* control, const QString& name, QRect place) {
    named(control, name)->setGeometry(place);
    return control;
}

constexpr Qt::Alignment kAlignLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kAlignRight = Qt::AlignRight | Qt::AlignVCenter;

QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, QRect place,
                 Qt::Alignment alignment = kAlignLeft);
QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, QRect place);
QLineEdit* addLineEdit(QWidget* parent, const QString& name, QRect place);
QComboBox* addComboBox(QWidget* parent, const QString& name, bool editable, QRect place);
QGroupBox* addGroupBox(QWidget* parent, const QString& name, const QString& caption, QRect place);

// A menu bar across the top of `form`, `height` pixels high.
QMenuBar* addMenuBar(QWidget* form, int height = 24);
// A pop-up menu that `owner` opens over one of its lists.
QMenu* addPopupMenu(QWidget* owner, const QString& name, const QString& caption);

// Stand-in for a form's font: the program's font at the form's character height.
void setFontHeight(QWidget* widget, int pixels, QFont::Weight weight = QFont::Normal);

}  // namespace ui
