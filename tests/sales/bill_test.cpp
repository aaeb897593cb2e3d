// The bill's rules without a window: a line's amounts through the price rules, the total and
// the change, the header a suspend writes and the rows an abandon deletes, against the real
// database file.

#include "sales/bill.h"
#include "sales_fixture.h"

#include <functional>

class BillTest : public test::ShopTest {
protected:
    void addLine(const QString& bill, const QString& lineId, const QString& quantity,
                 const QString& amount) {
        exec("insert into 销售模块(销售编号,销售单号,商品编号,数量,小计,状态)values(?,?,?,?,?,?)",
             {lineId, bill, "sp1", quantity, amount, "未确认"});
    }
    void addHeader(const QString& bill, const QString& status = "挂起") {
        exec("insert into 销售管理总模块(编号,销售单号,状态)values(?,?,?)", {"xsz", bill, status});
    }
};

TEST_F(BillTest, SuspendWritesOneFurtherHeaderEachTime) {
    const QString bill = "xs'1\"";  // stored and found as it stands
    addLine(bill, "xsbh1", "2", "100");
    addLine(bill, "xsbh2", "1", "50");
    addLine("xs2", "xsbh3", "7", "10");
    ASSERT_EQ(sales::suspendBill(db, clock, test::shownAsStored(db, bill), QDate(2024, 3, 4), "张三"), "");
    clock.set(clock.now().addSecs(3597));  // 10:05:00
    addLine(bill, "xsbh4", "1", "0.5");
    ASSERT_EQ(sales::suspendBill(db, clock, test::shownAsStored(db, bill), QDate(2024, 3, 5), "李四"), "");
    EXPECT_EQ(rows("select * from 销售管理总模块"),
              QStringList({"xsz20240305953|20240304953|xs'1\"|3|150|张三|挂起",
                           "xsz202403051050|202403051050|xs'1\"|4|150.5|李四|挂起"}));
    EXPECT_EQ(sales::isSuspended(db, bill), true);
    EXPECT_EQ(sales::isSuspended(db, "xs2"), false);
    EXPECT_EQ(sales::suspendedHeaders(db).rowCount(), 2u);
}

TEST_F(BillTest, AFailedSuspendWritesNothing) {
    addLine("xs1", "xsbh1", "2", "100");
    exec("create trigger refuse before insert on 销售管理总模块 begin select raise(abort,'refused'); end");
    EXPECT_EQ(sales::suspendBill(db, clock, test::shownAsStored(db, "xs1"), QDate(2024, 3, 5), "张三"),
              "挂起失败");
    EXPECT_TRUE(rows("select * from 销售管理总模块").isEmpty());
}

// Another program paid the bill, abandoned it, or deleted one of its lines since the window read
// it: every write on it is refused as such and leaves the file as it was.
TEST_F(BillTest, AWriteOnABillChangedElsewhereWritesNothing) {
    const std::pair<const char*, const char*> elsewhere[] = {
        {"paid", "update 销售模块 set 状态='已买单'"},
        {"one line paid", "update 销售模块 set 状态='已买单' where 销售编号='xsbh2'"},
        {"abandoned", "delete from 销售模块"},
        {"a line deleted", "delete from 销售模块 where 销售编号='xsbh2'"},
    };
    using Write = std::function<QString(const sales::ShownBill&)>;
    const std::pair<const char*, Write> writes[] = {
        {"add", [&](const sales::ShownBill& bill) {
             return sales::noticeFor(
                        sales::addBillLine(db, clock, bill,
                                           {clock.now().date(), "sp1", "1", "", "199", "", "k1", "A",
                                            "75", "红", "199", "张三"})
                            .problem)
                 .text;
         }},
        {"change", [&](const sales::ShownBill& bill) {
             return sales::changeBillLine(db, bill, {bill.lineRows[0], "2", "", "398", "", "199"});
         }},
        {"delete", [&](const sales::ShownBill& bill) {
             return sales::deleteBillLine(db, bill, bill.lineRows[0]).failure;
         }},
        {"suspend", [&](const sales::ShownBill& bill) {
             return sales::suspendBill(db, clock, bill, QDate(2024, 3, 5), "张三");
         }},
        {"abandon", [&](const sales::ShownBill& bill) { return sales::abandonBill(db, bill); }},
        {"pay", [&](const sales::ShownBill& bill) { return sales::payBill(db, bill, "300"); }},
    };
    ASSERT_TRUE(test::insertProduct(db, {"sp1", "m1", "b1", "k1", "A", "75", "红", "199"}));
    for (const auto& [change, statement] : elsewhere)
        for (const auto& [name, write] : writes) {
            SCOPED_TRACE(std::string(change) + ", then " + name);
            exec("delete from 销售模块");
            exec("delete from 销售管理总模块");
            addLine("xs1", "xsbh1", "1", "100");
            addLine("xs1", "xsbh2", "1", "200");
            addHeader("xs1");
            const sales::ShownBill shown = test::shownAsStored(db, "xs1");
            exec(statement);
            const QStringList before = rows("select rowid,* from 销售模块") +
                                       rows("select * from 销售管理总模块") + rows("select * from 库存表");
            EXPECT_EQ(write(shown), sales::kBillChangedElsewhere);
            EXPECT_EQ(rows("select rowid,* from 销售模块") + rows("select * from 销售管理总模块") +
                          rows("select * from 库存表"),
                      before);
        }
}

