// The real program in a real desktop session: an X server (Xvfb) with a window manager (openbox),
// driven by xdotool's keys and clicks as a user would. Offscreen, a window that opens has the
// keyboard by itself; under a window manager the keyboard stays with the window last clicked (the
// navigation panel, a window of its own) unless the program hands it over. Each road below is
// typed without a click between its steps, so what gets stored shows where the keyboard went
// after each action. Where no X server can start, the test is skipped.

#include "session/password_digest.h"
#include "store/database.h"
#include "store/schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPoint>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

constexpr int kTimeoutMs = 10000;
const QString kMainWindow = QStringLiteral("^沐岚轩内衣进销存软件V1\\.0内部测试版$");
const QString kPanel = QStringLiteral("^操作菜单$");
const QString kUntitledBox = QStringLiteral("^ $");
const QString kStandardBox = QStringLiteral("^沐岚轩内衣ERP系统提醒您！$");

// The navigation list's rows stand 44 pixels apart; the first one's middle is 26 pixels down.
enum Row { kSalesRow = 1, kCatalogueRow = 2, kReceivingRow = 3 };
QPoint middleOf(Row row) { return QPoint(90, 26 + 44 * row); }
// The receipt list's menu 商品入库, on its menu bar below its title bar, at the main window's
// top-left corner.
const QPoint kReceiptMenu(30, 39);

bool waitUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > kTimeoutMs) return false;
        QThread::msleep(30);
    }
    return true;
}

// An X server on a display number it picks itself, a window manager on it, and the programs
// started there; everything ends with the session.
class DesktopSession {
public:
    ~DesktopSession() {
        for (auto process = processes_.rbegin(); process != processes_.rend(); ++process) {
            (*process)->terminate();
            if (!(*process)->waitForFinished(3000)) (*process)->kill();
            (*process)->waitForFinished(3000);
        }
    }

    // Empty when the session runs; otherwise why it cannot.
    QString start() {
        for (const char* tool : {"Xvfb", "openbox", "xdotool"})
            if (QStandardPaths::findExecutable(QString::fromUtf8(tool)).isEmpty())
                return QStringLiteral("%1 is not installed").arg(QString::fromUtf8(tool));
        // -displayfd: the server takes a free display and writes its number once it is ready.
        QProcess* server = launch("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24",
                                           "-nolisten", "tcp"});
        waitUntil([&] {
            server->waitForReadyRead(30);
            return server->canReadLine() || server->state() == QProcess::NotRunning;
        });
        if (!server->canReadLine()) return QStringLiteral("Xvfb did not start");
        display_ = QStringLiteral(":") + QString::fromUtf8(server->readLine()).trimmed();
        launch("openbox", {});
        // The window manager is up once it announces its desktops.
        if (!waitUntil([&] { return run({"get_num_desktops"}).exitCode == 0; }))
            return QStringLiteral("the window manager did not start");
        return {};
    }

    QProcess* launch(const QString& program, const QStringList& arguments,
                     const QString& folder = {}) {
        auto& process = processes_.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(onDisplay());
        process->setWorkingDirectory(folder);
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(program, arguments);
        return process.get();
    }

    struct Result {
        int exitCode;
        QStringList lines;
    };
    Result run(const QStringList& arguments) {
        QProcess xdotool;
        xdotool.setProcessEnvironment(onDisplay());
        xdotool.start("xdotool", arguments);
        if (!xdotool.waitForFinished(5000)) return {-1, {}};
        return {xdotool.exitCode(),
                QString::fromUtf8(xdotool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)};
    }

    QStringList visibleWindows(const QString& title) {
        return run({"search", "--onlyvisible", "--name", title}).lines;
    }

    // Where the window of that title stands and how large it is; empty while none is shown.
    QString placeOf(const QString& title) {
        const QStringList window = visibleWindows(title);
        return window.isEmpty() ? QString()
                                : run({"getwindowgeometry", window.first()}).lines.join(u' ');
    }

    // True once the windows of those titles are all shown and stand where they stood at the look
    // before: a click made earlier may land where a window is only passing through.
    bool waitUntilStill(const QStringList& titles) {
        QStringList before;
        return waitUntil([&] {
            QStringList now;
            for (const QString& title : titles) now << placeOf(title);
            const bool still = !now.contains(QString()) && now == before;
            before = now;
            return still;
        });
    }

    // True once the navigation panel is shown and both windows stand still; a panel seen to move
    // after it was shown fails the test, as it would fail a user's double-click.
    bool waitForThePanelInPlace() {
        QString shownAt;
        if (!waitUntil([&] { return !(shownAt = placeOf(kPanel)).isEmpty(); })) return false;
        if (!waitUntilStill({kMainWindow, kPanel})) return false;
        EXPECT_EQ(placeOf(kPanel), shownAt) << "the panel moved after it was shown";
        return true;
    }

    // The window of that title once it has the keyboard; empty if it never gets it.
    QString waitForKeyboard(const QString& title) {
        QString active;
        const bool found = waitUntil([&] {
            const QStringList now = run({"getactivewindow"}).lines;
            active = now.isEmpty() ? QString() : now.first();
            return !active.isEmpty() && visibleWindows(title).contains(active);
        });
        return found ? active : QString();
    }

    void type(const QString& text) {
        if (!text.isEmpty()) run({"type", "--delay", "8", text});
    }
    void pressEnter() { run({"key", "Return"}); }
    void press(const QString& key, int times = 1) {
        for (int time = 0; time < times; ++time) run({"key", key});
    }
    // Each text typed into the box that has the keyboard, then Enter.
    void enterAll(const QStringList& texts) {
        for (const QString& text : texts) {
            type(text);
            pressEnter();
        }
    }

    // Answers the message box of that title with Enter once it has the keyboard; false when no
    // such box took the keyboard or it stayed open.
    bool answerBox(const QString& title) {
        const QString box = waitForKeyboard(title);
        if (box.isEmpty()) return false;
        pressEnter();
        return waitUntil([&] { return !visibleWindows(title).contains(box); });
    }

    // The user clicks into the navigation panel (so the keyboard is there) and double-clicks a row.
    void doubleClick(Row row) { clickIn(kPanel, middleOf(row), 2); }

    // Clicks at a point of the window of that title once it stands still; the window takes the
    // keyboard first, so what is typed next goes there.
    void clickIn(const QString& title, QPoint at, int times = 1) {
        ASSERT_TRUE(waitUntilStill({title})) << title.toStdString() << " never stood still";
        const QStringList window = visibleWindows(title);
        ASSERT_FALSE(window.isEmpty());
        ASSERT_EQ(run({"windowactivate", "--sync", window.first()}).exitCode, 0);
        run({"mousemove", "--window", window.first(), QString::number(at.x()),
             QString::number(at.y()), "click", "--repeat", QString::number(times), "--delay", "80",
             "1"});
    }

