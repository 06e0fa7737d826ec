// A second process for the backup tests, doing what another program on the
// same files would do until the test stops it:
//   backup_helper write-sales FOLDER   posts receipts of three lines in a
//                                      loop; prints each receipt number
//                                      once it is committed
//   backup_helper backup FOLDER TARGET makes a backup of FOLDER's database

#include "data/Database.h"
#include "utilities/BackupCopy.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

namespace {

int writeSales()
{
    Database db;
    if (!db.open().ok())
        return 1;
    for (int n = 1;; ++n) {
        const QString receipt = QStringLiteral("W%1").arg(n, 7, 10, QLatin1Char('0'));
        // A commit that had to wait too long for a reader is tried again,
        // as the counter would.
        for (;; QThread::msleep(5)) {
            Transaction transaction(db);
            if (transaction.started().ok() &&
                db.execute(QStringLiteral("INSERT INTO MOMURA (CF01, CF02, CF03, CF07, CF09, CF19) "
                                          "VALUES ('01', '01', ?, '11000', 300, '20261206')"),
                           {receipt})
                    .ok() &&
                db.execute(QStringLiteral("INSERT INTO MOVURA (CF01, CF02, CF03, CF04, CF13, CF23) "
                                          "SELECT '01', '01', ?, n, 100, '20261206' FROM "
                                          "(SELECT '001' AS n UNION ALL SELECT '002' UNION ALL "
                                          "SELECT '003')"),
                           {receipt})
                    .ok() &&
                transaction.commit().ok())
                break;
        }
        std::printf("%s\n", qPrintable(receipt));
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3)
        return 2;
    Database::setFolder(args[2]);
    if (args[1] == QLatin1String("write-sales"))
        return writeSales();
    if (args[1] == QLatin1String("backup") && args.size() == 4)
        return BackupCopy(Database::filePath(), args[3], true).run() ? 1 : 0;
    return 2;
}
