#include "sales_fixture.h"
#include "store/stamps.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QPointer>
#include <QTest>

using sales::RetrieveSuspendedWindow;
using sales::SalesWindow;
using test::Shown;
using ui::Answer;
using ui::kStandardTitle;

namespace {

const Shown kChooseABill = {"请选择一张销售单或者退出！", 0x40, kStandardTitle};

void flushClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class RetrieveSuspendedWindowTest : public test::SalesTest {
protected:
    // A bill of sp1 x2 and sp2 x1 (557), suspended; the window then shows a new bill.
    QString suspendedBill(SalesWindow* w) {
        const QString bill = w->标签_销售单号->text();
        addLine(w, "sp1", "2");
        addLine(w, "sp2", "1");
        suspend(w);
        tick();
        return bill;
    }

    void retrieveRow(RetrieveSuspendedWindow* r, int row) {
        test::selectRow(r->超级列表框_取回挂起, row);
        test::click(r->按钮_取回);
        flushClosedWindows();
    }

    QStringList listed(RetrieveSuspendedWindow* r) {
        QStringList result;
        for (int row = 0; row < r->超级列表框_取回挂起->rowCount(); ++row) {
            QStringList cells;
            for (int c = 0; c < 5; ++c) cells << r->超级列表框_取回挂起->cell(row, c);
            result << cells.join(u'|');
        }
        return result;
    }
};

TEST_F(RetrieveSuspendedWindowTest, ListsTheSuspendedHeadersCentredInTheSalesWindow) {
    addTwoProducts();
    exec("insert into 销售管理总模块(编号,销售日期,销售单号,总件数,销售总金额,销售人员,状态)"
         "values(?,?,?,?,?,?,?)",
         {"xsz0", "20240304800", "xs-paid", "1", "199", "小王", "已买单"});
    SalesWindow* w = open();
    const QString bill = suspendedBill(w);
    RetrieveSuspendedWindow* r = openRetrieve(w);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->windowTitle(), "取回挂起");
    EXPECT_EQ(r->size(), QSize(383, 231));
    EXPECT_EQ(r->parentWidget(), w);
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->pos(), QPoint(int(743 / 2.0 - 383 / 2.0), int(512 / 2.0 - 231 / 2.0)));
    const QStringList captions = {"销售时间", "销售单号", "件数", "金额", "销售人员"};
    const int widths[] = {90, 120, 50, 50, 60};
    for (int c = 0; c < captions.size(); ++c) {
        EXPECT_EQ(r->超级列表框_取回挂起->model()->headerData(c, Qt::Horizontal).toString(),
                  captions[c]);
        EXPECT_EQ(r->超级列表框_取回挂起->columnWidth(c), widths[c]);
    }
    EXPECT_EQ(r->按钮_取回->text(), "取回");
    EXPECT_EQ(listed(r), QStringList({"20240305955|" + bill + "|3|557|张三"}));
    EXPECT_EQ(r->超级列表框_取回挂起->selectedRow(), -1);

    // 取回 with no row selected: the window stays open.
    messages.clear();
    test::click(r->按钮_取回);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kChooseABill});
    EXPECT_TRUE(r->isVisible());
    EXPECT_NE(w->标签_销售单号->text(), bill);

    // 取回挂起 again while it stands open: the same window, with the bills suspended meanwhile.
    suspendedBill(w);
    EXPECT_EQ(openRetrieve(w), r);
    EXPECT_EQ(w->findChildren<RetrieveSuspendedWindow*>().size(), 1);
    EXPECT_EQ(r->超级列表框_取回挂起->rowCount(), 2);
}

// Suspended, retrieved, extended and suspended again: two rows, each bringing back the same lines
// and the total of all of them.
TEST_F(RetrieveSuspendedWindowTest, ABillSuspendedTwiceIsListedTwiceAndComesBackWhole) {
    addTwoProducts();
    SalesWindow* w = open();
    const QString bill = suspendedBill(w);
    retrieveRow(openRetrieve(w), 0);
    EXPECT_EQ(w->findChild<RetrieveSuspendedWindow*>(), nullptr);
    addLine(w, "sp2", "1");
    suspend(w);
    tick();

    for (int row : {0, 1}) {
        SCOPED_TRACE(row);
        test::typeInto(w->编辑框_收款, "800");
        RetrieveSuspendedWindow* r = openRetrieve(w);
        ASSERT_EQ(r->超级列表框_取回挂起->rowCount(), 2);
        EXPECT_EQ(r->超级列表框_取回挂起->cell(row, 1), bill);
        EXPECT_EQ(r->超级列表框_取回挂起->cell(row, 3), row == 0 ? "557" : "716");
        retrieveRow(r, row);
        EXPECT_EQ(w->findChild<RetrieveSuspendedWindow*>(), nullptr);
        EXPECT_EQ(w->标签_销售单号->text(), bill);
        EXPECT_EQ(w->分组框2->title(), bill);
        EXPECT_EQ(w->超级列表框_销售单->rowCount(), 3);
        EXPECT_EQ(w->标签_总金额->text(), "716");
        EXPECT_EQ(w->编辑框_收款->text(), "800");  // a retrieve resets no entry field
        w->setUpSalesWindow();
    }
    EXPECT_EQ(rows("select distinct 状态 from 销售管理总模块"), QStringList({"挂起"}));
}

TEST_F(RetrieveSuspendedWindowTest, ADoubleClickRetrievesAtOnce) {
    addTwoProducts();
    SalesWindow* w = open();
    const QString bill = suspendedBill(w);
    RetrieveSuspendedWindow* r = openRetrieve(w);
    // As the mouse does it: press, release, then the double click and its release.
    QWidget* rows = r->超级列表框_取回挂起->viewport();
    const QPoint at =
        r->超级列表框_取回挂起->visualRect(r->超级列表框_取回挂起->model()->index(0, 1)).center();
    QTest::mouseClick(rows, Qt::LeftButton, {}, at);
    QTest::mouseDClick(rows, Qt::LeftButton, {}, at);
    QTest::mouseRelease(rows, Qt::LeftButton, {}, at);
    flushClosedWindows();
    EXPECT_EQ(w->findChild<RetrieveSuspendedWindow*>(), nullptr);
    EXPECT_EQ(w->标签_销售单号->text(), bill);
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 2);
}

// The list is not modal and is filled when it opens: a bill paid meanwhile must not come back,
// or a second checkout would deduct its stock twice.
TEST_F(RetrieveSuspendedWindowTest, ABillPaidWhileTheListStoodOpenIsRefused) {
    addTwoProducts();
    SalesWindow* w = open();
    const QString bill = suspendedBill(w);
    retrieveRow(openRetrieve(w), 0);
    QPointer<RetrieveSuspendedWindow> r = openRetrieve(w);
    messages.answer({Answer::Yes, Answer::No});
    test::click(w->按钮_确认买单);
    const QString next = w->标签_销售单号->text();
    ASSERT_NE(next, bill);

    messages.clear();
    retrieveRow(r, 0);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kChooseABill});
    ASSERT_FALSE(r.isNull());
    EXPECT_EQ(r->超级列表框_取回挂起->rowCount(), 0);
    EXPECT_EQ(w->标签_销售单号->text(), next);
    EXPECT_EQ(w->超级列表框_销售单->rowCount(), 0);
    EXPECT_EQ(rows("select 商品编号,销售出库,实际库存 from 库存表"), QStringList({"sp1|2|8", "sp2|1|9"}));
}
