#include "masterdata/catalogue_window.h"

#include "store/free_numbers.h"
#include "store/numbers.h"
#include "store/settings_lists.h"
#include "store/transaction.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <tuple>

namespace masterdata {

namespace {

const QString kRequiredTitle = QStringLiteral("*星号项为必填项");
constexpr int kNumberColumnLength = 100;  // 吊牌价, 进货价 and 库存
const QString kRequiredMessage = QStringLiteral("带*星号的必填项没有填写完整，请重新填写！");
const QString kAddFailed = QStringLiteral("商品资料添加失败！");

// The list's columns are the table's columns of the same name, in this order; the change and
// the deletion read a row's cells by these positions.
const QStringList kProductColumns = {"编号", "助记码", "条形码", "款号",  "品名",  "品类", "杯型",
                                     "尺码", "颜色",   "品牌供应商", "吊牌价", "进货价", "库存"};
const int kColumnWidths[] = {120, 50, 90, 60, 60, 60, 40, 40, 40, 80, 50, 50, 50};

// An item an attribute box took from a product being changed, not from its list.
constexpr int kExtraItemRole = Qt::UserRole + 1;

void dropExtraItem(QComboBox* box) {
    for (int i = box->count() - 1; i >= 0; --i)
        if (box->itemData(i, kExtraItemRole).toBool()) box->removeItem(i);
}

// Selects the item that reads `value`; a value the list lacks becomes the box's one extra item,
// so that storing the change keeps what the product had.
void showAttribute(QComboBox* box, const QString& value) {
    dropExtraItem(box);
    if (value.isEmpty()) {
        ui::setNoSelection(box);
        return;
    }
    int index = box->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        box->addItem(value);
        index = box->count() - 1;
        box->setItemData(index, true, kExtraItemRole);
    }
    box->setCurrentIndex(index);
}

// The field labels, named by their captions, in the form's 14-pixel font.
QLabel* addFieldLabel(QWidget* parent, const QString& caption, const QString& name, QRect place) {
    QLabel* label = ui::addLabel(parent, name, caption, place, ui::kAlignRight);
    ui::setFontHeight(label, 14);
    return label;
}

}  // namespace

CatalogueWindow::CatalogueWindow(session::Shell& shell, QWidget* host)
    : HostedWindow(host, QStringLiteral("商品资料(*星号为必填项)"), QSize(800, 540)),
      shell_(shell) {
    setHidesOnLogout(true);
    buildForm();
    buildMenus();
    connectEnterChain();

    connect(按钮_查询, &QPushButton::clicked, this, &CatalogueWindow::queryProductByCode);
    connect(按钮_添加, &QPushButton::clicked, this, &CatalogueWindow::addProduct);
    connect(按钮_删除, &QPushButton::clicked, this, &CatalogueWindow::deleteSelectedProduct);
    connect(按钮_确认修改, &QPushButton::clicked, this, &CatalogueWindow::confirmProductChange);
    connect(按钮_重置, &QPushButton::clicked, this, &CatalogueWindow::returnToEntryMode);

    // Created: the code is already proposed, so the typing starts at the mnemonic code.
    const bool listed = refreshProductList();
    shell_.tellUnlessRead(fillAttributeBoxes() && listed);
    编辑框_助记码->setFocus();
}

