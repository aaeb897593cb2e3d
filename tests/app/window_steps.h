#pragma once
// Steps through the receiving and catalogue windows, as the administrator takes them, for the
// tests that follow numbers from one window to another.

#include "masterdata/catalogue_window.h"
#include "receiving/add_product_window.h"
#include "receiving/new_receipt_window.h"
#include "support/fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace test {

// Through the add-product window, as the administrator adds a line.
inline void receive(receiving::NewReceiptWindow* r, const QString& code, const QString& quantity) {
    click(r->按钮_添加产品);
    auto* add = r->findChild<receiving::AddProductWindow*>();
    ASSERT_NE(add, nullptr);
    choose(add->组合框_编号, code);
    typeInto(add->编辑框_数量, quantity);
    click(add->按钮_添加);
}

// The required fields with a tag price of 99 and a stock of 5; the code as the box holds it.
inline void addInCatalogue(masterdata::CatalogueWindow* c, const QString& mnemonic) {
    typeInto(c->编辑框_助记码, mnemonic);
    typeInto(c->编辑框_款号, "k" + mnemonic);
    typeInto(c->编辑框_品名, "文胸");
    typeInto(c->编辑框_吊牌价, "99");
    typeInto(c->编辑框_库存, "5");
    click(c->按钮_添加);
}

}  // namespace test
