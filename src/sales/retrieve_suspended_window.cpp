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
    shell_.tellUnlessRead(fillSuspendedList());
}

bool RetrieveSuspendedWindow::fillSuspendedList() {
    const store::RecordSet headers = suspendedHeaders(shell_.db);
    超级列表框_取回挂起->setRows(headers, {"销售日期", "销售单号", "总件数", "销售总金额", "销售人员"});
    return !headers.failed();
}

void RetrieveSuspendedWindow::retrieve() {
    using Retrieval = SalesWindow::Retrieval;
    const int row = 超级列表框_取回挂起->selectedRow();
    const Retrieval retrieval =
        row < 0 ? Retrieval::NotSuspended
                : salesWindow_->loadRetrievedBill(超级列表框_取回挂起->cell(row, kBillNumberCell));
    if (retrieval == Retrieval::Loaded) {
        close();
        return;
    }
    // The list stays open, for another try once the file can be read.
    if (retrieval == Retrieval::Unread) return shell_.tellReadFailed();
    shell_.showMessage(QStringLiteral("请选择一张销售单或者退出！"), 0x40, ui::kStandardTitle);
    // A list left open goes stale: a bill paid or abandoned meanwhile must not come back.
    if (row >= 0) shell_.tellUnlessRead(fillSuspendedList());
}

}  // namespace sales
