#include "ReceiptFixture.h"
#include "reports/ReceiptDump.h"

namespace {
const QString day = "20261206";

// The day of the register: a deposit, sales of every kind, a return and a
// payment, posted in this order of time but not of receipt number; the other
// register's receipt 61200002 and another day's receipt.
void writeDay(Database& db)
{
    addStaff(db, "0001", "山田 太郎");
    auto head = [&](const QString& table, const QString& receipt, const QString& code,
                    double amount, const QString& time, double tax = 0,
                    const QString& staff = "0001", const QString& registerCode = "01") {
        addHeader(db,
                  {table, "01", registerCode, receipt, day, code, amount, 0, 0, tax, staff, time});
    };
    auto line = [&](const QString& table, const QString& receipt, const QString& number,
                    const QString& product, const QString& name, double quantity, double amount,
                    double unitPrice, double unitBase = 0, const QString& kind = " ",
                    const QString& registerCode = "01") {
        addLine(db, {table, "01", registerCode, receipt, number, day, kind, product, name, "1",
                     "101", 0, unitBase, quantity, amount, unitPrice});
    };
    head("MOMNYK", "61200001", "70000", 3000, "09:00:00");
    line("MOVNYK", "61200001", "001", "0001", "釣銭準備金", 1, 3000, 0, 3000);
    head("MOMURA", "61200002", "11000", 1540, "10:05:00", 140);
    line("MOVURA", "61200002", "001", "4900000000001", "バターロール", 1, 540, 540);
    line("MOVURA", "61200002", "002", "4900000000002", "牛乳", 2, 1000, 500);
    head("MOMURA", "61200003", "11009", 540, "10:10:00", 49);
    line("MOVURA", "61200003", "001", "4900000000001", "バターロール", 1, 540, 540, 0, "9");
    head("MOMURA", "61200004", "20000", 2000, "10:07:00", 0, "0099");
    head("MOMURA", "61200005", "30000", 1000, "11:00:00");
    head("MOMURA", "61200006", "00000", 100, "11:30:00");
    head("MOMSYK", "61200007", "70000", 500, "12:00:00");
    line("MOVSYK", "61200007", "001", "0002", "消耗品費", 2, 500, 0, 250);
    head("MOMURA", "61200002", "11000", 999, "10:06:00", 0, "0001", "02");
    line("MOVURA", "61200002", "001", "4900000000099", "よその品", 1, 999, 0, 0, " ", "02");
    addHeader(db, {.receipt = "61200008", .date = "20261205", .amount = 777});
}

const QString b = " ", four = "    ";
// The register's day as listed.
const QList<QStringList> ownDay{
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

EntryField* runDump(Screens& s, const QString& date = day, bool allRegisters = false)
{
    s.show("MUK4XP02");
    if (allRegisters)
        QTest::mouseClick(s.find<QRadioButton>("OptionAllRegisters"), Qt::LeftButton);
    s.fill({"Text2", date});
    return s.field("Text2");
}
} // namespace

class ReceiptDumpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(18, 0, 0))); }

    void theDayInPostingOrderWithItsLinesBlankRowsAndAFailedRun()
    {
        Shop s;
        setParameter(s, "workday", day, "RUN");
        writeDay(s);
        auto* text2 = runDump(s);
        QCOMPARE(s.gridRows("FG1"), ownDay);
        QCOMPARE(s.shown({"LabelR", "LabelID"}),
                 (QStringList{"7", "売上. 4540　　返品. 540 < 4000>　　入金. 3000　　支払. 500"}));

        // The work table holds the day's headers, one each.
        QCOMPARE(row(s, "SELECT * FROM MWMXPP WHERE CW01 = '61200003'"),
                 stored("MWMXPP", {"61200003", day, day, "10:10:00", "MOMURA", 540.0, 491.0, 49.0,
                                   "売上返品", "0001", "01", "01", "01"}));
        QVERIFY(row(s, "SELECT CW09 FROM MWMXPP WHERE CW01 = '61200006'").value("CW09").isNull());

        // CK1 takes effect on the next run: a blank row after each receipt.
        auto* ck1 = s.find<QCheckBox>("CK1");
        QTest::mouseClick(ck1, Qt::LeftButton);
        QCOMPARE(s.gridRows("FG1"), ownDay);
        QVERIFY(s.button("SJBTN")->hasFocus());
        functionKey(s.button("SJBTN"), Qt::Key_F8);
        QCOMPARE(text2->text(), day);
        QTest::mouseClick(ck1, Qt::LeftButton);
        QTest::mouseClick(ck1, Qt::LeftButton);
        QCOMPARE(s.fill({"Text2", ""}), QString());
        QList<QStringList> spaced;
        for (const QStringList& r : ownDay) {
            if (r[0] != b && !spaced.isEmpty())
                spaced << QStringList(9, QString());
            spaced << r;
        }
        QCOMPARE(s.gridRows("FG1"), spaced << QStringList(9, QString()));

        // A run that fails leaves the last run's work table.
        runDump(s, "20261205");
        QCOMPARE(count(s, "MWMXPP"), 1);
        refuseInserts(s.db(), "MWMXPP", "CW01 = '61200005'");
        MessageBoxes boxes;
        text2 = runDump(s);
        QCOMPARE(boxes.texts(), QStringList{"レシート情報を作成できませんでした。"});
        QVERIFY(text2->hasFocus());
        QCOMPARE(rows(s, "SELECT CW01 FROM MWMXPP"), (QList<QVariantMap>{{{"CW01", "61200008"}}}));
        QVERIFY(s.gridRows("FG1").isEmpty());
    }

    // Every register of the store, by register with each receipt's register
    // shown; a copy from the listing is that register's receipt.
    void everyRegisterByRegisterAndACopyOfAnothersReceipt()
    {
        Shop s;
        writeDay(s);
        runDump(s, day, true);
        QList<QStringList> all = ownDay;
        for (QStringList& r : all)
            r[0].prepend(r[0] == b ? "" : "01 ");
        all << QStringList{"02 61200002 ", "10:06:00  ", "売上 ", "山田 太郎  0001", "999", b, b,
                           "999",          "0"}
            << QStringList{b, b, "・よその品", "4900000000099", b, "0", "1", "999", b};
        QCOMPARE(s.gridRows("FG1"), all);
        QCOMPARE(s.shown({"LabelR", "LabelID"}),
                 (QStringList{"8", "売上. 5539　　返品. 540 < 4999>　　入金. 3000　　支払. 500"}));
        auto* grid = s.find<QTableView>("FG1");
        QVERIFY(grid->columnWidth(0) > grid->fontMetrics().horizontalAdvance(all[12][0]));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(13, 2)).center());
        functionKey(grid, Qt::Key_F7);
        QVERIFY(pdfText(s.path() + "/receipts/02-61200002-copy.pdf").contains("よその品"));
    }

    // Two registers dump at once, each into work rows of its own; another
    // store's register of the same code leaves them alone too.
    void twoRegistersDumpAtOnceEachIntoItsOwnRows()
    {
        ProgramFolder folder;
        TestDb one, two;
        writeDay(one);
        const auto dump = [](Database& db, const StoreRegister& where, const QString& running) {
            ReceiptDump::Listing l;
            return ReceiptDump::run(db, where, running, day, false, l).ok() ? l.receipts : -1;
        };
        QCOMPARE((QList{dump(one, {"01", "01"}, "01"), dump(two, {"01", std::nullopt}, "02"),
                        dump(one, {"01", "01"}, "01"), dump(two, {"02", "01"}, "01")}),
                 (QList<qint64>{7, 8, 7, 0}));
        // Rows by store, running register and receipt's register.
        QCOMPARE(
            rows(one, "SELECT CW11 || CW12 || CW13 || '/' || count(*) AS w FROM MWMXPP "
                      "GROUP BY CW11, CW12, CW13 ORDER BY 1"),
            (QList<QVariantMap>{{{"w", "010101/7"}}, {{"w", "010201/7"}}, {{"w", "010202/1"}}}));
    }

    void summaryOfDaysWithoutSales_data()
    {
        // table (of the day's one receipt), summary
        table::columns<QString, QString>();
        QTest::newRow("nothing") << QString() << QString();
        QTest::newRow("a deposit") << QString("MOMNYK") << QString("　　入金. 3000");
        QTest::newRow("a payment") << QString("MOMSYK") << QString("　　支払. 3000");
        QTest::newRow("a return only")
            << QString("MOMURA") << QString("売上. 0　　返品. 3000 <-3000>");
    }

    void summaryOfDaysWithoutSales()
    {
        const auto [table, summary] = table::fetch<QString, QString>();
        Shop s;
        const QString code = table == "MOMURA" ? "11009" : "70000";
        if (!table.isEmpty())
            addHeader(s, {table, "01", "01", "61200001", day, code, 3000});
        runDump(s);
        const int receipts = table.isEmpty() ? 0 : 1;
        QCOMPARE(s.shown({"LabelID", "LabelR"}), (QStringList{summary, QString::number(receipts)}));
        QCOMPARE(s.gridRows("FG1").size(), receipts);
    }
};

QTEST_MAIN(ReceiptDumpTest)
#include "test_receiptdump.moc"
