#include "data/Conversions.h"

#include <cmath>

namespace Conversions {

namespace {
// The leading plain number of a text: blanks, tabs and line feeds are
// skipped anywhere, as a numeric-string conversion does, and the number ends
// at the first character that cannot continue it. An exponent ("1e300",
// "2D3") is no part of a plain number: it is reported, never read.
struct Scanned {
    double value = 0;
    bool exponent = false;
};

Scanned scan(QStringView text)
{
    QString compact;
    compact.reserve(text.size());
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            compact.append(c);
    }
    qsizetype i = 0;
    const qsizetype n = compact.size();
    auto isDigit = [&](qsizetype at) {
        return at < n && compact[at].isDigit() && compact[at].unicode() < 128;
    };
    if (i < n && (compact[i] == u'+' || compact[i] == u'-'))
        ++i;
    const qsizetype mantissaStart = i;
    while (isDigit(i))
        ++i;
    if (i < n && compact[i] == u'.') {
        ++i;
        while (isDigit(i))
            ++i;
    }
    const qsizetype mantissaDigits = i - mantissaStart;
    if (mantissaDigits == 0 || (mantissaDigits == 1 && compact[mantissaStart] == u'.'))
        return {};
    Scanned scanned;
    if (i < n && QStringView(u"eEdD").contains(compact[i])) {
        const qsizetype j =
            i + 1 < n && (compact[i + 1] == u'+' || compact[i + 1] == u'-') ? i + 2 : i + 1;
        scanned.exponent = isDigit(j);
    }
    bool ok = false;
    const double value = compact.left(i).toDouble(&ok);
    scanned.value = ok && std::isfinite(value) ? value : 0;
    return scanned;
}
} // namespace

double toNumber(QStringView text)
{
    return scan(text).value;
}

std::optional<double> storedNumber(QStringView text, int wholeDigits)
{
    const Scanned scanned = scan(text);
    if (scanned.exponent || !(std::abs(scanned.value) < std::pow(10.0, wholeDigits)))
        return std::nullopt;
    return scanned.value;
}

QString plainNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    // Whole numbers past fifteen digits are written out, never as "1e+20",
    // which would read back as 1.
    if (std::abs(value) >= 1e15)
        return QString::number(value, 'f', 0);
    return QString::number(value, 'g', 15);
}

QString numberText(double value)
{
    const QString text = plainNumber(value);
    return value < 0 ? text : u' ' + text;
}

QString format(double value, QStringView pattern)
{
    const bool grouped = pattern.contains(u',');
    const bool forceDigit = pattern.contains(u'0');
    // Rounded as a double: a value past the 64-bit integers is written out in
    // full rather than wrapped.
    const double whole = std::isfinite(value) ? std::round(value) : 0;
    if (whole == 0 && !forceDigit)
        return QString();
    QString digits = QString::number(std::abs(whole), 'f', 0);
    if (grouped) {
        for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
            digits.insert(at, u',');
    }
    return whole < 0 ? u'-' + digits : digits;
}

qsizetype charCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()))
            ++count;
    }
    return count;
}

QString leftChars(const QString& text, qsizetype n)
{
    qsizetype at = 0;
    for (qsizetype kept = 0; at < text.size() && kept < n; ++kept) {
        const bool pair =
            text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
        at += pair ? 2 : 1;
    }
    return text.left(at);
}

QString withoutBlanks(const QString& text)
{
    QString digits = text;
    digits.remove(u' ');
    return digits;
}

QString fourDigitCode(qint64 n)
{
    return QString::number(n + 10000).right(4);
}

QString periodCode(QStringView businessDate)
{
    return businessDate.mid(3, 3).toString();
}

QString nextSequence(QStringView lastSequence)
{
    // The last five digits only, so that a stored counter of any size never
    // wraps.
    const auto last = static_cast<qint64>(std::fmod(std::trunc(toNumber(lastSequence)), 100000.0));
    return QString::number(last + 1 + 100000).right(5);
}

double unitBasePrice(double taxIncludedPrice, double taxRate)
{
    return std::trunc(taxIncludedPrice / (1 + taxRate) + 0.9);
}

} // namespace Conversions
