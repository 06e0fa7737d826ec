#include "workbook/StyleSheet.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
std::optional<quint32> colour(const XmlAttributes& attributes)
{
    const QString rgb = attributeValue(attributes, u"rgb");
    if (!rgb.isEmpty()) {
        bool ok = false;
        quint32 value = rgb.toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        return rgb.size() <= 6 ? value | 0xff000000u : value;
    }
    // The eight colours every palette starts with; the rest, theme colours
    // and "automatic" are drawn as the default.
    static const quint32 basic[] = {0xff000000, 0xffffffff, 0xffff0000, 0xff00ff00,
                                    0xff0000ff, 0xffffff00, 0xffff00ff, 0xff00ffff};
    bool ok = false;
    const int indexed = attributeValue(attributes, u"indexed").toInt(&ok);
    if (ok && indexed >= 0 && indexed < 16)
        return basic[indexed % 8];
    return std::nullopt;
}

// Writers spell booleans "1" or "true"; a format is the same either way.
QString keyValue(const QString& value)
{
    return value == u"true"_s    ? QStringLiteral("1")
           : value == u"false"_s ? QStringLiteral("0")
                                 : value;
}

// Appends children to an element and sets its count, leaving the rest of its
// text alone.
void appendChildren(XmlSplice& splice, const XmlTree& tree, int index, const QStringList& added)
{
    if (added.isEmpty())
        return;
    const XmlElement& e = tree.at(index);
    const int count = int(e.children.size() + added.size());
    const QString startTag = tree.xml().mid(e.begin, e.tagEnd - e.begin);
    if (e.selfClosing()) {
        QString open = withAttribute(startTag, QStringLiteral("count"), QString::number(count));
        open.replace(open.size() - 2, 2, QStringLiteral(">"));
        splice.replace(e.begin, e.end,
                       open + added.join(QString()) + u"</"_s + e.qualifiedName + u'>');
        return;
    }
    splice.replace(e.begin, e.tagEnd,
                   withAttribute(startTag, QStringLiteral("count"), QString::number(count)));
    splice.insert(tree.xml().lastIndexOf(u'<', e.end - 1), added.join(QString()));
}

const QHash<int, QString>& builtInFormats()
{
    static const QHash<int, QString> formats{
        {0, QStringLiteral("General")},
        {1, QStringLiteral("0")},
        {2, QStringLiteral("0.00")},
        {3, QStringLiteral("#,##0")},
        {4, QStringLiteral("#,##0.00")},
        {5, QStringLiteral("\"¥\"#,##0;\"¥\"\\-#,##0")},
        {6, QStringLiteral("\"¥\"#,##0;[Red]\"¥\"\\-#,##0")},
        {7, QStringLiteral("\"¥\"#,##0.00;\"¥\"\\-#,##0.00")},
        {8, QStringLiteral("\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00")},
        {9, QStringLiteral("0%")},
        {10, QStringLiteral("0.00%")},
        {11, QStringLiteral("0.00E+00")},
        {37, QStringLiteral("#,##0 ;(#,##0)")},
        {38, QStringLiteral("#,##0 ;[Red](#,##0)")},
        {39, QStringLiteral("#,##0.00;(#,##0.00)")},
        {40, QStringLiteral("#,##0.00;[Red](#,##0.00)")},
        {49, QStringLiteral("@")},
    };
    return formats;
}
} // namespace

