#include "utilities/ProductCsv.h"

#include "data/Clock.h"
#include "data/Conversions.h"
#include "data/CsvWriter.h"

#include <QSaveFile>
#include <QStringDecoder>

#include <csv.h>

namespace {

QString key(const QString& heading)
{
    QString k;
    for (const QChar c : heading) {
        if (!c.isSpace())
            k += c;
    }
    return k;
}

struct Reading {
    QList<QStringList>* records;
    QStringList fields;
};

void fieldRead(void* text, size_t length, void* data)
{
    static_cast<Reading*>(data)->fields
        << QString::fromUtf8(static_cast<const char*>(text), static_cast<qsizetype>(length));
}

void recordRead(int, void* data)
{
    auto* reading = static_cast<Reading*>(data);
    const bool blank = std::all_of(reading->fields.cbegin(), reading->fields.cend(),
                                   [](const QString& f) { return f.isEmpty(); });
    if (!blank)
        *reading->records << reading->fields;
    reading->fields.clear();
}

// A stored blank is an empty cell; the one numeric field is a plain number.
QString cell(const QString& field, const QVariant& value)
{
    if (field == u"CB14")
        return Conversions::plainNumber(value.toDouble());
    const QString text = value.toString();
    if (field == u"CB25" && text.trimmed().isEmpty())
        return QStringLiteral("0");
    return text.trimmed().isEmpty() ? QString() : text;
}

} // namespace

namespace ProductCsv {

const std::vector<Column>& columns()
{
    static const std::vector<Column> all = [] {
        const char* const list[][2] = {
            {"商品コード", "CB01"},    {"商品名称", "CB02"},      {"商品略称", "CB03"},
            {"大分類コード", "CB04"},  {"中分類コード", "CB05"},  {"原単価", "CB07"},
            {"原単価確定日", "CB08"},  {"売単価", "CB11"},        {"売単価確定日", "CB12"},
            {"特売区分", "CB13"},      {"特売単価", "CB14"},      {"特売期間 from", "CB15"},
            {"特売期間   to", "CB16"}, {"特売時間 from", "CB17"}, {"特売時間   to", "CB18"},
            {"税区分", "CB25"},
        };
        std::vector<Column> made;
        for (const auto& c : list)
            made.push_back({QString::fromUtf8(c[0]), QString::fromLatin1(c[1])});
        return made;
    }();
    return all;
}

QString fieldOf(const QString& heading)
{
    const QString wanted = key(heading);
    for (const Column& c : columns()) {
        if (key(c.heading) == wanted)
            return c.field;
    }
    return {};
}

QString headingOf(const QString& field)
{
    for (const Column& c : columns()) {
        if (c.field == field)
            return c.heading;
    }
    return field;
}

QString proposedName()
{
    return QStringLiteral("MUK4-products-%1.csv").arg(Clock::today());
}

std::optional<QString> decode(const QByteArray& bytes, Encoding* found)
{
    // Both decoders drop a byte-order mark.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    Encoding encoding = Encoding::Utf8;
    if (utf8.hasError()) {
        QStringDecoder shiftJis("Shift_JIS");
        if (!shiftJis.isValid())
            return std::nullopt;
        text = shiftJis.decode(bytes);
        if (shiftJis.hasError())
            return std::nullopt;
        encoding = Encoding::ShiftJis;
    }
    if (found)
        *found = encoding;
    return text;
}

bool parse(const QString& text, QList<QStringList>& records, QString& error)
{
    records.clear();
    csv_parser parser;
    if (csv_init(&parser, 0) != 0) {
        error = QStringLiteral("csv_init failed");
        return false;
    }
    Reading reading{&records, {}};
    const QByteArray bytes = text.toUtf8();
    const bool whole = csv_parse(&parser, bytes.constData(), size_t(bytes.size()), fieldRead,
                                 recordRead, &reading) == size_t(bytes.size()) &&
                       csv_fini(&parser, fieldRead, recordRead, &reading) == 0;
    if (!whole)
        error = QString::fromUtf8(csv_strerror(csv_error(&parser)));
    csv_free(&parser);
    return whole;
}

std::optional<ExportFailure> exportTo(Database& db, const QString& path, qint64& written,
                                      const Progress& progress)
{
    written = 0;
    QStringList fields, headings;
    for (const Column& c : columns()) {
        fields << c.field;
        headings << c.heading;
    }
    const QString statement =
        QStringLiteral("SELECT %1 FROM MBMSHO ORDER BY CB01").arg(fields.join(u','));
    QList<QVariantList> rows;
    if (DbResult r = db.select(statement, {}, rows); !r.ok())
        return ExportFailure{r.error(), {}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return ExportFailure{std::nullopt, file.errorString()};
    file.write(ByteOrderMark);
    file.write(line(headings));
    for (const QVariantList& row : std::as_const(rows)) {
        QStringList cells;
        for (qsizetype i = 0; i < fields.size(); ++i)
            cells << cell(fields[i], row.value(i));
        file.write(line(cells));
        ++written;
        if (progress && written % 1000 == 0 && !progress(written, rows.size())) {
            file.cancelWriting();
            written = 0;
            return ExportFailure{std::nullopt, QStringLiteral("cancelled")};
        }
    }
    if (!file.commit())
        return ExportFailure{std::nullopt, file.errorString()};
    return std::nullopt;
}

} // namespace ProductCsv
