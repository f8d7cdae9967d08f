#pragma once

class QWidget;

// Places a window before it is shown.
namespace WindowPlacement {
enum Mode {
    Large = 0,  // large windows from the main menus: most of the screen, centred
    Editor = 1, // editors opened from another window: centred on their opener
};
void place(QWidget* window, int mode, QWidget* opener = nullptr);
} // namespace WindowPlacement
