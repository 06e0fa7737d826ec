#pragma once

#include "workbook/XmlTree.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// A font as a cell format sets it: the name, the size in points and whether
// the text is underlined once.
struct CellFont {
    QString name;
    double size = 11;
    bool underline = false;
    bool operator==(const CellFont&) const = default;
};

enum class Underline { None, Single, Double };

struct FontStyle {
    QString name;
    double size = 11;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    Underline underline = Underline::None;
    std::optional<quint32> argb;
};

struct BorderLine {
    QString style; // "thin", "medium", "dashed", ... ; empty for none
    std::optional<quint32> argb;
    bool drawn() const { return !style.isEmpty() && style != u"none"; }
};

struct BorderStyle {
    BorderLine left, right, top, bottom;
};

struct CellFormat {
    int numberFormat = 0;
    int font = 0;
    int fill = 0;
    int border = 0;
    QString horizontal; // empty: general
    QString vertical;   // empty: bottom
    bool wrap = false;
};

// The styles part of a workbook: read for drawing cells, and extended (never
// rewritten) when a cell gets a font the workbook has no format for yet.
class StyleSheet {
public:
    bool parse(const QString& xml, QString& error);
    // A styles part for a workbook that came without one.
    static QString minimal();

    // The cell format that is `format` with `font` in place of its font:
    // an identical existing one when there is one, else a new one.
    int withFont(int format, const CellFont& font);
    bool changed() const { return !newFonts_.isEmpty() || !newFormats_.isEmpty(); }
    QString text() const;

    const CellFormat& format(int index) const;
    const FontStyle& font(int index) const;
    BorderStyle border(int index) const;
    std::optional<quint32> solidFill(int index) const;
    // The format code of a number format id, custom or built in.
    QString numberFormatCode(int id) const;
    int formatCount() const { return int(formats_.size()); }

private:
    using Parts = QList<std::pair<QString, XmlAttributes>>; // child name, attributes
    static QString canonical(const Parts& parts);
    static FontStyle fontStyle(const Parts& parts);
    QString formatKey(const XmlAttributes& attributes, const QString& inner) const;
    int fontWith(int font, const CellFont& change);

    XmlTree tree_;
    int fontsElement_ = -1;
    int formatsElement_ = -1;
    int bordersElement_ = -1;
    int fillsElement_ = -1;
    QList<Parts> fontParts_;
    QList<FontStyle> fonts_;
    QHash<QString, int> fontIndex_;
    QList<std::pair<XmlAttributes, QString>> formatParts_; // attributes, inner text
    QList<CellFormat> formats_;
    QHash<QString, int> formatIndex_;
    QHash<int, QString> numberFormats_;
    QStringList newFonts_;
    QStringList newFormats_;
};
