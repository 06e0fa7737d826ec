#include "utilities/BackupTargets.h"

#include <QDir>
#include <QStorageInfo>

namespace BackupTargets {

QString home()
{
    return QDir::home().filePath(QStringLiteral("BKUP"));
}

QStringList removable(const QStringList& mountPoints)
{
    QStringList drives;
    for (const QString& point : mountPoints) {
        if (point.startsWith(QLatin1String("/media/")) ||
            point.startsWith(QLatin1String("/run/media/")))
            drives << point;
    }
    drives.sort();
    drives.removeDuplicates();
    return drives;
}

QStringList all()
{
    QStringList mountPoints;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            mountPoints << volume.rootPath();
    }
    return QStringList{home()} + removable(mountPoints);
}

} // namespace BackupTargets
