#include "ReceiptFixture.h"

#include "pos/ReceiptRows.h"
#include "pos/ReceiptTemplates.h"
#include "workbook/NumberFormat.h"

#include <QJsonArray>
#include <QPainter>
#include <QRegularExpression>

namespace {
// The first n things openpyxl says of a cell: value, type, font, size,
// underline, bold, number format.
QJsonArray first(const QJsonValue& cell, int n)
{
    return QJsonArray::fromVariantList(cell.toArray().toVariantList().mid(0, n));
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

// A receipt's writes one a line: "A6 パン", a number cell "B6 #150", a cell
// in the amounts' font (size 8, underlined) with " [8u]".
QStringList writes(const ReceiptSheet& sheet)
{
    QStringList lines;
    for (const ReceiptCell& cell : sheet.cells) {
        const QString* text = std::get_if<QString>(&cell.value);
        QString line =
            cell.column + QString::number(cell.row) +
            (text ? u' ' + *text
                  : QStringLiteral(" #") + QString::number(std::get<double>(cell.value)));
        if (cell.font != sheet.bodyFont)
            line += cell.font == ReceiptRows::amountFont() ? QStringLiteral(" [8u]")
                                                           : QStringLiteral(" [other font]");
        lines << line;
    }
    return lines;
}

// Rows written as "A6 パン|B6 #150|…", closed by the staff and the moment
// below the receipt number's row.
QStringList rows(const QString& text, int receiptRow, bool blanksFirst = false)
{
    QStringList all;
    for (int row = 5; blanksFirst && row <= 50; ++row)
        all << QStringLiteral("A%1  ").arg(row) << QStringLiteral("B%1  ").arg(row);
    return all << text.split(u'|') << QStringLiteral("A%1 担当.　　山田 太郎").arg(receiptRow + 1)
               << QStringLiteral("A%1 2026/12/01  10:15:30").arg(receiptRow + 2);
}
const QString Receipt = QStringLiteral("レシート");
const QString Sheet = QStringLiteral("xl/worksheets/sheet1.xml");
const QString Styles = QStringLiteral("xl/styles.xml");
} // namespace

// The rows of every kind of receipt, and writing them into workbooks, checked
// with a reader that shares no code with the program (openpyxl).
class WorkbookTest : public QObject {
    Q_OBJECT

