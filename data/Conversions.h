#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Number and code conversions shared by every screen.
namespace Conversions {

// The leading plain number of a text (blanks ignored, optional sign and
// decimals), 0 when there is none: "12abc" -> 12, "abc" -> 0, " 1 2" -> 12.
// An exponent is not read: "1e3" -> 1.
double toNumber(QStringView text);

// A number read back from the database into a field of wholeDigits digits:
// the plain number as toNumber reads it, or nothing when the text holds an
// exponent form ("1e300") or a value the field's digits cannot hold. Such a
// value was put there by hand, not by the program, and is not to be used.
std::optional<double> storedNumber(QStringView text, int wholeDigits);

// A number as the platform writes it for display: a leading blank before a
// non-negative value (" 5000", "-20", " 0.1").
QString numberText(double value);
// The same without the leading blank ("0.1", "5000").
QString plainNumber(double value);

// Amount patterns made of "#", "0" and ",": rounded to a whole number, digits
// grouped by thousands; "0" places force a digit, so "#,###,###" shows zero
// as an empty text while "###,##0" shows "0". Negative values get a leading
// minus sign. Wider values are never cut.
QString format(double value, QStringView pattern);

inline constexpr QStringView Amount10 = u"##,###,##0";
inline constexpr QStringView Amount11 = u"###,###,##0";
inline constexpr QStringView Amount9 = u"#,###,##0";
inline constexpr QStringView Amount7 = u"###,##0";
inline constexpr QStringView Blank9 = u"#,###,###";

// The first n characters of a text, counted as the operator sees them (a
// character outside the basic plane, such as 𠮷 or an emoji, is one), never
// cutting one in two.
QString leftChars(const QString& text, qsizetype n);
// How many characters a text holds, counted the same way.
qsizetype charCount(QStringView text);

// The digits of a typed number without the blanks the digit fields let
// through (" 8 0" -> "80", "1 000" -> "1000").
QString withoutBlanks(const QString& text);

// Staff, account and partner codes: the last four characters of n + 10000.
QString fourDigitCode(qint64 n);

// The receipt period code of a business date YYYYMMDD: last digit of the year
// and the two-digit month (20261215 -> "612").
QString periodCode(QStringView businessDate);

// The receipt sequence that follows a stored one, five digits; a text that is
// not a number counts as 0, and "99999" is followed by "00000".
QString nextSequence(QStringView lastSequence);

// Tax-excluded unit price of a sales line: the integer part, truncated toward
// zero, of price / (1 + rate) + 0.9.
double unitBasePrice(double taxIncludedPrice, double taxRate);

} // namespace Conversions
