#include "app/help_window.h"

#include <QLabel>

namespace app {

HelpWindow::HelpWindow(session::Shell&, QWidget* host)
    : HostedWindow(host, QStringLiteral("帮助"), QSize(380, 241)) {
    标签1 = new QLabel(body());
    标签1->setObjectName(QStringLiteral("标签1"));
    标签1->setGeometry(body()->rect().adjusted(12, 8, -12, -8));
    标签1->setWordWrap(true);
    标签1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = 标签1->font();
    font.setPixelSize(15);
    标签1->setFont(font);
    标签1->setText(QStringLiteral(
        "1. 双击左侧“操作菜单”中的项目，先输入用户名和密码登录。\n"
        "2. 店铺销售、库存查询和软件帮助所有用户都能使用；商品资料、商品入库、销售统计和"
        "系统管理只有管理员 admin 能使用。\n"
        "3. 用完请点“退出系统”，换人使用前重新登录。"));
}

}  // namespace app