bool StyleSheet::parse(const QString& xml, QString& error)
{
    if (!tree_.parse(xml)) {
        error = tree_.error();
        return false;
    }
    const int root = tree_.root();
    fontsElement_ = tree_.child(root, u"fonts");
    formatsElement_ = tree_.child(root, u"cellXfs");
    bordersElement_ = tree_.child(root, u"borders");
    fillsElement_ = tree_.child(root, u"fills");
    if (tree_.at(root).name != u"styleSheet" || fontsElement_ < 0 || formatsElement_ < 0) {
        error = QStringLiteral("the styles part has no fonts or no cell formats");
        return false;
    }
    for (int f : tree_.children(fontsElement_, u"font")) {
        Parts parts;
        for (int c : tree_.children(f))
            parts.append({tree_.at(c).name, tree_.at(c).attributes});
        fontIndex_.insert(canonical(parts), int(fontParts_.size()));
        fonts_.append(fontStyle(parts));
        fontParts_.append(std::move(parts));
    }
    for (int x : tree_.children(formatsElement_, u"xf")) {
        const XmlElement& e = tree_.at(x);
        CellFormat format;
        format.numberFormat = e.attribute(u"numFmtId").toInt();
        format.font = e.attribute(u"fontId").toInt();
        format.fill = e.attribute(u"fillId").toInt();
        format.border = e.attribute(u"borderId").toInt();
        if (const int a = tree_.child(x, u"alignment"); a >= 0) {
            format.horizontal = tree_.at(a).attribute(u"horizontal");
            format.vertical = tree_.at(a).attribute(u"vertical");
            format.wrap = isTrue(tree_.at(a).attribute(u"wrapText"));
        }
        const QString inner = tree_.inner(x);
        formatIndex_.insert(formatKey(e.attributes, inner), int(formats_.size()));
        formatParts_.append({e.attributes, inner});
        formats_.append(format);
    }
    for (int n : tree_.children(tree_.child(root, u"numFmts"), u"numFmt"))
        numberFormats_.insert(tree_.at(n).attribute(u"numFmtId").toInt(),
                              tree_.at(n).attribute(u"formatCode"));
    return true;
}

QString StyleSheet::minimal()
{
    return QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"ＭＳ ゴシック\"/></font></fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
        "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
        "</cellStyleXfs>"
        "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
        "xfId=\"0\"/></cellXfs>"
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
        "</cellStyles></styleSheet>");
}

QString StyleSheet::canonical(const Parts& parts)
{
    QStringList items;
    for (const auto& [name, attributes] : parts) {
        QStringList values;
        for (const auto& [key, value] : attributes)
            values.append(key + u'=' + keyValue(value));
        values.sort();
        items.append(name + u'(' + values.join(u',') + u')');
    }
    items.sort();
    return items.join(u';');
}

FontStyle StyleSheet::fontStyle(const Parts& parts)
{
    FontStyle font;
    for (const auto& [name, attributes] : parts) {
        const QString value = attributeValue(attributes, u"val");
        const bool on = value.isEmpty() || isTrue(value);
        if (name == u"name")
            font.name = value;
        else if (name == u"sz")
            font.size = value.toDouble();
        else if (name == u"b")
            font.bold = on;
        else if (name == u"i")
            font.italic = on;
        else if (name == u"strike")
            font.strike = on;
        else if (name == u"color")
            font.argb = colour(attributes);
        else if (name == u"u")
            font.underline = value.isEmpty() || value == u"single" || value == u"singleAccounting"
                                 ? Underline::Single
                             : value.startsWith(u"double") ? Underline::Double
                                                           : Underline::None;
    }
    if (font.size <= 0)
        font.size = 11;
    return font;
}

QString StyleSheet::formatKey(const XmlAttributes& attributes, const QString& inner) const
{
    QStringList values;
    for (const auto& [key, value] : attributes)
        values.append(key + u'=' + keyValue(value));
    values.sort();
    return values.join(u',') + u'|' + inner.trimmed();
}

