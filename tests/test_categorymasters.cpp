#include "Fixture.h"

namespace {
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
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }

    void majorEntryIsCheckedAndOnlyTheCodeFieldClosesIt()
    {
        Shop s;
        addMajor(s, "3", "衣料品", "衣料");
        s.show("MUK4MM50");
        auto* text1 = s.field("Text1");
        const QStringList entry{"Text2", "Text3", "RCBTN", "DLBTN", "RTBTN"};
        QVERIFY(drawsIn(s.find<QLabel>("LabelAPF"), QColor(0, 192, 0)));
        QCOMPARE(s.usable(entry), QStringList{"RTBTN"});

        // Letters are dropped and a second digit does not fit.
        typeInto(text1, "a7b8");
        QCOMPARE(text1->text(), QString("7"));
        QCOMPARE(s.fill({"Text1", "", "Text2", "食品", "Text3", "食"}), QString());
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
        QCOMPARE(count(s, "MBMBRL"), 1);
        QVERIFY(s.field("Text3")->hasFocus());

        // Going back to the code closes the entry; an existing code
        // switches to changing it.
        QTest::mouseClick(text1, Qt::LeftButton);
        QCOMPARE(s.usable(entry), QStringList{"RTBTN"});
        text1->selectAll();
        QCOMPARE(s.fill({"Text1", "3"}), QString());
        QVERIFY(drawsIn(s.find<QLabel>("LabelAPF"), QColor(255, 0, 0)));
        QCOMPARE(s.field("Text3")->text(), QString("衣料"));
        QCOMPARE(s.usable(entry), (QStringList{"Text2", "Text3", "DLBTN", "RTBTN"}));
    }

    // Major 0 is kept off its own list but may still hold middle categories.
    void majorZeroIsOfferedOnlyForMiddles()
    {
        Shop s;
        addMajor(s, "2", "雑貨", "雑貨");
        s.show("MUK4MM50");
        QCOMPARE(s.fill({"Text1", "", "Text2", "その他", "Text3", "他", "RCBTN", ""}), QString());
        QCOMPARE(s.gridRows(), (QList<QStringList>{{"2   ", "雑貨", "雑貨"}}));

        s.show("MUK4MM51");
        auto* cb1 = s.find<QComboBox>("CB1");
        QCOMPARE(cb1->count(), 2);
        QCOMPARE(cb1->itemText(0), QString("その他"));
        choose(s.find<QComboBox>("CB1"), 0);
        QCOMPARE(s.find<QLineEdit>("TextA")->text(), QString("0"));
        QCOMPARE(s.fill({"Text1", "1", "Text2", "雑品", "Text3", "雑", "RCBTN", ""}), QString());
        QCOMPARE(row(s, "SELECT CB01, CB04 FROM MBMBRM"),
                 (QVariantMap{{"CB01", "001"}, {"CB04", "0"}}));
    }

    // Both lists show every record in order; the middles are those of the
    // chosen major and are entered within it.
    void middlesAreListedAndEnteredWithinTheChosenMajor()
    {
        Shop s;
        for (int m = 9; m >= 1; --m)
            addMajor(s, QString::number(m), QStringLiteral("大分類%1").arg(m), "略");
        for (int n = 99; n >= 0; --n)
            addMiddle(s, QString::number(300 + n), QStringLiteral("中分類%1").arg(n), "略");
        addMiddle(s, "101", "野菜", "野菜");
        s.show("MUK4MM50");
        QList<QStringList> majors = s.gridRows();
        QCOMPARE(majors.size(), 9);
        QCOMPARE((QStringList{majors.first().first(), majors.last().at(1)}),
                 (QStringList{"1   ", "大分類9"}));
        s.show("MUK4MM51");

        auto* text1 = s.field("Text1");
        const QStringList all{"CB1", "TextA", "Text1", "Text2", "Text3", "RCBTN", "DLBTN", "RTBTN"};
        QCOMPARE(s.usable(all), (QStringList{"CB1", "RTBTN"}));
        QCOMPARE(s.gridRows(), QList<QStringList>());
        choose(s.find<QComboBox>("CB1"), 2);
        QCOMPARE(s.shown({"TextA", "LabelN", "focus"}), (QStringList{"3", "3", "Text1"}));
        QCOMPARE(s.usable(all), (QStringList{"CB1", "Text1", "RTBTN"}));
        QList<QStringList> middles = s.gridRows();
        QCOMPARE(middles.size(), 100);
        QCOMPARE((QStringList{middles.first().first(), middles.last().first()}),
                 (QStringList{"300  ", "399  "}));
        s.find<QTableWidget>("FG1")->scrollToBottom();
        clickRow(s.find<QTableWidget>("FG1"), 99);
        QCOMPARE(s.field("Text2")->text(), QString("中分類99"));

        // Two digits at most, no letters; the code is padded under its major.
        text1->setFocus();
        typeInto(text1, "x123");
        QCOMPARE(text1->text(), QString("12"));
        text1->selectAll();
        QCOMPARE(s.fill({"Text1", "5"}), QString());
        QCOMPARE(s.shown({"Text1", "LabelNN"}), (QStringList{"05", "305"}));

        // Choosing another major starts over with its own list.
        choose(s.find<QComboBox>("CB1"), 0);
        QCOMPARE(s.shown({"TextA", "Text1", "LabelAPF"}), (QStringList{"1", "", "●  登録"}));
        QCOMPARE(s.gridRows(), (QList<QStringList>{{"101  ", "野菜", "野菜"}}));
    }
};

QTEST_MAIN(CategoryMastersTest)
#include "test_categorymasters.moc"
