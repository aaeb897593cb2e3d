#include "receiving/line_change_window.h"
#include "receiving/review_window.h"
#include "receiving_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using receiving::LineChangeWindow;
using test::Shown;
using ui::Answer;
using ui::kStandardTitle;

namespace {

const Shown kChanged{"执行修改成功！", 0x40, kStandardTitle};
const Shown kEmptyOrZero{"你所输入的修改数量不能为空或者0！", 0x40, kStandardTitle};
const Shown kSame{"修改数量不应与原数量一样！", 0x40, kStandardTitle};
const Shown kInStock{"你所需要修改的商品库存已经通过审核入库，需反审后才能修改！", 0x40, kStandardTitle};
const Shown kLineFailed{"执行修改失败，请联系作者!", 0x40, kStandardTitle};
const Shown kHeaderFailed{"执行修改失败！", 0x40, kStandardTitle};

const QString kLines = "select 商品编号,商品数量,状态 from 入库管理模块";
const QString kTotal = "select 商品总件数 from 入库管理总模块";

}  // namespace

class LineChangeTest : public test::ReceivingTest {
protected:
    // The receipt rk1 with the lines (P1, old) and (P2, 4); the piece total is 10.
    void addReceiptWith(const QString& old, const QString& status = "未入库") {
        addStock({{"P1", "10"}, {"P2", "0"}});
        addReceipt("rk1", {{"P1", old}, {"P2", "4", "2"}}, status);
        exec("update 入库管理总模块 set 商品总件数='10'");
    }

    // As the pop-up item does it, for the line in `row` of the selected receipt.
    LineChangeWindow* openChange(int row) {
        selectReceipt("rk1");
        test::selectRow(list->超级列表框_入库单详情, row);
        test::trigger(list->菜单项_修改);
        const auto open = list->findChildren<LineChangeWindow*>();
        return open.isEmpty() ? nullptr : open.last();
    }

    std::vector<Shown> change(LineChangeWindow* w, const QString& quantity) {
        messages.clear();
        test::typeInto(w->编辑框_输入修改, quantity);
        test::click(w->按钮确认修改);
        return messages.shown;
    }
};

TEST_F(LineChangeTest, OpensCentredWithTheLinesCodeAndQuantity) {
    addReceiptWith("3");
    openList();
    LineChangeWindow* w = openChange(1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), list);
    EXPECT_EQ(w->windowTitle(), "修改库存");
    EXPECT_EQ(w->size(), QSize(369, 235));
    EXPECT_EQ(w->pos(), QPoint(int(800 / 2.0 - 369 / 2.0), int(540 / 2.0 - 235 / 2.0)));
    EXPECT_TRUE(w->hidesOnLogout());
    const std::pair<QLabel*, QString> labels[] = {
        {w->标签_编号, "商品编号："}, {w->标签_编号读, "P2"},  {w->标签_读取库存, "读取库存："},
        {w->标签_读取库存数, "4"},    {w->标签_读取库存1, "修改库存："}};
    for (const auto& [label, text] : labels) EXPECT_EQ(label->text(), text);
    EXPECT_EQ(w->分组框1->title(), "");
    EXPECT_EQ(w->编辑框_输入修改->text(), "");
    EXPECT_EQ(w->按钮确认修改->text(), "确认修改");
    EXPECT_EQ(w->按钮2->text(), "退出修改");

    QPointer<LineChangeWindow> closing = w;
    test::click(w->按钮2);
    flushClosedWindows();
    EXPECT_TRUE(closing.isNull());
    EXPECT_TRUE(messages.shown.empty());
}

