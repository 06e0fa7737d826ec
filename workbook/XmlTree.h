#pragma once

#include <QList>
#include <QString>

#include <utility>

using XmlAttributes = QList<std::pair<QString, QString>>; // qualified name, decoded value

// One element of a part, with the place it takes in the text, so that an edit
// replaces just that span and every other byte stays as its producer wrote it.
struct XmlElement {
    QString name;          // local name
    QString qualifiedName; // as written, with its prefix
    qsizetype begin = 0;   // the '<' of the start tag
    qsizetype tagEnd = 0;  // just after the start tag
    qsizetype end = 0;     // just after the end tag; tagEnd when the tag closes itself
    int parent = -1;
    QList<int> children;
    XmlAttributes attributes;
    QString text; // the element's own character data, decoded

    // The value of the attribute with this local name (any prefix).
    QString attribute(QStringView localName, const QString& fallback = {}) const;
    bool hasAttribute(QStringView localName) const;
    bool selfClosing() const { return end == tagEnd; }
    // "x:" when the element is written with a prefix, else empty.
    QString prefix() const;
};

class XmlTree {
public:
    bool parse(const QString& xml);
    const QString& error() const { return error_; }
    const QString& xml() const { return xml_; }

    const XmlElement& at(int index) const { return elements_[index]; }
    int root() const { return elements_.isEmpty() ? -1 : 0; }
    // Child elements with this local name; all children when the name is empty.
    QList<int> children(int parent, QStringView name = {}) const;
    int child(int parent, QStringView name) const;
    // The first element anywhere with this local name, -1 when there is none.
    int find(QStringView name) const;
    // The raw text between the start and the end tag.
    QString inner(int index) const;
    QString outer(int index) const;

private:
    QString xml_;
    QString error_;
    QList<XmlElement> elements_;
};

// Text and attribute values as this program writes them into a part. Control
// characters XML cannot carry are written as _xHHHH_, as spreadsheets do.
QString xmlEscaped(QStringView text);
// The text of a cell's string item: as above, and an underscore that would
// start what reads as _xHHHH_ written as _x005F_, so that the text reads
// back as it was.
QString xstringEscaped(QStringView text);
QString xmlStartTag(const QString& qualifiedName, const XmlAttributes& attributes,
                    bool closeIt = false);
// The start tag text with one attribute set to a new value (added when
// missing), every other character kept.
QString withAttribute(const QString& startTag, const QString& qualifiedName, const QString& value);

// The value of the attribute with this local name (any prefix).
QString attributeValue(const XmlAttributes& attributes, QStringView localName,
                       const QString& fallback = {});
void setAttribute(XmlAttributes& attributes, const QString& qualifiedName, const QString& value);
void removeAttribute(XmlAttributes& attributes, QStringView qualifiedName);
bool isTrue(const QString& xmlBoolean);

// Replacements of spans of one text, applied together so that the positions
// of the original text stay valid while they are collected.
class XmlSplice {
public:
    void replace(qsizetype begin, qsizetype end, const QString& with);
    void insert(qsizetype at, const QString& text) { replace(at, at, text); }
    QString apply(const QString& text) const;
    bool isEmpty() const { return edits_.isEmpty(); }

private:
    struct Edit {
        qsizetype begin;
        qsizetype end;
        QString with;
    };
    QList<Edit> edits_;
};
