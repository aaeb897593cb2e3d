#include "sales/retrieve_suspended_window.h"

#include "sales/bill.h"
#include "sales/sales_window.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/messages.h"

#include <QPushButton>

namespace sales {

namespace {

constexpr int kBillNumberCell = 1;

}  // namespace

RetrieveSuspendedWindow::RetrieveSuspendedWindow(session::Shell& shell, SalesWindow* salesWindow)
    : HostedWindow(salesWindow, QStringLiteral("取回挂起"), QSize(383, 231)),
      shell_(shell),
      salesWindow_(salesWindow) {
    超级列表框_取回挂起 = ui::named(new ui::ListView(body(), {{"销售时间", 90},
                                                           {"销售单号", 120},
                                                           {"件数", 50},
                                                           {"金额", 50},
                                                           {"销售人员", 60}}),
                              "超级列表框_取回挂起", {4, 4, 373, 158});
    按钮_取回 = ui::addButton(body(), "按钮_取回", QStringLiteral("取回"), {286, 167, 90, 28});
    connect(按钮_取回, &QPushButton::clicked, this, &RetrieveSuspendedWindow::retrieve);
    connect(超级列表框_取回挂起, &ui::ListView::rowDoubleClicked, this,
            &RetrieveSuspendedWindow::retrieve);
    fillSuspendedList();
}

void RetrieveSuspendedWindow::fillSuspendedList() {
    超级列表框_取回挂起->setRows(suspendedHeaders(shell_.db),
                               {"销售日期", "销售单号", "总件数", "销售总金额", "销售人员"});
}

void RetrieveSuspendedWindow::retrieve() {
    const int row = 超级列表框_取回挂起->selectedRow();
    // A list left open goes stale: a bill paid or abandoned meanwhile must not come back.
    if (row < 0 || !salesWindow_->loadRetrievedBill(超级列表框_取回挂起->cell(row, kBillNumberCell))) {
        shell_.showMessage(QStringLiteral("请选择一张销售单或者退出！"), 0x40, ui::kStandardTitle);
        if (row >= 0) fillSuspendedList();
        return;
    }
    close();
}

}  // namespace sales
