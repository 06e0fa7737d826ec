#include "workbook/SheetView.h"

#include "workbook/Workbook.h"

namespace {
constexpr double EmuPerPoint = 12700;

// The first element of a name at any depth below an element.
int below(const XmlTree& tree, int index, QStringView name)
{
    for (int c : tree.at(index).children) {
        if (tree.at(c).name == name)
            return c;
        if (const int found = below(tree, c, name); found >= 0)
            return found;
    }
    return -1;
}

void readMarker(const XmlTree& tree, int marker, int& column, int& row, double& x, double& y)
{
    auto number = [&](QStringView name) {
        const int c = tree.child(marker, name);
        return c < 0 ? 0.0 : tree.at(c).text.trimmed().toDouble();
    };
    column = int(number(u"col"));
    row = int(number(u"row"));
    x = number(u"colOff") / EmuPerPoint;
    y = number(u"rowOff") / EmuPerPoint;
}

QList<SheetView::Picture> readPictures(const Workbook& workbook, const QString& drawingPart)
{
    QHash<QString, QString> images;
    for (const Package::Relationship& r : workbook.package().relationships(drawingPart))
        if (r.type == u"image" && !r.external)
            images.insert(r.id, r.target);
    XmlTree tree;
    if (!tree.parse(partText(workbook.package().read(drawingPart))))
        return {};
    QList<SheetView::Picture> found;
    for (int anchor : tree.children(tree.root())) {
        const int blip = below(tree, anchor, u"blip");
        const int from = tree.child(anchor, u"from");
        if (blip < 0)
            continue;
        SheetView::Picture picture;
        picture.data = workbook.package().read(images.value(tree.at(blip).attribute(u"embed")));
        if (picture.data.isEmpty())
            continue;
        if (from >= 0)
            readMarker(tree, from, picture.fromColumn, picture.fromRow, picture.fromX,
                       picture.fromY);
        if (const int to = tree.child(anchor, u"to"); to >= 0) {
            picture.twoCells = true;
            readMarker(tree, to, picture.toColumn, picture.toRow, picture.toX, picture.toY);
        }
        if (const int ext = tree.child(anchor, u"ext"); ext >= 0) {
            picture.width = tree.at(ext).attribute(u"cx").toDouble() / EmuPerPoint;
            picture.height = tree.at(ext).attribute(u"cy").toDouble() / EmuPerPoint;
        }
        if (const int pos = tree.child(anchor, u"pos"); pos >= 0 && from < 0) {
            // Placed on the page rather than in a cell: counted from A1.
            picture.fromX = tree.at(pos).attribute(u"x").toDouble() / EmuPerPoint;
            picture.fromY = tree.at(pos).attribute(u"y").toDouble() / EmuPerPoint;
        }
        found.append(picture);
    }
    return found;
}

SheetView::Cell readCell(const XmlTree& tree, int c, const QStringList& shared)
{
    const XmlElement& e = tree.at(c);
    SheetView::Cell cell;
    cell.style = e.attribute(u"s").toInt();
    const QString type = e.attribute(u"t", QStringLiteral("n"));
    const int v = tree.child(c, u"v");
    const QString value = v < 0 ? QString() : tree.at(v).text;
    if (type == u"s") {
        cell.text = shared.value(value.toInt());
    } else if (type == u"inlineStr") {
        if (const int is = tree.child(c, u"is"); is >= 0)
            cell.text = stringItemText(tree, is);
    } else if (type == u"b") {
        cell.text = value.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    } else if (type == u"str" || type == u"e") {
        cell.text = value;
    } else if (v >= 0) {
        bool ok = false;
        const double number = value.trimmed().toDouble(&ok);
        if (ok)
            cell.number = number;
    }
    return cell;
}
} // namespace

const SheetView::Cell* SheetView::cell(int row, int column) const
{
    const auto found = cells.find({row, column});
    return found == cells.end() ? nullptr : &found->second;
}

SheetView SheetView::of(const Workbook& workbook)
{
    SheetView view;
    view.styles = workbook.styles();
    view.printArea = workbook.printArea();
    XmlTree tree;
    if (!tree.parse(workbook.sheetText()))
        return view;
    const int root = tree.root();
    if (const int format = tree.child(root, u"sheetFormatPr"); format >= 0) {
        const XmlElement& e = tree.at(format);
        view.defaultRowHeight = e.attribute(u"defaultRowHeight", QStringLiteral("15")).toDouble();
        if (e.hasAttribute(u"defaultColWidth"))
            view.defaultColumnWidth = e.attribute(u"defaultColWidth").toDouble();
        else if (e.hasAttribute(u"baseColWidth"))
            view.defaultColumnWidth = e.attribute(u"baseColWidth").toDouble() + 0.71;
    }
    for (int c : tree.children(tree.child(root, u"cols"), u"col")) {
        const XmlElement& e = tree.at(c);
        view.columns.append({e.attribute(u"min").toInt(), e.attribute(u"max").toInt(),
                             e.attribute(u"width").toDouble(), isTrue(e.attribute(u"hidden"))});
    }
    const QStringList shared = workbook.sharedStrings();
    int rowNumber = 0;
    for (int r : tree.children(tree.child(root, u"sheetData"), u"row")) {
        const XmlElement& e = tree.at(r);
        rowNumber = e.hasAttribute(u"r") ? e.attribute(u"r").toInt() : rowNumber + 1;
        Row& row = view.rows[rowNumber];
        if (e.hasAttribute(u"ht"))
            row.height = e.attribute(u"ht").toDouble();
        row.customHeight = isTrue(e.attribute(u"customHeight"));
        row.hidden = isTrue(e.attribute(u"hidden"));
        int column = 0;
        for (int c : tree.children(r, u"c")) {
            const auto address = CellAddress::parse(tree.at(c).attribute(u"r"));
            column = address ? address->column : column + 1;
            view.cells[{rowNumber, column}] = readCell(tree, c, shared);
        }
    }
    for (int m : tree.children(tree.child(root, u"mergeCells"), u"mergeCell"))
        if (const auto range = CellRange::parse(tree.at(m).attribute(u"ref")))
            view.merges.append(*range);
    if (const int margins = tree.child(root, u"pageMargins"); margins >= 0) {
        const XmlElement& e = tree.at(margins);
        auto inches = [&](QStringView name, double fallback) {
            bool ok = false;
            const double value = e.attribute(name).toDouble(&ok);
            return ok ? value * 72 : fallback;
        };
        view.margins = {inches(u"left", 14.4), inches(u"right", 14.4), inches(u"top", 14.4),
                        inches(u"bottom", 14.4)};
    }
    if (const int drawing = tree.child(root, u"drawing"); drawing >= 0) {
        const QString id = tree.at(drawing).attribute(u"id");
        for (const Package::Relationship& r :
             workbook.package().relationships(workbook.sheetPartName()))
            if (r.id == id && !r.external)
                view.pictures = readPictures(workbook, r.target);
    }
    return view;
}
