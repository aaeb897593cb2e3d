#include "support/picker_order.h"

#include "support/fixture.h"

#include <QAbstractButton>
#include <QComboBox>

namespace test {

void expectListsInStatementOrder(store::Database& db, QAbstractButton* reset,
                                 const QList<QComboBox*>& boxes, const std::set<int>& typedBoxes,
                                 const std::vector<PickerCase>& cases,
                                 const std::function<QStringList(int box)>& statementGives) {
    for (const bool analysed : {false, true}) {
        if (analysed) {
            ASSERT_TRUE(db.execute("ANALYZE"));
        }
        for (const PickerCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (analysed ? ", with statistics" : ""));
            click(reset);
            std::set<int> taken;
            for (const auto& [box, value] : c.steps) {
                taken.insert(box);
                if (!typedBoxes.count(box)) {
                    choose(boxes[box], value);
                    continue;
                }
                typeInto(boxes[box], value);
                pressEnter(boxes[box]);
            }
            for (int box = 0; box < boxes.size(); ++box) {
                if (!taken.count(box)) {
                    EXPECT_EQ(items(boxes[box]), statementGives(box))
                        << boxes[box]->objectName().toStdString();
                }
            }
            if (!analysed) {
                EXPECT_EQ(items(boxes[c.box]), c.items);
            }
        }
    }
}

QStringList columnTexts(store::Database& db, const QString& sql, const QString& column) {
    const store::RecordSet set = db.query(sql);
    QStringList texts;
    for (size_t row = 0; row < set.rowCount(); ++row) texts << set.cell(row, set.columnIndex(column));
    return texts;
}

}  // namespace test
