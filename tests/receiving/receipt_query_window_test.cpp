#include "receiving/receipt_query_window.h"
#include "receiving_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>

using receiving::ReceiptListWindow;
using receiving::ReceiptQueryWindow;
using test::Receipt;
using test::Shown;
using ui::kStandardTitle;

namespace {

const Shown kNoCondition{"你最少要选择一个条件进行查询！", 0x40, kStandardTitle};
const Shown kNotFound{"你输入的查询条件未找到入库单！", 0x40, kStandardTitle};
const Shown kFound{"查询成功！", 0x40, kStandardTitle};

const QString kQuoted = "未入库'\" or '1'='1";

QStringList items(QComboBox* box) {
    QStringList result;
    for (int i = 0; i < box->count(); ++i) result << box->itemText(i);
    return result;
}

}  // namespace

class ReceiptQueryTest : public test::ReceivingTest {
protected:
    ReceiptQueryWindow* open() {
        list = openList();
        test::trigger(list->菜单项_查询入库单);
        return list->findChild<ReceiptQueryWindow*>();
    }

    ReceiptListWindow* list = nullptr;
};

TEST_F(ReceiptQueryTest, OpensCentredWithTheStoredOperatorsAndStatuses) {
    addReceipt({"rk1", "已入库", "20240301", "admin"});
    addReceipt({"rk2", "未入库", "20240305", "admin"});
    ReceiptQueryWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "入库单查询");
    EXPECT_EQ(w->size(), QSize(401, 273));
    EXPECT_EQ(w->parentWidget(), list);
    EXPECT_EQ(w->pos(), QPoint(199, 133));  // 800 / 2 - 401 / 2, 540 / 2 - 273 / 2, truncated
    EXPECT_EQ(w->分组框1->title(), "入库单模糊查询");
    EXPECT_EQ(w->日期框1->date(), QDate(2024, 3, 5));
    EXPECT_EQ(w->日期框2->date(), QDate(2024, 3, 5));
    for (QCheckBox* tick : {w->选择框_时间, w->选择框_人员, w->选择框_状态}) {
        EXPECT_FALSE(tick->isChecked());
        EXPECT_EQ(tick->text(), "");
    }
    EXPECT_FALSE(w->组合框_人员->isEditable());
    // A single value is chosen at once; of several, none is.
    EXPECT_EQ(items(w->组合框_人员), QStringList({"admin"}));
    EXPECT_EQ(w->组合框_人员->currentText(), "admin");
    EXPECT_EQ(items(w->组合框_状态), QStringList({"已入库", "未入库"}));
    EXPECT_EQ(w->组合框_状态->currentIndex(), -1);

    // A refusal refills both boxes: the chosen status is gone, the only operator chosen again.
    test::choose(w->组合框_状态, "未入库");
    test::click(w->按钮_查询);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kNoCondition});
    EXPECT_EQ(w->组合框_状态->currentText(), "");
    EXPECT_EQ(w->组合框_人员->currentText(), "admin");
    EXPECT_EQ(column(list->超级列表框_入库单列表, 0), QStringList({"rk1", "rk2"}));

    // A second 查询入库单 shows the open window.
    test::trigger(list->菜单项_查询入库单);
    EXPECT_EQ(list->findChildren<ReceiptQueryWindow*>().size(), 1);
}

