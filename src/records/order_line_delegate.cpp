#include "records/order_line_delegate.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

OrderLineDelegate::OrderLineDelegate(PickListSource pickLists, LookSource looks, QObject* parent)
    : DataGridDelegate(std::move(pickLists), parent), m_looks(std::move(looks))
{
}

QRect OrderLineDelegate::buttonRect(const QRect& cell)
{
    const int width = qMin(cell.height() + 2, cell.width() / 2);
    return QRect(cell.right() - width + 1, cell.top(), width, cell.height());
}

void OrderLineDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    DataGridDelegate::initStyleOption(option, index);
    const Look look = m_looks(index);
    if (look.background.isValid())
        option->backgroundBrush = look.background;
    if (look.text.isValid()) {
        option->palette.setColor(QPalette::Text, look.text);
        option->palette.setColor(QPalette::HighlightedText, look.text);
    }
}

void OrderLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    const Look look = m_looks(index);
    if (!look.button) {
        DataGridDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem text = option;
    const QRect button = buttonRect(option.rect);
    text.rect.setRight(button.left() - 1);
    DataGridDelegate::paint(painter, text, index);

    QStyleOptionButton face;
    face.rect = button.adjusted(1, 1, -1, -1);
    face.text = QStringLiteral("…");
    face.state = QStyle::State_Enabled | QStyle::State_Raised;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &face, painter, widget);
}

bool OrderLineDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                    const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::MouseButtonRelease && m_looks(index).button) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            buttonRect(option.rect).contains(mouse->position().toPoint())) {
            Q_EMIT buttonClicked(index);
            return true;
        }
    }
    return DataGridDelegate::editorEvent(event, model, option, index);
}
