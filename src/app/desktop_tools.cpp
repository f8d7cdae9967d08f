#include "app/desktop_tools.h"

#include <QProcess>
#include <QStandardPaths>

DesktopTools::Finder DesktopTools::pathFinder()
{
    return [](const QString& name) { return QStandardPaths::findExecutable(name); };
}

QStringList DesktopTools::calculatorCandidates()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
            QStringLiteral("mate-calc"), QStringLiteral("xcalc")};
}

QStringList DesktopTools::textEditorCandidates()
{
    return {QStringLiteral("gedit"),  QStringLiteral("gnome-text-editor"), QStringLiteral("kate"),
            QStringLiteral("kwrite"), QStringLiteral("mousepad"),          QStringLiteral("xed"),
            QStringLiteral("pluma"),  QStringLiteral("leafpad"),           QStringLiteral("xdg-open")};
}

QString DesktopTools::firstInstalled(const QStringList& candidates, const Finder& finder)
{
    for (const QString& name : candidates) {
        const QString path = finder(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool DesktopTools::start(const QString& program, const QStringList& arguments)
{
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

QString DesktopTools::noCalculatorMessage()
{
    return QStringLiteral(
        "系统中没有找到计算器程序（gnome-calculator、kcalc、galculator 或 xcalc），请先安装其中之一。");
}

QString DesktopTools::noTextEditorMessage()
{
    return QStringLiteral(
        "系统中没有找到文本编辑程序（gedit、kate、mousepad、xed 或 pluma），请先安装其中之一。");
}
