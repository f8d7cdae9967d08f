#pragma once

#include <QDate>
#include <QWidget>

#include <optional>

class QCheckBox;
class QDateEdit;

// A date with a tick box in front: a cleared box means "no date". The date stays editable;
// changing it ticks the box, as a person who types a date means it.
class TickedDateEdit : public QWidget {
    Q_OBJECT
public:
    explicit TickedDateEdit(QWidget* parent = nullptr);

    bool isChecked() const;
    void setChecked(bool checked);
    QDate date() const;
    void setDate(const QDate& date);
    // The date when ticked; nothing when not.
    std::optional<QDate> value() const;
    // Shows the date ticked, or `fallback` unticked when there is none.
    void setValue(const std::optional<QDate>& date, const QDate& fallback);
    // A locked date cannot be changed and takes no focus.
    void setLocked(bool locked);

    QCheckBox* tickBox() const { return m_box; }
    QDateEdit* dateEdit() const { return m_edit; }

Q_SIGNALS:
    // The user ticked or cleared the box or changed the date (not emitted for set*()).
    void edited();

private:
    void showTick();

    QCheckBox* m_box;
    QDateEdit* m_edit;
    bool m_setting = false;
};
