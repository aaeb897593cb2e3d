#include "sales/sales_window.h"

#include "sales/retrieve_suspended_window.h"
#include "store/free_numbers.h"
#include "store/settings_lists.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/messages.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace sales {

namespace {

// Cells of the bill list that the row actions read.
constexpr int kQuantityCell = 5;
constexpr int kProductCodeCell = 10;

// The line's columns behind the bill list's cells after 序号.
const char* const kBillListColumns[] = {"款号", "杯型", "尺码",   "颜色",     "数量",
                                        "单价", "折后价", "小计", "销售编号", "商品编号"};

const char* const kWeekdays[] = {"星期一", "星期二", "星期三", "星期四",
                                 "星期五", "星期六", "星期天"};


// The entry rows of 分组框1: a caption right-aligned before its box, a unit after some.
constexpr int kRowTop = 84;
constexpr int kRowStep = 25;
constexpr int kCaptionWidth = 72;
constexpr int kBoxLeft = 84;
constexpr int kBoxWidth = 188;
constexpr int kRowHeight = 22;

QRect captionAt(int row) { return {6, kRowTop + row * kRowStep, kCaptionWidth, kRowHeight}; }
QRect boxAt(int row, int width = kBoxWidth) {
    return {kBoxLeft, kRowTop + row * kRowStep, width, kRowHeight};
}
// A box followed by its unit "元".
QRect amountAt(int row) { return boxAt(row, kBoxWidth - 24); }
QRect unitAt(int row) {
    return {kBoxLeft + kBoxWidth - 20, kRowTop + row * kRowStep, 20, kRowHeight};
}

}  // namespace

SalesWindow::SalesWindow(session::Shell& shell, QWidget* host)
    : HostedWindow(host, QStringLiteral("销售窗口"), QSize(743, 512)), shell_(shell) {
    setHidesOnLogout(true);
    buildEntryGroup();
    buildBillGroup();
    buildSettlementGroup();
    picker_ = std::make_unique<SalesPicker>(
        shell_,
        SalesPicker::Controls{{组合框_编号, 组合框_助记码, 组合框_款号, 组合框_条形码, 组合框_杯型,
                               组合框_尺码, 组合框_颜色},
                              标签_单价,
                              编辑框_数量},
        [this] { return resetAndShowTotal(); });
    connectEvents();
    组合框_编号->setFocus();
    shell_.tellUnlessRead(setUpSalesWindow());
}

SalesWindow::~SalesWindow() = default;

