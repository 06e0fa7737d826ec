#include "CounterSupport.h"

#include "pos/ReceiptRows.h"

class CashTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 15), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void codesAreLookedUpWithTheirHelpLines()
    {
        // The store's name is cut to its field, as is the account's.
        auto&& [folder, t, screens, c] = AtTheCounter("MUK4UT05", [](Database& db) {
            setParameter(db, "store", "01", "駅前通り商店街本店");
        });
        QCOMPARE(c.texts({"Text1", "LabelS"}),
                 (QStringList{"駅前通り商店街本", "0001 釣銭準備金　　 0003 𠮷野家の仕入代 "}));
        QCOMPARE(screens.usable({"FG1", "Text8", "RSBTN", "RTBTN"}), QStringList{"RTBTN"});
        MessageBoxes boxes;
        // The account code is taken exactly as typed.
        typeInto(c.field("Text4"), "1");
        enter(c.field("Text4"));
        QCOMPARE(boxes.texts(), QStringList{"科目コードが不正です。"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(c.texts({"Text5"}) << c.field("Text4")->selectedText(),
                 (QStringList{"MRNF", "1"}));
        typeInto(c.field("Text4"), "0003");
        enter(c.field("Text4"));
        QCOMPARE(c.texts({"focus", "Text5", "LabelS"}),
                 (QStringList{"Text10", "𠮷野家の仕入代", ""}));
        enter(c.field("Text10"));
        QCOMPARE(c.text("Text10"), QString(" "));
        QCOMPARE(screens.label("LabelS"), "0001 丸山商事" + QString(4, u'\u3000') + "    " +
                                              "0005 配送" + QString(6, u'\u3000') + "    ");
        // The partner code is filled with zeros.
        typeInto(c.field("Text11"), "9");
        enter(c.field("Text11"));
        QCOMPARE(boxes.texts().last(), QString("取引先コードが不正です。"));
        QCOMPARE(c.texts({"Text11", "Text12"}), (QStringList{"0009", "MRNF"}));
        typeInto(c.field("Text11"), "5");
        enter(c.field("Text11"));
        QCOMPARE(c.texts({"focus", "Text12", "Text6"}), (QStringList{"Text6", "配送", "0"}));
        QCOMPARE(boxes.seen().size(), 2);
    }

    void anAmountThatAddsNothingIsMarked()
    {
        auto&& [folder, t, screens, c] = AtTheCounter("MUK4UT05");
        const std::tuple<QString, QString, QString> amounts[] = {
            {"-50", "-50", "*"}, {"000", "0", "*"}, {"", "0", "*"}, {" 1 2", "12", ""}};
        for (const auto& [typed, shown, mark] : amounts) {
            c.book("0001", "1", typed, "2");
            QCOMPARE(screens.gridRows().last().value(6), shown);
            c.field("Text6")->setFocus();
            typeOver(c.field("Text6"), typed);
            enter(c.field("Text6"));
            QCOMPARE(c.texts({"Text6", "LabelZ", "Text7", "focus"}),
                     (QStringList{shown, mark, "1", "Text7"}));
        }
    }

    void anIncompleteLineSendsTheFocusToItsFirstGap()
    {
        auto&& [folder, t, screens, c] = AtTheCounter("MUK4UT05");
        auto* grid = screens.find<QTableWidget>("FG1");
        c.field("Text7")->setFocus();
        enter(c.field("Text7"));
        QCOMPARE(c.texts({"focus", "Text5"}), (QStringList{"Text4", "**"}));
        // An emptied quantity is no line either.
        c.book("0001", "1", "100", "");
        QCOMPARE(c.texts({"focus"}) << screens.usable({"FG1"}), QStringList{"Text7"});
        typeInto(c.field("Text7"), "1");
        enter(c.field("Text7"));
        QVERIFY(grid->isEnabled());
        // A partner code typed over and never confirmed is no partner.
        c.book("0001", "5", "100", "");
        typeOver(c.field("Text11"), "0001");
        c.field("Text7")->setFocus();
        enter(c.field("Text7"));
        QVERIFY(c.field("Text11")->hasFocus());
        QCOMPARE(screens.gridRows().size(), 1);
    }

    void aLineShowsInTheGridAndOnTheReceipt()
    {
        auto&& [folder, t, screens, c] =
            AtTheCounter("MUK4UT05", [](Database& db) { setParameter(db, "printer", "01"); });
        ReceiptsSeen receipts;
        c.book("0001", "1", "1200", "3", "両替");
        QCOMPARE(screens.gridRows(), (QList<QStringList>{{"1", "0001", "釣銭準備金", "両替", "0001",
                                                          "丸山商事", "1,200", "3", "3,600"}}));
        QCOMPARE(c.text("Text3"), QString("3,600"));
        QTest::keyClick(c.field("Text4"), '+');
        QCOMPARE(c.text("Text8"), QString(" 3600"));
        // A shortfall is refused and the total proposed again, lined up on
        // the right while it is typed, as every figure of this screen.
        MessageBoxes boxes;
        typeOver(c.field("Text8"), "3599");
        enter(c.field("Text8"));
        QCOMPARE(boxes.texts(), QStringList{"お預り金額が足りません。"});
        QCOMPARE(c.texts({"Text9", "Text8", "focus"}), (QStringList{"-1", " 3600", "Text8"}));
        QVERIFY(c.field("Text8")->alignment() & Qt::AlignRight);
        typeOver(c.field("Text8"), "4000");
        enter(c.field("Text8"));
        QCOMPARE(screens.label("LabelM"), QString("レシートボタンをクリックしてください。"));
        c.post();
        QCOMPARE(receipts.movements.size(), 1);
        QStringList written;
        for (const ReceiptCell& cell : ReceiptRows::cash(receipts.movements[0]).cells) {
            if (const auto* text = std::get_if<QString>(&cell.value); text && cell.column == u'A')
                written << QStringLiteral("A%1 %2").arg(cell.row).arg(*text);
        }
        QCOMPARE(written.mid(0, 3),
                 (QStringList{"A6 釣銭準備金", "A7   ×3  @ 1,200", "A8 0001  0001"}));
        QCOMPARE(written.mid(3, 4),
                 (QStringList{"A9 入金計", "A10 お預り金", "A11 お釣り", "A13 レシート.61200042"}));
        QCOMPARE(screens.label("LabelM"), QString("レシートを印刷しました。"));
    }

    void aChangedLineKeepsTheNextLineNumber()
    {
        auto&& [folder, t, screens, c] = AtTheCounter("MUK4UT05");
        c.book("0001", "1", "100");
        c.book("0003", "5", "200", "2");
        c.book("0001", "5", "300");
        clickRow(screens.find<QTableWidget>("FG1"), 1);
        QCOMPARE(c.texts({"focus", "LabelAPF", "Text12"}),
                 (QStringList{"Text4", "●  修正", "配送"}));
        for (const char* name : {"Text4", "Text10", "Text11", "Text6"})
            enter(c.field(name));
        typeOver(c.field("Text7"), "5");
        enter(c.field("Text7"));
        QCOMPARE(screens.gridRows().size(), 3);
        QCOMPARE(screens.gridRows().value(1), (QStringList{"2", "0003", "𠮷野家の仕入代", " ",
                                                           "0005", "配送", "200", "5", "1,000"}));
        QCOMPARE(c.text("Text3"), QString("1,400"));
        c.book("0001", "1", "1");
        QCOMPARE(screens.gridRows().last().first(), QString("4"));
    }

    void aMovementIsPostedWholeWithTaxAsAShareOfTheAmount_data()
    {
        // screen, header, lines
        table::columns<QString, QString, QString>();
        QTest::newRow("deposit") << QString("MUK4UT05") << QString("MOMNYK") << QString("MOVNYK");
        QTest::newRow("payment") << QString("MUK4UT06") << QString("MOMSYK") << QString("MOVSYK");
    }

    void aMovementIsPostedWholeWithTaxAsAShareOfTheAmount()
    {
        const auto [screen, header, lines] = table::fetch<QString, QString, QString>();
        auto&& [folder, t, screens, c] =
            AtTheCounter(screen, [](Database& db) { setParameter(db, "tax", "0.05"); });
        c.book("0003", "5", "1000");
        c.tender("1500");
        c.post();
        QCOMPARE(rows(t, "SELECT * FROM " + header),
                 QList<QVariantMap>{
                     stored(header, {"01",       "01",       "61200042", "001",      "0003",    " ",
                                     "70000",    " ",        1000.0,     1500.0,     500.0,     " ",
                                     1000.0,     0.0,        " ",        950.0,      50.0,      " ",
                                     "20261215", "20261215", "10:15:30", "20261215", "10:15:30"})});
        QCOMPARE(
            rows(t, "SELECT * FROM " + lines),
            QList<QVariantMap>{stored(lines, {"01",       "01",       "61200042", "001",
                                              "0003",     " ",        "0003",     "𠮷野家の仕入代",
                                              " ",        "0005",     "配送",     " ",
                                              1000.0,     1000.0,     1.0,        " ",
                                              950.0,      50.0,       950.0,      50.0,
                                              "**",       " ",        "20261215", "20261215",
                                              "10:15:30", "20261215", "10:15:30"})});
        QCOMPARE(count(t, "MOMNYK") + count(t, "MOMSYK"), 1);
        QCOMPARE(c.texts({"Text2"}) << screens.usable({"FG1", "Text8", "RSBTN"}),
                 QStringList{"61200043"});
    }
};

QTEST_MAIN(CashTest)
#include "test_cash.moc"
