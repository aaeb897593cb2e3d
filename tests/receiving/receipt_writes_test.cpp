// The rules behind the receiving windows' writes, against what can go wrong underneath them: a
// read that fails inside the write, and quantities beyond what a double carries.

#include "receiving/line_change.h"
#include "receiving/new_receipt_line.h"
#include "receiving/receipt_header.h"
#include "receiving/stock_review.h"
#include "receiving_fixture.h"

#include <functional>

using receiving::ReviewMode;

namespace {

const QString kStock = "select 商品编号,期初库存,实际库存,进货库存,退货库存 from 库存表";

}  // namespace

class ReceiptWritesTest : public test::ReceivingTest {
protected:
    void addProduct(const QString& code) {
        exec("insert into 商品资料(编号,款号,吊牌价,进货价)values(?,?,?,?)", {code, "k" + code, "1", "0.5"});
    }

    // The row key of the receipt's first line, as the line change window gets it from the list.
    QString firstLineKey(const QString& receipt) {
        return db.query("select rowid from 入库管理模块 where 入库单号 =?", {receipt}).text(1);
    }

    QString review(ReviewMode mode) {
        return receiving::reviewReceiptStock(db, "rk1", mode).message;
    }
};

// Each read that a write depends on, made to fail: the action's own failure, nothing written,
// never an answer made of no rows (a status refusal, an empty style list, a stock left alone).
TEST_F(ReceiptWritesTest, AReadThatFailsInsideAWriteIsThatWritesFailure) {
    addProduct("P1");
    addStock({{"P1", "10"}, {"P2", "5.0"}});
    const auto changeLine = [&] {
        return receiving::changeLineQuantity(db, {firstLineKey("rk1"), "rk1", "4"}).message;
    };
    const auto submit = [&] {
        return receiving::submitReceiptHeader(db, clock, {"rk2", "3", "3", "1.5", "20240305", "admin", "无"})
                   ? QStringLiteral("submitted")
                   : QStringLiteral("执行提交失败，请联系作者！");
    };
    const auto addLine = [&] {
        receiving::ReceiptTotals totals;
        return receiving::noticeFor(receiving::addReceiptLine(db, clock, {"rk2", "P1", "1"}, totals).problem)
            .text;
    };
    const struct {
        const char* read;
        std::function<QString()> action;
        QString failure;
    } cases[] = {
        {"select 状态 from 入库管理总模块", [&] { return review(ReviewMode::Review); }, "审核失败！"},
        {"select 商品编号,商品数量 from 入库管理模块", [&] { return review(ReviewMode::Review); }, "审核失败！"},
        {"select rowid,商品编号,期初库存", [&] { return review(ReviewMode::Review); }, "审核失败！"},
        {"select 状态 from 入库管理总模块", [&] { return review(ReviewMode::ReverseReview); }, "反审失败！"},
        {"select 商品编号,商品数量 from 入库管理模块", [&] { return review(ReviewMode::ReverseReview); },
         "反审失败！"},
        {"select rowid,商品编号,期初库存", [&] { return review(ReviewMode::ReverseReview); }, "反审失败！"},
        {"select 状态,商品数量 from 入库管理模块", changeLine, "执行修改失败，请联系作者!"},
        {"select 商品总件数 from 入库管理总模块", changeLine, "执行修改失败！"},
        {"select distinct 款号 from 入库管理模块", submit, "执行提交失败，请联系作者！"},
        {"select count(款号)", submit, "执行提交失败，请联系作者！"},
        {"from 商品资料 where 编号", addLine, "执行添加失败！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.read);
        for (const char* table : {"入库管理模块", "入库管理总模块"}) exec(QString("delete from ") + table);
        const bool reversing = c.failure == u"反审失败！";
        addReceipt("rk1", {{"P1", "3"}}, reversing ? "已入库" : "未入库");
        addReceipt("rk2", {{"P1", "3"}});
        exec("delete from 入库管理总模块 where 入库单编号='rk2'");  // lines written, not submitted
        const QStringList before = everything();
        db.failQueriesContaining(c.read);
        EXPECT_EQ(c.action(), c.failure);
        db.failQueriesContaining({});
        EXPECT_EQ(everything(), before);
    }
}

// Quantities through a line add, a line change, review and reverse review: each is refused at
// entry unless a double carries it exactly, and so is a line whose running totals would not be
// carried exactly; a review whose new figure would not be carried exactly fails and writes
// nothing; review then reverse review gives every stock row its figure
// back, a row the receipt does not name included.
TEST_F(ReceiptWritesTest, QuantitiesComeBackIntoStockExactlyOrAreRefused) {
    addProduct("P1");
    const struct {
        QStringList quantities;  // lines of P1, on a stock of 5
        QStringList added;       // "" for each line added, else the notice
        QString reviewed;        // P1's figure after the review, or the failure
    } cases[] = {
        {{"2.5"}, {""}, "7.5"},
        {{"3"}, {""}, "8"},
        {{"0.1", "0.2"}, {"", ""}, "5.3"},
        {{"-4.75"}, {""}, "0.25"},
        {{"9007199254740993"}, {"执行添加失败！"}, "5"},
        {{"123456789012345678"}, {"执行添加失败！"}, "5"},
        {{"1e300"}, {"执行添加失败！"}, "5"},
        {{"abc"}, {"执行添加失败！"}, "5"},
        // Carried exactly one by one, but the stock figure they make would not be.
        {{"1e200"}, {""}, "审核失败！"},
        {{"999999999999998"}, {""}, "审核失败！"},
        // Carried exactly, but its purchase total (0.5 each) would not be.
        {{"999999999999999"}, {"执行添加失败！"}, "5"},
        // The second would make a running total no header column holds.
        {{"9e254", "9e254"}, {"", "执行添加失败！"}, "审核失败！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quantities.join(" ").toStdString());
        for (const char* table : {"库存表", "入库管理模块", "入库管理总模块"})
            exec(QString("delete from ") + table);
        addStock({{"P1", "5"}, {"P2", "12345678901234567"}, {"P3", "7"}});
        receiving::ReceiptTotals totals{"0", "", ""};
        QStringList added;
        for (const QString& quantity : c.quantities) {
            clock.set(clock.now().addSecs(1));
            added << receiving::noticeFor(
                         receiving::addReceiptLine(db, clock, {"rk1", "P1", quantity}, totals).problem)
                         .text;
        }
        EXPECT_EQ(added, c.added);
        ASSERT_TRUE(receiving::submitReceiptHeader(
            db, clock, {"rk1", totals.pieces, totals.tagPrice, totals.purchasePrice, "20240305", "admin", "无"}));
        const QStringList before = rows(kStock);
        const bool reviews = !c.reviewed.endsWith(u'！');
        EXPECT_EQ(review(ReviewMode::Review), reviews ? "审核成功！" : c.reviewed);
        EXPECT_EQ(rows("select 实际库存 from 库存表 where 商品编号='P1'"),
                  QStringList{reviews ? c.reviewed : "5"});
        if (!reviews) {
            EXPECT_EQ(rows(kStock), before);
            continue;
        }
        EXPECT_EQ(review(ReviewMode::ReverseReview), "反审成功！");
        EXPECT_EQ(rows(kStock), before);
    }
    // A line change takes only what a line add takes.
    for (const char* quantity : {"9007199254740993", "1e300", "abc", "nan"})
        EXPECT_EQ(receiving::refusalOfQuantity("3", quantity), "执行修改失败，请联系作者!") << quantity;
    for (const char* quantity : {"2.5", "999999999999999", "1e200", "-2", "00"})
        EXPECT_EQ(receiving::refusalOfQuantity("3", quantity), "") << quantity;
}

// The running totals of a new receipt and the piece total a line change moves are exact to the
// fifteenth digit; a line whose totals would need more digits is refused and adds nothing.
TEST_F(ReceiptWritesTest, ReceiptTotalsAreExactToTheFifteenthDigit) {
    const struct {
        QString tagPrice, purchasePrice;
        QStringList quantities;
        QString totals;  // pieces|tag|purchase after the lines that are added
        QString refused;  // the quantity of a last line refused, if any
    } cases[] = {
        {"1", "123456789012344", {"1"}, "1|1|123456789012344", ""},
        {"99999999.9999999", "0.85", {"1"}, "1|99999999.9999999|0.85", "2"},
        {"199", "0.85", {"2"}, "2|398|1.7", ""},
        {"1", "199", {"0.85"}, "0.85|0.85|169.15", ""},
        {"1", "1", {"300", "-299.3"}, "0.7|0.7|0.7", ""},
        {"1", "1", {"0.1", "0.2"}, "0.3|0.3|0.3", ""},
        {"0.5", "abc", {"123456789012344", "1"}, "123456789012345|61728394506172.5|0", ""},
        {"0.25", "abc", {}, "||", "123456789012345"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.tagPrice + " / " + c.purchasePrice).toStdString());
        exec("delete from 商品资料");
        exec("insert into 商品资料(编号,款号,吊牌价,进货价)values(?,?,?,?)",
             {"P1", "kP1", c.tagPrice, c.purchasePrice});
        receiving::ReceiptTotals totals;
        QStringList quantities = c.quantities;
        if (!c.refused.isEmpty()) quantities << c.refused;
        for (qsizetype i = 0; i < quantities.size(); ++i) {
            clock.set(clock.now().addSecs(1));
            const bool refused = !c.refused.isEmpty() && i == quantities.size() - 1;
            EXPECT_EQ(receiving::addReceiptLine(db, clock, {"rk1", "P1", quantities[i]}, totals).problem,
                      refused ? receiving::LineProblem::NotStored : receiving::LineProblem::None)
                << quantities[i].toStdString();
        }
        EXPECT_EQ(QStringList({totals.pieces, totals.tagPrice, totals.purchasePrice}).join('|'), c.totals);
    }

    const std::pair<QString, QString> changes[] = {
        {"123456789012343", "123456789012344"},
        {"99999999999998.9", "99999999999999.9"},
        {"99999999999999.9", ""},  // 100000000000000.9 needs 16 digits
    };
    for (const auto& [before, after] : changes) {
        SCOPED_TRACE(before.toStdString());
        for (const char* table : {"入库管理模块", "入库管理总模块"}) exec(QString("delete from ") + table);
        addReceipt("rk1", {{"P1", "3"}});
        exec("update 入库管理总模块 set 商品总件数=?", {before});
        const receiving::Outcome outcome =
            receiving::changeLineQuantity(db, {firstLineKey("rk1"), "rk1", "4.5"});
        EXPECT_EQ(outcome.message, after.isEmpty() ? "执行修改失败！" : "执行修改成功！");
        EXPECT_EQ(rows("select 商品总件数 from 入库管理总模块"), QStringList{after.isEmpty() ? before : after});
        EXPECT_EQ(rows("select 商品数量 from 入库管理模块"), QStringList{after.isEmpty() ? "3" : "4.5"});
    }
}
