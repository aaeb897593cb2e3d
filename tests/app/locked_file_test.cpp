// Every write the program makes, while another program holds the file: a lock shorter than the
// wait is waited out and the action succeeds; a longer one gives the action's own failure and
// leaves the file as it was. Every read a user sees, under a lock longer than the wait, is told
// as the failure it is, never as "not found", a wrong password or an empty list.

#include "app/login_window.h"
#include "masterdata/catalogue_window.h"
#include "masterdata/change_password_window.h"
#include "masterdata/settings_window.h"
#include "receiving/add_product_window.h"
#include "receiving/line_change_window.h"
#include "receiving/new_receipt_window.h"
#include "receiving/receipt_list_window.h"
#include "receiving/receipt_query_window.h"
#include "receiving/review_window.h"
#include "reports/sales_statistics_window.h"
#include "reports/stock_query_window.h"
#include "sales/retrieve_suspended_window.h"
#include "sales/sales_window.h"
#include "session/password_digest.h"
#include "store/schema.h"
#include "support/child_roles.h"
#include "support/fixture.h"
#include "ui/list_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <map>

using ui::Answer;

namespace {

// What the user does and is told: the messages of the action on success and on failure.
struct WriteAction {
    std::function<void()> prepare;  // the windows and rows the action starts from
    std::function<void()> act;
    QStringList succeeded;
    QStringList failed;
    // How the long hold keeps the file: an action that refuses to write on a read it could not
    // make meets its write's own failure only under a hold that lets others read.
    test::Lock longHold = test::Lock::Exclusive;
};

struct LockCase {
    const char* action;
    bool outlastsTheWait;
};
void PrintTo(const LockCase& c, std::ostream* out) {
    *out << c.action << (c.outlastsTheWait ? " under a long lock" : " under a short lock");
}

// What the user does that reads, and what else shows that nothing was taken for no answer.
struct ReadAction {
    std::function<void()> prepare;
    std::function<void()> act;
    std::function<void()> check = [] {};
    QStringList askedFirst = {};  // the action's question, answered Yes, before it reads
};

const QString kReadFailed = QStringLiteral("读取数据失败！");

}  // namespace

class LockedFileFixture : public test::ShopTest {
protected:
    LockedFileFixture() {
        shell.currentUser = "admin";
        exec("update 系统设置 set 折扣=?,折扣原因=? where id='1'", {"不打折,9", "会员"});
        exec("insert into 商品资料(编号,助记码,条形码,款号,品名,杯型,尺码,颜色,吊牌价,进货价,库存)"
             "values('sp1','m1','b1','k1','文胸','A','75','红','199','90','10')");
        exec("insert into 库存表(商品编号,助记码,款号,期初库存,销售出库,实际库存)"
             "values('sp1','m1','k1','10','0','10')");
        exec("insert into 用户管理模块(用户名,密码)values(?,?)", {"u1", session::makePasswordDigest("old")});
    }

    // Every row of every table, to see that a failed action wrote nothing.
    QStringList wholeFile() {
        QStringList all;
        for (const QString& table : rows("select name from sqlite_master where type='table' order by name"))
            all << table << rows("select * from \"" + table + "\"");
        return all;
    }

    template <typename Window>
    Window* child(QObject* host) {
        Window* found = host->findChild<Window*>();
        EXPECT_NE(found, nullptr);
        return found;
    }

    // A submitted receipt rk1 of sp1 x 3 with `status`, and the receipt list showing it.
    void receiptListWith(const QString& status) {
        exec("insert into 入库管理模块(入库编号,入库单号,商品编号,商品数量,款号,状态)"
             "values('1','rk1','sp1','3','k1',?)", {status});
        exec("insert into 入库管理总模块(ID,入库单编号,商品总件数,款式数量,入库人员,状态)"
             "values('1','rk1','3','1','admin',?)", {status});
        receipts = openWindow<receiving::ReceiptListWindow>(ui::Placement::TopLeft);
        test::selectRow(receipts->超级列表框_入库单列表, 0);
    }

