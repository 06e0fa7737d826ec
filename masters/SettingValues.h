#pragma once

#include <QString>

// What the settings screen lets be stored under a key. Most keys take any
// text; a few are read by the counter as numbers or printed on receipts, and
// a value the counter cannot use is refused before it is stored.
namespace SettingValues {

// The operator's message refusing `text` as the first (CB02) or second
// (CB03) value of `key`; empty when it may be stored.
QString refusal(const QString& key, int valueNumber, const QString& text);

} // namespace SettingValues
