#include "receiving/review_window.h"

#include "receiving/receipt_list_window.h"
#include "receiving/stock_review.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/messages.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace receiving {

namespace {

const std::vector<ui::Column> kLineColumns = {{"商品编号", 120}, {"款号", 60}, {"数量", 40}};
const QStringList kLineSource = {"商品编号", "款号", "商品数量"};
const std::vector<ui::Column> kStockColumns = {
    {"商品编号", 120}, {"款号", 60}, {"期初库存", 60}, {"实际数量", 60}};
const QStringList kStockSource = {"商品编号", "款号", "期初库存", "实际库存"};

}  // namespace

ReviewWindow::ReviewWindow(session::Shell& shell, ReceiptListWindow* receiptList)
    : HostedWindow(receiptList, QStringLiteral("入库单审核与反审"), QSize(669, 429)),
      shell_(shell),
      receiptList_(receiptList) {
    setHidesOnLogout(true);
    buildForm();
    connect(按钮_审核, &QPushButton::clicked, this, &ReviewWindow::reviewReceipt);
    connect(按钮_反审, &QPushButton::clicked, this, &ReviewWindow::reverseReviewReceipt);
    connect(按钮_关闭, &QPushButton::clicked, this, &ReviewWindow::closeAndRefresh);
    shell_.tellUnlessRead(fillReviewWindow());
}

void ReviewWindow::buildForm() {
    QWidget* form = body();
    标签1 = ui::addLabel(form, "标签1", QStringLiteral("入库单号："), {10, 8, 70, 22}, ui::kAlignRight);
    标签_单号 = ui::addLabel(form, "标签_单号", {}, {84, 8, 300, 22});

    // The two lists side by side, the buttons in the gap between them.
    constexpr int kTop = 38;
    const int height = form->height() - kTop - 8;
    分组框1 = ui::addGroupBox(form, "分组框1", QStringLiteral("入库单"), {6, kTop, 240, height});
    分组框2 = ui::addGroupBox(form, "分组框2", QStringLiteral("库存表"),
                              {336, kTop, form->width() - 342, height});
    for (auto [group, list, name, columns] :
         {std::tuple{分组框1, &超级列表框_未入, "超级列表框_未入", &kLineColumns},
          std::tuple{分组框2, &超级列表框_入, "超级列表框_入", &kStockColumns}}) {
        *list = ui::named(new ui::ListView(group, *columns), name,
                          {4, 18, group->width() - 8, group->height() - 22});
    }
    const int middle = kTop + height / 2;
    按钮_审核 = ui::addButton(form, "按钮_审核", QStringLiteral("审核→"), {252, middle - 70, 78, 30});
    按钮_关闭 = ui::addButton(form, "按钮_关闭", QStringLiteral("关闭"), {252, middle - 15, 78, 30});
    按钮_反审 = ui::addButton(form, "按钮_反审", QStringLiteral("←反审"), {252, middle + 40, 78, 30});
}

QString ReviewWindow::receiptNumber() const { return 标签_单号->text(); }

bool ReviewWindow::fillReviewWindow() {
    标签_单号->setText(receiptList_->selectedReceiptCell(ReceiptListWindow::kReceiptNumberCell));
    const store::RecordSet lines =
        shell_.db.query("select * from 入库管理模块 where 入库单号 =?", {receiptNumber()});
    超级列表框_未入->setRows(lines, kLineSource);
    return fillStockList() && !lines.failed();
}

bool ReviewWindow::fillStockList() {
    const store::RecordSet stock =
        shell_.db.query("select * from 库存表 where 商品编号 in "
                        "(select 商品编号 from 入库管理模块 where 入库单号 =?)",
                        {receiptNumber()});
    超级列表框_入->updateRows(stock, kStockSource);
    return !stock.failed();
}

void ReviewWindow::allowOnly(ReviewMode mode) {
    按钮_审核->setEnabled(mode == ReviewMode::Review);
    按钮_反审->setEnabled(mode == ReviewMode::ReverseReview);
}

void ReviewWindow::reviewReceipt() { run(ReviewMode::Review); }
void ReviewWindow::reverseReviewReceipt() { run(ReviewMode::ReverseReview); }

void ReviewWindow::run(ReviewMode mode) {
    const bool review = mode == ReviewMode::Review;
    const QString question = review ? QStringLiteral("是否将入库单内容加入库存！")
                                    : QStringLiteral("是否将入库单内容从库存中减去！");
    if (shell_.showMessage(question, 0x24, ui::kStandardTitle) != ui::Answer::Yes) return;
    const Outcome outcome = reviewReceiptStock(shell_.db, receiptNumber(), mode);
    shell_.showMessage(outcome.message, 0x40, ui::kStandardTitle);
    if (!outcome.done) return;
    超级列表框_未入->deleteAllRows();
    const bool stockListed = fillStockList();
    (review ? 按钮_审核 : 按钮_反审)->setEnabled(false);
    shell_.tellUnlessRead(receiptList_->refillReceiptList() && stockListed);
}

void ReviewWindow::closeAndRefresh() {
    close();
    const bool listed = receiptList_->refillReceiptList();
    shell_.tellUnlessRead(receiptList_->showReceiptLines() && listed);
}

}  // namespace receiving
