#include "CounterSupport.h"
#include "ReceiptFixture.h"
#include "pos/ReceiptRows.h"
#include "pos/StoredReceipt.h"

// Every record of every table: nothing a copy may change.
static QList<QVariantMap> everything(Database& db)
{
    QList<QVariantMap> all;
    for (const QString& table : tableNames(db))
        all << rows(db, "SELECT * FROM " + table);
    return all;
}

static void chooseRow(Screens& s, int row)
{
    auto* grid = s.find<QTableView>("FG1");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 2)).center());
}

class ReceiptCopiesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 16), QTime(0, 15, 30))); }

    // The copy is read back from the records, never from what a screen holds; the
    // business day runs past midnight, so that its date is not the moment's.
    void aCopyShowsWhatTheOriginalShowedAndChangesNothing_data()
    {
        // screen, option, tendered, two rates
        table::columns<QString, int, QString, bool>();
        table::add("cash sale", "MUK4UT01", 1, "5000", false);
        table::add("partial, reduced line, registered", "MUK4UT01", 2, "1000", true);
        table::add("return on credit", "MUK4UT11", 3, "0", false);
        table::add("deposit", "MUK4UT05", 0, "1000", false);
        table::add("payment", "MUK4UT06", 0, "600", false);
    }
    void aCopyShowsWhatTheOriginalShowedAndChangesNothing()
    {
        const auto [screen, option, tendered, twoRates] =
            table::fetch<QString, int, QString, bool>();
        auto&& [folder, t, screens, c] = AtTheCounter(screen, [&](Database& db) {
            setParameter(db, "printer", "01");
            // One rate twice is no reduced rate.
            setParameter(db, "tax", twoRates ? "0.10" : "0.08", "0.08");
            setParameter(db, "invoice", twoRates ? "T1234567890123" : " ");
            QVERIFY(db.execute("UPDATE MBMSHO SET CB25 = ? WHERE CB01 = ?", {+twoRates, Tea}).ok());
            addHeader(db, {.receipt = "61200040", .date = "20261215"}); // a receipt without lines
        });
        const bool cash = option == 0;
        ReceiptsSeen seen;
        if (cash)
            c.book("0001", "1", "300", "2");
        else
            c.sell(Bread, "3"), c.sell(Tea), c.option(option);
        c.tender(tendered);
        c.post();
        // A line kept before rates were stored carries none: the standard rate.
        QVERIFY(t.db().execute("UPDATE MOVURA SET CF28 = NULL WHERE CF07 = ?", {Bread}).ok());
        const QString table = cash ? (screen == "MUK4UT05" ? "MOMNYK" : "MOMSYK") : "MOMURA";
        StoredReceipt::Found found;
        QVERIFY(StoredReceipt::read(t, table, {"01", "01", "61200042"}, found).ok());
        ReceiptSheet expected = cash ? ReceiptRows::cash(seen.movements.value(0))
                                     : ReceiptRows::sale(seen.sales.value(0));
        expected.cells << ReceiptCell{5, u'A', QString("【再発行】"), ReceiptRows::bodyFont()};
        const ReceiptSheet read = cash ? ReceiptRows::cash(std::get<FinishedCashMovement>(found))
                                       : ReceiptRows::sale(std::get<FinishedSale>(found));
        QCOMPARE(ReceiptRows::copy(read).cells, expected.cells);

        screens.show("MUK4XP02");
        QTest::mouseClick(screens.find<QCheckBox>("CK1"), Qt::LeftButton);
        screens.fill({"Text2", "20261215"});
        QCOMPARE(screens.label("LabelPFK"), "F7.再発行  F8.ReTry  F9.CSV出力  F10.Return");
        const QList<QVariantMap> before = everything(t);
        MessageBoxes boxes;
        const QString pdf = QDir(folder.path()).filePath("receipts/61200042-copy.pdf");
        functionKey(screens.button("RTBTN"), Qt::Key_F7); // nothing chosen yet
        // One without lines, the blank row after ours, our last line.
        for (int row : {0, cash ? 4 : 5, cash ? 3 : 4}) {
            chooseRow(screens, row), functionKey(screens.button("RTBTN"), Qt::Key_F7);
            QCOMPARE(QFile::exists(pdf), row == (cash ? 3 : 4));
        }
        QCOMPARE(boxes.texts(), QStringList(3, "再発行するレシートを選択してください。"));
        QCOMPARE(screens.label("LabelM"),
                 "プリンタがないため、レシートをPDFに保存しました：" + pdf);
        QVERIFY(pdfText(pdf).contains("【再発行】"));
        QCOMPARE(everything(t), before);
    }
};

QTEST_MAIN(ReceiptCopiesTest)
#include "test_receiptcopies.moc"