// Still as shown, a bill takes every write; a payment only on the total it was taken on, and
// only while no line was added elsewhere.
TEST_F(BillTest, APaymentTakesExactlyTheBillShownOnItsTotal) {
    ASSERT_TRUE(test::insertProduct(db, {"sp1", "m1", "b1", "k1", "A", "75", "红", "199"}));
    addLine("xs1", "xsbh1", "1", "100");
    const sales::ShownBill shown = test::shownAsStored(db, "xs1");
    addLine("xs1", "xsbh2", "1", "200");  // added elsewhere
    EXPECT_EQ(sales::payBill(db, shown, "300"), sales::kBillChangedElsewhere);
    EXPECT_EQ(sales::payBill(db, test::shownAsStored(db, "xs1"), "100"), sales::kBillChangedElsewhere);
    EXPECT_EQ(rows("select 状态 from 销售模块"), QStringList({"未确认", "未确认"}));
    EXPECT_EQ(sales::payBill(db, test::shownAsStored(db, "xs1"), "300"), "");
    EXPECT_EQ(rows("select 状态 from 销售模块"), QStringList({"已买单", "已买单"}));
    EXPECT_EQ(rows("select 销售出库,实际库存 from 库存表"), QStringList({"2|8"}));
}

TEST_F(BillTest, OnlyAHeaderStillSuspendedCounts) {
    addHeader("xs1", "已买单");
    addHeader("xs2");
    EXPECT_EQ(sales::isSuspended(db, "xs1"), false);
    EXPECT_EQ(sales::isSuspended(db, "xs2"), true);
    EXPECT_EQ(sales::isSuspended(db, "xs"), false);
    EXPECT_EQ(sales::suspendedHeaders(db).text("销售单号"), "xs2");
}

// Line ids repeat within a second: the other bill's line shares the abandoned bill's line id.
TEST_F(BillTest, AbandonDeletesExactlyTheBillsHeadersAndLines) {
    for (int headers : {0, 2}) {
        SCOPED_TRACE(headers);
        exec("delete from 销售模块");
        exec("delete from 销售管理总模块");
        const QString bill = "xs'1";
        addLine(bill, "xsbh1", "1", "100");
        addLine(bill, "xsbh2", "1", "50");
        addLine("xs2", "xsbh1", "3", "30");
        for (int h = 0; h < headers; ++h) addHeader(bill);
        addHeader("xs2");
        EXPECT_EQ(sales::abandonBill(db, test::shownAsStored(db, bill)), "");
        EXPECT_EQ(rows("select 销售编号,销售单号,数量 from 销售模块"), QStringList({"xsbh1|xs2|3"}));
        EXPECT_EQ(rows("select 销售单号 from 销售管理总模块"), QStringList({"xs2"}));
    }
}

TEST_F(BillTest, AFailedAbandonDeletesNothing) {
    struct Case {
        const char* table;
        const char* when;
        QString message;
    };
    const Case cases[] = {
        {"销售管理总模块", "", "总模块删除失败"},
        {"销售模块", "when old.销售编号='xsbh2'", "删除失败"},  // after the headers and xsbh1
    };
    addLine("xs1", "xsbh1", "1", "100");
    addLine("xs1", "xsbh2", "1", "50");
    addHeader("xs1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        exec(QString("create trigger refuse before delete on %1 %2 begin "
                     "select raise(abort,'refused'); end")
                 .arg(c.table, c.when));
        EXPECT_EQ(sales::abandonBill(db, test::shownAsStored(db, "xs1")), c.message);
        EXPECT_EQ(rows("select 销售编号 from 销售模块"), QStringList({"xsbh1", "xsbh2"}));
        EXPECT_EQ(rows("select 销售单号 from 销售管理总模块"), QStringList({"xs1"}));
        exec("drop trigger refuse");
    }
}

