#include "CounterSupport.h"
#include "ReceiptFixture.h"
#include "pos/ReceiptRows.h"
#include "pos/StoredReceipt.h"
#include "reports/ReportGrid.h"

namespace {
const QString day = "20261215";

// Every record a copy could touch, the receipt counter included.
QList<QVariantMap> everything(Database& db)
{
    QList<QVariantMap> all;
    for (const char* table :
         {"MOMURA", "MOVURA", "MDMURK", "MOMNYK", "MOVNYK", "MOMSYK", "MOVSYK", "MBMSYS", "MWMXPP"})
        all << rows(db, QString("SELECT * FROM %1").arg(table));
    return all;
}

void chooseRow(Screens& s, int row)
{
    auto* grid = s.find<ReportGrid>("FG1");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 2)).center());
}
} // namespace

class ReceiptCopiesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 15), QTime(10, 15, 30))); }

    // The copy is read back from the records, never from what a screen holds.
    void aCopyShowsWhatTheOriginalShowedAndChangesNothing_data()
    {
        table::columns<QString, int, QString, bool>(); // screen, option, tendered, two rates
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
            if (!twoRates)
                return;
            setParameter(db, "tax", "0.10", "0.08");
            setParameter(db, "invoice", "T1234567890123");
            QVERIFY(db.execute("UPDATE MBMSHO SET CB25 = '1' WHERE CB01 = ?", {Tea}).ok());
        });
        const bool cash = option == 0;
        ReceiptsSeen seen;
        MessageBoxes boxes;
        if (cash) {
            c.book("0001", "1", "300", "2");
        } else {
            c.sell(Bread, "3");
            c.sell(Tea);
            c.option(option);
        }
        c.tender(tendered);
        c.post();
        boxes.texts();
        const QString table = cash ? (screen == "MUK4UT05" ? "MOMNYK" : "MOMSYK") : "MOMURA";
        StoredReceipt::Found found;
        QVERIFY(StoredReceipt::read(t, table, {"01", "01", "61200042"}, found).ok());
        ReceiptSheet expected = cash ? ReceiptRows::cash(seen.movements.value(0))
                                     : ReceiptRows::sale(seen.sales.value(0));
        expected.cells << ReceiptCell{5, u'A', QString("【再発行】"), ReceiptRows::bodyFont()};
        QCOMPARE(ReceiptRows::copy(cash ? ReceiptRows::cash(std::get<FinishedCashMovement>(found))
                                        : ReceiptRows::sale(std::get<FinishedSale>(found)))
                     .cells,
                 expected.cells);

        screens.show("MUK4XP02");
        screens.fill({"Text2", day});
        const QList<QVariantMap> before = everything(t);
        chooseRow(screens, 1); // a line of the receipt
        functionKey(screens.button("RTBTN"), Qt::Key_F7);
        const QString pdf = QDir(folder.path()).filePath("receipts/61200042-copy.pdf");
        QCOMPARE(screens.label("LabelM"),
                 "プリンタがないため、レシートをPDFに保存しました：" + pdf);
        QVERIFY(pdfText(pdf).contains("【再発行】"));
        QCOMPARE(everything(t), before);
    }

    void whatIsNoReceiptWithLinesGivesABox_data()
    {
        table::columns<int>();
        table::add("nothing chosen", -1);
        table::add("a receipt without lines", 0);
        table::add("the blank row after it", 1);
    }
    void whatIsNoReceiptWithLinesGivesABox()
    {
        const auto [row] = table::fetch<int>();
        Shop s;
        setParameter(s, "store", "01");
        setParameter(s, "register", "01");
        setParameter(s, "workday", day, "RUN");
        addHeader(s, {.receipt = "61200001", .date = day, .amount = 500});
        s.show("MUK4XP02");
        QTest::mouseClick(s.find<QCheckBox>("CK1"), Qt::LeftButton);
        s.fill({"Text2", day});
        QCOMPARE(s.label("LabelPFK"), "F7.再発行  F8.ReTry  F10.Return");
        if (row >= 0)
            chooseRow(s, row);
        MessageBoxes boxes;
        functionKey(s.button("RTBTN"), Qt::Key_F7);
        QCOMPARE(boxes.texts(), QStringList{"再発行するレシートを選択してください。"});
        QVERIFY(!QDir(s.path()).exists("receipts"));
    }
};

QTEST_MAIN(ReceiptCopiesTest)
#include "test_receiptcopies.moc"
