#include "Fixture.h"

#include "data/Clock.h"
#include "masters/ProductEntry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QRadioButton>

namespace {
const QString Jan = QStringLiteral("4901234567894");
}

class ProductMasterTest : public QObject {
    Q_OBJECT

private:
    QComboBox* combo(Screens& s, const char* name) { return s.find<QComboBox>(name); }
    QRadioButton* option(Screens& s, int n) { return s.find<QRadioButton>(u"Option%1"_qs.arg(n)); }
    QString shown(Screens& s, const char* name) { return s.find<QLineEdit>(name)->text(); }
    void pick(Screens& s, int n) { QTest::mouseClick(option(s, n), Qt::LeftButton); }

    // Types over the focused field (its text is selected) and confirms it;
    // false when the field did not have the focus.
    bool answer(Screens& s, const QString& name, const QString& text)
    {
        EntryField* f = s.field(name);
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
    // A product screen over the categories 1 食品 (101 パン, 102 菓子) and
    // 2 日用品 (201 洗剤).
    void open(Screens& s, TestDb& t, const char* code)
    {
        addMajor(t, "1", "食品");
        addMajor(t, "2", "日用品");
        addMiddle(t, "101", "パン");
        addMiddle(t, "102", "菓子");
        addMiddle(t, "201", "洗剤");
        s.show(code);
    }
    // A new product from its code to the sale price date, the kind left as it is.
    bool enterNewProduct(Screens& s, const QString& code)
    {
        return answer(s, "Text1", code) && answer(s, "Text2", "新商品") &&
               answer(s, "Text3", "新") && choose(combo(s, "CB1"), 0) &&
               choose(combo(s, "CB2"), 1) && answer(s, "Text4", "120") &&
               answer(s, "Text5", "20261201") && answer(s, "Text7", "198") &&
               answer(s, "Text8", "20261202");
    }
    void save(Screens& s)
    {
        QVERIFY(s.button("RCBTN")->hasFocus());
        enter(s.button("RCBTN"));
    }
    // A product record as a save adds it at the test's clock: the average not
    // yet calculated, added and changed now.
    QVariantMap added(const QVariantMap& fields)
    {
        QVariantMap record = productRecord(fields);
        record["CB09"] = "99999999";
        record["CB21"] = record["CB23"] = "20261206";
        record["CB22"] = record["CB24"] = "10:15:30";
        return record;
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void checksWithoutAWindow()
    {
        QVERIFY(!ProductEntry::isCalendarDate(u"2026*201"));
        QVERIFY(!ProductEntry::isCalendarDate(u"2026121"));
        QCOMPARE(ProductEntry::checkTime(u" 9:05:00").text, QString("09:05:00"));
        QVERIFY(!ProductEntry::checkTime(u"**:00:00").valid);
        QCOMPARE(ProductEntry::priceText("000"), QString("0"));
        QCOMPARE(ProductEntry::priceText("0150"), QString("0150"));
    }

    void eightDigitCodeWarnsAndStillSaves()
    {
        ProgramFolder folder;
        TestDb t;
        Screens s;
        open(s, t, "MUK4MM55");
        MessageBoxes boxes;
        enter(s.field("Text1"));
        QVERIFY(answer(s, "Text1", "12345678"));
        QCOMPARE(s.label("LabelW"), QString("？商品コード桁数(≠JAN)"));
        QVERIFY(answer(s, "Text2", "") && answer(s, "Text2", "あんパン"));
        QVERIFY(answer(s, "Text3", "") && answer(s, "Text3", "あんパン"));
        QCOMPARE(combo(s, "CB1")->count(), 2);
        enter(combo(s, "CB1"));
        QVERIFY(choose(combo(s, "CB1"), 1));
        // Only the middle categories of the chosen major are offered.
        QCOMPARE(combo(s, "CB2")->count(), 1);
        enter(combo(s, "CB2"));
        QVERIFY(choose(combo(s, "CB2"), 0));
        QCOMPARE(shown(s, "TextC"), QString("01"));
        QCOMPARE(boxes.texts(), (QStringList{"商品コードがありません。", "商品名称がありません。",
                                             "商品略称がありません。", "大分類コードがありません。",
                                             "中分類コードがありません。"}));
        for (const MessageBoxes::Seen& seen : boxes.seen()) {
            QCOMPARE(seen.title, QString("MESSAGE"));
            QCOMPARE(seen.icon, QMessageBox::Critical);
        }
        // An empty price is 0, an empty date today.
        QVERIFY(answer(s, "Text4", "") && answer(s, "Text5", ""));
        QCOMPARE(shown(s, "Text6"), QString("99999999"));
        QVERIFY(answer(s, "Text7", "98") && answer(s, "Text8", ""));
        save(s);
        const QVariantMap fields{{"CB01", "12345678"}, {"CB02", "あんパン"}, {"CB03", "あんパン"},
                                 {"CB04", "2"},        {"CB05", "201"},      {"CB07", "0"},
                                 {"CB08", "20261206"}, {"CB11", "98"},       {"CB12", "20261206"}};
        QCOMPARE(row(t, "SELECT * FROM MBMSHO"), added(fields));
        QCOMPARE(s.field("Text1")->text(), QString());
        QCOMPARE(s.label("LabelW"), QString());

        // The kept sale price date lets a kind jump straight to the special
        // price; the save still finds the name and short name missing.
        boxes.clear();
        QVERIFY(answer(s, "Text1", "4900000000002"));
        pick(s, 2);
        QVERIFY(answer(s, "Text9", "50") && answer(s, "Text10", "") && answer(s, "Text11", ""));
        save(s);
        QCOMPARE(boxes.texts(), (QStringList{"商品名称がありません。", "商品略称がありません。"}));
        QVERIFY(s.field("Text3")->hasFocus());
        QCOMPARE(count(t, "MBMSHO"), 1);
    }

    void wrongDatesAndTimesAreRefused()
    {
        ProgramFolder folder;
        TestDb t;
        Screens s;
        open(s, t, "MUK4MM55");
        MessageBoxes boxes;
        // The code and the prices take digits only, and only so many.
        typeInto(s.field("Text1"), "49a0-1");
        QCOMPARE(s.field("Text1")->text(), QString("4901"));
        s.field("Text1")->clear();
        // No kind before the code and the sale price date.
        pick(s, 1);
        QVERIFY(option(s, 4)->isChecked());
        QVERIFY(answer(s, "Text1", "4901234567894999"));
        QCOMPARE(s.field("Text1")->text(), Jan);
        pick(s, 3);
        QVERIFY(option(s, 4)->isChecked());
        QVERIFY(!s.field("Text9")->isEnabled());
        QVERIFY(answer(s, "Text1", Jan));

        // A wrong entry stays selected under its message; the right one goes on.
        auto refuses = [&](const char* name, const QString& wrong, const QString& message,
                           const QString& right = QString()) {
            boxes.clear();
            QVERIFY(answer(s, name, wrong));
            QCOMPARE(boxes.texts(), QStringList{message});
            QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
            QCOMPARE(s.field(name)->selectedText(), wrong);
            if (!right.isNull())
                QVERIFY(answer(s, name, right));
        };
        QVERIFY(answer(s, "Text2", "パン") && answer(s, "Text3", "パン") &&
                choose(combo(s, "CB1"), 0) && choose(combo(s, "CB2"), 0));
        typeInto(s.field("Text4"), "12a3.b4567890");
        QCOMPARE(s.field("Text4")->text(), QString("12345678"));
        enter(s.field("Text4"));
        refuses("Text5", "20260231", "原単価確定日の日付が間違っています。", "20260228");
        typeInto(s.field("Text7"), "1a5b0.");
        QCOMPARE(s.field("Text7")->text(), QString("150"));
        enter(s.field("Text7"));
        refuses("Text8", "20250229", "売単価確定日の日付が間違っています。", "20240229");
        pick(s, 1);
        QVERIFY(answer(s, "Text9", "100"));
        refuses("Text10", "20261301", "特売期間(from)の日付が間違っています。", "20261201");
        refuses("Text11", "20261200", "特売期間(to)の日付が間違っています。", "20261231");
        refuses("Text12", "9:5:00", "特売時間(from)の時間が間違っています。");
        refuses("Text12", "24:00:00", "特売時間(from)の時間が間違っています。");
        refuses("Text12", "09:00:60", "特売時間(from)の時間が間違っています。", "09:05:00");
        refuses("Text13", "23:60:00", "特売時間(to)の日付が間違っています。", "09:05:00");
        QVERIFY(s.button("RCBTN")->hasFocus());
    }

    void eachKindStoresOnlyItsOwnFields_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("entries"); // Text9 to Text13, "-" where skipped
        QTest::addColumn<QVariantList>("stored"); // CB13 to CB18
        QTest::newRow("none") << 4 << QStringList() << QVariantList{"4", 0, " ", " ", " ", " "};
        QTest::newRow("period") << 2 << QStringList{"80", "20261210", "20261220", "-", "-"}
                                << QVariantList{"2", "80", "20261210", "20261220", " ", " "};
        QTest::newRow("time") << 3 << QStringList{"70", "-", "-", "09:00:00", "11:30:00"}
                              << QVariantList{"3", "70", " ", " ", "09:00:00", "11:30:00"};
        // A "from" after its "to" is taken as it is; empty times are the whole day.
        QTest::newRow("period and time")
            << 1 << QStringList{"0060", "20261231", "20261201", "", ""}
            << QVariantList{"1", "0060", "20261231", "20261201", "00:00:00", "23:59:59"};
    }

    void eachKindStoresOnlyItsOwnFields()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, entries);
        QFETCH(QVariantList, stored);
        ProgramFolder folder;
        TestDb t;
        Screens s;
        open(s, t, "MUK4MM55");
        QVERIFY(enterNewProduct(s, Jan));
        if (kind != 4)
            pick(s, kind);
        for (int i = 0; i < entries.size(); ++i) {
            if (entries[i] != "-")
                QVERIFY(answer(s, QString("Text%1").arg(9 + i), entries[i]));
        }
        save(s);
        QVariantMap expected = added({{"CB01", Jan},
                                      {"CB02", "新商品"},
                                      {"CB03", "新"},
                                      {"CB05", "102"},
                                      {"CB07", "120"},
                                      {"CB08", "20261201"},
                                      {"CB11", "198"},
                                      {"CB12", "20261202"}});
        for (int i = 0; i < stored.size(); ++i)
            expected.insert(QString("CB%1").arg(13 + i), stored[i]);
        QCOMPARE(row(t, "SELECT * FROM MBMSHO"), expected);
        // What the save left is proposed for the next product.
        QCOMPARE(s.field("Text8")->text(), QString("20261202"));
        QCOMPARE(combo(s, "CB2")->currentText(), QString("菓子"));
        QVERIFY(option(s, kind)->isChecked());
    }

    // Names hold their characters whole, typed or pasted; prices keep their
    // digits without the blanks the fields let through; a stored product of
    // kind "なし" shows no special price.
    void namesAndPricesAreStoredAsMeant()
    {
        ProgramFolder folder;
        TestDb t;
        addProduct(t, {{"CB01", "4900000000001"}, {"CB13", "4"}, {"CB14", 80}});
        Screens s;
        open(s, t, "MUK4MM55");
        QVERIFY(answer(s, "Text1", "4900000000001"));
        QCOMPARE(s.field("Text9")->text(), QString());
        QVERIFY(option(s, 4)->isChecked());

        const QString name = QString(19, u'a') + "𠮷";
        const QString shortName = QString(8, u'b') + "😀𠮷";
        s.field("Text1")->setFocus();
        QVERIFY(answer(s, "Text1", Jan));
        typeInto(s.field("Text2"), name + "𠮷x");
        QCOMPARE(s.field("Text2")->text(), name);
        enter(s.field("Text2"));
        QApplication::clipboard()->setText(shortName + "𠮷");
        s.field("Text3")->paste();
        QCOMPARE(s.field("Text3")->text(), shortName);
        enter(s.field("Text3"));
        QVERIFY(choose(combo(s, "CB1"), 0) && choose(combo(s, "CB2"), 0));
        QVERIFY(answer(s, "Text4", " 8 0") && answer(s, "Text5", ""));
        QVERIFY(answer(s, "Text7", "1 000") && answer(s, "Text8", ""));
        QCOMPARE(s.field("Text7")->text(), QString("1000"));
        pick(s, 2);
        QVERIFY(answer(s, "Text9", "9 00") && answer(s, "Text10", "") && answer(s, "Text11", ""));
        save(s);
        QCOMPARE(row(t, "SELECT CB02, CB03, CB07, CB11, CB14 FROM MBMSHO WHERE CB01 = ?", {Jan}),
                 (QVariantMap{{"CB02", name},
                              {"CB03", shortName},
                              {"CB07", "80"},
                              {"CB11", "1000"},
                              {"CB14", "900"}}));
        QVERIFY(answer(s, "Text1", Jan));
        QCOMPARE(s.field("Text2")->text(), name);
        QCOMPARE(s.field("Text3")->text(), shortName);
    }

    void calledUpProductCanBeCopied()
    {
        ProgramFolder folder;
        TestDb t;
        const QVariantMap special{{"CB02", "メロンパン"}, {"CB03", "メロン"},
                                  {"CB13", "2"},          {"CB14", "90"},
                                  {"CB15", "20261201"},   {"CB16", "20261215"}};
        QVariantMap stored = productRecord(special);
        stored.insert({{"CB01", Jan}, {"CB17", "09:00:00"}, {"CB18", "10:00:00"}});
        addProduct(t, stored);
        Screens s;
        open(s, t, "MUK4MM55");
        QVERIFY(answer(s, "Text1", Jan));
        QCOMPARE(s.field("Text2")->text(), QString("メロンパン"));
        QCOMPARE(s.label("LabelAPF"), QString("●  修正"));
        QCOMPARE(combo(s, "CB2")->currentText(), QString("パン"));
        QVERIFY(option(s, 2)->isChecked());
        QCOMPARE(s.field("Text9")->text(), QString("90"));

        // Back to the code: the later fields and the delete button close.
        s.field("Text1")->setFocus();
        QVERIFY(!s.field("Text2")->isEnabled());
        QVERIFY(!s.button("DLBTN")->isEnabled());
        QVERIFY(answer(s, "Text1", "4901234567801"));
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));
        QVERIFY(answer(s, "Text2", "") && answer(s, "Text3", ""));
        enter(combo(s, "CB1"));
        enter(combo(s, "CB2"));
        for (const char* name : {"Text4", "Text5", "Text7", "Text8", "Text9", "Text10", "Text11"})
            QVERIFY(answer(s, name, ""));
        save(s);
        QVariantMap copy = added(special);
        copy["CB01"] = "4901234567801";
        QCOMPARE(rows(t, "SELECT * FROM MBMSHO ORDER BY CB01"), (QList<QVariantMap>{copy, stored}));

        // Choosing a kind skips the cost date, where the average date is set
        // for a new product; a copy made so is still a new product.
        QVERIFY(answer(s, "Text1", Jan));
        s.field("Text1")->setFocus();
        QVERIFY(answer(s, "Text1", "4900000000009"));
        pick(s, 3);
        QVERIFY(answer(s, "Text9", "90") && answer(s, "Text12", "") && answer(s, "Text13", ""));
        save(s);
        QCOMPARE(row(t, "SELECT CB09, CB13, CB21 FROM MBMSHO WHERE CB01 = ?", {"4900000000009"}),
                 (QVariantMap{{"CB09", "99999999"}, {"CB13", "3"}, {"CB21", "20261206"}}));
    }

    void changeKeepsTheAuditFieldsAndDeleteArchives()
    {
        ProgramFolder folder;
        TestDb t;
        addProduct(t, {{"CB01", Jan}, {"CB06", "x"}, {"CB19", "y"}});
        Screens s;
        open(s, t, "MUK4MM55");
        QVERIFY(answer(s, "Text1", Jan));
        const QString name = QStringLiteral("O'Neil \"特価\" 品");
        QVERIFY(answer(s, "Text2", name) && answer(s, "Text3", ""));
        enter(combo(s, "CB1"));
        QVERIFY(choose(combo(s, "CB2"), 1));
        QVERIFY(answer(s, "Text4", "110") && answer(s, "Text5", "20261206"));
        QCOMPARE(shown(s, "Text6"), QString("20250301"));
        QVERIFY(answer(s, "Text7", "") && answer(s, "Text8", ""));
        save(s);
        QVariantMap changed = productRecord({{"CB01", Jan},
                                             {"CB02", name},
                                             {"CB05", "102"},
                                             {"CB07", "110"},
                                             {"CB08", "20261206"},
                                             {"CB23", "20261206"},
                                             {"CB24", "10:15:30"}});
        QCOMPARE(rows(t, "SELECT * FROM MBMSHO"), QList<QVariantMap>{changed});

        // A delete archives the product as it was, stamped with the moment.
        Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(11, 0, 0)));
        QVERIFY(answer(s, "Text1", Jan));
        s.click("DLBTN");
        QCOMPARE(count(t, "MBMSHO"), 0);
        changed["CB23"] = "20261207";
        changed["CB24"] = "11:00:00";
        QCOMPARE(rows(t, "SELECT * FROM XBMSHO"), QList<QVariantMap>{changed});
        QVERIFY(s.field("Text1")->hasFocus());
        QCOMPARE(shown(s, "Text8"), QString());
        QCOMPARE(combo(s, "CB2")->currentIndex(), -1);
    }

    void specialScreenFromTheMenuChangesOnlyTheSpecialPrice()
    {
        ProgramFolder folder;
        TestDb t;
        addProduct(t, {{"CB01", Jan}, {"CB13", "2"}, {"CB14", "80"}, {"CB19", "z"}});
        Screens s;
        open(s, t, "MUK4SC05");
        s.click("APCBTN03");
        QCOMPARE(s.current()->code(), QString("MUK4MM55"));
        functionKey(s.field("Text1"), Qt::Key_F10);
        QCOMPARE(s.settle()->code(), QString("MUK4SC05"));
        s.click("APCBTN04");
        QCOMPARE(s.current()->code(), QString("MUK4MM57"));
        QVERIFY(answer(s, "Text1", Jan));
        QVERIFY(s.field("Text9")->hasFocus());
        QCOMPARE(s.field("Text9")->text(), QString("80"));
        QVERIFY(option(s, 1)->isChecked());
        QVERIFY(!s.field("Text2")->isEnabled());
        QVERIFY(!s.field("Text3")->isEnabled());

        // The delete button takes only the special price away, with no archive.
        s.click("DLBTN");
        const QVariantMap moment{{"CB01", Jan}, {"CB23", "20261206"}, {"CB24", "10:15:30"}};
        QCOMPARE(rows(t, "SELECT * FROM MBMSHO"), QList<QVariantMap>{productRecord(moment)});
        QCOMPARE(count(t, "XBMSHO"), 0);
        QVERIFY(option(s, 4)->isChecked());
        QVERIFY(!option(s, 4)->isEnabled());

        QVERIFY(answer(s, "Text1", Jan));
        QVERIFY(answer(s, "Text9", "120") && answer(s, "Text10", "20261207") &&
                answer(s, "Text11", "20261210") && answer(s, "Text12", "17:00:00") &&
                answer(s, "Text13", ""));
        save(s);
        const QVariantMap special{{"CB01", Jan},        {"CB13", "1"},        {"CB14", "120"},
                                  {"CB15", "20261207"}, {"CB16", "20261210"}, {"CB17", "17:00:00"},
                                  {"CB18", "23:59:59"}, {"CB23", "20261206"}, {"CB24", "10:15:30"}};
        QCOMPARE(rows(t, "SELECT * FROM MBMSHO"), QList<QVariantMap>{productRecord(special)});

        // A new product can still be added here, but "なし" stays closed.
        QVERIFY(enterNewProduct(s, "4900000000001"));
        QVERIFY(!option(s, 4)->isEnabled());
        s.click("RTBTN");
        QCOMPARE(s.current()->code(), QString("MUK4SC05"));
    }
};

QTEST_MAIN(ProductMasterTest)
#include "test_productmaster.moc"
