#include "bench.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bench::Bench bench;
    bench.buildLargeShop();
    bench::benchStore(bench);
    bench::benchCatalogue(bench);
    bench::benchSales(bench);
    bench::benchReceiving(bench);
    bench::benchAddProduct(bench);
    bench::benchReview(bench);
    bench::benchReports(bench);
    bench.report();
    return 0;
}
