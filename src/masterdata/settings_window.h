#pragma once
// The system settings window: the six settings lists on the right, the users on the left.

#include "session/shell.h"
#include "ui/hosted_window.h"

#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
namespace ui { class ListView; }

namespace masterdata {

class SettingsWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    SettingsWindow(session::Shell& shell, QWidget* host);

    // 基本资料
    QGroupBox* 分组框1;
    QComboBox* 组合框_品牌;
    QComboBox* 组合框_尺码;
    QComboBox* 组合框_杯型;
    QComboBox* 组合框_品类;
    QComboBox* 组合框_折扣;
    QComboBox* 组合框_折扣原因;
    QPushButton* 按钮_品牌增加;
    QPushButton* 按钮_品尺码增加;
    QPushButton* 按钮_杯型增加;
    QPushButton* 按钮_品类增加;
    QPushButton* 按钮_折扣增加;
    QPushButton* 按钮_折扣原因;

    // 用户
    QGroupBox* 分组框2;
    QLineEdit* 编辑框1;  // user name
    QLineEdit* 编辑框2;  // password
    QLineEdit* 编辑框3;  // password again
    QPushButton* 按钮_增加用户;
    ui::ListView* 超级列表框1;
    QMenu* 编辑;
    QAction* 修改密码;
    QAction* 删除用户;

private:
    struct ListRow;
    static const std::vector<ListRow>& listRows();

    QGroupBox* buildListsGroup();
    QGroupBox* buildUsersGroup();

    // The fills give false when the file could not be read: the boxes or the list are then
    // empty, and the action that ran them tells it.
    bool fillSettingsBoxes();
    void addSettingsValue(const ListRow& row);

    bool fillUserList();
    void addUser();
    void deleteUser();
    void openChangePassword();
    // The user name of the selected row; none, after telling the user, when no row is selected.
    std::optional<QString> selectedUserOrRefuse();

    session::Shell& shell_;
};

}  // namespace masterdata
