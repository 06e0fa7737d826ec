#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Comma-separated files as the owner's spreadsheet opens them: UTF-8 with a
// byte-order mark (without it the spreadsheet reads Shift_JIS), lines ended
// by CR LF.
namespace CsvWriter {

inline constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

// One record as a line of the file, each field quoted only when it has to be.
QByteArray line(const QStringList& fields);

// Writes the records to a new file that takes the place of any old one only
// once it is complete, so a failure leaves the old file whole. Returns what
// the system said when it could not.
std::optional<QString> write(const QString& path, const QList<QStringList>& records);

} // namespace CsvWriter
