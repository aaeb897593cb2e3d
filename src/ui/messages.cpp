#include "ui/messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

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

}  // namespace

Answer DialogMessages::show(const QString& text, int style, const QString& title) {
    const bool question = asksYesNo(style);
    QMessageBox box(iconOf(style), title.isEmpty() ? QStringLiteral(" ") : title, text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    if (question) {
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    } else {
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    }
    const int pressed = box.exec();
    if (!question) return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

}  // namespace ui
