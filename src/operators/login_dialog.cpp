#include "operators/login_dialog.h"

#include "ui_login_dialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

LoginDialog::LoginDialog(DataModule& data, LoginService::Mode mode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_ui(std::make_unique<Ui::LoginDialog>()), m_service(data, mode)
{
    m_ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    QPalette tinted = m_ui->edtOperName->palette();
    tinted.setColor(QPalette::Base, QColor(0xe8, 0xef, 0xf8));
    m_ui->edtOperName->setPalette(tinted);

    // Enter on a field moves on like Tab (eventFilter); on a focused button it presses that
    // button (dialog buttons are auto-default), so the keyboard alone logs in.
    for (QLineEdit* edit : {m_ui->edtOperCode, m_ui->edtOperName, m_ui->edtPassWord})
        edit->installEventFilter(this);
    connect(m_ui->btnOk, &QPushButton::clicked, this, &LoginDialog::btnOkClick);
    // Esc (QDialog's own key) cancels like 取消.
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &LoginDialog::reject);

    m_ui->edtOperCode->setText(m_service.rememberedCode());
    refreshName();
    // The usual case is the same operator as last time: straight to the password.
    if (m_ui->edtOperName->text().isEmpty())
        m_ui->edtOperCode->setFocus();
    else
        m_ui->edtPassWord->setFocus();

    adjustSize();
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

LoginDialog::~LoginDialog() = default;

bool LoginDialog::run(DataModule& data, LoginService::Mode mode, QWidget* parent)
{
    LoginDialog dialog(data, mode, parent);
    return dialog.exec() == QDialog::Accepted;
}

void LoginDialog::refreshName()
{
    m_ui->edtOperName->setText(m_service.operatorName(m_ui->edtOperCode->text()));
}

void LoginDialog::btnOkClick()
{
    // The name shown is the one the code belongs to, however the button was reached.
    refreshName();
    switch (m_service.submit(m_ui->edtOperCode->text(), m_ui->edtPassWord->text())) {
    case LoginService::Outcome::Accepted:
        accept();
        break;
    case LoginService::Outcome::NoCode:
    case LoginService::Outcome::UnknownOperator:
        m_ui->edtOperCode->setFocus();
        m_ui->edtOperCode->selectAll();
        break;
    case LoginService::Outcome::WrongPassword:
        m_ui->edtPassWord->setFocus();
        m_ui->edtPassWord->selectAll();
        break;
    case LoginService::Outcome::Refused:
        QDialog::reject();
        break;
    }
}

bool LoginDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            focusNextChild();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && watched != m_ui->edtPassWord) {
        refreshName();
    }
    return QDialog::eventFilter(watched, event);
}

void LoginDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