    void review(receiving::ReceiptListWindow* list, QAction* item, bool forward) {
        test::trigger(item);
        messages.answer(Answer::Yes);
        auto* w = child<receiving::ReviewWindow>(list);
        test::click(forward ? w->按钮_审核 : w->按钮_反审);
    }

    // A new receipt with its add-product window open on sp1 x `quantity`.
    receiving::AddProductWindow* addProductWindow(const QString& quantity) {
        receipts = openWindow<receiving::ReceiptListWindow>(ui::Placement::TopLeft);
        test::trigger(receipts->菜单项_新增入库);
        newReceipt = child<receiving::NewReceiptWindow>(receipts);
        test::click(newReceipt->按钮_添加产品);
        auto* w = child<receiving::AddProductWindow>(newReceipt);
        test::choose(w->组合框_编号, "sp1");
        test::typeInto(w->编辑框_数量, quantity);
        return w;
    }

    // The sales window with sp1 x 1 on its bill.
    sales::SalesWindow* billOfOne() {
        sales = openWindow<sales::SalesWindow>();
        addBillLine("sp1");
        return sales;
    }
    void addBillLine(const QString& code) {
        clock.set(clock.now().addSecs(1));
        test::typeInto(sales->组合框_编号, code);
        test::pressEnter(sales->组合框_编号);
        test::typeInto(sales->编辑框_数量, "1");
        test::click(sales->按钮_加入);
    }

    masterdata::CatalogueWindow* catalogue = nullptr;
    masterdata::SettingsWindow* settings = nullptr;
    receiving::ReceiptListWindow* receipts = nullptr;
    receiving::NewReceiptWindow* newReceipt = nullptr;
    sales::SalesWindow* sales = nullptr;
};

