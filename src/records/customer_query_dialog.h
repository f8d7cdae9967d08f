#pragma once

#include "data/sql_condition.h"
#include "records/customer_query.h"

#include <QDate>
#include <QDialog>
#include <QHash>

#include <memory>
#include <optional>

class DataModule;
class QCheckBox;
class QComboBox;
class QDateEdit;

namespace Ui {
class CustomerQueryDialog;
}

// The advanced customer query (TDlgCltCx), "客户查询对话框": a field for most columns of an
// order and its goods lines, and two date ranges. "查询(&P)" (Ctrl+S) gives the condition of
// what was typed, every value bound; "关闭(&C)" (Esc) gives nothing.
//
// Entry, from the main window's toggle "高级查找...":
//   std::optional<SqlCondition> where = CustomerQueryDialog::ask(data, parent);
//   if (where) { SqlStatement list = CustomerQuery::list(*where, data.login()); ... }
// An empty condition (nothing typed) lists every order.
class CustomerQueryDialog : public QDialog {
    Q_OBJECT
public:
    explicit CustomerQueryDialog(DataModule& data, QWidget* parent = nullptr,
                                 const QDate& today = QDate::currentDate());
    ~CustomerQueryDialog() override;

    static std::optional<SqlCondition> ask(DataModule& data, QWidget* parent = nullptr);

    // What the fields and date ranges hold now.
    CustomerQuery::Criteria criteria() const;
    SqlCondition condition() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct DateRangeControls {
        QCheckBox* range;
        QCheckBox* fromTick;
        QDateEdit* from;
        QCheckBox* toTick;
        QDateEdit* to;
    };

    void fillOperatorLists();
    void refill(QComboBox* combo);
    void updateDateControls();
    CustomerQuery::DateRange dateRange(const DateRangeControls& controls) const;

    std::unique_ptr<Ui::CustomerQueryDialog> m_ui;
    DataModule& m_data;
    QHash<QComboBox*, QString> m_codeTypes; // drop-down lists filled from a code list
    DateRangeControls m_purchase;
    DateRangeControls m_setup;
};
