#pragma once

#include <QDate>

// Whether closing the program offers a backup, by the `ibak` setting: 0 never, 1 at every
// close, 2 on Mondays, 3 on the first day of the month.
namespace BackupOffer {
bool isDue(int ibak, const QDate& today);
inline QString question()
{
    return QStringLiteral("软件关闭，要备份当前数据吗？");
}
} // namespace BackupOffer
