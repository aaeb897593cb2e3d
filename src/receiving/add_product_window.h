#pragma once
// Picking products for the receipt being written: the product picker, a quantity, and 添加,
// which stores the line at once and adds it to the new receipt's running totals. It stays open
// for the next line.

#include "receiving/receipt_picker.h"
#include "session/shell.h"
#include "ui/hosted_window.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace receiving {

class NewReceiptWindow;

class AddProductWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    // `receipt` is the host, whose lines and totals each added line goes to.
    AddProductWindow(session::Shell& shell, NewReceiptWindow* receipt);
    ~AddProductWindow() override;

    // Every box lists the whole catalogue with nothing chosen; the quantity is emptied. False
    // when the catalogue could not be read, for the action that ran it to tell.
    bool resetAddProductWindow();
    void addReceiptLine();

    QComboBox* 组合框_编号;
    QComboBox* 组合框_条形码;
    QComboBox* 组合框_助记码;
    QComboBox* 组合框_款号;
    QComboBox* 组合框_品名;
    QComboBox* 组合框_品类;
    QComboBox* 组合框_杯型;
    QComboBox* 组合框_尺码;
    QComboBox* 组合框_颜色;
    QComboBox* 组合框_品牌;
    QLineEdit* 编辑框_数量;
    QPushButton* 按钮_重置;
    QPushButton* 按钮_添加;
    QPushButton* 按钮_退出;

private:
    void buildForm();
    void connectEvents();
    // Enter in a box: a value some product has narrows the picker; otherwise the catalogue is
    // offered.
    void checkTypedProductValue(ReceiptPicker::Box box, const char* question);
    void offerProductCatalogue(const char* question);
    void confirmExit();

    session::Shell& shell_;
    NewReceiptWindow* receipt_;
    std::unique_ptr<ReceiptPicker> picker_;
};

}  // namespace receiving
