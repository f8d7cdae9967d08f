#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QStringList>

#include <memory>

class DataGrid;
class QTreeWidgetItem;
namespace Ui {
class SortDialog;
}

// "排序对话框": builds a sort order over several columns of a grid. One row per column with its
// title and a direction ("", "升序", "降序"); the order of the rows is the priority of the keys.
class SortDialog : public QDialog {
    Q_OBJECT
public:
    explicit SortDialog(QWidget* parent = nullptr);
    ~SortDialog() override;

    // One (field name, title) per column, in column order; every direction starts empty.
    void setColumns(const QList<QPair<QString, QString>>& columns);
    // "f_x ASC,f_y DESC," from the rows top to bottom that have a direction, each title turned
    // back into its field name (lower case; the first column with that title when titles repeat).
    // Empty when no row has a direction.
    QString sortText() const;

    // Shows the dialog for the grid and sorts the grid's record set by the result. A cancelled
    // dialog gives an empty text, and an empty text restores the query's order. Returns the text.
    static QString sortGrid(DataGrid& grid, QWidget* parent = nullptr);

private:
    void cycleDirection(QTreeWidgetItem* item);
    void moveCurrent(int by);

    std::unique_ptr<Ui::SortDialog> m_ui;
    QList<QPair<QString, QString>> m_columns;
};
