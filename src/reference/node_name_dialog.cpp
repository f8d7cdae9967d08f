#include "reference/node_name_dialog.h"

#include "ui_node_name_dialog.h"

#include "data/data_module.h"
#include "data/messenger.h"
#include "reference/code_tree_store.h"
#include "reference/code_tree_window.h"
#include "widgets/window_placement.h"

#include <QPushButton>
#include <QStyle>

NodeNameDialog::NodeNameDialog(DataModule& data, const QString& caption, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::NodeNameDialog>()), m_data(data)
{
    m_ui->setupUi(this);
    setWindowTitle(caption);
    const bool picksType = caption == typeNameCaption();
    m_ui->btnPick->setVisible(picksType);
    m_ui->btnPick->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    setFixedHeight(sizeHint().height());
    connect(m_ui->btnOK, &QPushButton::clicked, this, &NodeNameDialog::confirm);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->btnPick, &QToolButton::clicked, this, &NodeNameDialog::pickType);
}

NodeNameDialog::~NodeNameDialog() = default;

void NodeNameDialog::setName(const QString& name)
{
    m_ui->edtName->setText(name);
    m_ui->edtName->selectAll();
}

QString NodeNameDialog::name() const
{
    return m_ui->edtName->text();
}

void NodeNameDialog::confirm()
{
    QString problem = name().trimmed().isEmpty() ? CodeTreeStore::blankNameMessage() : QString();
    if (problem.isEmpty() && m_check)
        problem = m_check(name());
    if (!problem.isEmpty()) {
        m_data.messenger().info(problem);
        m_ui->edtName->setFocus();
        return;
    }
    accept();
}

void NodeNameDialog::pickType()
{
    m_ui->edtName->setText(CodeTreeWindow::pick(m_data, TreeKind::GoodsType, m_ui->edtName->text(), this));
    m_ui->edtName->setFocus();
}

QString NodeNameDialog::enterCaption(DataModule& data, const QString& caption, const QString& initial,
                                     QWidget* parent, NameCheck check)
{
    NodeNameDialog dialog(data, caption, parent);
    dialog.setName(initial);
    dialog.setNameCheck(std::move(check));
    WindowPlacement::place(&dialog, WindowPlacement::Editor, parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.name();
}
