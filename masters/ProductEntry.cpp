#include "masters/ProductEntry.h"

#include "data/Conversions.h"

#include <QDate>

#include <optional>

namespace {
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

QVariantMap ProductEntry::record() const
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
        {"CB10", Blank},
        {"CB11", priceText(price)},
        {"CB12", orBlank(priceDate)},
        {"CB13", QString::number(static_cast<int>(kind))},
        // The one numeric column of the table: no special price is the number 0.
        {"CB14", hasSpecial ? QVariant(priceText(special)) : QVariant(0)},
        {"CB15", hasPeriod ? orBlank(periodFrom) : Blank},
        {"CB16", hasPeriod ? orBlank(periodTo) : Blank},
        {"CB17", hasTime ? orBlank(timeFrom) : Blank},
        {"CB18", hasTime ? orBlank(timeTo) : Blank},
        {"CB19", Blank},
        {"CB20", Blank},
        {"CB25", classText(taxClass)},
    };
}

ProductEntry ProductEntry::fromRecord(const QVariantMap& record)
{
    auto shown = [&record](const char* field) {
        const QString text = record.value(QString::fromLatin1(field)).toString();
        return text.trimmed().isEmpty() ? QString() : text;
    };
    ProductEntry entry;
    entry.code = shown("CB01");
    entry.name = shown("CB02");
    entry.shortName = shown("CB03");
    entry.major = shown("CB04");
    entry.middle = shown("CB05");
    entry.cost = shown("CB07");
    entry.costDate = shown("CB08");
    entry.averageDate = shown("CB09");
    entry.price = shown("CB11");
    entry.priceDate = shown("CB12");
    entry.kind = kindOf(Conversions::toNumber(shown("CB13")));
    if (entry.kind != SpecialKind::None)
        entry.special = shown("CB14");
    if (shown("CB15").size() == 8) {
        entry.periodFrom = shown("CB15");
        entry.periodTo = shown("CB16");
    }
    if (shown("CB17").size() == 8) {
        entry.timeFrom = shown("CB17");
        entry.timeTo = shown("CB18");
    }
    entry.taxClass = classOf(record.value(QStringLiteral("CB25")));
    return entry;
}

QVariantMap ProductEntry::onAdding()
{
    return {{"CB09", QString::fromLatin1(NotCalculated)}};
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

TaxClass ProductEntry::classOf(const QVariant& stored)
{
    return stored.toString() == u'1' ? TaxClass::Reduced : TaxClass::Standard;
}

QString ProductEntry::classText(TaxClass taxClass)
{
    return taxClass == TaxClass::Reduced ? QStringLiteral("1") : QStringLiteral("0");
}

bool ProductEntry::isCalendarDate(QStringView text)
{
    if (text.size() != 8 || !allDigits(text))
        return false;
    return QDate(text.left(4).toInt(), text.mid(4, 2).toInt(), text.mid(6, 2).toInt()).isValid();
}

bool ProductEntry::isCode(QStringView text)
{
    return text.size() <= 13 && allDigits(text);
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
    return Conversions::toNumber(text) == 0 ? QStringLiteral("0")
                                            : Conversions::withoutBlanks(text);
}