// The texts are compared, not the numbers; the total moves by the truncated difference.
TEST_F(LineChangeTest, ANewQuantityIsStoredAsTypedAndMovesTheTotalByAWholeNumber) {
    struct Case {
        QString old;
        QString typed;
        QString total;  // from 10
    };
    const Case cases[] = {
        {"3", "5", "12"}, {"3", "5.5", "12"}, {"5.5", "3", "8"}, {"5", "5.0", "10"},
        {"3", "00", "7"}, {"3", "-2", "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.old + " -> " + c.typed).toStdString());
        exec("delete from 库存表");
        exec("delete from 入库管理模块");
        exec("delete from 入库管理总模块");
        addReceiptWith(c.old, "未入库-反审");
        const QStringList stock = rows("select * from 库存表");
        openList();
        QPointer<LineChangeWindow> w = openChange(0);
        EXPECT_EQ(change(w, c.typed), std::vector<Shown>{kChanged});
        EXPECT_EQ(rows(kLines), QStringList({"P1|" + c.typed + "|未入库，已修改！", "P2|4|未入库-反审"}));
        EXPECT_EQ(rows(kTotal), QStringList({c.total}));
        EXPECT_EQ(rows("select * from 库存表"), stock);
        EXPECT_EQ(list->超级列表框_入库单列表->cell(0, 1), c.total);
        EXPECT_EQ(list->超级列表框_入库单详情->rowCount(), 0);
        flushClosedWindows();
        EXPECT_TRUE(w.isNull());
        delete list;
    }
}

TEST_F(LineChangeTest, EmptyZeroOrTheSameTextIsRefusedAndTheWindowStays) {
    addReceiptWith("3");
    openList();
    LineChangeWindow* w = openChange(0);
    const QStringList before = everything();
    const std::pair<QString, Shown> cases[] = {
        {"", kEmptyOrZero}, {"0", kEmptyOrZero}, {"3", kSame}, {"1e300", kLineFailed}, {"NaN", kLineFailed}};
    for (const auto& [typed, refusal] : cases) {
        SCOPED_TRACE(typed.toStdString());
        EXPECT_EQ(change(w, typed), std::vector<Shown>{refusal});
        EXPECT_EQ(everything(), before);
        EXPECT_TRUE(w->isVisible());
    }
    // A line changed once can be changed again.
    EXPECT_EQ(change(w, "4"), std::vector<Shown>{kChanged});
    w = openChange(0);
    EXPECT_EQ(w->标签_读取库存数->text(), "4");
    EXPECT_EQ(change(w, "6"), std::vector<Shown>{kChanged});
    EXPECT_EQ(rows(kTotal), QStringList({"13"}));
}

// The window is not modal: the line it was opened for is the one changed, and only while it is
// still not in stock.
TEST_F(LineChangeTest, TheChangeReachesOnlyItsLineAndOnlyWhileNotInStock) {
    // Both lines carry the line id "1": added within one second.
    addStock({{"P1", "10"}});
    addReceipt("rk1", {{"P1", "3"}, {"P1", "4"}});
    openList();
    LineChangeWindow* w = openChange(1);
    test::selectRow(list->超级列表框_入库单详情, 0);  // another row chosen meanwhile
    EXPECT_EQ(change(w, "6"), std::vector<Shown>{kChanged});
    EXPECT_EQ(rows(kLines), QStringList({"P1|3|未入库", "P1|6|未入库，已修改！"}));
    EXPECT_EQ(rows(kTotal), QStringList({"9"}));

    // Reviewed while the change window was open.
    w = openChange(0);
    selectReceipt("rk1");
    test::trigger(list->菜单项_审核入库单);
    messages.answer(Answer::Yes);
    test::click(list->findChild<receiving::ReviewWindow*>()->按钮_审核);
    const QStringList reviewed = everything();
    EXPECT_EQ(change(w, "8"), std::vector<Shown>{kInStock});
    EXPECT_EQ(everything(), reviewed);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(LineChangeTest, AFailedWriteLeavesLineAndTotalAsTheyWere) {
    const std::pair<const char*, Shown> cases[] = {{"入库管理模块", kLineFailed},
                                                   {"入库管理总模块", kHeaderFailed}};
    addReceiptWith("3");
    openList();
    for (const auto& [table, failure] : cases) {
        SCOPED_TRACE(table);
        exec(QString("create trigger refuse before update on %1 begin "
                     "select raise(abort,'refused'); end")
                 .arg(table));
        LineChangeWindow* w = openChange(0);
        const QStringList before = everything();
        EXPECT_EQ(change(w, "5"), std::vector<Shown>{failure});
        EXPECT_EQ(everything(), before);
        EXPECT_TRUE(w->isVisible());
        exec("drop trigger refuse");
    }
}

// Two windows open on one line: the total follows the stored quantity, not a stale label.
TEST_F(LineChangeTest, TwoWindowsOnOneLineKeepTheTotalTrue) {
    addReceiptWith("3");
    openList();
    LineChangeWindow* first = openChange(0);
    LineChangeWindow* second = openChange(0);
    ASSERT_NE(first, second);
    EXPECT_EQ(change(first, "5"), std::vector<Shown>{kChanged});
    EXPECT_EQ(change(second, "6"), std::vector<Shown>{kChanged});
    EXPECT_EQ(rows(kLines), QStringList({"P1|6|未入库，已修改！", "P2|4|未入库"}));
    EXPECT_EQ(rows(kTotal), QStringList({"13"}));
}
