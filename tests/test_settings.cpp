#include "Fixture.h"

#include "data/Clock.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

class SettingsTest : public QObject {
    Q_OBJECT

private:
    EntryField* field(Screens& screens, const char* name)
    {
        return screens.find<EntryField>(QString::fromLatin1(name));
    }
    QPushButton* button(Screens& screens, const char* name)
    {
        return screens.find<QPushButton>(QString::fromLatin1(name));
    }
    QLabel* label(Screens& screens, const char* name)
    {
        return screens.find<QLabel>(QString::fromLatin1(name));
    }
    void chooseKey(Screens& screens, const QString& key)
    {
        auto* text1 = field(screens, "Text1");
        text1->selectAll();
        typeInto(text1, key);
        enter(text1);
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void keyShowsItsValuesAndWarnsForKeysTheProgramWrites()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "tax", "0.10");
        setParameter(t, "receipt", "612", "00042");
        Screens screens;
        screens.show("MUK4MM90");
        auto* text2 = field(screens, "Text2");
        QVERIFY(field(screens, "Text1")->hasFocus());
        QCOMPARE(label(screens, "LabelM")->text(), QString("パラメタを入力してください。"));
        QCOMPARE(label(screens, "LabelAPF")->text(), QString("●  登録"));
        QCOMPARE(button(screens, "RCBTN")->text(), QString("登録"));
        QCOMPARE(label(screens, "LabelPFK")->text(), QString("F10.Return"));
        QVERIFY(!text2->isEnabled());
        QVERIFY(!field(screens, "Text3")->isEnabled());

        chooseKey(screens, "tax");
        QCOMPARE(text2->text(), QString("0.10"));
        QCOMPARE(field(screens, "Text3")->text(), QString(" "));
        QVERIFY(text2->hasFocus());
        QCOMPARE(label(screens, "LabelM")->text(), QString("フィールド1を入力してください。"));
        QCOMPARE(label(screens, "LabelW")->text(), QString());
        QCOMPARE(label(screens, "LabelAPF")->text(), QString("●  設定"));
        QVERIFY(label(screens, "LabelAPF")->styleSheet().contains("#8080FF"));
        QCOMPARE(button(screens, "RCBTN")->text(), QString("設定"));

        chooseKey(screens, "receipt");
        QCOMPARE(text2->text(), QString("612"));
        QCOMPARE(field(screens, "Text3")->text(), QString("00042"));
        QCOMPARE(label(screens, "LabelW")->text(),
                 QString("他のデータベースにリンクしているので注意してください。"));
        QVERIFY(label(screens, "LabelW")->styleSheet().contains("#FF0000"));

