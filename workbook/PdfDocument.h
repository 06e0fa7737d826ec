#pragma once

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QString>

class SheetPage;

// The page as a one-page PDF, made in memory so that the caller can write it
// out with one write it checks; empty, with the reason, when it cannot be
// made. The text a reader pulls out of it is the text the page shows.
QByteArray pdfDocument(const SheetPage& page, const QString& title, QString& error);

// Points the PDF's text maps (ToUnicode) at the characters `shown` holds
// where one of `fonts` draws two characters with one glyph and the map names
// the other one: Japanese gothic faces share the glyph of an ideograph with
// its radical (金 and ⾦, 麦 and ⻨), and the map then names the radical,
// which no search finds. False, with the reason, when the PDF cannot be read
// or rewritten.
bool correctTextMaps(QByteArray& pdf, const QString& shown, const QList<QFont>& fonts,
                     QString& error);