class LockedFileTest : public LockedFileFixture, public ::testing::WithParamInterface<LockCase> {
protected:
    std::map<std::string, WriteAction> actions() {
        return {
            {"product add",
             {[&] {
                  catalogue = openWindow<masterdata::CatalogueWindow>(ui::Placement::TopLeft);
                  for (auto [edit, text] : {std::pair{catalogue->编辑框_助记码, "m2"},
                                            {catalogue->编辑框_款号, "k2"},
                                            {catalogue->编辑框_品名, "内裤"},
                                            {catalogue->编辑框_库存, "5"}})
                      test::typeInto(edit, text);
              },
              [&] { test::click(catalogue->按钮_添加); },
              {"商品资料添加成功！"},
              {"商品资料添加失败！"}}},
            {"product change",
             {[&] {
                  catalogue = openWindow<masterdata::CatalogueWindow>(ui::Placement::TopLeft);
                  test::selectRow(catalogue->超级列表框_商品资料, 0);
                  test::trigger(catalogue->菜单项_修改);
                  test::typeInto(catalogue->编辑框_品名, "新品名");
              },
              [&] {
                  messages.answer(Answer::Yes);
                  test::click(catalogue->按钮_确认修改);
              },
              {"是否确认修改商品资料！是：修改！否：返回！", "商品资料修改成功！"},
              {"是否确认修改商品资料！是：修改！否：返回！", "商品资料修改失败！"}}},
            {"product delete",
             {[&] {
                  catalogue = openWindow<masterdata::CatalogueWindow>(ui::Placement::TopLeft);
                  test::selectRow(catalogue->超级列表框_商品资料, 0);
              },
              [&] {
                  messages.answer(Answer::Yes);
                  test::click(catalogue->按钮_删除);
              },
              {"是否删除该条商品资料？", "删除商品资料成功！"},
              {"是否删除该条商品资料？", "删除商品资料失败！"}}},
            {"settings list",
             {[&] {
                  settings = openWindow<masterdata::SettingsWindow>();
                  test::typeInto(settings->组合框_品牌, "爱慕");
              },
              [&] { test::click(settings->按钮_品牌增加); },
              {"添加成功！"},
              {"增加品牌失败！"}}},
            {"user add",
             {[&] {
                  settings = openWindow<masterdata::SettingsWindow>();
                  test::typeInto(settings->编辑框1, "u2");
                  test::typeInto(settings->编辑框2, "pw");
                  test::typeInto(settings->编辑框3, "pw");
              },
              [&] { test::click(settings->按钮_增加用户); },
              {"添加用户成功！"},
              {"添加用户失败！"}}},
            {"user delete",
             {[&] {
                  settings = openWindow<masterdata::SettingsWindow>();
                  test::selectRow(settings->超级列表框1, 1);
              },
              [&] {
                  messages.answer(Answer::Yes);
                  test::trigger(settings->删除用户);
              },
              {"你确定要删除:u1-用户吗？"},
              {"你确定要删除:u1-用户吗？", "删除失败！"}}},
            {"password change",
             {[&] {
                  settings = openWindow<masterdata::SettingsWindow>();
                  test::selectRow(settings->超级列表框1, 1);
                  test::trigger(settings->修改密码);
                  auto* w = child<masterdata::ChangePasswordWindow>(settings);
                  test::typeInto(w->编辑框1, "old");
                  test::typeInto(w->编辑框3, "new");
                  test::typeInto(w->编辑框2, "new");
              },
              [&] { test::click(child<masterdata::ChangePasswordWindow>(settings)->按钮_修改密码); },
              {"修改密码成功！"},
              {"修改密码失败！"}}},
            {"receipt line add",
             {[&] { addProductWindow("3"); },
              [&] { test::click(child<receiving::AddProductWindow>(newReceipt)->按钮_添加); },
              {"执行添加成功！"},
              {"执行添加失败！", "读取数据失败！"}}},
            {"receipt submit",
             {[&] {
                  test::click(addProductWindow("3")->按钮_添加);
                  messages.clear();
              },
              [&] { test::click(newReceipt->按钮_提交表单); },
              {"执行提交成功，需要在商品入库窗口执行审核入库才能增加库存！"},
              {"执行提交失败，请联系作者！"}}},
            {"receipt delete",
             {[&] { receiptListWith("未入库"); },
              [&] {
                  messages.answer(Answer::Yes);
                  test::trigger(receipts->菜单项_删除入库单);
              },
              {"这张入库单还没有入库，你确定要删除么，删除后将不可恢复！", "入库单已经删除！"},
              {"这张入库单还没有入库，你确定要删除么，删除后将不可恢复！", "删除失败！"}}},
            {"receipt line change",
             {[&] {
                  receiptListWith("未入库");
                  test::selectRow(receipts->超级列表框_入库单详情, 0);
                  test::trigger(receipts->菜单项_修改);
                  test::typeInto(child<receiving::LineChangeWindow>(receipts)->编辑框_输入修改, "5");
              },
              [&] { test::click(child<receiving::LineChangeWindow>(receipts)->按钮确认修改); },
              {"执行修改成功！"},
              {"执行修改失败！"}}},
            {"review",
             {[&] { receiptListWith("未入库"); },
              [&] { review(receipts, receipts->菜单项_审核入库单, true); },
              {"是否将入库单内容加入库存！", "审核成功！"},
              {"读取数据失败！", "是否将入库单内容加入库存！", "审核失败！"}}},
            {"reverse review",
             {[&] { receiptListWith("已入库"); },
              [&] { review(receipts, receipts->菜单项_反审入库单, false); },
              {"是否将入库单内容从库存中减去！", "反审成功！"},
              {"读取数据失败！", "是否将入库单内容从库存中减去！", "反审失败！"}}},
            {"bill line add",
             {[&] {
                  sales = openWindow<sales::SalesWindow>();
                  test::typeInto(sales->组合框_编号, "sp1");
                  test::pressEnter(sales->组合框_编号);
                  test::typeInto(sales->编辑框_数量, "1");
              },
              [&] { test::click(sales->按钮_加入); },
              {},
              {"加入销售单失败!"}}},
            {"bill line change",
             {[&] {
                  billOfOne();
                  test::selectRow(sales->超级列表框_销售单, 0);
                  test::trigger(sales->菜单项_修改);
                  test::typeInto(sales->编辑框_数量, "2");
              },
              [&] { test::click(sales->按钮_修改); },
              {},
              {"修改失败!"}}},
            {"bill line delete",
             {[&] {
                  billOfOne();
                  test::selectRow(sales->超级列表框_销售单, 0);
              },
              [&] { test::trigger(sales->菜单项_删除); },
              {},
              {"删除失败！"}}},
            {"suspend",
             {[&] { billOfOne(); },
              [&] {
                  messages.answer(Answer::Yes);
                  test::click(sales->按钮_挂起);
              },
              {"是否挂起！"},
              {"是否挂起！", "挂起失败"},
              test::Lock::Write}},
            {"abandon",
             {[&] { billOfOne(); },
              [&] {
                  messages.answer(Answer::Yes);
                  test::click(sales->按钮_废弃);
              },
              {"是否废弃这张销售单！"},
              {"是否废弃这张销售单！", "删除失败"}}},
            {"checkout",
             {[&] {
                  billOfOne();
                  test::typeInto(sales->编辑框_收款, "200");
              },
              [&] {
                  const bool succeeds = !GetParam().outlastsTheWait;
                  messages.answer(succeeds ? std::initializer_list<Answer>{Answer::Yes, Answer::No}
                                           : std::initializer_list<Answer>{Answer::Yes});
                  test::pressEnter(sales->编辑框_收款);
              },
              {"应找零：1元", "是否确认买单！", "是否打印小票！", "　　　　继续努力！加油！"},
              {"应找零：1元", "是否确认买单！", "数据库写入失败！"},
              test::Lock::Write}},
        };
    }
};