TEST_F(ReceiptQueryTest, TickedConditionsNarrowTheReceiptList) {
    addReceipt({"rk1", "已入库", "20240301", "admin"});
    addReceipt({"rk2", "未入库", "20240305", "小王"});
    addReceipt({"rk3", "未入库-反审", "20240310", "admin"});
    addReceipt({"rk4", kQuoted, "20240305", "admin"});
    addReceipt({"rk5", "未入库", "20240311", "admin"});
    struct Case {
        const char* name;
        QDate from, to;
        QString operatorName;  // chosen in its box, "" for none
        QString status;
        bool byDate, byOperator, byStatus;
        QStringList found;  // empty: the not-found message
    };
    const QDate d1(2024, 3, 1), d5(2024, 3, 5), d10(2024, 3, 10);
    const Case cases[] = {
        {"status alone", d5, d5, "", "已入库", false, false, true, {"rk1"}},
        {"status compares the whole text", d5, d5, "", "未入库", false, false, true, {"rk2", "rk5"}},
        {"status with quotation marks", d5, d5, "", kQuoted, false, false, true, {"rk4"}},
        {"operator alone", d5, d5, "小王", "", false, true, false, {"rk2"}},
        {"operator and status", d5, d5, "admin", "未入库-反审", false, true, true, {"rk3"}},
        {"dates alone, both bounds included", d1, d5, "", "", true, false, false,
         {"rk1", "rk2", "rk4"}},
        {"dates and status", d1, d10, "", "未入库", true, false, true, {"rk2"}},
        {"dates and operator", d5, d10, "admin", "", true, true, false, {"rk3", "rk4"}},
        {"all three", d1, d10, "admin", "未入库-反审", true, true, true, {"rk3"}},
        {"an unticked status is no condition", d1, d1, "小王", "已入库", false, true, false,
         {"rk2"}},
        {"unticked dates are no condition", d10, d1, "", "已入库", false, false, true, {"rk1"}},
        {"from after to", d10, d1, "", "", true, false, false, {}},
        {"ticked status with none chosen", d5, d5, "", "", false, false, true, {}},
        {"nothing matches all three", d1, d5, "小王", "已入库", true, true, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPointer<ReceiptQueryWindow> w = open();
        w->日期框1->setDate(c.from);
        w->日期框2->setDate(c.to);
        if (!c.operatorName.isEmpty()) test::choose(w->组合框_人员, c.operatorName);
        if (!c.status.isEmpty()) test::choose(w->组合框_状态, c.status);
        w->选择框_时间->setChecked(c.byDate);
        w->选择框_人员->setChecked(c.byOperator);
        w->选择框_状态->setChecked(c.byStatus);
        test::click(w->按钮_查询);
        flushClosedWindows();
        if (c.found.isEmpty()) {
            EXPECT_EQ(messages.shown, std::vector<Shown>{kNotFound});
            ASSERT_FALSE(w.isNull());
            EXPECT_TRUE(w->isVisible());
            EXPECT_EQ(list->超级列表框_入库单列表->rowCount(), 5);
        } else {
            EXPECT_EQ(messages.shown, std::vector<Shown>{kFound});
            EXPECT_TRUE(w.isNull());
            EXPECT_EQ(column(list->超级列表框_入库单列表, 0), c.found);
        }
        messages.clear();
        list->close();
        flushClosedWindows();
    }
}

TEST_F(ReceiptQueryTest, FoundReceiptsKeepTheListsRowLayoutAndLeaveTheLines) {
    addReceipt({"rk1", "已入库", "20240301", "admin"});
    addReceipt({"rk2", "未入库", "20240305", "admin"});
    addLine({"1", "rk2", "sp1", "2", "k1"});
    ReceiptQueryWindow* w = open();
    test::selectRow(list->超级列表框_入库单列表, 1);
    ASSERT_EQ(list->超级列表框_入库单详情->rowCount(), 1);
    test::choose(w->组合框_状态, "已入库");
    w->选择框_状态->setChecked(true);
    test::click(w->按钮_查询);
    EXPECT_EQ(row(list->超级列表框_入库单列表, 0),
              QStringList({"rk1", "3", "2", "k2,k1,", "597", "240", "admin", "20240301", "已入库", "无"}));
    EXPECT_EQ(list->超级列表框_入库单列表->rowCount(), 1);
    EXPECT_EQ(list->超级列表框_入库单详情->rowCount(), 1);
}

TEST_F(ReceiptQueryTest, WithoutReceiptsEveryQueryFindsNothing) {
    ReceiptQueryWindow* w = open();
    EXPECT_EQ(w->组合框_人员->count(), 0);
    EXPECT_EQ(w->组合框_状态->count(), 0);
    test::click(w->按钮_查询);
    for (QCheckBox* tick : {w->选择框_时间, w->选择框_人员, w->选择框_状态}) {
        tick->setChecked(true);
        test::click(w->按钮_查询);
    }
    EXPECT_EQ(messages.shown, (std::vector<Shown>{kNoCondition, kNotFound, kNotFound, kNotFound}));

    QPointer<ReceiptQueryWindow> leaving = w;
    test::click(w->按钮_退出);
    flushClosedWindows();
    EXPECT_TRUE(leaving.isNull());
}
