#include "receiving/receipt_list_window.h"

#include "receiving/line_change_window.h"
#include "receiving/new_receipt_window.h"
#include "receiving/notices.h"
#include "receiving/receipt_header.h"
#include "receiving/receipt_query_window.h"
#include "receiving/receipt_status.h"
#include "receiving/review_window.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"

#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>

namespace receiving {

namespace {

// The receipt list's columns and the header columns that fill them, in order.
const std::vector<ui::Column> kReceiptColumns = {
    {"入库单编号", 100}, {"总件数", 50, ui::kAlignRight},   {"款式数量", 60, ui::kAlignRight},
    {"款号", 225, ui::kAlignRight},  {"吊牌总计", 60, ui::kAlignRight}, {"进货总计", 60},
    {"入库人员", 60},    {"入库时间", 60, ui::kAlignRight}, {"状态", 60},
    {"备注", 40}};
const QStringList kReceiptSource = {"入库单编号", "商品总件数",   "款式数量", "款号",
                                    "吊牌价总金额", "进货价总金额", "入库人员", "入库时间",
                                    "状态",       "备注"};

// The line list's columns and the line columns that fill them; 入库编号 is hidden but read.
const std::vector<ui::Column> kLineColumns = {
    {"入库单编号", 100}, {"商品编号", 100}, {"商品数量", 90, ui::kAlignRight}, {"助记码", 90},
    {"款号", 80},       {"品名", 80},      {"杯型", 50},     {"尺码", 50},
    {"颜色", 50},       {"状态", 80},      {"入库编号", 0}};
const QStringList kLineSource = {"入库单号", "商品编号", "商品数量", "助记码", "款号",    "品名",
                                 "杯型",     "尺码",     "颜色",     "状态",   "入库编号"};

}  // namespace

ReceiptListWindow::ReceiptListWindow(session::Shell& shell, QWidget* host)
    : HostedWindow(host, QStringLiteral("商品入库"), QSize(800, 540)),
      shell_(shell),
      headers_(shell.db, QStringLiteral("入库管理总模块")) {
    setHidesOnLogout(true);
    buildForm();
    buildMenus();
    connect(超级列表框_入库单列表, &ui::ListView::selectedRowChanged, this,
            [this] { shell_.tellUnlessRead(showReceiptLines()); });
    shell_.tellUnlessRead(refillReceiptList());
}

void ReceiptListWindow::buildForm() {
    QWidget* form = body();
    constexpr int kMenuHeight = 24;
    const int half = (form->height() - kMenuHeight) / 2;
    分组框_入库单列表 = ui::addGroupBox(form, "分组框_入库单列表", QStringLiteral("入库单列表"),
                                       {4, kMenuHeight + 2, form->width() - 8, half - 4});
    分组框_入库单详情 =
        ui::addGroupBox(form, "分组框_入库单详情", QStringLiteral("入库单详情"),
                        {4, kMenuHeight + half, form->width() - 8, form->height() - kMenuHeight - half - 4});
    for (auto [group, list, name, columns] :
         {std::tuple{分组框_入库单列表, &超级列表框_入库单列表, "超级列表框_入库单列表", &kReceiptColumns},
          std::tuple{分组框_入库单详情, &超级列表框_入库单详情, "超级列表框_入库单详情", &kLineColumns}}) {
        *list = ui::named(new ui::ListView(group, *columns), name,
                          {4, 18, group->width() - 8, group->height() - 22});
    }
}

void ReceiptListWindow::buildMenus() {
    菜单栏 = ui::addMenuBar(body());
    QMenu* receipt = 菜单栏->addMenu(QStringLiteral("商品入库  "));
    菜单项_新增入库 = receipt->addAction(QStringLiteral("新增入库"));
    菜单项_审核入库单 = receipt->addAction(QStringLiteral("审核入库单"));
    菜单项_反审入库单 = receipt->addAction(QStringLiteral("反审入库单"));
    QMenu* edit = 菜单栏->addMenu(QStringLiteral("  编辑  "));
    菜单项_查询入库单 = edit->addAction(QStringLiteral("查询入库单"));
    菜单项_修改入库单 = edit->addAction(QStringLiteral("修改入库单"));
    菜单项_删除入库单 = edit->addAction(QStringLiteral("删除入库单"));
    QMenu* leave = 菜单栏->addMenu(QStringLiteral("  退出    "));
    菜单项_退出商品入库 = leave->addAction(QStringLiteral("退出商品入库"));
    QMenu* refresh = 菜单栏->addMenu(QStringLiteral("刷新"));
    菜单项_刷新入库单列表 = refresh->addAction(QStringLiteral("刷新入库单列表"));

    菜单_修改商品库存 =
        ui::addPopupMenu(this, "菜单_修改商品库存", QStringLiteral("修改商品库存    "));
    菜单项_修改 = 菜单_修改商品库存->addAction(QStringLiteral("  修改"));

    connect(菜单项_新增入库, &QAction::triggered, this, &ReceiptListWindow::openNewReceiptWindow);
    connect(菜单项_审核入库单, &QAction::triggered, this, [this] { reviewChosen(ReviewMode::Review); });
    connect(菜单项_反审入库单, &QAction::triggered, this,
            [this] { reviewChosen(ReviewMode::ReverseReview); });
    connect(菜单项_查询入库单, &QAction::triggered, this, &ReceiptListWindow::openQueryWindow);
    connect(菜单项_修改入库单, &QAction::triggered, this, &ReceiptListWindow::explainReceiptChange);
    connect(菜单项_删除入库单, &QAction::triggered, this, &ReceiptListWindow::deleteReceipt);
    connect(菜单项_退出商品入库, &QAction::triggered, this, &QWidget::close);
    connect(菜单项_刷新入库单列表, &QAction::triggered, this,
            [this] { shell_.tellUnlessRead(refillReceiptList()); });
    connect(超级列表框_入库单详情, &ui::ListView::rightClicked, this,
            [this] { ui::popUpAtMouse(菜单_修改商品库存); });
    connect(菜单项_修改, &QAction::triggered, this, &ReceiptListWindow::changeLineChosen);
}

bool ReceiptListWindow::refillReceiptList() {
    const store::RecordSet headers = headers_.rows();
    超级列表框_入库单列表->updateRows(headers, kReceiptSource);
    return !headers.failed();
}

void ReceiptListWindow::showReceipts(const store::RecordSet& headers) {
    超级列表框_入库单列表->setRows(headers, kReceiptSource);
}

bool ReceiptListWindow::showReceiptLines() {
    lines_ = shell_.db.query("select rowid as 行键, * from 入库管理模块 where 入库单号 =?",
                             {selectedReceiptCell(kReceiptNumberCell)});
    超级列表框_入库单详情->setRows(lines_, kLineSource);
    return !lines_.failed();
}

QString ReceiptListWindow::selectedReceiptCell(ReceiptCell cell) const {
    return 超级列表框_入库单列表->cell(超级列表框_入库单列表->selectedRow(), cell);
}

QString ReceiptListWindow::selectedLineCell(LineCell cell) const {
    return 超级列表框_入库单详情->cell(超级列表框_入库单详情->selectedRow(), cell);
}

QString ReceiptListWindow::selectedLineKey() const {
    const int row = 超级列表框_入库单详情->selectedRow();
    if (row < 0 || size_t(row) >= lines_.rowCount()) return {};
    return lines_.cell(row, 0);
}

void ReceiptListWindow::openNewReceiptWindow() {
    ui::openOnce<NewReceiptWindow>(this, ui::Placement::Fixed, shell_);
}

void ReceiptListWindow::openQueryWindow() {
    ui::openOnce<ReceiptQueryWindow>(this, ui::Placement::Centred, shell_);
}

// The guards read the list's cells; the review itself tests the stored status again.
void ReceiptListWindow::reviewChosen(ReviewMode mode) {
    if (selectedReceiptCell(kReceiptNumberCell).isEmpty()) {
        notify(shell_, QStringLiteral("你还没有选择入库单！"));
        return;
    }
    const QString status = selectedReceiptCell(kReceiptStatusCell);
    if (mode == ReviewMode::Review && isInStock(status)) {
        notify(shell_, QStringLiteral("此张入库单已经入库，请勿重复操作！"));
        return;
    }
    if (mode == ReviewMode::ReverseReview && isNotInStock(status)) {
        notify(shell_, QStringLiteral("此张入库单还没有入库入库，不需要反审！"));
        return;
    }
    openReviewWindow(mode);
}

void ReceiptListWindow::explainReceiptChange() {
    notify(shell_, QStringLiteral("入库单的修改步骤如下：先在下方入库单列表单击你需要修改的入库单-"
                                  "然后在最下方入库单详情右键单击选择你需要修改的商品，点击修改按钮！"));
}

// Header and lines go together or not at all; stock keeps what a review brought in.
void ReceiptListWindow::deleteReceipt() {
    const QString status = selectedReceiptCell(kReceiptStatusCell);
    QString question;
    if (isInStock(status))
        question = QStringLiteral(
            "这张入库单已经入库，你确定要删除么，删除后将不可反审也不可恢复！");
    else if (isNotInStock(status))
        question = QStringLiteral("这张入库单还没有入库，你确定要删除么，删除后将不可恢复！");
    else
        return;
    if (shell_.showMessage(question, 0x34, ui::kStandardTitle) != ui::Answer::Yes) return;
    if (!deleteReceiptWithLines(shell_.db, selectedReceiptCell(kReceiptNumberCell))) {
        notify(shell_, QStringLiteral("删除失败！"));
        return;
    }
    notify(shell_, QStringLiteral("入库单已经删除！"));
    shell_.tellUnlessRead(refillReceiptList());
    lines_ = {};
    超级列表框_入库单详情->deleteAllRows();
}

void ReceiptListWindow::changeLineChosen() {
    if (!isNotInStock(selectedLineCell(kLineStatusCell))) {
        notify(shell_,
               QStringLiteral("你所需要修改的商品库存已经通过审核入库，需反审后才能修改！"));
        return;
    }
    openLineChangeWindow();
}

// One review window per receipt: choosing the receipt again shows its open window, refilled,
// with the chosen item's button usable.
void ReceiptListWindow::openReviewWindow(ReviewMode mode) {
    const QString receipt = selectedReceiptCell(kReceiptNumberCell);
    ReviewWindow* window = nullptr;
    for (ReviewWindow* open : findChildren<ReviewWindow*>(Qt::FindDirectChildrenOnly))
        if (open->receiptNumber() == receipt) window = open;
    if (window) shell_.tellUnlessRead(window->fillReviewWindow());
    else window = new ReviewWindow(shell_, this);
    ui::openHostedWindow(window, this, ui::Placement::Centred);
    window->allowOnly(mode);
}

void ReceiptListWindow::openLineChangeWindow() {
    ui::openHostedWindow(new LineChangeWindow(shell_, this), this, ui::Placement::Centred);
}

}  // namespace receiving
