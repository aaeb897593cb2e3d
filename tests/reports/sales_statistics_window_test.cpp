#include "reports/sales_statistics_window.h"
#include "reports_fixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using reports::SalesStatisticsWindow;
using test::Shown;
using ui::Answer;
using ui::kStandardTitle;

namespace {

const Shown kNoSales{"没有销售数据！", 0x40, kStandardTitle};

QStringList items(QComboBox* box) {
    QStringList all;
    for (int i = 0; i < box->count(); ++i) all << box->itemText(i);
    return all;
}

// Every result control, as "name=text".
QStringList results(SalesStatisticsWindow* w) {
    QStringList all;
    for (QLabel* label : w->分组框1->findChildren<QLabel*>())
        if (label->objectName().startsWith("标签_")) all << label->objectName() + "=" + label->text();
    for (QLineEdit* box : {w->编辑框_最多, w->编辑框_最高}) all << box->objectName() + "=" + box->text();
    return all;
}

}  // namespace

class SalesStatisticsWindowTest : public test::ReportsTest {
protected:
    SalesStatisticsWindow* open(QDate start = {2024, 3, 1}, QDate end = {2024, 3, 5}) {
        auto* w = openWindow<SalesStatisticsWindow>();
        w->日期框1->setDate(start);
        w->日期框2->setDate(end);
        return w;
    }
    static QString question(const QString& start, const QString& end) {
        return "你所要查询的日期是从" + start + "到" + end + "吗？";
    }
};

TEST_F(SalesStatisticsWindowTest, OpensWithThePaidLinesInItsCombosAndEmptyResults) {
    sellTheExample();
    sell({{"20200101", "C", "1", "1", "已买单", "李四"}, {"20240301", "D", "1", "1", "未确认", "王五"}});
    auto* w = openWindow<SalesStatisticsWindow>();
    EXPECT_EQ(w->windowTitle(), "销售统计");
    EXPECT_EQ(w->size(), QSize(479, 488));
    EXPECT_EQ(w->分组框1->title(), "销售额查询");
    EXPECT_EQ(w->日期框1->date(), QDate(2024, 3, 5));
    EXPECT_EQ(w->日期框2->date(), QDate(2024, 3, 5));
    QStringList products = items(w->组合框1), people = items(w->组合框_个人);
    products.sort();
    people.sort();
    EXPECT_EQ(products, QStringList({"A", "B", "C"}));
    EXPECT_EQ(people, QStringList({"张三", "李四"}));
    EXPECT_EQ(w->组合框1->currentText(), "");
    EXPECT_EQ(w->组合框_个人->currentText(), "");
    for (const QString& result : results(w)) EXPECT_TRUE(result.endsWith('=')) << result.toStdString();
    EXPECT_EQ(w->标签_总金额->font().pixelSize(), 19);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SalesStatisticsWindowTest, TheDateRangeShowsTotalsBestSellersAndShares) {
    sellTheExample();
    sell({"20240304", "B", "9", "90", "未确认"});
    auto* w = open();
    test::click(w->按钮_日期查询);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(w->标签_总金额->text(), "100");
    EXPECT_EQ(w->标签_总件数->text(), "4");
    EXPECT_EQ(w->编辑框_最多->text(), "A");
    EXPECT_EQ(w->标签_最多->text(), "3");
    EXPECT_EQ(w->标签_最多占比->text(), "75%");
    EXPECT_EQ(w->编辑框_最高->text(), "A");
    EXPECT_EQ(w->标签_最高->text(), "50");
    EXPECT_EQ(w->标签_最高占比->text(), "50%");
    // The per-product and per-salesperson results are not this query's.
    EXPECT_EQ(w->标签_单品件数->text(), "");
    EXPECT_EQ(w->标签_个人销售额1->text(), "");
}

