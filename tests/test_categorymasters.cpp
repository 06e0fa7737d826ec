#include "Fixture.h"

#include "data/Clock.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

namespace {
const QColor green(0, 192, 0);
const QColor red(255, 0, 0);
} // namespace

class CategoryMastersTest : public QObject {
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
    QTableWidget* grid(Screens& screens) { return screens.find<QTableWidget>("FG1"); }
    QList<QStringList> gridRows(Screens& screens)
    {
        QList<QStringList> all;
        QTableWidget* list = grid(screens);
        for (int r = 0; r < list->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < list->columnCount(); ++c)
                cells << list->item(r, c)->text();
            all << cells;
        }
        return all;
    }
    // Passes the whole entry with Enter, as the operator does.
    void enterAll(Screens& screens, const QString& code, const QString& name,
                  const QString& shortName)
    {
        auto* text2 = field(screens, "Text2");
        auto* text3 = field(screens, "Text3");
        typeInto(field(screens, "Text1"), code);
        enter(field(screens, "Text1"));
        typeInto(text2, name);
        enter(text2);
        typeInto(text3, shortName);
        enter(text3);
    }
    // Steps through CB1 with the arrow keys until the entry is chosen.
    void chooseMajor(Screens& screens, int index)
    {
        auto* cb1 = screens.find<QComboBox>("CB1");
        cb1->setFocus();
        while (cb1->currentIndex() < index)
            QTest::keyClick(cb1, Qt::Key_Down);
        while (cb1->currentIndex() > index)
            QTest::keyClick(cb1, Qt::Key_Up);
    }
    // Clicks as the operator does; a message box that opened takes the
    // keyboard for a moment, so wait until the screen has it back.
    void click(QWidget* widget)
    {
        QPointer<QWidget> window = widget->window();
        QTest::mouseClick(widget, Qt::LeftButton);
        if (window && window->isVisible() && !window->isActiveWindow())
            QVERIFY(QTest::qWaitForWindowActive(window));
    }
    // Clears a field after coming back to it with the mouse.
    void clearByMouse(EntryField* text)
    {
        QTest::mouseClick(text, Qt::LeftButton);
        text->selectAll();
        QTest::keyClick(text, Qt::Key_Backspace);
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    // --- Entering a major category -------------------------------------

    void majorCodeFieldFiltersAndLooksUp()
    {
        ProgramFolder folder;
        TestDb t;
        addMajor(t, "3", "衣料品", "衣料");
        Screens screens;
        screens.show("MUK4MM50");
        auto* text1 = field(screens, "Text1");
        auto* text2 = field(screens, "Text2");
        auto* text3 = field(screens, "Text3");
        QVERIFY(text1->hasFocus());
        QCOMPARE(label(screens, "Label1"), QString("大分類コード　登録・修正・削除"));
        QCOMPARE(label(screens, "LabelM"), QString("大分類コードを入力してください。"));
        QCOMPARE(label(screens, "LabelPFK"), QString("F10.Return"));
        QCOMPARE(label(screens, "LabelAPF"), QString("●  登録"));
        QVERIFY(drawsIn(screens.find<QLabel>("LabelAPF"), green));
        QCOMPARE(button(screens, "RCBTN")->text(), QString("登録"));
        QVERIFY(!text2->isEnabled());
        QVERIFY(!text3->isEnabled());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());
        QVERIFY(!button(screens, "DLBTN")->isEnabled());
        QVERIFY(button(screens, "RTBTN")->isEnabled());

        // Letters are dropped and a second digit does not fit.
        typeInto(text1, "a7b8");
        QCOMPARE(text1->text(), QString("7"));
        enter(text1);
        QCOMPARE(label(screens, "LabelAPF"), QString("●  登録"));
        QVERIFY(text2->hasFocus());
        QCOMPARE(label(screens, "LabelM"), QString("大分類名称を入力してください。"));
        QVERIFY(!text3->isEnabled());
        QVERIFY(!button(screens, "DLBTN")->isEnabled());

        // An existing code switches to changing it.
        QTest::mouseClick(text1, Qt::LeftButton);
        QVERIFY(!text2->isEnabled());
        text1->selectAll();
        typeInto(text1, "3");
        enter(text1);
        QCOMPARE(label(screens, "LabelAPF"), QString("●  修正"));
        QVERIFY(drawsIn(screens.find<QLabel>("LabelAPF"), red));
        QCOMPARE(button(screens, "RCBTN")->text(), QString("修正"));
        QCOMPARE(text2->text(), QString("衣料品"));
        QCOMPARE(text3->text(), QString("衣料"));
        QVERIFY(text3->isEnabled());
        QVERIFY(button(screens, "DLBTN")->isEnabled());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());
        QVERIFY(text2->hasFocus());
        QCOMPARE(text2->selectedText(), QString("衣料品"));
    }

    void nameFieldsCloseNothingButTheCodeFieldDoes()
    {
        ProgramFolder folder;
        Screens screens;
        screens.show("MUK4MM50");
        enterAll(screens, "4", "食品", "食品");
        QVERIFY(button(screens, "RCBTN")->hasFocus());
        QCOMPARE(label(screens, "LabelM"), QString("大分類略称を入力してください。"));

        QTest::mouseClick(field(screens, "Text2"), Qt::LeftButton);
        QVERIFY(field(screens, "Text3")->isEnabled());
        QVERIFY(button(screens, "RCBTN")->isEnabled());
        QTest::mouseClick(field(screens, "Text3"), Qt::LeftButton);
        QVERIFY(button(screens, "RCBTN")->isEnabled());

        QTest::mouseClick(field(screens, "Text1"), Qt::LeftButton);
        QVERIFY(!field(screens, "Text2")->isEnabled());
        QVERIFY(!field(screens, "Text3")->isEnabled());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());
        QVERIFY(!button(screens, "DLBTN")->isEnabled());
    }

    // --- Storing, changing and deleting --------------------------------

    void majorIsAddedChangedAndArchivedExactly()
    {
        ProgramFolder folder;
        TestDb t;
        addMajor(t, "2", "雑貨", "雑貨", "20250301", "08:30:00");
        Screens screens;
        screens.show("MUK4MM50");

        // Quotes, a backslash and Japanese are stored as typed.
        const QString name = QStringLiteral("O'Brien \\ 食品\"");
        enterAll(screens, "5", name, "食'\\");
        enter(button(screens, "RCBTN"));
        QCOMPARE(rows(t, "SELECT * FROM MBMBRL WHERE CB01 = '5'"),
                 (QList<QVariantMap>{{{"CB01", "5"},
                                      {"CB02", name},
                                      {"CB03", "食'\\"},
                                      {"CB04", " "},
                                      {"CB05", "20261206"},
                                      {"CB06", "10:15:30"},
                                      {"CB07", "20261206"},
                                      {"CB08", "10:15:30"}}}));
        QVERIFY(field(screens, "Text1")->hasFocus());
        QCOMPARE(field(screens, "Text1")->text(), QString());
        QCOMPARE(label(screens, "LabelAPF"), QString("●  登録"));
        QCOMPARE(gridRows(screens),
                 (QList<QStringList>{{"2   ", "雑貨", "雑貨"}, {"5   ", name, "食'\\"}}));

        // A change keeps the moment of adding.
        Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 0)));
        typeInto(field(screens, "Text1"), "2");
        enter(field(screens, "Text1"));
        field(screens, "Text2")->selectAll();
        typeInto(field(screens, "Text2"), "生活雑貨");
        enter(field(screens, "Text2"));
        enter(field(screens, "Text3"));
        click(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM MBMBRL WHERE CB01 = '2'"),
                 (QVariantMap{{"CB01", "2"},
                              {"CB02", "生活雑貨"},
                              {"CB03", "雑貨"},
                              {"CB04", " "},
                              {"CB05", "20250301"},
                              {"CB06", "08:30:00"},
                              {"CB07", "20261207"},
                              {"CB08", "09:05:00"}}));

        // Deleting archives the record with the moment of deletion.
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(17, 45, 10)));
        clickRow(grid(screens), 0);
        click(button(screens, "DLBTN"));
        QCOMPARE(count(t, "MBMBRL"), 1);
        QCOMPARE(rows(t, "SELECT * FROM XBMBRL"), (QList<QVariantMap>{{{"CB01", "2"},
                                                                       {"CB02", "生活雑貨"},
                                                                       {"CB03", "雑貨"},
                                                                       {"CB04", " "},
                                                                       {"CB05", "20250301"},
                                                                       {"CB06", "08:30:00"},
                                                                       {"CB07", "20261208"},
                                                                       {"CB08", "17:45:10"}}}));
        QCOMPARE(gridRows(screens), (QList<QStringList>{{"5   ", name, "食'\\"}}));
        QVERIFY(field(screens, "Text1")->hasFocus());
    }

    void middleIsAddedChangedAndArchivedWithinItsMajor()
    {
        ProgramFolder folder;
        TestDb t;
        addMajor(t, "1", "食品", "食品");
        addMajor(t, "3", "衣料品", "衣料");
        addMiddle(t, "101", "野菜", "野菜");
        addMiddle(t, "307", "紳士服", "紳士", "20250401", "11:11:11");
        addMiddle(t, "302", "婦人服", "婦人");
        Screens screens;
        screens.show("MUK4MM51");
        chooseMajor(screens, 1);
        QCOMPARE(gridRows(screens),
                 (QList<QStringList>{{"302  ", "婦人服", "婦人"}, {"307  ", "紳士服", "紳士"}}));

        enterAll(screens, "5", "子供服", "子供");
        click(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM MBMBRM WHERE CB01 = '305'"),
                 (QVariantMap{{"CB01", "305"},
                              {"CB02", "子供服"},
                              {"CB03", "子供"},
                              {"CB04", "3"},
                              {"CB05", " "},
                              {"CB06", " "},
                              {"CB07", " "},
                              {"CB08", "20261206"},
                              {"CB09", "10:15:30"},
                              {"CB10", "20261206"},
                              {"CB11", "10:15:30"}}));
        // The chosen major stays, with its list, ready for the next code.
        QCOMPARE(screens.find<QComboBox>("CB1")->currentText(), QString("衣料品"));
        QCOMPARE(screens.find<QLineEdit>("TextA")->text(), QString("3"));
        QCOMPARE(label(screens, "LabelNN"), QString("3"));
        QVERIFY(field(screens, "Text1")->hasFocus());
        QCOMPARE(gridRows(screens), (QList<QStringList>{{"302  ", "婦人服", "婦人"},
                                                        {"305  ", "子供服", "子供"},
                                                        {"307  ", "紳士服", "紳士"}}));

        // A change keeps the moment of adding.
        Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 0)));
        clickRow(grid(screens), 2);
        enter(field(screens, "Text2"));
        field(screens, "Text3")->selectAll();
        typeInto(field(screens, "Text3"), "メンズ");
        enter(field(screens, "Text3"));
        enter(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT * FROM MBMBRM WHERE CB01 = '307'"),
                 (QVariantMap{{"CB01", "307"},
                              {"CB02", "紳士服"},
                              {"CB03", "メンズ"},
                              {"CB04", "3"},
                              {"CB05", " "},
                              {"CB06", " "},
                              {"CB07", " "},
                              {"CB08", "20250401"},
                              {"CB09", "11:11:11"},
                              {"CB10", "20261207"},
                              {"CB11", "09:05:00"}}));

        // Deleting archives it with the moment of deletion.
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(17, 45, 10)));
        typeInto(field(screens, "Text1"), "7");
        enter(field(screens, "Text1"));
        click(button(screens, "DLBTN"));
        QCOMPARE(rows(t, "SELECT * FROM XBMBRM"), (QList<QVariantMap>{{{"CB01", "307"},
                                                                       {"CB02", "紳士服"},
                                                                       {"CB03", "メンズ"},
                                                                       {"CB04", "3"},
                                                                       {"CB05", " "},
                                                                       {"CB06", " "},
                                                                       {"CB07", " "},
                                                                       {"CB08", "20250401"},
                                                                       {"CB09", "11:11:11"},
                                                                       {"CB10", "20261208"},
                                                                       {"CB11", "17:45:10"}}}));
        QCOMPARE(count(t, "MBMBRM"), 3);
        QCOMPARE(gridRows(screens),
                 (QList<QStringList>{{"302  ", "婦人服", "婦人"}, {"305  ", "子供服", "子供"}}));
    }

    // --- Major 0 and the choice of a major -----------------------------

    void majorZeroIsStoredAndOfferedButNotListed()
    {
        ProgramFolder folder;
        TestDb t;
        addMajor(t, "1", "食品", "食品");
        Screens screens;
        screens.show("MUK4MM50");
        // An empty code counts as 0.
        enter(field(screens, "Text1"));
        QCOMPARE(field(screens, "Text1")->text(), QString("0"));
        typeInto(field(screens, "Text2"), "その他");
        enter(field(screens, "Text2"));
        typeInto(field(screens, "Text3"), "他");
        enter(field(screens, "Text3"));
        enter(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT CB01, CB02 FROM MBMBRL WHERE CB01 = '0'"),
                 (QVariantMap{{"CB01", "0"}, {"CB02", "その他"}}));
        QCOMPARE(gridRows(screens), (QList<QStringList>{{"1   ", "食品", "食品"}}));

        QTest::mouseClick(button(screens, "RTBTN"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        QTest::mouseClick(button(screens, "APCBTN02"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4MM51"));
        auto* cb1 = screens.find<QComboBox>("CB1");
        QCOMPARE(cb1->count(), 2);
        QCOMPARE(cb1->itemText(0), QString("その他"));
        QCOMPARE(cb1->itemData(0).toInt(), 0);
        QCOMPARE(cb1->itemText(1), QString("食品"));
        QCOMPARE(cb1->itemData(1).toInt(), 1);

        chooseMajor(screens, 0);
        QCOMPARE(screens.find<QLineEdit>("TextA")->text(), QString("0"));
        QCOMPARE(label(screens, "LabelN"), QString("0"));
        enterAll(screens, "1", "雑品", "雑");
        enter(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT CB01, CB04 FROM MBMBRM"),
                 (QVariantMap{{"CB01", "001"}, {"CB04", "0"}}));
    }

    void middleScreenWaitsForAMajor()
    {
        ProgramFolder folder;
        TestDb t;
        addMajor(t, "1", "食品", "食品");
        addMajor(t, "3", "衣料品", "衣料");
        addMiddle(t, "101", "野菜", "野菜");
        addMiddle(t, "305", "子供服", "子供");
        Screens screens;
        screens.show("MUK4MM51");
        auto* cb1 = screens.find<QComboBox>("CB1");
        QCOMPARE(label(screens, "Label1"), QString("中分類コード　登録・修正・削除"));
        QCOMPARE(cb1->currentIndex(), -1);
        QCOMPARE(cb1->placeholderText(), QString("名前を選択してください"));
        QVERIFY(cb1->isEnabled());
        QVERIFY(button(screens, "RTBTN")->isEnabled());
        for (const char* name : {"Text1", "Text2", "Text3", "TextA"})
            QVERIFY2(!screens.find<QLineEdit>(name)->isEnabled(), name);
        QVERIFY(!button(screens, "RCBTN")->isEnabled());
        QVERIFY(!button(screens, "DLBTN")->isEnabled());
        QCOMPARE(grid(screens)->rowCount(), 0);

        chooseMajor(screens, 1);
        QCOMPARE(screens.find<QLineEdit>("TextA")->text(), QString("3"));
        QVERIFY(!screens.find<QLineEdit>("TextA")->isEnabled());
        QCOMPARE(label(screens, "LabelN"), QString("3"));
        QCOMPARE(label(screens, "LabelNN"), QString("3"));
        QVERIFY(field(screens, "Text1")->hasFocus());
        QCOMPARE(label(screens, "LabelM"), QString("中分類コードを入力してください。"));
        QCOMPARE(gridRows(screens), (QList<QStringList>{{"305  ", "子供服", "子供"}}));

        // Two digits at most, no letters; the code is padded and looked up.
        auto* text1 = field(screens, "Text1");
        typeInto(text1, "x123");
        QCOMPARE(text1->text(), QString("12"));
        text1->selectAll();
        typeInto(text1, "5");
        enter(text1);
        QCOMPARE(text1->text(), QString("05"));
        QCOMPARE(label(screens, "LabelNN"), QString("305"));
        QCOMPARE(label(screens, "LabelAPF"), QString("●  修正"));
        QCOMPARE(field(screens, "Text2")->text(), QString("子供服"));
        QCOMPARE(field(screens, "Text3")->text(), QString("子供"));

        // Choosing another major starts over with its own list.
        chooseMajor(screens, 0);
        QCOMPARE(screens.find<QLineEdit>("TextA")->text(), QString("1"));
        QCOMPARE(text1->text(), QString());
        QCOMPARE(field(screens, "Text2")->text(), QString());
        QCOMPARE(label(screens, "LabelAPF"), QString("●  登録"));
        QCOMPARE(gridRows(screens), (QList<QStringList>{{"101  ", "野菜", "野菜"}}));
    }

    // --- Choosing a row ------------------------------------------------

    void chosenRowIsPutIntoTheFields()
    {
        ProgramFolder folder;
        TestDb t;
        addMajor(t, "3", "衣料品", "衣料");
        addMiddle(t, "302", "婦人服", "婦人");
        addMiddle(t, "307", "紳士服", "紳士");
        Screens screens;
        screens.show("MUK4MM51");
        chooseMajor(screens, 0);
        typeInto(field(screens, "Text1"), "2");
        enter(field(screens, "Text1"));
        clickRow(grid(screens), 1);
        QCOMPARE(screens.find<QLineEdit>("TextA")->text(), QString("3"));
        QCOMPARE(field(screens, "Text1")->text(), QString("07"));
        QCOMPARE(label(screens, "LabelNN"), QString("307"));
        QCOMPARE(field(screens, "Text2")->text(), QString("紳士服"));
        QCOMPARE(field(screens, "Text3")->text(), QString("紳士"));
        QCOMPARE(label(screens, "LabelAPF"), QString("●  修正"));
        QCOMPARE(button(screens, "RCBTN")->text(), QString("修正"));
        QVERIFY(field(screens, "Text2")->hasFocus());
        QVERIFY(field(screens, "Text3")->isEnabled());
        QVERIFY(button(screens, "DLBTN")->isEnabled());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());

        // The register button opens only after Enter in the short name.
        enter(field(screens, "Text2"));
        enter(field(screens, "Text3"));
        QVERIFY(button(screens, "RCBTN")->hasFocus());
    }

    void listsShowEveryRecordInOrder()
    {
        ProgramFolder folder;
        TestDb t;
        for (int m = 9; m >= 1; --m)
            addMajor(t, QString::number(m), QStringLiteral("大分類%1").arg(m), "略");
        for (int n = 99; n >= 0; --n)
            addMiddle(t, QString::number(300 + n), QStringLiteral("中分類%1").arg(n), "略");
        addMiddle(t, "405", "別の大分類", "略");
        Screens screens;
        screens.show("MUK4MM50");
        QCOMPARE(grid(screens)->rowCount(), 9);
        QCOMPARE(grid(screens)->item(0, 0)->text(), QString("1   "));
        QCOMPARE(grid(screens)->item(8, 1)->text(), QString("大分類9"));

        QTest::mouseClick(button(screens, "RTBTN"), Qt::LeftButton);
        screens.settle();
        QTest::mouseClick(button(screens, "APCBTN02"), Qt::LeftButton);
        screens.settle();
        chooseMajor(screens, 2);
        QCOMPARE(grid(screens)->rowCount(), 100);
        QCOMPARE(grid(screens)->item(0, 0)->text(), QString("300  "));
        QCOMPARE(grid(screens)->item(99, 0)->text(), QString("399  "));
        grid(screens)->scrollToBottom();
        clickRow(grid(screens), 99);
        QCOMPARE(field(screens, "Text1")->text(), QString("99"));
        QCOMPARE(field(screens, "Text2")->text(), QString("中分類99"));
    }

    // --- Checks and their messages -------------------------------------

    void emptyShortNameIsRefusedOnEnterAndOnRegister()
    {
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4MM50");
        MessageBoxes boxes;
        typeInto(field(screens, "Text1"), "4");
        enter(field(screens, "Text1"));
        enter(field(screens, "Text2"));
        QCOMPARE(boxes.texts(), QStringList{"大分類名称がありません。"});
        QVERIFY(field(screens, "Text2")->hasFocus());
        typeInto(field(screens, "Text2"), "食品");
        enter(field(screens, "Text2"));
        enter(field(screens, "Text3"));
        QCOMPARE(boxes.texts().last(), QString("大分類略称がありません。"));
        QVERIFY(field(screens, "Text3")->hasFocus());
        QVERIFY(!button(screens, "RCBTN")->isEnabled());

        // Every message is the plain form.
        for (const MessageBoxes::Seen& seen : boxes.seen()) {
            QCOMPARE(seen.icon, QMessageBox::NoIcon);
            QCOMPARE(seen.title, QApplication::applicationDisplayName());
            QVERIFY(seen.title != QString("MESSAGE"));
        }

        // Emptied after the register button opened: the check refuses it.
        boxes.clear();
        typeInto(field(screens, "Text3"), "食");
        enter(field(screens, "Text3"));
        clearByMouse(field(screens, "Text3"));
        click(button(screens, "RCBTN"));
        QCOMPARE(boxes.texts(), QStringList{"大分類略称がありません。"});
        QCOMPARE(count(t, "MBMBRL"), 0);
        QVERIFY(field(screens, "Text3")->hasFocus());
        QVERIFY(field(screens, "Text3")->isEnabled());
        QCOMPARE(label(screens, "LabelM"), QString("大分類略称を入力してください。"));

        // Filled in again, the next register stores normally.
        typeInto(field(screens, "Text3"), "食品");
        enter(field(screens, "Text3"));
        click(button(screens, "RCBTN"));
        QCOMPARE(boxes.texts().size(), 1);
        QCOMPARE(row(t, "SELECT CB01, CB02, CB03 FROM MBMBRL"),
                 (QVariantMap{{"CB01", "4"}, {"CB02", "食品"}, {"CB03", "食品"}}));
        QVERIFY(field(screens, "Text1")->hasFocus());
    }

    void everyFailingFieldIsReportedAndTheLastKeepsTheFocus()
    {
        ProgramFolder folder;
        TestDb t;
        addMajor(t, "3", "衣料品", "衣料");
        addMiddle(t, "305", "子供服", "子供");
        Screens screens;
        screens.show("MUK4MM51");
        chooseMajor(screens, 0);
        clickRow(grid(screens), 0);
        clearByMouse(field(screens, "Text2"));
        clearByMouse(field(screens, "Text3"));
        MessageBoxes boxes;
        // Delete runs the same check: nothing is deleted.
        click(button(screens, "DLBTN"));
        QCOMPARE(boxes.texts(),
                 (QStringList{"中分類名称がありません。", "中分類略称がありません。"}));
        QCOMPARE(boxes.seen().last().icon, QMessageBox::NoIcon);
        QCOMPARE(count(t, "MBMBRM"), 1);
        QCOMPARE(count(t, "XBMBRM"), 0);
        QVERIFY(field(screens, "Text3")->hasFocus());
        QVERIFY(field(screens, "Text2")->isEnabled());
        QVERIFY(!button(screens, "DLBTN")->isEnabled());

        typeInto(field(screens, "Text3"), "キッズ");
        enter(field(screens, "Text3"));
        QCOMPARE(boxes.texts().size(), 2);
        clearByMouse(field(screens, "Text3"));
        QTest::mouseClick(field(screens, "Text2"), Qt::LeftButton);
        typeInto(field(screens, "Text2"), "子供服");
        QTest::mouseClick(field(screens, "Text3"), Qt::LeftButton);
        typeInto(field(screens, "Text3"), "キッズ");
        click(button(screens, "RCBTN"));
        QCOMPARE(boxes.texts().size(), 2);
        QCOMPARE(row(t, "SELECT CB01, CB02, CB03 FROM MBMBRM"),
                 (QVariantMap{{"CB01", "305"}, {"CB02", "子供服"}, {"CB03", "キッズ"}}));
    }

    void namesAreHeldToTheirLengthInCharacters()
    {
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4MM50");
        typeInto(field(screens, "Text1"), "8");
        enter(field(screens, "Text1"));
        typeInto(field(screens, "Text2"), "あいうえおかきくけこさしすせそたちつてとな");
        QCOMPARE(field(screens, "Text2")->text(),
                 QString("あいうえおかきくけこさしすせそたちつてと"));
        enter(field(screens, "Text2"));
        typeInto(field(screens, "Text3"), "ABCDEFGHIJK");
        QCOMPARE(field(screens, "Text3")->text(), QString("ABCDEFGHIJ"));
        enter(field(screens, "Text3"));
        enter(button(screens, "RCBTN"));
        QCOMPARE(row(t, "SELECT CB02, CB03 FROM MBMBRL"),
                 (QVariantMap{{"CB02", "あいうえおかきくけこさしすせそたちつてと"},
                              {"CB03", "ABCDEFGHIJ"}}));
        QCOMPARE(gridRows(screens),
                 (QList<QStringList>{
                     {"8   ", "あいうえおかきくけこさしすせそたちつてと", "ABCDEFGHIJ"}}));
    }

    // --- Coming and going ----------------------------------------------

    void bothScreensComeFromAndReturnToTheMasterMenu()
    {
        ProgramFolder folder;
        Screens screens;
        screens.show("MUK4SC05");
        QVERIFY(button(screens, "APCBTN01")->isEnabled());
        QVERIFY(button(screens, "APCBTN02")->isEnabled());
        QTest::mouseClick(button(screens, "APCBTN01"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4MM50"));
        functionKey(field(screens, "Text1"), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        QTest::mouseClick(button(screens, "APCBTN02"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4MM51"));
        functionKey(screens.find<QComboBox>("CB1"), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        QTest::mouseClick(button(screens, "APCBTN02"), Qt::LeftButton);
        screens.settle();
        QTest::mouseClick(button(screens, "RTBTN"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
    }
};

QTEST_MAIN(CategoryMastersTest)
#include "test_categorymasters.moc"
