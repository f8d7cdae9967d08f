#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include <memory>

class DataGrid;
namespace Ui {
class FieldChooserDialog;
}

// "字段列表": which columns of a grid are shown, as a check list of their titles. Stores
// nothing; a layout survives only when the user also saves it.
class FieldChooserDialog : public QDialog {
    Q_OBJECT
public:
    explicit FieldChooserDialog(QWidget* parent = nullptr);
    ~FieldChooserDialog() override;

    // One entry per column in column order, ticked when shown.
    void setColumns(const QStringList& titles, const QList<bool>& shown);
    QList<bool> ticked() const;

    // Shows the dialog for the grid's columns and, on "确定", shows the ticked columns and hides
    // the others. Returns one "1" (shown) or "0" (hidden) per column; empty when cancelled.
    static QStringList chooseGridFields(DataGrid& grid, QWidget* parent = nullptr);

private:
    std::unique_ptr<Ui::FieldChooserDialog> m_ui;
};
