#include "workbook/PdfDocument.h"

#include "workbook/SheetPage.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

// This code uses qpdf's standard smart pointers only, not its old holder.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace {
// A text map's entries: a glyph's code and the UTF-16 text it stands for.
using TextMap = std::map<unsigned, QString>;

unsigned hexValue(const std::string& hex)
{
    return unsigned(std::stoul(hex.empty() ? std::string("0") : hex, nullptr, 16));
}

QString utf16(const std::string& hex)
{
    QString text;
    for (size_t i = 0; i + 4 <= hex.size(); i += 4)
        text += QChar(char16_t(hexValue(hex.substr(i, 4))));
    return text;
}

std::string hex(const QString& text)
{
    std::string out;
    for (QChar c : text)
        out += QString::asprintf("%04X", c.unicode()).toStdString();
    return out;
}

// The tokens of a CMap program that matter here: <hex> strings, brackets and
// words; each with where it starts.
struct Token {
    std::string text;
    size_t at;
    bool hex;
};

std::vector<Token> tokens(const std::string& program)
{
    std::vector<Token> out;
    for (size_t i = 0; i < program.size();) {
        const char c = program[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '<' && program.compare(i, 2, "<<") != 0) {
            const size_t end = program.find('>', i);
            if (end == std::string::npos)
                break;
            std::string digits;
            for (size_t k = i + 1; k < end; ++k)
                if (std::isxdigit(static_cast<unsigned char>(program[k])))
                    digits += program[k];
            out.push_back({digits, i, true});
            i = end + 1;
        } else if (c == '<' || c == '>') {
            // << and >>, around a dictionary.
            out.push_back({program.substr(i, 2), i, false});
            i += 2;
        } else if (c == '[' || c == ']') {
            out.push_back({std::string(1, c), i++, false});
        } else {
            const size_t start = i;
            while (i < program.size() && !std::isspace(static_cast<unsigned char>(program[i])) &&
                   program[i] != '<' && program[i] != '>' && program[i] != '[' && program[i] != ']')
                ++i;
            out.push_back({program.substr(start, i - start), start, false});
        }
    }
    return out;
}

// Reads the bfchar and bfrange sections; `first` and `last` are where the
// first section's count starts and the last section ends.
TextMap readMap(const std::string& program, size_t& first, size_t& last)
{
    TextMap map;
    const std::vector<Token> t = tokens(program);
    first = std::string::npos;
    last = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        const bool chars = t[i].text == "beginbfchar", ranges = t[i].text == "beginbfrange";
        if (!chars && !ranges)
            continue;
        if (first == std::string::npos)
            first = i > 0 ? t[i - 1].at : t[i].at;
        ++i;
        while (i < t.size() && t[i].text != "endbfchar" && t[i].text != "endbfrange") {
            if (chars && i + 1 < t.size()) {
                map[hexValue(t[i].text)] = utf16(t[i + 1].text);
                i += 2;
            } else if (ranges && i + 2 < t.size()) {
                const unsigned low = hexValue(t[i].text), high = hexValue(t[i + 1].text);
                i += 2;
                if (t[i].text == "[") {
                    for (unsigned code = low; ++i < t.size() && t[i].hex; ++code)
                        map[code] = utf16(t[i].text);
                    ++i;
                } else {
                    QString text = utf16(t[i++].text);
                    for (unsigned code = low; code <= high && !text.isEmpty(); ++code) {
                        map[code] = text;
                        text.back() = QChar(char16_t(text.back().unicode() + 1));
                    }
                }
            } else {
                ++i;
            }
        }
        if (i < t.size())
            last = t[i].at + t[i].text.size();
    }
    return map;
}

quint32 glyphOf(const QRawFont& font, QChar c)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(QString(c));
    return glyphs.isEmpty() ? 0 : glyphs[0];
}

