#pragma once
// The control behaviour every window relies on, in one place.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QMenu;
class QWidget;

namespace ui {

// Runs `action` on Return or Enter in `control`, before the control sees the key.
void onEnter(QWidget* control, std::function<void()> action);

// Selection none: the text goes too, in editable boxes as well.
void setNoSelection(QComboBox* box);

// Empties the box and adds the items in one go, with no selection. Program-set items raise
// nothing: windows listen to QComboBox::activated, which only the user's choice raises.
void fillCombo(QComboBox* box, const QStringList& items);
// The same with a list that may not have been read: then the box is left empty, and false says so.
bool fillCombo(QComboBox* box, const std::optional<QStringList>& items);

QComboBox* makeComboBox(QWidget* parent, bool editable);
QLineEdit* makePasswordEdit(QWidget* parent);

// A date box that starts at today's date with a calendar pop-up.
QDateEdit* makeDateBox(QWidget* parent, const QDate& today);

// Shows a pop-up menu at the mouse.
void popUpAtMouse(QMenu* menu);

}  // namespace ui
