#include "receiving/add_product_window.h"

#include "receiving/new_receipt_line.h"
#include "receiving/new_receipt_window.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace receiving {

namespace {

using Box = ReceiptPicker::Box;

// Two columns of caption-and-box rows; the barcode row spans both. The left boxes are wide
// enough for a whole proposed product code; the right ones hold short values.
enum Column { kLeft, kRight, kBoth };
constexpr int kRowTop = 14;
constexpr int kRowStep = 40;
constexpr int kRowHeight = 22;
constexpr int kRightCaptionLeft = 212;

QRect captionAt(Column column, int row) {
    return {column == kRight ? kRightCaptionLeft : 2, kRowTop + row * kRowStep,
            column == kRight ? 44 : 64, kRowHeight};
}
QRect boxAt(Column column, int row) {
    const int left = column == kRight ? kRightCaptionLeft + 46 : 68;
    const int right = column == kLeft ? kRightCaptionLeft - 2 : 332;
    return {left, kRowTop + row * kRowStep, right - left, kRowHeight};
}

}  // namespace

AddProductWindow::AddProductWindow(session::Shell& shell, NewReceiptWindow* receipt)
    : HostedWindow(receipt, QStringLiteral("添加商品入库"), QSize(340, 337)),
      shell_(shell),
      receipt_(receipt) {
    buildForm();
    picker_ = std::make_unique<ReceiptPicker>(
        shell_,
        ReceiptPicker::Boxes{组合框_编号, 组合框_助记码, 组合框_条形码, 组合框_款号, 组合框_品名,
                             组合框_品类, 组合框_杯型, 组合框_尺码, 组合框_颜色, 组合框_品牌},
        [this] { return resetAddProductWindow(); });
    connectEvents();
    shell_.tellUnlessRead(resetAddProductWindow());
    // Opened from 添加商品, the window takes the keyboard: a code is typed at once.
    组合框_编号->setFocus();
}

AddProductWindow::~AddProductWindow() = default;

void AddProductWindow::buildForm() {
    QWidget* form = body();
    struct Field {
        const char* name;
        const char* captionName;
        const char* caption;
        bool editable;
        Column column;
        int row;
        QComboBox** box;
    };
    const Field fields[] = {
        {"组合框_编号", "标签_编号", "商品编号：", true, kLeft, 0, &组合框_编号},
        {"组合框_杯型", "标签_杯型", "杯型：", false, kRight, 0, &组合框_杯型},
        {"组合框_条形码", "标签_条形码", "条形码：", true, kBoth, 1, &组合框_条形码},
        {"组合框_助记码", "标签_助记码", "助记码：", true, kLeft, 2, &组合框_助记码},
        {"组合框_尺码", "标签_尺码", "尺码：", false, kRight, 2, &组合框_尺码},
        {"组合框_款号", "标签_款号", "款号：", true, kLeft, 3, &组合框_款号},
        {"组合框_颜色", "标签_颜色", "颜色：", true, kRight, 3, &组合框_颜色},
        {"组合框_品名", "标签_品名", "品名：", true, kLeft, 4, &组合框_品名},
        {"组合框_品牌", "标签_品牌", "品牌：", false, kRight, 4, &组合框_品牌},
        {"组合框_品类", "标签_品类", "品类：", false, kLeft, 5, &组合框_品类},
    };
    for (const Field& field : fields) {
        ui::addLabel(form, field.captionName, QString::fromUtf8(field.caption),
                     captionAt(field.column, field.row), ui::kAlignRight);
        *field.box = ui::addComboBox(form, field.name, field.editable, boxAt(field.column, field.row));
    }
    ui::addLabel(form, "标签_数量", QStringLiteral("数量："), captionAt(kRight, 5), ui::kAlignRight);
    编辑框_数量 = ui::addLineEdit(form, "编辑框_数量", boxAt(kRight, 5));

    const int buttonsTop = form->height() - 46;
    按钮_重置 = ui::addButton(form, "按钮_重置", QStringLiteral("重置"), {28, buttonsTop, 80, 30});
    按钮_添加 = ui::addButton(form, "按钮_添加", QStringLiteral("添加"), {129, buttonsTop, 80, 30});
    按钮_退出 = ui::addButton(form, "按钮_退出", QStringLiteral("退出"), {230, buttonsTop, 80, 30});
}

