#include "Fixture.h"

#include "data/Clock.h"
#include "data/Schema.h"

class CashCodesTest : public QObject {
    Q_OBJECT

private:
    // Accounts and partners share their steps; only the table and lengths differ.
    void bothScreens()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<int>("shortLength");
        const auto add = [](const char* row, const char* screen, const char* table,
                            const char* subject, int name, int shortName) {
            QTest::newRow(row) << screen << table << subject << name << shortName;
        };
        add("accounts", "MUK4MM80", "MBMKJM", "入出金科目", 16, 14);
        add("partners", "MUK4MM81", "MBMKJT", "入出金取引先", 20, 10);
    }
    QVariantMap stored(TestDb& t, const QString& table, const QString& code)
    {
        return row(t, "SELECT * FROM " + table + " WHERE " + Schema::fieldsOf(table)[0] + " = ?",
                   {code});
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void emptyCodeAddsZeroWithinTheLengthsAndEveryRecordIsListed_data() { bothScreens(); }
    void emptyCodeAddsZeroWithinTheLengthsAndEveryRecordIsListed()
    {
        QFETCH(QString, screen);
        QFETCH(QString, table);
        QFETCH(int, nameLength);
        QFETCH(int, shortLength);
        ProgramFolder folder;
        TestDb t;
        for (int i = 30; i >= 1; --i)
            addCashCode(t, table, QString::number(10000 + i).right(4),
                        QStringLiteral("名%1").arg(i), QStringLiteral("略%1").arg(i));
        Screens s;
        s.show(screen);
        QVERIFY(s.field("Text1")->hasFocus());
        QVERIFY(!s.button("RCBTN")->isEnabled());
        enter(s.field("Text1"));
        QCOMPARE(s.field("Text1")->text(), QString("0000"));

        // Lengths are counted in characters, Japanese included.
        const QString name = QString("漢").repeated(nameLength);
        const QString shortName = QString("カ").repeated(shortLength);
        typeInto(s.field("Text2"), name + "超過");
        enter(s.field("Text2"));
        typeInto(s.field("Text3"), shortName + "超過");
        enter(s.field("Text3"));
        enter(s.button("RCBTN"));
        QCOMPARE(stored(t, table, "0000"),
                 ::stored(table, {"0000", name, shortName, " ", "20261206", "10:15:30", "20261206",
                                  "10:15:30"}));
        const QList<QStringList> listed = s.gridRows();
        QCOMPARE(listed.size(), 31);
        QCOMPARE(listed.first(), (QStringList{"0000 ", name, shortName}));
        QCOMPARE(listed.last(), (QStringList{"0030 ", "名30", "略30"}));
        QVERIFY(s.field("Text1")->hasFocus());
    }

    void refusedSaveGoesThroughOnceTheNameIsFilled_data() { bothScreens(); }
    void refusedSaveGoesThroughOnceTheNameIsFilled()
    {
        QFETCH(QString, screen);
        QFETCH(QString, table);
        QFETCH(QString, subject);
        ProgramFolder folder;
        TestDb t;
        // The spare field is not this screen's to change.
        addCashCode(t, table, "0001", "小口現金", "小口", "20250301", "08:30:00");
        QVERIFY(t.db()
                    .execute("UPDATE " + table + " SET " + Schema::fieldsOf(table)[3] + " = '*'")
                    .ok());
        Screens s;
        s.show(screen);
        auto* text2 = s.field("Text2");
        auto* text3 = s.field("Text3");

        // A short name emptied after its Enter is stored as one blank.
        typeInto(s.field("Text1"), "1");
        enter(s.field("Text1"));
        enter(text2);
        enter(text3);
        QTest::mouseClick(text3, Qt::LeftButton);
        text3->clear();
        s.click("RCBTN");
        QCOMPARE(stored(t, table, "0001"),
                 ::stored(table, {"0001", "小口現金", " ", "*", "20250301", "08:30:00", "20261206",
                                  "10:15:30"}));

        // The operator goes back, empties the name and presses register.
        const QString name = QStringLiteral("O'Brien \\ 田中\"%_");
        typeInto(s.field("Text1"), "7");
        enter(s.field("Text1"));
        typeInto(text2, "仮");
        enter(text2);
        typeInto(text3, "'\\日本");
        enter(text3);
        QTest::mouseClick(text2, Qt::LeftButton);
        text2->clear();
        {
            MessageBoxes boxes;
            s.click("RCBTN");
            QCOMPARE(boxes.texts(), QStringList{subject + "名称がありません。"});
        }
        QCOMPARE(count(t, table), 1);
        QVERIFY(text2->hasFocus());
        QVERIFY(!s.button("RCBTN")->isEnabled());
        typeInto(text2, name);
        enter(text2);
        enter(text3);
        s.click("RCBTN");
        QCOMPARE(stored(t, table, "0007"),
                 ::stored(table, {"0007", name, "'\\日本", " ", "20261206", "10:15:30", "20261206",
                                  "10:15:30"}));
    }
};

QTEST_MAIN(CashCodesTest)
#include "test_cashcodes.moc"
