#include "ui/controls.h"

#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace ui {

namespace {

class EnterFilter : public QObject {
public:
    EnterFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), action_(std::move(action)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        action_();
        return true;
    }

private:
    std::function<void()> action_;
};

}  // namespace

void onEnter(QWidget* control, std::function<void()> action) {
    control->installEventFilter(new EnterFilter(control, std::move(action)));
}

void setNoSelection(QComboBox* box) {
    box->setCurrentIndex(-1);
    if (box->isEditable()) box->clearEditText();
}

void fillCombo(QComboBox* box, const QStringList& items) {
    box->clear();
    box->addItems(items);
    setNoSelection(box);
}

bool fillCombo(QComboBox* box, const std::optional<QStringList>& items) {
    fillCombo(box, items.value_or(QStringList()));
    return items.has_value();
}

QComboBox* makeComboBox(QWidget* parent, bool editable) {
    auto* box = new QComboBox(parent);
    box->setEditable(editable);
    if (editable) {
        box->setInsertPolicy(QComboBox::NoInsert);
        // Inline completion would add to what the clerk typed, so a lookup would look for a
        // text nobody typed; it also walks every item on each key in a list of thousands.
        box->setCompleter(nullptr);
        // Qt takes a typed text that matches an item for a choice when the box gets Enter or
        // loses the keyboard, and raises activated: here only a pick from the list is a choice.
        QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    }
    box->setMaxVisibleItems(20);
    return box;
}

QLineEdit* makePasswordEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QDateEdit* makeDateBox(QWidget* parent, const QDate& today) {
    auto* box = new QDateEdit(today, parent);
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return box;
}

void popUpAtMouse(QMenu* menu) { menu->popup(QCursor::pos()); }

}  // namespace ui
