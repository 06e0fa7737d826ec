#pragma once

#include "reports/ReportQuery.h"

#include <vector>

// Day-by-day sales of a month by product category: tax-included line
// amounts, returns left out, one column per category.
class CategorySales {
public:
    // The ten major categories: codes "1" to "9", then "0" in column 10.
    static CategorySales majors();
    // Twenty middle codes of major category `major` starting at middle number
    // `first` (1, 21, 41, 61 or 81); the range from 81 ends with m00.
    static CategorySales middles(QChar major, int first);

    // The five ranges of a major category as the operator chooses them
    // ("101～120", ..., "181～199,100") with their first middle numbers.
    static QStringList rangeTexts(QChar major);
    static QList<int> rangeStarts() { return {1, 21, 41, 61, 81}; }

    // The category code of each column, in column order.
    const QStringList& codes() const { return codes_; }
    // The column (0-based) a line's category code goes to, -1 for none.
    int columnOf(const QString& code) const;

    // The sums of every listed date, one row per date in order and one sum
    // per column; a date without sales gives zeros.
    DbResult read(Database& db, const StoreRegister& where, const QStringList& dates,
                  std::vector<std::vector<double>>& out) const;

    // A grid row: MM/DD and the sums of columns [from, from + count).
    static QStringList gridRow(const QString& date, const std::vector<double>& sums, int from,
                               int count);
    // The column totals as the total fields show them.
    QStringList totalTexts(const std::vector<std::vector<double>>& rows) const;

private:
    enum class By { Major, Middle };
    CategorySales(By by, QStringList codes) : by_(by), codes_(std::move(codes)) {}

    By by_;
    QStringList codes_;
};
