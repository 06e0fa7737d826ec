#include "ReceiptFixture.h"

#include "pos/ReceiptTemplates.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>

#include <sys/stat.h>

namespace {
// The program's output; a failure ends the test program.
QByteArray run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return process.readAllStandardOutput();
}

const QString Staff = QStringLiteral("山田 太郎");
const QDateTime Moment(QDate(2026, 12, 1), QTime(10, 15, 30));
} // namespace

SaleReceiptLine saleLine(const QString& name, double quantity, double unitPrice, bool reduced)
{
    return {name,
            quantity * unitPrice,
            QString::number(quantity),
            quantity,
            unitPrice,
            reduced ? 0.08 : 0.10,
            reduced};
}

CashReceiptLine cashLine(const QString& account, const QString& name, const QString& partner,
                         double quantity, double unitAmount)
{
    return {account,  name,      partner, quantity * unitAmount, QString::number(quantity),
            quantity, unitAmount};
}

FinishedSale finishedSale(Settlement settlement, double tendered,
                          const QList<SaleReceiptLine>& lines, bool isReturn)
{
    FinishedSale s{isReturn, lines,      55,    0,      settlement, tendered,
                   0,        "61200001", Staff, Moment, 0.10,       {}};
    for (const SaleReceiptLine& line : lines)
        s.amountDue += line.amount;
    s.difference = tendered - s.amountDue;
    return s;
}

FinishedCashMovement finishedCash(CashDirection direction, double tendered,
                                  const QList<CashReceiptLine>& lines)
{
    FinishedCashMovement m{direction, lines, 0, tendered, 0, "61200002", Staff, Moment};
    for (const CashReceiptLine& line : lines)
        m.total += line.amount;
    m.change = tendered - m.total;
    return m;
}

FinishedSale sampleSale()
{
    return finishedSale(Settlement::Cash, 1000,
                        {saleLine("パン", 1, 150), saleLine("牛乳", 3, 198)});
}

QString testData(const QString& name)
{
    return QStringLiteral(MUK4_TESTS_DIR "/data/") + name;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

int permissions(const QString& path)
{
    struct stat status;
    return ::stat(qPrintable(path), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

QString partOf(const QString& path, const QString& part)
{
    Package package;
    QString error;
    return package.open(fileBytes(path), error) ? partText(package.read(part)) : error;
}

QByteArray templateBytes(const QList<PartEdit>& edits)
{
    QTemporaryDir scratch;
    Package package;
    QString error;
    if (!ReceiptTemplates::ensure(scratch.path(), ReceiptTemplate::Sales, QString()).ok() ||
        !package.open(fileBytes(ReceiptTemplates::path(scratch.path(), ReceiptTemplate::Sales)),
                      error))
        qFatal("no default template: %s", qPrintable(error));
    for (const PartEdit& e : edits) {
        if (e.pattern.isEmpty() && e.text.isEmpty())
            package.remove(e.part);
        else if (e.pattern.isEmpty())
            package.replace(e.part, e.text.toUtf8());
        else
            package.replace(e.part, partText(package.read(e.part))
                                        .replace(QRegularExpression(e.pattern), e.text)
                                        .toUtf8());
    }
    QBuffer bytes;
    if (!bytes.open(QIODevice::WriteOnly) || !package.write(bytes, error))
        qFatal("cannot write the template: %s", qPrintable(error));
    return bytes.data();
}

QJsonObject readWorkbook(const QString& path)
{
    // Debian's interpreter, which has openpyxl, whatever python3 comes first
    // on the path.
    return QJsonDocument::fromJson(
               run("/usr/bin/python3", {MUK4_TESTS_DIR "/read_workbook.py", path}))
        .object();
}

QJsonObject cellsOf(const QJsonObject& workbook, const QString& sheet)
{
    return workbook[QStringLiteral("cells")].toObject()[sheet].toObject();
}

QString pdfText(const QString& path)
{
    return QString::fromUtf8(run("pdftotext", {"-layout", path, "-"}));
}

QImage pdfPage(const QString& path)
{
    run("pdftoppm", {"-r", "72", "-gray", "-png", "-singlefile", path, path + ".page"});
    return QImage(path + ".page.png");
}

bool inked(const QImage& page, const QRectF& points)
{
    const QRect area = points.toAlignedRect().intersected(page.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                return true;
    return false;
}