void SalesWindow::buildEntryGroup() {
    分组框1 = ui::addGroupBox(body(), "分组框1", {}, {4, 2, 282, 478});
    QWidget* group = 分组框1;

    分组框4 = ui::addGroupBox(group, "分组框4", QStringLiteral("你好！"), {8, 8, 266, 68});
    标签_店员 = ui::addLabel(分组框4, "标签_店员", {}, {10, 20, 84, 20});
    QLabel* cheer = ui::addLabel(分组框4, "标签1", QStringLiteral("要加油哦！"), {96, 20, 160, 20});
    QLabel* today = ui::addLabel(分组框4, "标签2", QStringLiteral("今天是："), {10, 42, 68, 20});
    标签_时间 = ui::addLabel(分组框4, "标签_时间", {}, {76, 42, 186, 20});
    for (QLabel* greeting : {标签_店员, cheer, today, 标签_时间}) ui::setFontHeight(greeting, 16);

    struct Row {
        const char* captionName;
        const char* caption;
    };
    const Row rows[] = {
        {"标签_销售日期1", "销售单号："}, {"标签_销售日期", "销售日期："},
        {"标签_销售日期18", "商品编号："}, {"标签_销售日期2", "条形码："},
        {"标签_销售日期3", "助记码："},   {"标签_销售日期16", "款号："},
        {"标签_销售日期4", "杯型："},     {"标签_销售日期5", "尺码："},
        {"标签_销售日期6", "颜色："},     {"标签_销售日期7", "数量："},
        {"标签_销售日期9", "折扣："},     {"标签_销售日期10", "单价："},
        {"标签_销售日期11", "小计："},    {"标签_销售日期13", "折扣原因："},
    };
    for (int row = 0; row < int(std::size(rows)); ++row)
        ui::addLabel(group, rows[row].captionName, QString::fromUtf8(rows[row].caption),
                  captionAt(row), ui::kAlignRight);

    标签_销售单号 = ui::addLabel(group, "标签_销售单号", {}, boxAt(0));
    日期框1 = ui::named(ui::makeDateBox(group, shell_.clock.now().date()), "日期框1", boxAt(1));
    组合框_编号 = ui::addComboBox(group, "组合框_编号", true, boxAt(2));
    组合框_条形码 = ui::addComboBox(group, "组合框_条形码", true, boxAt(3));
    组合框_助记码 = ui::addComboBox(group, "组合框_助记码", true, boxAt(4));
    组合框_款号 = ui::addComboBox(group, "组合框_款号", true, boxAt(5));
    组合框_杯型 = ui::addComboBox(group, "组合框_杯型", false, boxAt(6));
    组合框_尺码 = ui::addComboBox(group, "组合框_尺码", false, boxAt(7));
    组合框_颜色 = ui::addComboBox(group, "组合框_颜色", false, boxAt(8));
    编辑框_数量 = ui::addLineEdit(group, "编辑框_数量", boxAt(9));
    组合框_折扣 = ui::addComboBox(group, "组合框_折扣", true, boxAt(10));
    标签_单价 = ui::addLabel(group, "标签_单价", {}, amountAt(11));
    ui::setFontHeight(标签_单价, 20, QFont::Black);
    ui::addLabel(group, "标签_销售日期14", QStringLiteral("元"), unitAt(11));
    编辑框_小计 = ui::addLineEdit(group, "编辑框_小计", amountAt(12));
    ui::addLabel(group, "标签_销售日期12", QStringLiteral("元"), unitAt(12));
    组合框_折扣原因 = ui::addComboBox(group, "组合框_折扣原因", true, boxAt(13));

    const int buttonsTop = kRowTop + 14 * kRowStep + 6;
    按钮_计算 = ui::addButton(group, "按钮_计算", QStringLiteral("计算"), {8, buttonsTop, 72, 28});
    按钮_重置 = ui::addButton(group, "按钮_重置", QStringLiteral("重置"), {86, buttonsTop, 72, 28});
    按钮_加入 =
        ui::addButton(group, "按钮_加入", QStringLiteral("加入销售单"), {164, buttonsTop, 108, 28});
    按钮_修改 = ui::addButton(group, "按钮_修改", QStringLiteral("修改"), 按钮_加入->geometry());
    按钮_修改->hide();
}

void SalesWindow::buildBillGroup() {
    分组框2 = ui::addGroupBox(body(), "分组框2", {}, {290, 2, 447, 304});
    超级列表框_销售单 = ui::named(new ui::ListView(分组框2, {{"序号", 40},
                                                         {"款号", 70},
                                                         {"杯型", 45},
                                                         {"尺码", 45},
                                                         {"颜色", 45},
                                                         {"数量", 45},
                                                         {"单价", 45},
                                                         {"折后价", 50},
                                                         {"小计", 50},
                                                         {"销售编号", 0},
                                                         {"商品编号", 0}}),
                             "超级列表框_销售单", {3, 18, 441, 282});
    菜单_编辑 = ui::addPopupMenu(this, "菜单_编辑", QStringLiteral("编辑"));
    菜单项_修改 = 菜单_编辑->addAction(QStringLiteral("修改"));
    菜单项_删除 = 菜单_编辑->addAction(QStringLiteral("删除"));
}

