#include "receiving/review_window.h"
#include "receiving/stock_review.h"
#include "receiving_fixture.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

using receiving::ReviewMode;
using receiving::ReviewWindow;
using test::ReceiptQuantity;
using test::Shown;
using test::StockRow;
using ui::Answer;
using ui::kStandardTitle;

namespace {

const Shown kReviewQuestion{"是否将入库单内容加入库存！", 0x24, kStandardTitle};
const Shown kReverseQuestion{"是否将入库单内容从库存中减去！", 0x24, kStandardTitle};
const Shown kReviewed{"审核成功！", 0x40, kStandardTitle};
const Shown kReversed{"反审成功！", 0x40, kStandardTitle};
const Shown kReviewFailed{"审核失败！", 0x40, kStandardTitle};
const Shown kReverseFailed{"反审失败！", 0x40, kStandardTitle};
const Shown kAlreadyIn{"此张入库单已经入库，请勿重复操作！", 0x40, kStandardTitle};
const Shown kNotIn{"此张入库单还没有入库入库，不需要反审！", 0x40, kStandardTitle};

const QString kStock = "select 商品编号,期初库存,实际库存,进货库存,退货库存 from 库存表";

QStringList cells(ui::ListView* list) {
    QStringList result;
    for (int row = 0; row < list->rowCount(); ++row) {
        QStringList line;
        for (int column = 0; column < list->model()->columnCount(); ++column)
            line << list->cell(row, column);
        result << line.join(u'|');
    }
    return result;
}

}  // namespace

class ReviewTest : public test::ReceivingTest {
protected:
    // As the menu item does it, for the receipt selected after a refresh of the list (its
    // guards read the statuses the list shows).
    ReviewWindow* openReview(const QString& receipt, ReviewMode mode) {
        list->refillReceiptList();
        selectReceipt(receipt);
        test::trigger(mode == ReviewMode::Review ? list->菜单项_审核入库单 : list->菜单项_反审入库单);
        return window(receipt);
    }

    ReviewWindow* window(const QString& receipt) {
        for (ReviewWindow* w : list->findChildren<ReviewWindow*>())
            if (w->receiptNumber() == receipt) return w;
        return nullptr;
    }

    // Opens the window in `mode`, answers Yes and runs its button; the messages shown.
    std::vector<Shown> run(const QString& receipt, ReviewMode mode) {
        ReviewWindow* w = openReview(receipt, mode);
        EXPECT_NE(w, nullptr);
        if (!w) return {};
        messages.clear();
        messages.answer(Answer::Yes);
        test::click(mode == ReviewMode::Review ? w->按钮_审核 : w->按钮_反审);
        return messages.shown;
    }
};

TEST_F(ReviewTest, OpensCentredOnTheSelectedReceiptWithOnlyTheChosenButton) {
    addStock({{"P1", "10"}, {"P2", "0"}, {"P3", "7"}});
    addReceipt("rk1", {{"P1", "3"}, {"P2", "2"}});
    addReceipt("rk2", {{"P3", "1"}}, "已入库");
    openList();
    ReviewWindow* w = openReview("rk1", ReviewMode::Review);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), list);
    EXPECT_EQ(w->windowTitle(), "入库单审核与反审");
    EXPECT_EQ(w->size(), QSize(669, 429));
    EXPECT_EQ(w->pos(), QPoint(int(800 / 2.0 - 669 / 2.0), int(540 / 2.0 - 429 / 2.0)));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->hidesOnLogout());
    EXPECT_EQ(w->标签1->text(), "入库单号：");
    EXPECT_EQ(w->标签_单号->text(), "rk1");
    EXPECT_EQ(cells(w->超级列表框_未入), QStringList({"P1|kP1|3", "P2|kP2|2"}));
    EXPECT_EQ(cells(w->超级列表框_入), QStringList({"P1|kP1|10|10", "P2|kP2|0|0"}));
    const std::pair<ui::ListView*, QStringList> columns[] = {
        {w->超级列表框_未入, {"商品编号", "款号", "数量"}},
        {w->超级列表框_入, {"商品编号", "款号", "期初库存", "实际数量"}}};
    for (const auto& [view, captions] : columns)
        for (int c = 0; c < captions.size(); ++c)
            EXPECT_EQ(view->model()->headerData(c, Qt::Horizontal).toString(), captions[c]);
    EXPECT_EQ(w->按钮_审核->text(), "审核→");
    EXPECT_EQ(w->按钮_关闭->text(), "关闭");
    EXPECT_EQ(w->按钮_反审->text(), "←反审");
    EXPECT_TRUE(w->按钮_审核->isEnabled());
    EXPECT_FALSE(w->按钮_反审->isEnabled());

    // The same receipt again shows its open window; another receipt gets its own.
    EXPECT_EQ(openReview("rk1", ReviewMode::Review), w);
    ReviewWindow* other = openReview("rk2", ReviewMode::ReverseReview);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, w);
    EXPECT_EQ(list->findChildren<ReviewWindow*>().size(), 2);
    EXPECT_FALSE(other->按钮_审核->isEnabled());
    EXPECT_TRUE(other->按钮_反审->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
}

