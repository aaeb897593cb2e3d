#pragma once
// A report-style list of text rows: a table view over a small model of our own, filled in one
// go, so lists of tens of thousands of rows stay quick.

#include "store/database.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <utility>
#include <vector>

namespace ui {

struct Column {
    QString caption;
    int width;  // 0 hides the column; its cells are still there to read
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;  // of its cells and its caption
};

class TextTableModel : public QAbstractTableModel {
public:
    explicit TextTableModel(std::vector<Column> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setRows(std::vector<QStringList> rows);
    // Shows the record set's rows as they are: cells turn into text only when shown or read.
    void setRows(const store::RecordSet& set, std::vector<int> setColumns);
    // As setRows, when the model already shows a set's rows and as many as `set` has: the rows
    // take the new set's cells and only those that read differently are reported changed.
    // False, and nothing done, otherwise.
    bool replaceRows(const store::RecordSet& set, std::vector<int> setColumns);
    int appendRow(QStringList cells);
    void setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;

private:
    void materialize();
    QVariant alignmentOf(int column) const;

    std::vector<Column> columns_;
    std::vector<QStringList> rows_;
    store::RecordSet set_;
    std::vector<int> setColumns_;  // non-empty while the rows are the record set's
};

class ListView : public QTableView {
    Q_OBJECT
public:
    ListView(QWidget* parent, std::vector<Column> columns);

    void setRows(std::vector<QStringList> rows);  // deletes all rows first; no row selected
    // One row per record, the list's columns taken from the named columns of the set.
    void setRows(const store::RecordSet& set, const QStringList& setColumns);
    // The same as setRows for what it shows and selects; when the list holds as many rows, only
    // the rows that changed are redrawn, so a list of thousands is cheap to show again after a
    // write to a few of them.
    void updateRows(const store::RecordSet& set, const QStringList& setColumns);
    void deleteAllRows() { setRows({}); }
    int appendRow(QStringList cells);             // the new row's index
    void setCell(int row, int column, const QString& text) { model_->setCell(row, column, text); }
    QString cell(int row, int column) const { return model_->cell(row, column); }  // "" off the rows
    int rowCount() const { return model_->rowCount(); }
    int selectedRow() const;                      // -1 when none
    void selectRow(int row);

signals:
    void rowDoubleClicked(int row);
    void rightClicked();  // the row under the mouse, if any, is selected first
    void selectedRowChanged(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    TextTableModel* model_;
};

}  // namespace ui
