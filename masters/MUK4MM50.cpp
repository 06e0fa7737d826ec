#include "masters/MUK4MM50.h"

MUK4MM50::MUK4MM50(Navigator& navigator)
    : CategoryScreen(navigator, QStringLiteral("MUK4MM50"), QStringLiteral("大分類"), 1, 3,
                     QStringLiteral("MBMBRL"))
{
    placeFields(Text1);
}

std::optional<Select> MUK4MM50::listQuery() const
{
    // Major 0 may be stored (the middle screen offers it) but is not listed.
    return Select(QStringLiteral("MBMBRL"))
        .where(QStringLiteral("CB01"), QStringLiteral(">"), QStringLiteral("0"))
        .orderBy({QStringLiteral("CB01")});
}

QVariantMap MUK4MM50::storedOnAdd() const
{
    return {{QStringLiteral("CB04"), QStringLiteral(" ")}};
}