void CatalogueWindow::buildForm() {
    QWidget* form = body();
    auto edit = [&](const QString& name) { return ui::named(new QLineEdit(form), name); };
    auto combo = [&](const QString& name) { return ui::named(ui::makeComboBox(form, false), name); };
    编辑框_编号 = edit("编辑框_编号");
    编辑框_助记码 = edit("编辑框_助记码");
    编辑框_条形码 = edit("编辑框_条形码");
    编辑框_款号 = edit("编辑框_款号");
    编辑框_品名 = edit("编辑框_品名");
    组合框_品类 = combo("组合框_品类");
    组合框_杯型 = combo("组合框_杯型");
    组合框_尺码 = combo("组合框_尺码");
    编辑框_颜色 = edit("编辑框_颜色");
    组合框_品牌 = combo("组合框_品牌");
    编辑框_吊牌价 = edit("编辑框_吊牌价");
    编辑框_进货价 = edit("编辑框_进货价");
    编辑框_库存 = edit("编辑框_库存");

    // Rows one and two stand on a grid of five label-and-box columns; the first is wider for the
    // proposed product code.
    constexpr int kRowTop[] = {34, 66, 98};
    constexpr int kRowHeight = 24;
    struct Field {
        QString caption, labelName;
        QWidget* box;
    };
    const Field grid[2][5] = {
        {{"编号*", "编号", 编辑框_编号},
         {"助记码*", "助记码", 编辑框_助记码},
         {"条形码", "条形码", 编辑框_条形码},
         {"款号*", "款号", 编辑框_款号},
         {"品名*", "品名", 编辑框_品名}},
        {{"品    类", "品类", 组合框_品类},
         {"杯型", "杯型", 组合框_杯型},
         {"尺码", "尺码", 组合框_尺码},
         {"颜色", "颜色", 编辑框_颜色},
         {"品牌供应商", "品牌供应商", 组合框_品牌}}};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 5; ++column) {
            const Field& field = grid[row][column];
            const int top = kRowTop[row];
            const int left = column == 0 ? 8 : 186 + (column - 1) * 152;
            const int labelWidth = column == 0 ? 50 : 70;
            addFieldLabel(form, field.caption, field.labelName, QRect(left, top, labelWidth, kRowHeight));
            field.box->setGeometry(left + labelWidth + 2, top, column == 0 ? 118 : 78, kRowHeight);
        }
    }

    // Row three: the prices with their unit, the stock, then the buttons.
    const int top = kRowTop[2];
    addFieldLabel(form, "吊牌价", "吊牌价", QRect(8, top, 50, kRowHeight));
    编辑框_吊牌价->setGeometry(60, top, 70, kRowHeight);
    addFieldLabel(form, "（元）", "元", QRect(132, top, 44, kRowHeight));
    addFieldLabel(form, "进货价", "进货价", QRect(186, top, 64, kRowHeight));
    编辑框_进货价->setGeometry(252, top, 70, kRowHeight);
    addFieldLabel(form, "（元）", "元1", QRect(324, top, 44, kRowHeight));
    addFieldLabel(form, "库存*", "库存", QRect(372, top, 48, kRowHeight));
    编辑框_库存->setGeometry(422, top, 70, kRowHeight);

    // The edit-mode buttons stand over the places of the entry-mode ones.
    const int buttonsLeft = 566;
    按钮_查询 = ui::addButton(form, "按钮_查询", "查询", QRect(buttonsLeft, top - 1, 70, 26));
    按钮_添加 = ui::addButton(form, "按钮_添加", "添加", QRect(buttonsLeft + 76, top - 1, 70, 26));
    按钮_删除 = ui::addButton(form, "按钮_删除", "删除", QRect(buttonsLeft + 152, top - 1, 70, 26));
    按钮_确认修改 =
        ui::addButton(form, "按钮_确认修改", "确认修改", QRect(buttonsLeft, top - 1, 108, 26));
    按钮_重置 = ui::addButton(form, "按钮_重置", "返回", QRect(buttonsLeft + 114, top - 1, 108, 26));
    setEditMode(false);

    std::vector<ui::Column> columns;
    for (int i = 0; i < kProductColumns.size(); ++i)
        columns.push_back({kProductColumns[i], kColumnWidths[i]});
    超级列表框_商品资料 = ui::named(new ui::ListView(form, columns), "超级列表框_商品资料");
    const int listTop = top + kRowHeight + 10;
    超级列表框_商品资料->setGeometry(0, listTop, form->width(), form->height() - listTop);
}

void CatalogueWindow::buildMenus() {
    菜单栏 = ui::addMenuBar(body());
    QMenu* exitMenu = 菜单栏->addMenu(QStringLiteral("  退出  "));
    菜单项_退出商品资料管理 = exitMenu->addAction(QStringLiteral("退出商品资料管理"));
    connect(菜单项_退出商品资料管理, &QAction::triggered, this, &QWidget::close);

    菜单_删除商品 = ui::addPopupMenu(this, "菜单_删除商品", QStringLiteral("删除商品"));
    菜单项_删除 = 菜单_删除商品->addAction(QStringLiteral("删除"));
    菜单项_修改 = 菜单_删除商品->addAction(QStringLiteral("修改"));
    connect(菜单项_删除, &QAction::triggered, this, &CatalogueWindow::deleteSelectedProduct);
    connect(菜单项_修改, &QAction::triggered, this, &CatalogueWindow::editSelectedProduct);
    connect(超级列表框_商品资料, &ui::ListView::rightClicked, this, [this] {
        if (超级列表框_商品资料->selectedRow() != -1) ui::popUpAtMouse(菜单_删除商品);
    });
}

