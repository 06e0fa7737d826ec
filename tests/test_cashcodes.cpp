#include "Fixture.h"

#include "data/Clock.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {
// One account (MBMKJM, CK..) or partner (MBMKJT, CT..) as the table holds it.
void addCode(Database& db, const QString& table, const QString& code, const QString& name,
             const QString& shortName, const QString& spare = QStringLiteral(" "),
             const QString& addedDate = QStringLiteral("20260101"),
             const QString& addedTime = QStringLiteral("09:00:00"))
{
    const DbResult r = db.execute(
        QStringLiteral("INSERT INTO ") + table + QStringLiteral(" VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {code, name, shortName, spare, addedDate, addedTime, addedDate, addedTime});
    QVERIFY2(r.ok(), qPrintable(r.error().describe()));
}
} // namespace

class CashCodesTest : public QObject {
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
    QString label(Screens& screens, const char* name)
    {
        return screens.find<QLabel>(QString::fromLatin1(name))->text();
    }
    // A click on a button, then the screen has the keyboard back from any
    // message box, as the operator would.
    void click(Screens& screens, const char* name)
    {
        QTest::mouseClick(button(screens, name), Qt::LeftButton);
        screens.settle();
    }
    // Code, name and short name typed and passed with Enter up to RCBTN.
    void enterRecord(Screens& screens, const QString& code, const QString& name,
                     const QString& shortName)
    {
        typeInto(field(screens, "Text1"), code);
        enter(field(screens, "Text1"));
        field(screens, "Text2")->selectAll();
        typeInto(field(screens, "Text2"), name);
        enter(field(screens, "Text2"));
        field(screens, "Text3")->selectAll();
        typeInto(field(screens, "Text3"), shortName);
        enter(field(screens, "Text3"));
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void bothScreensShowTheirCaptionsPromptsAndLimits_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<int>("shortLength");
        QTest::addRow("accounts") << "MUK4MM80"
                                  << "入出金科目" << QStringList{"科目CD", "科目名称", "科目略称"}
                                  << 16 << 14;
        QTest::addRow("partners") << "MUK4MM81"
                                  << "入出金取引先"
                                  << QStringList{"取引先CD", "取引先名称", "取引先略称"} << 20
                                  << 10;
    }
    void bothScreensShowTheirCaptionsPromptsAndLimits()
    {
        QFETCH(QString, screen);
        QFETCH(QString, subject);
        QFETCH(QStringList, captions);
        QFETCH(int, nameLength);
        QFETCH(int, shortLength);
        ProgramFolder folder;
        Screens screens;
        screens.show(screen);
        auto* text1 = field(screens, "Text1");
        auto* text2 = field(screens, "Text2");
        auto* text3 = field(screens, "Text3");

        // Only the code and the way back are open at first.
        QVERIFY(text1->hasFocus());
        QVERIFY(button(screens, "RTBTN")->isEnabled());
        QVERIFY(!text2->isEnabled());
        QVERIFY(!text3->isEnabled());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());
        QVERIFY(!button(screens, "DLBTN")->isEnabled());
        QCOMPARE(label(screens, "LabelM"), subject + "コードを入力してください。");
        QCOMPARE(label(screens, "LabelAPF"), QString("●  登録"));
        QVERIFY(screens.find<QLabel>("LabelAPF")->styleSheet().contains("#00C000"));
        QCOMPARE(button(screens, "RCBTN")->text(), QString("登録"));
        QCOMPARE(label(screens, "LabelPFK"), QString("F10.Return"));
        QCOMPARE(screens.find<QTableWidget>("FG1")->columnCount(), 3);
        QStringList shown;
        for (QWidget* f : {static_cast<QWidget*>(text1), static_cast<QWidget*>(text2),
                           static_cast<QWidget*>(text3)}) {
            for (QLabel* l : screens.current()->findChildren<QLabel*>()) {
                if (l->buddy() == f)
                    shown << l->text();
            }
        }
        QCOMPARE(shown, captions);
        QCOMPARE(text1->nextInFocusChain(), text2);
        QCOMPARE(text3->nextInFocusChain(), button(screens, "RCBTN"));
        QCOMPARE(button(screens, "DLBTN")->nextInFocusChain(), button(screens, "RTBTN"));

        // Letters never reach the code.
        typeInto(text1, "4x2-");
        QCOMPARE(text1->text(), QString("42"));
        enter(text1);
        QCOMPARE(text1->text(), QString("0042"));
        QVERIFY(text2->hasFocus());
        QCOMPARE(label(screens, "LabelM"), subject + "名称を入力してください。");

        // Lengths are counted in characters, Japanese included.
        typeInto(text2, QString("漢").repeated(nameLength + 3));
        QCOMPARE(text2->text(), QString("漢").repeated(nameLength));
        enter(text2);
        QVERIFY(text3->hasFocus());
        QCOMPARE(label(screens, "LabelM"), subject + "略称を入力してください。");
        typeInto(text3, QString("カ").repeated(shortLength + 3));
        QCOMPARE(text3->text(), QString("カ").repeated(shortLength));
        enter(text3);
        QVERIFY(button(screens, "RCBTN")->hasFocus());

        // Back in the code, the entry has to be passed again.
        text1->setFocus();
        QVERIFY(!text2->isEnabled());
        QVERIFY(!text3->isEnabled());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());
    }

    void emptyCodeSelectsZeroWhichIsAddedAndListedFirst()
    {
        ProgramFolder folder;
        TestDb t;
        addCode(t, "MBMKJM", "0005", "売上入金", "売上");
        Screens screens;
        screens.show("MUK4MM80");
        auto* text1 = field(screens, "Text1");
        auto* text3 = field(screens, "Text3");
        MessageBoxes boxes;

        enter(text1);
        QCOMPARE(text1->text(), QString("0000"));
        QCOMPARE(label(screens, "LabelAPF"), QString("●  登録"));
        QVERIFY(field(screens, "Text2")->hasFocus());
        typeInto(field(screens, "Text2"), "雑収入");
        enter(field(screens, "Text2"));

        // An empty short name is refused at Enter with the name's message,
        // in the plain form.
        enter(text3);
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen()[0].text, QString("入出金科目名称がありません。"));
        QCOMPARE(boxes.seen()[0].title, QApplication::applicationDisplayName());
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::NoIcon);
        QVERIFY(text3->hasFocus());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());

        typeInto(text3, "雑");
        enter(text3);
        enter(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM MBMKJM WHERE CK01 = '0000'"),
                 (QVariantMap{{"CK01", "0000"},
                              {"CK02", "雑収入"},
                              {"CK03", "雑"},
                              {"CK04", " "},
                              {"CK05", "20261206"},
                              {"CK06", "10:15:30"},
                              {"CK07", "20261206"},
                              {"CK08", "10:15:30"}}));
        auto* grid = screens.find<QTableWidget>("FG1");
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->item(0, 0)->text(), QString("0000 "));
        QCOMPARE(grid->item(0, 1)->text(), QString("雑収入"));
        QCOMPARE(grid->item(1, 0)->text(), QString("0005 "));
        QVERIFY(text1->hasFocus());
        QCOMPARE(text1->text(), QString());
    }

    void changeKeepsKeySpareAndAddedMomentAndRenewsTheChange()
    {
        ProgramFolder folder;
        TestDb t;
        addCode(t, "MBMKJM", "0001", "小口現金", "小口", "*", "20250301", "08:30:00");
        addCode(t, "MBMKJM", "0002", "仕入", "仕入");
        Screens screens;
        screens.show("MUK4MM80");
        auto* text2 = field(screens, "Text2");

        clickRow(screens.find<QTableWidget>("FG1"), 0);
        QCOMPARE(field(screens, "Text1")->text(), QString("0001"));
        QCOMPARE(text2->text(), QString("小口現金"));
        QCOMPARE(field(screens, "Text3")->text(), QString("小口"));
        QVERIFY(text2->hasFocus());
        QCOMPARE(label(screens, "LabelAPF"), QString("●  修正"));
        QCOMPARE(button(screens, "RCBTN")->text(), QString("修正"));
        QVERIFY(screens.find<QLabel>("LabelAPF")->styleSheet().contains("#FF0000"));
        QVERIFY(button(screens, "DLBTN")->isEnabled());
        QVERIFY(field(screens, "Text3")->isEnabled());

        typeInto(text2, "小口現金補充");
        enter(text2);
        enter(field(screens, "Text3"));
        enter(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM MBMKJM WHERE CK01 = '0001'"),
                 (QVariantMap{{"CK01", "0001"},
                              {"CK02", "小口現金補充"},
                              {"CK03", "小口"},
                              {"CK04", "*"},
                              {"CK05", "20250301"},
                              {"CK06", "08:30:00"},
                              {"CK07", "20261206"},
                              {"CK08", "10:15:30"}}));
        QCOMPARE(label(screens, "LabelAPF"), QString("●  登録"));

        // The code found by Enter fills the fields the same way.
        typeInto(field(screens, "Text1"), "2");
        enter(field(screens, "Text1"));
        QCOMPARE(text2->text(), QString("仕入"));
        QCOMPARE(label(screens, "LabelAPF"), QString("●  修正"));
        QVERIFY(button(screens, "DLBTN")->isEnabled());
    }

    void saveRefusedForAnEmptyNameSavesOnTheNextPress()
    {
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4MM81");
        auto* text2 = field(screens, "Text2");
        auto* text3 = field(screens, "Text3");
        MessageBoxes boxes;

        enterRecord(screens, "7", "丸山商店", "丸山");
        QVERIFY(button(screens, "RCBTN")->isEnabled());
        // The operator goes back and empties the name, then presses register.
        QTest::mouseClick(text2, Qt::LeftButton);
        text2->clear();
        click(screens, "RCBTN");
        QCOMPARE(boxes.texts(), QStringList{"入出金取引先名称がありません。"});
        QCOMPARE(count(t, "MBMKJT"), 0);
        QVERIFY(text2->hasFocus());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());
        QVERIFY(!button(screens, "DLBTN")->isEnabled());

        typeInto(text2, "丸山商店");
        enter(text2);
        enter(text3);
        click(screens, "RCBTN");
        QCOMPARE(boxes.texts().size(), 1);
        QCOMPARE(row(t, "SELECT CT01, CT02, CT03 FROM MBMKJT"),
                 (QVariantMap{{"CT01", "0007"}, {"CT02", "丸山商店"}, {"CT03", "丸山"}}));

        // A short name emptied after the last Enter is stored as one blank.
        enterRecord(screens, "8", "谷口", "谷");
        QTest::mouseClick(text3, Qt::LeftButton);
        text3->clear();
        click(screens, "RCBTN");
        QCOMPARE(row(t, "SELECT CT03 FROM MBMKJT WHERE CT01 = '0008'"),
                 (QVariantMap{{"CT03", " "}}));

        // Delete checks the name the same way.
        typeInto(field(screens, "Text1"), "7");
        enter(field(screens, "Text1"));
        text2->clear();
        click(screens, "DLBTN");
        QCOMPARE(boxes.texts().size(), 2);
        QCOMPARE(count(t, "MBMKJT"), 2);
        QCOMPARE(count(t, "XBMKJT"), 0);
    }

    void deletedPartnerIsArchivedWithTheMomentOfDeletion()
    {
        ProgramFolder folder;
        TestDb t;
        addCode(t, "MBMKJT", "0003", "山田酒店", "山田", " ", "20250101", "08:00:00");
        addCode(t, "MBMKJT", "0004", "鈴木青果", "鈴木");
        Screens screens;
        screens.show("MUK4MM81");
        Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(11, 0, 0)));

        typeInto(field(screens, "Text1"), "3");
        enter(field(screens, "Text1"));
        QVERIFY(button(screens, "DLBTN")->isEnabled());
        click(screens, "DLBTN");
        QCOMPARE(rows(t, "SELECT * FROM XBMKJT"), (QList<QVariantMap>{{{"CT01", "0003"},
                                                                       {"CT02", "山田酒店"},
                                                                       {"CT03", "山田"},
                                                                       {"CT04", " "},
                                                                       {"CT05", "20250101"},
                                                                       {"CT06", "08:00:00"},
                                                                       {"CT07", "20261207"},
                                                                       {"CT08", "11:00:00"}}}));
        QCOMPARE(rows(t, "SELECT CT01 FROM MBMKJT"), (QList<QVariantMap>{{{"CT01", "0004"}}}));
        auto* grid = screens.find<QTableWidget>("FG1");
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 2)->text(), QString("鈴木"));
        QCOMPARE(label(screens, "LabelAPF"), QString("●  登録"));
        QVERIFY(field(screens, "Text1")->hasFocus());
    }

    void awkwardNamesAreStoredAndShownBackExactly()
    {
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4MM81");
        const QString name = QStringLiteral("O'Brien \\ 田中\"%_");
        const QString shortName = QStringLiteral("'\\日本");
        enterRecord(screens, "12", name, shortName);
        enter(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT CT02, CT03 FROM MBMKJT WHERE CT01 = '0012'"),
                 (QVariantMap{{"CT02", name}, {"CT03", shortName}}));
        auto* grid = screens.find<QTableWidget>("FG1");
        QCOMPARE(grid->item(0, 1)->text(), name);
        QCOMPARE(grid->item(0, 2)->text(), shortName);
        typeInto(field(screens, "Text1"), "12");
        enter(field(screens, "Text1"));
        QCOMPARE(field(screens, "Text2")->text(), name);
        QCOMPARE(field(screens, "Text3")->text(), shortName);
    }

    void listShowsEveryRecordInCodeOrder()
    {
        ProgramFolder folder;
        TestDb t;
        for (int i = 30; i >= 1; --i)
            addCode(t, "MBMKJM", QString::number(10000 + i).right(4),
                    QStringLiteral("科目%1").arg(i), QStringLiteral("略%1").arg(i));
        Screens screens;
        screens.show("MUK4MM80");
        auto* grid = screens.find<QTableWidget>("FG1");
        QCOMPARE(grid->rowCount(), 30);
        QCOMPARE(grid->item(0, 0)->text(), QString("0001 "));
        QCOMPARE(grid->item(29, 0)->text(), QString("0030 "));
        QCOMPARE(grid->item(29, 1)->text(), QString("科目30"));
        QCOMPARE(grid->item(29, 2)->text(), QString("略30"));

        clickRow(grid, 29);
        QCOMPARE(field(screens, "Text1")->text(), QString("0030"));
        QCOMPARE(field(screens, "Text3")->text(), QString("略30"));
    }

    void returnKeysGoBackToTheMasterMenu()
    {
        ProgramFolder folder;
        Screens screens;
        screens.show("MUK4SC05");
        for (const char* name : {"APCBTN06", "APCBTN07", "APCBTN09"})
            QVERIFY2(button(screens, name)->isEnabled(), name);

        QTest::mouseClick(button(screens, "APCBTN06"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4MM80"));
        functionKey(field(screens, "Text1"), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));

        QTest::mouseClick(button(screens, "APCBTN07"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4MM81"));
        QTest::mouseClick(button(screens, "RTBTN"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
    }
};

QTEST_MAIN(CashCodesTest)
#include "test_cashcodes.moc"
