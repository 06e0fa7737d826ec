#include "Fixture.h"

#include "data/Clock.h"

#include <QTableWidget>

class StaffMasterTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void codeIsFilteredPaddedCheckedAndLooksUp()
    {
        ProgramFolder folder;
        TestDb t;
        addStaff(t, "0012", "山田");
        Screens screens;
        screens.show("MUK4MM40");
        EntryField* text1 = screens.field("Text1");
        EntryField* text2 = screens.field("Text2");
        const QStringList controls{"Text1", "Text2", "RCBTN", "DLBTN", "RTBTN"};
        QVERIFY(text1->hasFocus());
        QCOMPARE(screens.label("LabelM"), QString("担当者コードを入力してください。"));
        QCOMPARE(screens.usable(controls), (QStringList{"Text1", "RTBTN"}));

        // Code 0 is refused in the error form; the text stays selected so
        // the next key replaces it.
        MessageBoxes boxes;
        typeInto(text1, "0");
        enter(text1);
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen()[0].text, QString("担当者コードがありません。"));
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(text1->hasFocus());
        QCOMPARE(text1->selectedText(), QString("0"));

        typeInto(text1, "1a2b");
        QCOMPARE(text1->text(), QString("12"));
        enter(text1);
        QCOMPARE(text1->text(), QString("0012"));
        QCOMPARE(text2->text(), QString("山田"));
        QVERIFY(text2->hasFocus());
        QCOMPARE(screens.label("LabelAPF"), QString("●  修正"));
        QCOMPARE(screens.button("RCBTN")->text(), QString("修正"));
        QCOMPARE(screens.usable(controls), (QStringList{"Text1", "Text2", "DLBTN", "RTBTN"}));

        // An unknown code after a found one starts a new member.
        text1->setFocus();
        typeInto(text1, "13");
        enter(text1);
        QCOMPARE(text2->text(), QString());
        QCOMPARE(screens.label("LabelAPF"), QString("●  登録"));
        QCOMPARE(screens.button("RCBTN")->text(), QString("登録"));
        QCOMPARE(screens.usable(controls), (QStringList{"Text1", "Text2", "RTBTN"}));

        // An empty name is refused; going back to the code closes the rest.
        text2->clear();
        enter(text2);
        QCOMPARE(boxes.texts().last(), QString("担当者名がありません。"));
        QVERIFY(text2->hasFocus());
        text1->setFocus();
        QCOMPARE(screens.usable(controls), (QStringList{"Text1", "RTBTN"}));
    }

    void addChangeAndDeleteKeepTheAudit()
    {
        ProgramFolder folder;
        TestDb t;
        addStaff(t, "0003", "佐藤", "20250101", "08:00:00");
        Screens screens;
        screens.show("MUK4MM40");
        EntryField* text1 = screens.field("Text1");
        EntryField* text2 = screens.field("Text2");

        // A name with quotes, a backslash and Japanese is stored as typed.
        const QString name = QStringLiteral("O'Brien \\ 田中\"");
        typeInto(text1, "5");
        enter(text1);
        typeInto(text2, name);
        enter(text2);
        QVERIFY(screens.button("RCBTN")->hasFocus());
        enter(screens.button("RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM MBMCHR WHERE CB01 = '0005'"),
                 stored("MBMCHR",
                        {"0005", name, " ", " ", "20261206", "10:15:30", "20261206", "10:15:30"}));
        QVERIFY(text1->hasFocus());
        QCOMPARE(text1->text(), QString());
        QCOMPARE(screens.label("LabelAPF"), QString("●  登録"));

        // A change keeps the moment of adding.
        typeInto(text1, "3");
        enter(text1);
        typeInto(text2, "佐藤花子");
        enter(text2);
        screens.click("RCBTN");
        const QVariantMap changed = stored("MBMCHR", {"0003", "佐藤花子", " ", " ", "20250101",
                                                      "08:00:00", "20261206", "10:15:30"});
        QCOMPARE(row(t, "SELECT * FROM MBMCHR WHERE CB01 = '0003'"), changed);

        // Deleting archives the record with the moment of deletion.
        Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(11, 0, 0)));
        typeInto(text1, "3");
        enter(text1);
        screens.click("DLBTN");
        QVariantMap archived = changed;
        archived["CB07"] = "20261207";
        archived["CB08"] = "11:00:00";
        QCOMPARE(rows(t, "SELECT * FROM XBMCHR"), QList<QVariantMap>{archived});
        QCOMPARE(screens.gridRows(), (QList<QStringList>{{"0005   ", name}}));
    }

    void everyMemberIsListedAndRowsCanBeChosen()
    {
        ProgramFolder folder;
        Screens screens;
        screens.show("MUK4MM40");
        QCOMPARE(screens.gridRows(), QList<QStringList>{});
        QCOMPARE(screens.label("LabelPFK"), QString("F10.Return"));

        TestDb t;
        for (int i = 1; i <= 12; ++i)
            addStaff(t, QString::number(10000 + i).right(4), QStringLiteral("担当%1").arg(i));
        functionKey(screens.field("Text1"), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        screens.show("MUK4MM40");
        QCOMPARE(screens.gridRows().size(), 12);
        QCOMPARE(screens.gridRows().last(), (QStringList{"0012   ", "担当12"}));

        clickRow(screens.find<QTableWidget>("FG1"), 1);
        QCOMPARE(screens.field("Text1")->text(), QString("0002"));
        QCOMPARE(screens.field("Text2")->text(), QString("担当2"));
        QVERIFY(screens.field("Text2")->hasFocus());
        QCOMPARE(screens.label("LabelAPF"), QString("●  修正"));
        QVERIFY(screens.button("DLBTN")->isEnabled());
    }
};

QTEST_MAIN(StaffMasterTest)
#include "test_staffmaster.moc"
