#pragma once
// The administrator's report on paid sales over a date range: total amount and quantity, the
// best sellers by quantity and by amount with their shares, and the sales of one product or one
// salesperson with theirs. It only reads.

#include "reports/sales_figures.h"
#include "session/shell.h"
#include "ui/hosted_window.h"

#include <optional>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace reports {

class SalesStatisticsWindow : public ui::HostedWindow {
    Q_OBJECT
public:
    SalesStatisticsWindow(session::Shell& shell, QWidget* host);

    void queryDateRange();
    void queryProduct();
    void querySalesperson();

    QGroupBox* 分组框1;
    QDateEdit* 日期框1;
    QDateEdit* 日期框2;
    QPushButton* 按钮_日期查询;
    QLabel* 标签_总金额;
    QLabel* 标签_总件数;
    QLineEdit* 编辑框_最多;
    QLabel* 标签_最多;
    QLabel* 标签_最多占比;
    QLineEdit* 编辑框_最高;
    QLabel* 标签_最高;
    QLabel* 标签_最高占比;
    QComboBox* 组合框1;
    QPushButton* 按钮_单品查询;
    QLabel* 标签_单品件数;
    QLabel* 标签_单品件数占比;
    QLabel* 标签_单品销售额;
    QLabel* 标签_单品销售额占比;
    QComboBox* 组合框_个人;
    QPushButton* 按钮_单品查询1;
    QLabel* 标签_个人销售额1;
    QLabel* 标签_个人占比;

private:
    void buildForm();
    // False when a list could not be read; its box is then empty.
    bool fillCombos();
    // The bounds of the chosen range once they pass the checks; the first failed check is told.
    std::optional<DateBounds> checkedBounds();
    bool confirmRange(const DateBounds& bounds);
    // The range's totals, or nothing after telling that it has no sales or could not be read.
    std::optional<RangeTotals> totalsWithSales(const DateBounds& bounds);
    void tell(const QString& text);

    session::Shell& shell_;
};

}  // namespace reports
