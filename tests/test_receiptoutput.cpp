#include "Fixture.h"
#include "ReceiptFixture.h"

#include "data/SheetPage.h"
#include "pos/ReceiptOutput.h"
#include "pos/ReceiptTemplates.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>

// What a counter screen gets from produceReceipt: a PDF when no printer is
// set up, the printer's job otherwise, and on every fault a reason with the
// template left exactly as it was.
class ReceiptOutputTest : public QObject {
    Q_OBJECT

    enum class Fault {
        TextFile,
        ZipWithoutWorkbook,
        DamagedSheet,
        NoActiveSheet,
        Directory,
        ReadOnlyFolder,
        ReadOnlyFolderWithoutTemplate,
        FullDisk
    };

    static QString salesTemplate(const QString& folder)
    {
        return ReceiptTemplates::path(folder, ReceiptTemplate::Sales);
    }

    // The default template with one part changed.
    static void writeVariant(const QString& path, const QString& part, const QByteArray& text)
    {
        QTemporaryDir scratch;
        QVERIFY(ReceiptTemplates::ensure(scratch.path(), ReceiptTemplate::Sales, QString()).ok());
        Package package;
        QString error;
        QVERIFY(package.open(fileBytes(salesTemplate(scratch.path())), error));
        package.replace(part, text);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && package.write(file, error));
    }

    static QStringList pdfs(const QString& folder)
    {
        return QDir(folder + QStringLiteral("/receipts")).entryList({QStringLiteral("*.pdf")});
    }

