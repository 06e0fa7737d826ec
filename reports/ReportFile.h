#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A report as the accountant takes it away: what the screen shows, written
// to ~/MUK4-reports/<screen code>-<period>.csv with plain figures a
// spreadsheet can add up.
struct ReportFile {
    QList<QStringList> headings;
    QList<QStringList> rows;
    QList<QStringList> totals; // the total row and any figures below it

    // The file of a screen's run: period is YYYYMM for a month, YYYYMMDD for
    // a day.
    static QString pathFor(const QString& screenCode, const QString& period);
    // A figure as the file holds it: "1,760,714" -> "1760714", "-1,080" ->
    // "-1080". A text that is not a grouped number is kept as it is.
    static QString plainFigure(const QString& shown);

    // Makes the folder when missing and replaces any file of that name
    // whole; what the system said when it could not.
    std::optional<QString> write(const QString& path) const;
};
