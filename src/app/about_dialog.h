#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AboutDialog;
}

// "关于我们" (TfrmAboutInfo): the program's name, version and what it is for.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const QString& version, QWidget* parent = nullptr);
    ~AboutDialog() override;

private:
    std::unique_ptr<Ui::AboutDialog> m_ui;
};
