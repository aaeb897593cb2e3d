// Two programs on one file, as two counters on a shared file or the program started twice: each
// with its own connection, messages, shell and windows, both reading one stopped clock, so that
// every number either takes is made in the same second. Each keeps its own bill, receipt and
// product code, and a checkout pays its own bill alone.

#include "app/window_steps.h"
#include "receiving/receipt_list_window.h"
#include "receiving/stock_review.h"
#include "sales/sales_fixture.h"
#include "store/schema.h"

#include <QAction>
#include <QCoreApplication>

using masterdata::CatalogueWindow;
using receiving::NewReceiptWindow;
using sales::SalesWindow;
using test::addInCatalogue;
using test::click;
using test::receive;
using test::typeInto;
using ui::Answer;

namespace {

// The other program: its own connection to the test's file, its messages, its shell and the
// host of its windows.
struct OtherProgram {
    OtherProgram(const QString& folder, const store::Clock& clock)
        : shell(db, messages, clock, folder) {
        if (!db.open(store::databaseFilePath(folder), store::kDatabaseUser, store::kDatabasePassword))
            ADD_FAILURE() << "second connection: " << db.lastError().toStdString();
        host.resize(800, 570);
        host.show();
        shell.mainWindow = &host;
        shell.currentUser = "李四";
    }
    ~OtherProgram() { EXPECT_EQ(messages.unusedReplies(), 0u) << "scripted answers left unused"; }

    store::Database db;
    test::ScriptedMessages messages;
    session::Shell shell;
    QWidget host;  // declared last, so its windows go before the shell they use
};

// What a window needs of the program it runs in.
struct Program {
    session::Shell& shell;
    test::ScriptedMessages& messages;
    QWidget* host;
};

}  // namespace

class TwoProgramsTest : public test::SalesTest {
protected:
    TwoProgramsTest() { addTwoProducts(); }

    template <typename Window>
    Window* openIn(Program& program, ui::Placement placement = ui::Placement::Centred) {
        auto* window = new Window(program.shell, program.host);
        ui::openHostedWindow(window, program.host, placement);
        return window;
    }

    static QString billOf(SalesWindow* w) { return w->标签_销售单号->text(); }
    void sell(SalesWindow* w, const QString& code) {
        lookUpCode(w, code);
        typeInto(w->编辑框_数量, "1");
        click(w->按钮_加入);
    }
    // 收款 with Enter, the checkout answered Yes and the ticket No; the change told.
    static QString pay(Program& program, SalesWindow* w, const QString& received) {
        program.messages.clear();
        program.messages.answer({Answer::Yes, Answer::No});
        typeInto(w->编辑框_收款, received);
        test::pressEnter(w->编辑框_收款);
        return program.messages.texts().value(0);
    }
    QStringList billLines() {
        return rows("select 销售单号,商品编号,状态 from 销售模块 order by 商品编号");
    }
    QStringList stock() { return rows("select 商品编号,销售出库,实际库存 from 库存表"); }

    NewReceiptWindow* openNewReceipt(Program& program) {
        auto* list = openIn<receiving::ReceiptListWindow>(program, ui::Placement::TopLeft);
        test::trigger(list->菜单项_新增入库);
        return list->findChild<NewReceiptWindow*>();
    }
    OtherProgram other{folder.path(), clock};
    Program first{shell, messages, mainWindow.get()};
    Program second{other.shell, other.messages, &other.host};

public:
    // Each road leaves the first program's window with sp1 on its bill and the second's with sp2,
    // neither paid.
    using Windows = std::pair<SalesWindow*, SalesWindow*>;

    // Opened in one second, both windows propose one number: the second program's first line
    // finds it stored and takes the next.
    Windows windowsOpenedInOneSecond() {
        SalesWindow* a = openIn<SalesWindow>(first);
        SalesWindow* b = openIn<SalesWindow>(second);
        EXPECT_EQ(billOf(a), billOf(b));
        sell(a, "sp1");
        sell(b, "sp2");
        return {a, b};
    }

