// Numbers taken where the time stamp repeats: within one second, or at 2:05:27 on a day that
// already had 2:52:07. Each road takes two numbers of one kind through the windows; they differ,
// no line joins another's bill or receipt, and a checkout charges and deducts only its own lines.

#include "app/window_steps.h"
#include "receiving/receipt_list_window.h"
#include "receiving/stock_review.h"
#include "sales/sales_fixture.h"

#include <QAction>
#include <QCoreApplication>
#include <functional>

using masterdata::CatalogueWindow;
using receiving::NewReceiptWindow;
using sales::SalesWindow;
using test::addInCatalogue;
using test::click;
using test::receive;
using test::typeInto;
using ui::Answer;

class SameSecondTest;

struct Road {
    const char* name;
    std::pair<QString, QString> (SameSecondTest::*twoNumbers)();  // the two numbers it took
};
void PrintTo(const Road& road, std::ostream* out) { *out << road.name; }

class SameSecondTest : public test::SalesTest, public ::testing::WithParamInterface<Road> {
protected:
    SalesWindow* openSales() { return open(); }
    static QString billOf(SalesWindow* w) { return w->标签_销售单号->text(); }

    void sell(SalesWindow* w, const QString& code, const QString& quantity) {
        lookUpCode(w, code);
        typeInto(w->编辑框_数量, quantity);
        click(w->按钮_加入);
    }

    // 收款 with Enter, the checkout answered Yes and the ticket No; the change told, or the refusal.
    QString pay(SalesWindow* w, const QString& received) {
        messages.clear();
        messages.answer({Answer::Yes, Answer::No});
        typeInto(w->编辑框_收款, received);
        test::pressEnter(w->编辑框_收款);
        return messages.texts().value(0);
    }

    // One sp1 (199) on the first bill, one sp2 (159) on the second: each bill holds its own line,
    // is paid alone, and each product's stock went down once.
    void expectTwoBillsApart(const QString& first, const QString& second) {
        EXPECT_EQ(rows("select 销售单号,商品编号,数量,状态 from 销售模块"),
                  QStringList({first + "|sp1|1|已买单", second + "|sp2|1|已买单"}));
        EXPECT_EQ(rows("select 商品编号,销售出库,实际库存 from 库存表"),
                  QStringList({"sp1|1|9", "sp2|1|9"}));
    }

    // sp1 on the first bill, paid: 200 gives 1 back.
    void sellSp1AndPay(SalesWindow* w) {
        sell(w, "sp1", "1");
        EXPECT_EQ(pay(w, "200"), "应找零：1元");
    }
    // sp2 on the second bill: the list and the total show it alone, and 300 gives 141 back.
    void sellSp2Alone(SalesWindow* w) {
        sell(w, "sp2", "1");
        EXPECT_EQ(w->超级列表框_销售单->rowCount(), 1);
        EXPECT_EQ(w->标签_总金额->text(), "159");
        EXPECT_EQ(pay(w, "300"), "应找零：141元");
    }
    // The bill the window shows after the first one was paid.
    std::pair<QString, QString> sellSp2OnTheNextBill(SalesWindow* w, const QString& first) {
        const QString second = billOf(w);
        sellSp2Alone(w);
        expectTwoBillsApart(first, second);
        return {first, second};
    }

