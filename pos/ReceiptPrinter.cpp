#include "pos/ReceiptPrinter.h"

#include "workbook/SheetPage.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <utility>

namespace {
class SystemPrinter : public ReceiptPrinter {
public:
    QString name() const override { return QPrinterInfo::defaultPrinter().printerName(); }

    bool print(const SheetPage& page, const QString& jobName, QString& error) override
    {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            error = QStringLiteral("no default printer");
            return false;
        }
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setDocName(jobName);
        printer.setFullPage(true);
        printer.setPageSize(
            QPageSize(page.size(), QPageSize::Point, QString(), QPageSize::ExactMatch));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&printer)) {
            error = QStringLiteral("%1 did not accept the job").arg(info.printerName());
            return false;
        }
        page.paint(painter, printer.resolution() / 72.0);
        if (!painter.end() || printer.printerState() == QPrinter::Error) {
            error = QStringLiteral("%1 failed the job").arg(info.printerName());
            return false;
        }
        return true;
    }
};

ReceiptPrinter*& chosen()
{
    static ReceiptPrinter* printer = nullptr;
    return printer;
}
} // namespace

ReceiptPrinter& ReceiptPrinter::current()
{
    static SystemPrinter system;
    return chosen() ? *chosen() : system;
}

ReceiptPrinter* ReceiptPrinter::use(ReceiptPrinter* printer)
{
    return std::exchange(chosen(), printer);
}
