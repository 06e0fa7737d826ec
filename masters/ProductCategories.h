#pragma once

#include "data/Database.h"

#include <QList>
#include <QString>

// One entry of a product screen's category list: the name shown and the
// code carried as a number (major 3 -> 3, middle 305 -> 305).
struct CategoryChoice {
    QString name;
    int number = 0;
};

// The major and middle category lists the product screens choose from.
namespace ProductCategories {

// Every major category, major 0 included, by code.
DbResult majors(Database& db, QList<CategoryChoice>& out);
// The middle categories of one major category, by code.
DbResult middles(Database& db, const QString& major, QList<CategoryChoice>& out);

// The one-digit major code of a list number.
QString majorCode(int number);
// The two-digit middle number of a list number (305 -> "05").
QString middleNumber(int number);

} // namespace ProductCategories
