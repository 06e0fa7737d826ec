#include "Fixture.h"
#include "ReceiptFixture.h"

#include "data/NumberFormat.h"
#include "data/SheetPage.h"
#include "pos/ReceiptRows.h"
#include "pos/ReceiptTemplates.h"

#include <QJsonArray>
#include <QPainter>
#include <QRegularExpression>

static QJsonArray first(const QJsonArray& values, int n)
{
    QJsonArray head;
    for (int i = 0; i < n && i < values.size(); ++i)
        head.append(values[i]);
    return head;
}

// Writing receipts into workbooks, checked with a reader that shares no code
// with the program (openpyxl).
class WorkbookTest : public QObject {
    Q_OBJECT

    static QString writeSale(const QString& path, const FinishedSale& sale)
    {
        Workbook book;
        if (WorkbookResult opened = book.open(path); !opened.ok())
            return opened.error().detail;
        ReceiptRows::fill(book, ReceiptRows::sale(sale));
        WorkbookResult saved = book.save();
        return saved.ok() ? QString() : saved.error().detail;
    }

    static QString part(const QString& path, const QString& name)
    {
        Package package;
        QString error;
        if (!package.open(fileBytes(path), error))
            return error;
        return partText(package.read(name));
    }

    QJsonObject saleCells_;

private slots:
    void initTestCase()
    {
        ProgramFolder folder;
        QVERIFY(ReceiptTemplates::ensure(folder.path(), ReceiptTemplate::Sales,
                                         QStringLiteral("山田商店"))
                    .ok());
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales);
        QCOMPARE(writeSale(path, sampleSale()), QString());
        saleCells_ = cellsOf(readWorkbook(path), QStringLiteral("レシート"));
        QVERIFY(!saleCells_.contains(QStringLiteral("B51")));
        QCOMPARE(saleCells_[QStringLiteral("B6")].toArray()[6].toString(), QStringLiteral("#,##0"));
    }

    void aReceiptReadsBackWithItsValuesNumbersAndFonts_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QJsonArray>("expected"); // value, type, font, size, underline, bold
        auto row = [](const char* cell, const QJsonValue& value, const char* type, double size,
                      const char* underline = "", bool bold = false) {
            QTest::newRow(cell) << QString(cell)
                                << QJsonArray{value, type,      QStringLiteral("ＭＳ ゴシック"),
                                              size,  underline, bold};
        };
        row("A1", QStringLiteral("山田商店"), "s", 10, "", true);
        row("A6", QStringLiteral("パン"), "s", 6);
        row("B6", 150, "n", 6);
        row("A8", QStringLiteral("  ×3  @ 198"), "s", 6);
        row("B9", 55, "n", 6);
        row("B10", QStringLiteral(" "), "s", 6);
        row("A11", QStringLiteral("お買上計"), "s", 6);
        row("B11", 744, "n", 8, "single");
        row("B12", 1000, "n", 8, "single");
        row("B13", 256, "n", 8, "single");
        row("A15", QStringLiteral("レシート.61200001"), "s", 6);
        row("A16", QStringLiteral("担当.　　山田 太郎"), "s", 6);
        row("A17", QStringLiteral("2026/12/01  10:15:30"), "s", 6);
        row("B50", QStringLiteral(" "), "s", 6);
    }

    void aReceiptReadsBackWithItsValuesNumbersAndFonts()
    {
        QFETCH(QString, cell);
        QFETCH(QJsonArray, expected);
        QCOMPARE(first(saleCells_[cell].toArray(), 6), expected);
    }

    void theShopsEditsSurviveAReceipt()
    {
        ProgramFolder folder;
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales);
        copyFile(testData(QStringLiteral("MUK4ECR1-shop.xlsx")), path);
        const QJsonObject before = readWorkbook(path);
        const QString sheetBefore = part(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        const QString stylesBefore = part(path, QStringLiteral("xl/styles.xml"));
        QCOMPARE(writeSale(path, sampleSale()), QString());
        const QJsonObject after = readWorkbook(path);

        for (const char* kept : {"sheets", "active", "widths", "heights", "merged", "margins"})
            QCOMPARE(after[kept], before[kept]);
        const QString receipt = QStringLiteral("レシート"), notes = QStringLiteral("メモ");
        QCOMPARE(cellsOf(after, notes), cellsOf(before, notes));
        for (const QString& heading : cellsOf(before, receipt).keys())
            QCOMPARE(cellsOf(after, receipt)[heading], cellsOf(before, receipt)[heading]);
        QCOMPARE(cellsOf(after, receipt)[QStringLiteral("B11")].toArray()[0].toInt(), 744);
        // The shop's number format stays on the amounts written.
        QCOMPARE(cellsOf(after, receipt)[QStringLiteral("B6")].toArray()[6].toString(),
                 QStringLiteral("#,##0"));

        // Every part but the sheet and the styles keeps its bytes: the logo,
        // the drawing, the other sheet, the shared strings.
        QJsonObject partsBefore = before[QStringLiteral("parts")].toObject();
        QJsonObject partsAfter = after[QStringLiteral("parts")].toObject();
        QCOMPARE(partsAfter.keys(), partsBefore.keys());
        for (const QString& name : partsBefore.keys())
            if (!name.endsWith(QStringLiteral("sheet1.xml")) &&
                !name.endsWith(QStringLiteral("styles.xml")))
                QVERIFY2(partsAfter[name] == partsBefore[name], qPrintable(name));
        // In the sheet, everything outside the cell table keeps its text (the
        // used range aside); the styles only gain formats at their ends.
        const QString sheetAfter = part(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        const QRegularExpression dimension(QStringLiteral("<dimension ref=\"[A-Z0-9:]+\"/>"));
        auto outside = [&](QString text) {
            text.replace(dimension, QString());
            return text.left(text.indexOf(QStringLiteral("<sheetData"))) +
                   text.mid(text.indexOf(QStringLiteral("</sheetData>")));
        };
        QCOMPARE(outside(sheetAfter), outside(sheetBefore));
        const QString stylesAfter = part(path, QStringLiteral("xl/styles.xml"));
        auto items = [](const QString& text, const QString& list) {
            const qsizetype from = text.indexOf(u'>', text.indexOf(u'<' + list + u' ')) + 1;
            return text.mid(from, text.indexOf(QStringLiteral("</%1>").arg(list)) - from);
        };
        for (const QString& list : {QStringLiteral("fonts"), QStringLiteral("cellXfs")})
            QVERIFY(stylesAfter.contains(items(stylesBefore, list)));
        QCOMPARE(stylesAfter.left(stylesAfter.indexOf(QStringLiteral("<fonts "))),
                 stylesBefore.left(stylesBefore.indexOf(QStringLiteral("<fonts "))));
    }

    void receiptAfterReceiptTheStylesStopGrowingAndOldRowsGo()
    {
        ProgramFolder folder;
        QVERIFY(ReceiptTemplates::ensure(folder.path(), ReceiptTemplate::Sales, QString()).ok());
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales);
        FinishedSale longSale = sampleSale();
        for (int i = 0; i < 30; ++i)
            longSale.lines << longSale.lines[0];
        QCOMPARE(writeSale(path, longSale), QString());
        const QString styles = part(path, QStringLiteral("xl/styles.xml"));
        FinishedSale shortReturn = sampleSale();
        shortReturn.isReturn = true;
        QCOMPARE(writeSale(path, shortReturn), QString());
        QCOMPARE(part(path, QStringLiteral("xl/styles.xml")), styles);
        const QJsonObject cells = cellsOf(readWorkbook(path), QStringLiteral("レシート"));
        QStringList beyond;
        for (const QString& cell : cells.keys())
            if (CellAddress::parse(cell)->row > 17)
                beyond << cell;
        QCOMPARE(beyond, QStringList());
        QCOMPARE(cells[QStringLiteral("B15")].toArray()[0].toString(), QStringLiteral("<返品>"));
        // What went is an empty cell in the body font, not a text without text.
        QVERIFY(part(path, QStringLiteral("xl/worksheets/sheet1.xml"))
                    .contains(QStringLiteral("<c r=\"A30\" s=\"1\"/>")));
    }

    void cellsKeepTheirKind()
    {
        ProgramFolder folder;
        QVERIFY(ReceiptTemplates::ensure(folder.path(), ReceiptTemplate::Cash, QString()).ok());
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Cash);
        Workbook book;
        QVERIFY(book.open(path).ok());
        book.write(5, u"A", QStringLiteral("00123"));
        book.write(6, u"A", QStringLiteral("<&> \"quoted\"\ttab"));
        book.write(7, u"B", 0.1);
        book.write(8, u"B", -1200.0);
        book.write(9, u"C", QStringLiteral("right of B"));
        book.write(2, u"A", QString()); // an empty text empties the cell
        QVERIFY(book.save().ok());
        const QJsonObject cells = cellsOf(readWorkbook(path), QStringLiteral("入出金"));
        auto kindAndValue = [&](const char* cell) { return first(cells[cell].toArray(), 2); };
        QCOMPARE(kindAndValue("A5"), (QJsonArray{"00123", "s"}));
        QCOMPARE(kindAndValue("A6"), (QJsonArray{"<&> \"quoted\"\ttab", "s"}));
        QCOMPARE(kindAndValue("B7"), (QJsonArray{0.1, "n"}));
        QCOMPARE(kindAndValue("B8"), (QJsonArray{-1200, "n"}));
        QCOMPARE(kindAndValue("C9"), (QJsonArray{"right of B", "s"}));
        QVERIFY(!cells.contains(QStringLiteral("A2")));
    }

    void partsBesideTheCellsAreKeptConsistent()
    {
        // A workbook without a styles part gets one when a font is set, and
        // clearing a formula drops the calculation chain that lists it.
        ProgramFolder folder;
        QVERIFY(ReceiptTemplates::ensure(folder.path(), ReceiptTemplate::Sales, QString()).ok());
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales);
        Package package;
        QString error;
        QVERIFY(package.open(fileBytes(path), error));
        auto edit = [&](const QString& part, const QString& from, const QString& to) {
            package.replace(part, partText(package.read(part)).replace(from, to).toUtf8());
        };
        const QString rels = QStringLiteral("xl/_rels/workbook.xml.rels");
        const QString types = QStringLiteral("[Content_Types].xml");
        package.remove(QStringLiteral("xl/styles.xml"));
        auto drop = [&](const QString& part, const QString& element) {
            package.replace(
                part, partText(package.read(part)).remove(QRegularExpression(element)).toUtf8());
        };
        drop(rels, QStringLiteral("<Relationship [^>]*styles.xml\"/>"));
        drop(types, QStringLiteral("<Override PartName=\"/xl/styles.xml\"[^>]*/>"));
        // Without styles, no cell or column has one.
        const QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
        package.replace(sheet,
                        partText(package.read(sheet))
                            .remove(QRegularExpression(QStringLiteral(" (s|style)=\"\\d+\"")))
                            .toUtf8());
        edit(sheet, QStringLiteral("</sheetData>"),
             QStringLiteral("<row r=\"20\"><c r=\"B20\"><f>1+1</f><v>2</v></c></row></sheetData>"));
        package.replace(QStringLiteral("xl/calcChain.xml"),
                        "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                        "main\"><c r=\"B20\" i=\"1\"/></calcChain>");
        edit(rels, QStringLiteral("</Relationships>"),
             QStringLiteral("<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/"
                            "officeDocument/2006/relationships/calcChain\" "
                            "Target=\"calcChain.xml\"/></Relationships>"));
        edit(types, QStringLiteral("</Types>"),
             QStringLiteral("<Override PartName=\"/xl/calcChain.xml\" ContentType=\"application/"
                            "vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>"
                            "</Types>"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && package.write(file, error));
        file.close();

        QCOMPARE(writeSale(path, sampleSale()), QString());
        const QJsonObject book = readWorkbook(path);
        const QJsonObject cells = cellsOf(book, QStringLiteral("レシート"));
        QCOMPARE(first(cells[QStringLiteral("B11")].toArray(), 5),
                 (QJsonArray{744, "n", QStringLiteral("ＭＳ ゴシック"), 8, "single"}));
        QCOMPARE(cells[QStringLiteral("B20")].toArray()[0], QJsonValue(QStringLiteral(" ")));
        const QStringList parts = book[QStringLiteral("parts")].toObject().keys();
        QVERIFY(!parts.contains(QStringLiteral("xl/calcChain.xml")));
        QVERIFY(!part(path, types).contains(QStringLiteral("calcChain")));
        QVERIFY(!part(path, rels).contains(QStringLiteral("calcChain")));
        QVERIFY(part(path, types).contains(QStringLiteral("/xl/styles.xml")));
    }

    void cellsAreDrawnAsASpreadsheetShowsThem()
    {
        // Without an alignment of their own, numbers stand right and texts
        // left; a text too long for its cell runs on over empty ones.
        Workbook book;
        QVERIFY(book.open(testData(QStringLiteral("MUK4ECR1-shop.xlsx"))).ok());
        book.write(6, u"C", 7.0);
        book.write(7, u"C", QStringLiteral("7"));
        book.write(8, u"A", QStringLiteral("ＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭＭ"));
        const SheetPage page(SheetView::of(book));
        QCOMPARE(page.printed().last.column, 3);
        QImage image(page.size().toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(2835); // 72 dots per inch: a pixel a point
        image.setDotsPerMeterY(2835);
        QPainter painter(&image);
        page.paint(painter, 1);
        painter.end();
        const QRectF number = page.cellRect(6, 3), text = page.cellRect(7, 3);
        auto half = [](const QRectF& cell, bool right) {
            return QRectF(cell.x() + (right ? cell.width() / 2 : 0), cell.y(), cell.width() / 2,
                          cell.height());
        };
        QVERIFY(inked(image, half(number, true)) && !inked(image, half(number, false)));
        QVERIFY(inked(image, half(text, false)) && !inked(image, half(text, true)));
        QVERIFY(inked(image, page.cellRect(8, 2)));
    }

    void numberFormats_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("shown");
        QTest::newRow("grouped") << 1280.0 << "#,##0"
                                 << "1,280";
        QTest::newRow("grouped negative") << -1234567.0 << "#,##0"
                                          << "-1,234,567";
        QTest::newRow("zero as nothing") << 0.0 << "#,###"
                                         << "";
        QTest::newRow("decimals") << 3.14159 << "0.00"
                                  << "3.14";
        QTest::newRow("optional decimals") << 2.5 << "0.0#"
                                           << "2.5";
        QTest::newRow("percent") << 0.25 << "0%"
                                 << "25%";
        QTest::newRow("general") << 1280.0 << "General"
                                 << "1280";
        QTest::newRow("general fraction") << 0.1 << "General"
                                          << "0.1";
        QTest::newRow("yen, own negative section") << -1200.0 << "\"¥\"#,##0;[Red]\"¥\"\\-#,##0"
                                                   << "¥-1,200";
        QTest::newRow("brackets for negatives") << -5.0 << "#,##0;(#,##0)"
                                                << "(5)";
        QTest::newRow("zero section") << 0.0 << "#,##0;-#,##0;\"-\""
                                      << "-";
        QTest::newRow("thousands scale") << 1234567.0 << "#,##0,"
                                         << "1,235";
        QTest::newRow("currency with locale") << 500.0 << "[$¥-411]#,##0"
                                              << "¥500";
        QTest::newRow("literal after") << 3.0 << "0\"点\""
                                       << "3点";
    }

    void numberFormats()
    {
        QFETCH(double, value);
        QFETCH(QString, code);
        QFETCH(QString, shown);
        QCOMPARE(NumberFormat::apply(value, code), shown);
    }
};

QTEST_MAIN(WorkbookTest)
#include "test_workbook.moc"
