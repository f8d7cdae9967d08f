#include "print/field_chooser_dialog.h"

#include "ui_field_chooser_dialog.h"
#include "widgets/data_grid.h"

FieldChooserDialog::FieldChooserDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_ui(std::make_unique<Ui::FieldChooserDialog>())
{
    m_ui->setupUi(this);
    connect(m_ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

FieldChooserDialog::~FieldChooserDialog() = default;

void FieldChooserDialog::setColumns(const QStringList& titles, const QList<bool>& shown)
{
    m_ui->chkFields->clear();
    for (int i = 0; i < titles.size(); ++i) {
        auto* item = new QListWidgetItem(titles.at(i), m_ui->chkFields);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(shown.value(i, true) ? Qt::Checked : Qt::Unchecked);
    }
    if (m_ui->chkFields->count() > 0)
        m_ui->chkFields->setCurrentRow(0);
}

QList<bool> FieldChooserDialog::ticked() const
{
    QList<bool> list;
    for (int i = 0; i < m_ui->chkFields->count(); ++i)
        list << (m_ui->chkFields->item(i)->checkState() == Qt::Checked);
    return list;
}

QStringList FieldChooserDialog::chooseGridFields(DataGrid& grid, QWidget* parent)
{
    QStringList titles;
    QList<bool> shown;
    for (int position = 0; position < grid.gridColumnCount(); ++position) {
        titles << grid.gridColumn(position).title;
        shown << grid.isColumnVisible(position);
    }
    FieldChooserDialog dialog(parent ? parent : grid.window());
    dialog.setColumns(titles, shown);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QStringList visibility;
    const QList<bool> ticks = dialog.ticked();
    for (int position = 0; position < ticks.size() && position < grid.gridColumnCount(); ++position) {
        grid.setColumnVisible(position, ticks.at(position));
        visibility << (ticks.at(position) ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return visibility;
}
