#pragma once

#include "workbook/Workbook.h"

#include <QString>

// The two receipt workbooks of the program folder.
enum class ReceiptTemplate {
    Sales, // sales and returns
    Cash,  // deposits and payments
};

namespace ReceiptTemplates {

QString fileName(ReceiptTemplate which);
QString path(const QString& programFolder, ReceiptTemplate which);

// Writes the default workbook when the template is missing: heading rows 1
// to 4 with the store's name and a title, columns A and B as wide as a 58 mm
// roll prints. A template that exists is never touched.
WorkbookResult ensure(const QString& programFolder, ReceiptTemplate which,
                      const QString& storeName);

} // namespace ReceiptTemplates
