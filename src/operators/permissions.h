#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class DataModule;

// The main-window commands a role may be denied, and which of them (and of the top-level
// menus) an operator sees. The main window names each gated command's QAction "Action" +
// code and each top-level menu by the object names below; applyPermissions() finds them so.
class Permissions {
public:
    struct Command {
        QString code;       // "101"; also what PartLimit.F_LmtCode holds
        QString actionName; // "Action101"
        QString caption;    // the menu caption
        QString menuName;   // object name of its top-level menu
    };
    struct Menu {
        QString objectName; // "mnuFile"
        QString caption;    // "文件"
        QChar group;        // first digit of the codes that show it
    };
    struct Visibility {
        QString objectName;
        bool visible = false;
    };
    // What one login may see: every gated command and every top-level menu, in table order.
    struct Gating {
        QList<Visibility> actions;
        QList<Visibility> menus;

        bool actionVisible(const QString& actionName) const;
        bool menuVisible(const QString& menuName) const;
        QStringList visibleActions() const;
    };

    // The 41 gated commands in code order.
    static const QList<Command>& commands();
    // 文件, 编辑, 输出, 统计, 数据.
    static const QList<Menu>& menus();

    // "731" sees everything; anyone else sees a command when hasLimit(code) is true. A menu
    // shows when one of its gated commands does.
    static Gating compute(const QString& operatorCode, const std::function<bool(const QString&)>& hasLimit);
    // The gating of the current login. The role's codes are read in one query, so a lost
    // connection gives one message rather than one per command, and then hides every command.
    static Gating forLogin(DataModule& data);
};
