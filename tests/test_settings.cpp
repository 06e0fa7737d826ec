#include "Fixture.h"

#include "data/Clock.h"

#include <QLineEdit>
#include <QTableWidget>

class SettingsTest : public QObject {
    Q_OBJECT

private:
    void chooseKey(Screens& s, const QString& key)
    {
        s.field("Text1")->selectAll();
        typeInto(s.field("Text1"), key);
        enter(s.field("Text1"));
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void keysShowTheirValuesAndWarnWhereTheProgramWrites()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "tax", "0.10");
        setParameter(t, "receipt", "612", "00042");
        for (int i = 1; i <= 15; ++i)
            setParameter(t, QStringLiteral("extra%1").arg(i, 2, 10, QLatin1Char('0')),
                         QString::number(i));
        Screens s;
        s.show("MUK4MM90");
        auto* text2 = s.field("Text2");
        auto* text3 = s.field("Text3");

        // Every parameter is listed.
        QStringList keys;
        for (const QStringList& listed : s.gridRows())
            keys << listed.first();
        QCOMPARE(keys.size(), 24);

        // The keys the program writes itself warn; the others do not.
        const QString warning = "他のデータベースにリンクしているので注意してください。";
        for (const QString key : {"charge", "workday", "store", "printer"}) {
            chooseKey(s, key);
            QCOMPARE(s.label("LabelW"), key == "store" || key == "printer" ? QString() : warning);
        }
        chooseKey(s, "tax");
        QCOMPARE(text2->text(), QString("0.10"));
        QCOMPARE(text3->text(), QString(" "));
        QVERIFY(text2->hasFocus());
        QCOMPARE(s.label("LabelAPF"), QString("●  設定"));
        QCOMPARE(s.label("LabelW"), QString());
        QVERIFY(!s.button("DLBTN")->isEnabled());

        clickRow(s.find<QTableWidget>("FG1"), static_cast<int>(keys.indexOf("receipt")));
        QCOMPARE(s.field("Text1")->text(), QString("receipt"));
        QCOMPARE(text2->text(), QString("612"));
        QCOMPARE(text3->text(), QString("00042"));
        QCOMPARE(s.label("LabelW"), warning);
        enter(text2);
        QVERIFY(text3->hasFocus());
        QVERIFY(!s.button("DLBTN")->isEnabled());

        // Back in the key, values shown for one key cannot be stored under another.
        s.field("Text1")->setFocus();
        QVERIFY(!text2->isEnabled());
        QVERIFY(!text3->isEnabled());
        QVERIFY(!s.button("RCBTN")->isEnabled());
    }

    void emptyValuesUnknownKeysAndKeysRemovedMeanwhileAreRefused()
    {
        ProgramFolder folder;
        TestDb t;
        Screens s;
        s.show("MUK4MM90");
        auto* text2 = s.field("Text2");
        auto* text3 = s.field("Text3");
        MessageBoxes boxes;

        chooseKey(s, "nosuchkey");
        QCOMPARE(boxes.texts(), QStringList{"パラメタがありません。"});
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(s.field("Text1")->hasFocus());
        QVERIFY(!text2->isEnabled());

        chooseKey(s, "store");
        text2->clear();
        enter(text2);
        QCOMPARE(boxes.texts().last(), QString("フィールド1がありません。"));
        QVERIFY(text2->hasFocus());
        QVERIFY(!text3->isEnabled());
        typeInto(text2, "02");
        enter(text2);
        text3->clear();
        enter(text3);
        QCOMPARE(boxes.texts().last(), QString("フィールド2がありません。"));
        QVERIFY(text3->hasFocus());
        QVERIFY(!s.button("RCBTN")->isEnabled());
        typeInto(text3, "駅前店");
        enter(text3);
        QVERIFY(s.button("RCBTN")->hasFocus());
        QVERIFY(!s.button("DLBTN")->isEnabled());

        // Someone removes the key before it is stored: it is not made anew.
        removeParameter(t, "store");
        enter(s.button("RCBTN"));
        QCOMPARE(boxes.texts().size(), 4);
        QCOMPARE(boxes.texts().last(), QString("パラメタがありません。"));
        QCOMPARE(count(t, "MBMSYS"), 8);
        QVERIFY(s.field("Text1")->hasFocus());
    }

    void storedValueIsStampedAndSeenByTheMainMenu()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "tax", "0.10");
        Screens s;
        s.show("MUK4MM90");
        chooseKey(s, "tax");
        typeInto(s.field("Text2"), "0.08");
        enter(s.field("Text2"));
        enter(s.field("Text3"));
        enter(s.button("RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM MBMSYS WHERE CB01 = 'tax'"),
                 stored("MBMSYS", {"tax", "0.08", " ", " ", "20261206", "10:15:30"}));
        QVERIFY(s.gridRows().contains(QStringList{"tax", "0.08", " "}));
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));

        functionKey(s.field("Text1"), Qt::Key_F10);
        QCOMPARE(s.settle()->code(), QString("MUK4SC05"));
        functionKey(s.current(), Qt::Key_F12);
        QCOMPARE(s.settle()->code(), QString("MUK4SC01"));
        QCOMPARE(s.find<QLineEdit>("Text7")->text(), QString("0.08"));
    }
};

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
