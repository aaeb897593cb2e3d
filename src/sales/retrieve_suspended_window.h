#pragma once
// The retrieve-suspended window, hosted in the sales window: the suspended bills, one row per
// header, and 取回 to bring one back onto the sales window.

#include "session/shell.h"
#include "ui/hosted_window.h"

class QPushButton;
namespace ui { class ListView; }

namespace sales {

class SalesWindow;

class RetrieveSuspendedWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    RetrieveSuspendedWindow(session::Shell& shell, SalesWindow* salesWindow);

    // Lists every header still "挂起", in the order the database gives them; false, and the list
    // empty, when they could not be read.
    bool fillSuspendedList();
    // Brings the selected bill back and closes; refuses when none is selected, the bill is no
    // longer suspended or that could not be read.
    void retrieve();

    ui::ListView* 超级列表框_取回挂起;
    QPushButton* 按钮_取回;

private:
    session::Shell& shell_;
    SalesWindow* salesWindow_;
};

}  // namespace sales
