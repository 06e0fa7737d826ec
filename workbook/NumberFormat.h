#pragma once

#include <QString>

// A number as a spreadsheet shows it under a number format code such as
// "#,##0", "0.00%", "\"¥\"#,##0;[Red]\"¥\"-#,##0" or "General". Date and
// time codes are shown as General.
namespace NumberFormat {

QString apply(double value, const QString& code);
QString general(double value);

} // namespace NumberFormat
