#include "data/Clock.h"

#include <optional>

namespace {
std::optional<QDateTime>& fixedMoment()
{
    static std::optional<QDateTime> moment;
    return moment;
}
} // namespace

namespace Clock {

QDateTime now()
{
    return fixedMoment() ? *fixedMoment() : QDateTime::currentDateTime();
}

QString today()
{
    // Built from the slashed form (characters 1-4, 6-7, 9-10), as every
    // stored date is.
    const QString slashed = dateText();
    return slashed.mid(0, 4) + slashed.mid(5, 2) + slashed.mid(8, 2);
}

QString time()
{
    return now().toString(QStringLiteral("HH:mm:ss"));
}

QString dateText()
{
    return now().toString(QStringLiteral("yyyy/MM/dd"));
}

void setFixed(const QDateTime& moment)
{
    fixedMoment() = moment;
}

void reset()
{
    fixedMoment().reset();
}

} // namespace Clock
