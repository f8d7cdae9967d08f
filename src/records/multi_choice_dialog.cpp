#include "records/multi_choice_dialog.h"

#include "ui_multi_choice_dialog.h"

#include "data/data_module.h"
#include "data/data_services.h"
#include "records/multi_choice.h"
#include "widgets/window_placement.h"

#include <QEvent>
#include <QListWidgetItem>
#include <QStyle>

MultiChoiceDialog::MultiChoiceDialog(DataModule& data, const QString& caption, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::MultiChoiceDialog>()), m_data(data)
{
    m_ui->setupUi(this);
    setWindowTitle(caption);
    // Two columns of tick boxes, filled row by row.
    m_ui->clbList->setFlow(QListView::LeftToRight);
    m_ui->clbList->setWrapping(true);
    m_ui->clbList->setResizeMode(QListView::Adjust);
    m_ui->clbList->viewport()->installEventFilter(this);
    connect(m_ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    loadEntries();
}

MultiChoiceDialog::~MultiChoiceDialog() = default;

QString MultiChoiceDialog::choose(DataModule& data, const QString& caption, const QString& text,
                                  QWidget* parent)
{
    MultiChoiceDialog dialog(data, caption, parent);
    dialog.setText(text);
    WindowPlacement::place(&dialog, WindowPlacement::Editor, parent);
    if (dialog.exec() != QDialog::Accepted)
        return text;
    return dialog.text();
}

void MultiChoiceDialog::loadEntries()
{
    const SqlStatement source = MultiChoice::repairInfoSource();
    const QStringList names = m_data.services().comboItems(source.sql, source.values);
    // Without entries in the code list the list keeps what it holds.
    if (names.isEmpty())
        return;
    m_ui->clbList->clear();
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, m_ui->clbList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    layOutColumns();
}

QStringList MultiChoiceDialog::entries() const
{
    QStringList names;
    for (int i = 0; i < m_ui->clbList->count(); ++i)
        names << m_ui->clbList->item(i)->text();
    return names;
}

void MultiChoiceDialog::setText(const QString& text)
{
    const QList<bool> ticks = MultiChoice::ticked(entries(), text);
    for (int i = 0; i < ticks.size(); ++i)
        m_ui->clbList->item(i)->setCheckState(ticks.at(i) ? Qt::Checked : Qt::Unchecked);
}

QString MultiChoiceDialog::text() const
{
    QList<bool> ticks;
    for (int i = 0; i < m_ui->clbList->count(); ++i)
        ticks << (m_ui->clbList->item(i)->checkState() == Qt::Checked);
    return MultiChoice::join(entries(), ticks);
}

// The columns share the list's width whenever it changes.
bool MultiChoiceDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->clbList->viewport() && event->type() == QEvent::Resize)
        layOutColumns();
    return QDialog::eventFilter(watched, event);
}

void MultiChoiceDialog::layOutColumns()
{
    QListWidget* list = m_ui->clbList;
    // Each entry takes half the width, so that the list flows in two columns.
    // Room is kept for a scroll bar, which the list reserves while it lays the entries out.
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int width = (list->viewport()->width() - scrollBar - 2 * list->spacing() - 4) / 2;
    const QSize cell(qMax(60, width), list->fontMetrics().height() + 10);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSizeHint(cell);
}
