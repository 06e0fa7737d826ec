#include "CounterSupport.h"
#include "ReceiptFixture.h"

#include "data/Clock.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTableWidget>

namespace {
using Grid = QList<QStringList>;

// 1000 x 1, 1000 x 2 and 540 x 1: 3540 due, 262 tax, 3278 base.
void sellTheSmallSale(Counter& c)
{
    c.sell(Bread);
    c.sell(Milk, "2");
    c.sell(Tea);
}

// The header of receipt 61200042 of three lines, posted 2026-12-15 10:15:30.
QVariantMap header(const QString& kind, double tendered, double paidNow, double credit)
{
    return stored("MOMURA", {"01",       "01",       "61200042", "003",      "0003",          " ",
                             kind,       " ",        3540.0,     tendered,   tendered - 3540, " ",
                             paidNow,    credit,     " ",        3540.0,     262.0,           0.0,
                             "20261215", "20261215", "10:15:30", "20261215", "10:15:30"});
}

// A line of receipt 61200042; the figures are CF13 base amount, CF14 unit
// base, CF15 quantity, CF17 amount, CF18 tax, CF19 price, CF20 unit tax and
// CF21 cost.
QVariantMap saleLine(const char* number, const QString& code, const char* name, const char* major,
                     const char* middle, const QList<double>& f)
{
    return stored("MOVURA", {"01", "01",       "61200042", number,     "0003",     " ",       code,
                             name, major,      middle,     "",         " ",        f[0],      f[1],
                             f[2], " ",        f[3],       f[4],       f[5],       f[6],      f[7],
                             " ",  "20261215", "20261215", "10:15:30", "20261215", "10:15:30"});
}

} // namespace

class SalesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 15), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void aProductIsLookedUpByItsThirteenDigits()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        EntryField* code = c.field("Text4");
        QCOMPARE(c.texts({"focus", "LabelM", "LabelPFK", "Text1", "Text2", "LabelN"}),
                 (QStringList{"Text4", "商品コードを入力してください。",
                              "F2.入金POSトランザクション    F4.支払POSトランザクション     "
                              "F5.返品POSトランザクション    F10.Return",
                              "本店", "61200042", "0003"}));

        MessageBoxes boxes;
        for (const char* wrong : {"490000000001", "49000000000111", "4900000000099"}) {
            typeInto(code, wrong);
            enter(code);
            QCOMPARE(boxes.texts().last(),
                     QString(QString(wrong).size() == 13 ? "商品コードが不正です。"
                                                         : "商品コードの桁数が違います。"));
            QCOMPARE(boxes.seen().last().title, QString("MESSAGE"));
            QCOMPARE(c.texts({"focus"}) << code->selectedText(), (QStringList{"Text4", wrong}));
        }
        QCOMPARE(c.text("Text5"), QString("MRNF"));

        // Letters and "+" are not typed; a found product is priced.
        typeInto(code, "4900000a+000011");
        QCOMPARE(c.text("Text4"), Bread);
        enter(code);
        QCOMPARE(c.texts({"Text5", "Text6", "LabelG1", "LabelG2", "LabelV", "LabelZ", "LabelM",
                          "LabelPFK", "focus"}),
                 (QStringList{"食パン", "1000", "1   食品", "101   パン", " 926  700", "",
                              "売単価を入力してください。", "F10.Return", "Text6"}));

        typeInto(c.field("Text6"), "-5x0");
        enter(c.field("Text6"));
        QCOMPARE(c.texts({"Text6", "focus", "Text7"}), (QStringList{"-50", "Text7", "1"}));
        enter(c.field("Text7"));
        c.sell(Milk, "3");
        QCOMPARE(boxes.seen().size(), 3);
        QCOMPARE(screens.gridRows(), (Grid{{"1", Bread, "食パン", "-50", "1", "-50"},
                                           {"2", Milk, "牛乳", "1,000", "3", "3,000"}}));
        // -45 + 926 x 3 without tax.
        QCOMPARE(c.texts({"Text3", "Text10", "Text11", "Text4", "focus"}),
                 (QStringList{"2,950", "2,733", "217", "", "Text4"}));
    }

    void aLineIsCompleteOrNotStored()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        auto modeColour = [&screens] { return screens.find<QLabel>("LabelAPF")->styleSheet(); };
        // A quantity confirmed without a product: the focus goes to the code
        // and the mode label darkens.
        for (const QString& typed : {QString(), Bread}) {
            // A code typed but never looked up is not a product of the list.
            typeInto(c.field("Text4"), typed);
            c.field("Text7")->setFocus();
            enter(c.field("Text7"));
            QCOMPARE(c.texts({"focus"}), QStringList{"Text4"});
            QVERIFY(modeColour().contains("#004000"));
        }
        // An emptied quantity is not a line either; quantity 0 is a line of 0.
        c.sell(Bread, "");
        QVERIFY(c.field("Text7")->hasFocus());
        QCOMPARE(screens.gridRows().size(), 0);
        c.sell(Bread, "0");
        QCOMPARE(screens.gridRows(), (Grid{{"1", Bread, "食パン", "1,000", "0", "0"}}));
        QVERIFY(modeColour().contains("#00C000"));
    }

    void specialPriceInForceByKindAndWindow_data()
    {
        QTest::addColumn<QVariantMap>("special");
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("label");
        auto add = [](const char* name, const QVariantMap& special, QTime now, const char* price,
                      const char* label) {
            QTest::newRow(name) << special << now << QString(price) << QString(label);
        };
        const QVariantMap day{
            {"CB13", "2"}, {"CB14", 880}, {"CB15", "20261215"}, {"CB16", "20261215"}};
        const QVariantMap past{{"CB13", "2"}, {"CB15", "20261201"}, {"CB16", "20261214"}};
        const QVariantMap both{{"CB13", "1"},        {"CB14", 900},        {"CB15", "20261201"},
                               {"CB16", "20261231"}, {"CB17", "09:00:00"}, {"CB18", "10:15:29"}};
        const QVariantMap allDay{
            {"CB13", "3"}, {"CB14", 750}, {"CB17", "00:00:00"}, {"CB18", "23:59:59"}};
        QVariantMap none = allDay;
        none["CB13"] = "4";
        add("period: today is from and to", day, QTime(10, 0), "880",
            "特売2.20261215～20261215<1000>");
        add("period ended yesterday", past, QTime(10, 0), "1000", "");
        add("one second past the end", both, QTime(10, 15, 30), "1000", "");
        add("the last second", both, QTime(10, 15, 29), "900",
            "特売1.20261201～20261231 09:00:00～10:15:29<1000>");
        add("all day, at midnight", allDay, QTime(0, 0), "750", "特売3.00:00:00～23:59:59<1000>");
        add("all day, at 23:59:59", allDay, QTime(23, 59, 59), "750",
            "特売3.00:00:00～23:59:59<1000>");
        add("kind none", none, QTime(12, 0), "1000", "");
    }

    void specialPriceInForceByKindAndWindow()
    {
        QFETCH(QVariantMap, special);
        QFETCH(QTime, now);
        QFETCH(QString, price);
        QFETCH(QString, label);
        Clock::setFixed(QDateTime(QDate(2026, 12, 15), now));
        auto&& [folder, t, screens, c] = AtTheCounter("MUK4UT01", [&special](Database& db) {
            addCounterProduct(db, "4900000000059", "特売品", "1000", special);
        });
        typeInto(c.field("Text4"), "4900000000059");
        enter(c.field("Text4"));
        // The tax-excluded price beside it is always the regular one.
        QCOMPARE(c.texts({"Text6", "LabelZ", "LabelV"}), (QStringList{price, label, " 926  100"}));
        // A line sold at the special shows its price marked in the list.
        enter(c.field("Text6"));
        enter(c.field("Text7"));
        QCOMPARE(screens.find<QTableWidget>("FG1")->item(0, 3)->font().bold(), !label.isEmpty());
    }

    void aSaleOfThreeLinesIsPostedWhole_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("tendered");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QVariantMap>("posted");
        QTest::newRow("cash") << 1 << QString("5000") << QString("1,460")
                              << header("11000", 5000, 3540, 0);
        QTest::newRow("partial payment")
            << 2 << QString("1000") << QString("2,540") << header("20000", 1000, 1000, 2540);
        QTest::newRow("credit") << 3 << QString("0") << QString("3,540")
                                << header("30000", 0, 0, 3540);
    }

    void aSaleOfThreeLinesIsPostedWhole()
    {
        QFETCH(int, option);
        QFETCH(QString, tendered);
        QFETCH(QString, shown);
        QFETCH(QVariantMap, posted);
        auto&& [folder, t, screens, c] = AtTheCounter();
        sellTheSmallSale(c);
        QCOMPARE(c.texts({"Text3", "Text10", "Text11"}), (QStringList{"3,540", "3,278", "262"}));
        c.option(option);
        QCOMPARE(screens.button("RSBTN")->text(), QString(option == 1 ? "レシート" : "売掛情報"));
        c.tender(tendered);
        QCOMPARE(c.text("Text9"), shown);
        QCOMPARE(c.texts({"LabelM", "focus"}),
                 (QStringList{"レシート/売掛情報ボタンをクリックしてください。", "RSBTN"}));
        if (option != 1)
            QCOMPARE(screens.find<QLineEdit>("Text9")->palette().color(QPalette::Text),
                     QColor(0xC0, 0xC0, 0x00));
        c.post();
        QCOMPARE(rows(t, "SELECT * FROM MOMURA"), QList<QVariantMap>{posted});
        QCOMPARE(
            rows(t, "SELECT * FROM MOVURA ORDER BY CF04"),
            (QList<QVariantMap>{
                saleLine("001", Bread, "食パン", "1", "101",
                         {926, 926, 1, 1000, 74, 1000, 74, 700}),
                saleLine("002", Milk, "牛乳", "2", "205", {1852, 926, 2, 2000, 148, 1000, 74, 100}),
                saleLine("003", Tea, "お茶", "1", "101", {500, 500, 1, 540, 40, 540, 40, 100})}));
        // A credit record holds the base total.
        QVariantMap credit = posted;
        credit["CF18"] = 3278.0;
        QCOMPARE(rows(t, "SELECT * FROM MDMURK"),
                 option == 1 ? QList<QVariantMap>{} : QList<QVariantMap>{credit});
        QCOMPARE(
            row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'receipt'").values(),
            (QVariantList{"612", "00042", "20261215", "10:15:30"}));
        // A cash sale is ready for the next customer; one with credit closes.
        QCOMPARE(screens.current()->code(), QString(option == 1 ? "MUK4UT01" : "MUK4SC01"));
        if (option != 1)
            return;
        QCOMPARE(c.texts({"Text2", "Text3", "focus"}), (QStringList{"61200043", "", "Text4"}));
        QCOMPARE(screens.gridRows().size(), 0);
    }

    void theTenderedAmountIsCheckedAgainstTheKind_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("tendered");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        auto add = [](const char* name, int option, const char* tendered, const char* message,
                      const char* shown) {
            QTest::newRow(name) << option << QString(tendered) << QString(message)
                                << QString(shown);
        };
        add("cash short", 1, "3539", "お預り金額が足りません。", "-1");
        add("cash emptied", 1, "", "お預り金額が足りません。", "-3,540");
        add("cash exact", 1, "3540", "", "0");
        add("partial of all", 2, "3540", "計算が合いません。（内金＋売掛？）", "0");
        add("partial of nothing", 2, "0", "計算が合いません。（内金＋売掛？）", "3,540");
        add("partial of one less", 2, "3539", "", "1");
        add("credit with money", 3, "1", "計算が合いません。（売掛？）", "3,539");
    }

    void theTenderedAmountIsCheckedAgainstTheKind()
    {
        QFETCH(int, option);
        QFETCH(QString, tendered);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        auto&& [folder, t, screens, c] = AtTheCounter();
        sellTheSmallSale(c);
        c.option(option);
        MessageBoxes boxes;
        c.tender(tendered);
        if (message.isEmpty()) {
            QVERIFY(boxes.texts().isEmpty());
            QCOMPARE(c.texts({"Text9", "focus"}), (QStringList{shown, "RSBTN"}));
            return;
        }
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(screens.find<QLineEdit>("Text9")->palette().color(QPalette::Text),
                 QColor(0xFF, 0x00, 0x00));
        QVERIFY(!screens.button("RSBTN")->isEnabled());
        QCOMPARE(c.texts({"Text9", "focus", "Text8"}),
                 (QStringList{shown, "Text8", tendered.isEmpty() ? "0" : tendered}));
    }

    void plusAndTheKindChoiceGuardThePostButton()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        // "+" before any line does nothing, nor over a typed code.
        QTest::keyClick(c.field("Text4"), '+');
        QCOMPARE(c.texts({"focus"}) << screens.usable({"Text8"}), QStringList{"Text4"});
        c.sell(Bread);
        typeInto(c.field("Text4"), "49");
        QTest::keyClick(c.field("Text4"), '+');
        QVERIFY(c.field("Text4")->hasFocus());
        c.field("Text4")->clear();
        QTest::keyClick(c.field("Text4"), '+');
        QCOMPARE(c.texts({"focus", "Text8", "LabelM"}),
                 (QStringList{"Text8", "1000", "お預り金額を入力してください。"}));
        enter(c.field("Text8"));
        QVERIFY(screens.button("RSBTN")->isEnabled());
        // Another kind after an accepted amount sends the cashier back.
        c.option(3);
        QCOMPARE(c.texts({"focus"}) << screens.usable({"RSBTN"}), QStringList{"Text8"});
        // Back to the lines: the tender closes until the next "+".
        c.field("Text4")->setFocus();
        QCOMPARE(screens.usable({"Text8", "RSBTN"}), QStringList{});
        c.option(1);
        QCOMPARE(c.texts({"focus"}) << screens.button("RSBTN")->text(),
                 (QStringList{"Text4", "レシート"}));
    }

    void aNegativeAmountDueIsACashSale()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        c.sell(Tea);
        c.sell(Bread, "1", "-1000");
        QCOMPARE(c.text("Text3"), QString("-460"));
        c.tender("0");
        QCOMPARE(c.text("Text9"), QString("460"));
        c.post();
        QCOMPARE(row(t, "SELECT CF07, CF09, CF10, CF11, CF13, CF14 FROM MOMURA").values(),
                 (QVariantList{"11000", -460.0, 0.0, 460.0, -460.0, 0.0}));
    }

    void aListedLineIsChangedInPlace()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        auto* grid = screens.find<QTableWidget>("FG1");
        // A longer sale first, so that old lines would show if they leaked.
        for (int i = 0; i < 4; ++i)
            c.sell(Tea);
        c.tender("5000");
        c.post();
        sellTheSmallSale(c);
        clickRow(grid, 1);
        QVERIFY(screens.find<QLabel>("LabelAPF")->styleSheet().contains("#FF0000"));
        QCOMPARE(c.texts({"LabelAPF", "Text4", "Text5", "Text6", "Text7"}),
                 (QStringList{"●  修正", Milk, "牛乳", "1000", "2"}));
        c.sell(Milk, "5");
        QCOMPARE(screens.gridRows(), (Grid{{"1", Bread, "食パン", "1,000", "1", "1,000"},
                                           {"2", Milk, "牛乳", "1,000", "5", "5,000"},
                                           {"3", Tea, "お茶", "540", "1", "540"}}));
        QCOMPARE(c.texts({"Text3", "LabelAPF"}), (QStringList{"6,540", "●  登録"}));
        // A row is also chosen with Enter; confirmed unchanged, it stays.
        grid->setCurrentCell(0, 0);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(c.texts({"LabelAPF", "Text4"}), (QStringList{"●  修正", Bread}));
        for (const char* name : {"Text4", "Text6", "Text7"})
            enter(c.field(name));
        QCOMPARE(screens.gridRows().size(), 3);
        // The next line is still the fourth.
        c.sell(Tea);
        QCOMPARE(screens.gridRows().last().first(), QString("4"));
        c.tender("10000");
        c.post();
        QCOMPARE(row(t, "SELECT h.CF04, h.CF09, l.CF15 FROM MOMURA h JOIN MOVURA l ON l.CF03 = "
                        "h.CF03 AND l.CF04 = '002' WHERE h.CF03 = '61200043'")
                     .values(),
                 (QVariantList{"004", 7080.0, 5.0}));
    }

    void aLineIsPricedWithoutTaxByTheUnitBaseRule_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QVariantList>("line");
        // CF13 base amount, CF14 unit base, CF17 amount, CF18 tax, CF20 unit tax.
        QTest::newRow("1000 x 3") << QString("1000") << QString("3")
                                  << QVariantList{2778.0, 926.0, 3000.0, 222.0, 74.0};
        QTest::newRow("1080 rounds to 1000")
            << QString("1080") << QString("1") << QVariantList{1000.0, 1000.0, 1080.0, 80.0, 80.0};
        QTest::newRow("120: a fraction of .11 goes up")
            << QString("120") << QString("2") << QVariantList{224.0, 112.0, 240.0, 16.0, 8.0};
    }

    void aLineIsPricedWithoutTaxByTheUnitBaseRule()
    {
        QFETCH(QString, price);
        QFETCH(QString, quantity);
        QFETCH(QVariantList, line);
        auto&& [folder, t, screens, c] = AtTheCounter();
        c.sell(Bread, quantity, price);
        c.tender("10000");
        c.post();
        QCOMPARE(row(t, "SELECT CF13, CF14, CF17, CF18, CF20 FROM MOVURA").values(), line);
    }

    // A sale, a payment and a deposit take consecutive numbers of one counter.
    void receiptsOfEveryKindFollowOneCounter_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("41") << QString("00041")
                            << QStringList{"61200042", "61200043", "61200044", "61200045"};
        QTest::newRow("99999 wraps")
            << QString("99999") << QStringList{"61200000", "61200001", "61200002", "61200003"};
        QTest::newRow("not a number")
            << QString("ABCDE") << QStringList{"61200001", "61200002", "61200003", "61200004"};
    }

    void receiptsOfEveryKindFollowOneCounter()
    {
        QFETCH(QString, last);
        QFETCH(QStringList, numbers);
        auto&& [folder, t, screens, c] = AtTheCounter(
            "MUK4UT01", [&last](Database& db) { setParameter(db, "receipt", "612", last); });
        QCOMPARE(c.text("Text2"), numbers[0]);
        c.sell(Bread);
        c.tender("1000");
        c.post();
        functionKey(c.field("Text4"), Qt::Key_F4);
        screens.settle();
        QCOMPARE(screens.named("支払額")->objectName(), QString("Text6"));
        c.book("0001", "1", "300");
        c.tender("300");
        c.post();
        functionKey(c.field("Text4"), Qt::Key_F2);
        screens.settle();
        c.book("0001", "1", "700");
        c.tender("700");
        c.post();
        QCOMPARE(c.text("Text2"), numbers[3]);
        QStringList posted;
        for (const char* table : {"MOMURA", "MOMSYK", "MOMNYK"})
            posted << row(t, QString("SELECT CF03 FROM ") + table).value("CF03").toString();
        QCOMPARE(posted, numbers.mid(0, 3));
        QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant(numbers[2].right(5)));
    }

    void aReturnIsPostedUnderItsCodesAtTheRegularPrice_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("tendered");
        QTest::addColumn<QString>("code");
        QTest::newRow("cash") << 1 << QString("1080") << QString("11009");
        QTest::newRow("partial") << 2 << QString("80") << QString("20009");
        QTest::newRow("credit") << 3 << QString("0") << QString("30009");
    }

    void aReturnIsPostedUnderItsCodesAtTheRegularPrice()
    {
        QFETCH(int, option);
        QFETCH(QString, tendered);
        QFETCH(QString, code);
        auto&& [folder, t, screens, c] = AtTheCounter("MUK4UT11");
        QCOMPARE(c.texts({"Label1", "LabelPFK"}),
                 (QStringList{"返品POSトランザクション",
                              "F1.売上POSトランザクション    F2.入金POSトランザクション     "
                              "F4.支払POSトランザクション    F10.Return"}));
        typeInto(c.field("Text4"), Special);
        enter(c.field("Text4"));
        QCOMPARE(c.texts({"Text6", "LabelZ"}), (QStringList{"1080", ""}));
        enter(c.field("Text6"));
        enter(c.field("Text7"));
        c.option(option);
        c.tender(tendered);
        c.post();
        QCOMPARE(row(t, "SELECT CF07, CF09, CF10 FROM MOMURA"),
                 (QVariantMap{{"CF07", code}, {"CF09", 1080.0}, {"CF10", tendered.toDouble()}}));
        QCOMPARE(row(t, "SELECT CF06, CF19 FROM MOVURA"),
                 (QVariantMap{{"CF06", "9"}, {"CF19", 1080.0}}));
        QCOMPARE(row(t, "SELECT CF07 FROM MDMURK").value("CF07").toString(),
                 option == 1 ? QString() : code);
    }

    // A sale or payment left open is dropped: coming back finds it empty.
    void leavingDropsTheOpenTransaction()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        auto go = [&](Qt::Key key) {
            functionKey(c.field("Text4"), key);
            screens.settle();
        };
        c.sell(Bread);
        go(Qt::Key_F4);
        c.book("0001", "1", "300");
        go(Qt::Key_F2);
        for (Qt::Key key : {Qt::Key_F4, Qt::Key_F1}) {
            go(key);
            QCOMPARE(c.texts({"Text3"}) << QString::number(screens.gridRows().size()),
                     (QStringList{"", "0"}));
        }
        screens.click("RTBTN");
        QCOMPARE(count(t, "MOMURA") + count(t, "MOMSYK") + count(t, "MOVSYK"), 0);
    }

    void choosingTheCashierWritesChargeAndStartsAfresh()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        auto* staff = screens.find<QComboBox>("CB1");
        QCOMPARE((QVariantList{staff->count(), staff->currentIndex(), staff->placeholderText()}),
                 (QVariantList{2, -1, "佐藤"}));
        c.sell(Bread);
        choose(staff, 1);
        QCOMPARE(screens.label("LabelN"), QString("0007"));
        QCOMPARE(row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'charge'").values(),
                 (QVariantList{"0007", "鈴木", "20261215", "10:15:30"}));
        QCOMPARE(c.texts({"focus"}) << QString::number(screens.gridRows().size()),
                 (QStringList{"Text4", "0"}));
        c.sell(Bread);
        c.tender("1000");
        c.post();
        QCOMPARE(row(t, "SELECT CF05 FROM MOMURA").value("CF05"), QVariant("0007"));
    }

    // A duplicate receipt key (only the credit table holds it) means a damaged
    // file: nothing is written and the program ends. A posting that cannot
    // start (another connection holds the write lock) keeps the sale to post again.
    void aPostingThatFailsWritesNothing_data()
    {
        QTest::addColumn<bool>("duplicate");
        QTest::addColumn<QString>("message");
        QTest::newRow("duplicate") << true << QString("データベースが壊れています。(REC DUPL)");
        QTest::newRow("locked") << false << QString("売上を登録できませんでした。");
    }

    void aPostingThatFailsWritesNothing()
    {
        QFETCH(bool, duplicate);
        QFETCH(QString, message);
        auto&& [folder, t, screens, c] = AtTheCounter();
        QVERIFY(t.db()
                    .execute(duplicate ? "INSERT INTO MDMURK (CF01, CF02, CF03) VALUES ('01', "
                                         "'01', '61200042')"
                                       : "BEGIN IMMEDIATE")
                    .ok());
        c.sell(Bread);
        c.option(duplicate ? 3 : 1);
        c.tender(duplicate ? "0" : "2000");
        MessageBoxes boxes;
        c.post();
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(screens.ended(), duplicate);
        QCOMPARE(count(t, "MOMURA") + count(t, "MOVURA") + count(t, "MDMURK"), int(duplicate));
        QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant("00041"));
        if (duplicate)
            return;
        QCOMPARE(c.texts({"Text9", "LabelAPF"}) << QString::number(screens.gridRows().size()),
                 (QStringList{"1,000", "●  登録", "1"}));
        QVERIFY(t.db().execute("ROLLBACK").ok());
        c.post();
        QCOMPARE(row(t, "SELECT CF03, CF10 FROM MOMURA"),
                 (QVariantMap{{"CF03", "61200042"}, {"CF10", 2000.0}}));
        QCOMPARE(count(t, "MOVURA"), 1);
    }

    void theReceiptComesAfterThePostingAndItsOutcomeIsShown_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<ReceiptOutcome>("outcome");
        QTest::addColumn<QString>("note");
        using Kind = ReceiptOutcome::Kind;
        auto add = [](const char* name, const char* printer, const ReceiptOutcome& outcome,
                      const QString& note) {
            QTest::newRow(name) << QString(printer) << outcome << note;
        };
        add("printed", "01", {Kind::Printed, {}, {}, {}}, "レシートを印刷しました。");
        add("failed", "01", {Kind::Failed, {}, "テンプレートが壊れています。", {}},
            "売上は登録しました。レシートを作成できませんでした：テンプレートが壊れています。");
        add("switched off", "1", {Kind::Printed, {}, {}, {}}, "商品コードを入力してください。");
        add("payment failed", "01", {Kind::Failed, {}, "プリンタが応答しません。", {}},
            "支払は登録しました。レシートを作成できませんでした：プリンタが応答しません。");
    }

    void theReceiptComesAfterThePostingAndItsOutcomeIsShown()
    {
        QFETCH(QString, printer);
        QFETCH(ReceiptOutcome, outcome);
        QFETCH(QString, note);
        const bool payment = note.startsWith("支払");
        auto&& [folder, t, screens, c] =
            AtTheCounter(payment ? "MUK4UT06" : "MUK4UT01",
                         [&printer](Database& db) { setParameter(db, "printer", printer); });
        ReceiptsSeen receipts(outcome);
        if (payment) {
            c.book("0001", "1", "300");
            c.tender("300");
            c.post();
            QCOMPARE(screens.label("LabelM"), note);
            QCOMPARE(receipts.movements.value(0).direction, CashDirection::Payment);
            QCOMPARE(count(t, "MOMSYK"), 1);
            return;
        }
        c.sell(Bread, "3");
        c.sell(Special);
        c.tender("5000");
        c.post();
        QCOMPARE(count(t, "MOMURA"), 1);
        QCOMPARE(c.texts({"LabelM", "Text2"}), (QStringList{note, "61200043"}));
        QCOMPARE(receipts.sales.size(), printer == "1" ? 0 : 1);
        if (receipts.sales.isEmpty())
            return;
        const FinishedSale& sale = receipts.sales[0];
        QCOMPARE(
            (QStringList{sale.receiptNumber, sale.staffName, sale.lines.value(0).quantityText}),
            (QStringList{"61200042", "佐藤", "3"}));
        QCOMPARE((QList<double>{double(sale.lines.size()), sale.lines.value(1).unitPrice,
                                sale.amountDue, sale.tendered, sale.difference}),
                 (QList<double>{2, 500, 3500, 5000, 1500}));
        QCOMPARE(sale.moment, Clock::now());
        QVERIFY(!sale.isReturn);
    }

    // No printer in the tests: the receipt becomes a PDF in the program
    // folder, and the template keeps the transaction.
    void theReceiptLayerWritesTheTemplateAndThePdf_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("workbook");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("return") << QString("MUK4UT11") << QString("MUK4ECR1.xlsx")
                                << QStringList{"61200042", "<返品>", "食パン"};
        QTest::newRow("payment") << QString("MUK4UT06") << QString("MUK4ECR2.xlsx")
                                 << QStringList{"61200042", "<支払>", "支払計", "1,200"};
    }

    void theReceiptLayerWritesTheTemplateAndThePdf()
    {
        QFETCH(QString, screen);
        QFETCH(QString, workbook);
        QFETCH(QStringList, printed);
        auto&& [folder, t, screens, c] =
            AtTheCounter(screen, [](Database& db) { setParameter(db, "printer", "01"); });
        if (screen == "MUK4UT11")
            c.sell(Bread, "3", "1200");
        else
            c.book("0001", "1", "1200", "3");
        c.tender("3600");
        c.post();
        const QString pdf = QDir::toNativeSeparators(folder.path() + "/receipts/61200042.pdf");
        QCOMPARE(screens.label("LabelM"),
                 QString("プリンタがないため、レシートをPDFに保存しました：") + pdf);
        QVERIFY(QFile::exists(folder.path() + "/" + workbook));
        const QString text = pdfText(pdf);
        for (const QString& expected : printed)
            QVERIFY2(text.contains(expected), qPrintable(expected + " not in " + text));
    }

    // Lines past the hundredth are refused on every counter screen.
    void theHundredAndFirstLineIsRefused_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("header");
        QTest::newRow("sale") << QString("MUK4UT01") << QString("MOMURA");
        QTest::newRow("deposit") << QString("MUK4UT05") << QString("MOMNYK");
    }

    void theHundredAndFirstLineIsRefused()
    {
        QFETCH(QString, screen);
        QFETCH(QString, header);
        auto&& [folder, t, screens, c] = AtTheCounter(screen);
        for (int i = 0; i < 101; ++i) {
            if (screen == "MUK4UT01")
                c.sell(Tea, "1", "10");
            else
                c.book("0001", "1", "10");
        }
        QCOMPARE(screens.gridRows().size(), 100);
        QCOMPARE(c.texts({"LabelM", "Text3"}),
                 (QStringList{"明細は100行までです。この行は追加できません。", "1,000"}));
        c.tender("1000");
        c.post();
        QCOMPARE(row(t, "SELECT CF04, CF09 FROM " + header),
                 (QVariantMap{{"CF04", "100"}, {"CF09", 1000.0}}));
        QCOMPARE(count(t, "MOV" + header.mid(3)), 100);
    }
};

QTEST_MAIN(SalesTest)
#include "test_sales.moc"