// Each query stops at the first failed check, with its message, and changes no control.
TEST_F(SalesStatisticsWindowTest, ChecksComeInTheirOrderAndStopEveryQuery) {
    sellTheExample();
    const struct {
        QDate start, end;
        QString message;
    } cases[] = {
        {{2024, 3, 6}, {2024, 3, 7}, "开始日期不能超过今天！"},
        {{2024, 3, 1}, {2024, 3, 6}, "结束日期不能超过今天！"},
        {{2024, 3, 4}, {2024, 3, 1}, ""},  // passes the checks; finds nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        auto* w = open(c.start, c.end);
        w->组合框1->setEditText("A");
        w->组合框_个人->setEditText("张三");
        const QStringList before = results(w);
        const bool asks = c.message.isEmpty();
        if (asks) messages.answer({Answer::Yes, Answer::Yes});
        for (QPushButton* button : {w->按钮_日期查询, w->按钮_单品查询, w->按钮_单品查询1})
            test::click(button);
        const Shown stop = asks ? kNoSales : Shown{c.message, 0x40, kStandardTitle};
        const QString asked = question(w->日期框1->date().toString("yyyyMMdd"),
                                       w->日期框2->date().toString("yyyyMMdd"));
        std::vector<Shown> expected{stop};
        for (int i = 0; i < 2; ++i) {
            if (asks) expected.push_back({asked, 0x24, kStandardTitle});
            expected.push_back(stop);
        }
        EXPECT_EQ(messages.shown, expected);
        EXPECT_EQ(results(w), before);
        messages.clear();
        delete w;
    }
}

TEST_F(SalesStatisticsWindowTest, PerProductAsksForTheRangeThenShowsItsShares) {
    sellTheExample();
    auto* w = open();
    test::click(w->按钮_单品查询);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{"你还没有选择商品编号！", 0x40, kStandardTitle}}));

    const struct {
        QString product;
        Answer answer;
        QString quantity, quantityShare, amount, amountShare;
    } cases[] = {
        {"A", Answer::No, "", "", "", ""},
        {"A", Answer::Yes, "3", "75%", "50", "50%"},
        {"B", Answer::Yes, "1", "25%", "50", "50%"},
        {"C", Answer::Yes, "", "0%", "", "0%"},   // no paid lines in the range
        {"A'", Answer::Yes, "", "0%", "", "0%"},  // a quotation mark finds nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product.toStdString());
        messages.clear();
        messages.answer(c.answer);
        w->组合框1->setEditText(c.product);
        test::click(w->按钮_单品查询);
        EXPECT_EQ(messages.shown,
                  (std::vector<Shown>{{question("20240301", "20240305"), 0x24, kStandardTitle}}));
        EXPECT_EQ(w->标签_单品件数->text(), c.quantity);
        EXPECT_EQ(w->标签_单品件数占比->text(), c.quantityShare);
        EXPECT_EQ(w->标签_单品销售额->text(), c.amount);
        EXPECT_EQ(w->标签_单品销售额占比->text(), c.amountShare);
        // The range totals are held, not shown.
        EXPECT_EQ(w->标签_总金额->text(), "");
    }
}

TEST_F(SalesStatisticsWindowTest, PerSalespersonNeedsTheirSalesInTheRange) {
    sellTheExample();
    sell({"20240303", "B", "1", "300", "已买单", "李四"});
    auto* w = open();
    const struct {
        QString person;
        std::vector<QString> after;  // what follows the question
        QString amount, share;
    } cases[] = {
        {"", {"没有销售数据！"}, "", ""},
        {"王五", {"没有销售数据！"}, "", ""},
        {"李'四", {"没有销售数据！"}, "", ""},
        {"李四", {}, "300", "75%"},
        {"张三", {}, "100", "25%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.person.toStdString());
        messages.clear();
        messages.answer(Answer::Yes);
        w->组合框_个人->setEditText(c.person);
        test::click(w->按钮_单品查询1);
        std::vector<Shown> expected{{question("20240301", "20240305"), 0x24, kStandardTitle}};
        for (const QString& text : c.after) expected.push_back({text, 0x40, kStandardTitle});
        EXPECT_EQ(messages.shown, expected);
        if (!c.amount.isEmpty()) {
            EXPECT_EQ(w->标签_个人销售额1->text(), c.amount);
            EXPECT_EQ(w->标签_个人占比->text(), c.share);
        }
    }
    // A zero total: amounts of 0 in the range give "0%", never a failed division.
    messages.clear();
    sell({"20240201", "Z", "1", "0", "已买单", "王五"});
    w->日期框1->setDate({2024, 2, 1});
    w->日期框2->setDate({2024, 2, 1});
    w->组合框_个人->setEditText("王五");
    messages.answer(Answer::Yes);
    test::click(w->按钮_单品查询1);
    EXPECT_EQ(w->标签_个人销售额1->text(), "0");
    EXPECT_EQ(w->标签_个人占比->text(), "0%");
    test::click(w->按钮_日期查询);
    EXPECT_EQ(w->标签_最高占比->text(), "0%");
    EXPECT_EQ(w->标签_最多占比->text(), "100%");
}