    // The first window's only line deleted again frees its number; the other program stores it,
    // and the first window's next line takes another.
    Windows linesDeletedAgain() {
        SalesWindow* a = openIn<SalesWindow>(first);
        SalesWindow* b = openIn<SalesWindow>(second);
        sell(a, "sp1");
        test::selectRow(a->超级列表框_销售单, 0);
        test::trigger(a->菜单项_删除);
        EXPECT_EQ(a->超级列表框_销售单->rowCount(), 0);
        sell(b, "sp2");
        sell(a, "sp1");
        return {a, b};
    }

    // After a suspend the first window proposes the number the other program then stores; the
    // bill it retrieves stays its own.
    Windows retrievedBill() {
        SalesWindow* a = openIn<SalesWindow>(first);
        sell(a, "sp1");
        const QString suspended = billOf(a);
        suspend(a);
        SalesWindow* b = openIn<SalesWindow>(second);
        EXPECT_EQ(billOf(b), billOf(a));
        sell(b, "sp2");
        sales::RetrieveSuspendedWindow* retrieve = openRetrieve(a);
        test::selectRow(retrieve->超级列表框_取回挂起, 0);
        click(retrieve->按钮_取回);
        EXPECT_EQ(billOf(a), suspended);
        return {a, b};
    }

    // A window with nothing stored shows, pays and abandons nothing of the bill the other
    // program stored under the number it shows.
    Windows emptyBillOnAStoredNumber() {
        SalesWindow* a = openIn<SalesWindow>(first);
        SalesWindow* b = openIn<SalesWindow>(second);
        sell(b, "sp2");
        EXPECT_EQ(billOf(a), billOf(b));
        click(a->按钮_重置);
        EXPECT_EQ(a->标签_总金额->text(), "");
        messages.answer({Answer::Yes, Answer::No});
        click(a->按钮_确认买单);
        messages.answer(Answer::Yes);
        click(a->按钮_废弃);
        EXPECT_EQ(billLines(), QStringList({billOf(b) + "|sp2|未确认"}));
        EXPECT_EQ(stock(), QStringList({"sp1|0|10", "sp2|0|10"}));
        sell(a, "sp1");
        return {a, b};
    }
};

namespace {

struct Road {
    const char* name;
    TwoProgramsTest::Windows (TwoProgramsTest::*windows)();
};
void PrintTo(const Road& road, std::ostream* out) { *out << road.name; }

const Road kRoads[] = {
    {"both windows opened in one second", &TwoProgramsTest::windowsOpenedInOneSecond},
    {"a bill whose line was deleted again", &TwoProgramsTest::linesDeletedAgain},
    {"a retrieved bill", &TwoProgramsTest::retrievedBill},
    {"a checkout and an abandon with nothing stored", &TwoProgramsTest::emptyBillOnAStoredNumber},
};

}  // namespace

class TwoCountersTest : public TwoProgramsTest, public ::testing::WithParamInterface<Road> {};

TEST_P(TwoCountersTest, EachKeepsItsOwnBillAndACheckoutPaysItsOwn) {
    const auto [a, b] = (this->*GetParam().windows)();
    const QString billA = billOf(a);
    const QString billB = billOf(b);
    EXPECT_NE(billA, billB);
    // Each window shows the number its line went under, over its list too, and that line alone.
    for (const auto& [w, line, total] : {std::tuple{a, billA + "|sp1|未确认", "199"},
                                         std::tuple{b, billB + "|sp2|未确认", "159"}}) {
        EXPECT_EQ(w->分组框2->title(), billOf(w));
        EXPECT_EQ(w->超级列表框_销售单->rowCount(), 1);
        EXPECT_EQ(w->标签_总金额->text(), total);
        EXPECT_TRUE(billLines().contains(line)) << line.toStdString();
    }
    EXPECT_EQ(rows("select count(distinct 销售编号) from 销售模块"), QStringList({"2"}));

    EXPECT_EQ(pay(first, a, "200"), "应找零：1元");
    EXPECT_EQ(billLines(), QStringList({billA + "|sp1|已买单", billB + "|sp2|未确认"}));
    EXPECT_EQ(stock(), QStringList({"sp1|1|9", "sp2|0|10"}));
    EXPECT_EQ(pay(second, b, "200"), "应找零：41元");
    EXPECT_EQ(billLines(), QStringList({billA + "|sp1|已买单", billB + "|sp2|已买单"}));
    EXPECT_EQ(stock(), QStringList({"sp1|1|9", "sp2|1|9"}));
}

