#include "Fixture.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>

// A posting is all or nothing even when the program is killed in the middle
// of it: after each kill the file is sound, every receipt has exactly its
// lines, a credit record exactly when something went on credit, and the
// counter names the last receipt posted.
class SalesCrashTest : public QObject {
    Q_OBJECT

private:
    static qint64 number(Database& db, const QString& sql)
    {
        return row(db, sql).value("n").toLongLong();
    }

private slots:
    void killedWhilePostingLeavesWholeReceipts()
    {
        ProgramFolder folder;
        {
            TestDb t;
            setParameter(t, "tax", "0.08");
            setParameter(t, "receipt", "612", "00000");
            setParameter(t, "workday", "20261215", "RUN");
        }
        const QString helper = QCoreApplication::applicationDirPath() + "/sales_crash_helper";
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        QElapsedTimer clock;
        clock.start();
        qint64 posted = 0;
        for (int kill = 0; kill < 50; ++kill) {
            QProcess process;
            process.start(helper, {folder.path()});
            QVERIFY(process.waitForReadyRead(5000));
            QTest::qWait(static_cast<int>(random.bounded(5, 160)));
            QCOMPARE(process.state(), QProcess::Running);
            process.kill();
            QVERIFY(process.waitForFinished(5000));
            QCOMPARE(process.exitStatus(), QProcess::CrashExit);

            TestDb t;
            QCOMPARE(row(t, "PRAGMA integrity_check").first().toString(), QString("ok"));
            // Every header has exactly the lines it counts, and no line is
            // without its header.
            QCOMPARE(number(t, "SELECT count(*) AS n FROM MOMURA h WHERE CAST(h.CF04 AS INTEGER) "
                               "<> (SELECT count(*) FROM MOVURA l WHERE l.CF01 = h.CF01 AND "
                               "l.CF02 = h.CF02 AND l.CF03 = h.CF03)"),
                     0);
            QCOMPARE(number(t, "SELECT count(*) AS n FROM MOVURA l WHERE NOT EXISTS (SELECT 1 "
                               "FROM MOMURA h WHERE h.CF01 = l.CF01 AND h.CF02 = l.CF02 AND "
                               "h.CF03 = l.CF03)"),
                     0);
            // A credit record exactly for the kinds with credit.
            QCOMPARE(number(t, "SELECT count(*) AS n FROM MOMURA h WHERE (substr(h.CF07, 1, 1) "
                               "IN ('2', '3')) <> EXISTS (SELECT 1 FROM MDMURK k WHERE k.CF01 = "
                               "h.CF01 AND k.CF02 = h.CF02 AND k.CF03 = h.CF03)"),
                     0);
            const qint64 headers = count(t, "MOMURA");
            QCOMPARE(count(t, "MDMURK"),
                     number(t, "SELECT count(*) AS n FROM MOMURA WHERE CF07 LIKE '2%' OR CF07 "
                               "LIKE '3%'"));
            // The counter is the last receipt posted.
            const QString counter =
                row(t, "SELECT CB02 || CB03 AS r FROM MBMSYS WHERE CB01 = 'receipt'")
                    .value("r")
                    .toString();
            const QString last = headers
                                     ? row(t, "SELECT CF03 FROM MOMURA ORDER BY rowid DESC LIMIT 1")
                                           .value("CF03")
                                           .toString()
                                     : QString("61200000");
            QCOMPARE(counter, last);
            QVERIFY(headers >= posted);
            posted = headers;
        }
        qInfo("%lld receipts posted in %.1f s", posted, clock.elapsed() / 1000.0);
        // The kills fell among postings, not before the first.
        QVERIFY(posted > 50);
    }
};

QTEST_MAIN(SalesCrashTest)
#include "test_salescrash.moc"