private:
    // The session's display, and the real windowing platform rather than the tests' offscreen one.
    QProcessEnvironment onDisplay() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", display_);
        environment.insert("QT_QPA_PLATFORM", "xcb");
        return environment;
    }

    QString display_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

}  // namespace

TEST(DesktopSession, TypingReachesTheFocusOfEachWindowThatOpens) {
    // The program's database lives beside it: a copy in a fresh folder starts with none.
    QTemporaryDir folder;
    DesktopSession session;  // ends the program before the folder goes
    if (const QString why = session.start(); !why.isEmpty())
        GTEST_SKIP() << "No X server for the desktop session test: " << why.toStdString();

    const QString program = folder.filePath("shop-erp");
    ASSERT_TRUE(QFile::copy(QStringLiteral(SHOP_ERP_PROGRAM), program));
    session.launch(program, {}, folder.path());

    // First start: the database is made at the keyboard's Yes, then the set-password window
    // takes the password typed at once.
    ASSERT_TRUE(session.answerBox(kUntitledBox)) << "是否创建数据库？ never took the keyboard";
    ASSERT_TRUE(session.answerBox(kUntitledBox)) << "创建完成！ never took the keyboard";
    ASSERT_FALSE(session.waitForKeyboard(kMainWindow).isEmpty());
    session.enterAll({"pw1", "pw1"});
    ASSERT_TRUE(session.waitForThePanelInPlace())
        << "the typed password was not stored: the navigation panel stays hidden";
    store::Database db;
    ASSERT_TRUE(db.open(store::databaseFilePath(folder.path()), store::kDatabaseUser,
                        store::kDatabasePassword));
    const auto firstRow = [&](const QString& sql, const QStringList& values = {}) {
        return db.query(sql, values).text(1);
    };

    // 商品资料 before anyone has logged in: the login comes first, user name and password with
    // Enter and no click, then the welcome and the catalogue itself (only admin reaches it).
    session.doubleClick(kCatalogueRow);
    ASSERT_FALSE(session.waitForKeyboard(kMainWindow).isEmpty()) << "the login window has no keyboard";
    session.enterAll({"admin", "pw1"});
    ASSERT_TRUE(session.answerBox("^提示$")) << "no welcome after the login";

    // The catalogue: the typing starts in the mnemonic code, the Enter chain ends on 添加, and
    // after the success the keyboard is back in the mnemonic code for the next product (once the
    // window manager has given it back to the main window from the closed message box).
    for (const QString& mnemonic : {QStringLiteral("zjm1"), QStringLiteral("zjm2")}) {
        ASSERT_FALSE(session.waitForKeyboard(kMainWindow).isEmpty())
            << "the catalogue has no keyboard for " << mnemonic.toStdString();
        session.enterAll({mnemonic, "", "k-" + mnemonic, "p1", "", "", "", "", "", "199", "", "5", ""});
        ASSERT_TRUE(session.answerBox(kStandardBox))
            << "商品资料添加成功！ never showed for " << mnemonic.toStdString();
    }
    const QString first = firstRow("select 编号 from 商品资料 where 助记码='zjm1' and 款号='k-zjm1'");
    const QString second = firstRow("select 编号 from 商品资料 where 助记码='zjm2' and 款号='k-zjm2'");
    ASSERT_FALSE(first.isEmpty() || second.isEmpty()) << "the typed products were not stored";

    // 店铺销售: two lines, each a product code, quantity, discount and subtotal with Enter, the
    // keyboard back in the product code after each; then Tab on to 收款 (fifteen controls on from
    // the product code), the amount with Enter, and the change, the checkout question, the ticket
    // question and the cheer answered with Enter.
    session.doubleClick(kSalesRow);
    ASSERT_FALSE(session.waitForKeyboard(kMainWindow).isEmpty()) << "the sales window has no keyboard";
    session.enterAll({first, "2", "", "", second, "1", "", ""});
    session.press("Tab", 15);
    session.enterAll({"600"});
    for (const char* box : {"应找零", "是否确认买单！", "是否打印小票！", "继续努力"})
        ASSERT_TRUE(session.answerBox(kStandardBox)) << box << " never showed";
    EXPECT_TRUE(waitUntil([&] {
        return firstRow("select group_concat(商品编号||'|'||数量||'|'||状态, ',') from "
                        "(select * from 销售模块 order by rowid)") ==
               first + "|2|已买单," + second + "|1|已买单";
    })) << "the two typed lines were not paid";

    // 商品入库, then 新增入库 from its menu: the new receipt's 添加商品 has the keyboard, Space
    // opens the add-product window, and the code typed at once lands in its 商品编号; Enter looks
    // it up, ten controls on the quantity is typed, and two more on Space on 添加 stores the line.
    session.doubleClick(kReceivingRow);
    ASSERT_FALSE(session.waitForKeyboard(kMainWindow).isEmpty()) << "the receipt list has no keyboard";
    session.clickIn(kMainWindow, kReceiptMenu);
    session.press("Down");
    session.press("Return");
    session.press("space");
    session.enterAll({second});
    session.press("Tab", 10);
    session.type("3");
    session.press("Tab", 2);
    session.press("space");
    ASSERT_TRUE(session.answerBox(kStandardBox)) << "执行添加成功！ never showed";
    EXPECT_EQ(firstRow("select 商品编号||'|'||商品数量 from 入库管理模块"), second + "|3");
}