    NewReceiptWindow* openNewReceipt() {
        if (!receiptList)
            receiptList = openWindow<receiving::ReceiptListWindow>(ui::Placement::TopLeft);
        test::trigger(receiptList->菜单项_新增入库);
        return receiptList->findChild<NewReceiptWindow*>();
    }
    void submit(NewReceiptWindow* r) {
        click(r->按钮_提交表单);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CatalogueWindow* openCatalogue() {
        return openWindow<CatalogueWindow>(ui::Placement::TopLeft);
    }
    // One of the product sold and paid: its stock alone goes down.
    void sellAlone(const QString& code, const QString& other) {
        SalesWindow* w = openSales();
        sell(w, code, "1");
        EXPECT_EQ(w->超级列表框_销售单->rowCount(), 1);
        EXPECT_EQ(pay(w, "100"), "应找零：1元");
        const QString stock = "select 销售出库,实际库存 from 库存表 where 商品编号=?";
        EXPECT_EQ(rows(stock, {code}), QStringList({"1|4"}));
        EXPECT_EQ(rows(stock, {other}), QStringList({"|5"}));
    }

public:
    std::pair<QString, QString> billAfterACheckout() {
        addTwoProducts();
        SalesWindow* w = openSales();
        const QString first = billOf(w);
        sellSp1AndPay(w);
        return sellSp2OnTheNextBill(w, first);
    }

    std::pair<QString, QString> billAtAnEarlierTimeWithTheSameStamp() {
        addTwoProducts();
        clock.set(QDateTime(QDate(2026, 12, 11), QTime(2, 52, 7)));
        SalesWindow* w = openSales();
        const QString first = billOf(w);
        sellSp1AndPay(w);
        delete w;
        clock.set(QDateTime(QDate(2026, 12, 11), QTime(2, 5, 27)));
        return sellSp2OnTheNextBill(openSales(), first);
    }

    std::pair<QString, QString> suspendedBillAndTheNext() {
        addTwoProducts();
        SalesWindow* w = openSales();
        const QString first = billOf(w);
        sell(w, "sp1", "1");
        suspend(w);
        const QString second = billOf(w);
        sellSp2Alone(w);
        // The suspended bill comes back with its own line alone and is paid by itself.
        EXPECT_EQ(w->loadRetrievedBill(first), sales::SalesWindow::Retrieval::Loaded);
        EXPECT_EQ(w->超级列表框_销售单->rowCount(), 1);
        EXPECT_EQ(w->标签_总金额->text(), "199");
        EXPECT_EQ(pay(w, "200"), "应找零：1元");
        EXPECT_EQ(rows("select 销售单号,状态 from 销售管理总模块"), QStringList({first + "|已买单"}));
        expectTwoBillsApart(first, second);
        return std::pair(first, second);
    }

    std::pair<QString, QString> billLineIds() {
        addTwoProducts();
        SalesWindow* w = openSales();
        sell(w, "sp1", "1");
        sell(w, "sp2", "2");
        const QStringList ids = rows("select 销售编号 from 销售模块");
        EXPECT_EQ(pay(w, "600"), "应找零：83元");
        EXPECT_EQ(rows("select 商品编号,销售出库,实际库存 from 库存表"),
                  QStringList({"sp1|1|9", "sp2|2|8"}));
        return std::pair(ids.value(0), ids.value(1));
    }

    std::pair<QString, QString> receiptAfterASubmittedOne() {
        addTwoProducts();
        NewReceiptWindow* r = openNewReceipt();
        const QString first = r->receiptNumber();
        receive(r, "sp1", "2");
        submit(r);
        r = openNewReceipt();
        const QString second = r->receiptNumber();
        receive(r, "sp2", "3");
        EXPECT_EQ(r->超级列表框_入库信息->rowCount(), 1);
        EXPECT_EQ(r->标签_总数->text(), "3");
        submit(r);
        EXPECT_EQ(rows("select 入库单号,商品编号,商品数量 from 入库管理模块"),
                  QStringList({first + "|sp1|2", second + "|sp2|3"}));
        const QStringList headers = rows("select ID,入库单编号,商品总件数 from 入库管理总模块");
        EXPECT_EQ(headers, QStringList({"20240305953|" + first + "|2",
                                        "20240305953-2|" + second + "|3"}));
        // Review and reverse review of the second receipt move its own quantity only.
        EXPECT_TRUE(reviewReceiptStock(db, second, receiving::ReviewMode::Review).done);
        EXPECT_EQ(rows("select 商品编号,实际库存 from 库存表"), QStringList({"sp1|10", "sp2|13"}));
        EXPECT_TRUE(reviewReceiptStock(db, second, receiving::ReviewMode::ReverseReview).done);
        EXPECT_EQ(rows("select 商品编号,实际库存 from 库存表"), QStringList({"sp1|10", "sp2|10"}));
        EXPECT_EQ(rows("select 入库单号,状态 from 入库管理模块"),
                  QStringList({first + "|未入库", second + "|未入库-反审"}));
        return std::pair(first, second);
    }

    std::pair<QString, QString> receiptLineIds() {
        addTwoProducts();
        NewReceiptWindow* r = openNewReceipt();
        receive(r, "sp1", "2");
        receive(r, "sp2", "3");
        EXPECT_EQ(r->超级列表框_入库信息->rowCount(), 2);
        const QStringList ids = rows("select 入库编号 from 入库管理模块");
        return std::pair(ids.value(0), ids.value(1));
    }

    std::pair<QString, QString> proposedProductCodes() {
        CatalogueWindow* c = openCatalogue();
        const QString first = c->编辑框_编号->text();
        addInCatalogue(c, "m1");
        const QString second = c->编辑框_编号->text();
        addInCatalogue(c, "m2");
        EXPECT_EQ(rows("select 编号,助记码 from 商品资料"),
                  QStringList({first + "|m1", second + "|m2"}));
        sellAlone(second, first);
        return std::pair(first, second);
    }

    std::pair<QString, QString> typedProductCodeThatExists() {
        CatalogueWindow* c = openCatalogue();
        const QString first = c->编辑框_编号->text();
        addInCatalogue(c, "m1");
        messages.clear();
        typeInto(c->编辑框_编号, first);
        addInCatalogue(c, "m2");
        EXPECT_EQ(messages.shown, std::vector<test::Shown>({{"你所填写商品编号已经存在，请重新输入！",
                                                             0x10, test::kRemindYou}}));
        EXPECT_EQ(test::focused(), c->编辑框_编号);
        EXPECT_EQ(rows("select count(*) from 商品资料"), QStringList({"1"}));
        EXPECT_EQ(rows("select count(*) from 库存表"), QStringList({"1"}));
        const QString second = "sp-m2";
        typeInto(c->编辑框_编号, second);
        click(c->按钮_添加);
        sellAlone(second, first);
        return std::pair(first, second);
    }

    receiving::ReceiptListWindow* receiptList = nullptr;
};

namespace {

const Road kRoads[] = {
    {"a bill after a checkout in the same second", &SameSecondTest::billAfterACheckout},
    {"a bill at 2:05:27 on a day with a bill paid at 2:52:07",
     &SameSecondTest::billAtAnEarlierTimeWithTheSameStamp},
    {"a suspended bill and the next one", &SameSecondTest::suspendedBillAndTheNext},
    {"a bill line id made twice in one second", &SameSecondTest::billLineIds},
    {"a new receipt in the same second as a submitted one",
     &SameSecondTest::receiptAfterASubmittedOne},
    {"a receipt line id made twice in one second", &SameSecondTest::receiptLineIds},
    {"the proposed code of a second product added in one second",
     &SameSecondTest::proposedProductCodes},
    {"a typed product code that exists", &SameSecondTest::typedProductCodeThatExists},
};

}  // namespace

TEST_P(SameSecondTest, TwoNumbersOfOneKindDiffer) {
    SCOPED_TRACE(GetParam().name);
    const auto [first, second] = (this->*GetParam().twoNumbers)();
    EXPECT_FALSE(first.isEmpty());
    EXPECT_NE(first, second);
}

INSTANTIATE_TEST_SUITE_P(Roads, SameSecondTest, ::testing::ValuesIn(kRoads),
                         [](const ::testing::TestParamInfo<Road>& info) {
                             return "road" + std::to_string(info.index);
                         });
