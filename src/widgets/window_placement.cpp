#include "widgets/window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace WindowPlacement {

void place(QWidget* window, int mode, QWidget* opener)
{
    if (!window)
        return;
    QWidget* anchor = opener ? opener->window() : nullptr;
    QScreen* screen = anchor && anchor->screen() ? anchor->screen() : QApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    if (mode == Large) {
        const QSize size(area.width() * 9 / 10, area.height() * 9 / 10);
        window->resize(size.expandedTo(window->minimumSize()).boundedTo(area.size()));
        frame = window->frameGeometry();
        frame.moveCenter(area.center());
    } else {
        const QPoint centre = anchor && anchor->isVisible() ? anchor->frameGeometry().center() : area.center();
        frame.moveCenter(centre);
    }
    // Keep the title bar on the screen.
    if (frame.right() > area.right())
        frame.moveRight(area.right());
    if (frame.bottom() > area.bottom())
        frame.moveBottom(area.bottom());
    if (frame.left() < area.left())
        frame.moveLeft(area.left());
    if (frame.top() < area.top())
        frame.moveTop(area.top());
    window->move(frame.topLeft());
}

} // namespace WindowPlacement