// The characters shown, by the glyph each has in each font.
class Twins {
public:
    Twins(const QString& shown, const QList<QFont>& fonts) : shown_(shown)
    {
        for (const QFont& font : fonts) {
            const QRawFont raw = QRawFont::fromFont(font);
            if (!raw.isValid())
                continue;
            QHash<quint32, QChar> glyphs;
            for (QChar c : shown)
                if (const quint32 glyph = glyphOf(raw, c); glyph != 0 && !c.isSurrogate())
                    glyphs.insert(glyph, c);
            fonts_.append({raw, glyphs});
        }
    }

    // The shown character that a text map naming `text` stands for: the
    // one drawn with the same glyph, or failing a font, the same character
    // written the plain way.
    bool correct(QString& text) const
    {
        if (text.size() != 1 || shown_.contains(text))
            return false;
        for (const auto& [raw, glyphs] : fonts_)
            if (const quint32 glyph = glyphOf(raw, text[0]); glyph != 0 && glyphs.contains(glyph)) {
                text = glyphs.value(glyph);
                return true;
            }
        const QString plain = text.normalized(QString::NormalizationForm_KC);
        if (plain.size() != 1 || plain == text || !shown_.contains(plain))
            return false;
        text = plain;
        return true;
    }

private:
    QString shown_;
    QList<std::pair<QRawFont, QHash<quint32, QChar>>> fonts_;
};

std::string writeMap(const TextMap& map)
{
    std::string out;
    auto entry = map.begin();
    while (entry != map.end()) {
        std::string block;
        int count = 0;
        for (; entry != map.end() && count < 100; ++entry, ++count)
            block += "<" + QString::asprintf("%04X", entry->first).toStdString() + "> <" +
                     hex(entry->second) + ">\n";
        out += std::to_string(count) + " beginbfchar\n" + block + "endbfchar\n";
    }
    return out;
}
} // namespace

bool correctTextMaps(QByteArray& pdf, const QString& shown, const QList<QFont>& fonts,
                     QString& error)
{
    const Twins twins(shown, fonts);
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("receipt", pdf.constData(), size_t(pdf.size()));
        bool changed = false;
        for (QPDFObjectHandle& object : document.getAllObjects()) {
            if (!object.isDictionary() || !object.hasKey("/ToUnicode"))
                continue;
            QPDFObjectHandle stream = object.getKey("/ToUnicode");
            if (!stream.isStream())
                continue;
            const std::shared_ptr<Buffer> data = stream.getStreamData();
            const std::string program(reinterpret_cast<const char*>(data->getBuffer()),
                                      data->getSize());
            size_t first = 0, last = 0;
            TextMap map = readMap(program, first, last);
            bool mended = false;
            for (auto& [code, text] : map)
                mended = twins.correct(text) || mended;
            if (!mended || first == std::string::npos)
                continue;
            stream.replaceStreamData(program.substr(0, first) + writeMap(map) +
                                         program.substr(last),
                                     QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
            changed = true;
        }
        if (!changed)
            return true;
        QPDFWriter writer(document);
        writer.setOutputMemory();
        writer.write();
        const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        pdf =
            QByteArray(reinterpret_cast<const char*>(out->getBuffer()), qsizetype(out->getSize()));
        return true;
    } catch (const std::exception& e) {
        error = QStringLiteral("cannot correct the text of the PDF: %1").arg(e.what());
        return false;
    }
}

QByteArray pdfDocument(const SheetPage& page, const QString& title, QString& error)
{
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("MUK4"));
        writer.setResolution(600);
        writer.setPageSize(
            QPageSize(page.size(), QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = QStringLiteral("cannot start the PDF");
            return {};
        }
        page.paint(painter, writer.resolution() / 72.0);
        if (!painter.end()) {
            error = QStringLiteral("cannot finish the PDF");
            return {};
        }
    }
    if (!correctTextMaps(pdf, page.text(), page.fonts(), error))
        return {};
    return pdf;
}
