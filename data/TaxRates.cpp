#include "data/TaxRates.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace TaxRates {

int perMille(double rate)
{
    return static_cast<int>(std::lround(rate * 1000));
}

QString taxedCaption(int perMille)
{
    return QString::number((perMille + 5) / 10) + QStringLiteral("%対象");
}

qint64 includedTax(qint64 yen, int perMille)
{
    return yen * perMille / (1000 + perMille);
}

bool isRate(const QString& text)
{
    static const QRegularExpression plain(QStringLiteral("^(0(\\.[0-9]*)?|1(\\.0*)?|\\.[0-9]+)$"));
    return plain.match(text.trimmed()).hasMatch();
}

bool isRegistrationNumber(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^T[0-9]{13}$"));
    if (!form.match(text).hasMatch())
        return false;
    // Weights 1, 2, 1, 2, ... over the twelve digits from the right.
    int sum = 0;
    for (int n = 1; n <= 12; ++n)
        sum += (text[text.size() - n].unicode() - u'0') * (n % 2 == 1 ? 1 : 2);
    return text[1].unicode() - u'0' == 9 - sum % 9;
}

void RateTotals::add(double rate, double amount)
{
    const int key = perMille(rate);
    auto it = std::find_if(sums_.begin(), sums_.end(),
                           [key](const std::pair<int, double>& s) { return s.first == key; });
    if (it == sums_.end())
        sums_.append({key, amount});
    else
        it->second += amount;
}

QList<RateTotals::Total> RateTotals::totals() const
{
    QList<Total> sorted;
    for (const auto& [key, sum] : sums_)
        sorted.append({key, std::llround(sum)});
    std::sort(sorted.begin(), sorted.end(), [this](const Total& a, const Total& b) {
        if ((a.perMille == standard_) != (b.perMille == standard_))
            return a.perMille == standard_;
        return a.perMille > b.perMille;
    });
    return sorted;
}

} // namespace TaxRates
