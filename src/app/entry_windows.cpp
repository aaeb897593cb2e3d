#include "app/entry_windows.h"

#include "app/help_window.h"
#include "app/login_window.h"
#include "masterdata/catalogue_window.h"
#include "masterdata/settings_window.h"
#include "receiving/receipt_list_window.h"
#include "reports/sales_statistics_window.h"
#include "reports/stock_query_window.h"
#include "sales/sales_window.h"
#include "ui/hosted_window.h"

namespace app {

namespace {

// A second opening of a window that is still loaded shows that one again at its placement.
template <typename Window>
void open(session::Shell& shell, ui::Placement placement) {
    ui::openOnce<Window>(shell.mainWindow, placement, shell);
}

}  // namespace

void openEntryWindow(session::Shell& shell, int entry) {
    switch (entry) {
    case kEntrySales: open<sales::SalesWindow>(shell, ui::Placement::Centred); break;
    case kEntryCatalogue: open<masterdata::CatalogueWindow>(shell, ui::Placement::TopLeft); break;
    case kEntryReceiving:
        open<receiving::ReceiptListWindow>(shell, ui::Placement::TopLeft);
        break;
    case kEntrySettings: open<masterdata::SettingsWindow>(shell, ui::Placement::Centred); break;
    case kEntryStatistics:
        open<reports::SalesStatisticsWindow>(shell, ui::Placement::Centred);
        break;
    case kEntryStockQuery: open<reports::StockQueryWindow>(shell, ui::Placement::Centred); break;
    case kEntryHelp: open<HelpWindow>(shell, ui::Placement::Centred); break;
    default:
        break;
    }
}

void openLoginWindow(session::Shell& shell) { open<LoginWindow>(shell, ui::Placement::Centred); }

}  // namespace app
