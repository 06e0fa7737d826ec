#include "pos/ReceiptOutput.h"

#include "pos/ReceiptPrinter.h"
#include "pos/ReceiptRows.h"
#include "pos/ReceiptTemplates.h"
#include "workbook/PdfDocument.h"
#include "workbook/SheetPage.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>

namespace {
ReceiptOutcome failed(const QString& reason, const QString& detail)
{
    return {ReceiptOutcome::Kind::Failed, QString(), reason, detail};
}

ReceiptOutcome failed(const WorkbookError& error)
{
    using Kind = WorkbookError::Kind;
    switch (error.kind) {
    case Kind::Missing:
        return failed(QStringLiteral("レシートのひな形が見つかりません。"), error.detail);
    case Kind::Unreadable:
        return failed(QStringLiteral("レシートのひな形を読み込めませんでした。"), error.detail);
    case Kind::NotWorkbook:
        return failed(QStringLiteral("レシートのひな形が壊れているか、ブックではありません。"),
                      error.detail);
    case Kind::NoActiveSheet:
        return failed(QStringLiteral("レシートのひな形に書き込めるシートがありません。"),
                      error.detail);
    case Kind::NotSaved:
        break;
    }
    return failed(QStringLiteral("レシートのひな形を保存できませんでした。"), error.detail);
}

// A receipt number is eight letters and digits; anything else in it must not
// reach the file name. Another register's receipt numbers run alongside this
// one's, so a copy of one is named with its register.
QString pdfName(const QString& receiptNumber, bool copy, const QString& otherRegister)
{
    QString name = otherRegister.isEmpty() ? receiptNumber
                                           : otherRegister + QStringLiteral("-") + receiptNumber;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    return (name.isEmpty() ? QStringLiteral("receipt") : name) +
           (copy ? QStringLiteral("-copy.pdf") : QStringLiteral(".pdf"));
}

// Receipts are for the owner's eyes only: the folder and the PDFs the
// program makes are closed to others whatever the umask; what exists
// already keeps the permissions someone gave it.
constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

bool savePdf(const SheetPage& page, const QString& path, const QString& title, QString& error)
{
    const QString folder = QFileInfo(path).path();
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder, OwnerOnly | QFile::ExeOwner)) {
        error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    // Made whole in memory, then written in one unbuffered write whose count
    // is checked: on a full disk a write can come up short without any error
    // being raised, and a cut-off PDF must not be kept as a receipt.
    const QByteArray pdf = pdfDocument(page, title, error);
    if (pdf.isEmpty())
        return false;
    const bool fresh = !QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        (fresh && !file.setPermissions(OwnerOnly))) {
        error = file.errorString();
        return false;
    }
    if (const qint64 written = file.write(pdf); written != pdf.size()) {
        error = QStringLiteral("%1 of %2 bytes written (%3)")
                    .arg(written)
                    .arg(pdf.size())
                    .arg(file.error() == QFileDevice::NoError ? QStringLiteral("disk full?")
                                                              : file.errorString());
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

// The template is written to a new file first and put in place only once
// the receipt is out, so that a receipt that failed leaves the template as
// it was.
ReceiptOutcome produce(const ReceiptSheet& rows, ReceiptTemplate which,
                       const QString& programFolder, const QString& storeName,
                       const QString& receiptNumber, bool copy = false,
                       const QString& otherRegister = {})
{
    if (WorkbookResult made = ReceiptTemplates::ensure(programFolder, which, storeName); !made.ok())
        return failed(QStringLiteral("レシートのひな形を作れませんでした。"), made.error().detail);
    Workbook book;
    if (WorkbookResult opened = book.open(ReceiptTemplates::path(programFolder, which));
        !opened.ok())
        return failed(opened.error());
    ReceiptRows::fill(book, rows);
    if (WorkbookResult staged = book.stageSave(); !staged.ok())
        return failed(staged.error());

    const SheetPage page(SheetView::of(book));
    const QString title = QStringLiteral("レシート ") + receiptNumber +
                          (copy ? QStringLiteral(" 再発行") : QString());
    ReceiptPrinter& printer = ReceiptPrinter::current();
    ReceiptOutcome outcome;
    QString error;
    if (const QString name = printer.name(); !name.isEmpty()) {
        if (!printer.print(page, title, error)) {
            book.discardSave();
            return failed(QStringLiteral("レシートを印刷できませんでした。"), error);
        }
        outcome = {ReceiptOutcome::Kind::Printed, name, QString(), QString()};
    } else {
        const QString path = QDir(programFolder)
                                 .filePath(QStringLiteral("receipts/") +
                                           pdfName(receiptNumber, copy, otherRegister));
        if (!savePdf(page, path, title, error)) {
            book.discardSave();
            return failed(QStringLiteral("レシートのPDFを保存できませんでした。"),
                          QDir::toNativeSeparators(path) + QStringLiteral(": ") + error);
        }
        outcome = {ReceiptOutcome::Kind::Pdf, QDir::toNativeSeparators(path), QString(), QString()};
    }
    if (WorkbookResult committed = book.commitSave(); !committed.ok()) {
        // The receipt is out; only the copy kept in the template is missing.
        outcome.reason = QStringLiteral("レシートのひな形を保存できませんでした。");
        outcome.detail = committed.error().detail;
    }
    return outcome;
}
} // namespace

ReceiptOutcome produceReceipt(const FinishedSale& sale, const QString& programFolder,
                              const QString& storeName)
{
    return produce(ReceiptRows::sale(sale), ReceiptTemplate::Sales, programFolder, storeName,
                   sale.receiptNumber);
}

ReceiptOutcome produceReceipt(const FinishedCashMovement& movement, const QString& programFolder,
                              const QString& storeName)
{
    return produce(ReceiptRows::cash(movement), ReceiptTemplate::Cash, programFolder, storeName,
                   movement.receiptNumber);
}

ReceiptOutcome produceCopy(const FinishedSale& sale, const QString& programFolder,
                           const QString& storeName, const QString& otherRegister)
{
    return produce(ReceiptRows::copy(ReceiptRows::sale(sale)), ReceiptTemplate::Sales,
                   programFolder, storeName, sale.receiptNumber, true, otherRegister);
}

ReceiptOutcome produceCopy(const FinishedCashMovement& movement, const QString& programFolder,
                           const QString& storeName, const QString& otherRegister)
{
    return produce(ReceiptRows::copy(ReceiptRows::cash(movement)), ReceiptTemplate::Cash,
                   programFolder, storeName, movement.receiptNumber, true, otherRegister);
}

QString ReceiptOutcome::copyNote() const
{
    if (kind == Kind::Failed)
        return QStringLiteral("レシートを再発行できませんでした：") + reason;
    return note(QString());
}

QString ReceiptOutcome::note(const QString& subject) const
{
    // A receipt that came out while the template could not keep it says so
    // after where it went.
    const QString aside = reason.isEmpty() ? QString() : u'　' + reason;
    switch (kind) {
    case Kind::Printed:
        return QStringLiteral("レシートを印刷しました。") + aside;
    case Kind::Pdf:
        return QStringLiteral("プリンタがないため、レシートをPDFに保存しました：") + where + aside;
    case Kind::Failed:
        break;
    }
    return subject + QStringLiteral("は登録しました。レシートを作成できませんでした：") + reason;
}