        // Back in the key, the values shown cannot be passed on.
        field(screens, "Text1")->setFocus();
        QVERIFY(!text2->isEnabled());
        QVERIFY(!field(screens, "Text3")->isEnabled());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());
    }

    void emptyValuesAndUnknownKeysAreRefusedAndDeleteNeverOpens()
    {
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4MM90");
        auto* text1 = field(screens, "Text1");
        auto* text2 = field(screens, "Text2");
        auto* text3 = field(screens, "Text3");
        auto* dlbtn = button(screens, "DLBTN");
        MessageBoxes boxes;

        chooseKey(screens, "nosuchkey");
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen()[0].text, QString("パラメタがありません。"));
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(text1->hasFocus());
        QCOMPARE(text1->selectedText(), QString("nosuchkey"));
        QVERIFY(!text2->isEnabled());
        QVERIFY(!dlbtn->isEnabled());

        chooseKey(screens, "store");
        QVERIFY(!dlbtn->isEnabled());
        text2->clear();
        enter(text2);
        QCOMPARE(boxes.texts().last(), QString("フィールド1がありません。"));
        QVERIFY(text2->hasFocus());
        QVERIFY(!text3->isEnabled());

        typeInto(text2, "02");
        enter(text2);
        QVERIFY(text3->hasFocus());
        QCOMPARE(label(screens, "LabelM")->text(), QString("フィールド2を入力してください。"));
        text3->clear();
        enter(text3);
        QCOMPARE(boxes.texts().last(), QString("フィールド2がありません。"));
        QVERIFY(text3->hasFocus());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());
        QVERIFY(!dlbtn->isEnabled());

        typeInto(text3, "本店");
        enter(text3);
        QVERIFY(button(screens, "RCBTN")->hasFocus());
        QVERIFY(!dlbtn->isEnabled());
        QCOMPARE(boxes.seen().size(), 3);
        QCOMPARE(count(t, "MBMSYS"), 9);
    }

    void storedValueIsStampedAndSeenByTheMainMenu()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "tax", "0.10");
        Screens screens;
        screens.show("MUK4MM90");
        auto* text2 = field(screens, "Text2");
        chooseKey(screens, "tax");
        text2->selectAll();
        typeInto(text2, "0.08");
        enter(text2);
        enter(field(screens, "Text3"));
        enter(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM MBMSYS WHERE CB01 = 'tax'"),
                 (QVariantMap{{"CB01", "tax"},
                              {"CB02", "0.08"},
                              {"CB03", " "},
                              {"CB04", " "},
                              {"CB07", "20261206"},
                              {"CB08", "10:15:30"}}));
        QVERIFY(field(screens, "Text1")->hasFocus());
        QCOMPARE(field(screens, "Text1")->text(), QString());
        QCOMPARE(label(screens, "LabelAPF")->text(), QString("●  登録"));
        QCOMPARE(screens.find<QTableWidget>("FG1")->findItems("0.08", Qt::MatchExactly).size(), 1);

        functionKey(field(screens, "Text1"), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        functionKey(screens.current(), Qt::Key_F12);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC01"));
        QCOMPARE(screens.find<QLineEdit>("Text7")->text(), QString("0.08"));
    }

    void everyParameterIsListedAndRowsCanBeChosen()
    {
        ProgramFolder folder;
        TestDb t;
        for (int i = 1; i <= 15; ++i)
            setParameter(t, QStringLiteral("extra%1").arg(i, 2, 10, QLatin1Char('0')),
                         QString::number(i), QStringLiteral("値%1").arg(i));
        setParameter(t, "workday", "20261206", "RUN");
        Screens screens;
        screens.show("MUK4MM90");
        auto* grid = screens.find<QTableWidget>("FG1");
        QCOMPARE(grid->rowCount(), 24);
        QStringList keys;
        for (int r = 0; r < grid->rowCount(); ++r)
            keys << grid->item(r, 0)->text();
        QStringList sorted = keys;
        sorted.sort();
        QCOMPARE(keys, sorted);
        const int workday = static_cast<int>(keys.indexOf("workday"));
        QCOMPARE(workday, 23);
        QCOMPARE(grid->item(workday, 1)->text(), QString("20261206"));
        QCOMPARE(grid->item(workday, 2)->text(), QString("RUN"));

        clickRow(grid, workday);
        QCOMPARE(field(screens, "Text1")->text(), QString("workday"));
        QCOMPARE(field(screens, "Text2")->text(), QString("20261206"));
        QCOMPARE(field(screens, "Text3")->text(), QString("RUN"));
        QVERIFY(field(screens, "Text2")->hasFocus());
        QCOMPARE(label(screens, "LabelAPF")->text(), QString("●  設定"));
        QCOMPARE(label(screens, "LabelW")->text(),
                 QString("他のデータベースにリンクしているので注意してください。"));

        clickRow(grid, 0);
        QCOMPARE(field(screens, "Text1")->text(), QString("caption"));
        QCOMPARE(label(screens, "LabelW")->text(), QString());
        QVERIFY(!button(screens, "DLBTN")->isEnabled());
    }

    void keyRemovedMeanwhileIsNotCreatedOnStore()
    {
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4MM90");
        MessageBoxes boxes;
        chooseKey(screens, "printer");
        enter(field(screens, "Text2"));
        enter(field(screens, "Text3"));
        removeParameter(t, "printer");
        enter(button(screens, "RCBTN"));
        QCOMPARE(boxes.texts(), QStringList{"パラメタがありません。"});
        QCOMPARE(count(t, "MBMSYS"), 8);
        QVERIFY(field(screens, "Text1")->hasFocus());
    }
};

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