private slots:
    void aMissingTemplateIsMadeAndAnExistingOneIsNeverReplaced()
    {
        ProgramFolder folder;
        QCOMPARE(produceReceipt(sampleSale(), folder.path(), QStringLiteral("山田商店")).kind,
                 ReceiptOutcome::Kind::Pdf);
        QCOMPARE(produceReceipt(sampleDeposit(), folder.path(), QStringLiteral("山田商店")).kind,
                 ReceiptOutcome::Kind::Pdf);
        const QJsonObject sales = readWorkbook(salesTemplate(folder.path()));
        const QJsonObject cash =
            readWorkbook(ReceiptTemplates::path(folder.path(), ReceiptTemplate::Cash));
        QCOMPARE(cellsOf(sales, QStringLiteral("レシート"))[QStringLiteral("A1")].toArray()[0],
                 QJsonValue(QStringLiteral("山田商店")));
        QCOMPARE(cellsOf(sales, QStringLiteral("レシート"))[QStringLiteral("A15")].toArray()[0],
                 QJsonValue(QStringLiteral("レシート.61200001")));
        QCOMPARE(cellsOf(cash, QStringLiteral("入出金"))[QStringLiteral("A1")].toArray()[0],
                 QJsonValue(QStringLiteral("山田商店")));
        QCOMPARE(cellsOf(cash, QStringLiteral("入出金"))[QStringLiteral("B13")].toArray()[0],
                 QJsonValue(QStringLiteral("<入金>")));

        ProgramFolder shop;
        copyFile(testData(QStringLiteral("MUK4ECR1-shop.xlsx")), salesTemplate(shop.path()));
        QCOMPARE(produceReceipt(sampleSale(), shop.path(), QStringLiteral("山田商店")).kind,
                 ReceiptOutcome::Kind::Pdf);
        const QJsonObject kept =
            cellsOf(readWorkbook(salesTemplate(shop.path())), QStringLiteral("レシート"));
        QVERIFY(!kept.contains(QStringLiteral("A1")));
        QCOMPARE(kept[QStringLiteral("A2")].toArray()[0],
                 QJsonValue(QStringLiteral("ベーカリー 麦の穂 駅前店")));
    }

    void withoutAPrinterTheReceiptIsAPdfAsLongAsTheReceipt()
    {
        ProgramFolder folder;
        const ReceiptOutcome outcome =
            produceReceipt(sampleSale(), folder.path(), QStringLiteral("山田商店"));
        const QString pdf = QDir(folder.path()).filePath(QStringLiteral("receipts/61200001.pdf"));
        QCOMPARE(outcome.kind, ReceiptOutcome::Kind::Pdf);
        QCOMPARE(outcome.where, QDir::toNativeSeparators(pdf));
        QCOMPARE(outcome.reason, QString());

        const QString text = pdfText(pdf).simplified();
        for (const char* shown : {"山田商店", "パン 150", "牛乳 594", "×3 @ 198", "消費税 55",
                                  "お買上計 744", "お預り金 1,000", "お釣り 256",
                                  "レシート.61200001", "担当. 山田 太郎", "2026/12/01 10:15:30"})
            QVERIFY2(text.contains(QString::fromUtf8(shown)), shown);

        Workbook book;
        QVERIFY(book.open(salesTemplate(folder.path())).ok());
        const SheetPage page(SheetView::of(book));
        const QSizeF size = pdfPageSize(pdf);
        QCOMPARE(qRound(size.width()), qRound(page.size().width()));
        QCOMPARE(qRound(size.height()), qRound(page.size().height()));
        // A 58 mm roll, cut below the date row.
        QVERIFY2(qAbs(size.width() / 72 * 25.4 - 58) < 1,
                 qPrintable(QString::number(size.width())));
        QCOMPARE(page.printed().last.row, 17);
        const QImage image = pdfPage(pdf);
        QCOMPARE(image.size(), QSize(qRound(size.width()), qRound(size.height())));
        QVERIFY(inked(image, page.cellRect(1, 1)));  // the store's name
        QVERIFY(inked(image, page.cellRect(11, 2))); // the amount due
        QVERIFY(inked(image, page.cellRect(17, 1))); // the date
        QVERIFY(!inked(image, page.cellRect(14, 2)));
        QVERIFY(!inked(image, QRectF(0, page.cellRect(17, 1).bottom() + 1, size.width(), 20)));
    }

    void theLogoOfTheShopsTemplateIsOnTheReceipt()
    {
        ProgramFolder folder;
        copyFile(testData(QStringLiteral("MUK4ECR1-shop.xlsx")), salesTemplate(folder.path()));
        QCOMPARE(produceReceipt(sampleSale(), folder.path(), QString()).kind,
                 ReceiptOutcome::Kind::Pdf);
        const QString pdf = QDir(folder.path()).filePath(QStringLiteral("receipts/61200001.pdf"));
        // (The PDF names 麦 by the code of its radical; the text is checked
        // around it.)
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("ベーカリー")) &&
                     text.contains(QStringLiteral("駅前店")) &&
                     text.contains(QStringLiteral("TEL 03-1234-5678")),
                 qPrintable(text));
        Workbook book;
        QVERIFY(book.open(salesTemplate(folder.path())).ok());
        const SheetPage page(SheetView::of(book));
        const QImage image = pdfPage(pdf);
        // The logo stands in row 1, which holds no text.
        QVERIFY(inked(image, page.cellRect(1, 1).united(page.cellRect(1, 2))));
        QVERIFY(inked(image, page.cellRect(11, 2)));
    }

    void aPrinterGetsTheReceiptAndARefusalLeavesTheTemplate()
    {
        ProgramFolder folder;
        QVERIFY(ReceiptTemplates::ensure(folder.path(), ReceiptTemplate::Sales, QString()).ok());
        const QByteArray empty = fileBytes(salesTemplate(folder.path()));
        {
            FakePrinter refusing(false);
            const ReceiptOutcome outcome = produceReceipt(sampleSale(), folder.path(), QString());
            QCOMPARE(outcome.kind, ReceiptOutcome::Kind::Failed);
            QCOMPARE(outcome.reason, QStringLiteral("レシートを印刷できませんでした。"));
            QVERIFY(outcome.detail.contains(QStringLiteral("paper out")));
            QCOMPARE(refusing.jobs, QStringList{QStringLiteral("レシート 61200001")});
        }
        QCOMPARE(fileBytes(salesTemplate(folder.path())), empty);
        FakePrinter printer(true);
        const ReceiptOutcome outcome = produceReceipt(sampleSale(), folder.path(), QString());
        QCOMPARE(outcome.kind, ReceiptOutcome::Kind::Printed);
        QCOMPARE(outcome.where, QStringLiteral("ROLL58"));
        QCOMPARE(printer.jobs.size(), 1);
        QVERIFY(qAbs(printer.lastSize.width() / 72 * 25.4 - 58) < 1);
        QCOMPARE(pdfs(folder.path()), QStringList());
        QVERIFY(fileBytes(salesTemplate(folder.path())) != empty);
    }

    void faultsLeaveTheTemplateAsItWas_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("reason");
        const QString damaged =
            QStringLiteral("レシートのひな形が壊れているか、ブックではありません。");
        const QString notSaved = QStringLiteral("レシートのひな形を保存できませんでした。");
        QTest::newRow("a text file") << Fault::TextFile << damaged;
        QTest::newRow("a zip without a workbook") << Fault::ZipWithoutWorkbook << damaged;
        QTest::newRow("a damaged sheet") << Fault::DamagedSheet << damaged;
        QTest::newRow("no active sheet")
            << Fault::NoActiveSheet
            << QStringLiteral("レシートのひな形に書き込めるシートがありません。");
        QTest::newRow("unreadable")
            << Fault::Directory << QStringLiteral("レシートのひな形を読み込めませんでした。");
        QTest::newRow("read-only folder") << Fault::ReadOnlyFolder << notSaved;
        QTest::newRow("read-only folder, no template")
            << Fault::ReadOnlyFolderWithoutTemplate
            << QStringLiteral("レシートのひな形を作れませんでした。");
        QTest::newRow("full disk") << Fault::FullDisk << notSaved;
    }

    void faultsLeaveTheTemplateAsItWas()
    {
        QFETCH(Fault, fault);
        QFETCH(QString, reason);
        SmallDisk disk(QStringLiteral("256k"));
        const bool onDisk = fault == Fault::ReadOnlyFolder ||
                            fault == Fault::ReadOnlyFolderWithoutTemplate ||
                            fault == Fault::FullDisk;
        if (onDisk && !disk.mounted())
            QSKIP("mounting a small tmpfs needs root");
        ProgramFolder program;
        const QString folder = onDisk ? disk.path() : program.path();
        const QString path = salesTemplate(folder);
        switch (fault) {
        case Fault::TextFile: {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("MUK4 receipt") > 0);
            break;
        }
        case Fault::ZipWithoutWorkbook: {
            QFile file(path);
            QString error;
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    Package::writeNew(file, {{QStringLiteral("notes.txt"), "hello"}}, error));
            break;
        }
        case Fault::DamagedSheet:
            writeVariant(path, QStringLiteral("xl/worksheets/sheet1.xml"),
                         "<worksheet><sheetData><row r=\"1\">");
            break;
        case Fault::NoActiveSheet:
            writeVariant(path, QStringLiteral("xl/workbook.xml"),
                         "<workbook><bookViews><workbookView activeTab=\"3\"/></bookViews>"
                         "<sheets/></workbook>");
            break;
        case Fault::Directory:
            QVERIFY(QDir().mkpath(path));
            break;
        case Fault::ReadOnlyFolder:
        case Fault::FullDisk:
            QVERIFY(ReceiptTemplates::ensure(folder, ReceiptTemplate::Sales, QString()).ok());
            QVERIFY(fault == Fault::FullDisk ? (disk.fill(), true) : disk.makeReadOnly());
            break;
        case Fault::ReadOnlyFolderWithoutTemplate:
            QVERIFY(disk.makeReadOnly());
            break;
        }
        const QByteArray before = fileBytes(path);
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        const ReceiptOutcome outcome = produceReceipt(sampleSale(), folder, QString());
        QCOMPARE(outcome.kind, ReceiptOutcome::Kind::Failed);
        QCOMPARE(outcome.reason, reason);
        QVERIFY2(outcome.detail.contains(QStringLiteral("MUK4ECR1.xlsx")),
                 qPrintable(outcome.detail));
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entries);
    }
};

QTEST_MAIN(ReceiptOutputTest)
#include "test_receiptoutput.moc"