void CatalogueWindow::connectEnterChain() {
    const std::vector<QWidget*> chain = {
        编辑框_编号, 编辑框_助记码, 编辑框_条形码, 编辑框_款号,  编辑框_品名,
        组合框_品类, 组合框_杯型,   组合框_尺码,   编辑框_颜色,  组合框_品牌,
        编辑框_吊牌价, 编辑框_进货价, 编辑框_库存, 按钮_添加};
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        QWidget* next = chain[i + 1];
        ui::onEnter(chain[i], [next] { next->setFocus(); });
    }
    ui::onEnter(按钮_添加, [this] { addProduct(); });
}

void CatalogueWindow::setEditMode(bool editing) {
    按钮_添加->setVisible(!editing);
    按钮_查询->setVisible(!editing);
    按钮_删除->setVisible(!editing);
    按钮_确认修改->setVisible(editing);
    按钮_重置->setVisible(editing);
}

bool CatalogueWindow::refreshProductList() {
    const store::RecordSet products = shell_.products.rows();
    超级列表框_商品资料->setRows(products, kProductColumns);
    // Proposed free; the box is left empty when that cannot be read, for the user to type one.
    proposeCode(
        store::takeFreeNumber(shell_.db, shell_.clock, store::NumberKind::ProductCode).value_or(""));
    return !products.failed();
}

void CatalogueWindow::proposeCode(const QString& code) {
    proposedCode_ = code;
    编辑框_编号->setText(code);
}

bool CatalogueWindow::fillAttributeBoxes() {
    const bool brands = ui::fillCombo(组合框_品牌, store::loadBrandList(shell_.db));
    const bool cups = ui::fillCombo(组合框_杯型, store::loadCupList(shell_.db));
    const bool categories = ui::fillCombo(组合框_品类, store::loadCategoryList(shell_.db));
    const bool sizes = ui::fillCombo(组合框_尺码, store::loadSizeList(shell_.db));
    return brands && cups && categories && sizes;
}

void CatalogueWindow::clearEntryFields() {
    for (QLineEdit* edit : {编辑框_库存, 编辑框_助记码, 编辑框_颜色, 编辑框_品名, 编辑框_款号,
                            编辑框_进货价, 编辑框_吊牌价, 编辑框_条形码})
        edit->clear();
    for (QComboBox* box : {组合框_品牌, 组合框_尺码, 组合框_杯型, 组合框_品类}) {
        dropExtraItem(box);
        ui::setNoSelection(box);
    }
}

void CatalogueWindow::returnToEntryMode() {
    const bool listed = refreshProductList();
    shell_.tellUnlessRead(fillAttributeBoxes() && listed);
    clearEntryFields();
    编辑框_助记码->setFocus();
    setEditMode(false);
}

QStringList CatalogueWindow::productFields() const {
    return {编辑框_编号->text(),   编辑框_助记码->text(),   编辑框_条形码->text(),
            编辑框_款号->text(),   编辑框_品名->text(),     组合框_品类->currentText(),
            组合框_杯型->currentText(), 组合框_尺码->currentText(), 编辑框_颜色->text(),
            组合框_品牌->currentText(), 编辑框_吊牌价->text(), 编辑框_进货价->text(),
            编辑框_库存->text()};
}

// Prices and stock are computed with later: one that is no finite number, or whose number would
// not fit its column when written back, is refused now rather than at every later sale.
bool CatalogueWindow::numbersFit() const {
    for (const QLineEdit* edit : {编辑框_吊牌价, 编辑框_进货价, 编辑框_库存})
        if (!store::fitsAsNumber(edit->text(), kNumberColumnLength)) return false;
    return true;
}

bool CatalogueWindow::requiredFieldsFilled() const {
    for (const QLineEdit* edit : {编辑框_编号, 编辑框_库存, 编辑框_品名, 编辑框_款号, 编辑框_助记码})
        if (edit->text().isEmpty()) return false;
    return true;
}

