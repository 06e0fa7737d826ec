#include "CounterSupport.h"
#include "ReceiptFixture.h"

#include "data/Clock.h"
#include "pos/ReceiptRows.h"

#include <QDir>
#include <QLabel>
#include <QSqlQuery>
#include <QTableWidget>

namespace {
const QString DepositKeys = "F1.売上POSトランザクション    F4.支払POSトランザクション     "
                            "F5.返品POSトランザクション    F10.Return";
// Accounts 0000 (never listed), 0001, and 0003 whose name is longer than the
// screen shows; partners 0001 and 0005.
void addCodes(Database& db)
{
    addCashCode(db, "MBMKJM", "0000", "雑収入", "雑収入");
    addCashCode(db, "MBMKJM", "0001", "釣銭準備金", "釣銭");
    addCashCode(db, "MBMKJM", "0003", "𠮷野家の仕入代金", "仕入");
    addCashCode(db, "MBMKJT", "0001", "株式会社　丸山商事", "丸山商事");
    addCashCode(db, "MBMKJT", "0005", "配送センター", "配送");
}

struct AtTheCash : AtTheCounter {
    explicit AtTheCash(const QString& screen = "MUK4UT05", double tax = 0.08)
        : AtTheCounter(screen, [tax](Database& db) {
              addCodes(db);
              setParameter(db, "tax", QString::number(tax));
          })
    {
    }
    // Account, memo, partner, amount and quantity, each confirmed with Enter.
    void book(const QString& account, const QString& partner, const QString& amount,
              const QString& quantity = "1", const QString& memo = "")
    {
        c.field("Text4")->setFocus();
        for (const auto& [name, text] : {std::pair{"Text4", account},
                                         {"Text10", memo},
                                         {"Text11", partner},
                                         {"Text6", amount},
                                         {"Text7", quantity}}) {
            typeOver(c.field(name), text);
            enter(c.field(name));
        }
    }
};
} // namespace

class CashTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 15), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void codesAreLookedUpWithTheirHelpLines()
    {
        AtTheCash at;
        auto& c = at.c;
        auto& screens = at.screens;
        QCOMPARE(screens.label("Label1"), QString("入金POSトランザクション"));
        QCOMPARE(screens.label("LabelPFK"), DepositKeys);
        QCOMPARE(screens.label("LabelS"), QString("0001 釣銭準備金　　 0003 𠮷野家の仕入代 "));
        QCOMPARE(screens.button("RSBTN")->text(), QString("レシ－ト"));
        QCOMPARE(screens.usable({"FG1", "Text8", "RSBTN", "RTBTN"}), QStringList{"RTBTN"});
        MessageBoxes boxes;
        // The account code is taken exactly as typed.
        typeInto(c.field("Text4"), "1");
        enter(c.field("Text4"));
        QCOMPARE(boxes.texts(), QStringList{"科目コードが不正です。"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::NoIcon);
        QVERIFY(boxes.seen()[0].title != "MESSAGE");
        QCOMPARE(c.text("Text5"), QString("MRNF"));
        QCOMPARE(c.field("Text4")->selectedText(), QString("1"));
        typeInto(c.field("Text4"), "0003");
        enter(c.field("Text4"));
        QCOMPARE(c.text("Text5"), QString("𠮷野家の仕入代"));
        QVERIFY(c.field("Text10")->hasFocus());
        QCOMPARE(screens.label("LabelS"), QString());
        QCOMPARE(screens.label("LabelPFK"), QString("F10.Return"));
        QCOMPARE(screens.label("LabelM"), QString("摘要を入力してください。"));
        enter(c.field("Text10"));
        QCOMPARE(c.text("Text10"), QString(" "));
        // The partner code is filled with zeros.
        QCOMPARE(screens.label("LabelS"), "0001 丸山商事" + QString(4, u'\u3000') + "    " +
                                              "0005 配送" + QString(6, u'\u3000') + "    ");
        typeInto(c.field("Text11"), "9");
        enter(c.field("Text11"));
        QCOMPARE(boxes.texts().last(), QString("取引先コードが不正です。"));
        QCOMPARE(c.text("Text11"), QString("0009"));
        QCOMPARE(c.text("Text12"), QString("MRNF"));
        typeInto(c.field("Text11"), "5");
        enter(c.field("Text11"));
        QCOMPARE(c.text("Text12"), QString("配送"));
        QVERIFY(c.field("Text6")->hasFocus());
        QCOMPARE(c.text("Text6"), QString("0"));
        QCOMPARE(screens.label("LabelM"), QString("売単価を入力してください。"));
        QCOMPARE(boxes.seen().size(), 2);
    }

    void anAmountThatAddsNothingIsMarked_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("mark");
        QTest::newRow("negative") << "-50"
                                  << "-50"
                                  << "*";
        QTest::newRow("zero") << "000"
                              << "0"
                              << "*";
        QTest::newRow("emptied") << ""
                                 << "0"
                                 << "*";
        QTest::newRow("positive") << " 1 2"
                                  << "12"
                                  << "";
    }

    void anAmountThatAddsNothingIsMarked()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, mark);
        AtTheCash at;
        at.book("0001", "1", typed, "2");
        QCOMPARE(at.screens.gridRows().value(0).value(6), shown);
        at.c.field("Text6")->setFocus();
        typeOver(at.c.field("Text6"), typed);
        enter(at.c.field("Text6"));
        QCOMPARE(at.c.text("Text6"), shown);
        QCOMPARE(at.screens.label("LabelZ"), mark);
        QVERIFY(at.c.field("Text7")->hasFocus());
        QCOMPARE(at.c.text("Text7"), QString("1"));
    }

    void anIncompleteLineSendsTheFocusToItsFirstGap()
    {
        AtTheCash at;
        auto& c = at.c;
        c.field("Text7")->setFocus();
        enter(c.field("Text7"));
        QVERIFY(c.field("Text4")->hasFocus());
        QCOMPARE(c.text("Text5"), QString("**"));
        QVERIFY(at.screens.find<QLabel>("LabelAPF")->styleSheet().contains("#004000"));
        // An emptied quantity is no line either.
        at.book("0001", "1", "100", "");
        QVERIFY(c.field("Text7")->hasFocus());
        QVERIFY(!at.screens.find<QTableWidget>("FG1")->isEnabled());
        typeInto(c.field("Text7"), "1");
        enter(c.field("Text7"));
        QVERIFY(at.screens.find<QTableWidget>("FG1")->isEnabled());
        // A partner code typed over and never confirmed is no partner.
        for (const char* name : {"Text4", "Text10", "Text11"}) {
            typeInto(c.field(name), name == QLatin1String("Text11") ? "5" : "0001");
            enter(c.field(name));
        }
        typeOver(c.field("Text11"), "0001");
        c.field("Text7")->setFocus();
        enter(c.field("Text7"));
        QVERIFY(c.field("Text11")->hasFocus());
        QCOMPARE(at.screens.gridRows().size(), 1);
    }

    void aLineShowsInTheGridAndOnTheReceipt_data()
    {
        QTest::addColumn<QString>("tendered");
        QTest::addColumn<QStringList>("closing");
        QTest::newRow("tendered exactly: no change row")
            << ""
            << QStringList{"A8 0001  0001", "A9 入金計", "A10 お預り金", "A12 レシート.61200042"};
        QTest::newRow("with change") << "4000"
                                     << QStringList{"A8 0001  0001", "A9 入金計", "A10 お預り金",
                                                    "A11 お釣り", "A13 レシート.61200042"};
    }

    void aLineShowsInTheGridAndOnTheReceipt()
    {
        QFETCH(QString, tendered);
        QFETCH(QStringList, closing);
        AtTheCash at;
        setParameter(at.t, "printer", "01");
        at.screens.show("MUK4UT05");
        ReceiptsSeen receipts;
        at.book("0001", "1", "1200", "3", "両替");
        QCOMPARE(at.screens.gridRows(),
                 (QList<QStringList>{{"1", "0001", "釣銭準備金", "両替", "0001", "丸山商事",
                                      "1,200", "3", "3,600"}}));
        QCOMPARE(at.c.text("Text3"), QString("3,600"));
        QTest::keyClick(at.c.field("Text4"), '+');
        QCOMPARE(at.c.text("Text8"), QString(" 3600"));
        if (!tendered.isEmpty())
            typeOver(at.c.field("Text8"), tendered);
        enter(at.c.field("Text8"));
        QCOMPARE(at.screens.label("LabelM"), QString("レシートボタンをクリックしてください。"));
        at.c.post();
        QCOMPARE(receipts.movements.size(), 1);
        QStringList written;
        for (const ReceiptCell& cell : ReceiptRows::cash(receipts.movements[0]).cells) {
            if (const auto* text = std::get_if<QString>(&cell.value); text && cell.column == u'A')
                written << QStringLiteral("A%1 %2").arg(cell.row).arg(*text);
        }
        QCOMPARE(written.mid(0, 2), (QStringList{"A6 釣銭準備金", "A7   ×3  @ 1,200"}));
        QCOMPARE(written.mid(2, closing.size()), closing);
        QCOMPARE(at.screens.label("LabelM"), QString("レシートを印刷しました。"));
    }

    void theTenderIsOpenedByPlusAndCheckedAsCash()
    {
        AtTheCash at;
        auto& c = at.c;
        QTest::keyClick(c.field("Text4"), '+');
        QVERIFY(c.field("Text4")->hasFocus());
        QVERIFY(!c.field("Text8")->isEnabled());
        at.book("0001", "1", "500", "2");
        QTest::keyClick(c.field("Text4"), '+');
        QVERIFY(c.field("Text8")->hasFocus());
        QCOMPARE(at.screens.label("LabelS"), QString());
        typeOver(c.field("Text8"), "999");
        MessageBoxes boxes;
        enter(c.field("Text8"));
        QCOMPARE(boxes.texts(), QStringList{"お預り金額が足りません。"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(c.text("Text9"), QString("-1"));
        QCOMPARE(at.screens.find<QLineEdit>("Text9")->palette().color(QPalette::Text),
                 QColor(0xFF, 0x00, 0x00));
        // The total is proposed again.
        QCOMPARE(c.text("Text8"), QString(" 1000"));
        QVERIFY(!at.screens.button("RSBTN")->isEnabled());
        enter(c.field("Text8"));
        QCOMPARE(c.text("Text9"), QString("0"));
        QVERIFY(at.screens.button("RSBTN")->hasFocus());
    }

    void aChangedLineKeepsTheNextLineNumber()
    {
        AtTheCash at;
        auto& c = at.c;
        at.book("0001", "1", "100");
        at.book("0003", "5", "200", "2");
        at.book("0001", "5", "300");
        clickRow(at.screens.find<QTableWidget>("FG1"), 1);
        QCOMPARE(at.screens.label("LabelAPF"), QString("●  修正"));
        QVERIFY(c.field("Text4")->hasFocus());
        QCOMPARE(c.text("Text12"), QString("配送"));
        for (const char* name : {"Text4", "Text10", "Text11", "Text6"})
            enter(c.field(name));
        typeOver(c.field("Text7"), "5");
        enter(c.field("Text7"));
        QCOMPARE(at.screens.gridRows().size(), 3);
        QCOMPARE(
            at.screens.gridRows().value(1),
            (QStringList{"2", "0003", "𠮷野家の仕入代", " ", "0005", "配送", "200", "5", "1,000"}));
        QCOMPARE(c.text("Text3"), QString("1,400"));
        at.book("0001", "1", "1");
        QCOMPARE(at.screens.gridRows().last().first(), QString("4"));
    }

    void aMovementIsPostedWholeWithTaxAsAShareOfTheAmount_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("lines");
        QTest::newRow("deposit") << "MUK4UT05"
                                 << "MOMNYK"
                                 << "MOVNYK";
        QTest::newRow("payment") << "MUK4UT06"
                                 << "MOMSYK"
                                 << "MOVSYK";
    }

    void aMovementIsPostedWholeWithTaxAsAShareOfTheAmount()
    {
        QFETCH(QString, screen);
        QFETCH(QString, header);
        QFETCH(QString, lines);
        AtTheCash at(screen, 0.05);
        at.book("0003", "5", "1000");
        at.c.tender("1500");
        at.c.post();
        QCOMPARE(rows(at.t, "SELECT * FROM " + header),
                 QList<QVariantMap>{
                     stored(header, {"01",       "01",       "61200042", "001",      "0003",    " ",
                                     "70000",    " ",        1000.0,     1500.0,     500.0,     " ",
                                     1000.0,     0.0,        " ",        950.0,      50.0,      " ",
                                     "20261215", "20261215", "10:15:30", "20261215", "10:15:30"})});
        QCOMPARE(
            rows(at.t, "SELECT * FROM " + lines),
            QList<QVariantMap>{stored(lines, {"01",       "01",       "61200042", "001",
                                              "0003",     " ",        "0003",     "𠮷野家の仕入代",
                                              " ",        "0005",     "配送",     " ",
                                              1000.0,     1000.0,     1.0,        " ",
                                              950.0,      50.0,       950.0,      50.0,
                                              "**",       " ",        "20261215", "20261215",
                                              "10:15:30", "20261215", "10:15:30"})});
        const QString other = header == "MOMNYK" ? "MOMSYK" : "MOMNYK";
        QCOMPARE(count(at.t, other), 0);
        QCOMPARE(row(at.t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant("00042"));
        QCOMPARE(at.c.text("Text2"), QString("61200043"));
        QCOMPARE(at.screens.usable({"FG1", "Text8", "RSBTN"}), QStringList{});
    }

    void paymentsAndDepositsShareTheReceiptSequence_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("deposit");
        QTest::newRow("41") << "00041"
                            << "61200042"
                            << "61200043";
        QTest::newRow("99999 wraps") << "99999"
                                     << "61200000"
                                     << "61200001";
    }

    void paymentsAndDepositsShareTheReceiptSequence()
    {
        QFETCH(QString, last);
        QFETCH(QString, payment);
        QFETCH(QString, deposit);
        AtTheCash at("MUK4SC01");
        setParameter(at.t, "receipt", "612", last);
        at.screens.click("APCBTN04");
        QCOMPARE(at.screens.current()->code(), QString("MUK4UT06"));
        QCOMPARE(at.screens.label("Label1"), QString("支払POSトランザクション"));
        QCOMPARE(at.screens.named("支払額")->objectName(), QString("Text6"));
        at.book("0001", "1", "300");
        at.c.tender("300");
        at.c.post();
        functionKey(at.c.field("Text4"), Qt::Key_F2);
        QCOMPARE(at.screens.settle()->code(), QString("MUK4UT05"));
        at.book("0001", "1", "700");
        at.c.tender("700");
        at.c.post();
        QCOMPARE(row(at.t, "SELECT CF03 FROM MOMSYK").value("CF03").toString(), payment);
        QCOMPARE(row(at.t, "SELECT CF03 FROM MOMNYK").value("CF03").toString(), deposit);
        QCOMPARE(row(at.t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant(deposit.right(5)));
        // Today's takings on the main menu count them.
        at.screens.click("RTBTN");
        QCOMPARE(at.screens.current()->code(), QString("MUK4SC01"));
        for (const auto& [caption, amount] : {std::pair{"入金", "700"}, {"支払", "300"}}) {
            auto* figure = qobject_cast<QLineEdit*>(at.screens.named(caption));
            QCOMPARE(figure ? figure->text() : QString(), QString(amount));
        }
    }

    void leavingDropsTheOpenPayment()
    {
        AtTheCash at("MUK4SC01");
        at.screens.click("APCBTN02");
        QCOMPARE(at.screens.current()->code(), QString("MUK4UT05"));
        functionKey(at.c.field("Text4"), Qt::Key_F4);
        QCOMPARE(at.screens.settle()->code(), QString("MUK4UT06"));
        at.book("0001", "1", "300");
        functionKey(at.c.field("Text4"), Qt::Key_F2);
        QCOMPARE(at.screens.settle()->code(), QString("MUK4UT05"));
        functionKey(at.c.field("Text4"), Qt::Key_F4);
        QCOMPARE(at.screens.settle()->code(), QString("MUK4UT06"));
        QCOMPARE(at.screens.gridRows().size(), 0);
        QCOMPARE(at.c.text("Text3"), QString());
        at.screens.click("RTBTN");
        QCOMPARE(at.screens.current()->code(), QString("MUK4SC01"));
        QCOMPARE(count(at.t, "MOMSYK") + count(at.t, "MOVSYK"), 0);
    }

    void aNameIsCutToItsField()
    {
        AtTheCash at("MUK4SC01");
        setParameter(at.t, "store", "01", "駅前通り商店街本店");
        at.screens.click("APCBTN02");
        QCOMPARE(at.c.text("Text1"), QString("駅前通り商店街本"));
        at.book("0003", "1", "10");
        QCOMPARE(at.screens.gridRows().value(0).value(2), QString("𠮷野家の仕入代"));
    }

    void aDuplicateReceiptWritesNothingAndEnds()
    {
        AtTheCash at("MUK4UT06");
        QSqlQuery(at.t.db().handle())
            .exec("INSERT INTO MOVSYK (CF01, CF02, CF03, CF04) VALUES ('01', '01', '61200042', "
                  "'009')");
        at.book("0001", "1", "300");
        at.c.tender("300");
        MessageBoxes boxes;
        at.c.post();
        QCOMPARE(boxes.texts(), QStringList{"データベースが壊れています。(REC DUPL)"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::NoIcon);
        QVERIFY(at.screens.ended());
        QCOMPARE(count(at.t, "MOMSYK"), 0);
        QCOMPARE(count(at.t, "MOVSYK"), 1);
        QCOMPARE(row(at.t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant("00041"));
    }

    void aFailedPostingKeepsTheDepositToPostAgain()
    {
        AtTheCash at;
        at.book("0001", "1", "300");
        at.c.tender("500");
        QVERIFY(at.t.db().execute("BEGIN IMMEDIATE").ok());
        MessageBoxes boxes;
        at.c.post();
        QCOMPARE(boxes.texts(), QStringList{"入金を登録できませんでした。"});
        QCOMPARE(at.screens.gridRows().size(), 1);
        QCOMPARE(at.c.text("Text9"), QString("200"));
        QVERIFY(at.screens.button("RSBTN")->isEnabled());
        QVERIFY(at.t.db().execute("ROLLBACK").ok());
        at.c.post();
        QCOMPARE(row(at.t, "SELECT CF03, CF10 FROM MOMNYK"),
                 (QVariantMap{{"CF03", "61200042"}, {"CF10", 500.0}}));
    }

    void aReceiptFailureLeavesThePostingAndANote()
    {
        AtTheCash at("MUK4UT06");
        setParameter(at.t, "printer", "01");
        at.screens.show("MUK4UT06");
        ReceiptsSeen receipts(ReceiptsSeen::failed("プリンタが応答しません。"));
        at.book("0001", "1", "300");
        at.c.tender("300");
        at.c.post();
        QCOMPARE(at.screens.label("LabelM"),
                 QString("支払は登録しました。レシートを作成できませんでした：プリンタが応答しま"
                         "せん。"));
        QCOMPARE(receipts.movements[0].direction, CashDirection::Payment);
        QCOMPARE(count(at.t, "MOMSYK"), 1);
    }

    void theReceiptLayerWritesThePaymentReceipt()
    {
        AtTheCash at("MUK4UT06");
        setParameter(at.t, "printer", "01");
        at.screens.show("MUK4UT06");
        at.book("0001", "1", "1200", "3");
        at.c.tender("3600");
        at.c.post();
        const QString pdf = QDir(at.folder.path()).filePath("receipts/61200042.pdf");
        QVERIFY(QFile::exists(QDir(at.folder.path()).filePath("MUK4ECR2.xlsx")));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains("支払計") && text.contains("<支払>") && text.contains("1,200"),
                 qPrintable(text));
    }

    void theHundredAndFirstLineIsRefused()
    {
        AtTheCash at;
        for (int i = 0; i < 101; ++i)
            at.book("0001", "1", "10");
        QCOMPARE(at.screens.gridRows().size(), 100);
        QCOMPARE(at.screens.label("LabelM"),
                 QString("明細は100行までです。この行は追加できません。"));
        at.c.tender("1000");
        at.c.post();
        QCOMPARE(row(at.t, "SELECT CF04, CF09 FROM MOMNYK"),
                 (QVariantMap{{"CF04", "100"}, {"CF09", 1000.0}}));
        QCOMPARE(count(at.t, "MOVNYK"), 100);
    }
};

QTEST_MAIN(CashTest)
#include "test_cash.moc"
