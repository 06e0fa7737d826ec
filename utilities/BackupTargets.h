#pragma once

#include <QStringList>

// Where a backup can go: first the BKUP folder in the user's home folder,
// made when it is missing, then the root of each removable drive mounted on
// this machine, by its mount point.
namespace BackupTargets {

QString home();
QStringList all();
// The mount points among those given that are removable drives (under
// /media or /run/media), in order.
QStringList removable(const QStringList& mountPoints);

} // namespace BackupTargets
