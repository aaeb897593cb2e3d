#include "receiving_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using receiving::NewReceiptWindow;
using receiving::ReceiptListWindow;
using test::ReceiptLine;
using test::Shown;
using ui::Answer;
using ui::kStandardTitle;

namespace {

const Shown kNoLines{"请添加产品后进行提交！", 0x40, kStandardTitle};
const Shown kSubmitted{"执行提交成功，需要在商品入库窗口执行审核入库才能增加库存！", 0x40,
                       kStandardTitle};
const Shown kSubmitFailed{"执行提交失败，请联系作者！", 0x40, kStandardTitle};
const Shown kLeaveQuestion{"入库单是否已经提交？已提交点：是。未提交点:否", 0x44, ""};
const Shown kCloseQuestion{"你是否已经提交表单，窗口关闭后表单无法恢复，你确认要关闭窗口吗？", 0x24,
                           kStandardTitle};

const QString kNumber = "rk20240305953";  // opened on 5 March 2024 at 9:05:03
const QString kHeaders =
    "select ID,入库单编号,商品总件数,款式数量,款号,吊牌价总金额,进货价总金额,入库时间,入库人员,状态,备注 "
    "from 入库管理总模块";

}  // namespace

class NewReceiptTest : public test::ReceivingTest {
protected:
    // The receipt list with a new receipt opened from its menu.
    NewReceiptWindow* open() {
        list = openList();
        return openNewReceipt(list);
    }

    // Lines with the styles A, A and B, stored as the add-product window stores them, and the
    // totals it keeps.
    void addThreeLines(NewReceiptWindow* w) {
        addLine({"1", kNumber, "sp1", "2", "A"});
        addLine({"2", kNumber, "sp2", "1", "A"});
        addLine({"3", kNumber, "sp3", "3", "B"});
        w->refreshNewReceiptLines();
        w->标签_总数->setText("6");
        w->标签_吊总->setText("1194");
        w->标签_进总->setText("480");
    }

    ReceiptListWindow* list = nullptr;
};

TEST_F(NewReceiptTest, OpensInsideTheReceiptListWithANewReceipt) {
    shell.currentUser = "店长";
    NewReceiptWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "新增入库");
    EXPECT_EQ(w->size(), QSize(600, 400));
    EXPECT_EQ(w->parentWidget(), list);
    EXPECT_EQ(w->pos(), QPoint(100, 30));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->标签_编号->text(), kNumber);
    EXPECT_EQ(w->标签_人员->text(), "店长");
    EXPECT_EQ(w->标签_时间->text(), "20240305");
    EXPECT_EQ(w->编辑框_备注->text(), "无");
    EXPECT_EQ(w->标签_总数->text(), "0");
    EXPECT_EQ(w->标签_吊总->text(), "");
    EXPECT_EQ(w->超级列表框_入库信息->rowCount(), 0);

    // A second 新增入库 shows the open receipt, lines and number kept.
    addLine({"1", kNumber, "sp1", "2", "A"});
    w->refreshNewReceiptLines();
    w->hide();
    clock.set(clock.now().addSecs(5));
    EXPECT_EQ(openNewReceipt(list), w);
    EXPECT_EQ(list->findChildren<NewReceiptWindow*>().size(), 1);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->标签_编号->text(), kNumber);
    EXPECT_EQ(w->超级列表框_入库信息->rowCount(), 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(NewReceiptTest, SubmitWithoutLinesWritesNothing) {
    NewReceiptWindow* w = open();
    test::click(w->按钮_提交表单);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kNoLines});
    EXPECT_TRUE(rows(kHeaders).isEmpty());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(NewReceiptTest, SubmitStoresTheHeaderThenClosesAndRefillsTheList) {
    QPointer<NewReceiptWindow> w = open();
    addThreeLines(w);
    test::typeInto(w->编辑框_备注, "供应商'送货\"");
    clock.set(clock.now().addSecs(1));  // the header id is made at the submit
    test::click(w->按钮_提交表单);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kSubmitted});
    EXPECT_EQ(rows(kHeaders), QStringList({"20240305954|" + kNumber +
                                           "|6|2|B,A,|1194|480|20240305|admin|未入库|供应商'送货\""}));
    flushClosedWindows();
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(column(list->超级列表框_入库单列表, 0), QStringList({kNumber}));
    EXPECT_EQ(rows("select count(*) from 入库管理模块"), QStringList({"3"}));
}

TEST_F(NewReceiptTest, AFailedSubmitKeepsTheWindowAndItsLines) {
    struct Case {
        const char* name;
        std::function<void()> breakIt;
    };
    const Case cases[] = {
        {"the header insert fails", [this] { refuseOn("insert", "入库管理总模块"); }},
        {"the commit fails",
         [this] {
             // A deferred foreign key is only checked at the commit.
             exec("pragma foreign_keys=on");
             exec("create table 父(id integer primary key)");
             exec("create table 子(p integer references 父(id) deferrable initially deferred)");
             exec("create trigger 拒绝 after insert on 入库管理总模块 begin insert into 子 values(1); "
                  "end");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("drop trigger if exists 拒绝");
        c.breakIt();
        QPointer<NewReceiptWindow> w = open();
        addThreeLines(w);
        test::click(w->按钮_提交表单);
        EXPECT_EQ(messages.shown, std::vector<Shown>{kSubmitFailed});
        EXPECT_TRUE(rows(kHeaders).isEmpty());
        flushClosedWindows();
        ASSERT_FALSE(w.isNull());
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->超级列表框_入库信息->rowCount(), 3);
        EXPECT_EQ(list->超级列表框_入库单列表->rowCount(), 0);
        EXPECT_EQ(rows("select count(*) from 入库管理模块"), QStringList({"3"}));

        // Once the fault is gone the same receipt goes through.
        exec("drop trigger 拒绝");
        messages.clear();
        test::click(w->按钮_提交表单);
        EXPECT_EQ(messages.shown, std::vector<Shown>{kSubmitted});
        EXPECT_EQ(rows("select 入库单编号 from 入库管理总模块"), QStringList({kNumber}));
        messages.clear();
        list->close();
        flushClosedWindows();
        exec("delete from 入库管理总模块");
        exec("delete from 入库管理模块");
    }
}

TEST_F(NewReceiptTest, LeavingAndClosingAskFirst) {
    struct Case {
        const char* name;
        std::function<void(NewReceiptWindow*)> leave;
        Answer answer;
        Shown question;
        bool closes;
    };
    const auto leaveButton = [](NewReceiptWindow* w) { test::click(w->按钮_退出); };
    const auto closeBox = [](NewReceiptWindow* w) { w->close(); };
    const Case cases[] = {
        {"退出, No", leaveButton, Answer::No, kLeaveQuestion, false},
        {"退出, Yes", leaveButton, Answer::Yes, kLeaveQuestion, true},
        {"close box, No", closeBox, Answer::No, kCloseQuestion, false},
        {"close box, Yes", closeBox, Answer::Yes, kCloseQuestion, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPointer<NewReceiptWindow> w = open();
        messages.answer(c.answer);
        c.leave(w);  // an unscripted second question fails the test
        EXPECT_EQ(messages.shown, std::vector<Shown>{c.question});
        flushClosedWindows();
        EXPECT_EQ(w.isNull(), c.closes);
        if (!c.closes) {
            EXPECT_TRUE(w->isVisible());
        }
        messages.clear();
        list->close();
        flushClosedWindows();
    }
}
