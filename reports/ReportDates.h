#pragma once

#include <QStringList>
#include <QStringView>

// The dates a monthly report runs over, as the operator types them.
namespace ReportDates {

// A start date: exactly eight characters whose last two, read as a number,
// are at most 31. The month is not checked: an unknown month has 31 days.
bool validStart(QStringView entry);
// A graph month YYYYMM: exactly six characters whose last two, read as a
// number, are at most 12 ("00" passes and simply finds nothing).
bool validMonth(QStringView entry);

// 30 for April, June, September and November, 29 or 28 for February by the
// Gregorian leap rule, 31 for every other month number, 1-12 or not.
int lastDay(int year, int month);

// The dates from the entered day to the last day of its month: the first six
// characters followed by the day in two digits. A start on day 00 lists day
// 00 first.
QStringList days(QStringView entry);

// "MM/DD" of a date YYYYMMDD.
QString monthDay(QStringView date);

// The first day of the business date's month, the preset start date.
QString firstOfMonth(QStringView businessDate);

} // namespace ReportDates
