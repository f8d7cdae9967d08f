#include "records/return_visit_editor.h"

#include "ui_return_visit_editor.h"

#include "data/data_module.h"
#include "data/data_services.h"
#include "data/messenger.h"
#include "data/number_format.h"
#include "data/record_set.h"
#include "records/code_list_source.h"
#include "records/return_visit_store.h"
#include "widgets/combo_items.h"
#include "widgets/window_placement.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QShortcut>

namespace {

QString amountText(double value)
{
    return QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
}

// An amount being typed: empty, a lone sign or point count as 0.
double amountValue(const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? value : 0.0;
}

} // namespace

ReturnVisitEditor::ReturnVisitEditor(DataModule& data, Mode mode, RecordSet& visits, const QString& orderCode,
                                     const QString& customerInfo, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ReturnVisitEditor>()), m_data(data), m_mode(mode),
      m_visits(visits), m_orderCode(orderCode)
{
    m_ui->setupUi(this);
    setWindowTitle(caption(mode));
    m_ui->mmoCustomer->setPlainText(customerInfo);
    m_ui->CheckBox1->setVisible(mode == Mode::New);
    m_ui->DBNavigator1->setVisible(mode == Mode::Edit);
    const auto* amountPattern = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?\\d{0,12}(\\.\\d{0,4})?")), this);
    for (int i = 0; i < ReturnVisit::ChargeCount; ++i) {
        amountEdit(i)->setValidator(amountPattern);
        connect(amountEdit(i), &QLineEdit::textChanged, this, &ReturnVisitEditor::amountsChanged);
    }

    // Enter moves on as Tab does, except in the memos; the two editable lists take their
    // entries afresh each time they are entered.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(child) || qobject_cast<QLineEdit*>(child) ||
            qobject_cast<QAbstractSpinBox*>(child) || qobject_cast<QCheckBox*>(child))
            child->installEventFilter(this);
    }

    // Enter never adds what was typed to a list's entries.
    m_ui->cbbHFemp->setInsertPolicy(QComboBox::NoInsert);
    m_ui->cbbFWtaidu->setInsertPolicy(QComboBox::NoInsert);

    connect(m_ui->Button1, &QPushButton::clicked, this, &ReturnVisitEditor::confirm);
    connect(m_ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
    auto* saveKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(saveKey, &QShortcut::activated, this, [this] {
        if (m_ui->Button1->isEnabled())
            confirm();
    });
    connect(m_ui->nbFirst, &QToolButton::clicked, this, [this] { move(0); });
    connect(m_ui->nbPrior, &QToolButton::clicked, this, [this] { move(m_visits.currentRow() - 1); });
    connect(m_ui->nbNext, &QToolButton::clicked, this, [this] { move(m_visits.currentRow() + 1); });
    connect(m_ui->nbLast, &QToolButton::clicked, this, [this] {
        m_visits.fetchAll();
        move(m_visits.rowCount() - 1);
    });

    loadCodeLists();
    if (mode == Mode::Edit)
        showCurrentVisit();
    else
        clearToNewVisit();
    updateNavigator();
}

ReturnVisitEditor::~ReturnVisitEditor() = default;

bool ReturnVisitEditor::openEditor(DataModule& data, Mode mode, RecordSet& visits, const QString& orderCode,
                                   const QString& customerInfo, QWidget* parent)
{
    ReturnVisitEditor editor(data, mode, visits, orderCode, customerInfo, parent);
    WindowPlacement::place(&editor, WindowPlacement::Editor, parent);
    editor.exec();
    return editor.savedAny();
}

QString ReturnVisitEditor::caption(Mode mode)
{
    return mode == Mode::New ? QStringLiteral("客户回访记录 - 新增") : QStringLiteral("客户回访记录 - 修改");
}

QComboBox* ReturnVisitEditor::itemBox(int index) const
{
    QComboBox* boxes[] = {m_ui->cbbHFitem1, m_ui->cbbHFitem2, m_ui->cbbHFitem3, m_ui->cbbHFitem4,
                          m_ui->cbbHFitem5};
    return boxes[index];
}

QLineEdit* ReturnVisitEditor::amountEdit(int index) const
{
    QLineEdit* edits[] = {m_ui->ceHFprice1, m_ui->ceHFprice2, m_ui->ceHFprice3, m_ui->ceHFprice4,
                          m_ui->ceHFprice5};
    return edits[index];
}

void ReturnVisitEditor::loadCodeLists()
{
    const SqlStatement items = CodeListSource::distinctNames(ReturnVisitStore::chargeItemType());
    m_chargeItems = m_data.services().comboItems(items.sql, items.values);
    refillKeepingText(m_ui->cbbHFemp, ReturnVisitStore::employeeType());
    refillKeepingText(m_ui->cbbFWtaidu, ReturnVisitStore::attitudeType());
}

