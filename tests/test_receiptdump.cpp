#include "ReportSupport.h"

#include "data/Clock.h"

#include <QApplication>
#include <QCheckBox>

namespace {
const QString day = "20261206";

// The day of the register: a deposit, sales of every kind, a return and a
// payment, posted in this order of time but not of receipt number.
void writeDay(Database& db)
{
    addStaff(db, "0001", "山田 太郎");
    addHeader(db, {.table = "MOMNYK",
                   .receipt = "61200001",
                   .date = day,
                   .code = "70000",
                   .amount = 3000,
                   .time = "09:00:00"});
    addLine(db, {.table = "MOVNYK",
                 .receipt = "61200001",
                 .date = day,
                 .product = "0001",
                 .name = "釣銭準備金",
                 .unitBase = 3000,
                 .quantity = 1,
                 .amount = 3000});
    addHeader(db,
              {.receipt = "61200002", .date = day, .amount = 1540, .tax = 140, .time = "10:05:00"});
    addLine(db, {.receipt = "61200002",
                 .date = day,
                 .product = "4900000000001",
                 .name = "バターロール",
                 .quantity = 1,
                 .amount = 540,
                 .unitPrice = 540});
    addLine(db, {.receipt = "61200002",
                 .number = "002",
                 .date = day,
                 .product = "4900000000002",
                 .name = "牛乳",
                 .quantity = 2,
                 .amount = 1000,
                 .unitPrice = 500});
    addHeader(db, {.receipt = "61200003",
                   .date = day,
                   .code = "11009",
                   .amount = 540,
                   .tax = 49,
                   .time = "10:10:00"});
    addLine(db, {.receipt = "61200003",
                 .date = day,
                 .kind = "9",
                 .product = "4900000000001",
                 .name = "バターロール",
                 .quantity = 1,
                 .amount = 540,
                 .unitPrice = 540});
    addHeader(db, {.receipt = "61200004",
                   .date = day,
                   .code = "20000",
                   .amount = 2000,
                   .staff = "0099",
                   .time = "10:07:00"});
    addHeader(
        db,
        {.receipt = "61200005", .date = day, .code = "30000", .amount = 1000, .time = "11:00:00"});
    addHeader(
        db,
        {.receipt = "61200006", .date = day, .code = "00000", .amount = 100, .time = "11:30:00"});
    addHeader(db, {.table = "MOMSYK",
                   .receipt = "61200007",
                   .date = day,
                   .code = "70000",
                   .amount = 500,
                   .time = "12:00:00"});
    addLine(db, {.table = "MOVSYK",
                 .receipt = "61200007",
                 .date = day,
                 .product = "0002",
                 .name = "消耗品費",
                 .unitBase = 250,
                 .quantity = 2,
                 .amount = 500});
    // The other register's receipt 61200002 and another day's receipt.
    addHeader(db, {.registerCode = "02",
                   .receipt = "61200002",
                   .date = day,
                   .amount = 999,
                   .time = "10:06:00"});
    addLine(db, {.registerCode = "02",
                 .receipt = "61200002",
                 .date = day,
                 .product = "4900000000099",
                 .name = "よその品",
                 .amount = 999});
    addHeader(db, {.receipt = "61200008", .date = "20261205", .amount = 777});
}

EntryField* runDump(Screens& s, const QString& date = day)
{
    s.show("MUK4XP02");
    auto* text2 = s.field("Text2");
    text2->selectAll();
    typeInto(text2, date);
    enter(text2);
    return text2;
}
} // namespace

class ReceiptDumpTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(18, 0, 0))); }
    void cleanup() { Clock::reset(); }

    void theDayInPostingOrderWithItsLines()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "workday", day, "RUN");
        writeDay(t);
        Screens s;
        MessageBoxes boxes;
        runDump(s);
        const QString b = " ";
        const QString four = "    ";
        const QList<QStringList> expected{
            {"61200001 ", "09:00:00  ", "入金 ", "山田 太郎  0001", "3,000", b, b, four, four},
            {b, b, "・釣銭準備金", "0001", b, "3,000", "1", "   ", b},
            {"61200002 ", "10:05:00  ", "売上 ", "山田 太郎  0001", "1,540", b, b, "1,400", "140"},
            {b, b, "・バターロール", "4900000000001", b, "540", "1", "540", b},
            {b, b, "・牛乳", "4900000000002", b, "500", "2", "1,000", b},
            {"61200004 ", "10:07:00  ", "内金・売掛 ", "0099  0099", "2,000", b, b, "2,000", "0"},
            {"61200003 ", "10:10:00  ", "売上返品 ", "山田 太郎  0001", "540", b, b, "491", "49"},
            {b, b, "・バターロール", "4900000000001", b, "540", "1", "540", b},
            {"61200005 ", "11:00:00  ", "売掛 ", "山田 太郎  0001", "1,000", b, b, "1,000", "0"},
            {"61200006 ", "11:30:00  ", b, "山田 太郎  0001", "100", b, b, "100", "0"},
            {"61200007 ", "12:00:00  ", "支払 ", "山田 太郎  0001", "500", b, b, four, four},
            {b, b, "・消耗品費", "0002", b, "250", "2", "   ", b},
        };
        QCOMPARE(gridCells(s, "FG1"), expected);
        QCOMPARE(s.label("LabelR"), QString("7"));
        QCOMPARE(s.label("LabelID"),
                 QString("売上. 4540　　返品. 540 < 4000>　　入金. 3000　　支払. 500"));
        QVERIFY(boxes.texts().isEmpty());

        // The work table holds the day's headers, one each.
        QCOMPARE(count(t, "MWMXPP"), 7);
        QCOMPARE(row(t, "SELECT * FROM MWMXPP WHERE CW01 = '61200003'"),
                 stored("MWMXPP", {"61200003", day, day, "10:10:00", "MOMURA", 540.0, 491.0, 49.0,
                                   "売上返品", "0001"}));
        QCOMPARE(row(t, "SELECT * FROM MWMXPP WHERE CW01 = '61200001'"),
                 stored("MWMXPP", {"61200001", day, day, "09:00:00", "MOMNYK", 3000.0, 0.0, 0.0,
                                   "入金", "0001"}));
        QVERIFY(row(t, "SELECT CW09 FROM MWMXPP WHERE CW01 = '61200006'").value("CW09").isNull());
    }

    void summaryOfDaysWithoutSales_data()
    {
        QTest::addColumn<QStringList>("tables");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("receipts");
        QTest::newRow("nothing") << QStringList{} << "" << 0;
        QTest::newRow("a deposit") << QStringList{"MOMNYK"} << "　　入金. 3000" << 1;
        QTest::newRow("a payment") << QStringList{"MOMSYK"} << "　　支払. 3000" << 1;
        QTest::newRow("a return only")
            << QStringList{"MOMURA"} << "売上. 0　　返品. 3000 <-3000>" << 1;
    }

    void summaryOfDaysWithoutSales()
    {
        QFETCH(QStringList, tables);
        QFETCH(QString, summary);
        QFETCH(int, receipts);
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "workday", day, "RUN");
        for (const QString& table : tables) {
            addHeader(t, {.table = table,
                          .receipt = "61200001",
                          .date = day,
                          .code = table == "MOMURA" ? "11009" : "70000",
                          .amount = 3000});
        }
        Screens s;
        runDump(s);
        QCOMPARE(s.label("LabelID"), summary);
        QCOMPARE(s.label("LabelR"), QString::number(receipts));
        QCOMPARE(gridCells(s, "FG1").size(), receipts);
    }

    void blankRowsTakeEffectOnTheNextRun()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "workday", day, "RUN");
        writeDay(t);
        Screens s;
        auto* text2 = runDump(s);
        QCOMPARE(gridCells(s, "FG1").size(), 12);
        auto* ck1 = s.find<QCheckBox>("CK1");
        QTest::mouseClick(ck1, Qt::LeftButton);
        QVERIFY(ck1->isChecked());
        QCOMPARE(gridCells(s, "FG1").size(), 12);
        QVERIFY(s.button("SJBTN")->hasFocus());

        functionKey(s.button("SJBTN"), Qt::Key_F8);
        QVERIFY(text2->hasFocus());
        QCOMPARE(text2->text(), day);
        QTest::mouseClick(ck1, Qt::LeftButton);
        QTest::mouseClick(ck1, Qt::LeftButton);
        QVERIFY(text2->hasFocus());
        enter(text2);
        const QList<QStringList> rows = gridCells(s, "FG1");
        QCOMPARE(rows.size(), 12 + 7);
        const QStringList empty(9, QString());
        QCOMPARE(rows[2], empty);
        QCOMPARE(rows[3][0], QString("61200002 "));
        QCOMPARE(rows.back(), empty);
    }

    void aFailedRunLeavesTheLastRunsWorkTable()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "workday", day, "RUN");
        writeDay(t);
        Screens s;
        runDump(s, "20261205");
        QCOMPARE(count(t, "MWMXPP"), 1);
        QVERIFY(t.db()
                    .execute("CREATE TRIGGER refuse BEFORE INSERT ON MWMXPP WHEN NEW.CW01 = "
                             "'61200005' BEGIN SELECT RAISE(ABORT, 'refused'); END")
                    .ok());
        MessageBoxes boxes;
        auto* text2 = runDump(s);
        QCOMPARE(boxes.texts(), QStringList{"レシート情報を作成できませんでした。"});
        QVERIFY(text2->hasFocus());
        QCOMPARE(rows(t, "SELECT CW01 FROM MWMXPP"), (QList<QVariantMap>{{{"CW01", "61200008"}}}));
        QVERIFY(gridCells(s, "FG1").isEmpty());
    }
};

QTEST_MAIN(ReceiptDumpTest)
#include "test_receiptdump.moc"
