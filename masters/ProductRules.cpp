#include "masters/ProductRules.h"

#include "data/Conversions.h"

#include <tuple>

namespace {

bool digitsOnly(QStringView text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

ProductFault fault(const char* field, const QString& reason)
{
    return {QString::fromLatin1(field), reason};
}

// A price as the screen confirms it: digits only, at most the field's width,
// "0" when nothing is given.
std::optional<ProductFault> settlePrice(QString& price, const char* field, const QString& caption)
{
    const QString digits = Conversions::withoutBlanks(price);
    if (!digitsOnly(digits))
        return fault(field, caption + QStringLiteral("は数字で入力してください。"));
    if (digits.size() > ProductRules::PriceDigits)
        return fault(field,
                     caption + QStringLiteral("は%1桁以内です。").arg(ProductRules::PriceDigits));
    price = ProductEntry::priceText(digits);
    return std::nullopt;
}

std::optional<ProductFault> checkDate(const QString& date, const char* field,
                                      const QString& caption)
{
    if (date.isEmpty() || ProductEntry::isCalendarDate(date))
        return std::nullopt;
    return fault(field, caption + QStringLiteral("の日付が間違っています。"));
}

std::optional<ProductFault> settleTime(QString& time, const char* field, const QString& caption)
{
    if (time.isEmpty())
        return fault(field, caption + QStringLiteral("がありません。"));
    const ProductEntry::TimeCheck check = ProductEntry::checkTime(time);
    if (!check.valid)
        return fault(field, caption + QStringLiteral("の時間が間違っています。"));
    time = check.text;
    return std::nullopt;
}

std::optional<ProductFault> checkSpecial(ProductEntry& e)
{
    if (e.kind == SpecialKind::None)
        return std::nullopt;
    if (auto f = settlePrice(e.special, "CB14", QStringLiteral("特売単価")))
        return f;
    if (e.special == u"0")
        return fault("CB14", QStringLiteral("特売単価がありません。"));
    if (e.kind != SpecialKind::Time) {
        for (auto [date, field, caption] : {std::tuple{&e.periodFrom, "CB15", "特売期間(from)"},
                                            std::tuple{&e.periodTo, "CB16", "特売期間(to)"}}) {
            if (date->isEmpty())
                return fault(field, QString::fromUtf8(caption) + QStringLiteral("がありません。"));
            if (auto f = checkDate(*date, field, QString::fromUtf8(caption)))
                return f;
        }
        // Eight-digit dates compare as their texts do.
        if (e.periodTo < e.periodFrom)
            return fault("CB16", QStringLiteral("特売期間(to)が特売期間(from)より前です。"));
    }
    if (e.kind != SpecialKind::Period) {
        if (auto f = settleTime(e.timeFrom, "CB17", QStringLiteral("特売時間(from)")))
            return f;
        if (auto f = settleTime(e.timeTo, "CB18", QStringLiteral("特売時間(to)")))
            return f;
        if (e.timeTo < e.timeFrom)
            return fault("CB18", QStringLiteral("特売時間(to)が特売時間(from)より前です。"));
    }
    return std::nullopt;
}

} // namespace

namespace ProductRules {

QString shortNameOf(const QString& name)
{
    return Conversions::leftChars(name, ShortNameLength);
}

std::optional<ProductFault> settle(ProductDraft& draft, const KnownCategories& known)
{
    ProductEntry& e = draft.entry;
    if (e.code.isEmpty())
        return fault("CB01", QStringLiteral("商品コードがありません。"));
    if (e.code.size() != CodeLength || !digitsOnly(e.code))
        return fault("CB01", QStringLiteral("商品コードは13桁の数字で入力してください。"));
    if (e.name.isEmpty())
        return fault("CB02", QStringLiteral("商品名称がありません。"));
    if (Conversions::charCount(e.name) > NameLength)
        return fault("CB02", QStringLiteral("商品名称は%1文字以内です。").arg(NameLength));
    if (e.shortName.isEmpty())
        e.shortName = shortNameOf(e.name);
    if (Conversions::charCount(e.shortName) > ShortNameLength)
        return fault("CB03", QStringLiteral("商品略称は%1文字以内です。").arg(ShortNameLength));
    if (e.major.isEmpty())
        return fault("CB04", QStringLiteral("大分類コードがありません。"));
    if (!known.majors.contains(e.major))
        return fault("CB04", QStringLiteral("大分類コードが登録されていません。"));
    if (e.middle.isEmpty())
        return fault("CB05", QStringLiteral("中分類コードがありません。"));
    if (!e.middle.startsWith(e.major))
        return fault("CB05", QStringLiteral("中分類コードが大分類コードと合っていません。"));
    if (!known.middles.contains(e.middle))
        return fault("CB05", QStringLiteral("中分類コードが登録されていません。"));
    if (auto f = settlePrice(e.cost, "CB07", QStringLiteral("原単価")))
        return f;
    if (auto f = checkDate(e.costDate, "CB08", QStringLiteral("原単価確定日")))
        return f;
    if (auto f = settlePrice(e.price, "CB11", QStringLiteral("売単価")))
        return f;
    if (auto f = checkDate(e.priceDate, "CB12", QStringLiteral("売単価確定日")))
        return f;
    if (auto f = checkSpecial(e))
        return f;
    if (draft.taxClass.isEmpty())
        draft.taxClass = QString::fromLatin1(StandardRate);
    if (draft.taxClass != QLatin1String(StandardRate) &&
        draft.taxClass != QLatin1String(ReducedRate))
        return fault("CB25", QStringLiteral("税区分は0か1で入力してください。"));
    return std::nullopt;
}

} // namespace ProductRules
