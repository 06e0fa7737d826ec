#include "CounterSupport.h"

#include "data/Clock.h"

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

QColor changeColour(Screens& screens)
{
    return screens.find<QLineEdit>("Text9")->palette().color(QPalette::Text);
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
        QCOMPARE(screens.usable({"Text8", "RSBTN", "RTBTN"}), QStringList{"RTBTN"});

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
        c.field("Text7")->setFocus();
        enter(c.field("Text7"));
        QVERIFY(c.field("Text4")->hasFocus());
        QVERIFY(modeColour().contains("#004000"));
        // A code typed but never looked up is not a product of the list.
        typeInto(c.field("Text4"), Bread);
        c.field("Text7")->setFocus();
        enter(c.field("Text7"));
        QVERIFY(c.field("Text4")->hasFocus());
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
            QCOMPARE(changeColour(screens), QColor(0xC0, 0xC0, 0x00));
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
            row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'receipt'"),
            (QVariantMap{
                {"CB02", "612"}, {"CB03", "00042"}, {"CB07", "20261215"}, {"CB08", "10:15:30"}}));
        // A cash sale is ready for the next customer; one with credit closes.
        if (option != 1) {
            QCOMPARE(screens.current()->code(), QString("MUK4SC01"));
            return;
        }
        QCOMPARE(screens.current()->code(), QString("MUK4UT01"));
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
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(changeColour(screens), QColor(0xFF, 0x00, 0x00));
        QVERIFY(!screens.button("RSBTN")->isEnabled());
        QCOMPARE(c.texts({"Text9", "focus", "Text8"}),
                 (QStringList{shown, "Text8", tendered.isEmpty() ? "0" : tendered}));
    }

    void plusAndTheKindChoiceGuardThePostButton()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        // "+" before any line does nothing, nor over a typed code.
        QTest::keyClick(c.field("Text4"), '+');
        QVERIFY(c.field("Text4")->hasFocus());
        QVERIFY(!c.field("Text8")->isEnabled());
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
        QVERIFY(c.field("Text8")->hasFocus());
        QVERIFY(!screens.button("RSBTN")->isEnabled());
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
        QCOMPARE(row(t, "SELECT CF07, CF09, CF10, CF11, CF13, CF14 FROM MOMURA"),
                 (QVariantMap{{"CF07", "11000"},
                              {"CF09", -460.0},
                              {"CF10", 0.0},
                              {"CF11", 460.0},
                              {"CF13", -460.0},
                              {"CF14", 0.0}}));
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
        QCOMPARE(row(t, "SELECT CF04, CF09 FROM MOMURA WHERE CF03 = '61200043'"),
                 (QVariantMap{{"CF04", "004"}, {"CF09", 7080.0}}));
        QCOMPARE(row(t, "SELECT CF15, CF21 FROM MOVURA WHERE CF03 = '61200043' AND CF04 = '002'"),
                 (QVariantMap{{"CF15", 5.0}, {"CF21", 100.0}}));
    }
};

QTEST_MAIN(SalesTest)
#include "test_sales.moc"
