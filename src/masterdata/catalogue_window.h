#pragma once
// The product catalogue: every product in a list, a form for one product, adding a product with
// its stock row, the query by product code, and the change and deletion of listed products.

#include "session/shell.h"
#include "ui/hosted_window.h"

#include <optional>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
namespace ui { class ListView; }

namespace masterdata {

class CatalogueWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    CatalogueWindow(session::Shell& shell, QWidget* host);

    // These two give false when the file could not be read: the list or the boxes are then
    // empty, and the action that ran them tells it.
    bool refreshProductList();
    bool fillAttributeBoxes();
    void clearEntryFields();

    void addProduct();
    void queryProductByCode();
    void editSelectedProduct();
    void confirmProductChange();
    void deleteSelectedProduct();

    // The form's controls, in the order of the Enter chain.
    QLineEdit* 编辑框_编号;
    QLineEdit* 编辑框_助记码;
    QLineEdit* 编辑框_条形码;
    QLineEdit* 编辑框_款号;
    QLineEdit* 编辑框_品名;
    QComboBox* 组合框_品类;
    QComboBox* 组合框_杯型;
    QComboBox* 组合框_尺码;
    QLineEdit* 编辑框_颜色;
    QComboBox* 组合框_品牌;
    QLineEdit* 编辑框_吊牌价;
    QLineEdit* 编辑框_进货价;
    QLineEdit* 编辑框_库存;

    QPushButton* 按钮_查询;
    QPushButton* 按钮_添加;
    QPushButton* 按钮_删除;
    QPushButton* 按钮_确认修改;
    QPushButton* 按钮_重置;  // caption 返回

    ui::ListView* 超级列表框_商品资料;

    QMenuBar* 菜单栏;
    QAction* 菜单项_退出商品资料管理;
    QMenu* 菜单_删除商品;  // the list's pop-up menu
    QAction* 菜单项_删除;
    QAction* 菜单项_修改;

private:
    void buildForm();
    void buildMenus();
    void connectEnterChain();
    struct Refusal;
    // The refusal of a code, mnemonic code or barcode a stored product has.
    std::optional<Refusal> takenValueRefusal();
    // The required-field test and the two inserts.
    std::optional<Refusal> insertProduct();
    // A code for the next product, shown in 编辑框_编号 until the user types another.
    void proposeCode(const QString& code);
    void returnToEntryMode();
    void setEditMode(bool editing);
    bool requiredFieldsFilled() const;
    bool numbersFit() const;
    // The product row as the form holds it, in the columns' order.
    QStringList productFields() const;

    session::Shell& shell_;
    QString proposedCode_;
};

}  // namespace masterdata
