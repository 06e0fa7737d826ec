#include "pos/ReceiptTemplates.h"

#include "workbook/SheetPage.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const QString Declaration =
    QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
const QString Main = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString Relations =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString Gothic = QStringLiteral("<name val=\"ＭＳ ゴシック\"/><family val=\"3\"/>"
                                      "<charset val=\"128\"/>");
FontStyle standardFont()
{
    FontStyle font;
    font.name = QStringLiteral("ＭＳ ゴシック");
    font.size = 11;
    return font;
}

QByteArray contentTypes()
{
    const QString prefix = QStringLiteral("application/vnd.openxmlformats-");
    return (Declaration +
            QStringLiteral(
                "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Default Extension=\"rels\" ContentType=\"%1package.relationships+xml\"/>"
                "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                "<Override PartName=\"/xl/workbook.xml\" "
                "ContentType=\"%1officedocument.spreadsheetml.sheet.main+xml\"/>"
                "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
                "ContentType=\"%1officedocument.spreadsheetml.worksheet+xml\"/>"
                "<Override PartName=\"/xl/styles.xml\" "
                "ContentType=\"%1officedocument.spreadsheetml.styles+xml\"/></Types>")
                .arg(prefix))
        .toUtf8();
}

QByteArray relationships(const QList<std::pair<QString, QString>>& typeAndTarget)
{
    QString text = Declaration + QStringLiteral("<Relationships xmlns=\"http://schemas."
                                                "openxmlformats.org/package/2006/relationships\">");
    int id = 0;
    for (const auto& [type, target] : typeAndTarget)
        text += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2/%3\" Target=\"%4\"/>")
                    .arg(++id)
                    .arg(Relations, type, target);
    return (text + QStringLiteral("</Relationships>")).toUtf8();
}

QByteArray workbook(const QString& sheetName)
{
    return (Declaration +
            QStringLiteral("<workbook xmlns=\"%1\" xmlns:r=\"%2\">"
                           "<bookViews><workbookView activeTab=\"0\"/></bookViews>"
                           "<sheets><sheet name=\"%3\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
                           "<definedNames><definedName name=\"_xlnm.Print_Area\" "
                           "localSheetId=\"0\">'%3'!$A:$B</definedName></definedNames>"
                           "</workbook>")
                .arg(Main, Relations, xmlEscaped(sheetName)))
        .toUtf8();
}

// Fonts: 0 standard, 1 receipt body, 2 store name, 3 title. Formats: 0
// standard, 1 column A, 2 column B (amounts), 3 store name, 4 title,
// 5 greeting, 6 the rule under the heading.
QByteArray styles()
{
    return (Declaration +
            QStringLiteral(
                "<styleSheet xmlns=\"%1\">"
                "<fonts count=\"4\"><font><sz val=\"11\"/>%2</font><font><sz val=\"6\"/>%2</font>"
                "<font><b/><sz val=\"10\"/>%2</font><font><sz val=\"8\"/>%2</font></fonts>"
                "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
                "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
                "<borders count=\"2\"><border><left/><right/><top/><bottom/><diagonal/></border>"
                "<border><left/><right/><top/><bottom style=\"thin\"><color auto=\"1\"/></bottom>"
                "<diagonal/></border></borders>"
                "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
                "borderId=\"0\"/></cellStyleXfs>"
                "<cellXfs count=\"7\">"
                "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
                "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
                "applyFont=\"1\"/>"
                "<xf numFmtId=\"3\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
                "applyNumberFormat=\"1\" applyFont=\"1\" applyAlignment=\"1\">"
                "<alignment horizontal=\"right\"/></xf>"
                "<xf numFmtId=\"0\" fontId=\"2\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
                "applyFont=\"1\" applyAlignment=\"1\"><alignment horizontal=\"center\"/></xf>"
                "<xf numFmtId=\"0\" fontId=\"3\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
                "applyFont=\"1\" applyAlignment=\"1\"><alignment horizontal=\"center\"/></xf>"
                "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
                "applyFont=\"1\" applyAlignment=\"1\"><alignment horizontal=\"center\"/></xf>"
                "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"1\" xfId=\"0\" "
                "applyFont=\"1\" applyBorder=\"1\"/>"
                "</cellXfs>"
                "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
                "</cellStyles></styleSheet>")
                .arg(Main, Gothic))
        .toUtf8();
}