// A refusal's message, and the box that takes the focus for the user to type again.
struct CatalogueWindow::Refusal {
    QString text;
    int style = 0x40;
    QString title = ui::kStandardTitle;
    QLineEdit* focus = nullptr;
};

// The checks and the inserts are one write transaction, so that no other program's add comes
// between a check and the insert it allowed. Success is told only once both rows are committed.
void CatalogueWindow::addProduct() {
    std::optional<Refusal> refusal;
    const bool stored = store::inTransaction(shell_.db, [&] {
        refusal = takenValueRefusal();
        if (!refusal) refusal = insertProduct();
        return !refusal;
    });
    if (!stored) {
        const Refusal told = refusal.value_or(Refusal{kAddFailed});
        shell_.showMessage(told.text, told.style, told.title);
        if (told.focus) told.focus->setFocus();
        return;
    }
    const bool listed = refreshProductList();
    clearEntryFields();
    shell_.showMessage(QStringLiteral("商品资料添加成功！"), 0x40, ui::kStandardTitle);
    shell_.tellUnlessRead(listed);
    // Ready for the next product, typed from the mnemonic code as when the window opened.
    编辑框_助记码->setFocus();
}

// The code first, then the mnemonic code, then the barcode: the first a stored product has. A
// proposed code is not the user's to retype: when another program has stored it meanwhile, the
// box shows a free one instead. An empty value is never taken: the barcode is optional, and an
// empty code or mnemonic code is refused as a missing required field.
std::optional<CatalogueWindow::Refusal> CatalogueWindow::takenValueRefusal() {
    store::Database& db = shell_.db;
    const Refusal failed{kAddFailed};
    const QString code = 编辑框_编号->text();
    if (!code.isEmpty() && code == proposedCode_) {
        const std::optional<QString> claimed =
            store::claimNumber(db, shell_.clock, store::NumberKind::ProductCode, code);
        if (!claimed) return failed;
        proposeCode(*claimed);
    } else if (!code.isEmpty()) {
        const store::RecordSet sameCode =
            db.query("select 编号 from 商品资料 where 编号 = ? limit 1", {code});
        if (sameCode.failed()) return failed;
        if (!sameCode.atEnd())
            return Refusal{QStringLiteral("你所填写商品编号已经存在，请重新输入！"), 0x10,
                           ui::kRemindYouTitle, 编辑框_编号};
    }
    const std::tuple<QLineEdit*, const char*, const char*> uniques[] = {
        {编辑框_助记码, "助记码", "你所填写助记码已经存在，请重新输入！"},
        {编辑框_条形码, "条形码", "你所填写条形码已经存在，请重新输入！"}};
    for (const auto& [edit, column, taken] : uniques) {
        const QString value = edit->text();
        const QString sql = QStringLiteral("select %1 from 商品资料 where %1 = ? limit 1");
        const store::RecordSet same = db.query(sql.arg(QString::fromUtf8(column)), {value});
        // A lookup that failed cannot tell a duplicate from a new value.
        if (same.failed()) return failed;
        // Byte for byte: a stored value that differs only in letter case is another value.
        if (!value.isEmpty() && same.text(1) == value)
            return Refusal{QString::fromUtf8(taken), 0x10, ui::kRemindYouTitle, edit};
    }
    return std::nullopt;
}

std::optional<CatalogueWindow::Refusal> CatalogueWindow::insertProduct() {
    if (!requiredFieldsFilled()) return Refusal{kRequiredMessage, 0x40, kRequiredTitle};
    store::Database& db = shell_.db;
    const QString stock = 编辑框_库存->text();
    // The product and its stock row go in together or not at all.
    if (numbersFit() &&
        db.execute("insert into 商品资料(编号,助记码,条形码,款号,品名,品类,杯型,尺码,颜色,"
                   "品牌供应商,吊牌价,进货价,库存)values(?,?,?,?,?,?,?,?,?,?,?,?,?)",
                   productFields()) &&
        db.execute(" insert into 库存表(商品编号,助记码,款号,期初库存,实际库存)values(?,?,?,?,?)",
                   {编辑框_编号->text(), 编辑框_助记码->text(), 编辑框_款号->text(), stock, stock}))
        return std::nullopt;
    return Refusal{kAddFailed};
}

