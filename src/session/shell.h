#pragma once
// Program-wide state: the one database, the message service, the clock, the program folder, who
// is logged in, which navigation entry was asked for, and the main window that hosts the
// working windows. Every window gets the shell in its constructor.

#include "store/clock.h"
#include "store/database.h"
#include "store/table_rows.h"
#include "ui/messages.h"

#include <QString>
#include <functional>

class QWidget;

namespace session {

inline const QString kAdministrator = QStringLiteral("admin");

class Shell {
public:
    Shell(store::Database& db, ui::Messages& messages, const store::Clock& clock,
          QString programFolder)
        : db(db),
          messages(messages),
          clock(clock),
          programFolder(std::move(programFolder)),
          products(db, QStringLiteral("商品资料")) {}

    ui::Answer showMessage(const QString& text, int style, const QString& title) {
        return messages.show(text, style, title);
    }

    // One user action tells this once, however many of its reads failed.
    void tellReadFailed() { showMessage(ui::kReadFailedText, 0x40, ui::kStandardTitle); }
    void tellUnlessRead(bool read) {
        if (!read) tellReadFailed();
    }

    bool isLoggedIn() const { return !currentUser.isEmpty(); }
    // Exactly "admin": letter case and blanks count.
    bool isAdministrator() const { return currentUser == kAdministrator; }

    // Ends the program with exit code 0; start-up also reads `programEnded` before the event loop.
    void endProgram();

    store::Database& db;
    ui::Messages& messages;
    const store::Clock& clock;
    const QString programFolder;
    // The catalogue as every window lists it, read again only where it was written.
    store::TableRows products;

    QString currentUser;     // as typed at login; empty while nobody is logged in
    int requestedEntry = 0;  // the navigation entry double-clicked last, -1 for none
    QWidget* mainWindow = nullptr;
    QWidget* navigationPanel = nullptr;
    // Opens the product catalogue at the main window's top-left corner, showing the one already
    // loaded; the main window sets it, so that a feature window can offer the catalogue without
    // knowing it.
    std::function<void()> openProductCatalogue;
    bool programEnded = false;
};

}  // namespace session
