#include "reports/sales_statistics_window.h"
#include "reports_fixture.h"
#include "store/schema.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <random>

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

// A read that fails is told, never shown as no sales, and changes no control.
TEST_F(SalesStatisticsWindowTest, AReadThatFailsIsToldAndChangesNothing) {
    sellTheExample();
    auto* w = open();
    w->组合框1->setEditText("A");
    w->组合框_个人->setEditText("张三");
    for (const char* table : {"销售模块", "销售日汇总", "销售月单品汇总", "销售年单品汇总", "销售异日单品汇总"})
        exec(QString("drop table ") + table);
    const QStringList before = results(w);
    messages.answer({Answer::Yes, Answer::Yes});
    for (QPushButton* button : {w->按钮_日期查询, w->按钮_单品查询, w->按钮_单品查询1}) test::click(button);
    const Shown notRead{"读取销售数据失败！", 0x40, kStandardTitle};
    const Shown asked{question("20240301", "20240305"), 0x24, kStandardTitle};
    EXPECT_EQ(messages.shown, (std::vector<Shown>{notRead, asked, notRead, asked, notRead}));
    EXPECT_EQ(results(w), before);
}

// Every figure the window shows against the window's own statements run over the lines as they
// stand, whatever another program wrote to them.
class StatisticsOfTheLinesTest : public SalesStatisticsWindowTest {
protected:
    struct Range {
        QDate start, end;
    };

    QString paidIn(const Range& r) {
        return "销售时间>=" + r.start.toString("yyyyMMdd") + " and 销售时间<=" + r.end.toString("yyyyMMdd") +
               " and 状态='已买单'";
    }
    QString sumOfLines(const QString& figure, const QString& where) {
        return rows("select sum(" + figure + ") from 销售模块 where " + where).value(0);
    }
    // The best seller's sum as the statement shows it, and the codes whose sums show the same.
    std::pair<QString, QStringList> bestOfLines(const QString& figure, const Range& r) {
        const QString top = rows("select * from (select sum( " + figure + ")as a ,商品编号 from 销售模块 where " +
                                 paidIn(r) + "and 状态='已买单' group by 商品编号)order by a desc ")
                                .value(0);
        QStringList codes;
        for (const QString& group : rows("select sum(" + figure + "),商品编号 from 销售模块 where " +
                                         paidIn(r) + " group by 商品编号"))
            if (group.section('|', 0, 0) == top.section('|', 0, 0)) codes << group.section('|', 1);
        return {top.section('|', 0, 0), codes};
    }
    static QString codeOf(const QLineEdit* box, const QStringList& codes) {
        return codes.contains(box->text()) ? box->text() : "one of " + codes.join('/');
    }

    // Each query of the window over the range, beside what the lines give.
    void expectTheFiguresOfTheLines(SalesStatisticsWindow* w, const Range& r, const QStringList& products,
                                    const QStringList& people) {
        SCOPED_TRACE(r.start.toString("yyyyMMdd").toStdString() + "-" + r.end.toString("yyyyMMdd").toStdString());
        w->日期框1->setDate(r.start);
        w->日期框2->setDate(r.end);
        const QString amount = sumOfLines("小计", paidIn(r));
        const QString quantity = sumOfLines("数量", paidIn(r));
        const Shown asked{question(r.start.toString("yyyyMMdd"), r.end.toString("yyyyMMdd")), 0x24,
                          kStandardTitle};
        // The question, then "没有销售数据！" when there are none.
        const auto told = [&](bool sales) {
            return sales ? std::vector<Shown>{asked} : std::vector<Shown>{asked, kNoSales};
        };

        messages.clear();
        test::click(w->按钮_日期查询);
        EXPECT_EQ(messages.shown, amount.isEmpty() ? std::vector<Shown>{kNoSales} : std::vector<Shown>{});
        if (!amount.isEmpty()) {
            const auto [most, mostCodes] = bestOfLines("数量", r);
            const auto [highest, highestCodes] = bestOfLines("小计", r);
            const QStringList expected = {amount, quantity, most, codeOf(w->编辑框_最多, mostCodes),
                                          reports::shareText(most, quantity), highest,
                                          codeOf(w->编辑框_最高, highestCodes),
                                          reports::shareText(highest, amount)};
            const QStringList shown = {w->标签_总金额->text(), w->标签_总件数->text(), w->标签_最多->text(),
                                       w->编辑框_最多->text(), w->标签_最多占比->text(), w->标签_最高->text(),
                                       w->编辑框_最高->text(), w->标签_最高占比->text()};
            EXPECT_EQ(shown.join(" | ").toStdString(), expected.join(" | ").toStdString());
        }
        for (const QString& product : products) {
            messages.clear();
            messages.answer(Answer::Yes);
            w->组合框1->setEditText(product);
            test::click(w->按钮_单品查询);
            EXPECT_EQ(messages.shown, told(!amount.isEmpty())) << product.toStdString();
            if (amount.isEmpty()) continue;
            const QString where = "商品编号='" + product + "'and " + paidIn(r);
            const QString pieces = sumOfLines("数量", where), sales = sumOfLines("小计", where);
            const QStringList expected = {pieces, reports::shareText(pieces, quantity), sales,
                                          reports::shareText(sales, amount)};
            const QStringList shown = {w->标签_单品件数->text(), w->标签_单品件数占比->text(),
                                       w->标签_单品销售额->text(), w->标签_单品销售额占比->text()};
            EXPECT_EQ(shown.join(" | ").toStdString(), expected.join(" | ").toStdString())
                << product.toStdString();
        }
        for (const QString& person : people) {
            messages.clear();
            messages.answer(Answer::Yes);
            w->组合框_个人->setEditText(person);
            test::click(w->按钮_单品查询1);
            const QString sales = sumOfLines("小计", paidIn(r) + " and 销售人员='" + person + "'");
            EXPECT_EQ(messages.shown, told(!sales.isEmpty())) << person.toStdString();
            if (sales.isEmpty()) continue;
            EXPECT_EQ((w->标签_个人销售额1->text() + " | " + w->标签_个人占比->text()).toStdString(),
                      (sales + " | " + reports::shareText(sales, amount)).toStdString())
                << person.toStdString();
        }
    }
};

