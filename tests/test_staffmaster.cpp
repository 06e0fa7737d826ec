#include "Fixture.h"

#include "data/Clock.h"

class StaffMasterTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void theEntryOpensFieldByFieldAndCloses()
    {
        ProgramFolder folder;
        TestDb t;
        addStaff(t, "0012", "山田");
        Screens screens;
        screens.show("MUK4MM40");
        EntryField* text1 = screens.field("Text1");
        EntryField* text2 = screens.field("Text2");
        const QStringList controls{"Text1", "Text2", "RCBTN", "DLBTN", "RTBTN"};
        QCOMPARE(screens.label("LabelM"), QString("担当者コードを入力してください。"));
        QCOMPARE(screens.usable(controls), (QStringList{"Text1", "RTBTN"}));

        typeInto(text1, "12");
        enter(text1);
        QCOMPARE(text2->text(), QString("山田"));
        QCOMPARE(screens.label("LabelM"), QString("担当者名を入力してください。"));
        QCOMPARE(screens.usable(controls), (QStringList{"Text1", "Text2", "DLBTN", "RTBTN"}));

        // An unknown code after a found one starts a new member.
        text1->setFocus();
        typeInto(text1, "13");
        enter(text1);
        QCOMPARE(text2->text(), QString());
        QCOMPARE(screens.label("LabelAPF"), QString("●  登録"));
        QCOMPARE(screens.button("RCBTN")->text(), QString("登録"));
        QCOMPARE(screens.usable(controls), (QStringList{"Text1", "Text2", "RTBTN"}));

        // An empty name is refused in the error form; going back to the code
        // closes the rest.
        MessageBoxes boxes;
        enter(text2);
        QCOMPARE(boxes.texts(), QStringList{"担当者名がありません。"});
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(text2->hasFocus());
        QCOMPARE(screens.usable(controls), (QStringList{"Text1", "Text2", "RTBTN"}));
        text1->setFocus();
        QCOMPARE(screens.usable(controls), (QStringList{"Text1", "RTBTN"}));
    }

    void everyMemberIsListed()
    {
        ProgramFolder folder;
        TestDb t;
        for (int i = 12; i >= 1; --i)
            addStaff(t, QString::number(10000 + i).right(4), QStringLiteral("担当%1").arg(i));
        Screens screens;
        screens.show("MUK4MM40");
        QCOMPARE(screens.gridRows().size(), 12);
        QCOMPARE(screens.gridRows().first(), (QStringList{"0001   ", "担当1"}));
        QCOMPARE(screens.gridRows().last(), (QStringList{"0012   ", "担当12"}));
        QCOMPARE(screens.label("LabelPFK"), QString("F10.Return"));
    }
};

QTEST_MAIN(StaffMasterTest)
#include "test_staffmaster.moc"
