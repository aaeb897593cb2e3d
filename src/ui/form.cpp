#include "ui/form.h"

#include "ui/controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace ui {

QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, QRect place,
                 Qt::Alignment alignment) {
    auto* label = named(new QLabel(caption, parent), name, place);
    label->setAlignment(alignment);
    return label;
}

QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, QRect place) {
    auto* button = named(new QPushButton(caption, parent), name, place);
    // Enter belongs to the windows' own Enter chains, never to a default button.
    button->setAutoDefault(false);
    return button;
}

QLineEdit* addLineEdit(QWidget* parent, const QString& name, QRect place) {
    return named(new QLineEdit(parent), name, place);
}

QComboBox* addComboBox(QWidget* parent, const QString& name, bool editable, QRect place) {
    return named(makeComboBox(parent, editable), name, place);
}

QGroupBox* addGroupBox(QWidget* parent, const QString& name, const QString& caption, QRect place) {
    return named(new QGroupBox(caption, parent), name, place);
}

QMenuBar* addMenuBar(QWidget* form, int height) {
    return named(new QMenuBar(form), "菜单栏", QRect(0, 0, form->width(), height));
}

QMenu* addPopupMenu(QWidget* owner, const QString& name, const QString& caption) {
    return named(new QMenu(caption, owner), name);
}

void setFontHeight(QWidget* widget, int pixels, QFont::Weight weight) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    font.setWeight(weight);
    widget->setFont(font);
}

}  // namespace ui