// Each amount as the boxes show it, exact to the fifteenth digit and without the noise of
// doubles, then through the price rules: the subtotal shown passes them, and a discounted one
// asks for its reason.
TEST_F(BillTest, LineAmountsAreExactToTheFifteenthDigit) {
    const struct {
        QString price, quantity, discount;
        QString subtotal, discounted;
    } cases[] = {
        {"123456789012344", "1", "", "123456789012344", "123456789012344"},
        {"123456789012345", "1", "不打折", "123456789012345", "123456789012345"},
        {"99999999.9999999", "1", "", "99999999.9999999", "99999999.9999999"},
        {"99999999.9999999", "3", "", "300000000", "99999999.9999999"},  // 16 digits, rounded
        {"199", "1", "8.5", "169.15", "169.15"},
        {"199", "2", "8.5", "338.3", "169.15"},
        {"0.1", "3", "", "0.3", "0.1"},
        {"123456789012345", "2", "8.5", "209876541320987", "104938270660493"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.price + " x " + c.quantity + " / " + c.discount).toStdString());
        exec("delete from 商品资料");
        exec("delete from 销售模块");
        ASSERT_TRUE(test::insertProduct(db, {"sp1", "m1", "b1", "k1", "A", "75", "红", c.price}));
        EXPECT_EQ(sales::subtotalText(c.discount, c.price, c.quantity), c.subtotal);
        EXPECT_EQ(sales::discountedPrice(c.discount, c.price), c.discounted);
        const sales::ShownBill bill = {"xs1", {}, true};
        sales::BillLine line{clock.now().date(), "sp1", c.quantity, c.discount, c.subtotal, "",
                             "k1", "A", "75", "红", c.price, "张三"};
        if (!sales::isNoDiscount(c.discount)) {
            EXPECT_EQ(sales::addBillLine(db, clock, bill, line).problem, sales::LineProblem::ReasonNeeded);
            line.discountReason = "会员";
        }
        EXPECT_EQ(sales::addBillLine(db, clock, bill, line).problem, sales::LineProblem::None);
        EXPECT_EQ(rows("select 小计,折后价 from 销售模块"), QStringList{c.subtotal + "|" + c.discounted});
    }
    // The rules see the fifteenth digit of a typed subtotal.
    const std::pair<QString, sales::LineProblem> typed[] = {
        {"123456789012345", sales::LineProblem::AboveTagPrice},
        {"123456789012343", sales::LineProblem::ReasonNeeded},
    };
    for (const auto& [subtotal, problem] : typed)
        EXPECT_EQ(sales::addBillLine(db, clock, {"xs1", {}, true}, {clock.now().date(), "sp1", "1", "", subtotal, "",
                                                 "k1", "A", "75", "红", "123456789012344", "张三"})
                      .problem,
                  problem)
            << subtotal.toStdString();
}

TEST_F(BillTest, TheTotalAndTheChangeAreExact) {
    const struct {
        QStringList amounts;
        QString total;
        QString received;
        QString change;  // "" when the payment falls short
    } cases[] = {
        {{"299.3"}, "299.3", "300", "0.7"},
        {{"300", "-299.3"}, "0.7", "0.7", "0"},
        {{"12.07", "-12.01"}, "0.06", "0.1", "0.04"},
        {{"0.1", "0.2"}, "0.3", "0.3", "0"},
        {{"123456789012344"}, "123456789012344", "123456789012345", "1"},
        {{"99999999.9999999"}, "99999999.99", "100000000", "0.01"},
        {{"123456789012344"}, "123456789012344", "123456789012343", ""},
        {{"199", "169.15"}, "368.15", "368.14", ""},
        {{}, "", "", "0"},
        // The exact sum, cut once, whatever the lines' order.
        {{"123456789012345", "0.5", "0.5"}, "123456789012346", "123456789012346", "0"},
        {{"0.5", "0.5", "123456789012345"}, "123456789012346", "123456789012346", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amounts.join(" + ").toStdString());
        exec("delete from 销售模块");
        for (const QString& amount : c.amounts) addLine("xs1", "xsbh", "1", amount);
        EXPECT_EQ(sales::makeBillTotal(db, "xs1"), c.total);
        EXPECT_EQ(sales::changeFor(c.received, c.total).value_or(""), c.change);
    }
}
