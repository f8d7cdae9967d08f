#pragma once

#include <QWidget>

// The band across the top of the login window: the program's name on a painted gradient.
// Child widgets (the instruction text) sit below the name.
class LoginBanner : public QWidget {
    Q_OBJECT
public:
    explicit LoginBanner(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
