#include "workbook/SheetPage.h"

#include "workbook/NumberFormat.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <cmath>

namespace {
// A roll has no room for an office page's margins.
constexpr double MaxMargin = 14.4;
// Between a cell's edge and its text, as spreadsheets leave it (2 pixels).
constexpr double Padding = 1.5;

// Column widths count digits of the sheet's standard font. The font is
// looked up by its name alone, as the spreadsheet on this machine does, so
// that a column is as wide here as the shop sees it there.
double digitPixels(const FontStyle& standard)
{
    static QHash<QString, double> measured;
    const QString key = standard.name + u'/' + QString::number(standard.size);
    if (const auto found = measured.find(key); found != measured.end())
        return *found;
    double pixels = standard.size * 96 / 72 * 0.6;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QFont font(standard.name);
        font.setPointSizeF(standard.size);
        QImage screen(1, 1, QImage::Format_ARGB32);
        screen.setDotsPerMeterX(3780); // 96 dots per inch
        screen.setDotsPerMeterY(3780);
        pixels = QFontMetricsF(font, &screen).horizontalAdvance(u'0');
    }
    return *measured.insert(key, std::max(1.0, pixels));
}

// A row fitted to its largest font, as a spreadsheet does unless the row
// has a height of its own; in whole pixels.
double fittedHeight(double fontSize)
{
    return std::ceil(fontSize * 1.36 / 0.75) * 0.75;
}

QColor colour(const std::optional<quint32>& argb)
{
    return argb ? QColor::fromRgba(*argb) : QColor(Qt::black);
}

QPen borderPen(const BorderLine& line, double k)
{
    double width = 0.75;
    Qt::PenStyle style = Qt::SolidLine;
    if (line.style == u"hair")
        width = 0.25;
    else if (line.style.startsWith(u"medium") || line.style == u"double")
        width = line.style == u"double" ? 0.5 : 1.5;
    else if (line.style == u"thick")
        width = 2.25;
    if (line.style.contains(u"ashDot"))
        style = Qt::DashDotLine;
    else if (line.style.contains(u"ashed"))
        style = Qt::DashLine;
    else if (line.style == u"dotted")
        style = Qt::DotLine;
    QPen pen(colour(line.argb), width * k, style, Qt::FlatCap);
    return pen;
}
} // namespace

SheetPage::SheetPage(SheetView view) : view_(std::move(view))
{
    margins_ = {std::clamp(view_.margins.left, 0.0, MaxMargin),
                std::clamp(view_.margins.right, 0.0, MaxMargin),
                std::clamp(view_.margins.top, 0.0, MaxMargin),
                std::clamp(view_.margins.bottom, 0.0, MaxMargin)};
    // Without a print area: columns A and B at least, the heading rows 1 to
    // 4, and everything written, merged or pictured beyond them.
    int lastColumn = 2, lastRow = 4;
    for (const auto& [at, cell] : view_.cells)
        if (cell.visible()) {
            lastRow = std::max(lastRow, at.first);
            lastColumn = std::max(lastColumn, at.second);
        }
    for (const CellRange& m : view_.merges)
        if (const SheetView::Cell* c = view_.cell(m.first.row, m.first.column); c && c->visible()) {
            lastRow = std::max(lastRow, m.last.row);
            lastColumn = std::max(lastColumn, m.last.column);
        }
    printed_ = {{1, 1}, {lastRow, lastColumn}};
    for (const SheetView::Picture& p : view_.pictures) {
        // Walked once from A1 (which x() and y() count from here); a picture
        // placed absurdly far away is cut off rather than waited for.
        const QRectF r = pictureRect(p);
        int row = 1, column = 1;
        for (double top = y(1); row < 10000 && top + rowHeightAt(row) < r.bottom(); ++row)
            top += rowHeightAt(row);
        for (double left = x(1); column < 1000 && left + columnWidthAt(column) < r.right();
             ++column)
            left += columnWidthAt(column);
        lastRow = std::max(lastRow, row);
        lastColumn = std::max(lastColumn, column);
    }
    printed_ = {{1, 1}, {lastRow, lastColumn}};
    if (view_.printArea) {
        const CellRange& area = *view_.printArea;
        printed_.first = area.first;
        printed_.last.row = std::clamp(lastRow, area.first.row, area.last.row);
        printed_.last.column = area.last.column == MaxColumn
                                   ? std::max(lastColumn, area.first.column)
                                   : area.last.column;
    }
}

double SheetPage::columnPoints(double width, const FontStyle& standardFont)
{
    return std::max(0.0, width) * digitPixels(standardFont) * 0.75;
}

double SheetPage::columnWidth(double points, const FontStyle& standardFont)
{
    return std::round(points / 0.75 / digitPixels(standardFont) * 256) / 256;
}