TEST_P(LockedFileTest, AShortLockIsWaitedOutAndALongOneFailsTheActionWritingNothing) {
    const WriteAction action = actions().at(GetParam().action);
    action.prepare();
    messages.clear();
    const QStringList before = wholeFile();
    const bool outlasts = GetParam().outlastsTheWait;
    if (outlasts) db.setBusyTimeout(200);
    {
        test::LockHolder holder(store::databaseFilePath(folder.path()),
                                outlasts ? action.longHold : test::Lock::Write);
        if (!outlasts) holder.letGoIn(300);
        action.act();
    }
    EXPECT_EQ(messages.texts(), outlasts ? action.failed : action.succeeded);
    if (outlasts) EXPECT_EQ(wholeFile(), before);
    else EXPECT_NE(wholeFile(), before);
}

INSTANTIATE_TEST_SUITE_P(
    EveryWrite, LockedFileTest,
    ::testing::ValuesIn([] {
        std::vector<LockCase> cases;
        for (const char* action :
             {"product add", "product change", "product delete", "settings list", "user add",
              "user delete", "password change", "receipt line add", "receipt submit",
              "receipt delete", "receipt line change", "review", "reverse review",
              "bill line add", "bill line change", "bill line delete", "suspend", "abandon",
              "checkout"})
            for (bool outlasts : {false, true}) cases.push_back({action, outlasts});
        return cases;
    }()),
    [](const ::testing::TestParamInfo<LockCase>& info) {
        std::string name = info.param.action;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name + (info.param.outlastsTheWait ? "_long" : "_short");
    });

class LockedReadTest : public LockedFileFixture, public ::testing::WithParamInterface<const char*> {
protected:
    // Typed into a box of the sales window, then Enter.
    std::function<void()> enterInSales(QComboBox* sales::SalesWindow::*box, const QString& text) {
        return [this, box, text] {
            test::typeInto(sales->*box, text);
            test::pressEnter(sales->*box);
        };
    }
    void totalStillShown() { EXPECT_EQ(sales->标签_总金额->text(), "199"); }

