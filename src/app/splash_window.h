#pragma once

#include <QWidget>

class QLabel;

// The borderless window shown while the program starts; its label tells the progress.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Shows the text and paints it at once (start-up does not return to the event loop).
    void setMessage(const QString& text);
    QString message() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_label;
};
