#include "workbook/XmlTree.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
QStringView localPart(QStringView qualified)
{
    const qsizetype colon = qualified.indexOf(u':');
    return colon < 0 ? qualified : qualified.mid(colon + 1);
}
} // namespace

QString attributeValue(const XmlAttributes& attributes, QStringView localName,
                       const QString& fallback)
{
    for (const auto& [name, value] : attributes)
        if (localPart(name) == localName)
            return value;
    return fallback;
}

QString XmlElement::attribute(QStringView localName, const QString& fallback) const
{
    return attributeValue(attributes, localName, fallback);
}

bool XmlElement::hasAttribute(QStringView localName) const
{
    return std::any_of(attributes.begin(), attributes.end(),
                       [&](const auto& a) { return localPart(a.first) == localName; });
}

QString XmlElement::prefix() const
{
    const qsizetype colon = qualifiedName.indexOf(u':');
    return colon < 0 ? QString() : qualifiedName.left(colon + 1);
}

bool XmlTree::parse(const QString& xml)
{
    xml_ = xml;
    elements_.clear();
    error_.clear();
    QXmlStreamReader reader(xml_);
    QList<int> open;
    while (!reader.atEnd()) {
        reader.readNext();
        // The reader's offset stands just after the token it returned (for
        // character data it may already have read the next '<'), and no '<'
        // can stand inside a tag, so a tag starts at the last '<' before it.
        const qsizetype offset = reader.characterOffset();
        if (reader.isStartElement()) {
            XmlElement element;
            element.name = reader.name().toString();
            element.qualifiedName = reader.qualifiedName().toString();
            element.tagEnd = offset;
            element.begin = xml_.lastIndexOf(u'<', offset - 1);
            element.parent = open.isEmpty() ? -1 : open.last();
            const QXmlStreamAttributes attributes = reader.attributes();
            element.attributes.reserve(attributes.size());
            for (const QXmlStreamAttribute& a : attributes)
                element.attributes.append({a.qualifiedName().toString(), a.value().toString()});
            const int index = int(elements_.size());
            if (element.parent >= 0)
                elements_[element.parent].children.append(index);
            elements_.append(std::move(element));
            open.append(index);
        } else if (reader.isEndElement()) {
            elements_[open.takeLast()].end = offset;
        } else if (reader.isCharacters() && !open.isEmpty()) {
            elements_[open.last()].text += reader.text();
        }
    }
    if (reader.hasError()) {
        error_ = QStringLiteral("%1 (line %2, column %3)")
                     .arg(reader.errorString())
                     .arg(reader.lineNumber())
                     .arg(reader.columnNumber());
        return false;
    }
    if (elements_.isEmpty()) {
        error_ = QStringLiteral("no element");
        return false;
    }
    return true;
}

QList<int> XmlTree::children(int parent, QStringView name) const
{
    if (parent < 0)
        return {};
    QList<int> found;
    for (int c : elements_[parent].children)
        if (name.isEmpty() || elements_[c].name == name)
            found.append(c);
    return found;
}

int XmlTree::child(int parent, QStringView name) const
{
    if (parent < 0)
        return -1;
    for (int c : elements_[parent].children)
        if (elements_[c].name == name)
            return c;
    return -1;
}

int XmlTree::find(QStringView name) const
{
    for (int i = 0; i < elements_.size(); ++i)
        if (elements_[i].name == name)
            return i;
    return -1;
}

QString XmlTree::inner(int index) const
{
    const XmlElement& e = elements_[index];
    if (e.selfClosing())
        return {};
    const qsizetype close = xml_.lastIndexOf(u'<', e.end - 1);
    return xml_.mid(e.tagEnd, close - e.tagEnd);
}

QString XmlTree::outer(int index) const
{
    const XmlElement& e = elements_[index];
    return xml_.mid(e.begin, e.end - e.begin);
}

namespace {
// _xHHHH_: a lower-case x, the code in four hex digits, which spreadsheets
// write in upper case.
QString escapedCharacter(QChar c)
{
    return u"_x"_s + QString::number(c.unicode(), 16).rightJustified(4, u'0').toUpper() + u'_';
}
} // namespace

QString xstringEscaped(QStringView text)
{
    // A text that itself reads as an escape keeps its underscore escaped, or
    // a reader would turn it into the character it names.
    static const QRegularExpression lookalike(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    QString literal = text.toString();
    literal.replace(lookalike, escapedCharacter(u'_'));
    return xmlEscaped(literal);
}

QString xmlEscaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += u"&amp;"_s;
            break;
        case u'<':
            out += u"&lt;"_s;
            break;
        case u'>':
            out += u"&gt;"_s;
            break;
        case u'"':
            out += u"&quot;"_s;
            break;
        default:
            if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
                out += escapedCharacter(c);
            else
                out += c;
        }
    }
    return out;
}

QString xmlStartTag(const QString& qualifiedName, const XmlAttributes& attributes, bool closeIt)
{
    QString tag = u'<' + qualifiedName;
    for (const auto& [name, value] : attributes)
        tag += u' ' + name + u"=\""_s + xmlEscaped(value) + u'"';
    tag += closeIt ? u"/>" : u">";
    return tag;
}

QString withAttribute(const QString& startTag, const QString& qualifiedName, const QString& value)
{
    const QRegularExpression existing(u"(\\s"_s + QRegularExpression::escape(qualifiedName) +
                                      u"\\s*=\\s*)(\"[^\"]*\"|'[^']*')"_s);
    const QString quoted = u'"' + xmlEscaped(value) + u'"';
    const QRegularExpressionMatch match = existing.match(startTag);
    if (match.hasMatch())
        return startTag.left(match.capturedStart(2)) + quoted + startTag.mid(match.capturedEnd(2));
    const qsizetype close = startTag.endsWith(u"/>") ? startTag.size() - 2 : startTag.size() - 1;
    return startTag.left(close) + u' ' + qualifiedName + u'=' + quoted + startTag.mid(close);
}

void setAttribute(XmlAttributes& attributes, const QString& qualifiedName, const QString& value)
{
    for (auto& a : attributes)
        if (a.first == qualifiedName) {
            a.second = value;
            return;
        }
    attributes.append({qualifiedName, value});
}

void removeAttribute(XmlAttributes& attributes, QStringView qualifiedName)
{
    attributes.removeIf([&](const auto& a) { return a.first == qualifiedName; });
}

bool isTrue(const QString& xmlBoolean)
{
    return xmlBoolean == u"1" || xmlBoolean == u"true";
}

void XmlSplice::replace(qsizetype begin, qsizetype end, const QString& with)
{
    edits_.append({begin, end, with});
}

QString XmlSplice::apply(const QString& text) const
{
    QList<Edit> ordered = edits_;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Edit& a, const Edit& b) { return a.begin < b.begin; });
    QString out;
    out.reserve(text.size() + 256);
    qsizetype at = 0;
    for (const Edit& e : ordered) {
        out += QStringView(text).mid(at, e.begin - at);
        out += e.with;
        at = std::max(at, e.end);
    }
    out += QStringView(text).mid(at);
    return out;
}
