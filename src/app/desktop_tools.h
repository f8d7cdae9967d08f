#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The desktop's own calculator and text editor, started by the tools menu. Desktops differ,
// so each tool is the first of several known programs that is installed.
namespace DesktopTools {

// Finds a program by name on the search path; empty when it is not installed.
using Finder = std::function<QString(const QString& name)>;
Finder pathFinder();

QStringList calculatorCandidates();
// The last candidate, xdg-open, opens a text file with whatever the desktop uses for text.
QStringList textEditorCandidates();

// Full path of the first installed candidate; empty when none is.
QString firstInstalled(const QStringList& candidates, const Finder& finder = pathFinder());

// Starts the program detached; `arguments` go to it unchanged. False when it could not start.
bool start(const QString& program, const QStringList& arguments = {});

QString noCalculatorMessage();
QString noTextEditorMessage();

} // namespace DesktopTools
