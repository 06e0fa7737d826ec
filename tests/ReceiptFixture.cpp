#include "ReceiptFixture.h"

#include "data/SheetPage.h"

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
} // namespace

FinishedSale sampleSale()
{
    FinishedSale sale;
    sale.lines = {{QStringLiteral("パン"), 150, QStringLiteral("1"), 1, 150},
                  {QStringLiteral("牛乳"), 594, QStringLiteral("3"), 3, 198}};
    sale.taxTotal = 55;
    sale.amountDue = 744;
    sale.tendered = 1000;
    sale.difference = 256;
    sale.receiptNumber = QStringLiteral("61200001");
    sale.staffName = QStringLiteral("山田 太郎");
    sale.moment = QDateTime(QDate(2026, 12, 1), QTime(10, 15, 30));
    return sale;
}

FinishedCashMovement sampleDeposit()
{
    FinishedCashMovement deposit;
    deposit.lines = {{QStringLiteral("0001"), QStringLiteral("釣銭準備金"), QStringLiteral("0002"),
                      3600, QStringLiteral("3"), 3, 1200}};
    deposit.total = 3600;
    deposit.tendered = 5000;
    deposit.change = 1400;
    deposit.receiptNumber = QStringLiteral("61200002");
    deposit.staffName = QStringLiteral("山田 太郎");
    deposit.moment = QDateTime(QDate(2026, 12, 1), QTime(11, 0, 0));
    return deposit;
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

QSizeF pdfPageSize(const QString& path)
{
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {path}));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
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
