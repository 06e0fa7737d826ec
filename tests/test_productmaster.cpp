#include "Fixture.h"

#include "masters/ProductEntry.h"

namespace {
const QString Jan = QStringLiteral("4901234567894");
using Entries = QStringList; // a control's name, then its entry, and so on
const Entries Save{"RCBTN", ""};
// A new product as the operator enters it, control by control, up to a
// special price of kind 1.
const Entries New{"Text1",  Jan,        "Text2",    "新商品",  "Text3",    "新",       "CB1",
                  "0",      "CB2",      "1",        "Text4",   "120",      "Text5",    "20261201",
                  "Text7",  "198",      "FrameTax", "",        "Text8",    "20261202", "Option1",
                  "",       "Text9",    "100",      "Text10",  "20261201", "Text11",   "20261231",
                  "Text12", "09:00:00", "Text13",   "10:00:00"};
// The product New up to its sale price date, as stored.
const QVariantMap NewRecord{{"CB01", Jan},   {"CB02", "新商品"},  {"CB03", "新"},
                            {"CB05", "102"}, {"CB07", "120"},     {"CB08", "20261201"},
                            {"CB11", "198"}, {"CB12", "20261202"}};
// A stored product at the standard rate unless the fields say otherwise.
QVariantMap product(QVariantMap fields, const char* taxClass = "0")
{
    fields.insert("CB25", taxClass);
    return productRecord(fields);
}
} // namespace

class ProductMasterTest : public QObject {
    Q_OBJECT

private:
    QComboBox* combo(Screens& s, const char* name) { return s.find<QComboBox>(name); }
    QRadioButton* option(Screens& s, int n) { return s.find<QRadioButton>(u"Option%1"_qs.arg(n)); }

    // A product screen over the categories 1 食品 (101 パン, 102 菓子) and
    // 2 日用品 (201 洗剤).
    void open(Shop& s, const char* code)
    {
        addMajor(s, "1", "食品");
        addMajor(s, "2", "日用品");
        addMiddle(s, "101", "パン");
        addMiddle(s, "102", "菓子");
        addMiddle(s, "201", "洗剤");
        s.show(code);
    }
    // A product record as a save adds it at the test's clock: the average not
    // yet calculated, added and changed now.
    QVariantMap added(const QVariantMap& fields)
    {
        QVariantMap record = product(fields);
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
        QCOMPARE(ProductEntry::checkTime(u" 9:05:00").text, QString("09:05:00"));
        QVERIFY(!ProductEntry::checkTime(u"**:00:00").valid);
        QCOMPARE(ProductEntry::priceText("000"), QString("0"));
        QCOMPARE(ProductEntry::priceText("0150"), QString("0150"));
    }

    // Each row types into one control of a new product entered up to it: a
    // refused entry stays selected under its message and the right one goes
    // on; letters and extra digits never reach a field.
    void eachFieldTakesOnlyWhatItMay_data()
    {
        // field, typed, message (empty: taken), shown
        table::columns<QString, QString, QString, QString>();
        const auto add = [](const char* row, const char* field, const char* typed,
                            const char* message, const char* shown = nullptr) {
            QTest::newRow(row) << field << typed << message << (shown ? shown : typed);
        };
        add("code too long", "Text1", "4901234567894999", "", "4901234567894");
        add("no name", "Text2", "", "商品名称がありません。");
        add("no short name", "Text3", "", "商品略称がありません。");
        add("no major", "CB1", "", "大分類コードがありません。");
        add("no middle", "CB2", "", "中分類コードがありません。");
        add("letters in the cost", "Text4", "12a3.b4567890", "", "12345678");
        add("31 February", "Text5", "20260231", "原単価確定日の日付が間違っています。");
        add("letters in the sale price", "Text7", "1a5b0.", "", "150");
        add("29 February 2025", "Text8", "20250229", "売単価確定日の日付が間違っています。");
        add("29 February 2024", "Text8", "20240229", "");
        add("month 13", "Text10", "20261301", "特売期間(from)の日付が間違っています。");
        add("day 0", "Text11", "20261200", "特売期間(to)の日付が間違っています。");
        add("one-digit parts", "Text12", "9:5:00", "特売時間(from)の時間が間違っています。");
        add("hour 24", "Text12", "24:00:00", "特売時間(from)の時間が間違っています。");
        add("60 seconds", "Text12", "09:00:60", "特売時間(from)の時間が間違っています。");
        add("60 minutes", "Text13", "23:60:00", "特売時間(to)の日付が間違っています。");
    }

