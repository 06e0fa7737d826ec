#include "workbook/SheetPart.h"

#include "workbook/CellAddress.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

bool SheetPart::parse(const QString& xml, QString& error)
{
    XmlTree tree;
    if (!tree.parse(xml)) {
        error = tree.error();
        return false;
    }
    const int root = tree.root();
    const int table = tree.child(root, u"sheetData");
    if (tree.at(root).name != u"worksheet" || table < 0) {
        error = QStringLiteral("the sheet has no cell table");
        return false;
    }
    const XmlElement& data = tree.at(table);
    prefix_ = data.prefix();
    if (data.selfClosing()) {
        head_ = xml.left(data.begin) + u'<' + data.qualifiedName + u'>';
        tail_ = u"</"_s + data.qualifiedName + u'>' + xml.mid(data.end);
    } else {
        head_ = xml.left(data.tagEnd);
        tail_ = xml.mid(xml.lastIndexOf(u'<', data.end - 1));
    }
    if (const int d = tree.child(root, u"dimension"); d >= 0) {
        dimensionBegin_ = tree.at(d).begin;
        dimensionEnd_ = tree.at(d).end;
        dimensionName_ = tree.at(d).qualifiedName;
    }
    for (int col : tree.children(tree.child(root, u"cols"), u"col")) {
        const XmlElement& c = tree.at(col);
        columns_.append({c.attribute(u"min").toInt(), c.attribute(u"max").toInt(),
                         c.attribute(u"style").toInt()});
    }
    int rowNumber = 0;
    for (int r : tree.children(table, u"row")) {
        const XmlElement& element = tree.at(r);
        rowNumber = element.hasAttribute(u"r") ? element.attribute(u"r").toInt() : rowNumber + 1;
        Row& row = rows_[rowNumber];
        row.attributes = element.attributes;
        row.raw = tree.outer(r);
        int column = 0;
        for (int c : tree.children(r, u"c")) {
            const XmlElement& cellElement = tree.at(c);
            const auto address = CellAddress::parse(cellElement.attribute(u"r"));
            column = address ? address->column : column + 1;
            Cell& cell = row.cells[column];
            cell.attributes = cellElement.attributes;
            cell.content = tree.inner(c);
            cell.raw = tree.outer(c);
        }
    }
    return true;
}

int SheetPart::styleOf(int row, int column) const
{
    if (const auto r = rows_.find(row); r != rows_.end()) {
        if (const auto c = r->second.cells.find(column); c != r->second.cells.end())
            return attributeValue(c->second.attributes, u"s").toInt();
        if (isTrue(attributeValue(r->second.attributes, u"customFormat")))
            return attributeValue(r->second.attributes, u"s").toInt();
    }
    for (const ColumnStyle& c : columns_)
        if (column >= c.min && column <= c.max)
            return c.style;
    return 0;
}

bool SheetPart::hasCell(int row, int column) const
{
    const auto r = rows_.find(row);
    return r != rows_.end() && r->second.cells.count(column) > 0;
}

SheetPart::Cell& SheetPart::touch(int row, int column)
{
    changed_ = true;
    const int style = styleOf(row, column);
    Row& r = rows_[row];
    r.dirty = true;
    const bool fresh = r.cells.count(column) == 0;
    Cell& cell = r.cells[column];
    cell.dirty = true;
    if (fresh && style != 0)
        cell.attributes.append({QStringLiteral("s"), QString::number(style)});
    return cell;
}

void SheetPart::setStyle(int row, int column, int style)
{
    Cell& cell = touch(row, column);
    if (style == 0)
        removeAttribute(cell.attributes, u"s");
    else
        setAttribute(cell.attributes, QStringLiteral("s"), QString::number(style));
}

bool SheetPart::clearContents(int row, int column)
{
    if (!hasCell(row, column))
        return false;
    Cell& cell = touch(row, column);
    static const QRegularExpression formula(QStringLiteral("<(\\w+:)?f[\\s>/]"));
    const bool hadFormula = cell.content.contains(formula);
    cell.content.clear();
    for (const char16_t* name : {u"t", u"cm", u"vm", u"ph"})
        removeAttribute(cell.attributes, name);
    return hadFormula;
}

void SheetPart::setText(int row, int column, const QString& text)
{
    Cell& cell = touch(row, column);
    setAttribute(cell.attributes, QStringLiteral("t"), QStringLiteral("inlineStr"));
    cell.content = u'<' + prefix_ + u"is><"_s + prefix_ + u"t xml:space=\"preserve\">"_s +
                   xstringEscaped(text) + u"</"_s + prefix_ + u"t></"_s + prefix_ + u"is>"_s;
}

void SheetPart::setNumber(int row, int column, double value)
{
    Cell& cell = touch(row, column);
    removeAttribute(cell.attributes, u"t");
    cell.content = std::isfinite(value)
                       ? u'<' + prefix_ + u"v>"_s +
                             QString::number(value, 'g', QLocale::FloatingPointShortest) + u"</"_s +
                             prefix_ + u"v>"_s
                       : QString();
}

QString SheetPart::cellText(int row, int column, const Cell& cell) const
{
    if (!cell.dirty)
        return cell.raw;
    XmlAttributes attributes = cell.attributes;
    removeAttribute(attributes, u"r");
    attributes.prepend({QStringLiteral("r"), CellAddress{row, column}.text()});
    const QString name = prefix_ + u'c';
    if (cell.content.isEmpty())
        return xmlStartTag(name, attributes, true);
    return xmlStartTag(name, attributes) + cell.content + u"</"_s + name + u'>';
}

QString SheetPart::rowText(int number, const Row& row) const
{
    if (!row.dirty)
        return row.raw;
    XmlAttributes attributes = row.attributes;
    // The span hint would no longer cover the cells written.
    removeAttribute(attributes, u"spans");
    removeAttribute(attributes, u"r");
    attributes.prepend({QStringLiteral("r"), QString::number(number)});
    const QString name = prefix_ + u"row"_s;
    if (row.cells.empty())
        return xmlStartTag(name, attributes, true);
    QString text = xmlStartTag(name, attributes);
    for (const auto& [column, cell] : row.cells)
        text += cellText(number, column, cell);
    return text + u"</"_s + name + u'>';
}

QString SheetPart::dimension() const
{
    int firstColumn = MaxColumn, lastColumn = 0;
    for (const auto& [number, row] : rows_)
        if (!row.cells.empty()) {
            firstColumn = std::min(firstColumn, row.cells.begin()->first);
            lastColumn = std::max(lastColumn, row.cells.rbegin()->first);
        }
    if (lastColumn == 0)
        return QStringLiteral("A1");
    return CellRange{{rows_.begin()->first, firstColumn}, {rows_.rbegin()->first, lastColumn}}
        .text();
}

int SheetPart::lastRow() const
{
    for (auto it = rows_.crbegin(); it != rows_.crend(); ++it)
        if (!it->second.cells.empty())
            return it->first;
    return 0;
}

QString SheetPart::text() const
{
    QString head = head_;
    if (changed_ && dimensionBegin_ >= 0)
        head.replace(dimensionBegin_, dimensionEnd_ - dimensionBegin_,
                     xmlStartTag(dimensionName_, {{QStringLiteral("ref"), dimension()}}, true));
    QString text = head;
    for (const auto& [number, row] : rows_)
        text += rowText(number, row);
    return text + tail_;
}
