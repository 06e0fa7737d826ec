#include "Fixture.h"
#include "ReceiptFixture.h"

#include "data/NumberFormat.h"
#include "data/SheetPage.h"
#include "pos/ReceiptRows.h"
#include "pos/ReceiptTemplates.h"

#include <QJsonArray>
#include <QPainter>
#include <QRegularExpression>

namespace {
// The first n things openpyxl says of a cell: value, type, font, size,
// underline, bold, number format.
QJsonArray first(const QJsonValue& cell, int n)
{
    const QJsonArray all = cell.toArray();
    QJsonArray head;
    for (int i = 0; i < n && i < all.size(); ++i)
        head.append(all[i]);
    return head;
}

QString writeSale(const QString& path, const FinishedSale& sale)
{
    Workbook book;
    if (WorkbookResult opened = book.open(path); !opened.ok())
        return opened.error().detail;
    ReceiptRows::fill(book, ReceiptRows::sale(sale));
    WorkbookResult saved = book.save();
    return saved.ok() ? QString() : saved.error().detail;
}

const QString Receipt = QStringLiteral("レシート");
const QString Sheet = QStringLiteral("xl/worksheets/sheet1.xml");
const QString Styles = QStringLiteral("xl/styles.xml");
} // namespace

// Writing receipts into workbooks, checked with a reader that shares no code
// with the program (openpyxl).
class WorkbookTest : public QObject {
    Q_OBJECT