    void eachFieldTakesOnlyWhatItMay()
    {
        const auto [field, typed, message, shown] =
            table::fetch<QString, QString, QString, QString>();
        Shop s;
        open(s, "MUK4MM55");
        QCOMPARE(s.fill({"Option1", ""}), QString()); // no kind before the code and price date
        QVERIFY(option(s, 4)->isChecked());
        QVERIFY(!s.field("Text9")->isEnabled());
        qsizetype at = 0;
        while (New[at] != field)
            at += 2;
        QCOMPARE(s.fill(New.mid(0, at)), QString());
        QWidget* control = s.find<QWidget>(field);
        auto* text = qobject_cast<EntryField*>(control);
        if (text) {
            typeInto(text, typed);
            QCOMPARE(text->text(), shown);
        }
        MessageBoxes boxes;
        enter(control);
        QCOMPARE(boxes.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty()) {
            QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
            if (text)
                QCOMPARE(text->selectedText(), typed);
            QCOMPARE(s.fill(New.mid(at, 2)), QString());
        }
        QCOMPARE(s.fill(New.mid(at + 2)), QString());
        QVERIFY(s.button("RCBTN")->hasFocus());
    }

    // An eight-digit code warns and still saves; an empty price is 0, an
    // empty date today, and only the chosen major's middles are offered.
    void eightDigitCodeWarnsAndStillSaves()
    {
        Shop s;
        open(s, "MUK4MM55");
        QCOMPARE(s.fill({"Text1", "12345678"}), QString());
        QCOMPARE(s.label("LabelW"), QString("？商品コード桁数(≠JAN)"));
        QCOMPARE(s.fill({"Text2", "あんパン", "Text3", "あんパン"}), QString());
        QCOMPARE(combo(s, "CB1")->count(), 2);
        QCOMPARE(s.fill({"CB1", "1"}), QString());
        QCOMPARE(combo(s, "CB2")->count(), 1);
        QCOMPARE(s.fill({"CB2", "0", "Text4", "", "Text5", ""}), QString());
        QCOMPARE(s.shown({"TextC", "Text6"}), (QStringList{"01", "99999999"}));
        QCOMPARE(s.fill(Entries{"Text7", "98", "FrameTax", "", "Text8", ""} + Save), QString());
        const QVariantMap fields{{"CB01", "12345678"}, {"CB02", "あんパン"}, {"CB03", "あんパン"},
                                 {"CB04", "2"},        {"CB05", "201"},      {"CB07", "0"},
                                 {"CB08", "20261206"}, {"CB11", "98"},       {"CB12", "20261206"}};
        QCOMPARE(row(s, "SELECT * FROM MBMSHO"), added(fields));
        QCOMPARE(s.shown({"Text1", "LabelW"}), QStringList(2, ""));

        // The kept sale price date lets a kind jump straight to the special
        // price; the save still finds the name and short name missing.
        MessageBoxes boxes;
        QCOMPARE(s.fill(Entries{"Text1", "4900000000002", "Option2", "", "Text9", "50", "Text10",
                                "", "Text11", ""} +
                        Save),
                 QString());
        QCOMPARE(boxes.texts(), (QStringList{"商品名称がありません。", "商品略称がありません。"}));
        QVERIFY(s.field("Text3")->hasFocus());
        QCOMPARE(count(s, "MBMSHO"), 1);
    }

    void eachKindStoresOnlyItsOwnFields_data()
    {
        // kind, entries (after the sale price date), stored (CB13 to CB18)
        table::columns<int, Entries, QVariantList>();
        QTest::newRow("none") << 4 << Entries() << QVariantList{"4", 0, " ", " ", " ", " "};
        QTest::newRow("period") << 2 << Entries{"Option2", "",         "Text9",  "80",
                                                "Text10",  "20261210", "Text11", "20261220"}
                                << QVariantList{"2", "80", "20261210", "20261220", " ", " "};
        QTest::newRow("time") << 3 << Entries{"Option3", "",         "Text9",  "70",
                                              "Text12",  "09:00:00", "Text13", "11:30:00"}
                              << QVariantList{"3", "70", " ", " ", "09:00:00", "11:30:00"};
        // A "from" after its "to" is taken as it is; empty times are the whole day.
        QTest::newRow("period and time")
            << 1 << Entries{"Option1", "",         "Text9",  "0060", "Text10", "20261231",
                            "Text11",  "20261201", "Text12", "",     "Text13", ""}
            << QVariantList{"1", "0060", "20261231", "20261201", "00:00:00", "23:59:59"};
    }

    void eachKindStoresOnlyItsOwnFields()
    {
        const auto [kind, entries, stored] = table::fetch<int, Entries, QVariantList>();
        Shop s;
        open(s, "MUK4MM55");
        QCOMPARE(s.fill(New.mid(0, 20) + entries + Save), QString());
        QVariantMap expected = added(NewRecord);
        for (int i = 0; i < stored.size(); ++i)
            expected.insert(QString("CB%1").arg(13 + i), stored[i]);
        QCOMPARE(row(s, "SELECT * FROM MBMSHO"), expected);
        // What the save left is proposed for the next product.
        QCOMPARE(s.field("Text8")->text(), QString("20261202"));
        QCOMPARE(combo(s, "CB2")->currentText(), QString("菓子"));
        QVERIFY(option(s, kind)->isChecked());
    }

