#include "ui/messages.h"

#include "ui/hosted_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>

namespace ui {

namespace {

QMessageBox::Icon iconOf(int style) {
    switch (style & 0xF0) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    case 0x50: return QMessageBox::Critical;
    case 0x60: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

// Qt sizes a message box by its text and allows the title barely its own width, so a window
// manager's frame (icon, three buttons, a bold font) cuts a title longer than the text. A strut
// as wide as the title in bold plus that frame's furniture keeps the whole title in view.
void makeRoomForTitle(QMessageBox& box) {
    constexpr int kFrameFurniture = 140;
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kFrameFurniture;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

Answer DialogMessages::show(const QString& text, int style, const QString& title) {
    const bool question = asksYesNo(style);
    // The window the box covers takes the keyboard back when the box closes.
    const QPointer<QWidget> owner = QApplication::activeWindow();
    QMessageBox box(iconOf(style), title.isEmpty() ? QStringLiteral(" ") : title, text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    if (question) {
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    } else {
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    }
    makeRoomForTitle(box);
    const int pressed = box.exec();
    if (owner) takeKeyboard(owner);
    if (!question) return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

}  // namespace ui