    QJsonObject saleCells_;

private slots:
    void initTestCase()
    {
        ProgramFolder folder;
        QVERIFY(ReceiptTemplates::ensure(folder.path(), ReceiptTemplate::Sales, "山田商店").ok());
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales);
        QCOMPARE(writeSale(path, sampleSale()), QString());
        saleCells_ = cellsOf(readWorkbook(path), Receipt);
        QVERIFY(!saleCells_.contains(QStringLiteral("B51")));
    }

    void aReceiptReadsBackWithItsValuesNumbersAndFonts_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QJsonArray>("expected");
        auto row = [](const char* cell, const QJsonValue& value, const char* type, double size,
                      const char* underline = "", bool bold = false) {
            const QString format = cell[0] == 'B' ? "#,##0" : "General";
            QTest::newRow(cell) << QString(cell)
                                << QJsonArray{value,     type, "ＭＳ ゴシック", size,
                                              underline, bold, format};
        };
        row("A1", "山田商店", "s", 10, "", true);
        row("A6", "パン", "s", 6);
        row("B6", 150, "n", 6);
        row("A8", "  ×3  @ 198", "s", 6);
        row("B10", " ", "s", 6);
        row("B11", 744, "n", 8, "single");
        row("B13", 256, "n", 8, "single");
        row("A17", "2026/12/01  10:15:30", "s", 6);
        row("B50", " ", "s", 6);
    }

    void aReceiptReadsBackWithItsValuesNumbersAndFonts()
    {
        QFETCH(QString, cell);
        QFETCH(QJsonArray, expected);
        QCOMPARE(saleCells_[cell].toArray(), expected);
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
        const QString styles = partOf(path, Styles);
        FinishedSale shortReturn = sampleSale();
        shortReturn.isReturn = true;
        QCOMPARE(writeSale(path, shortReturn), QString());
        QCOMPARE(partOf(path, Styles), styles);
        const QJsonObject cells = cellsOf(readWorkbook(path), Receipt);
        QCOMPARE(cells.keys().filter(QRegularExpression("^[A-Z]+(1[89]|[2-9]\\d|\\d{3,})$")),
                 QStringList());
        QCOMPARE(first(cells["B15"], 1), QJsonArray{"<返品>"});
        // What went is an empty cell in the body font, not a text without text.
        QVERIFY(partOf(path, Sheet).contains("<c r=\"A30\" s=\"1\"/>"));
    }

    void cellsKeepTheirKind()
    {
        ProgramFolder folder;
        QVERIFY(ReceiptTemplates::ensure(folder.path(), ReceiptTemplate::Cash, QString()).ok());
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Cash);
        const struct {
            const char* cell;
            CellValue value;
            QJsonArray read; // nothing: an empty text empties the cell
        } writes[] = {{"A5", QString("00123"), {"00123", "s"}},
                      {"A6", QString("<&> \"quoted\"\ttab"), {"<&> \"quoted\"\ttab", "s"}},
                      {"B7", 0.1, {0.1, "n"}},
                      {"B8", -1200.0, {-1200, "n"}},
                      {"C9", QString("right of B"), {"right of B", "s"}},
                      {"A2", QString(), {}}};
        Workbook book;
        QVERIFY(book.open(path).ok());
        for (const auto& w : writes)
            book.write(QString(w.cell).mid(1).toInt(), QString(w.cell).left(1), w.value);
        QVERIFY(book.save().ok());
        const QJsonObject cells = cellsOf(readWorkbook(path), "入出金");
        for (const auto& w : writes)
            QCOMPARE(first(cells[w.cell], 2), w.read);
    }

    void partsBesideTheCellsAreKeptConsistent()
    {
        // A workbook without a styles part gets one when a font is set, and
        // clearing a formula drops the calculation chain that lists it.
        ProgramFolder folder;
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales);
        const QString rels = "xl/_rels/workbook.xml.rels", types = "[Content_Types].xml";
        writeFile(path,
                  templateBytes(
                      {{Styles, {}, {}},
                       {rels, "<Relationship [^>]*styles.xml\"/>", {}},
                       {types, "<Override PartName=\"/xl/styles.xml\"[^>]*/>", {}},
                       {Sheet, " (s|style)=\"\\d+\"", {}},
                       {Sheet, "</sheetData>",
                        "<row r=\"20\"><c r=\"B20\"><f>1+1</f><v>2</v></c></row><row r=\"60\">"
                        "<c r=\"A60\" t=\"inlineStr\"><is><t>old</t></is></c></row></sheetData>"},
                       {"xl/calcChain.xml",
                        {},
                        "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/"
                        "2006/main\"><c r=\"B20\" i=\"1\"/></calcChain>"},
                       {rels, "</Relationships>",
                        "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/"
                        "officeDocument/2006/relationships/calcChain\" Target=\"calcChain.xml\"/>"
                        "</Relationships>"},
                       {types, "</Types>",
                        "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"application/"
                        "vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>"
                        "</Types>"}}));

        QCOMPARE(writeSale(path, sampleSale()), QString());
        const QJsonObject book = readWorkbook(path);
        const QJsonObject cells = cellsOf(book, Receipt);
        QCOMPARE(first(cells["B11"], 5), (QJsonArray{744, "n", "ＭＳ ゴシック", 8, "single"}));
        QCOMPARE(first(cells["B20"], 1), QJsonArray{" "});
        QVERIFY(!cells.contains("A60"));
        QVERIFY(!book["parts"].toObject().contains("xl/calcChain.xml"));
        QVERIFY(!partOf(path, types).contains("calcChain"));
        QVERIFY(!partOf(path, rels).contains("calcChain"));
        QVERIFY(partOf(path, types).contains("/xl/styles.xml"));
    }

    void cellsAreDrawnAsASpreadsheetShowsThem()
    {
        // Without an alignment of their own, numbers stand right and texts
        // left; a text too long for its cell runs on over empty ones.
        Workbook book;
        QVERIFY(book.open(testData("MUK4ECR1-shop.xlsx")).ok());
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
        auto half = [&](int row, bool right) {
            const QRectF cell = page.cellRect(row, 3);
            return inked(image, QRectF(cell.x() + (right ? cell.width() / 2 : 0), cell.y(),
                                       cell.width() / 2, cell.height()));
        };
        QVERIFY(half(6, true) && !half(6, false));
        QVERIFY(half(7, false) && !half(7, true));
        QVERIFY(inked(image, page.cellRect(8, 2)));
        // The shop's margins of 4 mm stand before the first column.
        QVERIFY(qAbs(page.cellRect(1, 1).left() - 4 / 25.4 * 72) < 0.1);
    }

    void numberFormats()
    {
        const struct {
            double value;
            const char *code, *shown;
        } cases[] = {{1280, "#,##0", "1,280"},
                     {-1234567, "#,##0", "-1,234,567"},
                     {0, "#,###", ""},
                     {3.14159, "0.00", "3.14"},
                     {2.5, "0.0#", "2.5"},
                     {0.25, "0%", "25%"},
                     {1280, "General", "1280"},
                     {0.1, "General", "0.1"},
                     {-1200, "\"¥\"#,##0;[Red]\"¥\"\\-#,##0", "¥-1,200"},
                     {-5, "#,##0;(#,##0)", "(5)"},
                     {0, "#,##0;-#,##0;\"-\"", "-"},
                     {0, "#,##0;(#,##0)", "0"},
                     {1234567, "#,##0,", "1,235"},
                     {500, "[$¥-411]#,##0", "¥500"},
                     {3, "0\"点\"", "3点"}};
        for (const auto& c : cases)
            QCOMPARE(NumberFormat::apply(c.value, c.code), QString(c.shown));
    }
};

QTEST_MAIN(WorkbookTest)
#include "test_workbook.moc"
