#include "Fixture.h"

#include "data/Clock.h"
#include "masters/ProductEntry.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString Jan = QStringLiteral("4901234567894");
}

class ProductMasterTest : public QObject {
    Q_OBJECT

private:
    EntryField* field(Screens& screens, const char* name)
    {
        return screens.find<EntryField>(QString::fromLatin1(name));
    }
    QLineEdit* box(Screens& screens, const char* name)
    {
        return screens.find<QLineEdit>(QString::fromLatin1(name));
    }
    QPushButton* button(Screens& screens, const char* name)
    {
        return screens.find<QPushButton>(QString::fromLatin1(name));
    }
    QRadioButton* option(Screens& screens, int n)
    {
        return screens.find<QRadioButton>(QStringLiteral("Option%1").arg(n));
    }
    QComboBox* combo(Screens& screens, const char* name)
    {
        return screens.find<QComboBox>(QString::fromLatin1(name));
    }
    QString labelM(Screens& screens) { return screens.find<QLabel>("LabelM")->text(); }

    // Types over the focused field (its text is selected) and confirms it;
    // false when the field did not have the focus.
    bool answer(Screens& screens, const char* name, const QString& text)
    {
        EntryField* f = field(screens, name);
        if (!f || !f->hasFocus())
            return false;
        typeInto(f, text);
        enter(f);
        return true;
    }
    // Picks an entry from the open list, as with the mouse.
    bool choose(QComboBox* box, int index)
    {
        if (!box->hasFocus())
            return false;
        box->showPopup();
        box->view()->setCurrentIndex(box->model()->index(index, 0));
        QTest::keyClick(box->view(), Qt::Key_Return);
        return true;
    }
    void addCategories(Database& db)
    {
        addMajor(db, "1", "食品");
        addMajor(db, "2", "日用品");
        addMiddle(db, "101", "パン");
        addMiddle(db, "102", "菓子");
        addMiddle(db, "201", "洗剤");
    }
    // A new product from its code to the sale price date, the kind left as it is.
    bool enterNewProduct(Screens& screens, const QString& code)
    {
        return answer(screens, "Text1", code) && answer(screens, "Text2", "新商品") &&
               answer(screens, "Text3", "新") && choose(combo(screens, "CB1"), 0) &&
               choose(combo(screens, "CB2"), 1) && answer(screens, "Text4", "120") &&
               answer(screens, "Text5", "20261201") && answer(screens, "Text7", "198") &&
               answer(screens, "Text8", "20261202");
    }
    void save(Screens& screens)
    {
        QVERIFY(button(screens, "RCBTN")->hasFocus());
        enter(button(screens, "RCBTN"));
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    // --- checks that need no window -------------------------------------

    void datesAndTimesWithoutAWindow()
    {
        QVERIFY(ProductEntry::isCalendarDate(u"20240229"));
        QVERIFY(!ProductEntry::isCalendarDate(u"20230229"));
        QVERIFY(!ProductEntry::isCalendarDate(u"2026*201"));
        QVERIFY(!ProductEntry::isCalendarDate(u"2026121"));
        QCOMPARE(ProductEntry::checkTime(u" 9:05:00").text, QString("09:05:00"));
        QVERIFY(ProductEntry::checkTime(u" 9:05:00").valid);
        QCOMPARE(ProductEntry::checkTime(u"23:60:00").valid, false);
        QCOMPARE(ProductEntry::checkTime(u"**:00:00").text, QString("**:00:00"));
        QCOMPARE(ProductEntry::checkTime(u"**:00:00").valid, false);
        QCOMPARE(ProductEntry::priceText(""), QString("0"));
        QCOMPARE(ProductEntry::priceText("000"), QString("0"));
        QCOMPARE(ProductEntry::priceText("0150"), QString("0150"));
    }

    // --- the Enter chain -------------------------------------------------

    void codeWarnsForShortCodesAndMessagesAreErrors()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        Screens screens;
        screens.show("MUK4MM55");
        MessageBoxes boxes;
        auto* text1 = field(screens, "Text1");
        QVERIFY(text1->hasFocus());
        QCOMPARE(labelM(screens), QString("商品コードを入力してください。"));
        QVERIFY(!field(screens, "Text2")->isEnabled());
        QVERIFY(!combo(screens, "CB1")->isEnabled());
        QVERIFY(option(screens, 4)->isChecked());
        QVERIFY(option(screens, 1)->isEnabled());

        enter(text1);
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes.seen()[0].text, QString("商品コードがありません。"));