    QJsonObject saleCells_;

private slots:
    void receipts_data()
    {
        // sheet, expected
        table::columns<ReceiptSheet, QStringList>();
        const SaleReceiptLine bread = saleLine("パン", 1, 150), milk = saleLine("牛乳", 3, 198);
        const QString twoLines = "A6 パン|B6 #150|A7 牛乳|B7 #594|A8   ×3  @ 198|A9 消費税|B9 #55|"
                                 "A11 お買上計|B11 #744 [8u]|";
        auto sale = [&](const char* name, Settlement settlement, double tendered,
                        const QString& text, int receiptRow) {
            QTest::newRow(name) << ReceiptRows::sale(
                                       finishedSale(settlement, tendered, {bread, milk}))
                                << rows(twoLines + text, receiptRow, true);
        };
        sale("cash, quantities 1 and 3, tendered exactly", Settlement::Cash, 744,
             "A12 お預り金|B12 #744 [8u]|A14 レシート.61200001", 14);
        sale("cash with change", Settlement::Cash, 1000,
             "A12 お預り金|B12 #1000 [8u]|A13 お釣り|B13 #256 [8u]|A15 レシート.61200001", 15);
        sale("partial payment", Settlement::PartialCredit, 500,
             "A12 売掛内金|B12 #500 [8u]|A13 売掛金|B13 #244 [8u]|A15 レシート.61200001", 15);
        sale("credit sale", Settlement::Credit, 0, "A12 売掛金|B12 #744 [8u]|A14 レシート.61200001",
             14);
        QTest::newRow("quantity 0 gives one row, price with thousands")
            << ReceiptRows::sale(
                   finishedSale(Settlement::Cash, 20000,
                                {saleLine("試食", 0, 300), saleLine("ロールパン", 12, 1280)}))
            << rows("A6 試食|B6 #0|A7 ロールパン|B7 #15360|A8   ×12  @ 1,280|A9 消費税|B9 #55|"
                    "A11 お買上計|B11 #15360 [8u]|A12 お預り金|B12 #20000 [8u]|"
                    "A13 お釣り|B13 #4640 [8u]|A15 レシート.61200001",
                    15, true);
        QTest::newRow("a return, without blanks")
            << ReceiptRows::sale(finishedSale(Settlement::Cash, 744, {bread, milk}, true))
            << rows(twoLines + "A12 お預り金|B12 #744 [8u]|A14 レシート.61200001|B14 <返品>", 14);

        // A reduced line or a registration number: the total and the tax of
        // each rate, the tax rounded once per rate (3 x 100 at 8% holds 22,
        // not 3 x 7), the reduced lines marked.
        FinishedSale twoRates = finishedSale(
            Settlement::Cash, 2180, {saleLine("紙袋", 1, 1100), saleLine("パン", 1, 1080, true)});
        twoRates.registrationNumber = "T9234567890123";
        QTest::newRow("two rates, registered")
            << ReceiptRows::sale(twoRates)
            << (rows("A6 紙袋|B6 #1100|A7 パン ※|B7 #1080|A8 10%対象|B8 #1100|A9 　内消費税|"
                     "B9 #100|A10 8%対象|B10 #1080|A11 　内消費税|B11 #80|A13 お買上計|"
                     "B13 #2180 [8u]|A14 お預り金|B14 #2180 [8u]|A16 ※は軽減税率対象商品|"
                     "A17 レシート.61200001",
                     17, true)
                << "A20 登録番号 T9234567890123");
        const SaleReceiptLine bun = saleLine("パン", 1, 100, true);
        QTest::newRow("one rate, rounded once")
            << ReceiptRows::sale(finishedSale(Settlement::Cash, 300, {bun, bun, bun}, true))
            << rows("A6 パン ※|B6 #100|A7 パン ※|B7 #100|A8 パン ※|B8 #100|A9 8%対象|B9 #300|"
                    "A10 　内消費税|B10 #22|A12 お買上計|B12 #300 [8u]|A13 お預り金|"
                    "B13 #300 [8u]|A15 ※は軽減税率対象商品|A16 レシート.61200001|B16 <返品>",
                    16);
        FinishedSale registered = finishedSale(Settlement::Credit, 0, {bread, milk});
        registered.registrationNumber = "T9234567890123";
        QTest::newRow("one rate, registered")
            << ReceiptRows::sale(registered)
            << (rows("A6 パン|B6 #150|A7 牛乳|B7 #594|A8   ×3  @ 198|A9 10%対象|B9 #744|"
                     "A10 　内消費税|B10 #67|A12 お買上計|B12 #744 [8u]|A13 売掛金|"
                     "B13 #744 [8u]|A15 レシート.61200001",
                     15, true)
                << "A18 登録番号 T9234567890123");

        QTest::newRow("deposit 1200 x 3, tendered exactly")
            << ReceiptRows::cash(finishedCash(CashDirection::Deposit, 3600,
                                              {cashLine("0001", "釣銭準備金", "0002", 3, 1200)}))
            << rows("A6 釣銭準備金|B6 #3600|A7   ×3  @ 1,200|A8 0002  0001|A9 入金計|"
                    "B9 #3600 [8u]|A10 お預り金|B10 #3600 [8u]|A12 レシート.61200002|B12 <入金>",
                    12);
        QTest::newRow("payment of quantity 1 with change")
            << ReceiptRows::cash(finishedCash(CashDirection::Payment, 1000,
                                              {cashLine("0002", "消耗品費", "0003", 1, 500)}))
            << rows("A6 消耗品費|B6 #500|A7 0003  0002|A8 支払計|B8 #500 [8u]|A9 お預り金|"
                    "B9 #1000 [8u]|A10 お釣り|B10 #500 [8u]|A12 レシート.61200002|B12 <支払>",
                    12);
        QTest::newRow("quantity 0 and a negative amount")
            << ReceiptRows::cash(finishedCash(CashDirection::Deposit, 0,
                                              {cashLine("0002", "消耗品費", "0003", 0, 500),
                                               cashLine("0001", "釣銭準備金", "0000", 2, -1200)}))
            << rows("A6 消耗品費|B6 #0|A7 0003  0002|A8 釣銭準備金|B8 #-2400|"
                    "A9   ×2  @ -1,200|A10 0000  0001|A11 入金計|B11 #-2400 [8u]|"
                    "A12 お預り金|B12 #0 [8u]|A13 お釣り|B13 #2400 [8u]|"
                    "A15 レシート.61200002|B15 <入金>",
                    15);
    }