void CatalogueWindow::queryProductByCode() {
    const QString code = 编辑框_编号->text();
    if (code.isEmpty()) return;
    if (shell_.showMessage(QStringLiteral("编号框内是否是你所要查询的编码！"), 0x64,
                           ui::kStandardTitle) != ui::Answer::Yes)
        return;
    // Only the first product with the code is shown, even when several share it.
    const store::RecordSet found =
        shell_.db.query("select * from 商品资料 where 编号 =? limit 1", {code});
    // The list keeps the products it showed: they still stand for the catalogue.
    if (found.failed()) return shell_.tellReadFailed();
    超级列表框_商品资料->setRows(found, kProductColumns);
    if (found.atEnd()) {
        shell_.showMessage(QStringLiteral("你所查找的商品编号不存在！"), 0x40, ui::kStandardTitle);
        编辑框_编号->setFocus();
    }
}

void CatalogueWindow::editSelectedProduct() {
    ui::ListView* list = 超级列表框_商品资料;
    const int row = list->selectedRow();
    if (row == -1) return;
    setEditMode(true);
    const std::pair<QLineEdit*, int> edits[] = {
        {编辑框_编号, 0}, {编辑框_助记码, 1}, {编辑框_条形码, 2},  {编辑框_款号, 3},  {编辑框_品名, 4},
        {编辑框_颜色, 8}, {编辑框_吊牌价, 10}, {编辑框_进货价, 11}, {编辑框_库存, 12}};
    for (const auto& [edit, column] : edits) edit->setText(list->cell(row, column));
    const std::pair<QComboBox*, int> boxes[] = {
        {组合框_品类, 5}, {组合框_杯型, 6}, {组合框_尺码, 7}, {组合框_品牌, 9}};
    for (const auto& [box, column] : boxes) showAttribute(box, list->cell(row, column));
}

void CatalogueWindow::confirmProductChange() {
    if (!requiredFieldsFilled()) {
        shell_.showMessage(kRequiredMessage, 0x40, kRequiredTitle);
        setEditMode(false);
        clearEntryFields();
        return;
    }
    if (shell_.showMessage(QStringLiteral("是否确认修改商品资料！是：修改！否：返回！"), 0x64,
                           ui::kStandardTitle) != ui::Answer::Yes)
        return;
    // Every product with the code in the box is changed; the code itself never is. A code that
    // no product has changes nothing, and that is no success.
    QStringList values = productFields().mid(1);
    values << 编辑框_编号->text();
    const bool stored = numbersFit() && shell_.db.execute(
                            "update 商品资料 set 助记码 =?,条形码=?,款号=?,品名=?,品类=?,杯型=?,"
                            "尺码=?,颜色=?,品牌供应商=?,吊牌价=?,进货价=?,库存=? where 编号=?",
                            values) &&
                        shell_.db.changedRows() > 0;
    if (stored) {
        const bool listed = refreshProductList();
        clearEntryFields();
        shell_.showMessage(QStringLiteral("商品资料修改成功！"), 0x40, ui::kStandardTitle);
        shell_.tellUnlessRead(listed);
    } else {
        shell_.showMessage(QStringLiteral("商品资料修改失败！"), 0x40, ui::kStandardTitle);
        setEditMode(false);
        clearEntryFields();
    }
}

void CatalogueWindow::deleteSelectedProduct() {
    const int row = 超级列表框_商品资料->selectedRow();
    if (row == -1) return;
    if (shell_.showMessage(QStringLiteral("是否删除该条商品资料？"), 0x24, QStringLiteral("警告")) !=
        ui::Answer::Yes)
        return;
    // Every product with the row's code goes; its stock row, receipt and bill lines stay.
    const QString code = 超级列表框_商品资料->cell(row, 0);
    if (shell_.db.execute("delete from 商品资料 where 编号=?", {code})) {
        const bool listed = refreshProductList();
        shell_.showMessage(QStringLiteral("删除商品资料成功！"), 0x40, ui::kStandardTitle);
        shell_.tellUnlessRead(listed);
    } else {
        shell_.showMessage(QStringLiteral("删除商品资料失败！"), 0x40, ui::kStandardTitle);
    }
}

}  // namespace masterdata
