#include "ReceiptFixture.h"

#include "data/SheetPage.h"
#include "pos/ReceiptTemplates.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {
QByteArray run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return process.readAllStandardOutput();
}

bool quietly(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

const QString Staff = QStringLiteral("山田 太郎");
const QDateTime Moment(QDate(2026, 12, 1), QTime(10, 15, 30));
} // namespace

SaleReceiptLine saleLine(const QString& name, double quantity, double unitPrice)
{
    return {name, quantity * unitPrice, QString::number(quantity), quantity, unitPrice};
}

CashReceiptLine cashLine(const QString& account, const QString& name, const QString& partner,
                         double quantity, double unitAmount)
{
    const double amount = quantity * unitAmount;
    return {account, name, partner, amount, QString::number(quantity), quantity, unitAmount};
}

FinishedSale finishedSale(Settlement settlement, double tendered,
                          const QList<SaleReceiptLine>& lines, bool isReturn)
{
    FinishedSale s{isReturn, lines, 55, 0, settlement, tendered, 0, "61200001", Staff, Moment};
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
    return finishedSale(
        Settlement::Cash, 1000,
        {saleLine(QStringLiteral("パン"), 1, 150), saleLine(QStringLiteral("牛乳"), 3, 198)});
}

FinishedCashMovement sampleDeposit()
{
    return finishedCash(CashDirection::Deposit, 5000,
                        {cashLine(QStringLiteral("0001"), QStringLiteral("釣銭準備金"),
                                  QStringLiteral("0002"), 3, 1200)});
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

void copyFile(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to) || !QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner))
        qFatal("cannot copy %s", qPrintable(from));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
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
    const QByteArray json = run(QStringLiteral("/usr/bin/python3"),
                                {QStringLiteral(MUK4_TESTS_DIR "/read_workbook.py"), path});
    return QJsonDocument::fromJson(json).object();
}

QJsonObject cellsOf(const QJsonObject& workbook, const QString& sheet)
{
    return workbook[QStringLiteral("cells")].toObject()[sheet].toObject();
}

QString pdfText(const QString& path)
{
    return QString::fromUtf8(run(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-layout"), path, QStringLiteral("-")}))
        .normalized(QString::NormalizationForm_KC);
}

QImage pdfPage(const QString& path)
{
    const QString prefix = path + QStringLiteral(".page");
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"),
         QStringLiteral("-png"), QStringLiteral("-singlefile"), path, prefix});
    return QImage(prefix + QStringLiteral(".png"));
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

bool FakePrinter::print(const SheetPage& page, const QString& jobName, QString& error)
{
    jobs << jobName;
    lastSize = page.size();
    if (!accepts_)
        error = QStringLiteral("ROLL58: paper out");
    return accepts_;
}

SmallDisk::SmallDisk(const QString& size)
{
    mounted_ = quietly(QStringLiteral("mount"),
                       {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                        QStringLiteral("size=") + size, QStringLiteral("tmpfs"), dir_.path()});
}

SmallDisk::~SmallDisk()
{
    if (mounted_ && !quietly(QStringLiteral("umount"), {dir_.path()}))
        qWarning("cannot unmount %s", qPrintable(dir_.path()));
}

void SmallDisk::fill()
{
    QFile filler(QDir(dir_.path()).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly))
        qFatal("cannot fill %s", qPrintable(dir_.path()));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
}

bool SmallDisk::makeReadOnly()
{
    return quietly(QStringLiteral("mount"),
                   {QStringLiteral("-o"), QStringLiteral("remount,ro"), dir_.path()});
}
