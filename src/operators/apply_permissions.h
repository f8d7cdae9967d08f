#pragma once

#include "operators/permissions.h"

class DataModule;
class QWidget;

// Shows and hides the main window's gated commands and top-level menus. Commands are the
// QActions named "Action" + code (every QAction of that name, should a tool bar or pop-up
// menu carry its own copy); a hidden action leaves every menu and tool bar it is in, and
// its shortcut stops working. Menus are the QMenus named mnuFile (文件), mnuEdit (编辑),
// mnuOutput (输出), mnuStat (统计) and mnuData (数据); a hidden menu leaves the menu bar.
// Names the window does not have are skipped.
void applyPermissions(QWidget* mainWindow, const Permissions::Gating& gating);
// The same for the current login; call it after every successful login.
void applyPermissions(QWidget* mainWindow, DataModule& data);
