// Times one receipt of ten lines from the sales template: opening it,
// filling the rows, saving it over itself, laying out the page and writing
// the PDF; then the whole produceReceipt as a counter screen calls it, and a
// plain copy of the template file as the floor any saving stands on. Last,
// a template the shop filled down to row 10,100 (a price list kept below the
// receipt), whose page layout must not grow with the square of its rows.
//
//   muk4receiptbench [folder]   (default: a fresh temporary folder)

#include "pos/ReceiptOutput.h"
#include "pos/ReceiptRows.h"
#include "pos/ReceiptTemplates.h"
#include "workbook/PdfDocument.h"
#include "workbook/SheetPage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {
FinishedSale tenLines()
{
    FinishedSale sale;
    for (int i = 1; i <= 10; ++i) {
        const double quantity = i % 3 == 0 ? 3 : 1;
        const double price = 100.0 * i + 80;
        sale.lines.append({QStringLiteral("商品 %1 北海道産バターロール").arg(i), price * quantity,
                           QString::number(quantity), quantity, price});
        sale.amountDue += price * quantity;
    }
    sale.taxTotal = std::floor(sale.amountDue * 10 / 110);
    sale.tendered = 20000;
    sale.difference = sale.tendered - sale.amountDue;
    sale.receiptNumber = QStringLiteral("61200001");
    sale.staffName = QStringLiteral("佐藤 花子");
    sale.moment = QDateTime(QDate(2026, 12, 1), QTime(10, 15, 30));
    return sale;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int longTemplate(const QString& folder)
{
    constexpr int Rows = 10000, Rounds = 3;
    const QString path = QDir(folder).filePath(QStringLiteral("long/") +
                                               ReceiptTemplates::fileName(ReceiptTemplate::Sales));
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    if (!ReceiptTemplates::ensure(QFileInfo(path).path(), ReceiptTemplate::Sales, QString()).ok())
        return 1;
    Workbook book;
    if (!book.open(path).ok())
        return 1;
    for (int row = 101; row < 101 + Rows; ++row) {
        book.write(row, u"A", QStringLiteral("品目 %1").arg(row));
        book.write(row, u"B", double(row));
    }
    if (!book.save().ok())
        return 1;
    std::vector<double> layouts, receipts;
    for (int round = 0; round < Rounds; ++round) {
        Workbook opened;
        if (!opened.open(path).ok())
            return 1;
        QElapsedTimer timer;
        timer.start();
        const SheetPage page(SheetView::of(opened));
        QString error;
        if (pdfDocument(page, QStringLiteral("レシート"), error).isEmpty())
            return 1;
        layouts.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        if (produceReceipt(tenLines(), QFileInfo(path).path(), QString()).kind ==
            ReceiptOutcome::Kind::Failed)
            return 1;
        receipts.push_back(timer.nsecsElapsed() / 1e6);
        std::printf("  round %d: layout and PDF %.0f ms, produceReceipt %.0f ms\n", round + 1,
                    layouts.back(), receipts.back());
        std::fflush(stdout);
    }
    std::printf("a template of %d rows: page laid out and made a PDF: median %.0f ms; "
                "produceReceipt: median %.0f ms (%d rounds)\n",
                Rows, median(layouts), median(receipts), Rounds);
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path();
    QDir().mkpath(folder);
    if (!ReceiptTemplates::ensure(folder, ReceiptTemplate::Sales, QStringLiteral("山田商店")).ok())
        return 1;
    const QString path = ReceiptTemplates::path(folder, ReceiptTemplate::Sales);
    const FinishedSale sale = tenLines();
    const ReceiptSheet rows = ReceiptRows::sale(sale);

    const char* names[] = {"open", "fill", "save", "layout", "pdf"};
    constexpr int Steps = 5, Warm = 10, Rounds = 200;
    std::array<std::vector<double>, Steps> steps;
    std::vector<double> totals, whole, copies;
    for (int round = 0; round < Warm + Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        std::array<double, Steps> t{};
        auto lap = [&](int step) { t[step] = timer.nsecsElapsed() / 1e6; };
        Workbook book;
        if (WorkbookResult opened = book.open(path); !opened.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(opened.error().detail));
            return 1;
        }
        lap(0);
        ReceiptRows::fill(book, rows);
        lap(1);
        if (!book.save().ok())
            return 1;
        lap(2);
        const SheetPage page(SheetView::of(book));
        lap(3);
        QSaveFile pdf(QDir(folder).filePath(QStringLiteral("bench.pdf")));
        QString error;
        const QByteArray bytes = pdfDocument(page, QStringLiteral("レシート"), error);
        if (bytes.isEmpty() || !pdf.open(QIODevice::WriteOnly) ||
            pdf.write(bytes) != bytes.size() || !pdf.commit())
            return 1;
        lap(4);

        QElapsedTimer full;
        full.start();
        if (produceReceipt(sale, folder, QString()).kind == ReceiptOutcome::Kind::Failed)
            return 1;
        const double produced = full.nsecsElapsed() / 1e6;

        QElapsedTimer copy;
        copy.start();
        QFile source(path);
        QSaveFile target(QDir(folder).filePath(QStringLiteral("copy.xlsx")));
        if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly) ||
            target.write(source.readAll()) < 0 || !target.commit())
            return 1;
        const double copied = copy.nsecsElapsed() / 1e6;
        if (round < Warm)
            continue;
        for (int s = 0; s < Steps; ++s)
            steps[s].push_back(t[s] - (s > 0 ? t[s - 1] : 0));
        totals.push_back(t[Steps - 1]);
        whole.push_back(produced);
        copies.push_back(copied);
    }
    const double total = median(totals);
    std::printf("one receipt of 10 lines, filled, saved and rendered to PDF: median %.2f ms "
                "(goal 50 ms) over %d warm rounds\n",
                total, Rounds);
    double parts = 0;
    for (int s = 0; s < Steps; ++s)
        parts += median(steps[s]);
    for (int s = 0; s < Steps; ++s)
        std::printf("  %-7s median %6.2f ms  %4.1f %%\n", names[s], median(steps[s]),
                    100 * median(steps[s]) / parts);
    std::printf("produceReceipt as the counter calls it (template, printer check, PDF): median "
                "%.2f ms\n",
                median(whole));
    std::printf("floor: a plain copy of the template file through a new file: median %.2f ms\n",
                median(copies));
    return longTemplate(folder);
}
