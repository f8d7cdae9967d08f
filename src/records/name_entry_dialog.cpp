#include "records/name_entry_dialog.h"

#include "ui_name_entry_dialog.h"

#include "data/data_module.h"
#include "data/messenger.h"
#include "widgets/window_placement.h"

#include <QKeyEvent>

NameEntryDialog::NameEntryDialog(DataModule& data, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::NameEntryDialog>()), m_data(data)
{
    m_ui->setupUi(this);
    setFixedHeight(sizeHint().height());
    // Enter in the name moves on to "确定", as Tab does.
    m_ui->edtName->installEventFilter(this);
    connect(m_ui->btnOK, &QPushButton::clicked, this, &NameEntryDialog::confirm);
    connect(m_ui->btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

NameEntryDialog::~NameEntryDialog() = default;

std::optional<QString> NameEntryDialog::enterName(DataModule& data, QWidget* parent)
{
    NameEntryDialog dialog(data, parent);
    WindowPlacement::place(&dialog, WindowPlacement::Editor, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.name();
}

QString NameEntryDialog::name() const
{
    return m_ui->edtName->text();
}

void NameEntryDialog::confirm()
{
    if (name().trimmed().isEmpty()) {
        m_data.messenger().info(blankNameMessage());
        m_ui->edtName->setFocus();
        return;
    }
    accept();
}

bool NameEntryDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
