#include "ReceiptFixture.h"

#include "pos/ReceiptOutput.h"
#include "pos/ReceiptTemplates.h"

#include <QDir>
#include <QJsonArray>
#include <QRegularExpression>

#include <optional>

#include <sys/stat.h>

namespace {
QString salesTemplate(const QString& folder)
{
    return ReceiptTemplates::path(folder, ReceiptTemplate::Sales);
}

QString pdfOf(const ProgramFolder& folder)
{
    return QDir(folder.path()).filePath("receipts/61200001.pdf");
}

// The receipt as it was drawn from the template.
SheetPage pageOf(const QString& folder)
{
    Workbook book;
    if (!book.open(salesTemplate(folder)).ok())
        qFatal("no template in %s", qPrintable(folder));
    return SheetPage(SheetView::of(book));
}

} // namespace

// What a counter screen gets from produceReceipt: a PDF when no printer is
// set up, the printer's job otherwise, and on every fault a reason with the
// template left exactly as it was.
class ReceiptOutputTest : public QObject {
    Q_OBJECT

    enum class Place { Folder, ReadOnlyDisk, FullDisk, NoRoomForPdf, RefusingPrinter };

private slots:
    void theDefaultTemplateGivesARollPdfOrAPrintersJob()
    {
        ProgramFolder folder;
        const ReceiptOutcome outcome = produceReceipt(sampleSale(), folder.path(), "山田商店");
        QCOMPARE(outcome.kind, ReceiptOutcome::Kind::Pdf);
        QCOMPARE(outcome.where, QDir::toNativeSeparators(pdfOf(folder)));
        QCOMPARE(outcome.reason, QString());

        const QString text = pdfText(pdfOf(folder)).simplified();
        for (const char* shown : {"山田商店", "パン 150", "牛乳 594", "×3 @ 198", "消費税 55",
                                  "お買上計 744", "お預り金 1,000", "お釣り 256",
                                  "レシート.61200001", "担当. 山田 太郎", "2026/12/01 10:15:30"})
            QVERIFY2(text.contains(QString::fromUtf8(shown)), shown);
        // A 58 mm roll, cut below the date row.
        const SheetPage page = pageOf(folder.path());
        const QImage image = pdfPage(pdfOf(folder));
        QCOMPARE(image.size(), page.size().toSize());
        QVERIFY(qAbs(image.width() / 72.0 * 25.4 - 58) < 1);
        QCOMPARE(page.printed().last.row, 17);
        QCOMPARE(image.height(), qRound(page.cellRect(17, 1).bottom() + 0.2 * 72));
        QVERIFY(inked(image, page.cellRect(1, 1)));  // the store's name
        QVERIFY(inked(image, page.cellRect(11, 2))); // the amount due
        QVERIFY(inked(image, page.cellRect(17, 1))); // the date
        QVERIFY(!inked(image, page.cellRect(14, 2)));
        QVERIFY(!inked(image, QRectF(0, page.cellRect(17, 1).bottom() + 1, image.width(), 20)));

        // With a printer set up the receipt goes there, and no PDF is made.
        QVERIFY(QFile::remove(pdfOf(folder)));
        FakePrinter printer(true);
        const ReceiptOutcome printed = produceReceipt(sampleSale(), folder.path(), QString());
        QCOMPARE(printed.kind, ReceiptOutcome::Kind::Printed);
        QCOMPARE(printed.where, QStringLiteral("ROLL58"));
        QCOMPARE(printer.jobs, QStringList{"レシート 61200001"});
        QVERIFY(qAbs(printer.lastSize.width() / 72 * 25.4 - 58) < 1);
        QVERIFY(!QFileInfo::exists(pdfOf(folder)));
    }