TEST_F(StatisticsOfTheLinesTest, EveryFigureIsWhatTheLinesGiveWhateverAnotherProgramWrote) {
    std::mt19937 random(24);
    const auto pick = [&](const QStringList& from) { return from[int(random() % from.size())]; };
    // Two and three decimals, large and tiny amounts side by side, and empty ones.
    const auto amount = [&]() -> QString {
        switch (random() % 8) {
        case 0: return "";
        case 1: return "0";
        case 2: return QString::number(random() % 100000 / 100.0, 'f', 2);
        case 3: return QString::number(random() % 1000000 / 1000.0, 'f', 3);
        default: return pick({"99999.99", "0.01", "0.001", "1234567.891"});
        }
    };
    const auto quantity = [&] { return random() % 6 ? QString::number(1 + random() % 5) : QString(); };
    const Range ranges[] = {
        {{2023, 1, 1}, {2023, 12, 31}},  {{2024, 1, 1}, {2024, 3, 5}},   {{2023, 2, 1}, {2023, 2, 28}},
        {{2024, 2, 1}, {2024, 2, 29}},   {{2023, 3, 15}, {2023, 6, 20}}, {{2023, 1, 5}, {2023, 12, 31}},
        {{2023, 1, 1}, {2023, 11, 20}},  {{2023, 1, 2}, {2023, 12, 30}}, {{2023, 12, 1}, {2024, 1, 31}},
        {{2023, 6, 10}, {2024, 3, 5}},   {{2023, 7, 4}, {2023, 7, 4}},   {{2023, 8, 8}, {2023, 8, 8}},
        {{2023, 9, 9}, {2023, 9, 9}},    {{2023, 5, 10}, {2023, 5, 1}},  {{2022, 1, 1}, {2022, 12, 31}},
    };
    // Calendar days of 2023 up to today, and dates that are none: a thirteenth month, 30 February,
    // seven digits, days past a month's end, a text, none at all, and dates with a fraction that
    // lie just before and just after each bound of a range, a month's first and last days among them.
    const QStringList otherDates = {"20231301", "20230230", "2023011",  "20230132", "20231232", "20230229",
                                    "20240230", "20230100", "20231300", "2023-06-01", ""};
    QStringList betweenDays;
    for (const Range& r : ranges)
        for (const QDate& bound : {r.start, r.end})
            for (const QDate& day : {bound.addDays(-1), bound}) betweenDays << day.toString("yyyyMMdd") + ".5";
    const auto date = [&] {
        switch (random() % 7) {
        case 0: return pick(otherDates);
        case 1:
        case 2: return pick(betweenDays);
        default: return QDate(2023, 1, 1).addDays(random() % 430).toString("yyyyMMdd");
        }
    };
    const QStringList codes = {"A", "B", "C", "D", "E", "F", ""};
    const QStringList people = {"张三", "李四", "王五"};
    const QString insert = "insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,小计,状态,销售人员)"
                           "values('xsbh',nullif(?,''),'xs1',nullif(?,''),nullif(?,''),nullif(?,''),?,?)";
    for (const char* event : {"INSERT", "UPDATE"})  // a file without the checks on its number columns
        exec(QString("drop trigger 销售模块_%1_types").arg(event));
    ASSERT_TRUE(db.begin());
    for (int n = 0; n < 600; ++n) {
        const QString day = date();
        // A line between two days weighs enough to turn the best seller where it is miscounted.
        const QString pieces = day.endsWith(".5") ? "40" : quantity();
        exec(insert, {day, pick(codes), pieces, amount(), random() % 5 ? "已买单" : "未确认", pick(people)});
    }
    ASSERT_TRUE(db.commit());

    store::Database other;  // another program changes and deletes lines
    ASSERT_TRUE(other.open(store::databaseFilePath(folder.path()), store::kDatabaseUser,
                           store::kDatabasePassword));
    ASSERT_TRUE(other.begin());
    for (int n = 0; n < 300; ++n) {
        const QString line = QString::number(1 + random() % 600);
        const QString set = "update 销售模块 set %1=nullif(?,'') where rowid=" + line;
        bool written = true;
        switch (random() % 7) {
        case 0: written = other.execute(set.arg("小计"), {amount()}); break;
        case 1: written = other.execute(set.arg("数量"), {quantity()}); break;
        case 2: written = other.execute(set.arg("销售时间"), {date()}); break;
        case 3: written = other.execute(set.arg("状态"), {pick({"已买单", "未确认"})}); break;
        case 4: written = other.execute(set.arg("商品编号"), {pick(codes)}); break;
        case 5: written = other.execute(set.arg("销售人员"), {pick(people)}); break;
        default: written = other.execute("delete from 销售模块 where rowid=" + line);
        }
        ASSERT_TRUE(written) << other.lastError().toStdString();
    }
    ASSERT_TRUE(other.commit());
    // Amounts no number of millionths can carry, in February 2024 only.
    for (const char* odd : {"0.30000000000000004", "2000000000.5", "0.1234567"})
        ASSERT_TRUE(other.execute(insert, {"20240214", "B", "1", odd, "已买单", "李四"}));
    // A day whose paid lines have no amount, and one whose paid lines have no quantity.
    ASSERT_TRUE(other.execute("delete from 销售模块 where 销售时间 in (20230808,20230909)"));
    exec(insert, {"20230808", "A", "2", "", "已买单", "张三"});
    exec(insert, {"20230909", "A", "", "5.5", "已买单", "张三"});
    exec(insert, {"20230909", "C", "", "5.5", "已买单", "李四"});

    auto* w = open();
    for (const Range& r : ranges)
        expectTheFiguresOfTheLines(w, r, {"A", "B", "C", "D", "E", "F", "Z"}, people + QStringList{""});
}

