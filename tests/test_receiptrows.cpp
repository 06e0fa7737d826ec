#include "data/Clock.h"
#include "pos/ReceiptRows.h"

#include <QTest>

// The rows of a receipt as one line each: "A6 text", a number cell "B6 #1280",
// the closing amounts' font (size 8, underlined) as " [8u]". The blanks the
// sales receipt writes first are left out here.
static QStringList written(const ReceiptSheet& sheet)
{
    QStringList rows;
    for (const ReceiptCell& cell : sheet.cells) {
        const QString address = cell.column + QString::number(cell.row);
        QString line =
            std::holds_alternative<double>(cell.value)
                ? address + QStringLiteral(" #") + QString::number(std::get<double>(cell.value))
                : address + u' ' + std::get<QString>(cell.value);
        if (cell.row <= 50 && line == address + u' ' + u' ')
            continue;
        if (cell.font == ReceiptRows::amountFont())
            line += QStringLiteral(" [8u]");
        else if (cell.font != ReceiptRows::bodyFont())
            line += QStringLiteral(" [other font]");
        rows << line;
    }
    return rows;
}

static const QDateTime Moment(QDate(2026, 12, 1), QTime(10, 15, 30));
static const QString Closing = QStringLiteral("担当.　　山田 太郎|2026/12/01  10:15:30");

static FinishedSale sale(Settlement settlement, double tendered,
                         const QList<SaleReceiptLine>& lines)
{
    FinishedSale s;
    s.lines = lines;
    for (const SaleReceiptLine& line : lines)
        s.amountDue += line.amount;
    s.taxTotal = 55;
    s.settlement = settlement;
    s.tendered = tendered;
    s.difference = tendered - s.amountDue;
    s.receiptNumber = QStringLiteral("61200001");
    s.staffName = QStringLiteral("山田 太郎");
    s.moment = Moment;
    return s;
}

static FinishedCashMovement movement(CashDirection direction, double tendered,
                                     const QList<CashReceiptLine>& lines)
{
    FinishedCashMovement m;
    m.direction = direction;
    m.lines = lines;
    for (const CashReceiptLine& line : lines)
        m.total += line.amount;
    m.tendered = tendered;
    m.change = tendered - m.total;
    m.receiptNumber = QStringLiteral("61200002");
    m.staffName = QStringLiteral("山田 太郎");
    m.moment = Moment;
    return m;
}

// "rows" is written with '|' between rows, the closing rows as "…".
static QStringList expected(const QString& rows, int closingRow)
{
    QStringList all = rows.split(u'|');
    const QStringList closing = Closing.split(u'|');
    all << QStringLiteral("A%1 %2").arg(closingRow + 1).arg(closing[0])
        << QStringLiteral("A%1 %2").arg(closingRow + 2).arg(closing[1]);
    return all;
}

class ReceiptRowsTest : public QObject {
    Q_OBJECT

    const SaleReceiptLine bread{QStringLiteral("パン"), 150, QStringLiteral("1"), 1, 150};
    const SaleReceiptLine milk{QStringLiteral("牛乳"), 594, QStringLiteral("3"), 3, 198};

private slots:
    void cleanup() { Clock::reset(); }

    void salesReceipt_data()
    {
        QTest::addColumn<FinishedSale>("sale");
        QTest::addColumn<QStringList>("rows");
        const SaleReceiptLine rolls{QStringLiteral("ロールパン"), 15360, QStringLiteral("12"), 12,
                                    1280};
        const SaleReceiptLine nothing{QStringLiteral("試食"), 0, QStringLiteral("0"), 0, 300};

        QTest::newRow("cash, quantities 1 and 3, tendered exactly")
            << sale(Settlement::Cash, 744, {bread, milk})
            << expected("A6 パン|B6 #150|A7 牛乳|B7 #594|A8   ×3  @ 198|A9 消費税|B9 #55|"
                        "A11 お買上計|B11 #744 [8u]|A12 お預り金|B12 #744 [8u]|"
                        "A14 レシート.61200001",
                        14);
        QTest::newRow("cash with change")
            << sale(Settlement::Cash, 1000, {bread, milk})
            << expected("A6 パン|B6 #150|A7 牛乳|B7 #594|A8   ×3  @ 198|A9 消費税|B9 #55|"
                        "A11 お買上計|B11 #744 [8u]|A12 お預り金|B12 #1000 [8u]|"
                        "A13 お釣り|B13 #256 [8u]|A15 レシート.61200001",
                        15);
        QTest::newRow("partial payment")
            << sale(Settlement::PartialCredit, 500, {bread, milk})
            << expected("A6 パン|B6 #150|A7 牛乳|B7 #594|A8   ×3  @ 198|A9 消費税|B9 #55|"
                        "A11 お買上計|B11 #744 [8u]|A12 売掛内金|B12 #500 [8u]|"
                        "A13 売掛金|B13 #244 [8u]|A15 レシート.61200001",
                        15);
        QTest::newRow("credit sale")
            << sale(Settlement::Credit, 0, {bread, milk})
            << expected("A6 パン|B6 #150|A7 牛乳|B7 #594|A8   ×3  @ 198|A9 消費税|B9 #55|"
                        "A11 お買上計|B11 #744 [8u]|A12 売掛金|B12 #744 [8u]|"
                        "A14 レシート.61200001",
                        14);
        QTest::newRow("quantity 0 gives one row, price with thousands")
            << sale(Settlement::Cash, 20000, {nothing, rolls})
            << expected("A6 試食|B6 #0|A7 ロールパン|B7 #15360|A8   ×12  @ 1,280|A9 消費税|"
                        "B9 #55|A11 お買上計|B11 #15360 [8u]|A12 お預り金|B12 #20000 [8u]|"
                        "A13 お釣り|B13 #4640 [8u]|A15 レシート.61200001",
                        15);
        FinishedSale cashReturn = sale(Settlement::Cash, 744, {bread, milk});
        cashReturn.isReturn = true;
        QTest::newRow("return")
            << cashReturn
            << expected("A6 パン|B6 #150|A7 牛乳|B7 #594|A8   ×3  @ 198|A9 消費税|B9 #55|"
                        "A11 お買上計|B11 #744 [8u]|A12 お預り金|B12 #744 [8u]|"
                        "A14 レシート.61200001|B14 <返品>",
                        14);
    }

