#include "reports/ReportDates.h"

#include "data/Conversions.h"

namespace {
qsizetype characters(QStringView text)
{
    return text.toUcs4().size();
}

bool endsInAtMost(QStringView entry, qsizetype length, double highest)
{
    return characters(entry) == length && Conversions::toNumber(entry.right(2)) <= highest;
}
} // namespace

namespace ReportDates {

bool validStart(QStringView entry)
{
    return endsInAtMost(entry, 8, 31);
}

bool validMonth(QStringView entry)
{
    return endsInAtMost(entry, 6, 12);
}

int lastDay(int year, int month)
{
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
    default:
        return 31;
    }
}

QStringList days(QStringView entry)
{
    const int year = static_cast<int>(Conversions::toNumber(entry.left(4)));
    const int month = static_cast<int>(Conversions::toNumber(entry.mid(4, 2)));
    const int first = static_cast<int>(Conversions::toNumber(entry.right(2)));
    const QString prefix = entry.left(6).toString();
    QStringList dates;
    for (int day = first; day <= lastDay(year, month); ++day)
        dates << prefix + QString::number(day).rightJustified(2, u'0');
    return dates;
}

QString monthDay(QStringView date)
{
    return date.mid(4, 2).toString() + u'/' + date.mid(6, 2).toString();
}

QString firstOfMonth(QStringView businessDate)
{
    return businessDate.left(6).toString() + QStringLiteral("01");
}

} // namespace ReportDates
