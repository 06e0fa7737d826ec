#include "Fixture.h"

class CashCodesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }

    // Accounts and partners share their steps; only the table differs.
    void refusedSaveGoesThroughOnceTheNameIsFilled_data()
    {
        QTest::addColumn<QStringList>("r"); // screen, table, subject of the messages
        QTest::newRow("accounts") << QStringList{"MUK4MM80", "MBMKJM", "入出金科目"};
        QTest::newRow("partners") << QStringList{"MUK4MM81", "MBMKJT", "入出金取引先"};
    }

    void refusedSaveGoesThroughOnceTheNameIsFilled()
    {
        QFETCH(QStringList, r);
        const QString screen = r[0], table = r[1], subject = r[2];
        Shop s;
        const QString key = Schema::fieldsOf(table)[0];
        auto stored = [&](const QString& code) {
            return row(s, "SELECT * FROM " + table + " WHERE " + key + " = ?", {code});
        };
        // The spare field is not this screen's to change.
        addCashCode(s, table, "0001", "小口現金", "小口", "20250301", "08:30:00");
        QVERIFY(s.db()
                    .execute("UPDATE " + table + " SET " + Schema::fieldsOf(table)[3] + " = '*'")
                    .ok());
        s.show(screen);
        auto *text2 = s.field("Text2"), *text3 = s.field("Text3");

        // A short name emptied after its Enter is stored as one blank.
        QCOMPARE(s.fill({"Text1", "1", "Text2", "", "Text3", ""}), QString());
        QTest::mouseClick(text3, Qt::LeftButton);
        text3->clear();
        s.click("RCBTN");
        QCOMPARE(stored("0001"), ::stored(table, {"0001", "小口現金", " ", "*", "20250301",
                                                  "08:30:00", "20261206", "10:15:30"}));

        // The operator goes back, empties the name and presses register.
        const QString name = QStringLiteral("O'Brien \\ 田中\"%_");
        QCOMPARE(s.fill({"Text1", "7", "Text2", "仮", "Text3", "'\\日本"}), QString());
        QTest::mouseClick(text2, Qt::LeftButton);
        text2->clear();
        {
            MessageBoxes boxes;
            s.click("RCBTN");
            QCOMPARE(boxes.texts(), QStringList{subject + "名称がありません。"});
        }
        QCOMPARE(count(s, table), 1);
        QCOMPARE(s.usable({"Text2", "RCBTN"}), QStringList{"Text2"});
        QCOMPARE(s.fill({"Text2", name, "Text3", "", "RCBTN", ""}), QString());
        QCOMPARE(stored("0007"), ::stored(table, {"0007", name, "'\\日本", " ", "20261206",
                                                  "10:15:30", "20261206", "10:15:30"}));
    }
};

QTEST_MAIN(CashCodesTest)
#include "test_cashcodes.moc"
