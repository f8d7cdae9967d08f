#include "reference/code_tree_store.h"

#include "data/database.h"
#include "data/dialect.h"
#include "data/sql_condition.h"

#include <QSet>

#include <algorithm>

CodeTreeStore::CodeTreeStore(Database& db, TreeKind kind) : m_db(db), m_kind(kind) {}

std::optional<std::vector<CodeTreeNode>> CodeTreeStore::storedRows(QString* error) const
{
    auto query = m_db.exec(
        QStringLiteral(
            "select F_ID, F_code, F_name, F_likecode from t_treecode where F_flag = ? order by F_code, F_ID"),
        {treeFlag(m_kind)});
    if (!query) {
        if (error)
            *error = m_db.lastError();
        return std::nullopt;
    }
    std::vector<CodeTreeNode> rows;
    while (query->next()) {
        CodeTreeNode& row = rows.emplace_back();
        row.id = query->value(0).toLongLong();
        row.code = query->value(1).toString();
        row.name = query->value(2).toString();
        row.path = query->value(3).toString();
    }
    return rows;
}

std::optional<QStringList> CodeTreeStore::storedCodes(QString* error) const
{
    auto query =
        m_db.exec(QStringLiteral("select F_code from t_treecode where F_flag = ?"), {treeFlag(m_kind)});
    if (!query) {
        if (error)
            *error = m_db.lastError();
        return std::nullopt;
    }
    QStringList codes;
    while (query->next())
        codes << query->value(0).toString();
    return codes;
}

std::optional<CodeTree> CodeTreeStore::load(QString* error) const
{
    auto rows = storedRows(error);
    if (!rows)
        return std::nullopt;
    return CodeTree::build(treeCaption(m_kind), std::move(*rows));
}

