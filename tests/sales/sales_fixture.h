#pragma once
// The sales window on the test database, with a small catalogue and the steps a clerk takes.

#include "sales/bill.h"
#include "sales/retrieve_suspended_window.h"
#include "sales/sales_window.h"
#include "support/fixture.h"
#include "ui/list_view.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace test {

inline const QString kRemindYou = QStringLiteral("沐岚轩内衣ERP系统提醒你！");

struct Product {
    QString code, mnemonic, barcode, style, cup, size, colour, price;
    QString stock = "10";
};

// The product with its stock row, as the catalogue adds one.
inline bool insertProduct(store::Database& db, const Product& p) {
    return db.execute("insert into 商品资料(编号,助记码,条形码,款号,品名,杯型,尺码,颜色,吊牌价)"
                      "values(?,?,?,?,?,?,?,?,?)",
                      {p.code, p.mnemonic, p.barcode, p.style, "文胸", p.cup, p.size, p.colour,
                       p.price}) &&
           db.execute("insert into 库存表(商品编号,助记码,款号,期初库存,销售出库,实际库存)"
                      "values(?,?,?,?,?,?)",
                      {p.code, p.mnemonic, p.style, p.stock, "0", p.stock});
}

// sp1 and sp2 in two styles, priced 199 and 159.
inline bool insertTwoProducts(store::Database& db) {
    return insertProduct(db, {"sp1", "m1", "b1", "k1", "A", "75", "红", "199"}) &&
           insertProduct(db, {"sp2", "m2", "b2", "k2", "B", "80", "黑", "159"});
}

// The bill as a window that has just read it shows it.
inline sales::ShownBill shownAsStored(store::Database& db, const QString& bill) {
    return {bill, sales::readStoredBill(db, bill).value_or(sales::StoredBill()).lineRows};
}

// A checkout of the bill as it is stored, on its own total.
inline QString payAsStored(store::Database& db, const QString& bill) {
    return sales::payBill(db, shownAsStored(db, bill),
                          sales::makeBillTotal(db, bill).value_or(QString()));
}

class SalesTest : public ShopTest {
protected:
    SalesTest() {
        shell.currentUser = "张三";
        exec("update 系统设置 set 折扣=?,折扣原因=? where id='1'", {"不打折,9,8.5", "会员,促销"});
    }

    void addProduct(const Product& p) { ASSERT_TRUE(insertProduct(db, p)); }
    void addTwoProducts() { ASSERT_TRUE(insertTwoProducts(db)); }

    sales::SalesWindow* open() { return openWindow<sales::SalesWindow>(); }

    // Line ids and bill numbers are made from the clock: a second later, a new one.
    void tick() { clock.set(clock.now().addSecs(1)); }

    // A new window on no earlier sales, its bill holding sp1 x 1 and sp2 x 2.
    sales::SalesWindow* openWithTwoLines() {
        exec("delete from 销售模块");
        exec("delete from 销售管理总模块");
        sales::SalesWindow* w = open();
        addLine(w, "sp1", "1");
        addLine(w, "sp2", "2");
        return w;
    }

    void lookUpCode(sales::SalesWindow* w, const QString& code) {
        typeInto(w->组合框_编号, code);
        pressEnter(w->组合框_编号);
    }

    void addLine(sales::SalesWindow* w, const QString& code, const QString& quantity) {
        tick();
        lookUpCode(w, code);
        typeInto(w->编辑框_数量, quantity);
        click(w->按钮_加入);
    }

    // 挂起 answered Yes.
    void suspend(sales::SalesWindow* w) {
        messages.answer(ui::Answer::Yes);
        click(w->按钮_挂起);
    }

    // 取回挂起: the retrieve window it shows.
    sales::RetrieveSuspendedWindow* openRetrieve(sales::SalesWindow* w) {
        click(w->按钮_取回挂起);
        return w->findChild<sales::RetrieveSuspendedWindow*>();
    }

    static QStringList items(QComboBox* box) {
        QStringList result;
        for (int i = 0; i < box->count(); ++i) result << box->itemText(i);
        return result;
    }
};

}  // namespace test
