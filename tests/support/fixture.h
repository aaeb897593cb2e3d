#pragma once
// The shared test fixture: a temporary program folder with a real database file, scripted
// message boxes, a fixed clock, a shell, a shown main-window host, and helpers that act on
// controls as a user would.

#include "session/shell.h"
#include "store/clock.h"
#include "store/database.h"
#include "ui/hosted_window.h"
#include "ui/messages.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class QAbstractButton;
class QAction;
class QComboBox;
namespace ui { class ListView; }

namespace test {

struct Shown {
    QString text;
    int style;
    QString title;
    bool operator==(const Shown&) const = default;
};
void PrintTo(const Shown& shown, std::ostream* out);

// Records every message; answers questions from a script and fails the test on a question
// nobody scripted.
class ScriptedMessages : public ui::Messages {
public:
    ui::Answer show(const QString& text, int style, const QString& title) override;

    void answer(ui::Answer reply) { replies_.push_back(reply); }
    void answer(std::initializer_list<ui::Answer> replies) {
        replies_.insert(replies_.end(), replies);
    }
    size_t unusedReplies() const { return replies_.size(); }
    QStringList texts() const;
    void clear() { shown.clear(); }

    std::vector<Shown> shown;

private:
    std::deque<ui::Answer> replies_;
};

// 5 March 2024, 9:05:03: stamps 20240305 and 953.
QDateTime fixedMoment();

class ShopTest : public ::testing::Test {
protected:
    ShopTest();
    ~ShopTest() override;

    // Builds a working window (constructor Window(Shell&, QWidget* host, extra...)) and shows it
    // in the main-window host as the program would.
    template <typename Window, typename... Extra>
    Window* openWindow(ui::Placement placement = ui::Placement::Centred, Extra&&... extra) {
        auto* window = new Window(shell, mainWindow.get(), std::forward<Extra>(extra)...);
        ui::openHostedWindow(window, mainWindow.get(), placement);
        return window;
    }

    // Each row of the query as its cells joined with "|".
    QStringList rows(const QString& sql, const QStringList& values = {});
    // Runs a statement that must succeed.
    void exec(const QString& sql, const QStringList& values = {});

    QTemporaryDir folder;
    store::Database db;
    ScriptedMessages messages;
    store::FixedClock clock{fixedMoment()};
    session::Shell shell{db, messages, clock, folder.path()};
    std::unique_ptr<QWidget> mainWindow;
};

// As the user does it.
void typeInto(QWidget* box, const QString& text);  // replaces the box's text
void pressEnter(QWidget* control);
void click(QAbstractButton* button);
void choose(QComboBox* box, const QString& item);  // selects the item and raises `activated`
void selectRow(ui::ListView* list, int row);
QStringList items(QComboBox* box);  // the box's item texts, in order
void trigger(QAction* action);
QWidget* focused();

// Counts the shop's own tables, leaving out the day sums kept beside the sales lines.
inline const QString kCountShopTables =
    QStringLiteral("select count(*) from sqlite_master where type='table' and name not like '销售%汇总'");

// The file's permission bits, as `ls -l` shows them (0600: the owner may read and write).
int fileMode(const QString& path);

}  // namespace test