    void receipts()
    {
        const auto [sheet, expected] = table::fetch<ReceiptSheet, QStringList>();
        QCOMPARE(writes(sheet), expected);
    }

    // A sale of the most lines at two rates, then the sample sale, in the
    // default template: the styles stop growing and rows beyond the short
    // receipt's blanks go, past row 100 too.
    void initTestCase()
    {
        ProgramFolder folder;
        QVERIFY(ReceiptTemplates::ensure(folder.path(), ReceiptTemplate::Sales, "山田商店").ok());
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales);
        FinishedSale longSale = sampleSale();
        longSale.registrationNumber = "T9234567890123";
        for (int i = 0; i < 98; ++i)
            longSale.lines << saleLine("パン", 1, 150, true);
        QCOMPARE(writeSale(path, longSale), QString());
        QCOMPARE(cellsOf(readWorkbook(path), Receipt)["A120"].toArray().first(),
                 QJsonValue("登録番号 T9234567890123"));
        const QString styles = partOf(path, Styles);
        QCOMPARE(writeSale(path, sampleSale()), QString());
        QCOMPARE(partOf(path, Styles), styles);
        saleCells_ = cellsOf(readWorkbook(path), Receipt);
        QCOMPARE(saleCells_.keys().filter(QRegularExpression("^[A-Z]+(5[1-9]|[6-9]\\d|\\d{3,})$")),
                 QStringList());
        // What went is an empty cell in the body font, not a text without text.
        QVERIFY(partOf(path, Sheet).contains("<c r=\"A70\" s=\"1\"/>"));
    }

    void aReceiptReadsBackWithItsValuesNumbersAndFonts_data()
    {
        // cell, expected
        table::columns<QString, QJsonArray>();
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
        row("B11", 744, "n", 8, "single");
        row("B13", 256, "n", 8, "single");
        row("B50", " ", "s", 6);
    }

    void aReceiptReadsBackWithItsValuesNumbersAndFonts()
    {
        const auto [cell, expected] = table::fetch<QString, QJsonArray>();
        QCOMPARE(saleCells_[cell].toArray(), expected);
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
                      // openpyxl shows the escapes as the format writes them
                      {"A3", QString("パン\u0001\u001f"), {"パン_x0001__x001F_", "s"}},
                      {"A4",
                       QString("_x0041_ _x00e9_ _X0041_"),
                       {"_x005F_x0041_ _x005F_x00e9_ _X0041_", "s"}},
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
        Workbook again;
        QVERIFY(again.open(path).ok());
        const SheetView view = SheetView::of(again);
        for (const auto& w : writes) {
            QCOMPARE(first(cells[w.cell], 2), w.read);
            const auto at = CellAddress::parse(QString(w.cell));
            if (const QString* text = std::get_if<QString>(&w.value); text && !text->isEmpty())
                QCOMPARE(view.cells.at({at->row, at->column}).text, *text);
        }
        // Spreadsheets write the hex digits in either case.
        XmlTree item;
        QVERIFY(item.parse("<si><t>_x00e9__x00C9_</t></si>"));
        QCOMPARE(stringItemText(item, item.root()), QStringLiteral("éÉ"));
    }

