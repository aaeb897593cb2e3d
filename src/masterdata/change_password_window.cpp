#include "masterdata/change_password_window.h"

#include "session/password_digest.h"
#include "ui/controls.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace masterdata {

ChangePasswordWindow::ChangePasswordWindow(session::Shell& shell, QWidget* host, QString userName)
    : HostedWindow(host, QStringLiteral("修改密码"), QSize(240, 253)),
      shell_(shell),
      userName_(std::move(userName)) {
    分组框1 = new QGroupBox(userName_, body());
    分组框1->setObjectName(QStringLiteral("分组框1"));
    编辑框1 = ui::makePasswordEdit(分组框1);
    编辑框3 = ui::makePasswordEdit(分组框1);
    编辑框2 = ui::makePasswordEdit(分组框1);
    编辑框1->setObjectName(QStringLiteral("编辑框1"));
    编辑框3->setObjectName(QStringLiteral("编辑框3"));
    编辑框2->setObjectName(QStringLiteral("编辑框2"));

    auto* form = new QFormLayout(分组框1);
    form->setContentsMargins(12, 14, 12, 14);
    form->setVerticalSpacing(14);
    const std::tuple<const char*, const char*, QLineEdit*> rows[] = {
        {"标签1", "原密码：", 编辑框1}, {"标签3", "新密码：", 编辑框3}, {"标签2", "重复密码：", 编辑框2}};
    for (const auto& [name, caption, edit] : rows) {
        auto* label = new QLabel(QString::fromUtf8(caption), 分组框1);
        label->setObjectName(QString::fromUtf8(name));
        form->addRow(label, edit);
    }

    按钮_修改密码 = new QPushButton(QStringLiteral("确认修改"), body());
    按钮_修改密码->setObjectName(QStringLiteral("按钮_修改密码"));
    按钮_修改密码->setFixedWidth(90);
    connect(按钮_修改密码, &QPushButton::clicked, this, &ChangePasswordWindow::changePassword);

    auto* column = new QVBoxLayout(body());
    column->setContentsMargins(10, 8, 10, 10);
    column->setSpacing(10);
    column->addWidget(分组框1);
    column->addWidget(按钮_修改密码, 0, Qt::AlignHCenter);
    column->addStretch(1);
}

void ChangePasswordWindow::changePassword() {
    // A user deleted meanwhile has no row: the stored digest reads "", which no password matches.
    const store::RecordSet user =
        shell_.db.query(QStringLiteral("select * from 用户管理模块 where 用户名=?"), {userName_});
    const QString stored = user.text(QStringLiteral("密码"));
    const auto refuse = [this](const QString& text) {
        shell_.showMessage(text, 0x40, ui::kStandardTitle);
        emptyBoxes();
    };
    const QString failed = QStringLiteral("修改密码失败！");
    if (user.failed()) return refuse(failed);
    const QString fresh = 编辑框3->text();
    if (!session::passwordMatches(编辑框1->text(), stored))
        return refuse(QStringLiteral("原密码不正确！"));
    if (编辑框2->text() != fresh) return refuse(QStringLiteral("新密码两次输入不一致！"));
    if (session::passwordMatches(fresh, stored))
        return refuse(QStringLiteral("新密码与原密码不能一样！"));
    if (const QString unusable = session::unusablePassword(fresh); !unusable.isEmpty())
        return refuse(unusable);
    const QString newDigest = session::makePasswordDigest(fresh);
    if (newDigest.isEmpty() ||
        !shell_.db.execute(QStringLiteral("update 用户管理模块 set 密码=? where 用户名=?"),
                           {newDigest, userName_}))
        return refuse(failed);
    shell_.showMessage(QStringLiteral("修改密码成功！"), 0, ui::kStandardTitle);
    emptyBoxes();
    close();
}

void ChangePasswordWindow::emptyBoxes() {
    编辑框1->clear();
    编辑框2->clear();
    编辑框3->clear();
}

}  // namespace masterdata
