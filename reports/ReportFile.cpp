#include "reports/ReportFile.h"

#include "data/CsvWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString ReportFile::pathFor(const QString& screenCode, const QString& period)
{
    return QDir::homePath() + QStringLiteral("/MUK4-reports/") + screenCode + u'-' + period +
           QStringLiteral(".csv");
}

QString ReportFile::plainFigure(const QString& shown)
{
    // Only a whole grouped number: a product name such as "1,000円セット"
    // stays as it is.
    static const QRegularExpression grouped(QStringLiteral("^\\s*-?\\d{1,3}(,\\d{3})+\\s*$"));
    if (!grouped.match(shown).hasMatch())
        return shown;
    QString plain = shown.trimmed();
    return plain.remove(u',');
}

std::optional<QString> ReportFile::write(const QString& path) const
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot make the folder %1").arg(folder);
    QList<QStringList> records = headings;
    for (const QList<QStringList>* part : {&rows, &totals}) {
        for (const QStringList& row : *part) {
            QStringList cells;
            for (const QString& cell : row)
                cells << plainFigure(cell);
            records << cells;
        }
    }
    return CsvWriter::write(path, records);
}
