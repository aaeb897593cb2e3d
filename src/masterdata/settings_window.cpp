#include "masterdata/settings_window.h"

#include "session/password_digest.h"
#include "masterdata/change_password_window.h"
#include "masterdata/settings_list_append.h"
#include "store/settings_lists.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace masterdata {

// One row of 基本资料: the settings list it extends and the texts it speaks with.
struct SettingsWindow::ListRow {
    const char* label;
    QComboBox* SettingsWindow::*box;
    const char* boxName;
    QPushButton* SettingsWindow::*button;
    const char* buttonName;
    const char* column;
    const char* prompt;
    const char* failure;
    const char* hint;  // "" for none; nothing enforces it
};

const std::vector<SettingsWindow::ListRow>& SettingsWindow::listRows() {
    static const std::vector<ListRow> rows = {
        {"品  牌", &SettingsWindow::组合框_品牌, "组合框_品牌", &SettingsWindow::按钮_品牌增加,
         "按钮_品牌增加", "品牌管理", "请输入你要添加的品牌！", "增加品牌失败！", ""},
        {"尺  码", &SettingsWindow::组合框_尺码, "组合框_尺码", &SettingsWindow::按钮_品尺码增加,
         "按钮_品尺码增加", "尺码管理", "请输入你要添加的尺码！", "增加尺码失败！",
         "这里请用数字填写！"},
        {"杯  型", &SettingsWindow::组合框_杯型, "组合框_杯型", &SettingsWindow::按钮_杯型增加,
         "按钮_杯型增加", "杯型管理", "请输入你要添加的杯型！", "增加杯型失败！",
         "这里请用大写字母填写！"},
        {"品  类", &SettingsWindow::组合框_品类, "组合框_品类", &SettingsWindow::按钮_品类增加,
         "按钮_品类增加", "品类管理", "请输入你要添加的品类！", "增加品类失败！", ""},
        {"折  扣", &SettingsWindow::组合框_折扣, "组合框_折扣", &SettingsWindow::按钮_折扣增加,
         "按钮_折扣增加", "折扣", "请输入你要添加的折扣！", "增加折扣失败！",
         "这里请用数字填写！"},
        {"折扣原因", &SettingsWindow::组合框_折扣原因, "组合框_折扣原因",
         &SettingsWindow::按钮_折扣原因, "按钮_折扣原因", "折扣原因",
         "请输入你要折扣原因的折扣！", "增加折扣原因失败！", ""},
    };
    return rows;
}

SettingsWindow::SettingsWindow(session::Shell& shell, QWidget* host)
    : HostedWindow(host, QStringLiteral("系统设置"), QSize(547, 348)), shell_(shell) {
    auto* halves = new QHBoxLayout(body());
    halves->setContentsMargins(6, 4, 6, 6);
    halves->setSpacing(6);
    halves->addWidget(buildUsersGroup(), 0);
    halves->addWidget(buildListsGroup(), 1);

    const bool listsRead = fillSettingsBoxes();
    shell_.tellUnlessRead(fillUserList() && listsRead);
    编辑框1->setFocus();
}

QGroupBox* SettingsWindow::buildListsGroup() {
    分组框1 = new QGroupBox(QStringLiteral("基本资料"), body());
    分组框1->setObjectName(QStringLiteral("分组框1"));
    auto* grid = new QGridLayout(分组框1);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    int line = 0;
    for (const ListRow& row : listRows()) {
        auto* box = ui::makeComboBox(分组框1, true);
        box->setObjectName(QString::fromUtf8(row.boxName));
        this->*row.box = box;
        auto* button = new QPushButton(QStringLiteral("增加"), 分组框1);
        button->setObjectName(QString::fromUtf8(row.buttonName));
        button->setFixedWidth(48);
        this->*row.button = button;
        connect(button, &QPushButton::clicked, this, [this, &row] { addSettingsValue(row); });

        grid->addWidget(new QLabel(QString::fromUtf8(row.label), 分组框1), line, 0);
        grid->addWidget(box, line, 1);
        grid->addWidget(button, line, 2);
        ++line;
        if (*row.hint) {
            auto* hint = new QLabel(QString::fromUtf8(row.hint), 分组框1);
            hint->setStyleSheet(QStringLiteral("color: #808080;"));
            grid->addWidget(hint, line++, 1, 1, 2);
        }
    }
    grid->setRowStretch(line, 1);
    return 分组框1;
}

