#pragma once

#include "data/Database.h"

#include <QStringList>

#include <array>

// The day-by-day graph of one product's sales in a month: its figures, its
// scales and the rectangles of its bars in twips.
namespace ProductGraph {

enum class Figure { SalesWithTax, CostOfSales, GrossProfit };
QString figureName(Figure figure);

// One grid step of the graph is 1000 twips of bar height; a figure becomes
// twips by dividing it by the scale's divisor.
struct Scale {
    QString caption;   // "1万円"
    int divisor;       // yen per twip
    QStringList marks; // LabelW(0) to LabelW(6)
    QString text;      // " / 単位 1万円"
};
const std::array<Scale, 5>& scales();

// LabelID(3): what the graph shows.
QString settingText(Figure figure, const Scale& scale, bool comparison);

inline constexpr int Baseline = 7000;
inline constexpr int Step = 1000;
inline constexpr int ClipTop = 1900;
inline constexpr int FirstLeft = 2400;
inline constexpr int Pitch = 350;
inline constexpr int Width = 270;
inline constexpr int ComparisonShift = 40;
inline constexpr int Days = 31;

// The product's own bars, or the pale bars of its whole middle category.
enum class Series { Product, Comparison };

// A bar in twips with its fill colour as the window system numbers colours
// (blue * 65536 + green * 256 + red).
struct Bar {
    int top;
    int height;
    int left;
    int width;
    int colour;
    bool operator==(const Bar&) const = default;
};

// The flat bar of a day (1-31) before anything is drawn.
Bar flat(int day, Series series);
// The bar of a day's total: green up from the baseline, cyan from 1900 down
// when it would reach 100 twips past the fifth step, a short red stub below
// the baseline for a negative total.
Bar bar(double total, int divisor, int day, Series series);

using DayTotals = std::array<double, Days>;

// The figure of each day (index 0 is day 1) of month YYYYMM, for the product
// and for every product of its middle category, read together. Returns are
// netted when `netReturns`, otherwise left out.
DbResult read(Database& db, const QString& product, const QString& middle, const QString& month,
              Figure figure, bool netReturns, DayTotals& own, DayTotals& category);

// The table beside the graph: day number and figure, a zero left empty.
QList<QStringList> tableRows(const DayTotals& totals);
QString totalText(const DayTotals& totals);
// The figures of the bars as a file holds them: day, the product's figure
// and, when the graph compares, its middle category's; a zero is 0. The
// last row is the total.
QList<QStringList> fileRows(const DayTotals& own, const DayTotals* category);

} // namespace ProductGraph
