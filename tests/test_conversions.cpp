#include "data/Clock.h"
#include "data/Conversions.h"

#include <QTest>

using namespace Conversions;

class ConversionsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Clock::reset(); }

    void textToNumberTakesTheLeadingNumericPart()
    {
        QCOMPARE(toNumber(u"00041"), 41.0);
        QCOMPARE(toNumber(u"12abc"), 12.0);
        QCOMPARE(toNumber(u" 1 2"), 12.0);
        QCOMPARE(toNumber(u"-3.5x"), -3.5);
        QCOMPARE(toNumber(u"1e3"), 1000.0);
        QCOMPARE(toNumber(u"1e"), 1.0);
        QCOMPARE(toNumber(u"abc"), 0.0);
        QCOMPARE(toNumber(u""), 0.0);
        QCOMPARE(toNumber(u"."), 0.0);
        QCOMPARE(toNumber(u"１２"), 0.0); // full-width digits are not a number
    }

    void numberToText()
    {
        QCOMPARE(numberText(5000), QString(" 5000"));
        QCOMPARE(numberText(0), QString(" 0"));
        QCOMPARE(numberText(-20), QString("-20"));
        QCOMPARE(plainNumber(0.1), QString("0.1"));
        QCOMPARE(plainNumber(0.08), QString("0.08"));
        QCOMPARE(plainNumber(0), QString("0"));
    }

    void amountPatterns()
    {
        QCOMPARE(format(0, Amount10), QString("0"));
        QCOMPARE(format(0, Amount7), QString("0"));
        QCOMPARE(format(0, Blank9), QString());
        QCOMPARE(format(5000, Amount11), QString("5,000"));
        QCOMPARE(format(1234567, Amount7), QString("1,234,567")); // never cut
        QCOMPARE(format(1234567890, Amount10), QString("1,234,567,890"));
        QCOMPARE(format(-4000, Amount11), QString("-4,000"));
        QCOMPARE(format(-1234567, Blank9), QString("-1,234,567"));
        QCOMPARE(format(2540.5, Amount10), QString("2,541"));
        QCOMPARE(format(-0.4, Amount10), QString("0"));
    }

    void codesPeriodsAndSequences()
    {
        QCOMPARE(fourDigitCode(12), QString("0012"));
        QCOMPARE(fourDigitCode(9999), QString("9999"));
        QCOMPARE(fourDigitCode(10000), QString("0000"));

        QCOMPARE(periodCode(u"20261215"), QString("612"));
        QCOMPARE(periodCode(u"20270101"), QString("701"));

        QCOMPARE(nextSequence(u"00041"), QString("00042"));
        QCOMPARE(nextSequence(u"99998"), QString("99999"));
        QCOMPARE(nextSequence(u"99999"), QString("00000"));
        QCOMPARE(nextSequence(u"abc"), QString("00001"));
    }

    void unitBasePriceRoundsUpUnlessTheFractionIsSmall()
    {
        QCOMPARE(unitBasePrice(1080, 0.08), 1000.0);
        QCOMPARE(unitBasePrice(100, 0.08), 93.0);
        QCOMPARE(unitBasePrice(108.1, 0.08), 100.0);
        QCOMPARE(unitBasePrice(110, 0.10), 100.0);
        QCOMPARE(unitBasePrice(120, 0.08), 112.0); // 111.11 + 0.9
        QCOMPARE(unitBasePrice(0, 0.10), 0.0);
        // Truncated toward zero for negative prices (returns).
        QCOMPARE(unitBasePrice(-1000, 0.08), -925.0);
    }

    void charactersAreCountedAsTheOperatorSeesThem()
    {
        const QString text = QStringLiteral("ab𠮷😀c");
        QCOMPARE(charCount(text), 5);
        QCOMPARE(leftChars(text, 3), QString("ab𠮷"));
        QCOMPARE(leftChars(text, 4), QString("ab𠮷😀"));
        QCOMPARE(leftChars(text, 0), QString());
        QCOMPARE(withoutBlanks(" 8 0"), QString("80"));
        QCOMPARE(withoutBlanks("1 000"), QString("1000"));
    }

    void fixedClockGivesCompactDateAndTime()
    {
        Clock::setFixed(QDateTime(QDate(2027, 1, 5), QTime(7, 8, 9)));
        QCOMPARE(Clock::today(), QString("20270105"));
        QCOMPARE(Clock::time(), QString("07:08:09"));
        QCOMPARE(Clock::dateText(), QString("2027/01/05"));
    }
};

QTEST_GUILESS_MAIN(ConversionsTest)
#include "test_conversions.moc"
