#pragma once

#include "operators/login_service.h"

#include <QDialog>

#include <memory>

class DataModule;

namespace Ui {
class LoginDialog;
}

// The operator login window (TfrmOperLogin). Accepted means an operator logged in and the
// login state is his; rejected means the user gave up or the fourth password was wrong. At
// first login the caller ends the program on rejection; when changing the operator the
// previous login stays.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(DataModule& data, LoginService::Mode mode, QWidget* parent = nullptr);
    ~LoginDialog() override;

    // Shows the window modally; true when an operator logged in. The caller then applies
    // the permissions of the new login to the main window (applyPermissions).
    static bool run(DataModule& data, LoginService::Mode mode, QWidget* parent = nullptr);

    LoginService::Mode mode() const { return m_service.mode(); }
    int failures() const { return m_service.failures(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Only the buttons close the window: the title bar and Alt+F4 do nothing.
    void closeEvent(QCloseEvent* event) override;

private:
    void btnOkClick();
    void refreshName();

    std::unique_ptr<Ui::LoginDialog> m_ui;
    LoginService m_service;
};