std::optional<QString> CodeTreeStore::nextFreeCode(const QString& prefix, const QStringList& codes)
{
    const qsizetype at = prefix.size();
    QSet<int> taken;
    int greatest = 0;
    for (const QString& code : codes) {
        // Deeper codes count too: a row whose parent row is missing still holds its segment.
        if (code.size() < at + CodeTree::SegmentWidth || !code.startsWith(prefix))
            continue;
        const QStringView segment = QStringView(code).mid(at, CodeTree::SegmentWidth);
        if (!std::all_of(segment.begin(), segment.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            continue;
        const int number = segment.toInt();
        taken.insert(number);
        greatest = std::max(greatest, number);
    }
    auto codeOf = [&](int number) {
        return prefix + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
    };
    if (greatest < MaxChildren)
        return codeOf(greatest + 1);
    // The last segment is used; numbers freed by deletions are still good.
    for (int number = 1; number <= MaxChildren; ++number) {
        if (!taken.contains(number))
            return codeOf(number);
    }
    return std::nullopt;
}

std::optional<QString> CodeTreeStore::prefixFor(const CodeTreeNode& node, CodeMode mode,
                                                QString* refusal) const
{
    if (mode == CodeMode::Sibling) {
        if (node.isRoot()) {
            *refusal = rootSiblingMessage();
            return std::nullopt;
        }
        // Numbered after the parent shown: a row whose parent row is missing sits under the
        // root, and so do its new siblings.
        return node.parent->isRoot() ? QString() : node.parent->code;
    }
    if (node.isRoot())
        return QString();
    // Its children's codes would not fit the scheme and would load under the root.
    if (!CodeTree::isRegularCode(node.code)) {
        *refusal = irregularParentMessage(node.code);
        return std::nullopt;
    }
    return node.code;
}

TreeEditResult CodeTreeStore::nextCode(const CodeTreeNode& node, CodeMode mode) const
{
    QString why;
    const auto prefix = prefixFor(node, mode, &why);
    if (!prefix)
        return TreeEditResult::refused(why);
    const auto codes = storedCodes(&why);
    if (!codes)
        return TreeEditResult::failed(why);
    const auto code = nextFreeCode(*prefix, *codes);
    if (!code)
        return TreeEditResult::refused(fullMessage());
    TreeEditResult result{TreeEditResult::Done, {}, *code, nullptr};
    return result;
}

SqlCondition CodeTreeStore::pathCondition(const Dialect& dialect, const QString& column, const QString& path)
{
    // PostgreSQL takes a backslash in a pattern as its escape unless told otherwise, and
    // every path begins with two of them.
    QString literal = path;
    literal.replace(QLatin1Char('!'), QStringLiteral("!!"))
        .replace(QLatin1Char('%'), QStringLiteral("!%"))
        .replace(QLatin1Char('_'), QStringLiteral("!_"));
    const QString like = column + QLatin1Char(' ') + dialect.likeOperator() + QStringLiteral(" ? ESCAPE '!'");
    SqlCondition condition;
    if (path == CodeTree::rootPath())
        return condition.add(like, {literal + QLatin1Char('%')});
    return condition.add(column + QStringLiteral(" = ? OR ") + like, {path, literal + QStringLiteral("\\%")});
}

QString CodeTreeStore::nameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return blankNameMessage();
    // The backslash separates the names of a path; inside a name it would fake a level.
    if (name.contains(QLatin1Char('\\')))
        return backslashMessage();
    return {};
}

TreeEditResult CodeTreeStore::add(CodeTree& tree, CodeTreeNode& selected, CodeMode mode, const QString& name,
                                  const QString& path)
{
    QString why;
    const auto prefix = prefixFor(selected, mode, &why);
    if (!prefix)
        return TreeEditResult::refused(why);
    why = nameProblem(name);
    if (!why.isEmpty())
        return TreeEditResult::refused(why);

    Transaction transaction(m_db);
    if (!transaction.isActive())
        return TreeEditResult::failed(m_db.lastError());
    // Numbered inside the transaction from the rows as they are now, not as first shown.
    const auto codes = storedCodes(&why);
    if (!codes)
        return TreeEditResult::failed(why);
    const auto code = nextFreeCode(*prefix, *codes);
    if (!code)
        return TreeEditResult::refused(fullMessage());
    const auto id = m_db.insert(QStringLiteral("t_treecode"), {{QStringLiteral("F_code"), *code},
                                                               {QStringLiteral("F_name"), name},
                                                               {QStringLiteral("F_likecode"), path},
                                                               {QStringLiteral("F_flag"), treeFlag(m_kind)}});
    if (!id || !transaction.commit())
        return TreeEditResult::failed(m_db.lastError());

    CodeTreeNode row;
    row.id = *id;
    row.code = *code;
    row.name = name;
    row.path = path;
    CodeTreeNode& added = mode == CodeMode::Sibling ? tree.insertAfter(selected, std::move(row))
                                                    : tree.appendChild(selected, std::move(row));
    return {TreeEditResult::Done, {}, *code, &added};
}

TreeEditResult CodeTreeStore::addSibling(CodeTree& tree, CodeTreeNode& selected, const QString& name)
{
    if (selected.isRoot())
        return TreeEditResult::refused(rootSiblingMessage());
    const QString path = selected.level() == 1 ? CodeTree::rootPath() + name
                                               : CodeTree::nodePath(selected, CodeTree::PathMode::Parent) +
                                                     QLatin1Char('\\') + name;
    return add(tree, selected, CodeMode::Sibling, name, CodeTree::collapseBackslashes(path));
}

TreeEditResult CodeTreeStore::addChild(CodeTree& tree, CodeTreeNode& selected, const QString& name)
{
    const QString path =
        selected.isRoot() ? CodeTree::rootPath() + name : selected.path + QLatin1Char('\\') + name;
    return add(tree, selected, CodeMode::Child, name, CodeTree::collapseBackslashes(path));
}

TreeEditResult CodeTreeStore::rename(CodeTreeNode& node, const QString& name)
{
    if (node.isRoot())
        return TreeEditResult::refused({});
    const QString why = nameProblem(name);
    if (!why.isEmpty())
        return TreeEditResult::refused(why);
    const QString oldPath = CodeTree::nodePath(node, CodeTree::PathMode::Node);
    const QString parentPath = node.parent->path;
    const QString newPath = CodeTree::collapseBackslashes(parentPath.trimmed() == CodeTree::rootPath()
                                                              ? CodeTree::rootPath() + name
                                                              : parentPath + QLatin1Char('\\') + name);
    if (oldPath.trimmed().compare(newPath.trimmed(), Qt::CaseInsensitive) == 0)
        return {TreeEditResult::Unchanged, {}, node.code, &node};

    Transaction transaction(m_db);
    if (!transaction.isActive())
        return TreeEditResult::failed(m_db.lastError());
    // By row identity: a second row that shares the code keeps its own name.
    if (!m_db.exec(
            QStringLiteral("update t_treecode set F_name = ?, F_likecode = ? where F_ID = ? and F_flag = ?"),
            {name, newPath, node.id, treeFlag(m_kind)}) ||
        !transaction.commit())
        return TreeEditResult::failed(m_db.lastError());
    node.name = name;
    node.path = newPath;
    return {TreeEditResult::Done, {}, node.code, &node};
}

TreeEditResult CodeTreeStore::removeSubtree(CodeTree& tree, CodeTreeNode& node)
{
    if (node.isRoot())
        return TreeEditResult::refused({});
    Transaction transaction(m_db);
    if (!transaction.isActive())
        return TreeEditResult::failed(m_db.lastError());
    // The subtree as stored now, placed the way every display places it: children another
    // workstation added go too, and a row shown elsewhere never does, whatever its code.
    QString why;
    auto rows = storedRows(&why);
    if (!rows)
        return TreeEditResult::failed(why);
    CodeTree current = CodeTree::build(treeCaption(m_kind), std::move(*rows));
    QList<qint64> ids{node.id};
    if (CodeTreeNode* stored = current.findById(node.id)) {
        const std::function<void(const CodeTreeNode&)> collect = [&](const CodeTreeNode& parent) {
            for (const auto& child : parent.children) {
                ids << child->id;
                collect(*child);
            }
        };
        collect(*stored);
    }
    for (const qint64 id : ids) {
        if (!m_db.exec(QStringLiteral("delete from t_treecode where F_ID = ? and F_flag = ?"),
                       {id, treeFlag(m_kind)}))
            return TreeEditResult::failed(m_db.lastError());
    }
    if (!transaction.commit())
        return TreeEditResult::failed(m_db.lastError());
    const QString code = node.code;
    tree.remove(node);
    return {TreeEditResult::Done, {}, code, nullptr};
}
