#pragma once

#include "data/record_set.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class DataModule;
class QTreeWidgetItem;

namespace Ui {
class GoodsPickerDialog;
}

// The goods picker (TDLGgoodXZ, "商品资料选择"): catalogue articles filtered by goods type,
// brand, code and name. Each "确定", double-click or Enter on the list adds the article as a
// goods line (amount 1 at the selling price) to the order's cached lines and takes it off the
// list for the rest of this opening; the window stays open until closed.
class GoodsPickerDialog : public QDialog {
    Q_OBJECT
public:
    GoodsPickerDialog(DataModule& data, RecordSet& lines, QWidget* parent = nullptr);
    ~GoodsPickerDialog() override;

    // Shows the picker modally over the order's goods lines.
    static void pick(DataModule& data, RecordSet& lines, QWidget* parent = nullptr);

    // Codes added in this opening, in order.
    const QStringList& pickedCodes() const { return m_picked; }
    const RecordSet& goods() const { return m_goods; }

    static QString caption() { return QStringLiteral("商品资料选择"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runQuery();
    void addCurrent();
    void showGridMenu(const QPoint& at);
    QString typePath() const;

    std::unique_ptr<Ui::GoodsPickerDialog> m_ui;
    DataModule& m_data;
    RecordSet& m_lines;
    RecordSet m_goods;
    // Not a table shared between workstations: each opening keeps its own.
    QStringList m_picked;
};