QGroupBox* SettingsWindow::buildUsersGroup() {
    分组框2 = new QGroupBox(QStringLiteral("用户"), body());
    分组框2->setObjectName(QStringLiteral("分组框2"));
    auto* column = new QVBoxLayout(分组框2);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);

    编辑框1 = new QLineEdit(分组框2);
    编辑框2 = ui::makePasswordEdit(分组框2);
    编辑框3 = ui::makePasswordEdit(分组框2);
    按钮_增加用户 = new QPushButton(QStringLiteral("增加"), 分组框2);
    编辑框1->setObjectName(QStringLiteral("编辑框1"));
    编辑框2->setObjectName(QStringLiteral("编辑框2"));
    编辑框3->setObjectName(QStringLiteral("编辑框3"));
    按钮_增加用户->setObjectName(QStringLiteral("按钮_增加用户"));
    按钮_增加用户->setFixedWidth(60);

    auto* entry = new QGridLayout;
    entry->setHorizontalSpacing(6);
    entry->setVerticalSpacing(4);
    const std::pair<const char*, QLineEdit*> fields[] = {
        {"用户名", 编辑框1}, {"密码", 编辑框2}, {"确认密码", 编辑框3}};
    const char* const labelNames[] = {"标签10", "标签11", "标签12"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromUtf8(fields[i].first), 分组框2);
        label->setObjectName(QString::fromUtf8(labelNames[i]));
        entry->addWidget(label, i, 0);
        entry->addWidget(fields[i].second, i, 1);
    }
    entry->addWidget(按钮_增加用户, 2, 2);
    column->addLayout(entry);

    超级列表框1 = new ui::ListView(分组框2, {{QStringLiteral("用户名"), 120},
                                             {QStringLiteral("密码"), 140}});
    超级列表框1->setObjectName(QStringLiteral("超级列表框1"));
    超级列表框1->setFixedWidth(266);
    column->addWidget(超级列表框1, 1);

    编辑 = ui::addPopupMenu(this, "编辑", QStringLiteral("编辑"));
    修改密码 = 编辑->addAction(QStringLiteral("修改密码"));
    删除用户 = 编辑->addAction(QStringLiteral("删除用户"));

    ui::onEnter(编辑框1, [this] { 编辑框2->setFocus(); });
    ui::onEnter(编辑框2, [this] { 编辑框3->setFocus(); });
    ui::onEnter(编辑框3, [this] { addUser(); });
    connect(按钮_增加用户, &QPushButton::clicked, this, &SettingsWindow::addUser);
    connect(超级列表框1, &ui::ListView::rightClicked, this, [this] { ui::popUpAtMouse(编辑); });
    connect(修改密码, &QAction::triggered, this, &SettingsWindow::openChangePassword);
    connect(删除用户, &QAction::triggered, this, &SettingsWindow::deleteUser);
    return 分组框2;
}

bool SettingsWindow::fillSettingsBoxes() {
    // Brand, cup, category, size, discount, discount reason.
    constexpr int kFillOrder[] = {0, 2, 3, 1, 4, 5};
    bool read = true;
    for (int index : kFillOrder) {
        const ListRow& row = listRows()[index];
        read = ui::fillCombo(this->*row.box,
                             store::loadSettingsList(shell_.db, QString::fromUtf8(row.column))) &&
               read;
    }
    return read;
}