void AddProductWindow::connectEvents() {
    connect(按钮_重置, &QPushButton::clicked, this,
            [this] { shell_.tellUnlessRead(resetAddProductWindow()); });
    connect(按钮_添加, &QPushButton::clicked, this, &AddProductWindow::addReceiptLine);
    connect(按钮_退出, &QPushButton::clicked, this, &AddProductWindow::confirmExit);

    const std::pair<QComboBox*, void (ReceiptPicker::*)()> codeBoxes[] = {
        {组合框_编号, &ReceiptPicker::lookupReceiptProductByCode},
        {组合框_助记码, &ReceiptPicker::lookupReceiptProductByMnemonic},
        {组合框_条形码, &ReceiptPicker::lookupReceiptProductByBarcode},
    };
    for (const auto& [box, lookup] : codeBoxes)
        connect(box, &QComboBox::activated, this, [this, lookup] { (picker_.get()->*lookup)(); });

    const std::tuple<QComboBox*, Box, const char*> typedBoxes[] = {
        {组合框_编号, ReceiptPicker::kCode, "你所输入的商品编码不存在！是否添加商品资料？"},
        {组合框_助记码, ReceiptPicker::kMnemonic, "你所输入的助记码不存在！是否添加商品资料？"},
        {组合框_条形码, ReceiptPicker::kBarcode, "你所输入的条形码不存在！是否添加商品资料？"},
        {组合框_款号, ReceiptPicker::kStyleNumber, "你所输入的款号不存在！是否添加商品资料？"},
        {组合框_品名, ReceiptPicker::kName, "你所输入的商品名称不存在！是否添加商品资料？"},
    };
    for (const auto& [box, which, question] : typedBoxes)
        ui::onEnter(box, [this, which, question] { checkTypedProductValue(which, question); });

    for (QComboBox* attribute :
         {组合框_款号, 组合框_品名, 组合框_品类, 组合框_杯型, 组合框_尺码, 组合框_颜色, 组合框_品牌})
        connect(attribute, &QComboBox::activated, this,
                [this] { picker_->refilterReceiptAttributes(); });
}

bool AddProductWindow::resetAddProductWindow() {
    const bool read = picker_->refillAll();
    编辑框_数量->clear();
    return read;
}

// A value that could not be looked up may well exist: adding it is not offered, and the boxes
// keep the typed text for another try.
void AddProductWindow::checkTypedProductValue(Box box, const char* question) {
    const std::optional<bool> exists = picker_->productHas(box);
    if (!exists) shell_.tellReadFailed();
    else if (*exists) picker_->refilterReceiptAttributes();
    else offerProductCatalogue(question);
}

// Yes leaves the boxes and the typed text as they are, for adding the product and coming back.
void AddProductWindow::offerProductCatalogue(const char* question) {
    if (shell_.showMessage(QString::fromUtf8(question), 0x44, ui::kStandardTitle) ==
        ui::Answer::Yes) {
        if (shell_.openProductCatalogue) shell_.openProductCatalogue();
        return;
    }
    shell_.tellUnlessRead(resetAddProductWindow());
}

void AddProductWindow::addReceiptLine() {
    ReceiptTotals totals = {receipt_->标签_总数->text(), receipt_->标签_吊总->text(),
                            receipt_->标签_进总->text()};
    const AddedLine added = receiving::addReceiptLine(
        shell_.db, shell_.clock,
        {receipt_->receiptNumber(), 组合框_编号->currentText(), 编辑框_数量->text(),
         receipt_->receiptNumberProposed()},
        totals);
    const LineProblem problem = added.problem;
    if (problem != LineProblem::None) {
        const Notice notice = noticeFor(problem);
        shell_.showMessage(notice.text, 0x40, notice.title);
        if (problem == LineProblem::UnknownProduct || problem == LineProblem::NotStored)
            shell_.tellUnlessRead(resetAddProductWindow());
        return;
    }
    receipt_->lineStoredUnder(added.receiptNumber);
    receipt_->标签_总数->setText(totals.pieces);
    receipt_->标签_吊总->setText(totals.tagPrice);
    receipt_->标签_进总->setText(totals.purchasePrice);
    const bool listed = receipt_->refreshNewReceiptLines();
    const bool reset = resetAddProductWindow();
    shell_.showMessage(QStringLiteral("执行添加成功！"), 0x40, ui::kStandardTitle);
    shell_.tellUnlessRead(listed && reset);
}

void AddProductWindow::confirmExit() {
    if (shell_.showMessage(QStringLiteral("是否退出？"), 0x44, ui::kRemindYouTitle) == ui::Answer::Yes)
        close();
}

}  // namespace receiving
