#include "ReceiptFixture.h"

#include "data/Clock.h"
#include "pos/ReceiptRows.h"

#include <QTest>

namespace {
// A receipt's writes one a line: "A6 パン", a number cell "B6 #150", a cell
// in the amounts' font (size 8, underlined) with " [8u]".
QStringList writes(const ReceiptSheet& sheet)
{
    QStringList lines;
    for (const ReceiptCell& cell : sheet.cells) {
        const QString* text = std::get_if<QString>(&cell.value);
        QString line =
            cell.column + QString::number(cell.row) +
            (text ? u' ' + *text
                  : QStringLiteral(" #") + QString::number(std::get<double>(cell.value)));
        if (cell.font != sheet.bodyFont)
            line += cell.font == ReceiptRows::amountFont() ? QStringLiteral(" [8u]")
                                                           : QStringLiteral(" [other font]");
        lines << line;
    }
    return lines;
}

// Rows written as "A6 パン|B6 #150|…", closed by the staff and the moment
// below the receipt number's row.
QStringList rows(const QString& text, int receiptRow, bool blanksFirst = false)
{
    QStringList all;
    for (int row = 5; blanksFirst && row <= 50; ++row)
        all << QStringLiteral("A%1  ").arg(row) << QStringLiteral("B%1  ").arg(row);
    return all << text.split(u'|') << QStringLiteral("A%1 担当.　　山田 太郎").arg(receiptRow + 1)
               << QStringLiteral("A%1 2026/12/01  10:15:30").arg(receiptRow + 2);
}
} // namespace

class ReceiptRowsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Clock::reset(); }

    void receipts_data()
    {
        QTest::addColumn<ReceiptSheet>("sheet");
        QTest::addColumn<QStringList>("expected");
        const SaleReceiptLine bread = saleLine("パン", 1, 150), milk = saleLine("牛乳", 3, 198);
        const QString twoLines = "A6 パン|B6 #150|A7 牛乳|B7 #594|A8   ×3  @ 198|A9 消費税|B9 #55|"
                                 "A11 お買上計|B11 #744 [8u]|";
        auto sale = [&](const char* name, Settlement settlement, double tendered,
                        const QString& text, int receiptRow) {
            QTest::newRow(name) << ReceiptRows::sale(
                                       finishedSale(settlement, tendered, {bread, milk}))
                                << rows(twoLines + text, receiptRow, true);
        };
        sale("cash, quantities 1 and 3, tendered exactly", Settlement::Cash, 744,
             "A12 お預り金|B12 #744 [8u]|A14 レシート.61200001", 14);
        sale("cash with change", Settlement::Cash, 1000,
             "A12 お預り金|B12 #1000 [8u]|A13 お釣り|B13 #256 [8u]|A15 レシート.61200001", 15);
        sale("partial payment", Settlement::PartialCredit, 500,
             "A12 売掛内金|B12 #500 [8u]|A13 売掛金|B13 #244 [8u]|A15 レシート.61200001", 15);
        sale("credit sale", Settlement::Credit, 0, "A12 売掛金|B12 #744 [8u]|A14 レシート.61200001",
             14);
        QTest::newRow("quantity 0 gives one row, price with thousands")
            << ReceiptRows::sale(
                   finishedSale(Settlement::Cash, 20000,
                                {saleLine("試食", 0, 300), saleLine("ロールパン", 12, 1280)}))
            << rows("A6 試食|B6 #0|A7 ロールパン|B7 #15360|A8   ×12  @ 1,280|A9 消費税|B9 #55|"
                    "A11 お買上計|B11 #15360 [8u]|A12 お預り金|B12 #20000 [8u]|"
                    "A13 お釣り|B13 #4640 [8u]|A15 レシート.61200001",
                    15, true);
        QTest::newRow("a return, without blanks")
            << ReceiptRows::sale(finishedSale(Settlement::Cash, 744, {bread, milk}, true))
            << rows(twoLines + "A12 お預り金|B12 #744 [8u]|A14 レシート.61200001|B14 <返品>", 14);

        QTest::newRow("deposit 1200 x 3, tendered exactly")
            << ReceiptRows::cash(finishedCash(CashDirection::Deposit, 3600,
                                              {cashLine("0001", "釣銭準備金", "0002", 3, 1200)}))
            << rows("A6 釣銭準備金|B6 #3600|A7   ×3  @ 1,200|A8 0002  0001|A9 入金計|"
                    "B9 #3600 [8u]|A10 お預り金|B10 #3600 [8u]|A12 レシート.61200002|B12 <入金>",
                    12);
        QTest::newRow("payment of quantity 1 with change")
            << ReceiptRows::cash(finishedCash(CashDirection::Payment, 1000,
                                              {cashLine("0002", "消耗品費", "0003", 1, 500)}))
            << rows("A6 消耗品費|B6 #500|A7 0003  0002|A8 支払計|B8 #500 [8u]|A9 お預り金|"
                    "B9 #1000 [8u]|A10 お釣り|B10 #500 [8u]|A12 レシート.61200002|B12 <支払>",
                    12);
        QTest::newRow("quantity 0 and a negative amount")
            << ReceiptRows::cash(finishedCash(CashDirection::Deposit, 0,
                                              {cashLine("0002", "消耗品費", "0003", 0, 500),
                                               cashLine("0001", "釣銭準備金", "0000", 2, -1200)}))
            << rows("A6 消耗品費|B6 #0|A7 0003  0002|A8 釣銭準備金|B8 #-2400|"
                    "A9   ×2  @ -1,200|A10 0000  0001|A11 入金計|B11 #-2400 [8u]|"
                    "A12 お預り金|B12 #0 [8u]|A13 お釣り|B13 #2400 [8u]|"
                    "A15 レシート.61200002|B15 <入金>",
                    15);
    }

    void receipts()
    {
        QFETCH(ReceiptSheet, sheet);
        QFETCH(QStringList, expected);
        QCOMPARE(writes(sheet), expected);
        QCOMPARE(sheet.clearedRange, QStringLiteral("A5:B100"));
        QCOMPARE(sheet.bodyFont, (CellFont{QStringLiteral("ＭＳ ゴシック"), 6, false}));
        QCOMPARE(ReceiptRows::amountFont(), (CellFont{QStringLiteral("ＭＳ ゴシック"), 8, true}));
    }

    void theDateComesFromTheProgramsClockWhenTheSaleHasNone()
    {
        Clock::setFixed(QDateTime(QDate(2027, 1, 2), QTime(7, 8, 9)));
        FinishedSale s = sampleSale();
        s.moment = QDateTime();
        QCOMPARE(writes(ReceiptRows::sale(s)).last(), QStringLiteral("A17 2027/01/02  07:08:09"));
    }
};

QTEST_MAIN(ReceiptRowsTest)
#include "test_receiptrows.moc"