int StyleSheet::fontWith(int font, const CellFont& change)
{
    Parts parts = font >= 0 && font < fontParts_.size() ? fontParts_[font] : Parts();
    const bool renamed = fonts_.value(font).name != change.name;
    parts.removeIf([&](const auto& p) {
        return p.first == u"u" || p.first == u"sz" || p.first == u"name" ||
               (renamed && (p.first == u"scheme" || p.first == u"family" || p.first == u"charset"));
    });
    if (change.underline)
        parts.append({QStringLiteral("u"), {}});
    parts.append(
        {QStringLiteral("sz"), {{QStringLiteral("val"), QString::number(change.size, 'g', 15)}}});
    parts.append({QStringLiteral("name"), {{QStringLiteral("val"), change.name}}});
    const QString key = canonical(parts);
    if (const auto found = fontIndex_.find(key); found != fontIndex_.end())
        return *found;
    const QString prefix = tree_.at(fontsElement_).prefix();
    QString text = u'<' + prefix + u"font>"_s;
    for (const auto& [name, attributes] : parts)
        text += xmlStartTag(prefix + name, attributes, true);
    newFonts_.append(text + u"</"_s + prefix + u"font>"_s);
    const int index = int(fontParts_.size());
    fontIndex_.insert(key, index);
    fonts_.append(fontStyle(parts));
    fontParts_.append(std::move(parts));
    return index;
}

int StyleSheet::withFont(int format, const CellFont& font)
{
    if (format < 0 || format >= formats_.size())
        format = 0;
    auto [attributes, inner] = formatParts_.value(format);
    const int fontId = fontWith(formats_.value(format).font, font);
    setAttribute(attributes, QStringLiteral("fontId"), QString::number(fontId));
    setAttribute(attributes, QStringLiteral("applyFont"), QStringLiteral("1"));
    const QString key = formatKey(attributes, inner);
    if (const auto found = formatIndex_.find(key); found != formatIndex_.end())
        return *found;
    const QString name = tree_.at(formatsElement_).prefix() + u"xf"_s;
    newFormats_.append(inner.isEmpty()
                           ? xmlStartTag(name, attributes, true)
                           : xmlStartTag(name, attributes) + inner + u"</"_s + name + u'>');
    CellFormat derived = formats_.value(format);
    derived.font = fontId;
    const int index = int(formats_.size());
    formatIndex_.insert(key, index);
    formatParts_.append({attributes, inner});
    formats_.append(derived);
    return index;
}

QString StyleSheet::text() const
{
    XmlSplice splice;
    appendChildren(splice, tree_, fontsElement_, newFonts_);
    appendChildren(splice, tree_, formatsElement_, newFormats_);
    return splice.apply(tree_.xml());
}

const CellFormat& StyleSheet::format(int index) const
{
    static const CellFormat general;
    return index >= 0 && index < formats_.size() ? formats_[index] : general;
}

const FontStyle& StyleSheet::font(int index) const
{
    static const FontStyle standard;
    return index >= 0 && index < fonts_.size() ? fonts_[index] : standard;
}

BorderStyle StyleSheet::border(int index) const
{
    BorderStyle border;
    const QList<int> all = tree_.children(bordersElement_, u"border");
    if (index < 0 || index >= all.size())
        return border;
    for (int edge : tree_.children(all[index])) {
        const XmlElement& e = tree_.at(edge);
        BorderLine line{e.attribute(u"style"), {}};
        if (const int c = tree_.child(edge, u"color"); c >= 0)
            line.argb = colour(tree_.at(c).attributes);
        if (e.name == u"left" || e.name == u"start")
            border.left = line;
        else if (e.name == u"right" || e.name == u"end")
            border.right = line;
        else if (e.name == u"top")
            border.top = line;
        else if (e.name == u"bottom")
            border.bottom = line;
    }
    return border;
}

std::optional<quint32> StyleSheet::solidFill(int index) const
{
    const QList<int> all = tree_.children(fillsElement_, u"fill");
    if (index < 0 || index >= all.size())
        return std::nullopt;
    const int pattern = tree_.child(all[index], u"patternFill");
    if (pattern < 0 || tree_.at(pattern).attribute(u"patternType") != u"solid")
        return std::nullopt;
    const int fg = tree_.child(pattern, u"fgColor");
    return fg < 0 ? std::nullopt : colour(tree_.at(fg).attributes);
}

QString StyleSheet::numberFormatCode(int id) const
{
    if (const auto custom = numberFormats_.find(id); custom != numberFormats_.end())
        return *custom;
    return builtInFormats().value(id, QStringLiteral("General"));
}
