#pragma once

#include <QDateTime>
#include <QString>

// The one source of "now" for the whole program, so that tests can pin the
// date and time the business day, audit fields and receipt periods depend on.
namespace Clock {

QDateTime now();
// Compact date YYYYMMDD of the current day.
QString today();
// 24-hour time HH:MM:SS.
QString time();
// The system date as the ten-character text YYYY/MM/DD shown in LabelD.
QString dateText();

void setFixed(const QDateTime& moment);
void reset();

} // namespace Clock
