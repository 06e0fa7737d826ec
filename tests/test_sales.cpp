#include "CounterSupport.h"
#include "ReceiptFixture.h"

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
        // A price no program wrote (a hand-edited file) is not sold.
        auto&& [folder, t, screens, c] = AtTheCounter("MUK4UT01", [](Database& db) {
            addCounterProduct(db, "4900000000066", "壊れた商品", "1e300");
        });
        EntryField* code = c.field("Text4");
        QCOMPARE(c.texts({"focus", "Text1", "Text2", "LabelN"}),
                 (QStringList{"Text4", "本店", "61200042", "0003"}));
        MessageBoxes boxes;
        for (const QString wrong :
             {"490000000001", "49000000000111", "4900000000099", "4900000000066"}) {
            typeInto(code, wrong);
            enter(code);
            QCOMPARE((QStringList{boxes.seen().last().text, boxes.seen().last().title}),
                     (QStringList{wrong.size() != 13 ? "商品コードの桁数が違います。"
                                  : wrong.endsWith("66") ? "商品の単価を読み込めませんでした。"
                                                         : "商品コードが不正です。",
                                  "MESSAGE"}));
            QCOMPARE(c.texts({"focus"}) << code->selectedText(), (QStringList{"Text4", wrong}));
        }
        QCOMPARE(c.text("Text5"), QString("MRNF"));

        // Letters and "+" are not typed; a found product is priced.
        typeInto(code, "4900000a+000011");
        QCOMPARE(c.text("Text4"), Bread);
        enter(code);
        QCOMPARE(c.texts({"Text5", "Text6", "LabelG1", "LabelG2", "LabelV", "LabelZ", "focus"}),
                 (QStringList{"食パン", "1000", "1   食品", "101 パン", " 926  700", "", "Text6"}));

        typeInto(c.field("Text6"), "-5x000");
        enter(c.field("Text6"));
        QCOMPARE(c.texts({"Text6", "focus", "Text7"}), (QStringList{"-5000", "Text7", "1"}));
        enter(c.field("Text7"));
        c.sell(Milk, "3");
        QCOMPARE(boxes.seen().size(), 4);
        QCOMPARE(screens.gridRows(), (Grid{{"1", Bread, "食パン", "-5,000", "1", "-5,000"},
                                           {"2", Milk, "牛乳", "1,000", "3", "3,000"}}));
        // -4628 + 926 x 3 without tax.
        QCOMPARE(c.texts({"Text3", "Text10", "Text11", "Text4", "focus"}),
                 (QStringList{"-2,000", "-1,850", "-150", "", "Text4"}));
        // A negative amount due is a cash sale with nothing tendered.
        c.tender("0");
        QCOMPARE(c.text("Text9"), QString("2,000"));
        c.post();
        QCOMPARE(row(t, "SELECT CF07, CF09, CF10, CF11, CF13, CF14 FROM MOMURA").values(),
                 (QVariantList{"11000", -2000.0, 0.0, 2000.0, -2000.0, 0.0}));
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
        table::columns<QVariantMap, QTime, QString, QString, QString>();
        auto add = [](const char* name, const QVariantMap& special, QTime now, const char* price,
                      const char* label, const char* screen = "MUK4UT01") {
            table::add(name, special, now, price, label, screen);
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
        add("kind none", none, QTime(12, 0), "1000", "");
        add("a return takes the regular price", allDay, QTime(12, 0), "1000", "", "MUK4UT11");
    }

    void specialPriceInForceByKindAndWindow()
    {
        const auto [special, now, price, label, screen] =
            table::fetch<QVariantMap, QTime, QString, QString, QString>();
        Clock::setFixed(QDateTime(QDate(2026, 12, 15), now));
        auto&& [folder, t, screens, c] = AtTheCounter(screen, [&special](Database& db) {
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
        table::columns<QString, int, QString, QString, QVariantMap>();
        const char *sale = "MUK4UT01", *back = "MUK4UT11";
        table::add("cash", sale, 1, "5000", "1,460", header("11000", 5000, 3540, 0));
        table::add("partial payment", sale, 2, "1000", "2,540", header("20000", 1000, 1000, 2540));
        table::add("credit", sale, 3, "0", "3,540", header("30000", 0, 0, 3540));
        table::add("cash return", back, 1, "3540", "0", header("11009", 3540, 3540, 0));
        table::add("partial return", back, 2, "40", "3,500", header("20009", 40, 40, 3500));
    }

    void aSaleOfThreeLinesIsPostedWhole()
    {
        const auto [screen, option, tendered, shown, posted] =
            table::fetch<QString, int, QString, QString, QVariantMap>();
        auto&& [folder, t, screens, c] = AtTheCounter(screen);
        sellTheSmallSale(c);
        QCOMPARE(c.texts({"Text3", "Text10", "Text11"}), (QStringList{"3,540", "3,278", "262"}));
        c.option(option);
        QCOMPARE(screens.button("RSBTN")->text(), QString(option == 1 ? "レシート" : "売掛情報"));
        c.tender(tendered);
        QCOMPARE(c.texts({"Text9", "focus"}), (QStringList{shown, "RSBTN"}));
        c.post();
        QCOMPARE(rows(t, "SELECT * FROM MOMURA"), QList<QVariantMap>{posted});
        QList<QVariantMap> lines{
            saleLine("001", Bread, "食パン", "1", "101", {926, 926, 1, 1000, 74, 1000, 74, 700}),
            saleLine("002", Milk, "牛乳", "2", "205", {1852, 926, 2, 2000, 148, 1000, 74, 100}),
            saleLine("003", Tea, "お茶", "1", "101", {500, 500, 1, 540, 40, 540, 40, 100})};
        for (QVariantMap& line : lines) {
            line["CF06"] = screen == "MUK4UT11" ? "9" : " ";
            line["CF28"] = 0.08;
        }
        QCOMPARE(rows(t, "SELECT * FROM MOVURA ORDER BY CF04"), lines);
        // A credit record holds the base total.
        QVariantMap credit = posted;
        credit["CF18"] = 3278.0;
        QCOMPARE(rows(t, "SELECT * FROM MDMURK"),
                 option == 1 ? QList<QVariantMap>{} : QList<QVariantMap>{credit});
        QCOMPARE(
            row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'receipt'").values(),
            (QVariantList{"612", "00042", "20261215", "10:15:30"}));
        // A cash sale is ready for the next customer; one with credit closes.
        QCOMPARE(screens.current()->code(), option == 1 ? screen : QString("MUK4SC01"));
        if (option != 1)
            return;
        QCOMPARE(c.texts({"Text2", "Text3", "Text10", "Text11", "focus"})
                     << QString::number(screens.gridRows().size()),
                 (QStringList{"61200043", "", "", "", "Text4", "0"}));
    }

    void theTenderedAmountIsCheckedAgainstTheKind()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        sellTheSmallSale(c);
        const QString shortfall = "お預り金額が足りません。";
        const QString partial = "計算が合いません。（内金＋売掛？）";
        // Kind, amount, message (none: accepted), change or credit shown.
        const std::tuple<int, QString, QString, QString> cases[] = {
            {1, "3539", shortfall, "-1"},
            {1, "", shortfall, "-3,540"},
            {1, "3540", {}, "0"},
            {2, "3540", partial, "0"},
            {2, "0", partial, "3,540"},
            {2, "3539", {}, "1"},
            {3, "1", "計算が合いません。（売掛？）", "3,539"}};
        for (const auto& [option, tendered, message, shown] : cases) {
            c.option(option);
            MessageBoxes boxes;
            c.tender(tendered);
            // A refused amount stays to be typed over, its shortfall in red;
            // what goes on credit shows in olive.
            const bool refused = !message.isEmpty();
            QCOMPARE(boxes.texts(), refused ? QStringList{message} : QStringList{});
            QCOMPARE(c.texts({"Text9", "focus", "Text8"}) << screens.usable({"RSBTN"}),
                     (QStringList{shown, refused ? "Text8" : "RSBTN",
                                  tendered.isEmpty() ? "0" : tendered}
                      << (refused ? QStringList{} : QStringList{"RSBTN"})));
            QCOMPARE(screens.find<QLineEdit>("Text9")->palette().color(QPalette::Text),
                     refused       ? QColor(0xFF, 0x00, 0x00)
                     : option == 1 ? screens.current()->palette().color(QPalette::Text)
                                   : QColor(0xC0, 0xC0, 0x00));
        }
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
        QCOMPARE(c.texts({"focus", "Text8"}), (QStringList{"Text8", "1000"}));
        QVERIFY(c.field("Text8")->alignment() & Qt::AlignLeft);
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

    void aListedLineIsChangedInPlaceAndTheCounterGoesOn()
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
        // A payment takes the next number of the same counter; a sale left
        // open on the way there is dropped.
        c.sell(Bread);
        functionKey(c.field("Text4"), Qt::Key_F4);
        screens.settle();
        c.book("0001", "1", "300");
        c.tender("300");
        c.post();
        QCOMPARE(row(t, "SELECT (SELECT count(*) FROM MOMURA) AS a, (SELECT CF03 FROM MOMSYK) AS b")
                     .values(),
                 (QVariantList{2, "61200044"}));
    }

    void choosingTheCashierWritesChargeAndStartsAfresh()
    {
        // The cashier on duty shows as stored, even without a name.
        auto&& [folder, t, screens, c] =
            AtTheCounter("MUK4UT01", [](Database& db) { setParameter(db, "charge", "0003", " "); });
        auto* staff = screens.find<QComboBox>("CB1");
        QCOMPARE((QVariantList{staff->count(), staff->currentIndex(), staff->placeholderText()}),
                 (QVariantList{2, -1, " "}));
        c.sell(Bread);
        choose(staff, 1);
        QCOMPARE(row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'charge'").values(),
                 (QVariantList{"0007", "鈴木", "20261215", "10:15:30"}));
        QCOMPARE(c.texts({"LabelN", "focus", "Text3", "Text10", "Text11"})
                     << QString::number(screens.gridRows().size()),
                 (QStringList{"0007", "Text4", "", "", "", "0"}));
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
        table::columns<bool, QString>();
        table::add("duplicate", true, "データベースが壊れています。(REC DUPL)");
        table::add("locked", false, "売上を登録できませんでした。");
        // The server ends the counter's connection: the next try connects again.
        if (ProgramFolder::onServer())
            table::add("cut", false, "売上を登録できませんでした。");
    }

    void aPostingThatFailsWritesNothing()
    {
        const auto [duplicate, message] = table::fetch<bool, QString>();
        const bool cut = QTest::currentDataTag() == QLatin1String("cut");
        auto&& [folder, t, screens, c] = AtTheCounter();
        const QString hold = t.db().onServer()
                                 ? "BEGIN; SELECT 1 FROM MBMSYS WHERE CB01 = 'receipt' FOR UPDATE"
                                 : "BEGIN IMMEDIATE";
        QVERIFY(cut || t.db()
                           .execute(duplicate ? "INSERT INTO MDMURK (CF01, CF02, CF03) VALUES "
                                                "('01', '01', '61200042')"
                                              : hold)
                           .ok());
        c.sell(Bread);
        c.option(duplicate ? 3 : 1);
        c.tender(duplicate ? "0" : "2000");
        QVERIFY(!cut || t.db()
                            .execute("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                     "WHERE datname = current_database() AND pid <> "
                                     "pg_backend_pid()")
                            .ok());
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
        QVERIFY(cut || t.db().execute("ROLLBACK").ok());
        c.post();
        QCOMPARE(row(t, "SELECT CF03, CF10 FROM MOMURA"),
                 (QVariantMap{{"CF03", "61200042"}, {"CF10", 2000.0}}));
        QCOMPARE(count(t, "MOVURA"), 1);
    }

    // A sale on credit closes the screen: what the operator should know of
    // its receipt comes in a box instead of the message line.
    void theReceiptComesAfterThePostingAndItsOutcomeIsShown_data()
    {
        // The printer, the kind (0: a payment), the outcome, the note.
        table::columns<QString, int, ReceiptOutcome, QString>();
        using Kind = ReceiptOutcome::Kind;
        auto add = [](const char* name, const char* printer, int option,
                      const ReceiptOutcome& outcome,
                      const char* note) { table::add(name, printer, option, outcome, note); };
        add("printed", "01", 1, {Kind::Printed, {}, {}, {}}, "レシートを印刷しました。");
        add("failed", "01", 1, {Kind::Failed, {}, "テンプレートが壊れています。", {}},
            "売上は登録しました。レシートを作成できませんでした：テンプレートが壊れています。");
        add("switched off", "1", 1, {Kind::Printed, {}, {}, {}}, "商品コードを入力してください。");
        add("payment failed", "01", 0, {Kind::Failed, {}, "プリンタが応答しません。", {}},
            "支払は登録しました。レシートを作成できませんでした：プリンタが応答しません。");
        add("credit, printed but not kept", "01", 3,
            {Kind::Printed, {}, "テンプレートに保存できませんでした。", {}},
            "レシートを印刷しました。　テンプレートに保存できませんでした。");
    }

    void theReceiptComesAfterThePostingAndItsOutcomeIsShown()
    {
        const auto [printer, option, outcome, note] =
            table::fetch<QString, int, ReceiptOutcome, QString>();
        auto&& [folder, t, screens, c] =
            AtTheCounter(option == 0 ? "MUK4UT06" : "MUK4UT01",
                         [&printer](Database& db) { setParameter(db, "printer", printer); });
        ReceiptsSeen receipts(outcome);
        MessageBoxes boxes;
        if (option == 0) {
            c.book("0001", "1", "300");
            c.tender("300");
        } else {
            c.sell(Bread, "3");
            c.sell(Special);
            c.option(option);
            c.tender(option == 3 ? "0" : "5000");
        }
        c.post();
        QCOMPARE(option == 3 ? boxes.texts().value(0) : screens.label("LabelM"), note);
        QCOMPARE(count(t, option == 0 ? "MOMSYK" : "MOMURA"), 1);
        if (option == 0)
            QCOMPARE(receipts.movements.value(0).direction, CashDirection::Payment);
        QCOMPARE(receipts.sales.size(), printer == "1" || option == 0 ? 0 : 1);
        if (option != 1 || printer == "1")
            return;
        QCOMPARE(c.text("Text2"), QString("61200043"));
        const FinishedSale& sale = receipts.sales.value(0);
        QCOMPARE((QVariantList{sale.receiptNumber, sale.staffName, sale.lines.value(0).quantityText,
                               sale.lines.size(), sale.lines.value(1).unitPrice, sale.amountDue,
                               sale.tendered, sale.difference, sale.moment, sale.isReturn}),
                 (QVariantList{"61200042", "佐藤", "3", 2, 500.0, 3500.0, 5000.0, 1500.0,
                               Clock::now(), false}));
    }

    // No printer in the tests: the receipt becomes a PDF in the program
    // folder, and the template keeps the transaction.
    void theReceiptLayerWritesTheTemplateAndThePdf()
    {
        auto&& [folder, t, screens, c] =
            AtTheCounter("MUK4UT11", [](Database& db) { setParameter(db, "printer", "01"); });
        c.sell(Bread, "3", "1200");
        c.tender("3600");
        c.post();
        const QString pdf = QDir::toNativeSeparators(folder.path() + "/receipts/61200042.pdf");
        QCOMPARE(screens.label("LabelM"),
                 QString("プリンタがないため、レシートをPDFに保存しました：") + pdf);
        QVERIFY(QFile::exists(folder.path() + "/MUK4ECR1.xlsx"));
        const QString text = pdfText(pdf);
        for (const char* printed : {"61200042", "<返品>", "食パン", "3,600"})
            QVERIFY2(text.contains(printed), qPrintable(text));
    }

    // A bakery's paper bag at 10% and bun at 8%: a line keeps the rate of its
    // product's class when it was entered, even once the class has changed;
    // the receipt gets each line's class and the shop's registration number.
    void eachLineIsTaxedAtItsProductsRate_data()
    {
        table::columns<QString>();
        table::add("sale", "MUK4UT01");
        table::add("return", "MUK4UT11");
    }

    void eachLineIsTaxedAtItsProductsRate()
    {
        const auto [screen] = table::fetch<QString>();
        const QString bag = "4900000000103", bun = "4900000000110";
        auto&& [folder, t, screens, c] = AtTheCounter(screen, [&](Database& db) {
            setParameter(db, "tax", "0.10", "0.08");
            setParameter(db, "invoice", "T9234567890123");
            setParameter(db, "printer", "01");
            addCounterProduct(db, bag, "紙袋", "1100");
            addCounterProduct(db, bun, "あんパン", "1080", {{"CB25", "1"}});
        });
        ReceiptsSeen receipts;
        c.sell(bag);
        typeOver(c.field("Text4"), bun);
        enter(c.field("Text4"));
        QCOMPARE(c.texts({"LabelV"}), QStringList{" 1000  100"});
        c.sell(bun);
        QVERIFY(t.db().execute("UPDATE MBMSHO SET CB25 = '0'").ok());
        clickRow(screens.find<QTableWidget>("FG1"), 1);
        c.sell(bun, "1");
        QCOMPARE(screens.gridRows().value(1).value(2), QString("あんパン ※"));
        QCOMPARE(c.texts({"Text10", "Text11", "Text3"}), (QStringList{"2,000", "180", "2,180"}));
        c.tender("2180");
        c.post();
        QCOMPARE(rows(t, "SELECT CF14, CF28 FROM MOVURA ORDER BY CF04"),
                 (QList<QVariantMap>{{{"CF14", 1000.0}, {"CF28", 0.1}},
                                     {{"CF14", 1000.0}, {"CF28", 0.08}}}));
        QCOMPARE(row(t, "SELECT CF17 FROM MOMURA").value("CF17"), 180.0);
        const FinishedSale sale = receipts.sales.value(0);
        QCOMPARE(
            (QVariantList{sale.lines.value(0).reduced, sale.lines.value(1).reduced,
                          sale.lines.value(1).taxRate, sale.standardRate, sale.registrationNumber}),
            (QVariantList{false, true, 0.08, 0.10, "T9234567890123"}));
    }

    // The list holds 100 lines and the total eight digits, as the register
    // shows it and takes it as tendered; a line past either is refused.
    void theLineListKeepsToItsLimits_data()
    {
        table::columns<QString, QString>();
        table::add("sale", "MUK4UT01", "MOMURA");
        table::add("deposit", "MUK4UT05", "MOMNYK");
    }

    void theLineListKeepsToItsLimits()
    {
        const auto [screen, header] = table::fetch<QString, QString>();
        auto&& [folder, t, screens, c] = AtTheCounter(screen);
        auto line = [&c, sale = screen == "MUK4UT01"](const char* amount, const char* quantity) {
            sale ? c.sell(Tea, quantity, amount) : c.book("0001", "1", amount, quantity);
        };
        line("999999", "100");
        MessageBoxes boxes;
        line("100", "1");
        QCOMPARE(boxes.texts(), QStringList{"金額は99,999,999までです。この行は登録できません。"});
        QCOMPARE(c.texts({"focus", "Text3"}), (QStringList{"Text7", "99,999,900"}));
        QCOMPARE(c.field("Text7")->selectedText(), QString("1"));
        for (int i = 0; i < 100; ++i)
            line("1", "1");
        QCOMPARE(screens.gridRows().size(), 100);
        QCOMPARE(c.texts({"LabelM", "Text3"}),
                 (QStringList{"明細は100行までです。この行は追加できません。", "99,999,999"}));
        // The whole total is proposed and taken.
        QTest::keyClick(c.field("Text4"), '+');
        enter(c.field("Text8"));
        c.post();
        QCOMPARE(row(t, "SELECT CF04, CF09, CF10 FROM " + header),
                 (QVariantMap{{"CF04", "100"}, {"CF09", 99999999.0}, {"CF10", 99999999.0}}));
        QCOMPARE(count(t, "MOV" + header.mid(3)), 100);
    }
};

QTEST_MAIN(SalesTest)
#include "test_sales.moc"