// Under a clock stopped at one second (2:05:27, whose time stamp 2527 is also that of a bill paid
// at 2:52:07 that day), a checkout and then a second bill: each bill takes a number of its own,
// and the second bill's line stays its own through its checkout.
TEST(DesktopSession, UnderAStoppedClockEachBillKeepsItsOwnLines) {
    QTemporaryDir folder;
    DesktopSession session;
    if (const QString why = session.start(); !why.isEmpty())
        GTEST_SKIP() << "No X server for the desktop session test: " << why.toStdString();
    if (QStandardPaths::findExecutable("faketime").isEmpty())
        GTEST_SKIP() << "faketime is not installed";

    // The books as the shop left them: admin's password, two products, the bill paid at 2:52:07.
    store::Database db;
    const QString path = store::databaseFilePath(folder.path());
    ASSERT_EQ(store::createDatabase(db, path), "");
    ASSERT_TRUE(db.open(path, store::kDatabaseUser, store::kDatabasePassword));
    const auto exec = [&](const QString& sql, const QStringList& values) {
        ASSERT_TRUE(db.execute(sql, values)) << sql.toStdString();
    };
    exec("update 用户管理模块 set 密码=? where 用户名='admin'", {session::makePasswordDigest("pw1")});
    for (const QStringList& product : {QStringList{"sp1", "k1", "199"}, {"sp2", "k2", "59"}}) {
        exec("insert into 商品资料(编号,款号,品名,吊牌价)values(?,?,?,?)",
             {product[0], product[1], "文胸", product[2]});
        exec("insert into 库存表(商品编号,款号,期初库存,销售出库,实际库存)values(?,?,?,?,?)",
             {product[0], product[1], "10", "0", "10"});
    }
    exec("insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,款号,单价,小计,状态)"
         "values(?,?,?,?,?,?,?,?,?)",
         {"xsbh202612112527", "20261211", "xs202612112527", "sp1", "1", "k1", "199", "199", "已买单"});
    const auto rows = [&](const QString& sql) {
        QStringList result;
        for (store::RecordSet set = db.query(sql); !set.atEnd(); set.moveNext()) {
            QStringList cells;
            for (int column = 1; column <= int(set.columnCount()); ++column) cells << set.text(column);
            result << cells.join('|');
        }
        return result;
    };

    const QString program = folder.filePath("shop-erp");
    ASSERT_TRUE(QFile::copy(QStringLiteral(SHOP_ERP_PROGRAM), program));
    session.launch("faketime", {"--exclude-monotonic", "-f", "2026-12-11 02:05:27", program},
                   folder.path());
    ASSERT_TRUE(session.waitForThePanelInPlace()) << "the program did not start under faketime";

    // 店铺销售 asks for the login first, then opens with the keyboard in the product code.
    session.doubleClick(kSalesRow);
    ASSERT_FALSE(session.waitForKeyboard(kMainWindow).isEmpty()) << "the login window has no keyboard";
    session.enterAll({"admin", "pw1"});
    ASSERT_TRUE(session.answerBox("^提示$")) << "no welcome after the login";
    ASSERT_FALSE(session.waitForKeyboard(kMainWindow).isEmpty()) << "the sales window has no keyboard";

    // Inside the main window: the sales window's 收款 box and its product code box.
    const QPoint received(498, 439);
    const QPoint productCode(194, 214);
    const QString standardTitle = QStringLiteral("^沐岚轩内衣ERP系统提醒您！$");
    // A line of one piece typed in with Enter alone; true once the new bills' lines read `lines`.
    const QString billLines =
        "select 销售单号,商品编号,状态 from 销售模块 where 销售单号<>'xs202612112527'";
    const auto sell = [&](const QString& code, const QStringList& lines) {
        session.enterAll({code, "1", "", ""});
        return waitUntil([&] { return rows(billLines) == lines; });
    };
    // 收款 with Enter: the change, the checkout question (Yes), the ticket question and the cheer.
    const auto pay = [&](const QString& amount) {
        session.clickIn(kMainWindow, received);
        session.type(amount);
        session.pressEnter();
        for (int box = 0; box < 4; ++box)
            if (!session.answerBox(standardTitle)) return false;
        return true;
    };
    const QString stock = "select 商品编号,销售出库,实际库存 from 库存表";

    ASSERT_TRUE(sell("sp2", {"xs202612112527-2|sp2|未确认"}))
        << "the first bill took no line of its own: " << rows(billLines).join(", ").toStdString();
    ASSERT_TRUE(pay("300")) << "the checkout did not go through its four boxes";
    ASSERT_TRUE(waitUntil([&] { return rows(stock) == QStringList{"sp1|0|10", "sp2|1|9"}; }))
        << "the first checkout deducted " << rows(stock).join(", ").toStdString();

    // The next bill, in the same second: a number of its own, and its line alone on it.
    session.clickIn(kMainWindow, productCode);
    ASSERT_TRUE(sell("sp1", {"xs202612112527-2|sp2|已买单", "xs202612112527-3|sp1|未确认"}))
        << "the second bill's line: " << rows(billLines).join(", ").toStdString();
    ASSERT_TRUE(pay("199"));
    EXPECT_TRUE(waitUntil([&] { return rows(stock) == QStringList{"sp1|1|9", "sp2|1|9"}; }))
        << "the second checkout deducted " << rows(stock).join(", ").toStdString();
    EXPECT_EQ(rows(billLines),
              QStringList({"xs202612112527-2|sp2|已买单", "xs202612112527-3|sp1|已买单"}));
}
