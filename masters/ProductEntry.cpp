#include "masters/ProductEntry.h"

#include "data/Conversions.h"

#include <QDate>

#include <optional>

namespace
{
const QString Blank = QStringLiteral(" ");

QVariant orBlank(const QString& text)
{
    return text.isEmpty() ? Blank : text;
}

bool allDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// One part of a time entry; blanks around the digits are allowed, as the
// time fields accept the blank.
std::optional<int> timePart(QStringView part)
{
    part = part.trimmed();
    if (!allDigits(part))
        return std::nullopt;
    return part.toInt();
}
} // namespace

QVariantMap ProductEntry::record(bool adding) const
{
    const bool hasPeriod = kind == SpecialKind::PeriodAndTime || kind == SpecialKind::Period;
    const bool hasTime = kind == SpecialKind::PeriodAndTime || kind == SpecialKind::Time;
    const bool hasSpecial = kind != SpecialKind::None && Conversions::toNumber(special) != 0;
    return {
        {"CB01", code},
        {"CB02", orBlank(name)},
        {"CB03", orBlank(shortName)},
        {"CB04", orBlank(major)},
        {"CB05", orBlank(middle)},
        {"CB06", Blank},
        {"CB07", priceText(cost)},
        {"CB08", orBlank(costDate)},
        {"CB09", adding ? QString::fromLatin1(NotCalculated) : orBlank(averageDate)},
        {"CB10", Blank},
        {"CB11", priceText(price)},
        {"CB12", orBlank(priceDate)},
        {"CB13", QString::number(static_cast<int>(kind))},
        // The one numeric column of the table: no special price is the number 0.
        {"CB14", hasSpecial ? QVariant(special) : QVariant(0)},
        {"CB15", hasPeriod ? orBlank(periodFrom) : Blank},
        {"CB16", hasPeriod ? orBlank(periodTo) : Blank},
        {"CB17", hasTime ? orBlank(timeFrom) : Blank},
        {"CB18", hasTime ? orBlank(timeTo) : Blank},
        {"CB19", Blank},
        {"CB20", Blank},
    };
}

SpecialKind ProductEntry::kindOf(double storedValue)
{
    if (storedValue == 1)
        return SpecialKind::PeriodAndTime;
    if (storedValue == 2)
        return SpecialKind::Period;
    if (storedValue == 3)
        return SpecialKind::Time;
    return SpecialKind::None;
}

bool ProductEntry::isCalendarDate(QStringView text)
{
    if (text.size() != 8 || !allDigits(text))
        return false;
    return QDate(text.left(4).toInt(), text.mid(4, 2).toInt(), text.mid(6, 2).toInt()).isValid();
}

ProductEntry::TimeCheck ProductEntry::checkTime(QStringView text)
{
    if (text.size() != 8)
        return {text.toString(), false};
    const auto hours = timePart(text.mid(0, 2));
    const auto minutes = timePart(text.mid(3, 2));
    const auto seconds = timePart(text.mid(6, 2));
    if (!hours || !minutes || !seconds)
        return {text.toString(), false};
    auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    return {two(*hours) + u':' + two(*minutes) + u':' + two(*seconds),
            *hours <= 23 && *minutes <= 59 && *seconds <= 59};
}

QString ProductEntry::priceText(const QString& text)
{
    return Conversions::toNumber(text) == 0 ? QStringLiteral("0") : text;
}
