#include "workbook/CellAddress.h"

int columnNumber(QStringView letters)
{
    if (letters.isEmpty() || letters.size() > 3)
        return 0;
    int n = 0;
    for (QChar c : letters) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return 0;
        n = n * 26 + (u - u'A' + 1);
    }
    return n <= MaxColumn ? n : 0;
}

QString columnLetters(int column)
{
    QString letters;
    for (int n = column; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

namespace {
// Letters then digits, each optionally after a '$'; either part may be
// missing, which the callers decide about.
void split(QStringView text, QStringView& letters, QStringView& digits)
{
    if (text.startsWith(u'$'))
        text = text.mid(1);
    qsizetype i = 0;
    while (i < text.size() && text[i].isLetter())
        ++i;
    letters = text.left(i);
    QStringView rest = text.mid(i);
    if (rest.startsWith(u'$'))
        rest = rest.mid(1);
    digits = rest;
}

int rowNumber(QStringView digits)
{
    bool ok = false;
    const int row = digits.toInt(&ok);
    return ok && row >= 1 && row <= MaxRow && digits[0].isDigit() ? row : 0;
}
} // namespace

std::optional<CellAddress> CellAddress::parse(QStringView text)
{
    QStringView letters, digits;
    split(text.trimmed(), letters, digits);
    const int column = columnNumber(letters);
    const int row = digits.isEmpty() ? 0 : rowNumber(digits);
    if (column == 0 || row == 0)
        return std::nullopt;
    return CellAddress{row, column};
}

QString CellAddress::text() const
{
    return columnLetters(column) + QString::number(row);
}

std::optional<CellRange> CellRange::parse(QStringView text)
{
    const qsizetype colon = text.indexOf(u':');
    const QStringView left = colon < 0 ? text : text.left(colon);
    const QStringView right = colon < 0 ? text : text.mid(colon + 1);
    auto first = CellAddress::parse(left);
    auto last = CellAddress::parse(right);
    if (!first || !last) {
        // Whole columns, as print areas are often given.
        QStringView l1, d1, l2, d2;
        split(left.trimmed(), l1, d1);
        split(right.trimmed(), l2, d2);
        const int c1 = columnNumber(l1), c2 = columnNumber(l2);
        if (colon < 0 || !d1.isEmpty() || !d2.isEmpty() || c1 == 0 || c2 == 0)
            return std::nullopt;
        first = CellAddress{1, c1};
        last = CellAddress{MaxRow, c2};
    }
    CellRange range{{std::min(first->row, last->row), std::min(first->column, last->column)},
                    {std::max(first->row, last->row), std::max(first->column, last->column)}};
    return range;
}

QString CellRange::text() const
{
    return first == last ? first.text() : first.text() + u':' + last.text();
}