void ReturnVisitEditor::refillKeepingText(QComboBox* combo, const QString& type)
{
    const QString text = combo->currentText();
    const SqlStatement names = CodeListSource::names(type);
    ComboItems::fill(combo, m_data.services().comboItems(names.sql, names.values));
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

// A stored item that the list lacks is added to it, so that it shows and is saved unchanged.
// The blank first entry lets an item be taken off again.
void ReturnVisitEditor::setChargeItem(QComboBox* combo, const QString& stored)
{
    ComboItems::fill(combo, QStringList{QString()} + m_chargeItems);
    combo->setCurrentIndex(0);
    if (stored.trimmed().isEmpty())
        return;
    ComboItems::select(combo, stored);
    if (combo->currentIndex() <= 0) {
        combo->addItem(stored);
        combo->setCurrentIndex(combo->count() - 1);
    }
}

void ReturnVisitEditor::showVisit(const ReturnVisit& visit)
{
    m_loading = true;
    m_ui->dtpHFdate->setDate(visit.date.isValid() ? visit.date : QDate::currentDate());
    m_ui->cbbHFemp->setEditText(visit.employee);
    m_ui->cbbFWtaidu->setEditText(visit.attitude);
    m_ui->cbAddflag->setChecked(visit.giftReceived);
    for (int i = 0; i < ReturnVisit::ChargeCount; ++i) {
        setChargeItem(itemBox(i), visit.items[i]);
        amountEdit(i)->setText(amountText(visit.prices[i]));
    }
    m_ui->Memo1->setPlainText(visit.content);
    m_ui->Memo2->setPlainText(visit.result);
    m_ui->Memo3->setPlainText(visit.chargeNotes);
    showTotal(visit.total);
    m_loading = false;
}

void ReturnVisitEditor::showCurrentVisit()
{
    const int row = m_visits.currentRow();
    if (row < 0)
        return clearToNewVisit();
    showVisit(ReturnVisitStore::fromRow(m_visits, row));
}

void ReturnVisitEditor::clearToNewVisit()
{
    showVisit(ReturnVisit::newVisit(QDate::currentDate()));
}

void ReturnVisitEditor::amountsChanged()
{
    if (m_loading)
        return;
    std::array<double, ReturnVisit::ChargeCount> prices{};
    for (int i = 0; i < ReturnVisit::ChargeCount; ++i)
        prices[i] = amountValue(amountEdit(i)->text());
    showTotal(ReturnVisit::sum(prices));
}

void ReturnVisitEditor::showTotal(double total)
{
    m_total = total;
    m_ui->ceHFtotalprice->setText(NumberFormat::format(total, m_data.login().moneyFormat));
}

ReturnVisit ReturnVisitEditor::visit() const
{
    ReturnVisit visit;
    visit.date = m_ui->dtpHFdate->date();
    visit.employee = m_ui->cbbHFemp->currentText();
    visit.attitude = m_ui->cbbFWtaidu->currentText();
    visit.giftReceived = m_ui->cbAddflag->isChecked();
    for (int i = 0; i < ReturnVisit::ChargeCount; ++i) {
        visit.items[i] = itemBox(i)->currentText();
        visit.prices[i] = amountValue(amountEdit(i)->text());
    }
    visit.total = m_total;
    visit.content = m_ui->Memo1->toPlainText();
    visit.result = m_ui->Memo2->toPlainText();
    visit.chargeNotes = m_ui->Memo3->toPlainText();
    return visit;
}

bool ReturnVisitEditor::save()
{
    std::optional<qint64> id;
    if (m_mode == Mode::Edit) {
        if (m_visits.currentRow() < 0)
            return false;
        id = m_visits.current(QStringLiteral("F_ID")).toLongLong();
    }
    QString error;
    const auto written = ReturnVisitStore::save(m_data.db(), m_orderCode, visit(), id, &error);
    if (!written) {
        m_data.messenger().error(ReturnVisitStore::saveFailedMessage());
        return false;
    }
    m_savedAny = true;

    // The opener's list shows the visit just written.
    if (!m_visits.requery()) {
        m_data.messenger().error(DataServices::openFailureMessage());
        return true;
    }
    if (m_mode == Mode::Edit) {
        m_visits.locate(QStringLiteral("F_ID"), *written);
    } else {
        m_visits.fetchAll();
        m_visits.setCurrentRow(m_visits.rowCount() - 1);
    }
    return true;
}

void ReturnVisitEditor::confirm()
{
    if (!save())
        return;
    if (m_mode == Mode::New && m_ui->CheckBox1->isChecked()) {
        clearToNewVisit();
        m_ui->dtpHFdate->setFocus();
        return;
    }
    accept();
}

void ReturnVisitEditor::move(int row)
{
    if (row < 0 || row >= m_visits.rowCount())
        return;
    m_visits.setCurrentRow(row);
    showCurrentVisit();
    updateNavigator();
}

void ReturnVisitEditor::updateNavigator()
{
    const int row = m_visits.currentRow();
    const bool more = row >= 0 && (row < m_visits.rowCount() - 1 || m_visits.canFetchMore(QModelIndex()));
    m_ui->nbFirst->setEnabled(row > 0);
    m_ui->nbPrior->setEnabled(row > 0);
    m_ui->nbNext->setEnabled(more);
    m_ui->nbLast->setEnabled(more);
}

bool ReturnVisitEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && !m_loading) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason) {
            if (watched == m_ui->cbbHFemp)
                refillKeepingText(m_ui->cbbHFemp, ReturnVisitStore::employeeType());
            else if (watched == m_ui->cbbFWtaidu)
                refillKeepingText(m_ui->cbbFWtaidu, ReturnVisitStore::attitudeType());
        }
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* combo = qobject_cast<QComboBox*>(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !(combo && combo->view()->isVisible())) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ReturnVisitEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_ui->Button2->isEnabled())
            reject();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
