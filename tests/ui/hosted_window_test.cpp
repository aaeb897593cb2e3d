#include "support/fixture.h"
#include "ui/controls.h"
#include "ui/hosted_window.h"
#include "ui/list_view.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using test::ShopTest;

namespace {

class Sample : public ui::HostedWindow {
public:
    Sample(session::Shell&, QWidget* host, QSize size = QSize(300, 200))
        : HostedWindow(host, "样例", size), edit(new QLineEdit(body())) {
        edit->setObjectName("edit");
        edit->setFocus();  // the created event's focus
    }
    QLineEdit* edit;
};

}  // namespace

class HostedWindowTest : public ShopTest {};

TEST_F(HostedWindowTest, PlacementsAndCentringUseOuterSizes) {
    // The host's outer size counts, frame included, as the main window's does.
    const QSize host = mainWindow->frameGeometry().size();
    auto* centred = openWindow<Sample>(ui::Placement::Centred);
    EXPECT_EQ(centred->pos(), QPoint(int(host.width() / 2.0 - 150), int(host.height() / 2.0 - 100)));
    EXPECT_TRUE(centred->isVisible());
    EXPECT_EQ(mainWindow->findChild<Sample*>(), centred);
    EXPECT_EQ(openWindow<Sample>(ui::Placement::TopLeft)->pos(), QPoint(0, 0));
    EXPECT_EQ(openWindow<Sample>(ui::Placement::Fixed)->pos(), QPoint(100, 30));
    // Larger than its host: a negative place, used as computed (truncated toward zero).
    EXPECT_EQ(openWindow<Sample>(ui::Placement::Centred, QSize(host.width() + 101, host.height() + 101))
                  ->pos(),
              QPoint(-50, -50));
}

TEST_F(HostedWindowTest, NestedHostsAndCloseDestroys) {
    auto* outer = openWindow<Sample>(ui::Placement::TopLeft, QSize(600, 400));
    auto* inner = new Sample(shell, outer, QSize(200, 100));
    ui::openHostedWindow(inner, outer, ui::Placement::Centred);
    EXPECT_EQ(inner->pos(), QPoint(200, 150));
    EXPECT_EQ(outer->findChild<Sample*>(), inner);
    EXPECT_EQ(test::focused(), inner->edit);
    QPointer<Sample> watched = inner;
    inner->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
}

TEST_F(HostedWindowTest, TheCreatedEventsFocusHoldsOnceShown) {
    auto* window = openWindow<Sample>();
    EXPECT_EQ(test::focused(), window->edit);
}

TEST_F(HostedWindowTest, OpeningTakesTheKeyboardFromAnotherTopLevelWindow) {
    QWidget panel;  // a window of its own, as the navigation panel is
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &panel; }));
    auto* window = openWindow<Sample>();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == mainWindow.get(); }));
    EXPECT_EQ(test::focused(), window->edit);
}

TEST(Controls, NoSelectionEmptiesEditableBoxesAndEnterRunsBeforeTheControl) {
    QWidget parent;
    QComboBox* box = ui::makeComboBox(&parent, true);
    ui::fillCombo(box, {"A", "B"});
    EXPECT_EQ(box->currentIndex(), -1);
    box->setCurrentIndex(1);
    box->setEditText("typed");
    ui::setNoSelection(box);
    EXPECT_EQ(box->currentText(), "");
    int entered = 0;
    ui::onEnter(box, [&] { ++entered; });
    test::pressEnter(box);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(box->count(), 2);  // the editable box inserted nothing
}

TEST(Controls, ListViewCellsOfNoRowAreEmptyAndDeletingAllClearsTheSelection) {
    QWidget parent;
    ui::ListView list(&parent, {{"a", 50}, {"hidden", 0}});
    list.setRows({{"1", "x"}, {"2", "y"}});
    EXPECT_EQ(list.selectedRow(), -1);
    EXPECT_EQ(list.cell(-1, 0), "");
    list.selectRow(1);
    EXPECT_EQ(list.selectedRow(), 1);
    EXPECT_EQ(list.cell(list.selectedRow(), 1), "y");
    EXPECT_EQ(list.appendRow({"3"}), 2);
    EXPECT_EQ(list.cell(2, 1), "");
    list.deleteAllRows();
    EXPECT_EQ(list.selectedRow(), -1);
    EXPECT_EQ(list.rowCount(), 0);
}

