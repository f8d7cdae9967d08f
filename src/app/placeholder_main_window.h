#pragma once

#include <QMainWindow>

class DataModule;

// The window start-up ends in until the full main window exists.
class PlaceholderMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit PlaceholderMainWindow(DataModule& data, QWidget* parent = nullptr);

    // After every successful login: the role's commands and the operator in the status bar.
    void applyLogin();

private:
    DataModule& m_data;
};