    void aWorkbookWithoutStylesGetsThemForTheAmounts()
    {
        ProgramFolder folder;
        const QString path = ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales);
        const QString types = "[Content_Types].xml", rels = "xl/_rels/workbook.xml.rels";
        const QString ns = "http://schemas.openxmlformats.org/";
        // Two formulas in the receipt's rows, listed in a calculation chain.
        const QString formulas = "<row r=\"20\"><c r=\"B20\"><f>1+1</f><v>2</v></c></row><row "
                                 "r=\"60\"><c r=\"B60\"><f>B20*2</f><v>4</v></c></row>";
        const QString chain = "<calcChain xmlns=\"" + ns + "spreadsheetml/2006/main\">" +
                              "<c r=\"B20\" i=\"1\"/><c r=\"B60\"/></calcChain>";
        const QString link = "<Relationship Id=\"rId9\" Target=\"calcChain.xml\" Type=\"" + ns +
                             "officeDocument/2006/relationships/calcChain\"/>";
        writeFile(path, templateBytes({{Styles, {}, {}},
                                       {rels, "<Relationship [^>]*styles.xml\"/>", link},
                                       {types, "<Override PartName=\"/xl/styles.xml\"[^>]*/>", {}},
                                       {Sheet, " (s|style)=\"\\d+\"", {}},
                                       {Sheet, "(?=</sheetData>)", formulas},
                                       {"xl/calcChain.xml", {}, chain}}));
        QCOMPARE(writeSale(path, sampleSale()), QString());
        const QJsonObject book = readWorkbook(path);
        const QJsonObject cells = cellsOf(book, Receipt);
        QCOMPARE(first(cells["B11"], 5), (QJsonArray{744, "n", "ＭＳ ゴシック", 8, "single"}));
        QVERIFY(partOf(path, types).contains("/xl/styles.xml"));
        // Both formulas went, and with them the chain, which would otherwise
        // name cells without one: a damaged file to a spreadsheet.
        QCOMPARE(first(cells["B20"], 1), QJsonArray{" "});
        QVERIFY(!cells.contains("B60"));
        QVERIFY(!book["parts"].toObject().contains("xl/calcChain.xml"));
        QVERIFY(!partOf(path, rels).contains("calcChain"));
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
        // The shop's margins of 4 mm stand before the first column, and its
        // first row is 11 mm high.
        QVERIFY(qAbs(page.cellRect(1, 1).left() - 4 / 25.4 * 72) < 0.1);
        QVERIFY(qAbs(page.cellRect(1, 1).height() - 11 / 25.4 * 72) < 0.5);
    }

    void numberFormats()
    {
        const struct {
            double value;
            const char *code, *shown;
        } cases[] = {{-1234567, "#,##0", "-1,234,567"},
                     {0, "#,###", ""},
                     {3.14159, "0.00", "3.14"},
                     {0.25, "0%", "25%"},
                     {1280, "General", "1280"},
                     {-1200, "\"¥\"#,##0;[Red]\"¥\"\\-#,##0", "¥-1,200"},
                     {-5, "#,##0;(#,##0)", "(5)"},
                     {0, "#,##0;-#,##0;\"-\"", "-"},
                     {1234567, "#,##0,", "1,235"},
                     {500, "[$¥-411]#,##0", "¥500"},
                     {3, "0\"点\"", "3点"}};
        for (const auto& c : cases)
            QCOMPARE(NumberFormat::apply(c.value, c.code), QString(c.shown));
    }
};

QTEST_MAIN(WorkbookTest)
#include "test_workbook.moc"