        QVERIFY(answer(screens, "Text1", "12345678"));
        QCOMPARE(screens.find<QLabel>("LabelW")->text(), QString("？商品コード桁数(≠JAN)"));
        QVERIFY(answer(screens, "Text2", ""));
        QCOMPARE(boxes.texts().last(), QString("商品名称がありません。"));
        QVERIFY(answer(screens, "Text2", "あんパン"));
        QVERIFY(answer(screens, "Text3", ""));
        QCOMPARE(boxes.texts().last(), QString("商品略称がありません。"));
        QVERIFY(answer(screens, "Text3", "あんパン"));
        auto* cb1 = combo(screens, "CB1");
        QVERIFY(cb1->hasFocus());
        QCOMPARE(cb1->count(), 2);
        enter(cb1);
        QCOMPARE(boxes.texts().last(), QString("大分類コードがありません。"));
        QVERIFY(choose(cb1, 1));
        QCOMPARE(box(screens, "TextA")->text(), QString("2"));
        QCOMPARE(box(screens, "TextB")->text(), QString("2"));
        auto* cb2 = combo(screens, "CB2");
        QCOMPARE(cb2->count(), 1);
        enter(cb2);
        QCOMPARE(boxes.texts().last(), QString("中分類コードがありません。"));
        QVERIFY(choose(cb2, 0));
        QCOMPARE(box(screens, "TextC")->text(), QString("01"));
        QCOMPARE(boxes.seen().size(), 5);
        for (const MessageBoxes::Seen& seen : boxes.seen())
            QCOMPARE(seen.icon, QMessageBox::Critical);

