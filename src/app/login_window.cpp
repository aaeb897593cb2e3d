#include "app/login_window.h"

#include "app/entry_windows.h"
#include "app/main_window.h"
#include "session/password_digest.h"
#include "ui/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace app {

namespace {

const QString kNotice = QStringLiteral("提示");

// The entries a login opens, in the order they are tested; 用户登录, 软件帮助 and no entry open
// nothing.
constexpr int kLoginDispatch[] = {kEntryReceiving, kEntryCatalogue,  kEntrySales,
                                  kEntrySettings,  kEntryStatistics, kEntryStockQuery};

// The entries every user may ask for at login; any other gets the no-permission message.
bool isEveryUsersEntry(int entry) {
    return entry == kEntryLogin || entry == kEntrySales || entry == kEntryStockQuery;
}

QPixmap drawBackground(QSize size) {
    QPixmap picture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(0xfb, 0xe3, 0xee));
    fill.setColorAt(1, QColor(0xff, 0xfa, 0xfc));
    painter.fillRect(picture.rect(), fill);
    QLinearGradient band(0, 0, size.width(), 0);
    band.setColorAt(0, QColor(0xc0, 0x5a, 0x8b));
    band.setColorAt(1, QColor(0xe8, 0x9c, 0xbf));
    painter.fillRect(QRect(0, 0, size.width(), 46), band);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, size.width(), 46), Qt::AlignCenter,
                     QStringLiteral("沐岚轩内衣ERP系统"));
    painter.setPen(QPen(QColor(0xc0, 0x5a, 0x8b, 60), 1));
    painter.drawLine(20, size.height() - 52, size.width() - 20, size.height() - 52);
    return picture;
}

}  // namespace

LoginWindow::LoginWindow(session::Shell& shell, QWidget* host)
    : HostedWindow(host, QStringLiteral("用户登录"), QSize(332, 215)), shell_(shell) {
    QWidget* form = body();
    auto* background = new QLabel(form);
    background->setPixmap(drawBackground(form->size()));
    background->setGeometry(form->rect());

    标签1 = new QLabel(QStringLiteral("用户名"), form);
    标签1->setObjectName(QStringLiteral("标签1"));
    编辑框_用户名 = new QLineEdit(form);
    编辑框_用户名->setObjectName(QStringLiteral("编辑框_用户名"));
    标签2 = new QLabel(QStringLiteral("密  码"), form);
    标签2->setObjectName(QStringLiteral("标签2"));
    编辑框_密码 = ui::makePasswordEdit(form);
    编辑框_密码->setObjectName(QStringLiteral("编辑框_密码"));
    按钮_登录 = new QPushButton(QStringLiteral("登录"), form);
    按钮_登录->setObjectName(QStringLiteral("按钮_登录"));
    按钮_重置 = new QPushButton(QStringLiteral("重置"), form);
    按钮_重置->setObjectName(QStringLiteral("按钮_重置"));

    标签1->setGeometry(62, 62, 50, 24);
    编辑框_用户名->setGeometry(116, 62, 150, 24);
    标签2->setGeometry(62, 96, 50, 24);
    编辑框_密码->setGeometry(116, 96, 150, 24);
    按钮_登录->setGeometry(86, 144, 72, 28);
    按钮_重置->setGeometry(174, 144, 72, 28);

    ui::onEnter(编辑框_用户名, [this] { 编辑框_密码->setFocus(); });
    ui::onEnter(编辑框_密码, [this] { logIn(); });
    connect(按钮_登录, &QPushButton::clicked, this, &LoginWindow::logIn);
    connect(按钮_重置, &QPushButton::clicked, this, &LoginWindow::reset);

    编辑框_用户名->setFocus();
}

void LoginWindow::logIn() {
    const QString userName = 编辑框_用户名->text();
    const QString password = 编辑框_密码->text();
    if (refusesInput(userName, password)) return;
    // Users that could not be read are no wrong password: nobody is logged in.
    const std::optional<bool> matches = hasPassword(userName, password);
    if (!matches) return shell_.tellReadFailed();
    if (!*matches) {
        shell_.showMessage(QStringLiteral("用户名密码不正确，请重新输入！"), 0x40, kNotice);
        return;
    }
    shell_.currentUser = userName;
    shell_.showMessage(QStringLiteral("欢迎") + userName + QStringLiteral("进入沐岚轩内衣ERP系统！"), 0,
                       kNotice);
    close();

    if (!shell_.isAdministrator() && !isEveryUsersEntry(shell_.requestedEntry)) {
        shell_.showMessage(userName + QStringLiteral(",你无权使用此项功能，请与管理员联系！"), 0x40,
                           ui::kRemindYouTitle);
        return;
    }
    openRequestedEntry();
    if (auto* mainWindow = qobject_cast<MainWindow*>(shell_.mainWindow))
        mainWindow->标签_欢迎->setText(userName + QStringLiteral("，欢迎您进入沐岚轩内衣ERP系统！"));
}

// Each password carries its own salt, so the user's rows are read and each digest is checked.
std::optional<bool> LoginWindow::hasPassword(const QString& userName, const QString& password) {
    store::RecordSet users = shell_.db.query(
        QStringLiteral("select 密码 from 用户管理模块 where 用户名=?"), {userName});
    if (users.failed()) return std::nullopt;
    for (; !users.atEnd(); users.moveNext())
        if (session::passwordMatches(password, users.text(1))) return true;
    return false;
}

bool LoginWindow::refusesInput(const QString& userName, const QString& password) {
    const QString warning = QStringLiteral("警告");
    struct Check {
        bool refused;
        const char* message;
        const QString& title;
    };
    const Check checks[] = {
        {session::hasQuotationMark(userName), "用户名中存在注入破解语句！", warning},
        {session::hasQuotationMark(password), "密码中存在注入破解语句！", warning},
        {userName.isEmpty(), "你还没有输入用户名，请输入后再登陆！", kNotice},
        {password.isEmpty(), "你还没有输入密码，请输入后再登陆！", kNotice},
    };
    for (const Check& check : checks) {
        if (!check.refused) continue;
        shell_.showMessage(QString::fromUtf8(check.message), 0x40, check.title);
        return true;
    }
    return false;
}

void LoginWindow::openRequestedEntry() {
    for (int entry : kLoginDispatch) {
        if (entry != shell_.requestedEntry) continue;
        openEntryWindow(shell_, entry);
        return;
    }
}

void LoginWindow::reset() {
    编辑框_用户名->clear();
    编辑框_密码->clear();
    编辑框_用户名->setFocus();
}

}  // namespace app