    // The class follows the sale price and is chosen with the arrow keys; the
    // next product starts at the standard rate again.
    void classFollowsTheSalePrice()
    {
        Shop s;
        open(s, "MUK4MM55");
        QCOMPARE(s.fill(New.mid(0, 16)), QString());
        QCOMPARE(s.shown({"focus", "LabelM"}) + s.usable({"Text8"}),
                 (QStringList{"OptionStandard", "税率を選択してください。"}));
        QTest::keyClick(s.find<QWidget>("OptionStandard"), Qt::Key_Right);
        enter(s.find<QWidget>("OptionReduced"));
        // Back in the class, the sale price date closes again.
        QTest::keyClick(s.field("Text8"), Qt::Key_Backtab);
        QCOMPARE(s.shown({"focus"}) + s.usable({"Text8"}), QStringList{"OptionReduced"});
        QCOMPARE(s.fill(Entries{"FrameTax", ""} + New.mid(18, 2) + Save), QString());
        QCOMPARE(row(s, "SELECT CB25 FROM MBMSHO").value("CB25"), QVariant("1"));
        QVERIFY(s.find<QRadioButton>("OptionStandard")->isChecked());
    }

    // Names hold their characters whole up to their limits; prices keep their
    // digits without the blanks the fields let through.
    void namesAndPricesAreStoredAsMeant()
    {
        Shop s;
        open(s, "MUK4MM55");

        const QString name = QString(19, u'a') + "𠮷";
        const QString shortName = QString(8, u'b') + "😀𠮷";
        const Entries entries{"Text1", Jan, "Text2", name + "𠮷x", "Text3",    shortName + "𠮷",
                              "CB1",   "0", "CB2",   "0",          "Text4",    " 8 0",
                              "Text5", "",  "Text7", "1 000",      "FrameTax", ""};
        const Entries rest{"Text8", "", "Option2", "", "Text9", "9 00", "Text10", "", "Text11", ""};
        QCOMPARE(s.fill(entries + rest + Save), QString());
        QCOMPARE(row(s, "SELECT CB02, CB03, CB07, CB11, CB14 FROM MBMSHO").values(),
                 (QVariantList{name, shortName, "80", "1000", "900"}));
        QCOMPARE(s.fill({"Text1", Jan}), QString());
        QCOMPARE(s.shown({"Text2", "Text3"}), (QStringList{name, shortName}));
    }

