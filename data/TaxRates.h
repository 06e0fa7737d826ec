#pragma once

#include <QList>
#include <QString>

#include <utility>

// Sales are taxed at the standard rate or, for take-away food and drink and
// newspapers, at the reduced one. The tax a receipt or a report states is
// computed in whole yen and whole thousandths of the rate, so that no
// binary fraction ever moves a yen, and once per rate over the amounts it
// covers.
namespace TaxRates {

// A rate as whole thousandths: 0.08 -> 80, 0.1 -> 100.
int perMille(double rate);

// The caption of the amounts taxed at a rate: "10%対象".
QString taxedCaption(int perMille);

// The tax held in a tax-included amount: amount x rate / (1 + rate),
// truncated toward zero (a return's negative amount holds negative tax).
qint64 includedTax(qint64 yen, int perMille);

// Whether a setting holds a rate the counter can use: a plain decimal
// number from 0 to 1 ("0.10", "0.08", "0").
bool isRate(const QString& text);

// A registration number of a qualified invoice issuer: "T" and thirteen
// ASCII digits, the first of which checks the other twelve.
bool isRegistrationNumber(const QString& text);

// Tax-included amounts summed by rate, the standard rate first and the
// others from the highest down.
class RateTotals {
public:
    explicit RateTotals(double standardRate) : standard_(perMille(standardRate)) {}

    void add(double rate, double amount);

    struct Total {
        int perMille = 0;
        qint64 amount = 0;
        qint64 tax() const { return includedTax(amount, perMille); }
    };
    QList<Total> totals() const;

private:
    int standard_;
    QList<std::pair<int, double>> sums_; // by rate, rounded to the yen once
};

} // namespace TaxRates
