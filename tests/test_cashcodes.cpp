#include "Fixture.h"

#include "data/Clock.h"

#include <QApplication>
#include <QTableWidget>

namespace {
// A whole record of an account (CK..) or partner (CT..) table, fields 01 to 08.
QVariantMap record(const QString& prefix, const QStringList& values)
{
    QVariantMap fields;
    for (int i = 0; i < values.size(); ++i)
        fields.insert(prefix + QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0')), values[i]);
    return fields;
}
} // namespace

class CashCodesTest : public QObject {
    Q_OBJECT

private:
    // Accounts and partners share their steps; only the table and lengths differ.
    void bothScreens()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<int>("shortLength");
        QTest::addRow("accounts") << "MUK4MM80"
                                  << "MBMKJM"
                                  << "CK"
                                  << "入出金科目" << 16 << 14;
        QTest::addRow("partners") << "MUK4MM81"
                                  << "MBMKJT"
                                  << "CT"
                                  << "入出金取引先" << 20 << 10;
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void emptyCodeAddsZeroWithinTheLengthsAndEveryRecordIsListed_data() { bothScreens(); }
    void emptyCodeAddsZeroWithinTheLengthsAndEveryRecordIsListed()
    {
        QFETCH(QString, screen);
        QFETCH(QString, table);
        QFETCH(QString, prefix);
        QFETCH(int, nameLength);
        QFETCH(int, shortLength);
        ProgramFolder folder;
        TestDb t;
        for (int i = 30; i >= 1; --i)
            addCashCode(t, table, QString::number(10000 + i).right(4),
                        QStringLiteral("名%1").arg(i), QStringLiteral("略%1").arg(i));
        Screens s;
        s.show(screen);
        auto* text1 = s.field("Text1");
        auto* text2 = s.field("Text2");
        auto* text3 = s.field("Text3");
        QVERIFY(text1->hasFocus());
        QVERIFY(!s.button("RCBTN")->isEnabled());

        // Letters never reach the code; an empty code chooses "0000".
        typeInto(text1, "x-");
        QCOMPARE(text1->text(), QString());
        enter(text1);
        QCOMPARE(text1->text(), QString("0000"));
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));

        // Lengths are counted in characters, Japanese included.
        const QString name = QString("漢").repeated(nameLength);
        const QString shortName = QString("カ").repeated(shortLength);
        typeInto(text2, name + "超過");
        QCOMPARE(text2->text(), name);
        enter(text2);
        typeInto(text3, shortName + "超過");
        QCOMPARE(text3->text(), shortName);
        enter(text3);
        enter(s.button("RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM " + table + " WHERE " + prefix + "01 = ?", {"0000"}),
                 record(prefix, {"0000", name, shortName, " ", "20261206", "10:15:30", "20261206",
                                 "10:15:30"}));
        const QList<QStringList> listed = s.gridRows();
        QCOMPARE(listed.size(), 31);
        QCOMPARE(listed.first(), (QStringList{"0000 ", name, shortName}));
        QCOMPARE(listed.last(), (QStringList{"0030 ", "名30", "略30"}));
        QVERIFY(text1->hasFocus());
    }

    void refusedSaveGoesThroughOnceTheNameIsFilled_data() { bothScreens(); }
    void refusedSaveGoesThroughOnceTheNameIsFilled()
    {
        QFETCH(QString, screen);
        QFETCH(QString, table);
        QFETCH(QString, prefix);
        QFETCH(QString, subject);
        ProgramFolder folder;
        TestDb t;
        // The spare field is not this screen's to change.
        addCashCode(t, table, "0001", "小口現金", "小口", "20250301", "08:30:00");
        QVERIFY(t.db().execute("UPDATE " + table + " SET " + prefix + "04 = '*'").ok());
        Screens s;
        s.show(screen);
        auto* text1 = s.field("Text1");
        auto* text2 = s.field("Text2");
        auto* text3 = s.field("Text3");

        // A short name emptied after its Enter is stored as one blank.
        typeInto(text1, "1");
        enter(text1);
        enter(text2);
        enter(text3);
        QTest::mouseClick(text3, Qt::LeftButton);
        text3->clear();
        s.click("RCBTN");
        QCOMPARE(row(t, "SELECT * FROM " + table + " WHERE " + prefix + "01 = ?", {"0001"}),
                 record(prefix, {"0001", "小口現金", " ", "*", "20250301", "08:30:00", "20261206",
                                 "10:15:30"}));

        MessageBoxes boxes;
        const QString missing = subject + "名称がありません。";
        const QString name = QStringLiteral("O'Brien \\ 田中\"%_");
        const QString shortName = QStringLiteral("'\\日本");

        // The short name is asked for with the name's message, in the plain form.
        typeInto(text1, "7");
        enter(text1);
        typeInto(text2, "仮");
        enter(text2);
        enter(text3);
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen()[0].text, missing);
        QCOMPARE(boxes.seen()[0].title, QApplication::applicationDisplayName());
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::NoIcon);
        QVERIFY(text3->hasFocus());
        typeInto(text3, shortName);
        enter(text3);

        // The operator goes back, empties the name and presses register.
        QTest::mouseClick(text2, Qt::LeftButton);
        text2->clear();
        s.click("RCBTN");
        QCOMPARE(boxes.texts(), (QStringList{missing, missing}));
        QCOMPARE(count(t, table), 1);
        QVERIFY(text2->hasFocus());
        QVERIFY(!s.button("RCBTN")->isEnabled());
        typeInto(text2, name);
        enter(text2);
        enter(text3);
        s.click("RCBTN");
        QCOMPARE(boxes.seen().size(), 2);
        QCOMPARE(row(t, "SELECT * FROM " + table + " WHERE " + prefix + "01 = ?", {"0007"}),
                 record(prefix, {"0007", name, shortName, " ", "20261206", "10:15:30", "20261206",
                                 "10:15:30"}));
    }
};

QTEST_MAIN(CashCodesTest)
#include "test_cashcodes.moc"
