#pragma once

#include <QString>

class SheetPage;

// Where receipts are printed: the system's default printer, unless a test
// or a caller puts another in its place.
class ReceiptPrinter {
public:
    virtual ~ReceiptPrinter() = default;
    // The printer receipts go to; empty when none is set up.
    virtual QString name() const = 0;
    // Prints one page; false, with the reason, when the printer refuses it.
    virtual bool print(const SheetPage& page, const QString& jobName, QString& error) = 0;

    static ReceiptPrinter& current();
    // Puts a printer in place of the system's (nullptr brings the system's
    // back); returns the one it replaces, nullptr for the system's.
    static ReceiptPrinter* use(ReceiptPrinter* printer);
};
