#pragma once

#include "data/record_set.h"
#include "records/customer_picker_query.h"

#include <QDate>
#include <QDialog>

#include <memory>

class DataModule;

namespace Ui {
class CustomerOrderPicker;
}

// The customer order picker (TDLGclientXZ), "安装派送记录选择": the orders bought in a date
// range, narrowed by name, telephone, address and a value of the value list, to choose the
// order a repair belongs to. "新增安装派工" records a new order on the spot.
//
// Entry, from the repair editor's button beside 顾客姓名:
//   QString code = CustomerOrderPicker::pick(data, currentCode, parent);
// gives the chosen order's code, or `currentCode` when cancelled or nothing is listed.
//
// "新增安装派工" opens the customer order editor for a new order on the picker's own lists:
// orders() and the cached goods lines goodsLines() (t_HPrec, amount x price kept in
// F_totalprice); after its save the editor lists the orders again and stands on the new one.
class CustomerOrderPicker : public QDialog {
    Q_OBJECT
public:
    explicit CustomerOrderPicker(DataModule& data, QWidget* parent = nullptr,
                                 const QDate& today = QDate::currentDate());
    ~CustomerOrderPicker() override;

    static QString pick(DataModule& data, const QString& code, QWidget* parent = nullptr);

    // Lists the orders and makes the order with the code current when it is listed.
    void start(const QString& code);
    // The code to give back: the current order's after acceptance of a non-empty list,
    // otherwise the code the picker was started with.
    QString chosenCode() const;

    RecordSet& orders() { return m_orders; }
    RecordSet& goodsLines() { return m_goodsLines; }

    CustomerPickerQuery::Filter filter() const;
    void runQuery();
    void fillValueList(int listType);

private:
    void setUpValueList();
    void setUpGrid();
    void valueListRowChanged();
    void addOrder();
    void recomputeLineTotal(const QModelIndex& topLeft, const QModelIndex& bottomRight);

    std::unique_ptr<Ui::CustomerOrderPicker> m_ui;
    DataModule& m_data;
    RecordSet m_orders;
    RecordSet m_goodsLines;
    QString m_startCode;
    bool m_fillingValueList = false;
    bool m_started = false;
    bool m_computingTotals = false;
};