QString heading(int row, double height, int style, const QString& text)
{
    const QString a = text.isEmpty()
                          ? QStringLiteral("<c r=\"A%1\" s=\"%2\"/>").arg(row).arg(style)
                          : QStringLiteral("<c r=\"A%1\" s=\"%2\" t=\"inlineStr\"><is><t "
                                           "xml:space=\"preserve\">%3</t></is></c>")
                                .arg(row)
                                .arg(style)
                                .arg(xstringEscaped(text));
    // One pass, so that a store name holding "%4" stays as it is.
    return QStringLiteral("<row r=\"%1\" ht=\"%2\" customHeight=\"1\">%3<c r=\"B%1\" s=\"%4\"/>"
                          "</row>")
        .arg(QString::number(row), QString::number(height), a, QString::number(style));
}

QByteArray sheet(const QString& storeName, const QString& title, const QString& greeting)
{
    // 58 mm of roll less 5 mm at each side.
    const double a = SheetPage::columnWidth(90, standardFont());
    const double b = SheetPage::columnWidth(45, standardFont());
    return (Declaration +
            QStringLiteral("<worksheet xmlns=\"%1\" xmlns:r=\"%2\">"
                           "<dimension ref=\"A1:B4\"/>"
                           "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/>"
                           "</sheetViews>"
                           "<sheetFormatPr defaultRowHeight=\"13.5\"/>"
                           "<cols><col min=\"1\" max=\"1\" width=\"%3\" style=\"1\" "
                           "customWidth=\"1\"/><col min=\"2\" max=\"2\" width=\"%4\" style=\"2\" "
                           "customWidth=\"1\"/></cols><sheetData>")
                .arg(Main, Relations)
                .arg(a)
                .arg(b) +
            heading(1, 15, 3, storeName) + heading(2, 11.25, 4, title) +
            heading(3, 9, 5, greeting) + heading(4, 4.5, 6, QString()) +
            QStringLiteral("</sheetData><mergeCells count=\"3\"><mergeCell ref=\"A1:B1\"/>"
                           "<mergeCell ref=\"A2:B2\"/><mergeCell ref=\"A3:B3\"/></mergeCells>"
                           "<pageMargins left=\"0.2\" right=\"0.2\" top=\"0.2\" bottom=\"0.2\" "
                           "header=\"0\" footer=\"0\"/></worksheet>"))
        .toUtf8();
}
} // namespace

namespace ReceiptTemplates {

QString fileName(ReceiptTemplate which)
{
    return which == ReceiptTemplate::Sales ? QStringLiteral("MUK4ECR1.xlsx")
                                           : QStringLiteral("MUK4ECR2.xlsx");
}

QString path(const QString& programFolder, ReceiptTemplate which)
{
    return QDir(programFolder).filePath(fileName(which));
}

WorkbookResult ensure(const QString& programFolder, ReceiptTemplate which, const QString& storeName)
{
    const QString file = path(programFolder, which);
    if (QFileInfo::exists(file))
        return {};
    const bool sales = which == ReceiptTemplate::Sales;
    const QList<std::pair<QString, QByteArray>> parts{
        {QStringLiteral("[Content_Types].xml"), contentTypes()},
        {QStringLiteral("_rels/.rels"),
         relationships({{QStringLiteral("officeDocument"), QStringLiteral("xl/workbook.xml")}})},
        {QStringLiteral("xl/workbook.xml"),
         workbook(sales ? QStringLiteral("レシート") : QStringLiteral("入出金"))},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         relationships({{QStringLiteral("worksheet"), QStringLiteral("worksheets/sheet1.xml")},
                        {QStringLiteral("styles"), QStringLiteral("styles.xml")}})},
        {QStringLiteral("xl/styles.xml"), styles()},
        {QStringLiteral("xl/worksheets/sheet1.xml"),
         sheet(storeName.trimmed(),
               sales ? QStringLiteral("レ シ ー ト") : QStringLiteral("入 出 金 伝 票"),
               sales ? QStringLiteral("毎度ありがとうございます。") : QString())},
    };
    // Receipts are for the owner's eyes only, whatever the umask.
    QSaveFile out(file);
    QString error;
    if (!out.open(QIODevice::WriteOnly) ||
        !out.setPermissions(QFile::ReadOwner | QFile::WriteOwner) ||
        !Package::writeNew(out, parts, error) || !out.commit())
        return WorkbookError{
            WorkbookError::Kind::NotSaved,
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file),
                                         error.isEmpty() ? out.errorString() : error)};
    return {};
}

} // namespace ReceiptTemplates
