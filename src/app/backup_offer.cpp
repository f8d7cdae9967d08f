#include "app/backup_offer.h"

bool BackupOffer::isDue(int ibak, const QDate& today)
{
    switch (ibak) {
    case 1:
        return true;
    case 2:
        return today.dayOfWeek() == Qt::Monday;
    case 3:
        return today.day() == 1;
    default:
        return false;
    }
}
