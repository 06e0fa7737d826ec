#include "CounterSupport.h"

#include "data/Clock.h"

#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>

namespace {
void at(int hour, int minute, int second, int day = 15)
{
    Clock::setFixed(QDateTime(QDate(2026, 12, day), QTime(hour, minute, second)));
}

// 1000 x 1, 1000 x 2 and 540 x 1: 3540 due, 262 tax, 3278 base.
void sellTheSmallSale(Counter& c)
{
    c.sell(Bread);
    c.sell(Milk, "2");
    c.sell(Tea);
}

// The expected header of a posted receipt of 2026-12-15 10:15:30.
QVariantMap header(const QString& receipt, const QString& lines, const QString& kind, double due,
                   double tendered, double paidNow, double credit, double tax, double cf18 = 0)
{
    return stored(
        "MOMURA",
        {"01", "01",     receipt,        lines,      "0003",     " ",        kind,      " ",
         due,  tendered, tendered - due, " ",        paidNow,    credit,     " ",       due,
         tax,  cf18,     "20261215",     "20261215", "10:15:30", "20261215", "10:15:30"});
}
} // namespace

class SalesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { at(10, 15, 30); }
    void cleanup() { Clock::reset(); }

    void aProductIsLookedUpByItsThirteenDigits()
    {
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        QVERIFY(c.field("Text4")->hasFocus());
        QCOMPARE(screens.label("LabelM"), QString("商品コードを入力してください。"));
        QCOMPARE(screens.label("LabelPFK"),
                 QString("F2.入金POSトランザクション    F4.支払POSトランザクション     "
                         "F5.返品POSトランザクション    F10.Return"));
        QCOMPARE(c.text("Text1"), QString("本店"));
        QCOMPARE(c.text("Text2"), QString("61200042"));
        QCOMPARE(screens.label("LabelN"), QString("0003"));
        QCOMPARE(screens.usable({"Text8", "RSBTN", "RTBTN"}), QStringList{"RTBTN"});

        MessageBoxes boxes;
        for (const char* wrong : {"490000000001", "49000000000111"}) {
            typeInto(c.field("Text4"), wrong);
            enter(c.field("Text4"));
            QCOMPARE(boxes.texts().last(), QString("商品コードの桁数が違います。"));
            QCOMPARE(boxes.seen().last().title, QString("MESSAGE"));
            QVERIFY(c.field("Text4")->hasFocus());
            QCOMPARE(c.field("Text4")->selectedText(), QString(wrong));
        }
        typeInto(c.field("Text4"), "4900000000099");
        enter(c.field("Text4"));
        QCOMPARE(boxes.texts().last(), QString("商品コードが不正です。"));
        QCOMPARE(c.text("Text5"), QString("MRNF"));
        QVERIFY(c.field("Text4")->hasFocus());

        // Letters and "+" are not typed; a found product is priced.
        typeInto(c.field("Text4"), "4900000a+000011");
        QCOMPARE(c.text("Text4"), Bread);
        enter(c.field("Text4"));
        QCOMPARE(c.text("Text5"), QString("食パン"));
        QCOMPARE(c.text("Text6"), QString("1000"));
        QCOMPARE(screens.label("LabelG1"), QString("1   食品"));
        QCOMPARE(screens.label("LabelG2"), QString("101   パン"));
        QCOMPARE(screens.label("LabelV"), QString(" 926  700"));
        QCOMPARE(screens.label("LabelZ"), QString());
        QVERIFY(c.field("Text6")->hasFocus());
        QCOMPARE(screens.label("LabelM"), QString("売単価を入力してください。"));
        QCOMPARE(screens.label("LabelPFK"), QString("F10.Return"));

        // A category missing from its table shows the code alone.
        typeInto(c.field("Text6"), "-5x0");
        enter(c.field("Text6"));
        QCOMPARE(c.text("Text6"), QString("-50"));
        QVERIFY(c.field("Text7")->hasFocus());
        QCOMPARE(c.text("Text7"), QString("1"));
        enter(c.field("Text7"));
        c.sell(Milk, "3");
        QCOMPARE(boxes.seen().size(), 3);
        QCOMPARE(screens.gridRows(),
                 (QList<QStringList>{{"1", Bread, "食パン", "-50", "1", "-50"},
                                     {"2", Milk, "牛乳", "1,000", "3", "3,000"}}));
        QCOMPARE(c.text("Text3"), QString("2,950"));
        QCOMPARE(c.text("Text10"), QString("2,733")); // -45 + 926 x 3
        QCOMPARE(c.text("Text11"), QString("217"));
        QCOMPARE(c.text("Text4"), QString());
        QVERIFY(c.field("Text4")->hasFocus());
    }

    void aLineIsCompleteOrNotStored()
    {
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        // A quantity confirmed without a product: the focus goes to the code
        // and the mode label darkens.
        c.field("Text7")->setFocus();
        enter(c.field("Text7"));
        QVERIFY(c.field("Text4")->hasFocus());
        QVERIFY(screens.find<QLabel>("LabelAPF")->styleSheet().contains("#004000"));
        // A code typed but never looked up is not a product of the list.
        typeInto(c.field("Text4"), Bread);
        c.field("Text7")->setFocus();
        enter(c.field("Text7"));
        QVERIFY(c.field("Text4")->hasFocus());
        QCOMPARE(screens.gridRows().size(), 0);
        // An emptied quantity is not a line either.
        c.sell(Bread, "");
        QVERIFY(c.field("Text7")->hasFocus());
        QCOMPARE(screens.gridRows().size(), 0);
        c.field("Text4")->clear();
        // Quantity 0 is a line of amount 0.
        c.sell(Bread, "0");
        QCOMPARE(screens.gridRows(),
                 (QList<QStringList>{{"1", Bread, "食パン", "1,000", "0", "0"}}));
        QVERIFY(screens.find<QLabel>("LabelAPF")->styleSheet().contains("#00C000"));
    }

    void specialPriceInForceByKindAndWindow_data()
    {
        QTest::addColumn<QVariantMap>("special");
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("label");
        const QVariantMap period{
            {"CB13", "2"}, {"CB14", 880}, {"CB15", "20261215"}, {"CB16", "20261215"}};
        QTest::newRow("period: today is from and to") << period << QTime(10, 0) << "880"
                                                      << "特売2.20261215～20261215<1000>";
        QVariantMap ended = period;
        ended["CB16"] = "20261214";
        ended["CB15"] = "20261201";
        QTest::newRow("period ended yesterday") << ended << QTime(10, 0) << "1000"
                                                << "";
        const QVariantMap both{{"CB13", "1"},        {"CB14", 900},        {"CB15", "20261201"},
                               {"CB16", "20261231"}, {"CB17", "09:00:00"}, {"CB18", "10:15:29"}};
        QTest::newRow("period and time: one second past the end")
            << both << QTime(10, 15, 30) << "1000"
            << "";
        QTest::newRow("period and time: the last second")
            << both << QTime(10, 15, 29) << "900"
            << "特売1.20261201～20261231 09:00:00～10:15:29<1000>";
        const QVariantMap allDay{
            {"CB13", "3"}, {"CB14", 750}, {"CB17", "00:00:00"}, {"CB18", "23:59:59"}};
        QTest::newRow("time all day, at midnight") << allDay << QTime(0, 0) << "750"
                                                   << "特売3.00:00:00～23:59:59<1000>";
        QTest::newRow("time all day, at the last second") << allDay << QTime(23, 59, 59) << "750"
                                                          << "特売3.00:00:00～23:59:59<1000>";
        QVariantMap none = allDay;
        none["CB13"] = "4";
        QTest::newRow("kind none") << none << QTime(12, 0) << "1000"
                                   << "";
    }

    void specialPriceInForceByKindAndWindow()
    {
        QFETCH(QVariantMap, special);
        QFETCH(QTime, now);
        QFETCH(QString, price);
        QFETCH(QString, label);
        Clock::setFixed(QDateTime(QDate(2026, 12, 15), now));
        AtTheCounter at("MUK4UT01", [&special](Database& db) {
            addCounterProduct(db, "4900000000059", "特売品", "1000", special);
        });
        auto& [folder, t, screens, c] = at;
        typeInto(c.field("Text4"), "4900000000059");
        enter(c.field("Text4"));
        QCOMPARE(c.text("Text6"), price);
        QCOMPARE(screens.label("LabelZ"), label);
        // The tax-excluded price beside it is always the regular one.
        QCOMPARE(screens.label("LabelV"), QString(" 926  100"));
        // A line sold at the special shows its price marked in the list.
        enter(c.field("Text6"));
        enter(c.field("Text7"));
        QCOMPARE(screens.find<QTableWidget>("FG1")->item(0, 3)->font().bold(), !label.isEmpty());
    }

    void aCashSaleOfThreeLinesIsPostedWhole()
    {
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        sellTheSmallSale(c);
        QCOMPARE(c.text("Text3"), QString("3,540"));
        MessageBoxes boxes;
        c.tender("5000");
        QCOMPARE(c.text("Text9"), QString("1,460"));
        QCOMPARE(screens.label("LabelM"),
                 QString("レシート/売掛情報ボタンをクリックしてください。"));
        QVERIFY(screens.button("RSBTN")->hasFocus());
        c.post();
        QCOMPARE(boxes.seen().size(), 0);
        QCOMPARE(rows(t, "SELECT * FROM MOMURA"),
                 QList<QVariantMap>{header("61200042", "003", "11000", 3540, 5000, 3540, 0, 262)});
        const QString lines = "SELECT CF03, CF04, CF05, CF06, CF07, CF08, CF09, CF10, CF11, "
                              "CF12, CF13, CF14, CF15, CF16, CF17, CF18, CF19, CF20, CF21, CF22, "
                              "CF23, CF24, CF25 FROM MOVURA ORDER BY CF04";
        const QStringList names{"CF03", "CF04", "CF05", "CF06", "CF07", "CF08", "CF09", "CF10",
                                "CF11", "CF12", "CF13", "CF14", "CF15", "CF16", "CF17", "CF18",
                                "CF19", "CF20", "CF21", "CF22", "CF23", "CF24", "CF25"};
        auto line = [&names](const QVariantList& values) {
            QVariantMap m;
            for (int i = 0; i < names.size(); ++i)
                m.insert(names[i], values[i]);
            return m;
        };
        QCOMPARE(
            rows(t, lines),
            (QList<QVariantMap>{
                line({"61200042", "001", "0003", " ",   Bread,      "食パン",   "1",       "101",
                      "",         " ",   926.0,  926.0, 1.0,        " ",        1000.0,    74.0,
                      1000.0,     74.0,  700.0,  " ",   "20261215", "20261215", "10:15:30"}),
                line({"61200042", "002", "0003", " ",   Milk,       "牛乳",     "2",       "205",
                      "",         " ",   1852.0, 926.0, 2.0,        " ",        2000.0,    148.0,
                      1000.0,     74.0,  100.0,  " ",   "20261215", "20261215", "10:15:30"}),
                line({"61200042", "003", "0003", " ",   Tea,        "お茶",     "1",       "101",
                      "",         " ",   500.0,  500.0, 1.0,        " ",        540.0,     40.0,
                      540.0,      40.0,  100.0,  " ",   "20261215", "20261215", "10:15:30"})}));
        QCOMPARE(count(t, "MDMURK"), 0);
        QCOMPARE(
            row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'receipt'"),
            (QVariantMap{
                {"CB02", "612"}, {"CB03", "00042"}, {"CB07", "20261215"}, {"CB08", "10:15:30"}}));
        // Ready for the next customer.
        QCOMPARE(screens.current()->code(), QString("MUK4UT01"));
        QCOMPARE(c.text("Text2"), QString("61200043"));
        QCOMPARE(screens.gridRows().size(), 0);
        QCOMPARE(c.text("Text3"), QString());
        QVERIFY(c.field("Text4")->hasFocus());
        QVERIFY(screens.find<QRadioButton>("OP1")->isChecked());
    }

    void settlementKindsArePostedWithTheirCredit_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("tendered");
        QTest::addColumn<QVariantMap>("posted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("partial payment")
            << 2 << "1000" << header("61200042", "003", "20000", 3540, 1000, 1000, 2540, 262)
            << "2,540";
        QTest::newRow("credit") << 3 << "0"
                                << header("61200042", "003", "30000", 3540, 0, 0, 3540, 262)
                                << "3,540";
    }

    void settlementKindsArePostedWithTheirCredit()
    {
        QFETCH(int, option);
        QFETCH(QString, tendered);
        QFETCH(QVariantMap, posted);
        QFETCH(QString, shown);
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        sellTheSmallSale(c);
        c.option(option);
        QCOMPARE(screens.button("RSBTN")->text(), QString("売掛情報"));
        c.tender(tendered);
        QCOMPARE(c.text("Text9"), shown);
        QCOMPARE(screens.find<QLineEdit>("Text9")->palette().color(QPalette::Text),
                 QColor(0xC0, 0xC0, 0x00));
        c.post();
        QCOMPARE(rows(t, "SELECT * FROM MOMURA"), QList<QVariantMap>{posted});
        QVariantMap credit = posted;
        credit["CF18"] = 3278.0; // the base total
        QCOMPARE(rows(t, "SELECT * FROM MDMURK"), QList<QVariantMap>{credit});
        QCOMPARE(count(t, "MOVURA"), 3);
        // A sale with credit closes the screen.
        QCOMPARE(screens.current()->code(), QString("MUK4SC01"));
    }

    void theTenderedAmountIsCheckedAgainstTheKind_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("tendered");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cash short") << 1 << "3539"
                                    << "お預り金額が足りません。"
                                    << "-1";
        QTest::newRow("cash emptied") << 1 << ""
                                      << "お預り金額が足りません。"
                                      << "-3,540";
        QTest::newRow("cash exact") << 1 << "3540"
                                    << ""
                                    << "0";
        QTest::newRow("partial of all") << 2 << "3540"
                                        << "計算が合いません。（内金＋売掛？）"
                                        << "0";
        QTest::newRow("partial of nothing") << 2 << "0"
                                            << "計算が合いません。（内金＋売掛？）"
                                            << "3,540";
        QTest::newRow("partial of one less") << 2 << "3539"
                                             << ""
                                             << "1";
        QTest::newRow("credit with money") << 3 << "1"
                                           << "計算が合いません。（売掛？）"
                                           << "3,539";
    }

    void theTenderedAmountIsCheckedAgainstTheKind()
    {
        QFETCH(int, option);
        QFETCH(QString, tendered);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        sellTheSmallSale(c);
        c.option(option);
        MessageBoxes boxes;
        c.tender(tendered);
        QCOMPARE(c.text("Text9"), shown);
        if (message.isEmpty()) {
            QVERIFY(boxes.texts().isEmpty());
            QVERIFY(screens.button("RSBTN")->hasFocus());
            return;
        }
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(screens.find<QLineEdit>("Text9")->palette().color(QPalette::Text),
                 QColor(0xFF, 0x00, 0x00));
        QVERIFY(c.field("Text8")->hasFocus());
        QVERIFY(!screens.button("RSBTN")->isEnabled());
        QCOMPARE(c.text("Text8"), tendered.isEmpty() ? QString("0") : tendered);
    }

    void plusAndTheKindChoiceGuardThePostButton()
    {
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        // "+" before any line does nothing.
        QTest::keyClick(c.field("Text4"), '+');
        QVERIFY(c.field("Text4")->hasFocus());
        QVERIFY(!c.field("Text8")->isEnabled());
        c.sell(Bread);
        // "+" over a typed code does nothing either.
        typeInto(c.field("Text4"), "49");
        QTest::keyClick(c.field("Text4"), '+');
        QVERIFY(c.field("Text4")->hasFocus());
        c.field("Text4")->clear();
        QTest::keyClick(c.field("Text4"), '+');
        QVERIFY(c.field("Text8")->hasFocus());
        QCOMPARE(c.text("Text8"), QString("1000"));
        QCOMPARE(screens.label("LabelM"), QString("お預り金額を入力してください。"));
        enter(c.field("Text8"));
        QVERIFY(screens.button("RSBTN")->isEnabled());
        // Another kind after an accepted amount sends the cashier back.
        c.option(3);
        QVERIFY(c.field("Text8")->hasFocus());
        QVERIFY(!screens.button("RSBTN")->isEnabled());
        QCOMPARE(screens.button("RSBTN")->text(), QString("売掛情報"));
        // Back to the lines: the tender closes until the next "+".
        c.field("Text4")->setFocus();
        QCOMPARE(screens.usable({"Text8", "RSBTN"}), QStringList{});
        c.option(1);
        QVERIFY(c.field("Text4")->hasFocus());
        QCOMPARE(screens.button("RSBTN")->text(), QString("レシート"));
    }

    void aNegativeAmountDueIsACashSale()
    {
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
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
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        // A longer sale first, so that old lines would show if they leaked.
        for (int i = 0; i < 4; ++i)
            c.sell(Tea);
        c.tender("5000");
        c.post();
        c.sell(Bread);
        c.sell(Milk, "2");
        c.sell(Tea);
        clickRow(screens.find<QTableWidget>("FG1"), 1);
        QCOMPARE(screens.label("LabelAPF"), QString("●  修正"));
        QVERIFY(screens.find<QLabel>("LabelAPF")->styleSheet().contains("#FF0000"));
        QCOMPARE(c.text("Text4"), Milk);
        QCOMPARE(c.text("Text5"), QString("牛乳"));
        QCOMPARE(c.text("Text6"), QString("1000"));
        QCOMPARE(c.text("Text7"), QString("2"));
        enter(c.field("Text4"));
        enter(c.field("Text6"));
        typeInto(c.field("Text7"), "5");
        enter(c.field("Text7"));
        QCOMPARE(screens.gridRows(),
                 (QList<QStringList>{{"1", Bread, "食パン", "1,000", "1", "1,000"},
                                     {"2", Milk, "牛乳", "1,000", "5", "5,000"},
                                     {"3", Tea, "お茶", "540", "1", "540"}}));
        QCOMPARE(c.text("Text3"), QString("6,540"));
        QCOMPARE(screens.label("LabelAPF"), QString("●  登録"));
        // A row is also chosen with Enter; confirmed unchanged, it stays.
        auto* grid = screens.find<QTableWidget>("FG1");
        grid->setCurrentCell(0, 0);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(c.text("Text4"), Bread);
        QCOMPARE(screens.label("LabelAPF"), QString("●  修正"));
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

    void theHundredAndFirstLineIsRefused()
    {
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        for (int i = 0; i < 101; ++i)
            c.sell(Tea);
        QCOMPARE(screens.gridRows().size(), 100);
        QCOMPARE(screens.label("LabelM"), QString("明細は100行までです。この行は追加できません。"));
        QCOMPARE(c.text("Text3"), QString("54,000"));
        c.tender("54000");
        c.post();
        QCOMPARE(row(t, "SELECT CF04 FROM MOMURA").value("CF04"), QVariant("100"));
        QCOMPARE(count(t, "MOVURA"), 100);
    }
};

QTEST_MAIN(SalesTest)
#include "test_sales.moc"
