#include "receiving/receipt_query_window.h"

#include "receiving/notices.h"
#include "receiving/receipt_list_window.h"
#include "store/stamps.h"
#include "ui/controls.h"
#include "ui/form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QPushButton>

namespace receiving {

namespace {

// One condition row: caption, inputs, and its check box at the row's end.
constexpr int kCaptionLeft = 10;
constexpr int kInputLeft = 78;
constexpr int kInputRight = 330;
constexpr int kRowHeight = 22;

QRect captionAt(int top) { return {kCaptionLeft, top, 62, kRowHeight}; }
QRect inputAt(int top) { return {kInputLeft, top, kInputRight - kInputLeft, kRowHeight}; }
QRect tickAt(int top) { return {kInputRight + 12, top, 22, kRowHeight}; }

}  // namespace

ReceiptQueryWindow::ReceiptQueryWindow(session::Shell& shell, ReceiptListWindow* receiptList)
    : HostedWindow(receiptList, QStringLiteral("入库单查询"), QSize(401, 273)),
      shell_(shell),
      receiptList_(receiptList) {
    setHidesOnLogout(true);
    buildForm();
    connect(按钮_查询, &QPushButton::clicked, this, &ReceiptQueryWindow::runReceiptQuery);
    connect(按钮_退出, &QPushButton::clicked, this, &QWidget::close);
    shell_.tellUnlessRead(refillQueryBoxes());
}

void ReceiptQueryWindow::buildForm() {
    QWidget* form = body();
    分组框1 = ui::addGroupBox(form, "分组框1", QStringLiteral("入库单模糊查询"),
                              {8, 6, form->width() - 16, 172});
    QWidget* group = 分组框1;
    const QDate today = shell_.clock.now().date();

    constexpr int kDateTop = 28;
    ui::addLabel(group, "标签_时间", QStringLiteral("时    间"), captionAt(kDateTop));
    const int dateWidth = (kInputRight - kInputLeft - 24) / 2;
    日期框1 = ui::named(ui::makeDateBox(group, today), "日期框1",
                        {kInputLeft, kDateTop, dateWidth, kRowHeight});
    ui::addLabel(group, "标签_时间1", QStringLiteral("到"),
                 {kInputLeft + dateWidth, kDateTop, 24, kRowHeight}, Qt::AlignCenter);
    日期框2 = ui::named(ui::makeDateBox(group, today), "日期框2",
                        {kInputRight - dateWidth, kDateTop, dateWidth, kRowHeight});
    选择框_时间 = ui::named(new QCheckBox(group), "选择框_时间", tickAt(kDateTop));

    constexpr int kOperatorTop = 66;
    ui::addLabel(group, "标签_人员", QStringLiteral("录入人员"), captionAt(kOperatorTop));
    组合框_人员 = ui::addComboBox(group, "组合框_人员", false, inputAt(kOperatorTop));
    选择框_人员 = ui::named(new QCheckBox(group), "选择框_人员", tickAt(kOperatorTop));

    ui::addLabel(group, "标签_人员1", QStringLiteral("（至少要选择一个查询条件）"),
                 inputAt(kOperatorTop + 30));

    constexpr int kStatusTop = 128;
    ui::addLabel(group, "标签_状态", QStringLiteral("状    态"), captionAt(kStatusTop));
    组合框_状态 = ui::addComboBox(group, "组合框_状态", false, inputAt(kStatusTop));
    选择框_状态 = ui::named(new QCheckBox(group), "选择框_状态", tickAt(kStatusTop));

    const int buttonsTop = 分组框1->geometry().bottom() + 16;
    按钮_查询 = ui::addButton(form, "按钮_查询", QStringLiteral("查询"),
                              {form->width() - 204, buttonsTop, 90, 28});
    按钮_退出 = ui::addButton(form, "按钮_退出", QStringLiteral("退出"),
                              {form->width() - 106, buttonsTop, 90, 28});
}

bool ReceiptQueryWindow::refillQueryBoxes() {
    const std::pair<QComboBox*, const char*> boxes[] = {{组合框_人员, "入库人员"},
                                                        {组合框_状态, "状态"}};
    bool read = true;
    for (const auto& [box, column] : boxes) {
        QStringList values;
        store::RecordSet set =
            shell_.db.query(QStringLiteral("select distinct %1 from 入库管理总模块").arg(column));
        read = read && !set.failed();
        for (; !set.atEnd(); set.moveNext()) values << set.text(1);
        ui::fillCombo(box, values);
        if (values.size() == 1) box->setCurrentIndex(0);
    }
    return read;
}

void ReceiptQueryWindow::refuse(const QString& text) {
    notify(shell_, text);
    shell_.tellUnlessRead(refillQueryBoxes());
}

// The ticked conditions in the order date range, operator, status; the date stamps compare as
// text, both bounds included, and operator and status as whole texts.
void ReceiptQueryWindow::runReceiptQuery() {
    const QString from = store::toDateStamp(日期框1->date());
    const QString to = store::toDateStamp(日期框2->date());
    QStringList conditions;
    QStringList values;
    if (选择框_时间->isChecked()) {
        conditions << QStringLiteral("入库时间 >=? and 入库时间 <=?");
        values << from << to;
    }
    if (选择框_人员->isChecked()) {
        conditions << QStringLiteral("入库人员 =?");
        values << 组合框_人员->currentText();
    }
    if (选择框_状态->isChecked()) {
        conditions << QStringLiteral("状态 =?");
        values << 组合框_状态->currentText();
    }
    if (conditions.isEmpty()) {
        refuse(QStringLiteral("你最少要选择一个条件进行查询！"));
        return;
    }
    const store::RecordSet found = shell_.db.query(
        QStringLiteral("select * from 入库管理总模块 where ") + conditions.join(u" and "), values);
    if (found.failed()) {
        // As for a query that finds nothing, but told as the failure it is, once.
        shell_.tellReadFailed();
        refillQueryBoxes();
        return;
    }
    if (found.atEnd()) {
        refuse(QStringLiteral("你输入的查询条件未找到入库单！"));
        return;
    }
    receiptList_->showReceipts(found);
    notify(shell_, QStringLiteral("查询成功！"));
    close();
}

}  // namespace receiving
