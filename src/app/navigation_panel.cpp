#include "app/navigation_panel.h"

#include "app/entry_windows.h"
#include "ui/picture_box.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>

namespace app {

namespace {

constexpr int kPanelWidth = 190;
constexpr int kPanelHeight = 570;
constexpr int kContactBoxHeight = 150;

struct MenuEntry {
    const char* text;
    const char* glyph;  // the character on the entry's picture
    QRgb colour;
};

// In entry order: the row is the navigation entry.
const MenuEntry kMenuEntries[] = {
    {"用户登录", "登", 0x3f6aa8}, {"店铺销售", "销", 0xd0576b}, {"商品资料", "商", 0x4c9a6a},
    {"商品入库", "入", 0xd08a2e}, {"销售统计", "统", 0x7b5bb0}, {"库存查询", "存", 0x2f8f9d},
    {"系统管理", "管", 0x6b6f78}, {"软件帮助", "助", 0xc05a8b},
};

struct PanelEntry {
    int entry;
    bool administratorOnly;
};

// The order in which the panel tests the entries once somebody is logged in.
constexpr PanelEntry kPanelDispatch[] = {
    {kEntryCatalogue, true}, {kEntryReceiving, true},  {kEntrySales, false},
    {kEntrySettings, true},  {kEntryStatistics, true}, {kEntryStockQuery, false},
    {kEntryHelp, false},
};

QIcon drawEntryIcon(const MenuEntry& entry) {
    constexpr int kSize = 32;
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour(entry.colour);
    QLinearGradient fill(0, 0, 0, kSize);
    fill.setColorAt(0, colour.lighter(135));
    fill.setColorAt(1, colour);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(1, 1, kSize - 2, kSize - 2), 7, 7);
    painter.fillPath(tile, fill);
    QFont font = painter.font();
    font.setPixelSize(18);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(picture.rect(), Qt::AlignCenter, QString::fromUtf8(entry.glyph));
    return QIcon(picture);
}

}  // namespace

NavigationPanel::NavigationPanel(session::Shell& shell) : QWidget(nullptr, Qt::Window), shell_(shell) {
    setWindowTitle(QStringLiteral("操作菜单"));
    setWindowIcon(ui::programIcon());
    resize(kPanelWidth, kPanelHeight);
    buildMenu();
    buildContactBox();
}

void NavigationPanel::buildMenu() {
    菜单项 = new QListWidget(this);
    菜单项->setObjectName(QStringLiteral("菜单项"));
    菜单项->setGeometry(4, 4, kPanelWidth - 8, kPanelHeight - kContactBoxHeight - 12);
    菜单项->setIconSize(QSize(32, 32));
    菜单项->setSpacing(3);
    菜单项->setSelectionMode(QAbstractItemView::SingleSelection);
    菜单项->setStyleSheet(QStringLiteral(
        "QListWidget { font-size: 15px; background: #fdf4f8; border: 1px solid #d9a3bd; }"
        "QListWidget::item { padding: 2px; }"
        "QListWidget::item:selected { background: #f3c6da; color: black; }"));
    for (const MenuEntry& entry : kMenuEntries)
        菜单项->addItem(new QListWidgetItem(drawEntryIcon(entry), QString::fromUtf8(entry.text)));
    connect(菜单项, &QListWidget::itemDoubleClicked, this, &NavigationPanel::openNavigationEntry);
}

void NavigationPanel::buildContactBox() {
    分组框1 = new QGroupBox(QStringLiteral("交流信息"), this);
    分组框1->setObjectName(QStringLiteral("分组框1"));
    分组框1->setGeometry(4, kPanelHeight - kContactBoxHeight - 4, kPanelWidth - 8, kContactBoxHeight);
    图片框1 = new ui::PictureBox(分组框1,
                                ui::drawBanner(QSize(165, 20), QStringLiteral("访问沐岚轩官网"), 12));
    图片框1->setObjectName(QStringLiteral("图片框1"));
    图片框1->move(8, 22);
    connect(图片框1, &ui::PictureBox::leftButtonDown, this, &ui::openMakersPage);
    const QString lines[] = {QStringLiteral("沐岚轩内衣进销存软件"), QStringLiteral("V1.0 内部测试版"),
                             QStringLiteral("问题与建议请联系作者"), QStringLiteral("点击上方图片访问官网")};
    int top = 50;
    for (const QString& line : lines) {
        auto* label = new QLabel(line, 分组框1);
        label->setGeometry(10, top, kPanelWidth - 28, 20);
        label->setEnabled(false);
        top += 23;
    }
}

void NavigationPanel::openNavigationEntry() {
    const QList<QListWidgetItem*> selected = 菜单项->selectedItems();
    shell_.requestedEntry = selected.isEmpty() ? -1 : 菜单项->row(selected.first());
    if (!shell_.isLoggedIn()) {
        openLoginWindow(shell_);
        return;
    }
    if (shell_.requestedEntry == kEntryLogin) {
        shell_.showMessage(shell_.currentUser + QStringLiteral("你已经登录，请退出后在重新登录！"), 0x50,
                           QStringLiteral("错误"));
        return;
    }
    // A user other than the administrator on an administrator's entry, or no entry: nothing.
    for (const PanelEntry& gate : kPanelDispatch) {
        if (gate.entry != shell_.requestedEntry) continue;
        if (!gate.administratorOnly || shell_.isAdministrator())
            openEntryWindow(shell_, gate.entry);
        return;
    }
}

// Minimised, the panel leaves the task bar; the main window's restore brings it back.
void NavigationPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        hide();
    }
}

void NavigationPanel::closeEvent(QCloseEvent* event) {
    event->accept();
    shell_.endProgram();
}

}  // namespace app