void SalesWindow::buildSettlementGroup() {
    分组框3 = ui::addGroupBox(body(), "分组框3", {}, {290, 308, 447, 172});
    QWidget* group = 分组框3;
    QList<QLabel*> large = {
        ui::addLabel(group, "标签_销售日期8", QStringLiteral("总金额："), {8, 10, 92, 32}, ui::kAlignRight),
        标签_总金额 = ui::addLabel(group, "标签_总金额", {}, {104, 10, 150, 32}),
        ui::addLabel(group, "标签_总金额1", QStringLiteral("元"), {256, 10, 28, 32}),
        ui::addLabel(group, "标签_销售日期17", QStringLiteral("收款："), {8, 48, 92, 32}, ui::kAlignRight),
        ui::addLabel(group, "标签_销售日期15", QStringLiteral("找零："), {8, 86, 92, 32}, ui::kAlignRight),
        标签_找零 = ui::addLabel(group, "标签_找零", {}, {104, 86, 150, 32}),
        ui::addLabel(group, "标签_总金额2", QStringLiteral("元"), {256, 86, 28, 32}),
    };
    for (QLabel* label : large) ui::setFontHeight(label, 21, QFont::DemiBold);
    编辑框_收款 = ui::addLineEdit(group, "编辑框_收款", {104, 51, 150, 26});
    按钮_找零 = ui::addButton(group, "按钮_找零", QStringLiteral("找零"), {290, 50, 80, 28});
    按钮_挂起 = ui::addButton(group, "按钮_挂起", QStringLiteral("挂起"), {8, 130, 90, 32});
    按钮_取回挂起 = ui::addButton(group, "按钮_取回挂起", QStringLiteral("取回挂起"), {106, 130, 90, 32});
    按钮_废弃 = ui::addButton(group, "按钮_废弃", QStringLiteral("废弃"), {204, 130, 90, 32});
    按钮_确认买单 = ui::addButton(group, "按钮_确认买单", QStringLiteral("确认买单"), {318, 130, 120, 32});
}

void SalesWindow::connectEvents() {
    connect(按钮_重置, &QPushButton::clicked, this, &SalesWindow::resetClicked);
    connect(超级列表框_销售单, &ui::ListView::rightClicked, this, [this] {
        if (超级列表框_销售单->rowCount() > 0) ui::popUpAtMouse(菜单_编辑);
    });
    connect(菜单项_修改, &QAction::triggered, this, &SalesWindow::enterChangeMode);
    connect(菜单项_删除, &QAction::triggered, this, &SalesWindow::deleteSelectedLine);

    connect(按钮_计算, &QPushButton::clicked, this, &SalesWindow::recomputeSubtotal);
    connect(编辑框_数量, &QLineEdit::textEdited, this, &SalesWindow::recomputeSubtotal);
    connect(组合框_折扣, &QComboBox::activated, this, &SalesWindow::recomputeSubtotal);
    ui::onEnter(编辑框_数量, [this] { 组合框_折扣->setFocus(); });
    ui::onEnter(组合框_折扣, [this] { 编辑框_小计->setFocus(); });
    ui::onEnter(编辑框_小计, [this] { addBillLine(); });
    connect(按钮_加入, &QPushButton::clicked, this, &SalesWindow::addBillLine);
    connect(按钮_修改, &QPushButton::clicked, this, &SalesWindow::storeChangedLine);

    connect(按钮_找零, &QPushButton::clicked, this, &SalesWindow::giveChange);
    ui::onEnter(编辑框_收款, [this] { giveChange(); });
    connect(按钮_确认买单, &QPushButton::clicked, this, &SalesWindow::checkOutBill);
    connect(按钮_挂起, &QPushButton::clicked, this, &SalesWindow::suspendBill);
    connect(按钮_取回挂起, &QPushButton::clicked, this, &SalesWindow::openRetrieveSuspended);
    connect(按钮_废弃, &QPushButton::clicked, this, &SalesWindow::abandonBill);

    const std::pair<QComboBox*, void (SalesPicker::*)()> codeBoxes[] = {
        {组合框_编号, &SalesPicker::lookupSalesProductByCode},
        {组合框_条形码, &SalesPicker::lookupSalesProductByBarcode},
        {组合框_助记码, &SalesPicker::lookupSalesProductByMnemonic},
    };
    for (const auto& [box, lookup] : codeBoxes) {
        const auto run = [this, lookup] { (picker_.get()->*lookup)(); };
        connect(box, &QComboBox::activated, this, run);
        ui::onEnter(box, run);
    }
    connect(组合框_款号, &QComboBox::activated, this, &SalesWindow::onSalesStyleNumberChosen);
    ui::onEnter(组合框_款号, [this] { onSalesStyleNumberChosen(); });
    for (QComboBox* attribute : {组合框_杯型, 组合框_尺码, 组合框_颜色})
        connect(attribute, &QComboBox::activated, this, &SalesWindow::onSalesAttributeChosen);
}

