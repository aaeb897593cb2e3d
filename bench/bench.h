#pragma once
// `make bench`: a large shop in a temporary folder and the median times of the windows'
// operations, each beside the time SQLite itself needs for the same rows.

#include "session/shell.h"
#include "store/clock.h"
#include "store/database.h"
#include "ui/messages.h"

#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace bench {

// Answers every question with Yes and shows nothing.
class QuietMessages : public ui::Messages {
public:
    ui::Answer show(const QString&, int style, const QString&) override {
        return ui::asksYesNo(style) ? ui::Answer::Yes : ui::Answer::Ok;
    }
};

struct Sizes {
    int products = 50000;
    int billLines = 1000000;
    int receipts = 5000;
    int receiptLines = 50000;  // spread evenly over the receipts
};

class Bench {
public:
    Bench();
    ~Bench();

    // Products sp0..spN-1 (mnemonic mN, barcode bN, style kN % 500), their stock rows, bills of
    // 20 lines each spread over a year, and receipts of 10 lines each.
    void buildLargeShop(const Sizes& sizes = {});

    // Median of `runs` runs of `operation`; `raw`, when given, is SQLite's own time for the rows.
    // `before`, when given, runs ahead of each run and is not timed.
    void time(const QString& name, const std::function<void()>& operation,
              const QString& rawSql = {}, int runs = 9, const std::function<void()>& before = {});
    // The time of stepping through every row of `sql` with SQLite's C interface alone.
    double rawMilliseconds(const QString& sql, int runs = 9);
    // A line measured by the caller.
    void add(const QString& name, double median, double raw = -1);
    void report() const;

    QTemporaryDir folder;
    store::Database db;
    QuietMessages messages;
    store::Clock clock;
    session::Shell shell;
    std::unique_ptr<QWidget> host;  // stands in for the main window

private:
    struct Line {
        QString name;
        double median;
        double raw;  // < 0: none
    };
    std::vector<Line> lines_;
};

// Each module's operations.
void benchStore(Bench& bench);
void benchCatalogue(Bench& bench);
void benchSales(Bench& bench);
void benchReceiving(Bench& bench);
void benchReports(Bench& bench);
void benchReview(Bench& bench);
void benchAddProduct(Bench& bench);

}  // namespace bench