    void salesReceipt()
    {
        QFETCH(FinishedSale, sale);
        QFETCH(QStringList, rows);
        QCOMPARE(written(ReceiptRows::sale(sale)), rows);
    }

    void cashReceipt_data()
    {
        QTest::addColumn<FinishedCashMovement>("movement");
        QTest::addColumn<QStringList>("rows");
        const CashReceiptLine change{QStringLiteral("0001"),
                                     QStringLiteral("釣銭準備金"),
                                     QStringLiteral("0002"),
                                     3600,
                                     QStringLiteral("3"),
                                     3,
                                     1200};
        const CashReceiptLine supplies{QStringLiteral("0002"),
                                       QStringLiteral("消耗品費"),
                                       QStringLiteral("0003"),
                                       500,
                                       QStringLiteral("1"),
                                       1,
                                       500};
        const CashReceiptLine voided{QStringLiteral("0002"),
                                     QStringLiteral("消耗品費"),
                                     QStringLiteral("0003"),
                                     0,
                                     QStringLiteral("0"),
                                     0,
                                     500};
        const CashReceiptLine refund{QStringLiteral("0001"),
                                     QStringLiteral("釣銭準備金"),
                                     QStringLiteral("0000"),
                                     -2400,
                                     QStringLiteral("2"),
                                     2,
                                     -1200};

        QTest::newRow("deposit 1200 x 3, tendered exactly")
            << movement(CashDirection::Deposit, 3600, {change})
            << expected("A6 釣銭準備金|B6 #3600|A7   ×3  @ 1,200|A8 0002  0001|"
                        "A9 入金計|B9 #3600 [8u]|A10 お預り金|B10 #3600 [8u]|"
                        "A12 レシート.61200002|B12 <入金>",
                        12);
        QTest::newRow("payment of quantity 1 with change")
            << movement(CashDirection::Payment, 1000, {supplies})
            << expected("A6 消耗品費|B6 #500|A7 0003  0002|A8 支払計|B8 #500 [8u]|"
                        "A9 お預り金|B9 #1000 [8u]|A10 お釣り|B10 #500 [8u]|"
                        "A12 レシート.61200002|B12 <支払>",
                        12);
        QTest::newRow("quantity 0 and a negative amount")
            << movement(CashDirection::Deposit, 0, {voided, refund})
            << expected("A6 消耗品費|B6 #0|A7 0003  0002|A8 釣銭準備金|B8 #-2400|"
                        "A9   ×2  @ -1,200|A10 0000  0001|A11 入金計|B11 #-2400 [8u]|"
                        "A12 お預り金|B12 #0 [8u]|A13 お釣り|B13 #2400 [8u]|"
                        "A15 レシート.61200002|B15 <入金>",
                        15);
    }

    void cashReceipt()
    {
        QFETCH(FinishedCashMovement, movement);
        QFETCH(QStringList, rows);
        QCOMPARE(written(ReceiptRows::cash(movement)), rows);
    }

    void everyReceiptClearsItsBodyInSixPointGothicAndOnlySalesPreFillBlanks()
    {
        FinishedSale cashReturn = sale(Settlement::Cash, 150, {bread});
        cashReturn.isReturn = true;
        const ReceiptSheet sheets[] = {ReceiptRows::sale(sale(Settlement::Cash, 150, {bread})),
                                       ReceiptRows::sale(cashReturn),
                                       ReceiptRows::cash(movement(CashDirection::Payment, 0, {}))};
        for (const ReceiptSheet& sheet : sheets) {
            QCOMPARE(sheet.clearedRange, QStringLiteral("A5:B100"));
            QCOMPARE(sheet.bodyFont, (CellFont{QStringLiteral("ＭＳ ゴシック"), 6, false}));
        }
        QCOMPARE(ReceiptRows::amountFont(), (CellFont{QStringLiteral("ＭＳ ゴシック"), 8, true}));
        // The sale's blanks come first, every cell of A5:B50 once.
        QStringList blanks;
        for (int row = 5; row <= 50; ++row)
            blanks << QStringLiteral("A%1").arg(row) << QStringLiteral("B%1").arg(row);
        QStringList firstWrites;
        for (const ReceiptCell& cell : sheets[0].cells.mid(0, blanks.size())) {
            QCOMPARE(cell.value, CellValue(QStringLiteral(" ")));
            firstWrites << cell.column + QString::number(cell.row);
        }
        QCOMPARE(firstWrites, blanks);
        for (int i : {1, 2})
            for (const ReceiptCell& cell : sheets[i].cells)
                QVERIFY(cell.value != CellValue(QStringLiteral(" ")));
    }

    void theDateComesFromTheProgramsClockWhenTheSaleHasNone()
    {
        Clock::setFixed(QDateTime(QDate(2027, 1, 2), QTime(7, 8, 9)));
        FinishedSale s = sale(Settlement::Cash, 150, {bread});
        s.moment = QDateTime();
        QCOMPARE(written(ReceiptRows::sale(s)).last(), QStringLiteral("A14 2027/01/02  07:08:09"));
    }
};

QTEST_MAIN(ReceiptRowsTest)
#include "test_receiptrows.moc"
