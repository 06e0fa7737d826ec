#pragma once

#include "masters/ProductEntry.h"

#include <QSet>
#include <QString>

#include <optional>

// The tax class of a product (CB25): the standard rate unless it is "1".
inline constexpr const char* StandardRate = "0";
inline constexpr const char* ReducedRate = "1";

// A product as it would be stored, with what the product screen records
// beside the entry it shows.
struct ProductDraft {
    ProductEntry entry;
    QString taxClass = QString::fromLatin1(StandardRate);
};

// Why a product may not be stored: the field at fault (CB01, CB13, ...) and
// one Japanese sentence the owner can act on.
struct ProductFault {
    QString field;
    QString reason;
};

// The categories a product may name: major codes of MBMBRL and middle codes
// of MBMBRM.
struct KnownCategories {
    QSet<QString> majors;
    QSet<QString> middles;
};

// What a product must satisfy before it is stored, whoever enters it: the
// counter scans 13-digit codes, the fields hold what the screen lets in, the
// categories exist, and the special price names what its kind applies. The
// first fault in the order of the screen's fields is the one told.
namespace ProductRules {

inline constexpr int CodeLength = 13;
inline constexpr int NameLength = 20;
inline constexpr int ShortNameLength = 10;
inline constexpr int PriceDigits = 8;

// The short name the product screen proposes for a name.
QString shortNameOf(const QString& name);

// Rewrites what the screen would rewrite on confirming (prices, times) and
// checks the rest.
std::optional<ProductFault> settle(ProductDraft& draft, const KnownCategories& known);

} // namespace ProductRules
