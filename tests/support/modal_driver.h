#pragma once

// Drives a modal dialog from a test: the action runs on the dialog once it is open, while
// the code under test waits in exec().

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

inline void whenModalOpens(std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        // Keys and focus checks need the dialog to be the active window, which a loaded
        // machine may not have made it yet.
        QApplication::setActiveWindow(modal);
        action(modal);
    });
    timer->start();
}