    void theShopsTemplateKeepsItsEditsAndIsDrawnWithItsLogo()
    {
        ProgramFolder folder;
        const QString path = salesTemplate(folder.path());
        const QString sheet = "xl/worksheets/sheet1.xml", styles = "xl/styles.xml";
        QVERIFY(QFile::copy(testData("MUK4ECR1-shop.xlsx"), path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        const QJsonObject before = readWorkbook(path);
        const QString sheetBefore = partOf(path, sheet), stylesBefore = partOf(path, styles);
        QCOMPARE(produceReceipt(sampleSale(), folder.path(), "山田商店").kind,
                 ReceiptOutcome::Kind::Pdf);
        const QJsonObject after = readWorkbook(path);

        // The row heights stand in the cell table; all else of the sheet below.
        QCOMPARE(after["heights"], before["heights"]);
        const QJsonObject cells = cellsOf(after, "レシート");
        for (const QString& heading : cellsOf(before, "レシート").keys())
            QCOMPARE(cells[heading], cellsOf(before, "レシート")[heading]);
        // The shop's number format stays on the amounts written.
        QCOMPARE(cells["B11"].toArray()[0], QJsonValue(744));
        QCOMPARE(cells["B6"].toArray()[6], QJsonValue("#,##0"));
        // Every part but the sheet and the styles keeps its bytes: the logo,
        // the drawing, the other sheet, the shared strings.
        const QJsonObject partsBefore = before["parts"].toObject();
        const QJsonObject partsAfter = after["parts"].toObject();
        QCOMPARE(partsAfter.keys(), partsBefore.keys());
        for (const QString& name : partsBefore.keys())
            if (name != sheet && name != styles)
                QVERIFY2(partsAfter[name] == partsBefore[name], qPrintable(name));
        // In the sheet, everything outside the cell table keeps its text (the
        // used range aside); the styles only gain formats at their ends.
        auto outside = [](QString text) {
            text.remove(QRegularExpression("<dimension ref=\"[A-Z0-9:]+\"/>"));
            return text.left(text.indexOf("<sheetData")) + text.mid(text.indexOf("</sheetData>"));
        };
        QCOMPARE(outside(partOf(path, sheet)), outside(sheetBefore));
        const QString stylesAfter = partOf(path, styles);
        for (const QString list : {"fonts", "cellXfs"}) {
            const qsizetype from =
                stylesBefore.indexOf(u'>', stylesBefore.indexOf(u'<' + list)) + 1;
            QVERIFY(stylesAfter.contains(
                stylesBefore.mid(from, stylesBefore.indexOf("</" + list + u'>') - from)));
        }
        QCOMPARE(stylesAfter.left(stylesAfter.indexOf("<fonts ")),
                 stylesBefore.left(stylesBefore.indexOf("<fonts ")));

        const QString text = pdfText(pdfOf(folder));
        for (const char* shown : {"ベーカリー 麦の穂 駅前店", "TEL 03-1234-5678"})
            QVERIFY2(text.contains(QString::fromUtf8(shown)), qPrintable(text));
        // The logo stands in row 1, which holds no text.
        const SheetPage page = pageOf(folder.path());
        const QImage image = pdfPage(pdfOf(folder));
        QVERIFY(inked(image, page.cellRect(1, 1).united(page.cellRect(1, 2))));
        QVERIFY(inked(image, page.cellRect(11, 2)));
    }

    void everyReceiptReadsBackFromItsPdfAndIsTheOwnersOnly_data()
    {
        // sale, cash (instead of the sale when it has lines), existing (a folder and template open
        // to all there before)
        table::columns<FinishedSale, FinishedCashMovement, bool>();
        const FinishedCashMovement none;
        const FinishedSale refund = finishedSale(Settlement::Cash, 1000, sampleSale().lines, true);
        auto cash = [](CashDirection direction) {
            return finishedCash(direction, 5000, {cashLine("0001", "釣銭", "0002", 3, 1200)});
        };
        QTest::newRow("sale, folder and template there") << sampleSale() << none << true;
        QTest::newRow("return") << refund << none << false;
        QTest::newRow("deposit") << FinishedSale() << cash(CashDirection::Deposit) << false;
        QTest::newRow("payment") << FinishedSale() << cash(CashDirection::Payment) << false;
    }

    void everyReceiptReadsBackFromItsPdfAndIsTheOwnersOnly()
    {
        const auto [sale, cash, existing] =
            table::fetch<FinishedSale, FinishedCashMovement, bool>();
        ProgramFolder folder;
        const QString receipts = QDir(folder.path()).filePath("receipts");
        const QString book = ReceiptTemplates::path(
            folder.path(), cash.lines.isEmpty() ? ReceiptTemplate::Sales : ReceiptTemplate::Cash);
        const mode_t umask = ::umask(022);
        if (existing) {
            QVERIFY(QDir().mkdir(receipts));
            writeFile(book, templateBytes());
            writeFile(receipts + "/61200001.pdf", "made before");
        }
        const QString store = "日の出商店";
        const ReceiptOutcome outcome = cash.lines.isEmpty()
                                           ? produceReceipt(sale, folder.path(), store)
                                           : produceReceipt(cash, folder.path(), store);
        ::umask(umask);
        QCOMPARE(outcome.kind, ReceiptOutcome::Kind::Pdf);
        QCOMPARE(permissions(receipts), existing ? 0755 : 0700);
        QCOMPARE(permissions(book), existing ? 0644 : 0600);
        QCOMPARE(permissions(outcome.where), existing ? 0644 : 0600);
        // Every text of the sheet, as a reader of its own finds it, is found
        // in the PDF as it stands: 金 there is not the radical ⾦.
        const QString text = pdfText(outcome.where).simplified();
        const QJsonObject workbook = readWorkbook(book);
        for (const QJsonValue cell : cellsOf(workbook, workbook["active"].toString()))
            QVERIFY2(text.contains(cell.toArray()[0].toString().simplified()), qPrintable(text));
    }

    void faultsLeaveTheTemplateAsItWas_data()
    {
        // content (of the template; "/": a folder there), place, reason
        table::columns<QByteArray, Place, QString>();
        const QString damaged = "レシートのひな形が壊れているか、ブックではありません。";
        const QString notSaved = "レシートのひな形を保存できませんでした。";
        const auto add = [](const char* name, const QByteArray& content, Place place,
                            const QString& reason) { table::add(name, content, place, reason); };
        const QString workbook = "xl/workbook.xml";
        add("a text file", "MUK4 receipt", Place::Folder, damaged);
        add("a zip without a workbook", templateBytes({{workbook, {}, {}}}), Place::Folder,
            damaged);
        add("a damaged sheet",
            templateBytes(
                {{"xl/worksheets/sheet1.xml", {}, "<worksheet><sheetData><row r=\"1\">"}}),
            Place::Folder, damaged);
        add("no active sheet",
            templateBytes({{workbook,
                            {},
                            "<workbook><bookViews><workbookView activeTab=\"3\"/>"
                            "</bookViews><sheets/></workbook>"}}),
            Place::Folder, "レシートのひな形に書き込めるシートがありません。");
        add("unreadable", "/", Place::Folder, "レシートのひな形を読み込めませんでした。");
        add("read-only folder", templateBytes(), Place::ReadOnlyDisk, notSaved);
        add("read-only folder, no template", {}, Place::ReadOnlyDisk,
            "レシートのひな形を作れませんでした。");
        add("full disk", templateBytes(), Place::FullDisk, notSaved);
        add("no room for the PDF", templateBytes(), Place::NoRoomForPdf,
            "レシートのPDFを保存できませんでした。");
        add("a printer that refuses", templateBytes(), Place::RefusingPrinter,
            "レシートを印刷できませんでした。");
    }

    void faultsLeaveTheTemplateAsItWas()
    {
        const auto [content, place, reason] = table::fetch<QByteArray, Place, QString>();
        // Room enough for the template and its new copy, not for a PDF.
        SmallDisk disk(place == Place::NoRoomForPdf ? 12 : 256);
        const bool onDisk = place != Place::Folder && place != Place::RefusingPrinter;
        if (onDisk && !disk.mounted())
            QSKIP("mounting a small tmpfs needs root");
        ProgramFolder program;
        std::optional<FakePrinter> printer;
        if (place == Place::RefusingPrinter)
            printer.emplace(false);
        const QString folder = onDisk ? disk.path() : program.path();
        const QString path = salesTemplate(folder);
        if (content == "/")
            QVERIFY(QDir().mkpath(path));
        else if (!content.isEmpty())
            writeFile(path, content);
        if (place == Place::FullDisk)
            disk.fill();
        if (place == Place::NoRoomForPdf)
            QVERIFY(QDir(folder).mkdir("receipts"));
        if (place == Place::ReadOnlyDisk)
            QVERIFY(disk.setReadOnly(true));
        const QByteArray before = fileBytes(path);
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        const ReceiptOutcome outcome = produceReceipt(sampleSale(), folder, QString());
        QCOMPARE(outcome.kind, ReceiptOutcome::Kind::Failed);
        QCOMPARE(outcome.reason, reason);
        const char* detail = place == Place::RefusingPrinter ? "paper out"
                             : place == Place::NoRoomForPdf  ? "61200001.pdf"
                                                             : "MUK4ECR1.xlsx";
        QVERIFY2(outcome.detail.contains(detail), qPrintable(outcome.detail));
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entries);
    }
};

QTEST_MAIN(ReceiptOutputTest)
#include "test_receiptoutput.moc"
