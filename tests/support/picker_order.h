#pragma once
// The lists of a product picker against the statements that fill them, case by case, on a file
// without stored statistics and then with them.

#include "store/database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <set>
#include <utility>
#include <vector>

class QAbstractButton;
class QComboBox;

namespace test {

struct PickerCase {
    const char* what;
    std::vector<std::pair<int, QString>> steps;  // a box and its value, taken in turn
    int box;  // and one box's list as it shows on a file without statistics
    QStringList items;
};

// Each case starts at `reset`; each step chooses its value from the box's list, or types it
// into a box of `typedBoxes` and presses Enter. Then every box no step took lists what
// `statementGives(box)` gives for the boxes as they stand.
void expectListsInStatementOrder(store::Database& db, QAbstractButton* reset,
                                 const QList<QComboBox*>& boxes, const std::set<int>& typedBoxes,
                                 const std::vector<PickerCase>& cases,
                                 const std::function<QStringList(int box)>& statementGives);

// The texts of `column` in the rows of `sql`, in their order.
QStringList columnTexts(store::Database& db, const QString& sql, const QString& column);

}  // namespace test