TEST_F(HostedWindowTest, ListViewShowsARecordSetAndStaysEditable) {
    exec("insert into 用户管理模块(用户名,密码)values(?,?)", {"张三", "d1"});
    ui::ListView list(mainWindow.get(), {{"密码", 140}, {"用户名", 120}, {"无", 50}});
    list.setRows(db.query("select * from 用户管理模块"), {"密码", "用户名", "没有"});
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.cell(1, 0), "d1");
    EXPECT_EQ(list.cell(1, 1), "张三");
    EXPECT_EQ(list.cell(1, 2), "");
    EXPECT_EQ(list.appendRow({"d2", "李四"}), 2);
    list.setCell(0, 0, "x");
    EXPECT_EQ(list.cell(0, 0), "x");
    EXPECT_EQ(list.cell(1, 1), "张三");
    EXPECT_EQ(list.cell(2, 1), "李四");
}

// Showing a set again redraws only the rows that read differently while the row count holds.
TEST_F(HostedWindowTest, ListViewShowsASetAgainRowByRow) {
    exec("insert into 用户管理模块(用户名,密码)values(?,?),(?,?)", {"张三", "d1", "李四", "d2"});
    const QString users = "select * from 用户管理模块";
    ui::ListView list(mainWindow.get(), {{"用户名", 120}, {"密码", 140}});
    list.setRows(db.query(users), {"用户名", "密码"});
    list.selectRow(1);
    QSignalSpy changed(list.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy reset(list.model(), &QAbstractItemModel::modelReset);
    QSignalSpy selected(&list, &ui::ListView::selectedRowChanged);
    exec("update 用户管理模块 set 密码='d3' where 用户名='李四'");
    list.updateRows(db.query(users), {"用户名", "密码"});
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 2);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 2);
    EXPECT_EQ(reset.size(), 0);
    EXPECT_EQ(list.cell(2, 1), "d3");
    EXPECT_EQ(list.selectedRow(), -1);
    EXPECT_EQ(selected.size(), 0);  // as a reset drops it

    exec("delete from 用户管理模块 where 用户名='张三'");
    list.updateRows(db.query(users), {"用户名", "密码"});
    EXPECT_EQ(reset.size(), 1);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.cell(1, 1), "d3");
}

TEST_F(HostedWindowTest, TypingChineseReachesTheBoxKeyByKey) {
    auto* window = openWindow<Sample>();
    int edits = 0;
    QObject::connect(window->edit, &QLineEdit::textEdited, [&] { ++edits; });
    test::typeInto(window->edit, "文胸A");
    EXPECT_EQ(window->edit->text(), "文胸A");
    EXPECT_EQ(edits, 3);
}

// A window covered by another is not painted again with the lists and boxes it holds whenever
// something beneath changes; the upper one paints its own background and border.
TEST_F(HostedWindowTest, AWindowCoveredByAnotherIsNotPaintedAgain) {
    auto* lower = openWindow<Sample>(ui::Placement::TopLeft);
    auto* upper = openWindow<Sample>(ui::Placement::TopLeft);
    QApplication::processEvents();
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } count;
    lower->edit->installEventFilter(&count);
    upper->edit->installEventFilter(&count);
    lower->edit->update();
    QApplication::processEvents();
    EXPECT_EQ(count.paints, 0);
    upper->edit->update();
    QApplication::processEvents();
    EXPECT_EQ(count.paints, 1);

    const QImage shown = upper->grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, upper->height() / 2), QColor(0x5b, 0x7f, 0xb0));
    EXPECT_EQ(shown.pixelColor(upper->width() / 2, upper->height() - 4),
              upper->palette().color(QPalette::Window));
}
