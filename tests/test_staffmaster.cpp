#include "Fixture.h"

#include "data/Clock.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

class StaffMasterTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void codeFieldFiltersPadsAndLooksUp()
    {
        ProgramFolder folder;
        TestDb t;
        addStaff(t, "0012", "山田");
        Screens screens;
        screens.show("MUK4MM40");
        auto* text1 = screens.field("Text1");
        auto* text2 = screens.field("Text2");
        QVERIFY(text1->hasFocus());
        QCOMPARE(screens.label("LabelM"), QString("担当者コードを入力してください。"));
        QCOMPARE(screens.label("LabelAPF"), QString("●  登録"));
        QVERIFY(!text2->isEnabled());

        typeInto(text1, "1a2b");
        QCOMPARE(text1->text(), QString("12"));
        enter(text1);
        QCOMPARE(text1->text(), QString("0012"));
        QCOMPARE(text2->text(), QString("山田"));
        QVERIFY(text2->hasFocus());
        QCOMPARE(screens.label("LabelAPF"), QString("●  修正"));
        QCOMPARE(screens.button("RCBTN")->text(), QString("修正"));
        QVERIFY(screens.button("DLBTN")->isEnabled());
        QVERIFY(!screens.button("RCBTN")->isEnabled());

        // Going back to the code closes the later field and both buttons.
        text1->setFocus();
        QVERIFY(!text2->isEnabled());
        QVERIFY(!screens.button("RCBTN")->isEnabled());
        QVERIFY(!screens.button("DLBTN")->isEnabled());
    }

    void failingEnterKeepsTextSelected()
    {
        ProgramFolder folder;
        Screens screens;
        screens.show("MUK4MM40");
        auto* text1 = screens.field("Text1");
        MessageBoxes boxes;
        typeInto(text1, "0");
        enter(text1);
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen()[0].text, QString("担当者コードがありません。"));
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(text1->hasFocus());
        QCOMPARE(text1->selectedText(), QString("0"));
        typeInto(text1, "7");
        QCOMPARE(text1->text(), QString("7"));

        enter(text1);
        auto* text2 = screens.field("Text2");
        QVERIFY(text2->hasFocus());
        enter(text2);
        QCOMPARE(boxes.texts().last(), QString("担当者名がありません。"));
        QVERIFY(text2->hasFocus());
        QVERIFY(!screens.button("RCBTN")->isEnabled());
    }

    void addChangeAndDeleteKeepTheAudit()
    {
        ProgramFolder folder;
        TestDb t;
        addStaff(t, "0003", "佐藤", "20250101", "08:00:00");
        Screens screens;
        screens.show("MUK4MM40");
        auto* text1 = screens.field("Text1");
        auto* text2 = screens.field("Text2");

        // A name with quotes, a backslash and Japanese is stored as typed.
        const QString name = QStringLiteral("O'Brien \\ 田中\"");
        typeInto(text1, "5");
        enter(text1);
        typeInto(text2, name);
        enter(text2);
        QVERIFY(screens.button("RCBTN")->hasFocus());
        enter(screens.button("RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM MBMCHR WHERE CB01 = '0005'"),
                 (QVariantMap{{"CB01", "0005"},
                              {"CB02", name},
                              {"CB03", " "},
                              {"CB04", " "},
                              {"CB05", "20261206"},
                              {"CB06", "10:15:30"},
                              {"CB07", "20261206"},
                              {"CB08", "10:15:30"}}));
        QVERIFY(text1->hasFocus());
        QCOMPARE(screens.label("LabelAPF"), QString("●  登録"));
        QCOMPARE(text1->text(), QString());

        // A change keeps the moment of adding.
        typeInto(text1, "3");
        enter(text1);
        text2->selectAll();
        typeInto(text2, "佐藤花子");
        enter(text2);
        screens.click("RCBTN");
        QCOMPARE(row(t, "SELECT * FROM MBMCHR WHERE CB01 = '0003'"),
                 (QVariantMap{{"CB01", "0003"},
                              {"CB02", "佐藤花子"},
                              {"CB03", " "},
                              {"CB04", " "},
                              {"CB05", "20250101"},
                              {"CB06", "08:00:00"},
                              {"CB07", "20261206"},
                              {"CB08", "10:15:30"}}));

        // Deleting archives the record with the moment of deletion.
        Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(11, 0, 0)));
        typeInto(text1, "3");
        enter(text1);
        screens.click("DLBTN");
        QCOMPARE(count(t, "MBMCHR"), 1);
        QCOMPARE(rows(t, "SELECT * FROM XBMCHR"), (QList<QVariantMap>{{{"CB01", "0003"},
                                                                       {"CB02", "佐藤花子"},
                                                                       {"CB03", " "},
                                                                       {"CB04", " "},
                                                                       {"CB05", "20250101"},
                                                                       {"CB06", "08:00:00"},
                                                                       {"CB07", "20261207"},
                                                                       {"CB08", "11:00:00"}}}));
        auto* grid = screens.find<QTableWidget>("FG1");
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 0)->text(), QString("0005   "));
    }

    void listShowsEveryMemberAndRowsCanBeChosen()
    {
        ProgramFolder folder;
        TestDb t;
        for (int i = 1; i <= 12; ++i)
            addStaff(t, QString::number(10000 + i).right(4), QStringLiteral("担当%1").arg(i));
        Screens screens;
        screens.show("MUK4MM40");
        auto* grid = screens.find<QTableWidget>("FG1");
        QCOMPARE(grid->rowCount(), 12);
        QCOMPARE(grid->item(11, 1)->text(), QString("担当12"));

        clickRow(grid, 1);
        QCOMPARE(screens.field("Text1")->text(), QString("0002"));
        QCOMPARE(screens.field("Text2")->text(), QString("担当2"));
        QVERIFY(screens.field("Text2")->hasFocus());
        QCOMPARE(screens.label("LabelAPF"), QString("●  修正"));
        QVERIFY(screens.button("DLBTN")->isEnabled());
    }

    void emptyTableWorksInAddModeAndF10Returns()
    {
        ProgramFolder folder;
        Screens screens;
        screens.show("MUK4MM40");
        QCOMPARE(screens.find<QTableWidget>("FG1")->rowCount(), 0);
        QCOMPARE(screens.label("LabelPFK"), QString("F10.Return"));
        functionKey(screens.field("Text1"), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
    }
};

QTEST_MAIN(StaffMasterTest)
#include "test_staffmaster.moc"
