#include "bench.h"

#include "receiving/add_product_window.h"
#include "receiving/new_receipt_window.h"
#include "receiving/receipt_list_window.h"
#include "ui/controls.h"
#include "ui/hosted_window.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace bench {

namespace {

const QString kPickerColumns = QStringLiteral(
    "select 编号,助记码,条形码,款号,品名,品类,杯型,尺码,颜色,品牌供应商 from 商品资料");

void pressEnter(QWidget* control) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &press);
}

// The user's choice of an item: the box shows it and raises `activated`.
void choose(QComboBox* box, const QString& item) {
    box->setEditText(item);
    if (!box->isEditable()) box->setCurrentIndex(box->findText(item));
    emit box->activated(box->currentIndex());
}

}  // namespace

void benchAddProduct(Bench& bench) {
    auto* list = new receiving::ReceiptListWindow(bench.shell, bench.host.get());
    ui::openHostedWindow(list, bench.host.get(), ui::Placement::TopLeft);
    list->菜单项_新增入库->trigger();
    auto* receipt = list->findChild<receiving::NewReceiptWindow*>();

    bench.time("receiving: open the add-product window (with its reset)", [&] {
        auto* window = new receiving::AddProductWindow(bench.shell, receipt);
        ui::openHostedWindow(window, receipt, ui::Placement::Centred);
        delete window;
    }, kPickerColumns);

    receipt->按钮_添加产品->click();
    auto* w = receipt->findChild<receiving::AddProductWindow*>();
    bench.time("receiving: resetAddProductWindow", [&] { w->resetAddProductWindow(); },
               kPickerColumns);
    // A write to the catalogue (untimed) drops what the kept copy had worked out, the sorted
    // lists too.
    const auto writeCatalogue = [&] {
        bench.db.execute("update 商品资料 set 品名=品名 where 编号='sp4243'");
    };
    bench.time("receiving: resetAddProductWindow after a catalogue write",
               [&] { w->resetAddProductWindow(); }, kPickerColumns, 9, writeCatalogue);

    const std::tuple<const char*, QComboBox*, QString> lookups[] = {
        {"receiving: lookup by product code", w->组合框_编号, "sp4242"},
        {"receiving: lookup by mnemonic code", w->组合框_助记码, "m4242"},
        {"receiving: lookup by barcode", w->组合框_条形码, "b4242"}};
    for (const auto& [name, box, code] : lookups)
        bench.time(name, [&] { choose(box, code); });

    // Each filter step starts from its own choice alone; the lists stay as the last run left them.
    const auto chooseOnly = [&](QComboBox* chosen, const QString& item) {
        for (QComboBox* box : w->findChildren<QComboBox*>()) ui::setNoSelection(box);
        choose(chosen, item);
    };
    w->resetAddProductWindow();
    bench.time("receiving: Enter on a product name (1 product)", [&] {
        for (QComboBox* box : w->findChildren<QComboBox*>()) ui::setNoSelection(box);
        w->组合框_品名->setEditText("文胸4242");
        pressEnter(w->组合框_品名);
    }, kPickerColumns + " where 品名='文胸4242'");
    bench.time("receiving: filter, style number (100 products)",
               [&] { chooseOnly(w->组合框_款号, "k42"); }, kPickerColumns + " where 款号='k42'");
    w->resetAddProductWindow();
    bench.time("receiving: filter, colour (7 143 products)",
               [&] { chooseOnly(w->组合框_颜色, "色3"); }, kPickerColumns + " where 颜色='色3'");
    w->resetAddProductWindow();
    bench.time("receiving: filter, cup (12 500 products)",
               [&] { chooseOnly(w->组合框_杯型, "B"); }, kPickerColumns + " where 杯型='B'");
    w->resetAddProductWindow();
    bench.time("receiving: filter, category (all 50 000)",
               [&] { chooseOnly(w->组合框_品类, "文胸"); }, kPickerColumns + " where 品类='文胸'");
    bench.time("receiving: filter, category after a catalogue write",
               [&] { chooseOnly(w->组合框_品类, "文胸"); }, kPickerColumns + " where 品类='文胸'", 9,
               writeCatalogue);

    bench.time("receiving: add a line with its reset", [&] {
        w->组合框_编号->setEditText("sp4242");
        w->编辑框_数量->setText("2");
        w->按钮_添加->click();
    });
    delete list;
}

}  // namespace bench
