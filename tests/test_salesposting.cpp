#include "CounterSupport.h"
#include "ReceiptFixture.h"

#include "data/Clock.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QSqlQuery>

class SalesPostingTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 15), QTime(10, 15, 30))); }
    void cleanup() { Clock::reset(); }

    void aLineIsPricedWithoutTaxByTheUnitBaseRule_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QVariantMap>("line");
        QTest::newRow("1000 x 3") << "1000"
                                  << "3"
                                  << QVariantMap{{"CF14", 926.0},
                                                 {"CF13", 2778.0},
                                                 {"CF17", 3000.0},
                                                 {"CF18", 222.0},
                                                 {"CF20", 74.0}};
        QTest::newRow("1080 rounds to 1000") << "1080"
                                             << "1"
                                             << QVariantMap{{"CF14", 1000.0},
                                                            {"CF13", 1000.0},
                                                            {"CF17", 1080.0},
                                                            {"CF18", 80.0},
                                                            {"CF20", 80.0}};
        QTest::newRow("120: a fraction of .11 goes up") << "120"
                                                        << "2"
                                                        << QVariantMap{{"CF14", 112.0},
                                                                       {"CF13", 224.0},
                                                                       {"CF17", 240.0},
                                                                       {"CF18", 16.0},
                                                                       {"CF20", 8.0}};
    }

    void aLineIsPricedWithoutTaxByTheUnitBaseRule()
    {
        QFETCH(QString, price);
        QFETCH(QString, quantity);
        QFETCH(QVariantMap, line);
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        c.sell(Bread, quantity, price);
        c.tender("10000");
        c.post();
        QCOMPARE(row(t, "SELECT CF13, CF14, CF17, CF18, CF20 FROM MOVURA"), line);
    }

    void theReceiptNumberFollowsTheCounter_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("posted");
        QTest::addColumn<QString>("next");
        QTest::newRow("41") << "00041"
                            << "61200042"
                            << "61200043";
        QTest::newRow("wraps") << "99999"
                               << "61200000"
                               << "61200001";
    }

    void theReceiptNumberFollowsTheCounter()
    {
        QFETCH(QString, stored);
        QFETCH(QString, posted);
        QFETCH(QString, next);
        AtTheCounter at("MUK4UT01",
                        [&stored](Database& db) { setParameter(db, "receipt", "612", stored); });
        auto& [folder, t, screens, c] = at;
        QCOMPARE(c.text("Text2"), posted);
        c.sell(Bread);
        c.tender("1000");
        c.post();
        QCOMPARE(row(t, "SELECT CF03 FROM MOMURA").value("CF03").toString(), posted);
        QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant(posted.right(5)));
        QCOMPARE(c.text("Text2"), next);
    }

    void aReturnIsPostedUnderItsCodesAtTheRegularPrice_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("tendered");
        QTest::addColumn<QString>("code");
        QTest::newRow("cash") << 1 << "1080"
                              << "11009";
        QTest::newRow("partial") << 2 << "80"
                                 << "20009";
        QTest::newRow("credit") << 3 << "0"
                                << "30009";
    }

    void aReturnIsPostedUnderItsCodesAtTheRegularPrice()
    {
        QFETCH(int, option);
        QFETCH(QString, tendered);
        QFETCH(QString, code);
        AtTheCounter at("MUK4UT11");
        auto& [folder, t, screens, c] = at;
        QCOMPARE(screens.label("Label1"), QString("返品POSトランザクション"));
        QCOMPARE(screens.label("LabelPFK"),
                 QString("F1.売上POSトランザクション    F2.入金POSトランザクション     "
                         "F4.支払POSトランザクション    F10.Return"));
        typeInto(c.field("Text4"), Special);
        enter(c.field("Text4"));
        QCOMPARE(c.text("Text6"), QString("1080"));
        QCOMPARE(screens.label("LabelZ"), QString());
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

    void functionKeysOpenTheOtherCounterScreens_data()
    {
        // Where F1, F2, F4 and F5 lead; an empty place: the key does nothing.
        QTest::addColumn<QString>("from");
        QTest::addColumn<QStringList>("targets");
        QTest::newRow("sales") << "MUK4UT01" << QStringList{"", "MUK4UT05", "MUK4UT06", "MUK4UT11"};
        QTest::newRow("deposit") << "MUK4UT05"
                                 << QStringList{"MUK4UT01", "", "MUK4UT06", "MUK4UT11"};
        QTest::newRow("payment") << "MUK4UT06"
                                 << QStringList{"MUK4UT01", "MUK4UT05", "", "MUK4UT11"};
        QTest::newRow("returns") << "MUK4UT11"
                                 << QStringList{"MUK4UT01", "MUK4UT05", "MUK4UT06", ""};
    }

    void functionKeysOpenTheOtherCounterScreens()
    {
        QFETCH(QString, from);
        QFETCH(QStringList, targets);
        AtTheCounter at(from);
        auto& [folder, t, screens, c] = at;
        const Qt::Key keys[] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F4, Qt::Key_F5};
        for (int i = 0; i < 4; ++i) {
            functionKey(c.field("Text4"), keys[i]);
            QCOMPARE(screens.settle()->code(), targets[i].isEmpty() ? from : targets[i]);
            if (!targets[i].isEmpty())
                screens.show(from);
        }
        functionKey(c.field("Text4"), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC01"));
    }

    void leavingDropsTheOpenSale()
    {
        AtTheCounter at("MUK4SC01");
        auto& [folder, t, screens, c] = at;
        screens.click("APCBTN05");
        QCOMPARE(screens.current()->code(), QString("MUK4UT11"));
        functionKey(c.field("Text4"), Qt::Key_F1);
        QCOMPARE(screens.settle()->code(), QString("MUK4UT01"));
        c.sell(Bread);
        functionKey(c.field("Text4"), Qt::Key_F5);
        QCOMPARE(screens.settle()->code(), QString("MUK4UT11"));
        functionKey(c.field("Text4"), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC01"));
        functionKey(screens.button("APCBTN01"), Qt::Key_F1);
        QCOMPARE(screens.settle()->code(), QString("MUK4UT01"));
        QCOMPARE(screens.gridRows().size(), 0);
        screens.click("RTBTN");
        QCOMPARE(screens.current()->code(), QString("MUK4SC01"));
        QCOMPARE(count(t, "MOMURA"), 0);
    }

    void choosingTheCashierWritesChargeAndStartsAfresh()
    {
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        auto* staff = screens.find<QComboBox>("CB1");
        QCOMPARE(staff->count(), 2);
        QCOMPARE(staff->currentIndex(), -1);
        QCOMPARE(staff->placeholderText(), QString("佐藤"));
        c.sell(Bread);
        staff->setCurrentIndex(1);
        emit staff->activated(1);
        QCOMPARE(screens.label("LabelN"), QString("0007"));
        QCOMPARE(
            row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'charge'"),
            (QVariantMap{
                {"CB02", "0007"}, {"CB03", "鈴木"}, {"CB07", "20261215"}, {"CB08", "10:15:30"}}));
        QCOMPARE(screens.gridRows().size(), 0);
        QVERIFY(c.field("Text4")->hasFocus());
        c.sell(Bread);
        c.tender("1000");
        c.post();
        QCOMPARE(row(t, "SELECT CF05 FROM MOMURA").value("CF05"), QVariant("0007"));
    }

    void aDuplicateReceiptWritesNothingAndEnds()
    {
        // Only the credit table already holds the receipt's key.
        AtTheCounter at("MUK4UT01", [](Database& db) {
            QSqlQuery(db.handle())
                .exec("INSERT INTO MDMURK (CF01, CF02, CF03) VALUES ('01', '01', '61200042')");
        });
        auto& [folder, t, screens, c] = at;
        c.sell(Bread);
        c.option(3);
        c.tender("0");
        MessageBoxes boxes;
        c.post();
        QCOMPARE(boxes.texts(), QStringList{"データベースが壊れています。(REC DUPL)"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QVERIFY(screens.ended());
        QCOMPARE(count(t, "MOMURA"), 0);
        QCOMPARE(count(t, "MOVURA"), 0);
        QCOMPARE(count(t, "MDMURK"), 1);
        QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant("00041"));
    }

    void aFailedPostingKeepsTheSaleToPostAgain()
    {
        AtTheCounter at;
        auto& [folder, t, screens, c] = at;
        c.sell(Bread);
        c.tender("2000");
        // Another connection holds the write lock: the posting cannot start.
        QVERIFY(t.db().execute("BEGIN IMMEDIATE").ok());
        MessageBoxes boxes;
        c.post();
        QCOMPARE(boxes.texts(), QStringList{"売上を登録できませんでした。"});
        QCOMPARE(screens.current()->code(), QString("MUK4UT01"));
        QCOMPARE(screens.gridRows().size(), 1);
        QCOMPARE(c.text("Text9"), QString("1,000"));
        QVERIFY(screens.button("RSBTN")->isEnabled());
        QCOMPARE(screens.label("LabelAPF"), QString("●  登録"));
        QVERIFY(t.db().execute("ROLLBACK").ok());
        QCOMPARE(count(t, "MOMURA"), 0);
        c.post();
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(row(t, "SELECT CF03, CF10 FROM MOMURA"),
                 (QVariantMap{{"CF03", "61200042"}, {"CF10", 2000.0}}));
        QCOMPARE(count(t, "MOVURA"), 1);
    }

    void theReceiptComesAfterThePostingAndItsOutcomeIsShown_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<ReceiptOutcome>("outcome");
        QTest::addColumn<int>("made");
        QTest::addColumn<QString>("note");
        QTest::newRow("printed") << "01" << ReceiptsSeen::printed() << 1
                                 << "レシートを印刷しました。";
        QTest::newRow("pdf") << "01" << ReceiptsSeen::pdf("/shop/receipts/61200042.pdf") << 1
                             << "プリンタがないため、レシートをPDFに保存しました："
                                "/shop/receipts/61200042.pdf";
        QTest::newRow("failed") << "01" << ReceiptsSeen::failed("テンプレートが壊れています。") << 1
                                << "売上は登録しました。レシートを作成できませんでした："
                                   "テンプレートが壊れています。";
        QTest::newRow("switched off")
            << "1" << ReceiptsSeen::printed() << 0 << "商品コードを入力してください。";
    }

    void theReceiptComesAfterThePostingAndItsOutcomeIsShown()
    {
        QFETCH(QString, printer);
        QFETCH(ReceiptOutcome, outcome);
        QFETCH(int, made);
        QFETCH(QString, note);
        AtTheCounter at("MUK4UT01",
                        [&printer](Database& db) { setParameter(db, "printer", printer); });
        auto& [folder, t, screens, c] = at;
        ReceiptsSeen receipts(outcome);
        c.sell(Bread, "3");
        c.sell(Special);
        c.tender("5000");
        c.post();
        QCOMPARE(count(t, "MOMURA"), 1);
        QCOMPARE(receipts.sales.size(), made);
        QCOMPARE(screens.label("LabelM"), note);
        QCOMPARE(c.text("Text2"), QString("61200043"));
        if (!made)
            return;
        const FinishedSale& sale = receipts.sales[0];
        QCOMPARE(sale.receiptNumber, QString("61200042"));
        QCOMPARE(sale.staffName, QString("佐藤"));
        QCOMPARE(sale.lines.size(), 2);
        QCOMPARE(sale.lines[0].quantityText, QString("3"));
        QCOMPARE(sale.lines[1].unitPrice, 500.0);
        QCOMPARE(sale.amountDue, 3500.0);
        QCOMPARE(sale.tendered, 5000.0);
        QCOMPARE(sale.difference, 1500.0);
        QCOMPARE(sale.moment, Clock::now());
        QVERIFY(!sale.isReturn);
    }

    void theReceiptLayerWritesTheTemplateAndThePdf()
    {
        // No printer in the tests: the receipt becomes a PDF in the program
        // folder, and the template keeps the sale.
        AtTheCounter at("MUK4UT11", [](Database& db) { setParameter(db, "printer", "01"); });
        auto& [folder, t, screens, c] = at;
        c.sell(Bread, "3");
        c.tender("3000");
        c.post();
        const QString pdf = QDir::toNativeSeparators(
            QDir(folder.path()).filePath(QStringLiteral("receipts/61200042.pdf")));
        QCOMPARE(screens.label("LabelM"),
                 QString("プリンタがないため、レシートをPDFに保存しました：") + pdf);
        QVERIFY(QFile::exists(QDir(folder.path()).filePath("MUK4ECR1.xlsx")));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains("61200042") && text.contains("<返品>") && text.contains("食パン"),
                 qPrintable(text));
    }

    void aReceiptFailureAfterACreditSaleIsToldBeforeLeaving()
    {
        AtTheCounter at("MUK4UT11", [](Database& db) { setParameter(db, "printer", "01"); });
        auto& [folder, t, screens, c] = at;
        ReceiptsSeen receipts(ReceiptsSeen::failed("プリンタが応答しません。"));
        c.sell(Bread);
        c.option(3);
        c.tender("0");
        MessageBoxes boxes;
        c.post();
        QCOMPARE(boxes.texts(), QStringList{"返品は登録しました。レシートを作成できませんでした："
                                            "プリンタが応答しません。"});
        QCOMPARE(screens.current()->code(), QString("MUK4SC01"));
        QVERIFY(receipts.sales[0].isReturn);
        QCOMPARE(count(t, "MDMURK"), 1);
    }
};

QTEST_MAIN(SalesPostingTest)
#include "test_salesposting.moc"
