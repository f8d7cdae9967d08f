#pragma once

#include "records/return_visit.h"

#include <QDialog>
#include <QStringList>

#include <memory>
#include <optional>

class DataModule;
class QComboBox;
class QLineEdit;
class RecordSet;

namespace Ui {
class ReturnVisitEditor;
}

// The return-visit editor (TfrmHFrecEdit): one telephone call to the customer of an order,
// with up to five charged items and their total. It edits the opener's visit list directly:
// a new visit is written under the order's code, a changed one by its F_ID, and the list is
// read again after each save.
//
// Entry, from the main window's return-visit tab ("新增" mode New, "修改" mode Edit on the
// list's current visit):
//   ReturnVisitEditor::openEditor(data, ReturnVisitEditor::Mode::New, visits, orderCode,
//                                 customerInfo, parent);
// `visits` is the open t_HFrec list of the order; `customerInfo` the seven customer lines
// the main window builds (MainWindow::customerInfo()).
class ReturnVisitEditor : public QDialog {
    Q_OBJECT
public:
    enum class Mode { New = 0, Edit = 1 };

    ReturnVisitEditor(DataModule& data, Mode mode, RecordSet& visits, const QString& orderCode,
                      const QString& customerInfo, QWidget* parent = nullptr);
    ~ReturnVisitEditor() override;

    // Shows the editor modally; true when at least one visit was saved.
    static bool openEditor(DataModule& data, Mode mode, RecordSet& visits, const QString& orderCode,
                           const QString& customerInfo, QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    // The visit as the controls hold it.
    ReturnVisit visit() const;
    // Writes the visit; on failure reports it and keeps the input. True when it was saved.
    bool save();
    bool savedAny() const { return m_savedAny; }

    static QString caption(Mode mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void loadCodeLists();
    void refillKeepingText(QComboBox* combo, const QString& type);
    void showVisit(const ReturnVisit& visit);
    void showCurrentVisit();
    void clearToNewVisit();
    void setChargeItem(QComboBox* combo, const QString& stored);
    void amountsChanged();
    void showTotal(double total);
    void move(int row);
    void updateNavigator();
    void confirm();

    QComboBox* itemBox(int index) const;
    QLineEdit* amountEdit(int index) const;

    std::unique_ptr<Ui::ReturnVisitEditor> m_ui;
    DataModule& m_data;
    Mode m_mode;
    RecordSet& m_visits;
    QString m_orderCode;
    QStringList m_chargeItems;
    double m_total = 0;
    bool m_loading = false;
    bool m_savedAny = false;
};