        // Empty prices become 0; the dates propose today.
        QVERIFY(answer(screens, "Text4", ""));
        QCOMPARE(field(screens, "Text4")->text(), QString("0"));
        QCOMPARE(field(screens, "Text5")->text(), QString("20261206"));
        QVERIFY(answer(screens, "Text5", ""));
        QCOMPARE(box(screens, "Text6")->text(), QString("99999999"));
        QVERIFY(answer(screens, "Text7", "98"));
        QVERIFY(answer(screens, "Text8", ""));
        save(screens);
        QCOMPARE(row(t, "SELECT * FROM MBMSHO"),
                 (QVariantMap{{"CB01", "12345678"}, {"CB02", "あんパン"}, {"CB03", "あんパン"},
                              {"CB04", "2"},        {"CB05", "201"},      {"CB06", " "},
                              {"CB07", "0"},        {"CB08", "20261206"}, {"CB09", "99999999"},
                              {"CB10", " "},        {"CB11", "98"},       {"CB12", "20261206"},
                              {"CB13", "4"},        {"CB14", 0},          {"CB15", " "},
                              {"CB16", " "},        {"CB17", " "},        {"CB18", " "},
                              {"CB19", " "},        {"CB20", " "},        {"CB21", "20261206"},
                              {"CB22", "10:15:30"}, {"CB23", "20261206"}, {"CB24", "10:15:30"}}));
        QVERIFY(text1->hasFocus());
        QCOMPARE(text1->text(), QString());
        QCOMPARE(screens.find<QLabel>("LabelW")->text(), QString());
    }

    void datesMustBeCalendarDays()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        Screens screens;
        screens.show("MUK4MM55");
        MessageBoxes boxes;
        QVERIFY(answer(screens, "Text1", Jan) && answer(screens, "Text2", "パン") &&
                answer(screens, "Text3", "パン") && choose(combo(screens, "CB1"), 0) &&
                choose(combo(screens, "CB2"), 0) && answer(screens, "Text4", "100"));
        auto* text5 = field(screens, "Text5");
        QVERIFY(answer(screens, "Text5", "20260231"));
        QCOMPARE(boxes.texts(), QStringList{"原単価確定日の日付が間違っています。"});
        QVERIFY(text5->hasFocus());
        QCOMPARE(text5->selectedText(), QString("20260231"));
        QVERIFY(answer(screens, "Text5", "2026022"));
        QCOMPARE(boxes.seen().size(), 2);
        QVERIFY(answer(screens, "Text5", "20260228"));
        QVERIFY(field(screens, "Text7")->hasFocus());
        QVERIFY(answer(screens, "Text7", "150"));
        QVERIFY(answer(screens, "Text8", "20250229"));
        QCOMPARE(boxes.texts().last(), QString("売単価確定日の日付が間違っています。"));
        QVERIFY(answer(screens, "Text8", "20240229"));
        QTest::mouseClick(option(screens, 2), Qt::LeftButton);
        QVERIFY(answer(screens, "Text9", "100"));
        QVERIFY(answer(screens, "Text10", "20261301"));
        QCOMPARE(boxes.texts().last(), QString("特売期間(from)の日付が間違っています。"));
        QVERIFY(answer(screens, "Text10", "20261201"));
        QVERIFY(answer(screens, "Text11", "20261200"));
        QCOMPARE(boxes.texts().last(), QString("特売期間(to)の日付が間違っています。"));
        QCOMPARE(boxes.seen().size(), 5);
        QVERIFY(answer(screens, "Text11", "20261231"));
        QVERIFY(button(screens, "RCBTN")->hasFocus());
    }

    void timesAreRewrittenAndChecked()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        Screens screens;
        screens.show("MUK4MM55");
        MessageBoxes boxes;
        QVERIFY(enterNewProduct(screens, Jan));
        QTest::mouseClick(option(screens, 3), Qt::LeftButton);
        QVERIFY(answer(screens, "Text9", "50"));
        auto* text12 = field(screens, "Text12");
        QVERIFY(text12->hasFocus());
        QCOMPARE(text12->text(), QString("00:00:00"));
        QVERIFY(answer(screens, "Text12", "9:5:00"));
        QCOMPARE(boxes.texts(), QStringList{"特売時間(from)の時間が間違っています。"});
        QVERIFY(answer(screens, "Text12", "24:00:00"));
        QCOMPARE(boxes.seen().size(), 2);
        QCOMPARE(text12->text(), QString("24:00:00"));
        QVERIFY(text12->hasFocus());
        QVERIFY(answer(screens, "Text12", "**:00:00"));
        QCOMPARE(boxes.seen().size(), 3);
        QVERIFY(answer(screens, "Text12", " 9:05:00"));
        QCOMPARE(text12->text(), QString("09:05:00"));
        auto* text13 = field(screens, "Text13");
        QCOMPARE(text13->text(), QString("23:59:59"));
        QVERIFY(answer(screens, "Text13", "23:60:00"));
        QCOMPARE(boxes.texts().last(), QString("特売時間(to)の日付が間違っています。"));
        QVERIFY(answer(screens, "Text13", "09:05:00"));
        QCOMPARE(boxes.seen().size(), 4);
        QVERIFY(button(screens, "RCBTN")->hasFocus());
    }

    void eachKindStoresItsOwnFields()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        Screens screens;
        screens.show("MUK4MM55");

        QVERIFY(enterNewProduct(screens, "4900000000004"));
        save(screens);

        QVERIFY(enterNewProduct(screens, "4900000000002"));
        QTest::mouseClick(option(screens, 2), Qt::LeftButton);
        QVERIFY(answer(screens, "Text9", "80") && answer(screens, "Text10", "20261210") &&
                answer(screens, "Text11", "20261220"));
        save(screens);
        // What the save left is proposed for the next product.
        QCOMPARE(field(screens, "Text5")->text(), QString("20261201"));
        QCOMPARE(field(screens, "Text8")->text(), QString("20261202"));
        QCOMPARE(box(screens, "TextC")->text(), QString("02"));
        QCOMPARE(combo(screens, "CB2")->currentText(), QString("菓子"));
        QVERIFY(option(screens, 2)->isChecked());

        QVERIFY(enterNewProduct(screens, "4900000000003"));
        QTest::mouseClick(option(screens, 3), Qt::LeftButton);
        QVERIFY(answer(screens, "Text9", "70") && answer(screens, "Text12", "09:00:00") &&
                answer(screens, "Text13", "11:30:00"));
        save(screens);

        // A period whose "from" lies after its "to" is taken as it is.
        QVERIFY(enterNewProduct(screens, "4900000000001"));
        QTest::mouseClick(option(screens, 1), Qt::LeftButton);
        QVERIFY(answer(screens, "Text9", "0060") && answer(screens, "Text10", "20261231") &&
                answer(screens, "Text11", "20261201") && answer(screens, "Text12", "") &&
                answer(screens, "Text13", ""));
        save(screens);

        auto product = [](const char* code, const char* kind, const QVariant& special,
                          const char* from, const char* to, const char* timeFrom,
                          const char* timeTo) {
            return QVariantMap{{"CB01", code},       {"CB02", "新商品"},   {"CB03", "新"},
                               {"CB04", "1"},        {"CB05", "102"},      {"CB06", " "},
                               {"CB07", "120"},      {"CB08", "20261201"}, {"CB09", "99999999"},
                               {"CB10", " "},        {"CB11", "198"},      {"CB12", "20261202"},
                               {"CB13", kind},       {"CB14", special},    {"CB15", from},
                               {"CB16", to},         {"CB17", timeFrom},   {"CB18", timeTo},
                               {"CB19", " "},        {"CB20", " "},        {"CB21", "20261206"},
                               {"CB22", "10:15:30"}, {"CB23", "20261206"}, {"CB24", "10:15:30"}};
        };
        QCOMPARE(rows(t, "SELECT * FROM MBMSHO ORDER BY CB01"),
                 (QList<QVariantMap>{
                     product("4900000000001", "1", "0060", "20261231", "20261201", "00:00:00",
                             "23:59:59"),
                     product("4900000000002", "2", "80", "20261210", "20261220", " ", " "),
                     product("4900000000003", "3", "70", " ", " ", "09:00:00", "11:30:00"),
                     product("4900000000004", "4", 0, " ", " ", " ", " "),
                 }));
    }

    void kindBeforeCodeAndSaleDateSnapsBack()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        Screens screens;
        screens.show("MUK4MM55");
        QTest::mouseClick(option(screens, 1), Qt::LeftButton);
        QVERIFY(option(screens, 4)->isChecked());
        QVERIFY(field(screens, "Text1")->hasFocus());

        // A code but no sale price date yet.
        QVERIFY(answer(screens, "Text1", Jan));
        QTest::mouseClick(option(screens, 3), Qt::LeftButton);
        QVERIFY(option(screens, 4)->isChecked());
        QVERIFY(field(screens, "Text1")->hasFocus());
        QVERIFY(!field(screens, "Text9")->isEnabled());
    }

    void saveChecksNamesAndCategoriesFirst()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        Screens screens;
        screens.show("MUK4MM55");
        QVERIFY(enterNewProduct(screens, "4900000000001"));
        save(screens);
        // The kept sale price date lets a kind jump straight to the special
        // price; the save still finds the name and short name missing.
        MessageBoxes boxes;
        QVERIFY(answer(screens, "Text1", "4900000000002"));
        QTest::mouseClick(option(screens, 2), Qt::LeftButton);
        QVERIFY(answer(screens, "Text9", "50") && answer(screens, "Text10", "") &&
                answer(screens, "Text11", ""));
        save(screens);
        QCOMPARE(boxes.texts(), (QStringList{"商品名称がありません。", "商品略称がありません。"}));
        QVERIFY(field(screens, "Text3")->hasFocus());
        QVERIFY(field(screens, "Text2")->isEnabled());
        QCOMPARE(count(t, "MBMSHO"), 1);
    }

    // --- calling up, changing, copying and deleting ----------------------

    void calledUpProductIsShownAndCanBeCopied()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        const QVariantMap stored = productRecord({{"CB01", Jan},
                                                  {"CB02", "メロンパン"},
                                                  {"CB03", "メロン"},
                                                  {"CB13", "2"},
                                                  {"CB14", "90"},
                                                  {"CB15", "20261201"},
                                                  {"CB16", "20261215"},
                                                  {"CB17", "09:00:00"},
                                                  {"CB18", "10:00:00"}});
        addProduct(t, stored);
        Screens screens;
        screens.show("MUK4MM55");
        QVERIFY(answer(screens, "Text1", Jan));
        QVERIFY(field(screens, "Text2")->hasFocus());
        QCOMPARE(field(screens, "Text2")->text(), QString("メロンパン"));
        QCOMPARE(screens.find<QLabel>("LabelAPF")->text(), QString("●  修正"));
        QCOMPARE(button(screens, "RCBTN")->text(), QString("修正"));
        QVERIFY(button(screens, "DLBTN")->isEnabled());
        QCOMPARE(combo(screens, "CB1")->currentText(), QString("食品"));
        QCOMPARE(combo(screens, "CB2")->currentText(), QString("パン"));
        QCOMPARE(box(screens, "TextC")->text(), QString("01"));
        QVERIFY(option(screens, 2)->isChecked());
        QCOMPARE(field(screens, "Text9")->text(), QString("90"));
        QCOMPARE(field(screens, "Text11")->text(), QString("20261215"));
        QCOMPARE(field(screens, "Text12")->text(), QString("09:00:00"));

        // Back to the code: the later fields and the delete button close.
        field(screens, "Text1")->setFocus();
        QVERIFY(!field(screens, "Text2")->isEnabled());
        QVERIFY(!button(screens, "DLBTN")->isEnabled());
        const QString copy = QStringLiteral("4901234567801");
        QVERIFY(answer(screens, "Text1", copy));
        QCOMPARE(screens.find<QLabel>("LabelAPF")->text(), QString("●  登録"));
        QCOMPARE(field(screens, "Text2")->text(), QString("メロンパン"));
        QVERIFY(answer(screens, "Text2", "") && answer(screens, "Text3", ""));
        enter(combo(screens, "CB1"));
        enter(combo(screens, "CB2"));
        for (const char* name : {"Text4", "Text5", "Text7", "Text8", "Text9", "Text10", "Text11"})
            QVERIFY(answer(screens, name, ""));
        save(screens);
        QCOMPARE(rows(t, "SELECT * FROM MBMSHO ORDER BY CB01"),
                 (QList<QVariantMap>{
                     {{"CB01", copy},       {"CB02", "メロンパン"}, {"CB03", "メロン"},
                      {"CB04", "1"},        {"CB05", "101"},        {"CB06", " "},
                      {"CB07", "100"},      {"CB08", "20250101"},   {"CB09", "99999999"},
                      {"CB10", " "},        {"CB11", "150"},        {"CB12", "20250101"},
                      {"CB13", "2"},        {"CB14", "90"},         {"CB15", "20261201"},
                      {"CB16", "20261215"}, {"CB17", " "},          {"CB18", " "},
                      {"CB19", " "},        {"CB20", " "},          {"CB21", "20261206"},
                      {"CB22", "10:15:30"}, {"CB23", "20261206"},   {"CB24", "10:15:30"}},
                     stored,
                 }));
    }

    void copyThroughTheKindShortcutIsStillANewProduct()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        addProduct(t, {{"CB01", Jan}});
        Screens screens;
        screens.show("MUK4MM55");
        QVERIFY(answer(screens, "Text1", Jan));
        field(screens, "Text1")->setFocus();
        QVERIFY(answer(screens, "Text1", "4900000000009"));
        // Choosing a kind skips the cost date, where the new average date is set.
        QTest::mouseClick(option(screens, 3), Qt::LeftButton);
        QCOMPARE(box(screens, "Text6")->text(), QString("20250301"));
        QVERIFY(answer(screens, "Text9", "90") && answer(screens, "Text12", "") &&
                answer(screens, "Text13", ""));
        save(screens);
        const QVariantMap copy =
            row(t, "SELECT CB09, CB13, CB14, CB21 FROM MBMSHO WHERE CB01 = ?", {"4900000000009"});
        QCOMPARE(copy,
                 (QVariantMap{
                     {"CB09", "99999999"}, {"CB13", "3"}, {"CB14", "90"}, {"CB21", "20261206"}}));
    }

    void changeKeepsAddedMomentAndAverageDate()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        addProduct(t, {{"CB01", Jan}, {"CB06", "x"}, {"CB19", "y"}});
        Screens screens;
        screens.show("MUK4MM55");
        QVERIFY(answer(screens, "Text1", Jan));
        const QString name = QStringLiteral("O'Neil \"特価\" 品");
        QVERIFY(answer(screens, "Text2", name));
        QVERIFY(answer(screens, "Text3", ""));
        enter(combo(screens, "CB1"));
        QVERIFY(choose(combo(screens, "CB2"), 1));
        QVERIFY(answer(screens, "Text4", "110") && answer(screens, "Text5", "20261206"));
        QCOMPARE(box(screens, "Text6")->text(), QString("20250301"));
        QVERIFY(answer(screens, "Text7", "") && answer(screens, "Text8", ""));
        save(screens);
        QCOMPARE(rows(t, "SELECT * FROM MBMSHO"),
                 (QList<QVariantMap>{
                     {{"CB01", Jan},        {"CB02", name},       {"CB03", "商品"},
                      {"CB04", "1"},        {"CB05", "102"},      {"CB06", " "},
                      {"CB07", "110"},      {"CB08", "20261206"}, {"CB09", "20250301"},
                      {"CB10", " "},        {"CB11", "150"},      {"CB12", "20250101"},
                      {"CB13", "4"},        {"CB14", 0},          {"CB15", " "},
                      {"CB16", " "},        {"CB17", " "},        {"CB18", " "},
                      {"CB19", " "},        {"CB20", " "},        {"CB21", "20250101"},
                      {"CB22", "08:00:00"}, {"CB23", "20261206"}, {"CB24", "10:15:30"}}}));
    }

    void deleteArchivesAndClearsTheProposals()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        const QVariantMap stored = productRecord({{"CB01", Jan},
                                                  {"CB13", "3"},
                                                  {"CB14", "50"},
                                                  {"CB17", "10:00:00"},
                                                  {"CB18", "12:00:00"}});
        addProduct(t, stored);
        Screens screens;
        screens.show("MUK4MM55");
        Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(11, 0, 0)));
        QVERIFY(answer(screens, "Text1", Jan));
        QTest::mouseClick(button(screens, "DLBTN"), Qt::LeftButton);
        QCOMPARE(count(t, "MBMSHO"), 0);
        QVariantMap archived = stored;
        archived["CB23"] = "20261207";
        archived["CB24"] = "11:00:00";
        QCOMPARE(rows(t, "SELECT * FROM XBMSHO"), QList<QVariantMap>{archived});
        QVERIFY(field(screens, "Text1")->hasFocus());
        QVERIFY(option(screens, 4)->isChecked());
        for (const char* name : {"Text5", "Text8", "TextA", "TextB", "TextC"})
            QCOMPARE(box(screens, name)->text(), QString());
        QCOMPARE(combo(screens, "CB1")->currentIndex(), -1);
        QCOMPARE(combo(screens, "CB2")->currentIndex(), -1);
    }

    void fieldsKeepToTheirCharactersAndLengths()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        Screens screens;
        screens.show("MUK4MM55");
        auto* text1 = field(screens, "Text1");
        typeInto(text1, "49a0-1");
        QCOMPARE(text1->text(), QString("4901"));
        text1->clear();
        QVERIFY(answer(screens, "Text1", "4901234567894999"));
        QCOMPARE(field(screens, "Text1")->text(), Jan);
        QVERIFY(answer(screens, "Text2", "あいうえおかきくけこさしすせそたちつてとなにぬ"));
        QCOMPARE(field(screens, "Text2")->text(),
                 QString("あいうえおかきくけこさしすせそたちつてと"));
        QVERIFY(answer(screens, "Text3", "abcdefghijkl"));
        QCOMPARE(field(screens, "Text3")->text(), QString("abcdefghij"));
        QVERIFY(choose(combo(screens, "CB1"), 0) && choose(combo(screens, "CB2"), 0));
        auto* text4 = field(screens, "Text4");
        QCOMPARE(text4->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        typeInto(text4, "12a3.b4567890");
        QCOMPARE(text4->text(), QString("12345678"));
        enter(text4);
        QCOMPARE(text4->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        auto* text5 = field(screens, "Text5");
        typeInto(text5, "2026/12:0*");
        QCOMPARE(text5->text(), QString("2026120*"));
    }

    void masterMenuOpensBothScreensAndTheyReturn()
    {
        ProgramFolder folder;
        Screens screens;
        screens.show("MUK4SC05");
        QVERIFY(button(screens, "APCBTN03")->isEnabled());
        QVERIFY(button(screens, "APCBTN04")->isEnabled());
        QTest::mouseClick(button(screens, "APCBTN03"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4MM55"));
        QCOMPARE(screens.find<QLabel>("LabelPFK")->text(), QString("F10.Return"));
        functionKey(field(screens, "Text1"), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        QTest::mouseClick(button(screens, "APCBTN04"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4MM57"));
        QTest::mouseClick(button(screens, "RTBTN"), Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
    }

    // --- the special-price screen -----------------------------------------

    void specialScreenGoesStraightToTheSpecialPrice()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        addProduct(t, {{"CB01", Jan}});
        Screens screens;
        screens.show("MUK4MM57");
        QCOMPARE(screens.find<QLabel>("Label1")->text(), QString("特売単価　登録・修正・削除"));
        auto captionOf = [&](const char* name) {
            for (QLabel* label : screens.current()->findChildren<QLabel*>()) {
                if (label->buddy() == field(screens, name))
                    return label->text();
            }
            return QString();
        };
        QCOMPARE(captionOf("Text11"), QString("特売期間    to"));
        QCOMPARE(captionOf("Text13"), QString("特売時間    to"));
        QVERIFY(answer(screens, "Text1", Jan));
        QVERIFY(field(screens, "Text9")->hasFocus());
        QVERIFY(option(screens, 1)->isChecked());
        QVERIFY(!option(screens, 4)->isEnabled());
        QVERIFY(!field(screens, "Text2")->isEnabled());
        QVERIFY(!field(screens, "Text3")->isEnabled());
        QVERIFY(button(screens, "DLBTN")->isEnabled());
        QCOMPARE(labelM(screens), QString("特売単価を入力してください。"));

        QVERIFY(answer(screens, "Text9", "120") && answer(screens, "Text10", "20261207") &&
                answer(screens, "Text11", "20261210") && answer(screens, "Text12", "17:00:00") &&
                answer(screens, "Text13", ""));
        save(screens);
        QCOMPARE(rows(t, "SELECT * FROM MBMSHO"),
                 (QList<QVariantMap>{
                     {{"CB01", Jan},        {"CB02", "商品"},     {"CB03", "商品"},
                      {"CB04", "1"},        {"CB05", "101"},      {"CB06", " "},
                      {"CB07", "100"},      {"CB08", "20250101"}, {"CB09", "20250301"},
                      {"CB10", " "},        {"CB11", "150"},      {"CB12", "20250101"},
                      {"CB13", "1"},        {"CB14", "120"},      {"CB15", "20261207"},
                      {"CB16", "20261210"}, {"CB17", "17:00:00"}, {"CB18", "23:59:59"},
                      {"CB19", " "},        {"CB20", " "},        {"CB21", "20250101"},
                      {"CB22", "08:00:00"}, {"CB23", "20261206"}, {"CB24", "10:15:30"}}}));
    }

    void specialDeleteRemovesOnlyTheSpecialPrice()
    {
        ProgramFolder folder;
        TestDb t;
        addCategories(t);
        addProduct(t, {{"CB01", Jan},
                       {"CB13", "1"},
                       {"CB14", "80"},
                       {"CB15", "20261201"},
                       {"CB16", "20261231"},
                       {"CB17", "09:00:00"},
                       {"CB18", "12:00:00"},
                       {"CB19", "z"},
                       {"CB20", "z"}});
        Screens screens;
        screens.show("MUK4MM57");
        QVERIFY(answer(screens, "Text1", Jan));
        QCOMPARE(field(screens, "Text9")->text(), QString("80"));
        QTest::mouseClick(button(screens, "DLBTN"), Qt::LeftButton);
        QCOMPARE(rows(t, "SELECT * FROM MBMSHO"),
                 (QList<QVariantMap>{
                     {{"CB01", Jan},        {"CB02", "商品"},     {"CB03", "商品"},
                      {"CB04", "1"},        {"CB05", "101"},      {"CB06", " "},
                      {"CB07", "100"},      {"CB08", "20250101"}, {"CB09", "20250301"},
                      {"CB10", " "},        {"CB11", "150"},      {"CB12", "20250101"},
                      {"CB13", "4"},        {"CB14", 0},          {"CB15", " "},
                      {"CB16", " "},        {"CB17", " "},        {"CB18", " "},
                      {"CB19", " "},        {"CB20", " "},        {"CB21", "20250101"},
                      {"CB22", "08:00:00"}, {"CB23", "20261206"}, {"CB24", "10:15:30"}}}));
        QCOMPARE(count(t, "XBMSHO"), 0);
        QVERIFY(option(screens, 4)->isChecked());
        QVERIFY(!option(screens, 4)->isEnabled());
        QVERIFY(field(screens, "Text1")->hasFocus());

        // A new product can still be added here, but "なし" stays closed.
        QVERIFY(enterNewProduct(screens, "4900000000001"));
        QVERIFY(!option(screens, 4)->isEnabled());
        QVERIFY(field(screens, "Text2")->isEnabled());
    }
};

QTEST_MAIN(ProductMasterTest)
#include "test_productmaster.moc"
