#include "Fixture.h"

#include <QProcess>
#include <QRandomGenerator>

// A posting is all or nothing even when the program is killed in the middle
// of it: after each kill the file is sound, every receipt has exactly its
// lines, a credit record exactly when something went on credit, and the
// counter names the last receipt posted.
class SalesCrashTest : public QObject {
    Q_OBJECT

private slots:
    void killedWhilePostingLeavesWholeReceipts()
    {
        ProgramFolder folder;
        {
            TestDb t;
            setParameter(t, "receipt", "612", "00000");
            setParameter(t, "workday", "20261215", "RUN");
        }
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        // One register: the receipt number alone keys its lines and credit.
        const QString broken = R"(SELECT (SELECT count(*) FROM MOMURA h WHERE CAST(CF04 AS INTEGER)
                <> (SELECT count(*) FROM MOVURA l WHERE l.CF03 = h.CF03))
            + (SELECT count(*) FROM MOVURA WHERE CF03 NOT IN (SELECT CF03 FROM MOMURA))
            + (SELECT count(*) FROM MOMURA WHERE (substr(CF07, 1, 1) IN ('2', '3'))
                <> (CF03 IN (SELECT CF03 FROM MDMURK)))
            + (SELECT count(*) FROM MDMURK WHERE CF03 NOT IN (SELECT CF03 FROM MOMURA)) AS broken,
            (SELECT CB02 || CB03 FROM MBMSYS WHERE CB01 = 'receipt') = coalesce((SELECT CF03
                FROM MOMURA ORDER BY CF03 DESC LIMIT 1), '61200000') AS counted)";
        qint64 posted = 0;
        for (int kill = 0; kill < 50; ++kill) {
            QProcess process;
            process.start(QCoreApplication::applicationDirPath() + "/sales_crash_helper",
                          {folder.path()});
            QVERIFY(process.waitForReadyRead(5000));
            QTest::qWait(static_cast<int>(random.bounded(5, 160)));
            process.kill();
            QVERIFY(process.waitForFinished(5000));
            QCOMPARE(process.exitStatus(), QProcess::CrashExit);
            TestDb t;
            if (!t.db().onServer())
                QCOMPARE(row(t, "PRAGMA integrity_check").first().toString(), QString("ok"));
            QCOMPARE(row(t, broken), (QVariantMap{{"broken", 0}, {"counted", 1}}));
            QVERIFY(count(t, "MOMURA") >= posted);
            posted = count(t, "MOMURA");
        }
        // The kills fell among postings, not before the first.
        QVERIFY2(posted > 50, qPrintable(QString::number(posted)));
    }
};

QTEST_MAIN(SalesCrashTest)
#include "test_salescrash.moc"
