#pragma once
// The add-product window as the administrator reaches it: the receipt list in the main-window
// host, a new receipt in it, and the add-product window in that, over a small catalogue.

#include "receiving/add_product_window.h"
#include "receiving/new_receipt_window.h"
#include "receiving/receipt_list_window.h"
#include "support/fixture.h"
#include "ui/list_view.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace test {

inline const QString kRemindYou = QStringLiteral("沐岚轩内衣ERP系统提醒你！");

struct CatalogueProduct {
    QString code, mnemonic, barcode, style, name, category, cup, size, colour, brand, tagPrice,
        purchasePrice;
};

// Every box holding the one product's value, chosen ('' for an empty value), in the column order.
inline QStringList showing(const QStringList& values) {
    QStringList state;
    for (const QString& value : values)
        state << (value.isEmpty() ? QStringLiteral("''") : value) + " : " + value;
    return state;
}

class AddProductTest : public ShopTest {
protected:
    AddProductTest() { shell.currentUser = session::kAdministrator; }

    void addProduct(const CatalogueProduct& p) {
        exec("insert into 商品资料(编号,助记码,条形码,款号,品名,品类,杯型,尺码,颜色,品牌供应商,吊牌价,"
             "进货价,库存)values(?,?,?,?,?,?,?,?,?,?,?,?,?)",
             {p.code, p.mnemonic, p.barcode, p.style, p.name, p.category, p.cup, p.size, p.colour,
              p.brand, p.tagPrice, p.purchasePrice, "10"});
    }

    // sp4 and sp5 share their mnemonic code and an empty barcode, and have no cup.
    void addCatalogue() {
        addProduct({"sp1", "m1", "b1", "k1", "蕾丝", "文胸", "A", "70", "红", "爱慕", "59.9", "30"});
        addProduct({"sp2", "m2", "b2", "k1", "蕾丝", "文胸", "B", "75", "红", "爱慕", "99", "50"});
        addProduct({"sp3", "m3", "b3", "k2", "无痕", "文胸", "B", "75", "白", "曼妮芬", "129", "60"});
        addProduct({"sp4", "m4", "", "k3", "平角", "内裤", "", "M", "黑", "曼妮芬", "39", "15"});
        addProduct({"sp5", "m4", "", "k3", "平角", "内裤", "", "L", "黑", "曼妮芬", "45", "20"});
        addProduct({"sp6", "m6", "b6", "k1", "蕾丝", "文胸", "B", "80", "白", "曼妮芬", "99", "50"});
    }

    // 商品入库, 新增入库, 添加商品, as the administrator goes.
    receiving::AddProductWindow* open() {
        if (!receiptList)
            receiptList = openWindow<receiving::ReceiptListWindow>(ui::Placement::TopLeft);
        if (!receipt) {
            trigger(receiptList->菜单项_新增入库);
            receipt = receiptList->findChild<receiving::NewReceiptWindow*>();
        }
        click(receipt->按钮_添加产品);
        return receipt->findChild<receiving::AddProductWindow*>();
    }

    // Line ids are made from the clock: a second later, a new one.
    void tick() { clock.set(clock.now().addSecs(1)); }

    static QList<QComboBox*> boxes(receiving::AddProductWindow* w) {
        return {w->组合框_编号, w->组合框_助记码, w->组合框_条形码, w->组合框_款号, w->组合框_品名,
                w->组合框_品类, w->组合框_杯型,   w->组合框_尺码,   w->组合框_颜色, w->组合框_品牌};
    }

    // Each box's items (an empty item as '') and its text, in the column order.
    static QStringList picker(receiving::AddProductWindow* w) {
        QStringList state;
        for (QComboBox* box : boxes(w)) {
            QStringList items;
            for (int i = 0; i < box->count(); ++i)
                items << (box->itemText(i).isEmpty() ? QStringLiteral("''") : box->itemText(i));
            state << items.join(',') + " : " + box->currentText();
        }
        return state;
    }

    receiving::ReceiptListWindow* receiptList = nullptr;
    receiving::NewReceiptWindow* receipt = nullptr;
};

// The whole catalogue, nothing chosen.
inline const QStringList kFullPicker = {
    "sp1,sp2,sp3,sp4,sp5,sp6 : ", "m1,m2,m3,m4,m4,m6 : ", "b1,b2,b3,'','',b6 : ",
    "k1,k2,k3 : ",               "平角,无痕,蕾丝 : ",     "文胸,内裤 : ",
    "A,B,'' : ",                 "70,75,M,L,80 : ",       "红,白,黑 : ",
    "爱慕,曼妮芬 : "};
inline const QStringList kSp3 = {"sp3", "m3", "b3", "k2", "无痕", "文胸", "B", "75", "白", "曼妮芬"};

}  // namespace test
