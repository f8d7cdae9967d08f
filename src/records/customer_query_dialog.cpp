#include "records/customer_query_dialog.h"

#include "ui_customer_query_dialog.h"

#include "data/data_module.h"
#include "data/data_services.h"
#include "data/database.h"
#include "records/code_list_source.h"
#include "reference/code_tree_window.h"
#include "widgets/combo_items.h"
#include "widgets/window_placement.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QShortcut>

CustomerQueryDialog::CustomerQueryDialog(DataModule& data, QWidget* parent, const QDate& today)
    : QDialog(parent), m_ui(std::make_unique<Ui::CustomerQueryDialog>()), m_data(data)
{
    m_ui->setupUi(this);
    Ui::CustomerQueryDialog& ui = *m_ui;

    m_codeTypes = {
        {ui.cbbArea, QStringLiteral("area")},           {ui.cbbPinPai, QStringLiteral("pinpai")},
        {ui.cbbIFsongHuo, QStringLiteral("ifsonghuo")}, {ui.cbbFWemp, QStringLiteral("fwemp")},
        {ui.cbbPGemp, QStringLiteral("pgemp")},         {ui.cbbXSemp, QStringLiteral("xsemp")},
        {ui.cbbPStype, QStringLiteral("PStype")},       {ui.cbbFWtaidu, QStringLiteral("fwtaidu")},
    };
    for (auto it = m_codeTypes.cbegin(); it != m_codeTypes.cend(); ++it)
        refill(it.key());
    // Nothing is chosen in the lists with entries of their own either.
    for (QComboBox* combo : {ui.cbbStatus, ui.cbbFWtype})
        combo->setCurrentIndex(-1);
    fillOperatorLists();

    m_purchase = {ui.CheckBox1, ui.cbfromDate, ui.dtpfromDate, ui.cbtoDate, ui.dtptoDate};
    m_setup = {ui.CheckBox2, ui.cbfromDate1, ui.dtpfromDate1, ui.cbtoDate1, ui.dtptoDate1};
    const QDate monthStart(today.year(), today.month(), 1);
    for (const DateRangeControls* range : {&m_purchase, &m_setup}) {
        range->from->setDate(monthStart);
        range->to->setDate(today);
        range->range->setChecked(false);
        for (QCheckBox* box : {range->range, range->fromTick, range->toTick})
            connect(box, &QCheckBox::toggled, this, &CustomerQueryDialog::updateDateControls);
    }
    updateDateControls();

    connect(ui.sbBuyAddress, &QToolButton::clicked, this, [this] {
        m_ui->edtBuyAddress->setText(
            CodeTreeWindow::pick(m_data, TreeKind::PurchasePlace, m_ui->edtBuyAddress->text(), this));
    });
    connect(ui.sbHPtype, &QToolButton::clicked, this, [this] {
        m_ui->edtHPtype->setText(
            CodeTreeWindow::pick(m_data, TreeKind::GoodsType, m_ui->edtHPtype->text(), this));
    });
    connect(ui.btnQuery, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui.btnClose, &QPushButton::clicked, this, &QDialog::reject);
    auto* queryKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(queryKey, &QShortcut::activated, this, &QDialog::accept);

    // Enter moves on as Tab does; the code lists are read again whenever their list is entered.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(child) || qobject_cast<QLineEdit*>(child) ||
            qobject_cast<QAbstractSpinBox*>(child) || qobject_cast<QCheckBox*>(child))
            child->installEventFilter(this);
    }
}

CustomerQueryDialog::~CustomerQueryDialog() = default;

std::optional<SqlCondition> CustomerQueryDialog::ask(DataModule& data, QWidget* parent)
{
    CustomerQueryDialog dialog(data, parent);
    WindowPlacement::place(&dialog, WindowPlacement::Editor, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.condition();
}

void CustomerQueryDialog::fillOperatorLists()
{
    DataServices& services = m_data.services();
    const QList<QPair<QComboBox*, QString>> lists = {
        {m_ui->cbbEditEmp, QStringLiteral("F_EditEmp")},
        {m_ui->cbbOperName, QStringLiteral("F_OperName")},
    };
    for (const auto& [combo, column] : lists) {
        ComboItems::fill(combo,
                         services.comboItems(
                             QStringLiteral("SELECT %1 FROM t_client WHERE %1 <> '' GROUP BY %1 ORDER BY %1")
                                 .arg(column)));
        combo->setCurrentIndex(-1);
    }
}

// Refills a code-list drop-down and keeps what it shows. A fixed-choice list starts with a
// blank entry, so that choosing nothing stays possible.
void CustomerQueryDialog::refill(QComboBox* combo)
{
    const QString shown = combo->currentText();
    const SqlStatement names = CodeListSource::distinctNames(m_codeTypes.value(combo));
    QStringList items = m_data.services().comboItems(names.sql, names.values);
    if (combo->isEditable()) {
        ComboItems::fill(combo, items);
        combo->setCurrentIndex(-1);
        combo->setEditText(shown);
        return;
    }
    items.prepend(QString());
    if (!shown.isEmpty() && !items.contains(shown))
        items << shown;
    ComboItems::fill(combo, items);
    combo->setCurrentIndex(int(items.indexOf(shown)));
}

void CustomerQueryDialog::updateDateControls()
{
    for (const DateRangeControls* range : {&m_purchase, &m_setup}) {
        const bool on = range->range->isChecked();
        range->fromTick->setEnabled(on);
        range->toTick->setEnabled(on);
        range->from->setEnabled(on && range->fromTick->isChecked());
        range->to->setEnabled(on && range->toTick->isChecked());
    }
}

CustomerQuery::DateRange CustomerQueryDialog::dateRange(const DateRangeControls& controls) const
{
    CustomerQuery::DateRange range;
    range.enabled = controls.range->isChecked();
    if (controls.fromTick->isChecked())
        range.from = controls.from->date();
    if (controls.toTick->isChecked())
        range.to = controls.to->date();
    return range;
}

CustomerQuery::Criteria CustomerQueryDialog::criteria() const
{
    CustomerQuery::Criteria criteria;
    for (const CustomerQuery::Field& field : CustomerQuery::fields()) {
        if (auto* edit = findChild<QLineEdit*>(field.control))
            criteria.texts.insert(field.control, edit->text());
        else if (auto* combo = findChild<QComboBox*>(field.control))
            criteria.texts.insert(field.control, combo->currentText());
    }
    criteria.purchase = dateRange(m_purchase);
    criteria.setup = dateRange(m_setup);
    return criteria;
}

SqlCondition CustomerQueryDialog::condition() const
{
    return CustomerQuery::condition(criteria(), m_data.db().dialect());
}

bool CustomerQueryDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (combo && m_codeTypes.contains(combo) &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            refill(combo);
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
