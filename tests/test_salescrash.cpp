#include "Fixture.h"

#include "data/ServerPresence.h"
#include "reports/RegisterTotals.h"

#include <QProcess>
#include <QRandomGenerator>

namespace {
// Receipts with other than exactly their lines, lines or credit without a
// receipt, and whether each register's counter names its last receipt.
const QString broken = R"(SELECT (SELECT count(*) FROM MOMURA h WHERE CAST(CF04 AS INTEGER)
        <> (SELECT count(*) FROM MOVURA l WHERE l.CF02 = h.CF02 AND l.CF03 = h.CF03))
    + (SELECT count(*) FROM MOVURA l WHERE NOT EXISTS (SELECT 1 FROM MOMURA h
        WHERE h.CF02 = l.CF02 AND h.CF03 = l.CF03))
    + (SELECT count(*) FROM MOMURA h WHERE (substr(CF07, 1, 1) IN ('2', '3')) <> EXISTS (SELECT 1
        FROM MDMURK c WHERE c.CF02 = h.CF02 AND c.CF03 = h.CF03))
    + (SELECT count(*) FROM MDMURK c WHERE NOT EXISTS (SELECT 1 FROM MOMURA h
        WHERE h.CF02 = c.CF02 AND h.CF03 = c.CF03)) AS broken,
    (SELECT count(*) FROM MBMSYS s WHERE CB01 = 'receipt' AND CB02 || CB03 <> coalesce((SELECT
        max(CF03) FROM MOMURA h WHERE h.CF02 = s.CB09), '61200000')) AS miscounted)";
const QVariantMap whole{{"broken", 0}, {"miscounted", 0}};

// A register's business day and receipt counter, as its first start of
// the day leaves them.
void openDay(const QString& folder)
{
    Database::setFolder(folder);
    TestDb t;
    setParameter(t, "receipt", "612", "00000");
    setParameter(t, "workday", "20261215", "RUN");
}

QString helper()
{
    return QCoreApplication::applicationDirPath() + "/sales_crash_helper";
}
} // namespace

// A posting is all or nothing even when the program is killed in the middle
// of it: after each kill the database is sound, every receipt has exactly its
// lines, a credit record exactly when something went on credit, and the
// counter names the last receipt posted. Registers sharing a server number
// their receipts apart.
class SalesCrashTest : public QObject {
    Q_OBJECT

private slots:
    void killedWhilePostingLeavesWholeReceipts()
    {
        ProgramFolder folder;
        openDay(folder.path());
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        qint64 posted = 0;
        for (int kill = 0; kill < 50; ++kill) {
            QProcess process;
            process.start(helper(), {folder.path()});
            QVERIFY(process.waitForReadyRead(5000));
            if (kill == 0 && folder.onServer()) {
                ServerPresence again;
                QCOMPARE(again.take(), ServerPresence::Outcome::RegisterRunning);
            }
            QTest::qWait(static_cast<int>(random.bounded(5, 160)));
            process.kill();
            QVERIFY(process.waitForFinished(5000));
            QCOMPARE(process.exitStatus(), QProcess::CrashExit);
            TestDb t;
            if (folder.onServer()) {
                // The killed register starts again at once.
                ServerPresence again;
                QCOMPARE(again.take(), ServerPresence::Outcome::Taken);
            } else {
                QCOMPARE(row(t, "PRAGMA integrity_check").first().toString(), QString("ok"));
            }
            QCOMPARE(row(t, broken), whole);
            QVERIFY(count(t, "MOMURA") >= posted);
            posted = count(t, "MOMURA");
        }
        // The kills fell among postings, not before the first.
        QVERIFY2(posted > 50, qPrintable(QString::number(posted)));
    }

    void fourRegistersPostAtOnce()
    {
        if (!ProgramFolder::onServer())
            QSKIP("registers share a database only on a server");
        ProgramFolder shop;
        std::vector<std::unique_ptr<QTemporaryDir>> folders;
        std::vector<std::unique_ptr<QProcess>> registers;
        for (const QString code : {"01", "02", "03", "04"}) {
            const QString path = folders.emplace_back(new QTemporaryDir)->path();
            pointAtTestServer(path, code);
            openDay(path);
            registers.emplace_back(new QProcess)->start(helper(), {path, "250"});
        }
        for (auto& process : registers) {
            QVERIFY(process->waitForFinished(240000));
            QCOMPARE(process->exitCode(), 0);
        }
        Database::setFolder(shop.path());
        TestDb t;
        QCOMPARE(row(t, broken), whole);
        const QVariantMap numbered{{"receipts", 250}, {"first", "61200001"}, {"last", "61200250"}};
        QCOMPARE(rows(t, "SELECT count(DISTINCT CF03) AS receipts, min(CF03) AS first, "
                         "max(CF03) AS last FROM MOMURA GROUP BY CF02 ORDER BY CF02"),
                 QList<QVariantMap>(4, numbered));
        std::vector<RegisterDay> all, one;
        RegisterDay sum{.date = "20261215"};
        QVERIFY(RegisterTotals::read(t, {"01", std::nullopt}, {"20261215"}, all).ok());
        for (const QString code : {"01", "02", "03", "04"}) {
            QVERIFY(RegisterTotals::read(t, {"01", code}, {"20261215"}, one).ok());
            sum += one.front();
        }
        QCOMPARE(all.front().gridRow(), sum.gridRow());
        QCOMPARE(all.front().customers, 1000.0);
    }
};

QTEST_MAIN(SalesCrashTest)
#include "test_salescrash.moc"
