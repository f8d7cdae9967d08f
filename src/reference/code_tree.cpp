#include "reference/code_tree.h"

#include <QHash>

#include <algorithm>

namespace {

std::unique_ptr<CodeTreeNode> detachedCopy(CodeTreeNode& node)
{
    auto copy = std::make_unique<CodeTreeNode>();
    copy->id = node.id;
    copy->code = std::move(node.code);
    copy->name = std::move(node.name);
    copy->path = std::move(node.path);
    return copy;
}

void visitAll(CodeTreeNode& node, const std::function<void(CodeTreeNode&)>& visit)
{
    visit(node);
    for (auto& child : node.children)
        visitAll(*child, visit);
}

} // namespace

CodeTree::CodeTree(const QString& caption) : m_root(std::make_unique<CodeTreeNode>())
{
    m_root->code = rootCode();
    m_root->name = caption;
    m_root->path = rootPath();
}

CodeTree CodeTree::build(const QString& caption, std::vector<CodeTreeNode> rows)
{
    CodeTree tree(caption);
    // Parents sort before their children; equal codes keep their order.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const CodeTreeNode& a, const CodeTreeNode& b) { return a.code < b.code; });
    QHash<QString, CodeTreeNode*> placed;
    for (CodeTreeNode& row : rows) {
        CodeTreeNode* parent = tree.m_root.get();
        const bool regular = isRegularCode(row.code);
        if (regular) {
            for (QString ancestor = row.code.chopped(SegmentWidth); !ancestor.isEmpty();
                 ancestor.chop(SegmentWidth)) {
                if (CodeTreeNode* found = placed.value(ancestor)) {
                    parent = found;
                    break;
                }
            }
        }
        auto node = detachedCopy(row);
        node->parent = parent;
        CodeTreeNode* added = parent->children.emplace_back(std::move(node)).get();
        // A second row with the same code stays a leaf; the first one takes the children.
        if (regular && !placed.contains(added->code))
            placed.insert(added->code, added);
    }
    return tree;
}

CodeTreeNode* CodeTree::findById(qint64 id)
{
    CodeTreeNode* found = nullptr;
    forEach([&](CodeTreeNode& node) {
        if (!found && !node.isRoot() && node.id == id)
            found = &node;
    });
    return found;
}

CodeTreeNode* CodeTree::findByPath(const QString& path)
{
    CodeTreeNode* found = nullptr;
    forEach([&](CodeTreeNode& node) {
        if (!found && node.path == path)
            found = &node;
    });
    return found;
}

void CodeTree::forEach(const std::function<void(CodeTreeNode&)>& visit)
{
    visitAll(*m_root, visit);
}

int CodeTree::storedCount() const
{
    const std::function<int(const CodeTreeNode&)> count = [&](const CodeTreeNode& node) {
        int n = int(node.children.size());
        for (const auto& child : node.children)
            n += count(*child);
        return n;
    };
    return count(*m_root);
}

CodeTreeNode& CodeTree::insertAfter(CodeTreeNode& sibling, CodeTreeNode node)
{
    CodeTreeNode* parent = sibling.parent ? sibling.parent : m_root.get();
    auto& list = parent->children;
    auto at =
        std::find_if(list.begin(), list.end(), [&](const auto& child) { return child.get() == &sibling; });
    auto added = detachedCopy(node);
    added->parent = parent;
    auto inserted = list.insert(at == list.end() ? list.end() : at + 1, std::move(added));
    return **inserted;
}

CodeTreeNode& CodeTree::appendChild(CodeTreeNode& parent, CodeTreeNode node)
{
    auto added = detachedCopy(node);
    added->parent = &parent;
    return *parent.children.emplace_back(std::move(added));
}

void CodeTree::remove(CodeTreeNode& node)
{
    if (node.isRoot())
        return;
    auto& list = node.parent->children;
    list.erase(
        std::remove_if(list.begin(), list.end(), [&](const auto& child) { return child.get() == &node; }),
        list.end());
}

QString CodeTree::nodePath(const CodeTreeNode& node, PathMode mode)
{
    const CodeTreeNode* current = &node;
    if (mode == PathMode::Parent && node.parent)
        current = node.parent;
    QString path = QLatin1Char('\\') + current->name;
    while (current->level() > 1) {
        current = current->parent;
        path.prepend(QLatin1Char('\\') + current->name);
    }
    return QLatin1Char('\\') + path;
}

bool CodeTree::isRegularCode(const QString& code)
{
    if (code.isEmpty() || code.size() % SegmentWidth != 0)
        return false;
    for (qsizetype at = 0; at < code.size(); at += SegmentWidth) {
        const QStringView segment = QStringView(code).mid(at, SegmentWidth);
        if (!std::all_of(segment.begin(), segment.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return false;
        if (segment == u"000")
            return false;
    }
    return true;
}

QString CodeTree::collapseBackslashes(QString path)
{
    return path.replace(QStringLiteral("\\\\\\"), QStringLiteral("\\\\"));
}
