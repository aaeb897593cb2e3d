#include "app/set_password_window.h"

#include "app/main_window.h"
#include "session/password_digest.h"
#include "ui/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace app {

SetPasswordWindow::SetPasswordWindow(session::Shell& shell, QWidget* host)
    : HostedWindow(host, QStringLiteral("设置密码"), QSize(260, 179)), shell_(shell) {
    QWidget* form = body();
    const auto makeLabel = [form](QLabel*& label, const char* name, const QString& caption,
                                  QRect place) {
        label = new QLabel(caption, form);
        label->setObjectName(QString::fromUtf8(name));
        label->setGeometry(place);
    };
    makeLabel(标签4, "标签4", QStringLiteral("管理员用户名为:"), QRect(16, 8, 112, 26));
    makeLabel(标签5, "标签5", QStringLiteral("admin"), QRect(116, 6, 110, 30));
    QFont large = 标签5->font();
    large.setPixelSize(20);
    large.setBold(true);
    标签5->setFont(large);
    makeLabel(标签1, "标签1", QStringLiteral("密码"), QRect(16, 42, 66, 24));
    编辑框2 = ui::makePasswordEdit(form);
    编辑框2->setObjectName(QStringLiteral("编辑框2"));
    编辑框2->setGeometry(86, 42, 150, 24);
    makeLabel(标签2, "标签2", QStringLiteral("确认密码"), QRect(16, 72, 66, 24));
    编辑框1 = ui::makePasswordEdit(form);
    编辑框1->setObjectName(QStringLiteral("编辑框1"));
    编辑框1->setGeometry(86, 72, 150, 24);
    makeLabel(标签3, "标签3", QStringLiteral("请输入英文或者数字"), QRect(86, 98, 150, 18));
    标签3->setStyleSheet(QStringLiteral("color: #808080;"));
    按钮1 = new QPushButton(QStringLiteral("确认"), form);
    按钮1->setObjectName(QStringLiteral("按钮1"));
    按钮1->setGeometry(94, 119, 72, 26);

    ui::onEnter(编辑框2, [this] { 编辑框1->setFocus(); });
    ui::onEnter(编辑框1, [this] { storeAdminPassword(); });
    connect(按钮1, &QPushButton::clicked, this, &SetPasswordWindow::storeAdminPassword);
    // The Enter chain starts in the password box, so the typing does too.
    编辑框2->setFocus();
}

void SetPasswordWindow::storeAdminPassword() {
    if (refusesInput()) return;
    const QString digest = session::makePasswordDigest(编辑框2->text());
    if (digest.isEmpty() || !writeAdminDigest(digest)) {
        shell_.showMessage(QStringLiteral("存储密码失败，请联系作者！"), 0x40, ui::kStandardTitle);
        shell_.endProgram();
        return;
    }
    showNavigationPanel(shell_);
    close();
}

bool SetPasswordWindow::refusesInput() {
    struct Check {
        bool refused;
        const char* message;
        QLineEdit* focus;
    };
    const Check checks[] = {
        {编辑框1->text().isEmpty(), "你还没有输入确认密码", 编辑框1},
        {编辑框2->text().isEmpty(), "你还没有输入密码", 编辑框2},
        {编辑框2->text() != 编辑框1->text(), "你两次输入的密码不一样！", 编辑框1},
    };
    for (const Check& check : checks) {
        if (!check.refused) continue;
        shell_.showMessage(QString::fromUtf8(check.message), 0x40, ui::kStandardTitle);
        check.focus->setFocus();
        return true;
    }
    // A password login refuses would lock the administrator out for good.
    if (const QString unusable = session::unusablePassword(编辑框2->text()); !unusable.isEmpty()) {
        shell_.showMessage(unusable, 0x40, ui::kStandardTitle);
        编辑框2->setFocus();
        return true;
    }
    return false;
}

// The users' window can delete admin's row; without it nobody could ever become the
// administrator again, so an update that reaches no row makes the row anew.
bool SetPasswordWindow::writeAdminDigest(const QString& digest) {
    if (!shell_.db.execute(QStringLiteral("update 用户管理模块 set 密码 =? where 用户名='admin'"),
                           {digest}))
        return false;
    if (shell_.db.changedRows() > 0) return true;
    return shell_.db.execute(QStringLiteral("insert into 用户管理模块(用户名,密码)values(?,?)"),
                             {session::kAdministrator, digest});
}

}  // namespace app
