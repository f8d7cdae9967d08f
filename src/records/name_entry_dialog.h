#pragma once

#include <QDialog>

#include <memory>
#include <optional>

class DataModule;

namespace Ui {
class NameEntryDialog;
}

// The name entry (TDLGaddText), "请输入要增加的标题名称": asks for the name of a new code list
// entry. "确定" refuses a name of blanks; "关闭" and Esc cancel.
//
// Entry:
//   std::optional<QString> name = NameEntryDialog::enterName(data, parent);
// gives the name as typed, or nothing when cancelled.
class NameEntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit NameEntryDialog(DataModule& data, QWidget* parent = nullptr);
    ~NameEntryDialog() override;

    static std::optional<QString> enterName(DataModule& data, QWidget* parent = nullptr);

    QString name() const;

    static QString blankNameMessage() { return QStringLiteral("名称不能为空！"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm();

    std::unique_ptr<Ui::NameEntryDialog> m_ui;
    DataModule& m_data;
};