INSTANTIATE_TEST_SUITE_P(Roads, TwoCountersTest, ::testing::ValuesIn(kRoads),
                         [](const ::testing::TestParamInfo<Road>& info) {
                             return "road" + std::to_string(info.index);
                         });

TEST_F(TwoProgramsTest, TwoNewReceiptsOpenedInOneSecondKeepTheirOwnLinesAndHeaders) {
    NewReceiptWindow* a = openNewReceipt(first);
    NewReceiptWindow* b = openNewReceipt(second);
    EXPECT_EQ(a->receiptNumber(), b->receiptNumber());
    receive(a, "sp1", "2");
    receive(b, "sp2", "3");
    const QString receiptA = a->receiptNumber();
    const QString receiptB = b->receiptNumber();
    EXPECT_NE(receiptA, receiptB);
    for (NewReceiptWindow* r : {a, b}) EXPECT_EQ(r->超级列表框_入库信息->rowCount(), 1);
    EXPECT_EQ(rows("select 入库单号,商品编号,商品数量 from 入库管理模块 order by 商品编号"),
              QStringList({receiptA + "|sp1|2", receiptB + "|sp2|3"}));
    EXPECT_EQ(a->标签_总数->text(), "2");
    EXPECT_EQ(b->标签_总数->text(), "3");
    EXPECT_EQ(rows("select count(distinct 入库编号) from 入库管理模块"), QStringList({"2"}));

    for (NewReceiptWindow* r : {a, b}) click(r->按钮_提交表单);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rows("select 入库单编号,商品总件数 from 入库管理总模块 order by 商品总件数"),
              QStringList({receiptA + "|2", receiptB + "|3"}));
    EXPECT_EQ(rows("select count(distinct ID) from 入库管理总模块"), QStringList({"2"}));
    // The review of one receipt moves its own line alone.
    EXPECT_TRUE(reviewReceiptStock(db, receiptB, receiving::ReviewMode::Review).done);
    EXPECT_EQ(rows("select 商品编号,实际库存 from 库存表"), QStringList({"sp1|10", "sp2|13"}));
    EXPECT_EQ(rows("select 入库单号,状态 from 入库管理模块 order by 商品编号"),
              QStringList({receiptA + "|未入库", receiptB + "|已入库"}));
}

TEST_F(TwoProgramsTest, TwoCataloguesProposingOneCodeAddTwoProducts) {
    auto* a = openIn<CatalogueWindow>(first, ui::Placement::TopLeft);
    auto* b = openIn<CatalogueWindow>(second, ui::Placement::TopLeft);
    const QString proposed = a->编辑框_编号->text();
    EXPECT_EQ(b->编辑框_编号->text(), proposed);
    addInCatalogue(a, "m8");
    addInCatalogue(b, "m9");
    EXPECT_EQ(other.messages.texts(), QStringList({"商品资料添加成功！"}));
    const QStringList added = rows("select 编号 from 商品资料 where 助记码 in ('m8','m9') order by 助记码");
    ASSERT_EQ(added.size(), 2);
    EXPECT_EQ(added[0], proposed);
    EXPECT_NE(added[1], proposed);
    EXPECT_EQ(rows("select 商品编号 from 库存表 where 助记码 in ('m8','m9') order by 助记码"), added);
    // A code typed over the proposal keeps its refusal when the other program stored it.
    other.messages.clear();
    typeInto(b->编辑框_编号, proposed);
    addInCatalogue(b, "m7");
    EXPECT_EQ(other.messages.shown,
              std::vector<test::Shown>(
                  {{"你所填写商品编号已经存在，请重新输入！", 0x10, test::kRemindYou}}));
}

// One suspended bill retrieved at both counters. Once the first has paid or abandoned it, every
// write of the second on it is refused and told: nothing is paid twice, no stock moves twice,
// nothing paid is deleted, and nothing is stored under the bill.
class OneBillAtTwoCountersTest : public TwoProgramsTest {
protected:
    struct Elsewhere {
        const char* name;
        std::function<void()> act;  // at the first counter
    };
    struct Write {
        const char* name;
        std::function<void(SalesWindow*)> act;  // at the second counter
        std::vector<Answer> answers;
        bool billShownAsItStands;  // else a new bill follows
    };

