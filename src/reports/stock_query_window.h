#pragma once
// How much of each product has been sold and how much is in stock: every catalogue product with
// 已售 and 库存 from its stock row, a query by product code or mnemonic code with a summary, and a
// query by style number. It only reads.

#include "session/shell.h"
#include "ui/hosted_window.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace ui { class ListView; }

namespace reports {

class StockQueryWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    StockQueryWindow(session::Shell& shell, QWidget* host);

    void queryByCode();
    void queryByStyleNumber();

    QGroupBox* 分组框1;
    QLabel* 标签1;
    QComboBox* 组合框1;
    QLabel* 标签2;
    QLineEdit* 编辑框1;
    QPushButton* 按钮1;
    QGroupBox* 分组框2;
    QLabel* 标签3;
    QComboBox* 组合框2;
    QPushButton* 按钮2;
    ui::ListView* 超级列表框1;

private:
    void buildForm();
    // False when the stock rows could not be read; the boxes are then empty.
    bool fillCombos();
    // The list shows the catalogue products matching `condition` (all when it is empty), each
    // with the figures of its first stock row; gives whether it found some, none, or could not
    // read them (the list is then empty).
    enum class Shown { Some, None, Unread };
    Shown showProducts(const QString& condition = {}, const QStringList& values = {});

    session::Shell& shell_;
};

}  // namespace reports
