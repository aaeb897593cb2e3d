#pragma once
// The navigation entries and the one place that opens their working windows in the main window.
// Both the navigation panel and the login's dispatch go through it; who may open what is theirs.

#include "session/shell.h"

namespace app {

enum NavigationEntry {
    kEntryLogin = 0,
    kEntrySales = 1,
    kEntryCatalogue = 2,
    kEntryReceiving = 3,
    kEntryStatistics = 4,
    kEntryStockQuery = 5,
    kEntrySettings = 6,
    kEntryHelp = 7,
};

// Opens the working window of the entry at its placement; entries without one do nothing.
void openEntryWindow(session::Shell& shell, int entry);

// The login window, centred in the main window; a second request shows the one already open.
void openLoginWindow(session::Shell& shell);

}  // namespace app