void SalesWindow::closeEvent(QCloseEvent* event) {
    const ui::Answer answer = shell_.showMessage(
        QStringLiteral("请保存销售数据，窗口关闭后数据无法恢复。你确认要关闭销售窗口吗？"), 0x24,
        ui::kStandardTitle);
    if (answer == ui::Answer::Yes) event->accept();
    else event->ignore();
}

void SalesWindow::tell(const QString& text, const QString& title) {
    shell_.showMessage(text, 0x40, title);
}

QString SalesWindow::billNumber() const { return 标签_销售单号->text(); }

ShownBill SalesWindow::shownBill() const { return {billNumber(), billLineRows_, !ownsBillNumber_}; }

bool SalesWindow::setUpSalesWindow() {
    const QDate today = shell_.clock.now().date();
    标签_店员->setText(shell_.currentUser);
    标签_时间->setText(QStringLiteral("%1年%2月%3日%4")
                           .arg(today.year())
                           .arg(today.month())
                           .arg(today.day())
                           .arg(QString::fromUtf8(kWeekdays[today.dayOfWeek() - 1])));
    startNewBillNumber();
    return resetSalesEntryFields();
}

// A proposal, free when taken and other than the number the window showed; the bill's first line
// makes sure of it. Without a number the window takes no line.
void SalesWindow::startNewBillNumber() {
    const std::optional<QString> number = store::takeFreeNumber(
        shell_.db, shell_.clock, store::NumberKind::BillNumber, {billNumber()});
    标签_销售单号->setText(number.value_or(QString()));
    billTotal_.clear();  // a number not in use has no lines
    ownsBillNumber_ = false;
    if (!number) tell(QStringLiteral("生成销售单号失败，请点废弃重新开单！"), ui::kStandardTitle);
}

bool SalesWindow::resetSalesEntryFields() {
    分组框2->setTitle(billNumber());
    for (QLineEdit* box : {编辑框_收款, 编辑框_数量, 编辑框_小计}) box->clear();
    for (QLabel* label : {标签_找零, 标签_单价, 标签_总金额}) label->clear();
    const bool discountsRead = ui::fillCombo(组合框_折扣, store::loadDiscountList(shell_.db));
    const bool reasonsRead = ui::fillCombo(组合框_折扣原因, store::loadDiscountReasonList(shell_.db));
    const bool productsRead = picker_->refillAll();
    return discountsRead && reasonsRead && productsRead;
}

// A proposed number's rows, if any, are another program's: the window's bill has none yet.
std::optional<StoredBill> SalesWindow::showBillTotal() {
    const std::optional<StoredBill> stored =
        ownsBillNumber_ ? readStoredBill(shell_.db, billNumber()) : std::optional(StoredBill());
    if (stored) billTotal_ = stored->total;
    标签_总金额->setText(billTotal_);
    return stored;
}

