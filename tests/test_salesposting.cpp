#include "CounterSupport.h"
#include "ReceiptFixture.h"

#include "data/Clock.h"

#include <QComboBox>
#include <QDir>
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

    // A sale, a payment and a deposit take consecutive numbers of one
    // counter, and today's takings on the main menu count them.
    void receiptsOfEveryKindFollowOneCounter_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("41") << QString("00041")
                            << QStringList{"61200042", "61200043", "61200044", "61200045"};
        QTest::newRow("99999 wraps")
            << QString("99999") << QStringList{"61200000", "61200001", "61200002", "61200003"};
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
        QCOMPARE(c.text("Text2"), numbers[1]);
        functionKey(c.field("Text4"), Qt::Key_F4);
        QCOMPARE(screens.settle()->code(), QString("MUK4UT06"));
        QCOMPARE(screens.named("支払額")->objectName(), QString("Text6"));
        c.book("0001", "1", "300");
        c.tender("300");
        c.post();
        functionKey(c.field("Text4"), Qt::Key_F2);
        QCOMPARE(screens.settle()->code(), QString("MUK4UT05"));
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
        screens.click("RTBTN");
        QCOMPARE(screens.current()->code(), QString("MUK4SC01"));
        QStringList takings;
        for (const char* caption : {"売上/売掛", "入金", "支払"})
            takings << qobject_cast<QLineEdit*>(screens.named(caption))->text();
        QCOMPARE(takings, (QStringList{"1,000", "700", "300"}));
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
        auto go = [&](Qt::Key key, const char* code) {
            functionKey(c.field("Text4"), key);
            QCOMPARE(screens.settle()->code(), QString(code));
        };
        c.sell(Bread);
        go(Qt::Key_F4, "MUK4UT06");
        c.book("0001", "1", "300");
        go(Qt::Key_F2, "MUK4UT05");
        go(Qt::Key_F4, "MUK4UT06");
        QCOMPARE(c.texts({"Text3"}) << QString::number(screens.gridRows().size()),
                 (QStringList{"", "0"}));
        go(Qt::Key_F1, "MUK4UT01");
        QCOMPARE(c.texts({"Text3"}) << QString::number(screens.gridRows().size()),
                 (QStringList{"", "0"}));
        screens.click("RTBTN");
        QCOMPARE(screens.current()->code(), QString("MUK4SC01"));
        QCOMPARE(count(t, "MOMURA") + count(t, "MOMSYK") + count(t, "MOVSYK"), 0);
    }

    void choosingTheCashierWritesChargeAndStartsAfresh()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        auto* staff = screens.find<QComboBox>("CB1");
        QCOMPARE((QVariantList{staff->count(), staff->currentIndex(), staff->placeholderText()}),
                 (QVariantList{2, -1, "佐藤"}));
        c.sell(Bread);
        staff->setCurrentIndex(1);
        emit staff->activated(1);
        QCOMPARE(screens.label("LabelN"), QString("0007"));
        QCOMPARE(
            row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'charge'"),
            (QVariantMap{
                {"CB02", "0007"}, {"CB03", "鈴木"}, {"CB07", "20261215"}, {"CB08", "10:15:30"}}));
        QCOMPARE(c.texts({"focus"}) << QString::number(screens.gridRows().size()),
                 (QStringList{"Text4", "0"}));
        c.sell(Bread);
        c.tender("1000");
        c.post();
        QCOMPARE(row(t, "SELECT CF05 FROM MOMURA").value("CF05"), QVariant("0007"));
    }

    void aDuplicateReceiptWritesNothingAndEnds()
    {
        // Only the credit table already holds the receipt's key.
        auto&& [folder, t, screens, c] = AtTheCounter("MUK4UT01", [](Database& db) {
            QSqlQuery(db.handle())
                .exec("INSERT INTO MDMURK (CF01, CF02, CF03) VALUES ('01', '01', '61200042')");
        });
        c.sell(Bread);
        c.option(3);
        c.tender("0");
        MessageBoxes boxes;
        c.post();
        QCOMPARE(boxes.texts(), QStringList{"データベースが壊れています。(REC DUPL)"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QVERIFY(screens.ended());
        QCOMPARE(count(t, "MOMURA") + count(t, "MOVURA"), 0);
        QCOMPARE(count(t, "MDMURK"), 1);
        QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant("00041"));
    }

    void aFailedPostingKeepsTheSaleToPostAgain()
    {
        auto&& [folder, t, screens, c] = AtTheCounter();
        c.sell(Bread);
        c.tender("2000");
        // Another connection holds the write lock: the posting cannot start.
        QVERIFY(t.db().execute("BEGIN IMMEDIATE").ok());
        MessageBoxes boxes;
        c.post();
        QCOMPARE(boxes.texts(), QStringList{"売上を登録できませんでした。"});
        QCOMPARE(screens.current()->code(), QString("MUK4UT01"));
        QCOMPARE(screens.gridRows().size(), 1);
        QCOMPARE(c.texts({"Text9", "LabelAPF"}), (QStringList{"1,000", "●  登録"}));
        QVERIFY(screens.button("RSBTN")->isEnabled());
        QVERIFY(t.db().execute("ROLLBACK").ok());
        QCOMPARE(count(t, "MOMURA"), 0);
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
        add("printed", "01", receiptOutcome(Kind::Printed), "レシートを印刷しました。");
        add("failed", "01", receiptOutcome(Kind::Failed, {}, "テンプレートが壊れています。"),
            "売上は登録しました。レシートを作成できませんでした：テンプレートが壊れています。");
        add("switched off", "1", receiptOutcome(Kind::Printed), "商品コードを入力してください。");
    }

    void theReceiptComesAfterThePostingAndItsOutcomeIsShown()
    {
        QFETCH(QString, printer);
        QFETCH(ReceiptOutcome, outcome);
        QFETCH(QString, note);
        auto&& [folder, t, screens, c] = AtTheCounter(
            "MUK4UT01", [&printer](Database& db) { setParameter(db, "printer", printer); });
        ReceiptsSeen receipts(outcome);
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
        QTest::addColumn<QString>("lines");
        QTest::newRow("sale") << QString("MUK4UT01") << QString("MOMURA") << QString("MOVURA");
        QTest::newRow("deposit") << QString("MUK4UT05") << QString("MOMNYK") << QString("MOVNYK");
    }

    void theHundredAndFirstLineIsRefused()
    {
        QFETCH(QString, screen);
        QFETCH(QString, header);
        QFETCH(QString, lines);
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
        QCOMPARE(count(t, lines), 100);
    }

    void aReceiptFailureAfterACreditSaleIsToldBeforeLeaving()
    {
        auto&& [folder, t, screens, c] =
            AtTheCounter("MUK4UT11", [](Database& db) { setParameter(db, "printer", "01"); });
        ReceiptsSeen receipts(
            receiptOutcome(ReceiptOutcome::Kind::Failed, {}, "プリンタが応答しません。"));
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
