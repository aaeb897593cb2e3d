#include "app/entry_windows.h"
#include "receiving/stock_review.h"
#include "receiving_fixture.h"
#include "store/schema.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <functional>

using receiving::ReceiptListWindow;
using test::Receipt;
using test::ReceiptLine;
using test::Shown;
using ui::Answer;
using ui::kStandardTitle;

namespace {

const Shown kNoReceipt{"你还没有选择入库单！", 0x40, kStandardTitle};
const Shown kAlreadyIn{"此张入库单已经入库，请勿重复操作！", 0x40, kStandardTitle};
const Shown kNotYetIn{"此张入库单还没有入库入库，不需要反审！", 0x40, kStandardTitle};
const Shown kLineInStock{"你所需要修改的商品库存已经通过审核入库，需反审后才能修改！", 0x40,
                         kStandardTitle};
const Shown kDeleteReceived{"这张入库单已经入库，你确定要删除么，删除后将不可反审也不可恢复！", 0x34,
                            kStandardTitle};
const Shown kDeleteNotReceived{"这张入库单还没有入库，你确定要删除么，删除后将不可恢复！", 0x34,
                               kStandardTitle};
const Shown kDeleted{"入库单已经删除！", 0x40, kStandardTitle};
const Shown kDeleteFailed{"删除失败！", 0x40, kStandardTitle};

// Rows of the receipt list below.
constexpr int kReceived = 0;
constexpr int kNotReceived = 1;
constexpr int kReversed = 2;
constexpr int kNone = -1;

}  // namespace

// Three receipts: received, not received, and reverse reviewed with a changed line.
class ReceiptListTest : public test::ReceivingTest {
protected:
    ReceiptListTest() {
        storeReceipts();
        exec("insert into 库存表(商品编号,实际库存)values('sp1','12'),('sp2','11')");
    }

    void storeReceipts() {
        exec("delete from 入库管理总模块");
        exec("delete from 入库管理模块");
        addReceipt({"rk1", "已入库"});
        addReceipt({"rk2", "未入库"});
        addReceipt({"rk3", "未入库-反审"});
        addLine({"11", "rk1", "sp1", "2", "k1", "已入库"});
        addLine({"12", "rk1", "sp2", "1", "k2", "已入库"});
        addLine({"21", "rk2", "sp1", "4", "k1"});
        addLine({"31", "rk3", "sp2", "5", "k2", "未入库，已修改！"});
    }

    ReceiptListWindow* openAndSelect(int row) {
        ReceiptListWindow* w = openList();
        test::selectRow(w->超级列表框_入库单列表, row);
        return w;
    }
};

