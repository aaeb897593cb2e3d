// A probe of every working window with hostile typing: each typed box of each window gets the
// same text, then every Enter, button and menu item of the window runs, with every question
// answered Yes in one round and No in the next. Nothing may crash or hang, the file stays whole,
// and a text is stored exactly as typed or not at all.

#include "app/entry_windows.h"
#include "receiving/receipt_list_window.h"
#include "sales/sales_fixture.h"
#include "support/fixture.h"
#include "ui/list_view.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSet>

namespace {

class AnsweringMessages : public ui::Messages {
public:
    ui::Answer show(const QString& text, int, const QString&) override {
        EXPECT_FALSE(text.isEmpty());
        return answer;
    }
    ui::Answer answer = ui::Answer::Yes;
};

struct Hostile {
    const char* name;
    QString text;
    bool checkStoredWhole;  // a text no column converts, so stored means stored as typed
};

std::vector<Hostile> hostileTexts() {
    return {
        {"quotes", "a'b\"c' or '1'='1", true},
        {"long", QString(100000, u'长'), true},
        {"control", QString("x") + QChar(0) + "y\t\n", true},
        {"emoji", QString::fromUtf8("👙🎀 内衣"), true},
        {"huge", "1e308", false},
        {"minus zero", "-0", false},
        {"not a number", "NaN", false},
        {"negative", "-5", false},
    };
}

void pressEnter(QLineEdit* box) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &press);
}

template <typename T>
QList<QPointer<T>> alive(QObject* root) {
    QList<QPointer<T>> found;
    for (T* object : root->findChildren<T*>()) found << object;
    return found;
}

}  // namespace

class HostileInputTest : public test::ShopTest {
protected:
    HostileInputTest() {
        sweepShell.mainWindow = mainWindow.get();
        sweepShell.currentUser = "admin";
        sweepShell.openProductCatalogue = [this] {
            app::openEntryWindow(sweepShell, app::kEntryCatalogue);
        };
        EXPECT_TRUE(test::insertTwoProducts(db));
        exec("update 系统设置 set 品牌管理=?,品类管理=?,杯型管理=?,尺码管理=?,折扣=?,折扣原因=?",
             {"爱慕", "文胸", "A,B", "75,80", "9", "会员"});
        exec("insert into 入库管理总模块(ID,入库单编号,商品总件数,状态)values('1','rk1','3','未入库')");
        exec("insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,款号,状态)"
             "values('1','rk1','sp1','3','k1','未入库')");
        exec("insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,小计,状态,销售人员)"
             "values('x1',20240305,'xs1','sp1',1,199,'已买单','admin')");
    }

    // Types `text` into every box of every open working window, chooses the first row of every
    // list and runs everything the window offers; the items that leave a window wait for the
    // last round, so the windows opened meanwhile are driven too.
    void actEverywhere(const QString& text, bool leaving) {
        const auto runs = [leaving](const QString& caption) {
            return leaving || !(caption.contains(u"退出") || caption.contains(u"关闭"));
        };
        for (const QPointer<ui::HostedWindow>& window : alive<ui::HostedWindow>(mainWindow.get())) {
            if (!window || !window->isVisible()) continue;
            visited << window->metaObject()->className();

            for (ui::ListView* list : window->findChildren<ui::ListView*>())
                if (list->rowCount() > 0) list->selectRow(0);
            for (const QPointer<QLineEdit>& box : alive<QLineEdit>(window))
                if (box && box->isVisible() && !box->isReadOnly()) box->setText(text);
            for (const QPointer<QLineEdit>& box : alive<QLineEdit>(window))
                if (box && box->isVisible()) pressEnter(box);
            for (const QPointer<QPushButton>& button : alive<QPushButton>(window))
                if (button && button->isVisible() && button->isEnabled() && runs(button->text()))
                    button->click();
            for (const QPointer<QMenu>& menu : alive<QMenu>(window))
                for (QAction* action : menu ? menu->actions() : QList<QAction*>())
                    if (menu && action->isEnabled() && !action->menu() && runs(action->text()))
                        action->trigger();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    void expectTheBooksWhole(const Hostile& hostile) {
        EXPECT_EQ(rows("PRAGMA integrity_check"), QStringList{"ok"});
        EXPECT_TRUE(db.begin()) << "a transaction was left open";
        db.rollback();
        // Every product added came with its stock row.
        EXPECT_EQ(rows("select count(*) from 商品资料 where 编号 not in (select 商品编号 from 库存表)"),
                  QStringList{"0"});
        if (!hostile.checkStoredWhole) return;
        const QString start = hostile.text.left(2);
        for (const QString& table : rows("select name from sqlite_master where type='table'"))
            for (const QString& column : rows("select name from pragma_table_info(?)", {table})) {
                const QString sql = QString("select count(*) from \"%1\" where substr(\"%2\",1,2)=? "
                                            "and \"%2\"<>?")
                                        .arg(table, column);
                EXPECT_EQ(rows(sql, {start, hostile.text}), QStringList{"0"})
                    << table.toStdString() << "." << column.toStdString() << " holds a cut text";
            }
    }

    QSet<QString> visited;
    AnsweringMessages answering;
    session::Shell sweepShell{db, answering, clock, folder.path()};
};

TEST_F(HostileInputTest, EveryWindowTakesHostileTypingWithoutHarm) {
    const int entries[] = {app::kEntryCatalogue, app::kEntryReceiving, app::kEntrySales,
                           app::kEntryStatistics, app::kEntryStockQuery, app::kEntrySettings};
    for (const Hostile& hostile : hostileTexts()) {
        for (ui::Answer answer : {ui::Answer::Yes, ui::Answer::No}) {
            SCOPED_TRACE(std::string(hostile.name) + (answer == ui::Answer::Yes ? " / Yes" : " / No"));
            answering.answer = answer;
            for (int entry : entries) app::openEntryWindow(sweepShell, entry);
            for (bool leaving : {false, false, false, true}) actEverywhere(hostile.text, leaving);
            expectTheBooksWhole(hostile);
            // Each text starts from closed windows, so none piles up from round to round.
            qDeleteAll(mainWindow->findChildren<ui::HostedWindow*>(Qt::FindDirectChildrenOnly));
            sweepShell.currentUser = "admin";  // a changed user list must not stop the next round
        }
    }
    // The probe reached every window, the ones opened from other windows included.
    for (const char* window :
         {"masterdata::CatalogueWindow", "masterdata::SettingsWindow", "masterdata::ChangePasswordWindow",
          "receiving::ReceiptListWindow", "receiving::NewReceiptWindow", "receiving::AddProductWindow",
          "receiving::ReviewWindow", "receiving::ReceiptQueryWindow", "sales::SalesWindow",
          "sales::RetrieveSuspendedWindow", "reports::SalesStatisticsWindow", "reports::StockQueryWindow"})
        EXPECT_TRUE(visited.contains(window)) << window;
}
