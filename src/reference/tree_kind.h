#pragma once

#include <QString>

// The two code trees kept in t_treecode, told apart by F_flag.
enum class TreeKind { PurchasePlace, GoodsType };

inline QString treeFlag(TreeKind kind)
{
    return kind == TreeKind::PurchasePlace ? QStringLiteral("buyaddress") : QStringLiteral("goodtype");
}

// The root's name and the tree window's caption.
inline QString treeCaption(TreeKind kind)
{
    return kind == TreeKind::PurchasePlace ? QStringLiteral("购买地点") : QStringLiteral("商品类型");
}
