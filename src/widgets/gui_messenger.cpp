#include "widgets/gui_messenger.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

int GuiMessenger::show(const QString& text, Kind kind)
{
    QWidget* parent = QApplication::activeWindow();
    QMessageBox box(parent);
    box.setText(text);
    switch (kind) {
    case Info:
        box.setWindowTitle(QStringLiteral("提示"));
        box.setIcon(QMessageBox::Information);
        break;
    case Question:
        box.setWindowTitle(QStringLiteral("询问"));
        box.setIcon(QMessageBox::Question);
        break;
    case Warning:
        box.setWindowTitle(QStringLiteral("警告"));
        box.setIcon(QMessageBox::Warning);
        break;
    case Error:
        box.setWindowTitle(QStringLiteral("错误"));
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (kind != Question) {
        box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        box.exec();
        return 0;
    }
    QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    // Closing the box any other way counts as "no": only 1 or 2 ever comes back.
    return box.clickedButton() == yes ? Yes : No;
}