void SettingsWindow::addSettingsValue(const ListRow& row) {
    const QString value = (this->*row.box)->currentText();
    if (value.isEmpty()) {
        shell_.showMessage(QString::fromUtf8(row.prompt), 0x40, ui::kStandardTitle);
        return;
    }
    const AppendOutcome outcome = appendSettingsValue(shell_.db, QString::fromUtf8(row.column), value);
    if (outcome != AppendOutcome::Added) {
        const QString failure = QString::fromUtf8(row.failure);
        shell_.showMessage(outcome == AppendOutcome::ListFull ? failure + listFullText() : failure,
                           0x40, ui::kStandardTitle);
        return;
    }
    shell_.showMessage(QStringLiteral("添加成功！"), 0, ui::kStandardTitle);
    shell_.tellUnlessRead(fillSettingsBoxes());
}

bool SettingsWindow::fillUserList() {
    const store::RecordSet users = shell_.db.query(QStringLiteral("select * from 用户管理模块"));
    超级列表框1->setRows(users, {QStringLiteral("用户名"), QStringLiteral("密码")});
    return !users.failed();
}

void SettingsWindow::addUser() {
    const auto refuse = [this](const QString& text) {
        shell_.showMessage(text, 0x40, ui::kStandardTitle);
    };
    if (编辑框1->text().isEmpty()) return refuse(QStringLiteral("请输入用户名"));
    if (编辑框2->text().isEmpty()) return refuse(QStringLiteral("请输入密码"));
    if (编辑框3->text().isEmpty()) return refuse(QStringLiteral("请再次输入密码"));
    if (编辑框2->text() != 编辑框3->text()) return refuse(QStringLiteral("两次密码输入不一致"));
    for (const QString& unusable :
         {session::unusableUserName(编辑框1->text()), session::unusablePassword(编辑框3->text())})
        if (!unusable.isEmpty()) return refuse(unusable);
    // Text equality in the store is byte for byte: letter case and blanks count.
    const store::RecordSet same = shell_.db.query(
        QStringLiteral("select 用户名 from 用户管理模块 where 用户名=? limit 1"), {编辑框1->text()});
    if (!same.isEmpty()) return refuse(QStringLiteral("已经存在的用户名！"));
    const QString digest = session::makePasswordDigest(编辑框3->text());
    if (same.failed() || digest.isEmpty() ||
        !shell_.db.execute(QStringLiteral("insert into 用户管理模块(用户名,密码)values(?,?)"),
                           {编辑框1->text(), digest}))
        return refuse(QStringLiteral("添加用户失败！"));
    shell_.showMessage(QStringLiteral("添加用户成功！"), 0, ui::kStandardTitle);
    shell_.tellUnlessRead(fillUserList());
    编辑框3->clear();
    编辑框2->clear();
    编辑框1->clear();
}

std::optional<QString> SettingsWindow::selectedUserOrRefuse() {
    const int row = 超级列表框1->selectedRow();
    if (row < 0) {
        shell_.showMessage(QStringLiteral("请先选择一个用户！"), 0x40, ui::kStandardTitle);
        return std::nullopt;
    }
    return 超级列表框1->cell(row, 0);
}

void SettingsWindow::deleteUser() {
    const std::optional<QString> name = selectedUserOrRefuse();
    if (!name) return;
    const ui::Answer answer = shell_.showMessage(
        QStringLiteral("你确定要删除:") + *name + QStringLiteral("-用户吗？"), 0x24,
        ui::kStandardTitle);
    if (answer == ui::Answer::Yes &&
        !shell_.db.execute(QStringLiteral("delete from 用户管理模块 where 用户名=?"), {*name})) {
        shell_.showMessage(QStringLiteral("删除失败！"), 0x40, ui::kStandardTitle);
        return;
    }
    shell_.tellUnlessRead(fillUserList());
}

void SettingsWindow::openChangePassword() {
    const std::optional<QString> name = selectedUserOrRefuse();
    if (!name) return;
    ui::openHostedWindow(new ChangePasswordWindow(shell_, this, *name), this,
                         ui::Placement::Centred);
}

}  // namespace masterdata