// Review adds the sum of each product's quantities on the receipt to every stock row of it,
// every row's 期初库存 becomes its 实际库存, and reverse review takes exactly as much out again.
TEST_F(ReviewTest, ReviewAndReverseReviewMoveStockByTheReceiptsQuantities) {
    struct Case {
        const char* name;
        std::vector<StockRow> stock;
        std::vector<ReceiptQuantity> lines;
        QStringList reviewed;  // 商品编号|期初库存|实际库存|进货库存|退货库存
        QStringList reversed;
    };
    const Case cases[] = {
        {"two products, and a row the receipt does not name",
         {{"P1", "10"}, {"P2", "0"}, {"P3", "7", "4"}},
         {{"P1", "3"}, {"P2", "2"}},
         {"P1|13|13||", "P2|2|2||", "P3|7|7||"},
         {"P1|10|10||", "P2|0|0||", "P3|7|7||"}},
        {"one product on two lines", {{"P1", "10"}}, {{"P1", "3"}, {"P1", "5", "2"}},
         {"P1|18|18||"}, {"P1|10|10||"}},
        {"a product without a stock row", {{"P1", "1"}}, {{"P9", "4"}}, {"P1|1|1||"}, {"P1|1|1||"}},
        {"an empty 实际库存 and a stock row named twice", {{"P1", ""}, {"P1", "2", "9"}},
         {{"P1", "1.5"}}, {"P1|1.5|1.5||", "P1|3.5|3.5||"}, {"P1|0|0||", "P1|2|2||"}},
        {"figures not in their plain text on rows the receipt does not name",
         {{"P1", "10"}, {"P8", "5.0", "1"}, {"P9", "-0"}, {"P7", " 3"}, {"P6", "007"}},
         {{"P1", "1"}},
         {"P1|11|11||", "P8|5|5||", "P9|0|0||", "P7|3|3||", "P6|7|7||"},
         {"P1|10|10||", "P8|5|5||", "P9|0|0||", "P7|3|3||", "P6|7|7||"}},
        {"text that is no number counts as 0", {{"P1", "abc"}}, {{"P1", "x"}, {"P1", "2"}},
         {"P1|2|2||"}, {"P1|0|0||"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("delete from 库存表");
        exec("delete from 入库管理模块");
        exec("delete from 入库管理总模块");
        addStock(c.stock);
        addReceipt("rk1", c.lines);
        openList();

        EXPECT_EQ(run("rk1", ReviewMode::Review), (std::vector<Shown>{kReviewQuestion, kReviewed}));
        EXPECT_EQ(rows(kStock), c.reviewed);
        EXPECT_EQ(rows("select distinct 状态 from 入库管理模块"), QStringList({"已入库"}));
        EXPECT_EQ(rows("select 状态 from 入库管理总模块"), QStringList({"已入库"}));

        EXPECT_EQ(run("rk1", ReviewMode::ReverseReview),
                  (std::vector<Shown>{kReverseQuestion, kReversed}));
        EXPECT_EQ(rows(kStock), c.reversed);
        EXPECT_EQ(rows("select distinct 状态 from 入库管理模块"), QStringList({"未入库-反审"}));
        EXPECT_EQ(rows("select 状态 from 入库管理总模块"), QStringList({"未入库-反审"}));
        delete list;
    }
}

TEST_F(ReviewTest, ASuccessLeavesNeitherButtonAndRefreshesTheLists) {
    addStock({{"P1", "10"}, {"P2", "0"}});
    addReceipt("rk1", {{"P1", "3"}});
    openList();
    run("rk1", ReviewMode::Review);
    ReviewWindow* w = window("rk1");
    EXPECT_FALSE(w->按钮_审核->isEnabled());
    EXPECT_FALSE(w->按钮_反审->isEnabled());
    EXPECT_EQ(w->超级列表框_未入->rowCount(), 0);
    EXPECT_EQ(cells(w->超级列表框_入), QStringList({"P1|kP1|13|13"}));
    EXPECT_EQ(list->超级列表框_入库单列表->cell(0, 8), "已入库");
    EXPECT_EQ(list->超级列表框_入库单列表->selectedRow(), -1);

    // 关闭 refreshes the receipt list and its line list, which shows no receipt's lines now.
    selectReceipt("rk1");
    EXPECT_EQ(list->超级列表框_入库单详情->rowCount(), 1);
    QPointer<ReviewWindow> closing = w;
    test::click(w->按钮_关闭);
    flushClosedWindows();
    EXPECT_TRUE(closing.isNull());
    EXPECT_EQ(list->超级列表框_入库单详情->rowCount(), 0);
    EXPECT_EQ(list->超级列表框_入库单列表->rowCount(), 1);
}

TEST_F(ReviewTest, NoChangesNothing) {
    addStock({{"P1", "10"}, {"P2", "5", "3"}});
    addReceipt("rk1", {{"P1", "3"}});
    openList();
    const QStringList before = everything();
    for (ReviewMode mode : {ReviewMode::Review, ReviewMode::ReverseReview}) {
        exec("update 入库管理总模块 set 状态=?", {mode == ReviewMode::Review ? "未入库" : "已入库"});
        ReviewWindow* w = openReview("rk1", mode);
        QPushButton* button = mode == ReviewMode::Review ? w->按钮_审核 : w->按钮_反审;
        messages.clear();
        messages.answer(Answer::No);
        test::click(button);
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(button->isEnabled());
    }
    exec("update 入库管理总模块 set 状态='未入库'");
    EXPECT_EQ(everything(), before);
}

// The window is not modal and the receipt list's cells go stale: the stored status decides.
TEST_F(ReviewTest, AReceiptIsNeverBroughtInOrTakenOutTwice) {
    addStock({{"P1", "10"}});
    addReceipt("rk1", {{"P1", "3"}});
    openList();
    EXPECT_EQ(run("rk1", ReviewMode::Review), (std::vector<Shown>{kReviewQuestion, kReviewed}));
    const QStringList reviewed = everything();
    EXPECT_EQ(receiving::reviewReceiptStock(db, "rk1", ReviewMode::Review).message,
              kAlreadyIn.text);
    EXPECT_EQ(everything(), reviewed);
    EXPECT_EQ(rows(kStock), QStringList({"P1|13|13||"}));
    delete list;

    // Opened while the receipt allowed it, then reviewed, reversed or deleted elsewhere: a
    // receipt that is gone has no status to refuse it by, so the action fails.
    struct Case {
        const char* name;
        ReviewMode mode;
        const char* openedAt;
        const char* meanwhile;
        Shown refusal;
    };
    const Case cases[] = {
        {"reviewed meanwhile", ReviewMode::Review, "未入库", "update 入库管理总模块 set 状态='已入库'",
         kAlreadyIn},
        {"header deleted before a review", ReviewMode::Review, "未入库-反审",
         "delete from 入库管理总模块", kReviewFailed},
        {"reversed meanwhile", ReviewMode::ReverseReview, "已入库",
         "update 入库管理总模块 set 状态='未入库-反审'", kNotIn},
        {"header deleted before a reverse review", ReviewMode::ReverseReview, "已入库",
         "delete from 入库管理总模块", kReverseFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("update 入库管理总模块 set 状态=?", {c.openedAt});
        openList();
        ReviewWindow* w = openReview("rk1", c.mode);
        exec(c.meanwhile);
        const QStringList before = everything();
        messages.clear();
        messages.answer(Answer::Yes);
        test::click(c.mode == ReviewMode::Review ? w->按钮_审核 : w->按钮_反审);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{c.mode == ReviewMode::Review ? kReviewQuestion
                                                                                    : kReverseQuestion,
                                                      c.refusal}));
        EXPECT_EQ(everything(), before);
        delete list;
        exec("delete from 入库管理总模块");
        exec("insert into 入库管理总模块(ID,入库单编号,商品总件数,状态)values('1','rk1','3','')");
    }
}

// Every write of a review is tested: a failure anywhere leaves every row as it was.
TEST_F(ReviewTest, AFailedWriteLeavesEveryRowAsItWas) {
    struct Case {
        const char* table;
        const char* when;
    };
    const Case cases[] = {
        {"库存表", "when old.商品编号='P2'"},  // after P1 was rewritten
        {"入库管理模块", ""},
        {"入库管理总模块", ""},
    };
    addStock({{"P1", "10"}, {"P2", "0"}, {"P3", "7", "4"}});
    addReceipt("rk1", {{"P1", "3"}, {"P2", "2"}});
    openList();
    for (ReviewMode mode : {ReviewMode::Review, ReviewMode::ReverseReview}) {
        exec("update 入库管理总模块 set 状态=?", {mode == ReviewMode::Review ? "未入库" : "已入库"});
        for (const Case& c : cases) {
            SCOPED_TRACE(c.table);
            exec(QString("create trigger refuse before update on %1 %2 begin "
                         "select raise(abort,'refused'); end")
                     .arg(c.table, c.when));
            const QStringList before = everything();
            ReviewWindow* w = openReview("rk1", mode);
            messages.clear();
            messages.answer(Answer::Yes);
            QPushButton* button = mode == ReviewMode::Review ? w->按钮_审核 : w->按钮_反审;
            test::click(button);
            EXPECT_EQ(messages.shown.back(),
                      mode == ReviewMode::Review ? kReviewFailed : kReverseFailed);
            EXPECT_EQ(everything(), before);
            EXPECT_TRUE(button->isEnabled());
            exec("drop trigger refuse");
        }
    }
}

// Without the window: a failed commit is a failure, and nothing is told as done before it.
TEST_F(ReviewTest, AFailedCommitIsAFailure) {
    addStock({{"P1", "10"}});
    addReceipt("rk1", {{"P1", "3"}});
    // A deferred check only fails at the commit.
    exec("create table parent(id integer primary key)");
    exec("create table guard(x integer references parent(id) deferrable initially deferred)");
    exec("pragma foreign_keys=on");
    exec("create trigger late after update on 入库管理总模块 begin insert into guard values(1); end");
    ASSERT_TRUE(db.begin());
    EXPECT_TRUE(db.execute("update 入库管理总模块 set 备注='x'"));
    EXPECT_FALSE(db.commit());
    ASSERT_TRUE(db.rollback());
    const QStringList before = everything();
    const receiving::Outcome outcome = receiving::reviewReceiptStock(db, "rk1", ReviewMode::Review);
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(outcome.message, "审核失败！");
    EXPECT_EQ(everything(), before);
}