bool SalesWindow::refillOwnBill() {
    if (ownsBillNumber_) return refillBillList(billNumber());
    超级列表框_销售单->deleteAllRows();
    billLineRows_.clear();
    return true;
}

bool SalesWindow::resetAndShowTotal() {
    const bool reset = resetSalesEntryFields();
    return showBillTotal() && reset;
}

void SalesWindow::setChangeMode(bool changing) {
    按钮_修改->setVisible(changing);
    按钮_加入->setVisible(!changing);
}

void SalesWindow::resetClicked() {
    if (按钮_加入->isHidden()) setChangeMode(false);
    shell_.tellUnlessRead(resetAndShowTotal());
}

store::RecordSet SalesWindow::readBillLines(const QString& number) const {
    return shell_.db.query(
        QStringLiteral("select rowid as 行键, * from 销售模块 where 销售单号 =?"), {number});
}

bool SalesWindow::refillBillList(const QString& number) {
    const store::RecordSet lines = readBillLines(number);
    showBillLines(lines);
    return !lines.failed();
}

// A set that could not be read leaves the list empty.
void SalesWindow::showBillLines(const store::RecordSet& lines) {
    billLineRows_.clear();
    for (size_t row = 0; row < lines.rowCount(); ++row) billLineRows_.push_back(lines.cell(row, 0));
    std::vector<int> columns;
    for (const char* column : kBillListColumns) columns.push_back(lines.columnIndex(column));
    std::vector<QStringList> rows;
    for (size_t row = 0; row < lines.rowCount(); ++row) {
        QStringList cells = {QString::number(row + 1)};
        for (int column : columns) cells << (column < 0 ? QString() : lines.cell(row, column));
        rows.push_back(std::move(cells));
    }
    超级列表框_销售单->setRows(std::move(rows));
}

void SalesWindow::recomputeSubtotal() {
    编辑框_小计->setText(
        subtotalText(组合框_折扣->currentText(), 标签_单价->text(), 编辑框_数量->text()));
}

BillLine SalesWindow::enteredLine() const {
    return {日期框1->date(),
            组合框_编号->currentText(),
            编辑框_数量->text(),
            组合框_折扣->currentText(),
            编辑框_小计->text(),
            组合框_折扣原因->currentText(),
            组合框_款号->currentText(),
            组合框_杯型->currentText(),
            组合框_尺码->currentText(),
            组合框_颜色->currentText(),
            标签_单价->text(),
            shell_.currentUser};
}

void SalesWindow::addBillLine() {
    const AddedLine added = sales::addBillLine(shell_.db, shell_.clock, shownBill(), enteredLine());
    const LineProblem problem = added.problem;
    if (problem == LineProblem::None) {
        // The number may have moved on from the proposal; the reset shows it over the list too.
        标签_销售单号->setText(added.billNumber);
        ownsBillNumber_ = true;
        const bool listed = refillBillList(billNumber());
        // The next product's code is typed at once (a catalogue of one product is chosen again
        // by the reset, which takes the keyboard on to the quantity).
        组合框_编号->setFocus();
        shell_.tellUnlessRead(resetAndShowTotal() && listed);
        return;
    }
    const Notice notice = noticeFor(problem);
    tell(notice.text, notice.title);
    if (problem == LineProblem::BillChangedElsewhere) startNextBill();
    if (problem == LineProblem::UnknownProduct) shell_.tellUnlessRead(resetAndShowTotal());
}

// Without its product's price the change would store a subtotal of 0.
void SalesWindow::enterChangeMode() {
    const int row = 超级列表框_销售单->selectedRow();
    if (row < 0 || !picker_->lookUpLineProduct(超级列表框_销售单->cell(row, kProductCodeCell))) return;
    setChangeMode(true);
    编辑框_数量->setText(超级列表框_销售单->cell(超级列表框_销售单->selectedRow(), kQuantityCell));
    recomputeSubtotal();
}

