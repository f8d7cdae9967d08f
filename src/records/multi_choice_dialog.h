#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

class DataModule;

namespace Ui {
class MultiChoiceDialog;
}

// The multi-choice list (TDLGduoxuanList): ticks the entries of the repair information list
// ('wxinfo') that a comma-separated text names and gives back the ticked ones as such a text.
//
// Entry, from the repair editors' button beside 维护信息:
//   text = MultiChoiceDialog::choose(data, MultiChoice::repairInfoCaption(), text, parent);
// gives the ticked entries joined by ",", or the text unchanged when cancelled.
class MultiChoiceDialog : public QDialog {
    Q_OBJECT
public:
    MultiChoiceDialog(DataModule& data, const QString& caption, QWidget* parent = nullptr);
    ~MultiChoiceDialog() override;

    static QString choose(DataModule& data, const QString& caption, const QString& text,
                          QWidget* parent = nullptr);

    // Ticks the entries the text names, and only those.
    void setText(const QString& text);
    // The ticked entries in list order, joined by ",".
    QString text() const;
    QStringList entries() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadEntries();
    void layOutColumns();

    std::unique_ptr<Ui::MultiChoiceDialog> m_ui;
    DataModule& m_data;
};
