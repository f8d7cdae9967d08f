#include "records/ticked_date_edit.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>

TickedDateEdit::TickedDateEdit(QWidget* parent)
    : QWidget(parent), m_box(new QCheckBox(this)), m_edit(new QDateEdit(this))
{
    m_box->setObjectName(QStringLiteral("tick"));
    m_edit->setObjectName(QStringLiteral("date"));
    m_edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_edit->setCalendarPopup(true);
    m_edit->setDate(QDate::currentDate());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_box);
    layout->addWidget(m_edit, 1);
    setFocusProxy(m_box);
    setFocusPolicy(m_box->focusPolicy());

    connect(m_box, &QCheckBox::toggled, this, [this] {
        showTick();
        if (!m_setting)
            Q_EMIT edited();
    });
    connect(m_edit, &QDateEdit::dateChanged, this, [this] {
        if (m_setting)
            return;
        if (!m_box->isChecked()) {
            const QSignalBlocker block(m_box);
            m_box->setChecked(true);
            showTick();
        }
        Q_EMIT edited();
    });
    showTick();
}

bool TickedDateEdit::isChecked() const
{
    return m_box->isChecked();
}

void TickedDateEdit::setChecked(bool checked)
{
    m_setting = true;
    m_box->setChecked(checked);
    m_setting = false;
    showTick();
}

QDate TickedDateEdit::date() const
{
    return m_edit->date();
}

void TickedDateEdit::setDate(const QDate& date)
{
    m_setting = true;
    m_edit->setDate(date);
    m_setting = false;
}

std::optional<QDate> TickedDateEdit::value() const
{
    if (!isChecked())
        return std::nullopt;
    return date();
}

void TickedDateEdit::setValue(const std::optional<QDate>& date, const QDate& fallback)
{
    setDate(date ? *date : fallback);
    setChecked(date.has_value());
}

void TickedDateEdit::setLocked(bool locked)
{
    m_box->setEnabled(!locked);
    m_edit->setEnabled(!locked);
}

void TickedDateEdit::showTick()
{
    // An unticked date is only a suggestion: shown pale.
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, m_box->isChecked()
                                         ? QWidget::palette().color(QPalette::Text)
                                         : QWidget::palette().color(QPalette::PlaceholderText));
    m_edit->setPalette(palette);
}