void SalesWindow::storeChangedLine() {
    const int row = 超级列表框_销售单->selectedRow();
    if (row < 0) return;
    const LineChange change = {billLineRows_.at(row), 编辑框_数量->text(),
                               组合框_折扣->currentText(), 编辑框_小计->text(),
                               组合框_折扣原因->currentText(), 标签_单价->text()};
    if (const QString failure = changeBillLine(shell_.db, shownBill(), change); !failure.isEmpty()) {
        // The line to change is gone or paid; a failed write leaves it to try again.
        if (failure == kBillChangedElsewhere) setChangeMode(false);
        return tellBillWriteFailed(failure);
    }
    const bool listed = refillBillList(billNumber());
    const bool reset = resetAndShowTotal();
    setChangeMode(false);
    shell_.tellUnlessRead(listed && reset);
}

void SalesWindow::deleteSelectedLine() {
    const int row = 超级列表框_销售单->selectedRow();
    if (row < 0) return;
    const DeletedLine deleted = deleteBillLine(shell_.db, shownBill(), billLineRows_.at(row));
    if (!deleted.failure.isEmpty()) return tellBillWriteFailed(deleted.failure);
    // With nothing of the bill left, its number is free for another program to take.
    ownsBillNumber_ = ownsBillNumber_ && deleted.billLeft;
    const bool listed = refillOwnBill();
    shell_.tellUnlessRead(showBillTotal() && listed);
}

void SalesWindow::clearAmountsForNewChoice() {
    if (编辑框_小计->text().isEmpty()) return;
    编辑框_小计->clear();
    ui::setNoSelection(组合框_折扣);
    编辑框_数量->clear();
}

void SalesWindow::onSalesStyleNumberChosen() {
    clearAmountsForNewChoice();
    const std::optional<bool> exists = picker_->styleNumberExists();
    if (!exists) return shell_.tellReadFailed();
    if (!*exists) {
        tell(QStringLiteral("你输入的款号不存在，请重新输入！"), ui::kStandardTitle);
        return;
    }
    picker_->refilterSalesAttributes();
}

void SalesWindow::onSalesAttributeChosen() {
    clearAmountsForNewChoice();
    picker_->refilterSalesAttributes();
}

// Change is given, a bill paid or suspended, only against its total as read now: a total that
// could not be read must not stand in for it.
void SalesWindow::giveChange() {
    const std::optional<QString> total = payableTotal();
    if (!total) return;
    const std::optional<QString> change = changeFor(编辑框_收款->text(), *total);
    if (!change) {
        tell(QStringLiteral("你收的款不够！"), ui::kStandardTitle);
        return;
    }
    标签_找零->setText(*change);
    tell(QStringLiteral("应找零：") + 标签_找零->text() + QStringLiteral("元"), ui::kStandardTitle);
    settleBill(*total);
}

void SalesWindow::checkOutBill() {
    if (const std::optional<QString> total = payableTotal()) settleBill(*total);
}

std::optional<QString> SalesWindow::payableTotal() {
    const std::optional<StoredBill> stored = showBillTotal();
    if (!stored) {
        shell_.tellReadFailed();
        return std::nullopt;
    }
    if (!stored->isExactly(shownBill())) {
        showChangedBill();
        return std::nullopt;
    }
    return stored->total;
}

void SalesWindow::settleBill(const QString& total) {
    if (shell_.showMessage(QStringLiteral("是否确认买单！"), 0x24, ui::kStandardTitle) !=
        ui::Answer::Yes)
        return;
    // A bill with nothing stored has nothing to pay; rows under its number are another's.
    const QString failure = ownsBillNumber_ ? payBill(shell_.db, shownBill(), total) : QString();
    if (failure == kBillChangedElsewhere) return showChangedBill();
    if (!failure.isEmpty()) {
        tell(failure, ui::kStandardTitle);
        return;
    }
    // The ticket question is asked as the counter expects it; nothing is printed.
    shell_.showMessage(QStringLiteral("是否打印小票！"), 0x24, ui::kStandardTitle);
    组合框_编号->setFocus();  // the next customer's first code
    const bool setUp = setUpSalesWindow();
    const bool listed = refillOwnBill();
    shell_.showMessage(QStringLiteral("　　　　继续努力！加油！"), 0, ui::kStandardTitle);
    shell_.tellUnlessRead(setUp && listed);
}