TEST_F(ReceiptListTest, OpensWithEveryHeaderAndItsColumns) {
    app::openEntryWindow(shell, app::kEntryReceiving);
    auto* w = mainWindow->findChild<ReceiptListWindow*>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "商品入库");
    EXPECT_EQ(w->size(), QSize(800, 540));
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    EXPECT_TRUE(w->hidesOnLogout());
    EXPECT_EQ(w->分组框_入库单列表->title(), "入库单列表");
    EXPECT_EQ(w->分组框_入库单详情->title(), "入库单详情");

    struct ColumnForm {
        QString caption;
        int width;
        bool right;
    };
    const ColumnForm receiptColumns[] = {
        {"入库单编号", 100, false}, {"总件数", 50, true},    {"款式数量", 60, true},
        {"款号", 225, true},        {"吊牌总计", 60, true},  {"进货总计", 60, false},
        {"入库人员", 60, false},    {"入库时间", 60, true},  {"状态", 60, false},
        {"备注", 40, false}};
    const ColumnForm lineColumns[] = {
        {"入库单编号", 100, false}, {"商品编号", 100, false}, {"商品数量", 90, true},
        {"助记码", 90, false},      {"款号", 80, false},      {"品名", 80, false},
        {"杯型", 50, false},        {"尺码", 50, false},      {"颜色", 50, false},
        {"状态", 80, false},        {"入库编号", 0, false}};
    const std::pair<ui::ListView*, std::vector<ColumnForm>> lists[] = {
        {w->超级列表框_入库单列表, {std::begin(receiptColumns), std::end(receiptColumns)}},
        {w->超级列表框_入库单详情, {std::begin(lineColumns), std::end(lineColumns)}}};
    for (const auto& [list, columns] : lists) {
        QAbstractItemModel* model = list->model();
        ASSERT_EQ(model->columnCount(), int(columns.size()));
        for (int c = 0; c < int(columns.size()); ++c) {
            SCOPED_TRACE(columns[c].caption.toStdString());
            EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), columns[c].caption);
            if (columns[c].width == 0) EXPECT_TRUE(list->isColumnHidden(c));
            else EXPECT_EQ(list->columnWidth(c), columns[c].width);
            const int horizontal = model->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt() &
                                   Qt::AlignHorizontal_Mask;
            EXPECT_EQ(horizontal, columns[c].right ? Qt::AlignRight : Qt::AlignLeft);
        }
    }

    // Every header in the table's order; the style list as stored, trailing "," included.
    EXPECT_EQ(test::ReceivingTest::column(w->超级列表框_入库单列表, 0),
              QStringList({"rk1", "rk2", "rk3"}));
    EXPECT_EQ(row(w->超级列表框_入库单列表, 0),
              QStringList({"rk1", "3", "2", "k2,k1,", "597", "240", "admin", "20240305", "已入库", "无"}));
    EXPECT_EQ(w->超级列表框_入库单详情->rowCount(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReceiptListTest, MenuBarAndPopUpCarryTheirCaptions) {
    ReceiptListWindow* w = openList();
    QStringList menus;
    for (QAction* menu : w->菜单栏->actions()) {
        QStringList items;
        for (QAction* item : menu->menu()->actions()) items << item->text();
        menus << menu->text() + ":" + items.join(u'/');
    }
    EXPECT_EQ(menus, QStringList({"商品入库  :新增入库/审核入库单/反审入库单",
                                  "  编辑  :查询入库单/修改入库单/删除入库单",
                                  "  退出    :退出商品入库", "刷新:刷新入库单列表"}));
    EXPECT_EQ(w->菜单_修改商品库存->title(), "修改商品库存    ");
    EXPECT_EQ(w->菜单_修改商品库存->actions().size(), 1);
    EXPECT_EQ(w->菜单项_修改->text(), "  修改");
}

TEST_F(ReceiptListTest, ChoosingAReceiptShowsItsLinesWithTheHiddenLineId) {
    ReceiptListWindow* w = openAndSelect(kReceived);
    ui::ListView* lines = w->超级列表框_入库单详情;
    ASSERT_EQ(lines->rowCount(), 2);
    EXPECT_EQ(row(lines, 0),
              QStringList({"rk1", "sp1", "2", "m", "k1", "文胸", "A", "75", "红", "已入库", "11"}));
    test::selectRow(lines, 1);
    EXPECT_EQ(w->selectedLineCell(ReceiptListWindow::kLineIdCell), "12");
    EXPECT_FALSE(w->selectedLineKey().isEmpty());

    // Refilling the receipt list drops its selection and leaves the lines alone.
    exec("insert into 入库管理总模块(入库单编号,状态) values('rk4','未入库')");
    test::trigger(w->菜单项_刷新入库单列表);
    EXPECT_EQ(w->超级列表框_入库单列表->rowCount(), 4);
    EXPECT_EQ(w->超级列表框_入库单列表->selectedRow(), -1);
    EXPECT_EQ(lines->rowCount(), 2);
    EXPECT_TRUE(messages.shown.empty());
}

// A refill reads again only the headers written since the last one; the list must show what a
// full read shows, row for row and cell for cell, and drop its selection as that would.
TEST_F(ReceiptListTest, ARefillShowsEveryHeaderAsAFullReadDoes) {
    const QString kAllHeaders =
        "select 入库单编号,商品总件数,款式数量,款号,吊牌价总金额,进货价总金额,入库人员,入库时间,状态,"
        "备注 from 入库管理总模块";
    struct Case {
        const char* name;
        std::function<void(ReceiptListWindow*)> meanwhile;
    };
    const Case cases[] = {
        {"a review changes one header's status",
         [&](ReceiptListWindow*) {
             EXPECT_TRUE(receiving::reviewReceiptStock(db, "rk2", receiving::ReviewMode::Review).done);
         }},
        {"a header changed to read as its neighbour",
         [&](ReceiptListWindow*) { exec("update 入库管理总模块 set 状态='已入库' where 入库单编号='rk3'"); }},
        {"a header added", [&](ReceiptListWindow*) { addReceipt({"rk4", "未入库"}); }},
        {"a header deleted",
         [&](ReceiptListWindow*) { exec("delete from 入库管理总模块 where 入库单编号='rk1'"); }},
        {"every header changed",
         [&](ReceiptListWindow*) { exec("update 入库管理总模块 set 备注=入库单编号"); }},
        {"a query's headers shown in another order",
         [&](ReceiptListWindow* w) {
             w->showReceipts(db.query("select * from 入库管理总模块 order by 入库单编号 desc"));
         }},
        {"another program's write",
         [&](ReceiptListWindow*) {
             store::Database other;
             ASSERT_TRUE(other.open(store::databaseFilePath(folder.path()), store::kDatabaseUser,
                                    store::kDatabasePassword));
             ASSERT_TRUE(other.execute("update 入库管理总模块 set 款号='k9' where 入库单编号='rk2'"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        storeReceipts();
        ReceiptListWindow* w = openAndSelect(kNotReceived);
        c.meanwhile(w);
        test::selectRow(w->超级列表框_入库单列表, kNotReceived);
        test::trigger(w->菜单项_刷新入库单列表);
        QStringList shown;
        for (int r = 0; r < w->超级列表框_入库单列表->rowCount(); ++r)
            shown << row(w->超级列表框_入库单列表, r).join(u'|');
        EXPECT_EQ(shown, rows(kAllHeaders));
        EXPECT_EQ(w->超级列表框_入库单列表->selectedRow(), kNone);
        EXPECT_EQ(w->超级列表框_入库单详情->rowCount(), 1);
        delete w;
    }
}

TEST_F(ReceiptListTest, ReviewGuardsTestTheChosenReceiptsStatus) {
    struct Case {
        const char* name;
        QAction* ReceiptListWindow::*item;
        int row;
        std::vector<Shown> shown;  // none: the review window is opened
    };
    const Case cases[] = {
        {"review, nothing chosen", &ReceiptListWindow::菜单项_审核入库单, kNone, {kNoReceipt}},
        {"review, received", &ReceiptListWindow::菜单项_审核入库单, kReceived, {kAlreadyIn}},
        {"review, not received", &ReceiptListWindow::菜单项_审核入库单, kNotReceived, {}},
        {"review, reverse reviewed", &ReceiptListWindow::菜单项_审核入库单, kReversed, {}},
        {"reverse, nothing chosen", &ReceiptListWindow::菜单项_反审入库单, kNone, {kNoReceipt}},
        {"reverse, received", &ReceiptListWindow::菜单项_反审入库单, kReceived, {}},
        {"reverse, not received", &ReceiptListWindow::菜单项_反审入库单, kNotReceived, {kNotYetIn}},
        {"reverse, reverse reviewed", &ReceiptListWindow::菜单项_反审入库单, kReversed, {kNotYetIn}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPointer<ReceiptListWindow> w = openAndSelect(c.row);
        test::trigger(w->*c.item);
        EXPECT_EQ(messages.shown, c.shown);
        messages.clear();
        w->close();
        flushClosedWindows();
    }
}

TEST_F(ReceiptListTest, ALineIsChangedOnlyWhileNotInStock) {
    struct Case {
        const char* name;
        int receipt;
        int line;
        std::vector<Shown> shown;  // none: the line change window is opened
    };
    const Case cases[] = {
        {"no line chosen", kNotReceived, kNone, {kLineInStock}},
        {"no receipt chosen", kNone, kNone, {kLineInStock}},
        {"line in stock", kReceived, 1, {kLineInStock}},
        {"line not in stock", kNotReceived, 0, {}},
        {"line changed after a reverse review", kReversed, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPointer<ReceiptListWindow> w = openAndSelect(c.receipt);
        test::selectRow(w->超级列表框_入库单详情, c.line);
        test::trigger(w->菜单项_修改);
        EXPECT_EQ(messages.shown, c.shown);
        messages.clear();
        w->close();
        flushClosedWindows();
    }
}

TEST_F(ReceiptListTest, ChangingAReceiptIsOnlyExplained) {
    ReceiptListWindow* w = openAndSelect(kNotReceived);
    test::trigger(w->菜单项_修改入库单);
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{"入库单的修改步骤如下：先在下方入库单列表单击你需要修改的入库单-"
                                   "然后在最下方入库单详情右键单击选择你需要修改的商品，点击修改按钮！",
                                   0x40, kStandardTitle}}));
    EXPECT_EQ(rows("select count(*) from 入库管理模块"), QStringList({"4"}));
}

TEST_F(ReceiptListTest, DeleteAsksByStatusAndTakesHeaderAndLinesTogether) {
    const QStringList allHeaders = {"rk1", "rk2", "rk3"};
    const QStringList allLines = {"rk1", "rk1", "rk2", "rk3"};
    struct Case {
        const char* name;
        int row;
        std::vector<Answer> answers;
        std::vector<Shown> shown;
        QStringList headersLeft;
        QStringList linesLeft;
    };
    const Case cases[] = {
        {"nothing chosen: nothing asked", kNone, {}, {}, allHeaders, allLines},
        {"received, No", kReceived, {Answer::No}, {kDeleteReceived}, allHeaders, allLines},
        {"received, Yes", kReceived, {Answer::Yes}, {kDeleteReceived, kDeleted},
         {"rk2", "rk3"}, {"rk2", "rk3"}},
        {"not received, Yes", kNotReceived, {Answer::Yes}, {kDeleteNotReceived, kDeleted},
         {"rk1", "rk3"}, {"rk1", "rk1", "rk3"}},
        {"reverse reviewed, Yes", kReversed, {Answer::Yes}, {kDeleteNotReceived, kDeleted},
         {"rk1", "rk2"}, {"rk1", "rk1", "rk2"}},
    };
    const QStringList stock = rows("select * from 库存表");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        storeReceipts();
        ReceiptListWindow* w = openAndSelect(c.row);
        for (Answer answer : c.answers) messages.answer(answer);
        test::trigger(w->菜单项_删除入库单);
        EXPECT_EQ(messages.shown, c.shown);
        EXPECT_EQ(rows("select 入库单编号 from 入库管理总模块"), c.headersLeft);
        EXPECT_EQ(rows("select 入库单号 from 入库管理模块"), c.linesLeft);
        EXPECT_EQ(rows("select * from 库存表"), stock);
        // The list shows what is left; the lines of a deleted receipt are gone from the screen.
        EXPECT_EQ(column(w->超级列表框_入库单列表, 0), c.headersLeft);
        if (c.headersLeft != allHeaders) {
            EXPECT_EQ(w->超级列表框_入库单详情->rowCount(), 0);
        }
        messages.clear();
        w->close();
        flushClosedWindows();
    }
}

TEST_F(ReceiptListTest, AFailedDeleteKeepsHeaderAndLines) {
    refuseOn("delete", "入库管理模块");
    ReceiptListWindow* w = openAndSelect(kReceived);
    messages.answer(Answer::Yes);
    test::trigger(w->菜单项_删除入库单);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{kDeleteReceived, kDeleteFailed}));
    EXPECT_EQ(rows("select 入库单编号 from 入库管理总模块"), QStringList({"rk1", "rk2", "rk3"}));
    EXPECT_EQ(rows("select count(*) from 入库管理模块"), QStringList({"4"}));
    EXPECT_EQ(w->超级列表框_入库单列表->selectedRow(), kReceived);
    EXPECT_EQ(w->超级列表框_入库单详情->rowCount(), 2);
}

TEST_F(ReceiptListTest, AReceiptNumberWithQuotationMarksIsDeletedAlone) {
    const QString quoted = "rk'\" or '1'='1";
    addReceipt({quoted, "未入库"});
    addLine({"41", quoted, "sp1", "1", "k1"});
    ReceiptListWindow* w = openAndSelect(3);
    EXPECT_EQ(column(w->超级列表框_入库单详情, 0), QStringList({quoted}));
    messages.answer(Answer::Yes);
    test::trigger(w->菜单项_删除入库单);
    EXPECT_EQ(rows("select 入库单编号 from 入库管理总模块"), QStringList({"rk1", "rk2", "rk3"}));
    EXPECT_EQ(rows("select count(*) from 入库管理模块"), QStringList({"4"}));
}
