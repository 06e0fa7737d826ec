#include "Fixture.h"

#include "data/Clock.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>

namespace {
const QColor green(0, 192, 0);
const QColor red(255, 0, 0);

// Passes the whole entry with Enter, as the operator does.
void enterAll(Screens& s, const QString& code, const QString& name, const QString& shortName)
{
    typeInto(s.field("Text1"), code);
    enter(s.field("Text1"));
    typeInto(s.field("Text2"), name);
    enter(s.field("Text2"));
    typeInto(s.field("Text3"), shortName);
    enter(s.field("Text3"));
}

// Clears a field after coming back to it with the mouse.
void clearByMouse(EntryField* text)
{
    QTest::mouseClick(text, Qt::LeftButton);
    text->selectAll();
    QTest::keyClick(text, Qt::Key_Backspace);
}
} // namespace

class CategoryMastersTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void majorEntryIsCheckedAndOnlyTheCodeFieldClosesIt()
    {
        ProgramFolder folder;
        TestDb t;
        addMajor(t, "3", "衣料品", "衣料");
        Screens s;
        s.show("MUK4MM50");
        auto* text1 = s.field("Text1");
        const QStringList entry{"Text2", "Text3", "RCBTN", "DLBTN", "RTBTN"};
        QVERIFY(text1->hasFocus());
        QVERIFY(drawsIn(s.find<QLabel>("LabelAPF"), green));
        QCOMPARE(s.usable(entry), QStringList{"RTBTN"});

        // Letters are dropped and a second digit does not fit.
        typeInto(text1, "a7b8");
        QCOMPARE(text1->text(), QString("7"));
        enterAll(s, "", "食品", "食");
        QVERIFY(s.button("RCBTN")->hasFocus());

        // Going back to the names disables nothing, and the register check
        // names every empty field, leaving the focus on the last.
        clearByMouse(s.field("Text2"));
        clearByMouse(s.field("Text3"));
        QCOMPARE(s.usable(entry), (QStringList{"Text2", "Text3", "RCBTN", "RTBTN"}));
        {
            MessageBoxes boxes;
            s.click("RCBTN");
            QCOMPARE(boxes.texts(),
                     (QStringList{"大分類名称がありません。", "大分類略称がありません。"}));
        }
        QCOMPARE(count(t, "MBMBRL"), 1);
        QVERIFY(s.field("Text3")->hasFocus());

        // Going back to the code closes the entry; an existing code
        // switches to changing it.
        QTest::mouseClick(text1, Qt::LeftButton);
        QCOMPARE(s.usable(entry), QStringList{"RTBTN"});
        text1->selectAll();
        typeInto(text1, "3");
        enter(text1);
        QVERIFY(drawsIn(s.find<QLabel>("LabelAPF"), red));
        QCOMPARE(s.field("Text3")->text(), QString("衣料"));
        QCOMPARE(s.usable(entry), (QStringList{"Text2", "Text3", "DLBTN", "RTBTN"}));
    }

    // Major 0 is kept off its own list but may still hold middle categories;
    // names are held to 20 and 10 characters.
    void majorZeroIsOfferedOnlyForMiddles()
    {
        ProgramFolder folder;
        TestDb t;
        addMajor(t, "2", "雑貨", "雑貨");
        Screens s;
        s.show("MUK4MM50");
        const QString twenty = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
        enterAll(s, "", twenty + "な", "ABCDEFGHIJK");
        QCOMPARE(s.field("Text1")->text(), QString("0"));
        enter(s.button("RCBTN"));
        QCOMPARE(row(t, "SELECT CB01, CB02, CB03 FROM MBMBRL WHERE CB01 = '0'"),
                 (QVariantMap{{"CB01", "0"}, {"CB02", twenty}, {"CB03", "ABCDEFGHIJ"}}));
        QCOMPARE(s.gridRows(), (QList<QStringList>{{"2   ", "雑貨", "雑貨"}}));

        s.show("MUK4MM51");
        auto* cb1 = s.find<QComboBox>("CB1");
        QCOMPARE(cb1->count(), 2);
        QCOMPARE(cb1->itemText(0), twenty);
        choose(s.find<QComboBox>("CB1"), 0);
        QCOMPARE(s.find<QLineEdit>("TextA")->text(), QString("0"));
        enterAll(s, "1", "雑品", "雑");
        enter(s.button("RCBTN"));
        QCOMPARE(row(t, "SELECT CB01, CB04 FROM MBMBRM"),
                 (QVariantMap{{"CB01", "001"}, {"CB04", "0"}}));
    }

    // Both lists show every record in order; the middles are those of the
    // chosen major and are entered within it.
    void middlesAreListedAndEnteredWithinTheChosenMajor()
    {
        ProgramFolder folder;
        TestDb t;
        for (int m = 9; m >= 1; --m)
            addMajor(t, QString::number(m), QStringLiteral("大分類%1").arg(m), "略");
        for (int n = 99; n >= 0; --n)
            addMiddle(t, QString::number(300 + n), QStringLiteral("中分類%1").arg(n), "略");
        addMiddle(t, "101", "野菜", "野菜");
        Screens s;
        s.show("MUK4MM50");
        QList<QStringList> majors = s.gridRows();
        QCOMPARE(majors.size(), 9);
        QCOMPARE(majors.first().first(), QString("1   "));
        QCOMPARE(majors.last().at(1), QString("大分類9"));
        s.click("RTBTN"); // the list of majors returns with its button too
        QCOMPARE(s.current()->code(), QString("MUK4SC05"));
        s.click("APCBTN02");

        auto* text1 = s.field("Text1");
        const QStringList all{"CB1", "TextA", "Text1", "Text2", "Text3", "RCBTN", "DLBTN", "RTBTN"};
        QCOMPARE(s.usable(all), (QStringList{"CB1", "RTBTN"}));
        QCOMPARE(s.gridRows(), QList<QStringList>());
        choose(s.find<QComboBox>("CB1"), 2);
        QCOMPARE(s.find<QLineEdit>("TextA")->text(), QString("3"));
        QCOMPARE(s.label("LabelN"), QString("3"));
        QCOMPARE(s.usable(all), (QStringList{"CB1", "Text1", "RTBTN"}));
        QVERIFY(text1->hasFocus());
        QList<QStringList> middles = s.gridRows();
        QCOMPARE(middles.size(), 100);
        QCOMPARE(middles.first().first(), QString("300  "));
        QCOMPARE(middles.last().first(), QString("399  "));
        s.find<QTableWidget>("FG1")->scrollToBottom();
        clickRow(s.find<QTableWidget>("FG1"), 99);
        QCOMPARE(s.field("Text2")->text(), QString("中分類99"));

        // Two digits at most, no letters; the code is padded under its major.
        text1->setFocus();
        typeInto(text1, "x123");
        QCOMPARE(text1->text(), QString("12"));
        text1->selectAll();
        typeInto(text1, "5");
        enter(text1);
        QCOMPARE(text1->text(), QString("05"));
        QCOMPARE(s.label("LabelNN"), QString("305"));

        // Choosing another major starts over with its own list.
        choose(s.find<QComboBox>("CB1"), 0);
        QCOMPARE(s.find<QLineEdit>("TextA")->text(), QString("1"));
        QCOMPARE(text1->text(), QString());
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));
        QCOMPARE(s.gridRows(), (QList<QStringList>{{"101  ", "野菜", "野菜"}}));
    }
};

QTEST_MAIN(CategoryMastersTest)
#include "test_categorymasters.moc"