void SalesWindow::showChangedBill() {
    tell(kBillChangedElsewhere, ui::kStandardTitle);
    const bool listed = refillBillList(billNumber());
    // A bill with no line left no longer holds its number.
    if (listed) ownsBillNumber_ = !billLineRows_.empty();
    shell_.tellUnlessRead(showBillTotal() && listed);
}

void SalesWindow::tellBillWriteFailed(const QString& failure) {
    tell(failure, ui::kStandardTitle);
    if (failure == kBillChangedElsewhere) startNextBill();
}

void SalesWindow::startNextBill() {
    组合框_编号->setFocus();  // the next customer's first code
    const bool setUp = setUpSalesWindow();
    shell_.tellUnlessRead(refillOwnBill() && setUp);
}

void SalesWindow::suspendBill() {
    if (超级列表框_销售单->rowCount() == 0) {
        tell(QStringLiteral("你还没有输入任何商品！"), ui::kStandardTitle);
        return;
    }
    const std::optional<StoredBill> stored = showBillTotal();
    if (!stored) return shell_.tellReadFailed();
    if (!stored->keeps(shownBill())) return tellBillWriteFailed(kBillChangedElsewhere);
    if (shell_.showMessage(QStringLiteral("是否挂起！"), 0x24, ui::kStandardTitle) !=
        ui::Answer::Yes)
        return;
    if (const QString failure = sales::suspendBill(shell_.db, shell_.clock, shownBill(),
                                                   日期框1->date(), shell_.currentUser);
        !failure.isEmpty())
        return tellBillWriteFailed(failure);
    组合框_编号->setFocus();  // the next customer's first code
    startNewBillNumber();
    refillOwnBill();
    shell_.tellUnlessRead(resetSalesEntryFields());
}

void SalesWindow::openRetrieveSuspended() {
    // Opened again while still loaded, it shows the bills suspended meanwhile.
    auto* window = findChild<RetrieveSuspendedWindow*>();
    if (window) shell_.tellUnlessRead(window->fillSuspendedList());
    else window = new RetrieveSuspendedWindow(shell_, this);
    ui::openHostedWindow(window, this, ui::Placement::Centred);
}

// Everything is read before the window changes, so a failed read leaves the bill shown whole.
SalesWindow::Retrieval SalesWindow::loadRetrievedBill(const QString& number) {
    const std::optional<bool> suspended = isSuspended(shell_.db, number);
    if (suspended == false) return Retrieval::NotSuspended;
    // Computed from the lines: a bill suspended more than once has several headers, and only the
    // last one's total is current.
    const std::optional<QString> total = makeBillTotal(shell_.db, number);
    const store::RecordSet lines = readBillLines(number);
    if (!suspended || !total || lines.failed()) return Retrieval::Unread;
    showBillLines(lines);
    标签_销售单号->setText(number);
    分组框2->setTitle(number);
    billTotal_ = *total;
    标签_总金额->setText(billTotal_);
    ownsBillNumber_ = true;
    return Retrieval::Loaded;
}

void SalesWindow::abandonBill() {
    if (shell_.showMessage(QStringLiteral("是否废弃这张销售单！"), 0x24, ui::kStandardTitle) !=
        ui::Answer::Yes)
        return;
    if (const QString failure = ownsBillNumber_ ? sales::abandonBill(shell_.db, shownBill()) : QString();
        !failure.isEmpty())
        return tellBillWriteFailed(failure);
    startNextBill();
}

}  // namespace sales
