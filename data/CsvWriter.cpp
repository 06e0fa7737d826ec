#include "data/CsvWriter.h"

#include <QSaveFile>

namespace CsvWriter {

QByteArray line(const QStringList& fields)
{
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        QByteArray f = fields[i].toUtf8();
        const bool quoted = f.contains(',') || f.contains('"') || f.contains('\n') ||
                            f.contains('\r') || f.startsWith(' ') || f.endsWith(' ');
        if (quoted)
            out += '"' + f.replace("\"", "\"\"") + '"';
        else
            out += f;
    }
    return out + "\r\n";
}

std::optional<QString> write(const QString& path, const QList<QStringList>& records)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(ByteOrderMark);
    for (const QStringList& record : records)
        file.write(line(record));
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace CsvWriter