double SheetPage::columnWidthAt(int column) const
{
    double width = view_.defaultColumnWidth;
    for (const SheetView::Columns& c : view_.columns)
        if (column >= c.min && column <= c.max) {
            if (c.hidden)
                return 0;
            width = c.width;
        }
    return columnPoints(width, view_.styles.font(0));
}

double SheetPage::rowHeightAt(int row) const
{
    const auto info = view_.rows.find(row);
    if (info != view_.rows.end()) {
        if (info->hidden)
            return 0;
        if (info->customHeight && info->height)
            return *info->height;
    }
    double fitted = 0;
    for (auto c = view_.cells.lower_bound({row, 0});
         c != view_.cells.end() && c->first.first == row; ++c)
        fitted = std::max(
            fitted,
            fittedHeight(view_.styles.font(view_.styles.format(c->second.style).font).size));
    if (fitted > 0)
        return fitted;
    return info != view_.rows.end() && info->height ? *info->height : view_.defaultRowHeight;
}

// Starts are summed once from row 1 and column A and kept: a cell far down
// a long template costs no walk from the top each time it is drawn.
double SheetPage::rowStart(int row) const
{
    row = std::clamp(row, 1, MaxRow + 1);
    while (qsizetype(rowStarts_.size()) < row)
        rowStarts_.push_back(rowStarts_.back() + rowHeightAt(int(rowStarts_.size())));
    return rowStarts_[row - 1];
}

double SheetPage::columnStart(int column) const
{
    column = std::clamp(column, 1, MaxColumn + 1);
    while (qsizetype(columnStarts_.size()) < column)
        columnStarts_.push_back(columnStarts_.back() + columnWidthAt(int(columnStarts_.size())));
    return columnStarts_[column - 1];
}

double SheetPage::x(int column) const
{
    return margins_.left + columnStart(column) - columnStart(printed_.first.column);
}

double SheetPage::y(int row) const
{
    return margins_.top + rowStart(row) - rowStart(printed_.first.row);
}

QSizeF SheetPage::size() const
{
    return {x(printed_.last.column + 1) + margins_.right,
            y(printed_.last.row + 1) + margins_.bottom};
}

const CellRange* SheetPage::mergeAt(int row, int column) const
{
    for (const CellRange& m : view_.merges)
        if (m.contains(row, column))
            return &m;
    return nullptr;
}

QRectF SheetPage::cellRect(int row, int column) const
{
    CellRange area{{row, column}, {row, column}};
    if (const CellRange* m = mergeAt(row, column))
        area = *m;
    return QRectF(QPointF(x(area.first.column), y(area.first.row)),
                  QPointF(x(area.last.column + 1), y(area.last.row + 1)));
}

QRectF SheetPage::pictureRect(const SheetView::Picture& p) const
{
    const QPointF from(x(p.fromColumn + 1) + p.fromX, y(p.fromRow + 1) + p.fromY);
    if (p.twoCells)
        return QRectF(from, QPointF(x(p.toColumn + 1) + p.toX, y(p.toRow + 1) + p.toY));
    return QRectF(from, QSizeF(p.width, p.height));
}

QFont SheetPage::font(const FontStyle& style)
{
    // The gothic and mincho faces of Japanese office machines are fixed
    // pitch; their stand-ins must be too, or amounts and receipt numbers
    // line up differently than the shop laid them out.
    static const QRegularExpression fixedPitch(
        QStringLiteral("^(ＭＳ|MS) ?(ゴシック|Gothic|明朝|Mincho)$|等幅|Mono"),
        QRegularExpression::CaseInsensitiveOption);
    const bool serif = style.name.contains(QStringLiteral("明朝")) ||
                       style.name.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive);
    const bool fixed = fixedPitch.match(style.name).hasMatch();
    QStringList families{style.name};
    if (serif)
        families << QStringLiteral("Noto Serif CJK JP");
    families << (fixed ? QStringLiteral("Noto Sans Mono CJK JP")
                       : QStringLiteral("Noto Sans CJK JP"))
             << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("IPAexGothic")
             << QStringLiteral("IPAGothic") << QStringLiteral("VL Gothic");
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(style.size);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setStrikeOut(style.strike);
    font.setUnderline(style.underline != Underline::None);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QRectF SheetPage::spill(double k, int row, int column, const QRectF& rect, double textWidth,
                        Qt::Alignment alignment) const
{
    // Text wider than its cell runs on over empty neighbours in the
    // direction it is aligned, and is cut off where they end.
    QRectF area = rect;
    auto empty = [&](int c) {
        const SheetView::Cell* other = view_.cell(row, c);
        return c >= printed_.first.column && c <= printed_.last.column &&
               (!other || !other->visible()) && !mergeAt(row, c);
    };
    const bool right = !(alignment & Qt::AlignRight), left = !(alignment & Qt::AlignLeft);
    for (int c = column + 1; right && area.width() < textWidth && empty(c); ++c)
        area.setRight(x(c + 1));
    for (int c = column - 1; left && area.width() < textWidth && empty(c); --c)
        area.setLeft(x(c));
    return QRectF(area.x() * k, area.y() * k, area.width() * k, area.height() * k);
}