// The two faults seen beside the statements: what subtracting in double left of an amount, and
// a product that sold much more outside most of a year than inside it.
TEST_F(StatisticsOfTheLinesTest, TakingLinesOffLeavesNothingBehind) {
    sell({{"20220301", "A", "1", "99999.99"}, {"20220301", "B", "1", "0.01"}});
    store::Database other;
    ASSERT_TRUE(other.open(store::databaseFilePath(folder.path()), store::kDatabaseUser,
                           store::kDatabasePassword));
    ASSERT_TRUE(other.execute("delete from 销售模块 where 小计=99999.99"));
    auto* w = open({2022, 3, 1}, {2022, 3, 1});
    test::click(w->按钮_日期查询);
    EXPECT_EQ(w->标签_总金额->text().toStdString(), "0.01");

    sell({{"20230102", "A", "1", "1000.1"}, {"20230601", "A", "1", "0.3"}, {"20230602", "B", "1", "0.2"}});
    w->日期框1->setDate({2023, 1, 5});
    w->日期框2->setDate({2023, 12, 31});
    test::click(w->按钮_日期查询);
    EXPECT_EQ((w->编辑框_最高->text() + " " + w->标签_最高->text() + " " + w->标签_最高占比->text()).toStdString(),
              "A 0.3 60%");
    expectTheFiguresOfTheLines(w, {{2023, 1, 5}, {2023, 12, 31}}, {"A", "B"}, {"张三"});
}

// Lines dated on no calendar day count where the comparison with the bounds counts them.
TEST_F(StatisticsOfTheLinesTest, DatesThatAreNoCalendarDayCountAsTheyCompare) {
    sell({{"20230601", "A", "2", "10"}, {"20231301", "B", "30", "300"}, {"20230230", "C", "7", "70"},
          {"2023011", "B", "9", "90"}, {"20231232", "C", "4", "40"}});
    auto* w = open({2023, 1, 5}, {2023, 12, 31});
    test::click(w->按钮_日期查询);
    EXPECT_EQ((w->编辑框_最多->text() + " " + w->标签_最多->text() + " " + w->标签_总件数->text()).toStdString(),
              "C 7 9");
    for (const Range& r : {Range{{2023, 2, 1}, {2023, 2, 28}}, Range{{2023, 1, 1}, {2023, 12, 31}},
                           Range{{2023, 12, 1}, {2024, 1, 31}}, Range{{2023, 1, 5}, {2023, 12, 31}}})
        expectTheFiguresOfTheLines(w, r, {"A", "B", "C"}, {"张三"});
}