    reports::StockQueryWindow* stockQuery() { return openWindow<reports::StockQueryWindow>(); }

    std::map<std::string, ReadAction> reads() {
        return {
            {"login",
             {[&] {
                  shell.currentUser.clear();
                  auto* w = openWindow<app::LoginWindow>();
                  test::typeInto(w->编辑框_用户名, "u1");
                  test::typeInto(w->编辑框_密码, "old");
              },
              [&] { test::click(child<app::LoginWindow>(mainWindow.get())->按钮_登录); },
              [&] { EXPECT_FALSE(shell.isLoggedIn()); }}},
            {"sales code lookup",
             {[&] { billOfOne(); }, enterInSales(&sales::SalesWindow::组合框_编号, "sp1"),
              [&] { totalStillShown(); }}},
            {"sales barcode lookup",
             {[&] { billOfOne(); }, enterInSales(&sales::SalesWindow::组合框_条形码, "b1"),
              [&] { totalStillShown(); }}},
            {"sales mnemonic lookup",
             {[&] { billOfOne(); }, enterInSales(&sales::SalesWindow::组合框_助记码, "m1"),
              [&] { totalStillShown(); }}},
            {"sales style number",
             {[&] { billOfOne(); }, enterInSales(&sales::SalesWindow::组合框_款号, "k1")}},
            {"sales reset",
             {[&] { billOfOne(); }, [&] { test::click(sales->按钮_重置); },
              [&] { totalStillShown(); }}},
            // Change mode is entered only with the line's product read: without its price, the
            // change would store a subtotal of 0.
            {"sales line change",
             {[&] {
                  billOfOne();
                  test::selectRow(sales->超级列表框_销售单, 0);
              },
              [&] { test::trigger(sales->菜单项_修改); },
              [&] {
                  EXPECT_TRUE(sales->按钮_加入->isVisible());
                  EXPECT_FALSE(sales->按钮_修改->isVisible());
                  EXPECT_EQ(sales->编辑框_数量->text(), "");
                  totalStillShown();
                  EXPECT_EQ(rows("select 数量,小计 from 销售模块"), QStringList({"1|199"}));
              }}},
            {"suspended bills",
             {[&] { billOfOne(); }, [&] { test::click(sales->按钮_取回挂起); }}},
            {"retrieve",
             {[&] {
                  billOfOne();
                  messages.answer(Answer::Yes);
                  test::click(sales->按钮_挂起);
                  test::click(sales->按钮_取回挂起);
                  test::selectRow(child<sales::RetrieveSuspendedWindow>(sales)->超级列表框_取回挂起, 0);
              },
              [&] { test::click(child<sales::RetrieveSuspendedWindow>(sales)->按钮_取回); },
              [&] {
                  EXPECT_TRUE(child<sales::RetrieveSuspendedWindow>(sales)->isVisible());
                  EXPECT_EQ(sales->超级列表框_销售单->rowCount(), 0);
              }}},
            {"stock query window",
             {[] {}, [&] { stockQuery(); }}},
            {"sales statistics window",
             {[&] {
                  exec("insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,小计,状态,销售人员)"
                       "values('x1',20240305,'xs1','sp1',1,199,'已买单','admin')");
              },
              [&] { openWindow<reports::SalesStatisticsWindow>(); },
              [&] {
                  auto* w = child<reports::SalesStatisticsWindow>(mainWindow.get());
                  EXPECT_EQ(w->组合框1->count() + w->组合框_个人->count(), 0);
              }}},
            {"stock query by code",
             {[&] { test::choose(stockQuery()->组合框1, "sp1"); },
              [&] { test::click(child<reports::StockQueryWindow>(mainWindow.get())->按钮1); },
              [&] {
                  EXPECT_EQ(child<reports::StockQueryWindow>(mainWindow.get())->组合框1->currentText(),
                            "sp1");
              }}},
            {"stock query by mnemonic code",
             {[&] { test::typeInto(stockQuery()->编辑框1, "m1"); },
              [&] { test::click(child<reports::StockQueryWindow>(mainWindow.get())->按钮1); }}},
            {"stock query by style number",
             {[&] { test::typeInto(stockQuery()->组合框2, "k1"); },
              [&] { test::click(child<reports::StockQueryWindow>(mainWindow.get())->按钮2); }}},
            {"receipt query",
             {[&] {
                  receiptListWith("未入库");
                  test::trigger(receipts->菜单项_查询入库单);
                  child<receiving::ReceiptQueryWindow>(receipts)->选择框_人员->setChecked(true);
              },
              [&] { test::click(child<receiving::ReceiptQueryWindow>(receipts)->按钮_查询); },
              [&] { EXPECT_TRUE(child<receiving::ReceiptQueryWindow>(receipts)->isVisible()); }}},
            {"receipt list",
             {[&] { receiptListWith("未入库"); },
              [&] { test::trigger(receipts->菜单项_刷新入库单列表); }}},
            {"add-product code typed",
             {[&] { addProductWindow("3"); },
              [&] {
                  auto* w = child<receiving::AddProductWindow>(newReceipt);
                  w->组合框_编号->setEditText("sp1");
                  test::pressEnter(w->组合框_编号);
              }}},
            {"add-product code chosen",
             {[&] { addProductWindow("3"); },
              [&] { test::choose(child<receiving::AddProductWindow>(newReceipt)->组合框_编号, "sp1"); }}},
            {"catalogue",
             {[] {}, [&] { openWindow<masterdata::CatalogueWindow>(ui::Placement::TopLeft); }}},
            {"catalogue query",
             {[&] {
                  catalogue = openWindow<masterdata::CatalogueWindow>(ui::Placement::TopLeft);
                  test::typeInto(catalogue->编辑框_编号, "sp1");
              },
              [&] { test::click(catalogue->按钮_查询); },
              [&] { EXPECT_EQ(catalogue->超级列表框_商品资料->rowCount(), 1); },
              {"编号框内是否是你所要查询的编码！"}}},
            {"settings",
             {[] {}, [&] { openWindow<masterdata::SettingsWindow>(); }}},
        };
    }
};