void SheetPage::paintCell(QPainter& painter, double k, int row, int column,
                          const SheetView::Cell& cell) const
{
    const CellFormat& format = view_.styles.format(cell.style);
    const QRectF rect = cellRect(row, column);
    const QRectF device(rect.x() * k, rect.y() * k, rect.width() * k, rect.height() * k);
    if (const auto fill = view_.styles.solidFill(format.fill))
        painter.fillRect(device, colour(fill));
    const BorderStyle border = view_.styles.border(format.border);
    const std::pair<const BorderLine*, QLineF> edges[] = {
        {&border.left, QLineF(device.topLeft(), device.bottomLeft())},
        {&border.right, QLineF(device.topRight(), device.bottomRight())},
        {&border.top, QLineF(device.topLeft(), device.topRight())},
        {&border.bottom, QLineF(device.bottomLeft(), device.bottomRight())}};
    for (const auto& [line, at] : edges)
        if (line->drawn()) {
            painter.setPen(borderPen(*line, k));
            painter.drawLine(at);
        }
    if (!cell.visible())
        return;
    const QString text = shown(cell);
    const FontStyle& style = view_.styles.font(format.font);
    const QFont font = SheetPage::font(style);
    Qt::Alignment alignment = cell.number ? Qt::AlignRight : Qt::AlignLeft;
    if (format.horizontal == u"center" || format.horizontal == u"centerContinuous" ||
        format.horizontal == u"distributed")
        alignment = Qt::AlignHCenter;
    else if (format.horizontal == u"right")
        alignment = Qt::AlignRight;
    else if (format.horizontal == u"left" || format.horizontal == u"justify" ||
             format.horizontal == u"fill")
        alignment = Qt::AlignLeft;
    alignment |= format.vertical == u"top"      ? Qt::AlignTop
                 : format.vertical == u"center" ? Qt::AlignVCenter
                                                : Qt::AlignBottom;
    painter.setFont(font);
    painter.setPen(colour(style.argb));
    const double textWidth =
        QFontMetricsF(font, painter.device()).horizontalAdvance(text) / k + 2 * Padding;
    const QRectF inner = device.adjusted(Padding * k, 0, -Padding * k, 0);
    if (format.wrap) {
        painter.setClipRect(device);
        painter.drawText(inner, int(alignment) | Qt::TextWordWrap, text);
    } else if (cell.number) {
        // A figure is never cut: a receipt with a partial amount is worse
        // than one whose amount reaches into the next column.
        painter.setClipping(false);
        painter.drawText(inner, int(alignment) | Qt::TextDontClip, text);
    } else {
        const QRectF area = spill(k, row, column, rect, textWidth, alignment);
        painter.setClipRect(area);
        QRectF box = inner;
        if (textWidth > rect.width()) {
            box = area.adjusted(Padding * k, 0, -Padding * k, 0);
            if (alignment & Qt::AlignHCenter)
                box = QRectF(device.center().x() - textWidth * k / 2, device.y(), textWidth * k,
                             device.height());
        }
        painter.drawText(box, int(alignment) | Qt::TextDontClip, text);
    }
    painter.setClipping(false);
}

QString SheetPage::shown(const SheetView::Cell& cell) const
{
    if (!cell.number)
        return cell.text;
    const CellFormat& format = view_.styles.format(cell.style);
    return NumberFormat::apply(*cell.number, view_.styles.numberFormatCode(format.numberFormat));
}

QString SheetPage::text() const
{
    QString text;
    for (const auto& [at, cell] : view_.cells)
        if (cell.visible() && printed_.contains(at.first, at.second))
            text += shown(cell) + u'\n';
    return text;
}

QList<QFont> SheetPage::fonts() const
{
    QList<int> seen;
    QList<QFont> fonts;
    for (const auto& [at, cell] : view_.cells) {
        const int font = view_.styles.format(cell.style).font;
        if (cell.visible() && printed_.contains(at.first, at.second) && !seen.contains(font)) {
            seen.append(font);
            fonts.append(SheetPage::font(view_.styles.font(font)));
        }
    }
    return fonts;
}

void SheetPage::paint(QPainter& painter, double k) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const auto& [at, cell] : view_.cells) {
        const auto [row, column] = at;
        if (!printed_.contains(row, column))
            continue;
        const CellRange* merged = mergeAt(row, column);
        if (merged && (merged->first.row != row || merged->first.column != column))
            continue;
        paintCell(painter, k, row, column, cell);
    }
    for (const SheetView::Picture& p : view_.pictures) {
        const QImage image = QImage::fromData(p.data);
        const QRectF r = pictureRect(p);
        if (!image.isNull())
            painter.drawImage(QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k), image);
    }
    painter.restore();
}
