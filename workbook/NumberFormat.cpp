#include "workbook/NumberFormat.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace {
// The sections of a code, split at ';' outside quotes, brackets and escapes.
QStringList sections(const QString& code)
{
    QStringList parts{QString()};
    bool quoted = false, bracket = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'\\' && !quoted && i + 1 < code.size()) {
            parts.last() += c;
            parts.last() += code[++i];
            continue;
        }
        if (c == u'"' && !bracket)
            quoted = !quoted;
        else if (c == u'[' && !quoted)
            bracket = true;
        else if (c == u']' && !quoted)
            bracket = false;
        else if (c == u';' && !quoted && !bracket) {
            parts.append(QString());
            continue;
        }
        parts.last() += c;
    }
    return parts;
}

struct Pattern {
    QString prefix, suffix;
    int minimumIntegerDigits = 0;
    int decimals = 0;       // all decimal places
    int forcedDecimals = 0; // those shown as '0'
    bool grouping = false;
    bool percent = false;
    int thousandsScale = 0; // commas after the last digit
    bool hasDigits = false;
    bool dateOrTime = false;
};

Pattern parse(const QString& section)
{
    Pattern p;
    bool inDecimals = false, afterDigits = false;
    int pendingCommas = 0;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        QString literal;
        if (c == u'"') {
            const qsizetype close = section.indexOf(u'"', i + 1);
            literal = section.mid(i + 1, (close < 0 ? section.size() : close) - i - 1);
            i = close < 0 ? section.size() : close;
        } else if (c == u'\\' && i + 1 < section.size()) {
            literal = section[++i];
        } else if (c == u'_' && i + 1 < section.size()) {
            ++i;
            literal = QStringLiteral(" ");
        } else if (c == u'*' && i + 1 < section.size()) {
            ++i;
            continue;
        } else if (c == u'[') {
            const qsizetype close = section.indexOf(u']', i);
            const QString inside = section.mid(i + 1, (close < 0 ? section.size() : close) - i - 1);
            i = close < 0 ? section.size() : close;
            // A currency with its locale, "[$¥-411]", shows its symbol.
            if (inside.startsWith(u'$'))
                literal = inside.mid(1).section(u'-', 0, 0);
            else
                continue;
        } else if (c == u'0' || c == u'#' || c == u'?') {
            p.hasDigits = true;
            afterDigits = true;
            if (pendingCommas > 0 && !inDecimals)
                p.grouping = true;
            pendingCommas = 0;
            if (inDecimals) {
                ++p.decimals;
                if (c == u'0')
                    p.forcedDecimals = p.decimals;
            } else if (c == u'0') {
                ++p.minimumIntegerDigits;
            }
            continue;
        } else if (c == u',' && afterDigits) {
            ++pendingCommas;
            continue;
        } else if (c == u'.' && !inDecimals && (p.hasDigits || i + 1 < section.size())) {
            inDecimals = true;
            afterDigits = true;
            continue;
        } else if (c == u'%') {
            p.percent = true;
            literal = c;
        } else if (QStringLiteral("yYmMdDhHsS").contains(c)) {
            p.dateOrTime = true;
            literal = c;
        } else {
            literal = c;
        }
        (p.hasDigits ? p.suffix : p.prefix) += literal;
    }
    p.thousandsScale = pendingCommas;
    return p;
}

QString digits(double value, const Pattern& p)
{
    const QString fixed = QString::number(value, 'f', p.decimals);
    QString integer = fixed.section(u'.', 0, 0);
    QString fraction = fixed.section(u'.', 1, 1);
    while (fraction.size() > p.forcedDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (integer == u"0" && p.minimumIntegerDigits == 0)
        integer.clear();
    while (integer.size() < p.minimumIntegerDigits)
        integer.prepend(u'0');
    if (p.grouping)
        for (qsizetype at = integer.size() - 3; at > 0; at -= 3)
            integer.insert(at, u',');
    return p.decimals > 0 ? integer + u'.' + fraction : integer;
}
} // namespace

namespace NumberFormat {

QString general(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    // Up to eleven characters, as a default-width cell shows.
    QString text = QString::number(value, 'g', 10);
    if (text.contains(u'e')) {
        text = QString::number(value, 'E', 5);
        text.replace(QStringLiteral("E+0"), QStringLiteral("E+"))
            .replace(QStringLiteral("E-0"), QStringLiteral("E-"));
    }
    return text;
}

QString apply(double value, const QString& code)
{
    if (!std::isfinite(value))
        return QStringLiteral("#NUM!");
    const QStringList parts = sections(code);
    int index = 0;
    bool ownSign = false;
    if (value < 0 && parts.size() >= 2) {
        index = 1;
        ownSign = true;
    } else if (value == 0 && parts.size() >= 3) {
        index = 2;
    }
    const QString section = parts[index];
    if (section.trimmed().compare(u"General", Qt::CaseInsensitive) == 0 ||
        section.trimmed() == u"@")
        return general(value);
    const Pattern p = parse(section);
    if (p.dateOrTime)
        return general(value);
    double shown = ownSign ? std::fabs(value) : value;
    if (p.percent)
        shown *= 100;
    shown /= std::pow(1000.0, p.thousandsScale);
    if (!p.hasDigits)
        return p.prefix + p.suffix;
    const bool negative =
        shown < 0 && std::round(std::fabs(shown) * std::pow(10.0, p.decimals)) != 0;
    return (negative ? QStringLiteral("-") : QString()) + p.prefix + digits(std::fabs(shown), p) +
           p.suffix;
}

} // namespace NumberFormat
