#pragma once

#include <QString>
#include <QStringView>
#include <QVariantMap>

// The special-price kind of a product as stored in CB13.
enum class SpecialKind {
    PeriodAndTime = 1, // 期間＆時間
    Period = 2,        // 期間
    Time = 3,          // 時間
    None = 4,          // なし
};

// The rate a product's sales are taxed at, as stored in CB25: "0" the
// standard rate, "1" the reduced one.
enum class TaxClass {
    Standard, // 標準税率
    Reduced,  // 軽減税率
};

// One product as the product screens hold it, and the checks of its dates,
// times and prices. Kept free of widgets so that what gets stored can be
// reasoned about (and tested) without a window.
class ProductEntry {
public:
    // The moving-average cost date of a product whose average was never
    // calculated.
    static constexpr const char* NotCalculated = "99999999";

    QString code;
    QString name;
    QString shortName;
    QString major;  // 1 digit
    QString middle; // 3 characters: major digit and two-digit middle number
    QString cost;
    QString costDate;
    QString averageDate;
    QString price;
    QString priceDate;
    SpecialKind kind = SpecialKind::None;
    QString special;
    QString periodFrom;
    QString periodTo;
    QString timeFrom;
    QString timeTo;
    TaxClass taxClass = TaxClass::Standard;

    // CB01 to CB20 and the tax class CB25 as every save writes them, all but
    // the average date CB09, which the screens never change. Only the fields the kind uses carry a
    // value, so a record never shows a period or a time window that the
    // sales screens would not apply.
    QVariantMap record() const;
    // What a product being added gets besides: the not-yet-calculated
    // average date, whatever the screen showed.
    static QVariantMap onAdding();

    // A stored product as the screens show it: a stored blank is an empty
    // field, and the special price, period and time window only show when
    // the kind and the stored texts say they are there.
    static ProductEntry fromRecord(const QVariantMap& record);

    static SpecialKind kindOf(double storedValue);
    // Only a stored "1" is reduced: products from before there were two
    // rates carry "0" or nothing, and stay at the standard rate.
    static TaxClass classOf(const QVariant& stored);
    static QString classText(TaxClass taxClass);

    // A product code the screens take: 1 to 13 digits.
    static bool isCode(QStringView text);

    // Eight digits yyyymmdd naming a real calendar day.
    static bool isCalendarDate(QStringView text);

    struct TimeCheck {
        QString text; // the entry rewritten as hh:mm:ss when its parts are numbers
        bool valid = false;
    };
    // An entry of exactly eight characters: hours in 1-2, minutes in 4-5,
    // seconds in 7-8, each a whole number; rewritten with two-digit parts
    // and then checked against 0-23, 0-59, 0-59.
    static TimeCheck checkTime(QStringView text);

    // A price as confirmed: "0" for an empty or zero entry, else its digits
    // as typed, without the blanks the field lets through.
    static QString priceText(const QString& text);
};
