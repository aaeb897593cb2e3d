#pragma once
// Modal message boxes. Styles are the classic message-box bits: the low nibble picks the buttons
// (0 OK, 4 Yes and No), the next one the icon (0x10 stop, 0x20 question, 0x30 warning,
// 0x40 information; 0x50 and 0x60 mix two icon bits).

#include <QString>

namespace ui {

inline const QString kStandardTitle = QStringLiteral("沐岚轩内衣ERP系统提醒您！");
// The other title some notices carry: 你 where the standard one has 您.
inline const QString kRemindYouTitle = QStringLiteral("沐岚轩内衣ERP系统提醒你！");
// What every window says when the file could not be read, under the standard title (style 0x40):
// no answer then stands for "not found" or for an empty list.
inline const QString kReadFailedText = QStringLiteral("读取数据失败！");

enum class Answer { Ok, Yes, No };

inline bool asksYesNo(int style) { return (style & 0x0F) == 4; }

class Messages {
public:
    virtual ~Messages() = default;
    virtual Answer show(const QString& text, int style, const QString& title) = 0;
};

// The real service: a QMessageBox with the style's icon and buttons.
class DialogMessages : public Messages {
public:
    Answer show(const QString& text, int style, const QString& title) override;
};

}  // namespace ui
