#pragma once

#include "reference/code_tree.h"

#include <QStringList>

#include <ostream>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// A tree written on one line, "code name(children)", so a test can compare a whole shape.
inline QString outline(const CodeTreeNode& node)
{
    QString text = node.code + QLatin1Char(' ') + node.name;
    if (node.hasChildren()) {
        QStringList children;
        for (const auto& child : node.children)
            children << outline(*child);
        text += QLatin1Char('(') + children.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return text;
}

inline CodeTreeNode row(qint64 id, const QString& code, const QString& name, const QString& path = {})
{
    CodeTreeNode node;
    node.id = id;
    node.code = code;
    node.name = name;
    node.path = path;
    return node;
}
