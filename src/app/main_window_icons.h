#pragma once

#include <QIcon>

// The pictures of the main window's tool bar, menus and buttons, drawn here so that they look
// the same on every desktop whatever icon theme it has.
namespace MainWindowIcons {

enum class Kind {
    Relogin,
    PrintSetup,
    Add,
    Edit,
    Dispatch,
    Complete,
    Delete,
    Repair,
    Goods,
    Reminder,
    Sort,
    Refresh,
    Close,
    Export,
    Print,
    Find,
    Calculator,
    Notepad,
    Help,
    About,
    Statistics,
    Database,
    Settings,
};

QIcon icon(Kind kind);

} // namespace MainWindowIcons
