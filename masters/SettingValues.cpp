#include "masters/SettingValues.h"

#include "data/TaxRates.h"

namespace SettingValues {

QString refusal(const QString& key, int valueNumber, const QString& text)
{
    // Both rates: the standard one, then the reduced one.
    if (key == QLatin1String("tax") && !TaxRates::isRate(text))
        return QStringLiteral("税率は0から1までの数値で入力してください。");
    // A shop that is not a registered issuer keeps the number blank.
    if (key == QLatin1String("invoice") && valueNumber == 1 && !text.trimmed().isEmpty() &&
        !TaxRates::isRegistrationNumber(text))
        return QStringLiteral("登録番号は T と13桁の数字で入力してください。");
    return {};
}

} // namespace SettingValues
