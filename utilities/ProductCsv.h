#pragma once

#include "data/CsvWriter.h"
#include "data/Database.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// The product list as the owner keeps it in a spreadsheet: one row of
// Japanese headings, then one product a row.
namespace ProductCsv {

// Hears how far a long read or write has got; false stops it.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// A column of the list: the caption the product screen shows for the field,
// and the MBMSHO field it holds.
struct Column {
    QString heading;
    QString field;
};
// Every column an owner maintains, in the order they are written.
const std::vector<Column>& columns();
// The field a heading names, blanks ignored; empty when it names none.
QString fieldOf(const QString& heading);
QString headingOf(const QString& field);

// The file name offered for a list written today.
QString proposedName();

enum class Encoding { Utf8, ShiftJis };
// The text of a file: UTF-8 (with or without a byte-order mark) when it is
// valid UTF-8, else Shift_JIS; nothing when it is neither.
std::optional<QString> decode(const QByteArray& bytes, Encoding* found = nullptr);

// Splits the text into records and their fields; quoted fields may hold
// commas, quotes and line breaks. Blank lines are no records.
bool parse(const QString& text, QList<QStringList>& records, QString& error);
// The list is written as every other file the owner opens in a spreadsheet.
using CsvWriter::ByteOrderMark;
using CsvWriter::line;

struct ExportFailure {
    std::optional<DbError> db;
    QString file; // what the system said about the file
};
// Writes every product to a new file (or over the old one only once the new
// one is complete); `written` counts the products.
std::optional<ExportFailure> exportTo(Database& db, const QString& path, qint64& written,
                                      const Progress& progress = {});

} // namespace ProductCsv