// The failure is told once, however many reads the action made, and nothing else is said.
TEST_P(LockedReadTest, AReadUnderALongLockIsToldAsAFailureAndTakenForNoAnswer) {
    const ReadAction action = reads().at(GetParam());
    action.prepare();
    messages.clear();
    for (qsizetype i = 0; i < action.askedFirst.size(); ++i) messages.answer(Answer::Yes);
    db.setBusyTimeout(200);
    {
        test::LockHolder holder(store::databaseFilePath(folder.path()), test::Lock::Exclusive);
        action.act();
    }
    EXPECT_EQ(messages.texts(), action.askedFirst + QStringList{kReadFailed});
    EXPECT_EQ(messages.shown.back(), (test::Shown{kReadFailed, 0x40, ui::kStandardTitle}));
    action.check();
}

INSTANTIATE_TEST_SUITE_P(
    EveryRead, LockedReadTest,
    ::testing::Values("login", "sales code lookup", "sales barcode lookup",
                      "sales mnemonic lookup", "sales style number", "sales reset",
                      "sales line change", "suspended bills", "retrieve", "stock query window", "stock query by code",
                      "stock query by mnemonic code", "stock query by style number",
                      "sales statistics window",
                      "receipt query", "receipt list", "add-product code typed",
                      "add-product code chosen", "catalogue", "catalogue query", "settings"),
    [](const ::testing::TestParamInfo<const char*>& info) {
        std::string name = info.param;
        for (char& c : name)
            if (c == ' ' || c == '-') c = '_';
        return name;
    });