    // A called-up product is copied under a new code; another is changed and
    // deleted into the archive.
    void calledUpProductIsCopiedChangedAndDeleted()
    {
        Shop s;
        const QVariantMap special{{"CB02", "メロンパン"}, {"CB03", "メロン"},
                                  {"CB13", "2"},          {"CB14", "90"},
                                  {"CB15", "20261201"},   {"CB16", "20261215"}};
        QVariantMap stored = product(special);
        stored.insert({{"CB01", Jan}, {"CB17", "09:00:00"}, {"CB18", "10:00:00"}});
        addProduct(s, stored);
        open(s, "MUK4MM55");
        QCOMPARE(s.fill({"Text1", Jan}), QString());
        QCOMPARE(s.shown({"Text2", "LabelAPF", "Text9"}),
                 (QStringList{"メロンパン", "●  修正", "90"}));
        QCOMPARE(combo(s, "CB2")->currentText(), QString("パン"));
        QVERIFY(option(s, 2)->isChecked());

        // Back to the code: the later fields and the delete button close.
        s.field("Text1")->setFocus();
        QCOMPARE(s.usable({"Text2", "DLBTN"}), QStringList());
        QCOMPARE(s.fill({"Text1", "4901234567801"}), QString());
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));
        Entries kept;
        for (const char* name : {"Text2", "Text3", "CB1", "CB2", "Text4", "Text5", "Text7",
                                 "FrameTax", "Text8", "Text9", "Text10", "Text11"})
            kept << name << "";
        QCOMPARE(s.fill(kept + Save), QString());
        QVariantMap copy = added(special);
        copy["CB01"] = "4901234567801";
        QCOMPARE(rows(s, "SELECT * FROM MBMSHO ORDER BY CB01"), (QList<QVariantMap>{copy, stored}));

        // Choosing a kind skips the cost date, where the average date is set
        // for a new product; a copy made so is still a new product.
        QCOMPARE(s.fill({"Text1", Jan}), QString());
        s.field("Text1")->setFocus();
        QCOMPARE(s.fill(Entries{"Text1", "4900000000009", "Option3", "", "Text9", "90", "Text12",
                                "", "Text13", ""} +
                        Save),
                 QString());
        QCOMPARE(row(s, "SELECT CB09, CB13, CB21 FROM MBMSHO WHERE CB01 = ?", {"4900000000009"}),
                 (QVariantMap{{"CB09", "99999999"}, {"CB13", "3"}, {"CB21", "20261206"}}));

        // A change keeps the added moment and the reduced class, and shows the
        // stored average date and class.
        const QVariantMap reduced{{"CB01", "4900000000010"}, {"CB06", "x"}, {"CB14", 80}};
        addProduct(s, product(reduced, "1"));
        const QString name = QStringLiteral("O'Neil \"特価\" 品");
        QCOMPARE(s.fill({"Text1", "4900000000010", "Text2", name, "Text3", "", "CB1", "", "CB2",
                         "1", "Text4", "110", "Text5", "20261206"}),
                 QString());
        // Kind "なし" has no special price.
        QCOMPARE(s.shown({"Text6", "Text9"}), (QStringList{"20250301", ""}));
        QCOMPARE(s.fill({"Text7", ""}), QString());
        QCOMPARE(s.shown({"focus"}), QStringList{"OptionReduced"});
        QCOMPARE(s.fill(Entries{"FrameTax", "", "Text8", ""} + Save), QString());
        // What the screen does not show is blanked.
        const QVariantMap changed{
            {"CB01", "4900000000010"}, {"CB02", name},       {"CB05", "102"},     {"CB07", "110"},
            {"CB08", "20261206"},      {"CB23", "20261206"}, {"CB24", "10:15:30"}};
        QCOMPARE(row(s, "SELECT * FROM MBMSHO WHERE CB01 = '4900000000010'"),
                 product(changed, "1"));

        // A delete archives the product, stamped with the moment, and clears
        // what the next product would have been proposed.
        Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(11, 0, 0)));
        QCOMPARE(s.fill({"Text1", "4900000000010"}), QString());
        s.click("DLBTN");
        QCOMPARE(count(s, "MBMSHO"), 3);
        QCOMPARE(row(s, "SELECT CB02, CB24, CB25 FROM XBMSHO"),
                 (QVariantMap{{"CB02", name}, {"CB24", "11:00:00"}, {"CB25", "1"}}));
        QCOMPARE(s.shown({"focus", "Text8"}), (QStringList{"Text1", ""}));
        QCOMPARE(combo(s, "CB2")->currentIndex(), -1);
    }

    void specialScreenFromTheMenuChangesOnlyTheSpecialPrice()
    {
        Shop s;
        // Even a class left blank stays as it is: this screen never changes it.
        addProduct(s, product({{"CB01", Jan}, {"CB13", "2"}, {"CB14", "80"}, {"CB19", "z"}}, " "));
        open(s, "MUK4MM57");
        QCOMPARE(s.fill({"Text1", Jan}), QString());
        QCOMPARE(s.shown({"focus", "Text9"}), (QStringList{"Text9", "80"}));
        QVERIFY(option(s, 1)->isChecked());
        QCOMPARE(s.usable({"Text2", "Text3", "OptionStandard"}), QStringList());

        // The delete button takes only the special price away, with no archive.
        s.click("DLBTN");
        const QVariantMap moment{{"CB01", Jan}, {"CB23", "20261206"}, {"CB24", "10:15:30"}};
        QCOMPARE(rows(s, "SELECT * FROM MBMSHO"), QList<QVariantMap>{product(moment, " ")});
        QCOMPARE(count(s, "XBMSHO"), 0);
        QVERIFY(option(s, 4)->isChecked());
        QVERIFY(!option(s, 4)->isEnabled());

        QCOMPARE(s.fill(Entries{"Text1", Jan, "Text9", "120", "Text10", "20261207", "Text11",
                                "20261210", "Text12", "17:00:00", "Text13", ""} +
                        Save),
                 QString());
        const QVariantMap special{{"CB01", Jan},        {"CB13", "1"},        {"CB14", "120"},
                                  {"CB15", "20261207"}, {"CB16", "20261210"}, {"CB17", "17:00:00"},
                                  {"CB18", "23:59:59"}, {"CB23", "20261206"}, {"CB24", "10:15:30"}};
        QCOMPARE(rows(s, "SELECT * FROM MBMSHO"), QList<QVariantMap>{product(special, " ")});

        // A new product can still be added here, at the class chosen, but
        // "なし" stays closed.
        QCOMPARE(s.fill(Entries{"Text1", "4900000000001"} + New.mid(2) + Save), QString());
        QCOMPARE(row(s, "SELECT CB25 FROM MBMSHO WHERE CB01 = ?", {"4900000000001"}).value("CB25"),
                 QVariant("0"));
        QVERIFY(!option(s, 4)->isEnabled());
    }
};

QTEST_MAIN(ProductMasterTest)
#include "test_productmaster.moc"
