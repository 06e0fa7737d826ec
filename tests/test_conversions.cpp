#include "data/Conversions.h"

#include <QTest>

using namespace Conversions;

class ConversionsTest : public QObject {
    Q_OBJECT

private slots:
    // Typed and stored texts read as their leading plain number; an exponent
    // is never read, so "1e300" is no price.
    void textToNumberTakesTheLeadingPlainNumber()
    {
        // Full-width digits are not a number.
        QCOMPARE((QList<double>{toNumber(u"00041"), toNumber(u"12abc"), toNumber(u" 1 2"),
                                toNumber(u"-3.5x"), toNumber(u"1e3"), toNumber(u"1e300"),
                                toNumber(u"1e"), toNumber(u"abc"), toNumber(u""), toNumber(u"."),
                                toNumber(u"１２")}),
                 (QList<double>{41, 12, 12, -3.5, 1, 1, 1, 0, 0, 0, 0}));
        // -1 stands for a value refused.
        auto stored = [](QStringView text) { return storedNumber(text, 8).value_or(-1); };
        QCOMPARE((QList<double>{stored(u"12abc"), stored(u" "), stored(u"108.1"),
                                stored(u"99999999"), stored(u"-99999999"), stored(u"100000000"),
                                stored(u"1e300"), stored(u"2D3"), stored(u"5E-1")}),
                 (QList<double>{12, 0, 108.1, 99999999, -99999999, -1, -1, -1, -1}));
    }

    void numberToText()
    {
        QCOMPARE((QStringList{numberText(5000), numberText(0), numberText(-20), plainNumber(0.1),
                              plainNumber(0.08), plainNumber(0), plainNumber(1e20)}),
                 (QStringList{" 5000", " 0", "-20", "0.1", "0.08", "0", "100000000000000000000"}));
    }

    // Wider values are never cut, nor wrapped past the 64-bit integers.
    void amountPatterns()
    {
        QCOMPARE(
            (QStringList{format(0, Amount10), format(0, Amount7), format(0, Blank9),
                         format(5000, Amount11), format(1234567, Amount7), format(-4000, Amount11),
                         format(-1234567, Blank9), format(2540.5, Amount10), format(-0.4, Amount10),
                         format(1e19, Amount10), format(-1e19, Amount9)}),
            (QStringList{"0", "0", "", "5,000", "1,234,567", "-4,000", "-1,234,567", "2,541", "0",
                         "10,000,000,000,000,000,000", "-10,000,000,000,000,000,000"}));
    }

    void codesPeriodsAndSequences()
    {
        QCOMPARE((QStringList{fourDigitCode(12), fourDigitCode(9999), fourDigitCode(10000),
                              periodCode(u"20261215"), periodCode(u"20270101")}),
                 (QStringList{"0012", "9999", "0000", "612", "701"}));
        QCOMPARE((QStringList{nextSequence(u"00041"), nextSequence(u"99998"),
                              nextSequence(u"99999"), nextSequence(u"abc"),
                              nextSequence(u"12345678901"), nextSequence(u"1e300")}),
                 (QStringList{"00042", "99999", "00000", "00001", "78902", "00002"}));
    }

    void unitBasePriceRoundsUpUnlessTheFractionIsSmall()
    {
        // 111.11 + 0.9 for 120; truncated toward zero for negative prices.
        QCOMPARE((QList<double>{unitBasePrice(1080, 0.08), unitBasePrice(100, 0.08),
                                unitBasePrice(108.1, 0.08), unitBasePrice(110, 0.10),
                                unitBasePrice(120, 0.08), unitBasePrice(0, 0.10),
                                unitBasePrice(-1000, 0.08)}),
                 (QList<double>{1000, 93, 100, 100, 112, 0, -925}));
    }

    void charactersAreCountedAsTheOperatorSeesThem()
    {
        const QString text = QStringLiteral("ab𠮷😀c");
        QCOMPARE(
            (QStringList{QString::number(charCount(text)), leftChars(text, 3), leftChars(text, 4),
                         leftChars(text, 0), withoutBlanks(" 8 0"), withoutBlanks("1 000")}),
            (QStringList{"5", "ab𠮷", "ab𠮷😀", "", "80", "1000"}));
    }
};

QTEST_GUILESS_MAIN(ConversionsTest)
#include "test_conversions.moc"