    // sp1 x 1 (199) suspended at the first counter, then retrieved there and at the second.
    void retrieveAtBoth() {
        a = openIn<SalesWindow>(first);
        sell(a, "sp1");
        bill = billOf(a);
        suspend(a);
        b = openIn<SalesWindow>(second);
        for (SalesWindow* w : {a, b}) {
            sales::RetrieveSuspendedWindow* retrieve = openRetrieve(w);
            ASSERT_NE(retrieve, nullptr);
            test::selectRow(retrieve->超级列表框_取回挂起, 0);
            click(retrieve->按钮_取回);
            ASSERT_EQ(billOf(w), bill);
        }
    }

    QStringList theBooks() {
        return rows("select 销售单号,商品编号,数量,小计,状态 from 销售模块 order by rowid") +
               rows("select 销售单号,总件数,销售总金额,状态 from 销售管理总模块") + stock();
    }

    std::vector<Elsewhere> elsewhere() {
        return {{"paid", [this] { EXPECT_EQ(pay(first, a, "200"), "应找零：1元"); }},
                {"abandoned", [this] {
                     messages.answer(Answer::Yes);
                     click(a->按钮_废弃);
                 }}};
    }

    std::vector<Write> writes() {
        return {
            {"收款 with Enter",
             [](SalesWindow* w) {
                 typeInto(w->编辑框_收款, "200");
                 test::pressEnter(w->编辑框_收款);
             },
             {}, true},
            {"确认买单", [](SalesWindow* w) { click(w->按钮_确认买单); }, {}, true},
            {"a line added", [this](SalesWindow* w) { sell(w, "sp2"); }, {}, false},
            {"a line changed",
             [](SalesWindow* w) {
                 test::selectRow(w->超级列表框_销售单, 0);
                 test::trigger(w->菜单项_修改);
                 typeInto(w->编辑框_数量, "2");
                 click(w->按钮_修改);
             },
             {}, false},
            {"a line deleted",
             [](SalesWindow* w) {
                 test::selectRow(w->超级列表框_销售单, 0);
                 test::trigger(w->菜单项_删除);
             },
             {}, false},
            {"挂起", [](SalesWindow* w) { click(w->按钮_挂起); }, {}, false},
            {"废弃", [](SalesWindow* w) { click(w->按钮_废弃); }, {Answer::Yes}, false},
        };
    }

    SalesWindow* a = nullptr;
    SalesWindow* b = nullptr;
    QString bill;
};

TEST_F(OneBillAtTwoCountersTest, ABillPaidOrAbandonedAtOneIsWrittenNoMoreAtTheOther) {
    const std::vector<Elsewhere> changes = elsewhere();
    const std::vector<Write> actions = writes();
    for (const Elsewhere& change : changes)
        for (const Write& write : actions) {
            SCOPED_TRACE(std::string(change.name) + " at the first counter, then " + write.name +
                         " at the second");
            exec("delete from 销售模块");
            exec("delete from 销售管理总模块");
            exec("update 库存表 set 销售出库='0',实际库存='10'");
            retrieveAtBoth();
            change.act();
            const QStringList books = theBooks();
            EXPECT_EQ(stock(), QStringList({QString(change.name) == "paid" ? "sp1|1|9" : "sp1|0|10",
                                            "sp2|0|10"}));
            other.messages.clear();
            for (Answer answer : write.answers) other.messages.answer(answer);
            write.act(b);
            EXPECT_EQ(other.messages.texts(), write.answers.empty()
                                ? QStringList({sales::kBillChangedElsewhere})
                                : QStringList({"是否废弃这张销售单！", sales::kBillChangedElsewhere}));
            EXPECT_EQ(theBooks(), books);
            if (write.billShownAsItStands) {
                EXPECT_EQ(billOf(b), bill);
                EXPECT_EQ(b->超级列表框_销售单->rowCount(), QString(change.name) == "paid" ? 1 : 0);
            } else {
                EXPECT_NE(billOf(b), bill);
                EXPECT_EQ(b->超级列表框_销售单->rowCount(), 0);
                EXPECT_EQ(b->标签_总金额->text(), "");
            }
            for (SalesWindow* w : {a, b}) delete w;
        }
}
