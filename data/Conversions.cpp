#include "data/Conversions.h"

#include <cmath>

namespace Conversions {

double toNumber(QStringView text)
{
    // Blanks, tabs and line feeds are skipped anywhere, as a numeric-string
    // conversion does; the number ends at the first character that cannot
    // continue it.
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
        return 0;
    qsizetype end = i;
    if (i < n &&
        (compact[i] == u'e' || compact[i] == u'E' || compact[i] == u'd' || compact[i] == u'D')) {
        qsizetype j = i + 1;
        if (j < n && (compact[j] == u'+' || compact[j] == u'-'))
            ++j;
        if (isDigit(j)) {
            while (isDigit(j))
                ++j;
            end = j;
        }
    }
    QString number = compact.left(end);
    for (QChar& c : number) {
        if (c == u'd' || c == u'D')
            c = u'e';
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

QString plainNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0");
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
    const qint64 whole = std::llround(value);
    if (whole == 0 && !forceDigit)
        return QString();
    QString digits = QString::number(whole < 0 ? -whole : whole);
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
    const qint64 last = static_cast<qint64>(toNumber(lastSequence));
    return QString::number(last % 100000 + 1 + 100000).right(5);
}

double unitBasePrice(double taxIncludedPrice, double taxRate)
{
    return std::trunc(taxIncludedPrice / (1 + taxRate) + 0.9);
}

} // namespace Conversions
