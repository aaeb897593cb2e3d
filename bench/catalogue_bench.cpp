#include "bench.h"

#include "masterdata/catalogue_window.h"
#include "ui/list_view.h"

#include <QLineEdit>

namespace bench {

void benchCatalogue(Bench& bench) {
    const auto open = [&](session::Shell& shell) {
        auto* window = new masterdata::CatalogueWindow(shell, bench.host.get());
        ui::openHostedWindow(window, bench.host.get(), ui::Placement::TopLeft);
        delete window;
    };
    // The first opening after start-up reads the catalogue; later ones find it kept.
    bench.time("catalogue: open, reading the 50 000 products", [&] {
        session::Shell started(bench.db, bench.messages, bench.clock, bench.folder.path());
        open(started);
    }, "select * from 商品资料");
    bench.time("catalogue: open again (50 000 products kept)", [&] { open(bench.shell); },
               "select * from 商品资料");

    masterdata::CatalogueWindow window(bench.shell, bench.host.get());
    ui::openHostedWindow(&window, bench.host.get(), ui::Placement::TopLeft);
    ui::ListView* list = window.超级列表框_商品资料;
    int added = 0;
    bench.time("catalogue: add a product and refresh", [&] {
        const QString n = QString::number(added++);
        window.编辑框_助记码->setText("bench-m" + n);
        window.编辑框_条形码->setText("bench-b" + n);
        window.编辑框_款号->setText("k1");
        window.编辑框_品名->setText("文胸");
        window.编辑框_库存->setText("10");
        window.addProduct();
    });
    bench.time("catalogue: change a product and refresh", [&] {
        list->selectRow(0);
        window.editSelectedProduct();
        window.confirmProductChange();
    });
    // Takes the added products away again, the last one first.
    bench.time("catalogue: delete a product and refresh", [&] {
        list->selectRow(list->rowCount() - 1);
        window.deleteSelectedProduct();
    });
    bench.time("catalogue: query by product code", [&] {
        window.编辑框_编号->setText("sp42424");
        window.queryProductByCode();
    });
}

}  // namespace bench
