#include "Fixture.h"

#include "data/DatabaseSettings.h"
#include "data/Parameters.h"
#include "pos/CounterParameters.h"
#include "pos/ReceiptPosting.h"
#include "pos/SaleLine.h"
#include "shell/Startup.h"

#include <QProcess>

// What only a server database has: its settings, a server that is not
// there, and writes the server gives up on in favour of another register's.
class ServerTest : public QObject {
    Q_OBJECT

    static bool cluster(const char* action, const QString& folder)
    {
        return QProcess::execute(QStringLiteral(PGCLUSTER), {action, folder}) == 0;
    }

private slots:
    void cleanup() { Database::setFolder(QString()); }

    // Settings that cannot be trusted stop the start, naming the key, and
    // nothing is made; a file naming the file or only other sections is
    // the file's default.
    void settingsThatCannotBeTrustedStopTheStart_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("key"); // empty: the program starts on the file
        const QString server = "[database]\nengine=postgresql\nhost=/run/x\ndbname=shop\nuser=u\n";
        QTest::newRow("unknown engine") << "[database]\nengine=oracle\n"
                                        << "database/engine";
        QTest::newRow("no host") << QString(server).remove("host=/run/x\n") << "database/host";
        QTest::newRow("port not a number") << server + "port=54x\n"
                                           << "database/port";
        QTest::newRow("port too high") << server + "port=65536\n"
                                       << "database/port";
        QTest::newRow("no database")
            << QString(server).remove("dbname=shop\n") << "database/dbname";
        QTest::newRow("no user") << QString(server).remove("user=u\n") << "database/user";
        QTest::newRow("unknown sslmode") << server + "sslmode=maybe\n"
                                         << "database/sslmode";
        QTest::newRow("a password") << server + "password=secret\n"
                                    << "database/password";
        QTest::newRow("no register") << server << "register/code";
        QTest::newRow("register 00") << server + "[register]\ncode=00\n"
                                     << "register/code";
        QTest::newRow("register of one digit on the file") << "[register]\ncode=2\n"
                                                           << "register/code";
        QTest::newRow("the file") << "[database]\nengine=sqlite\n"
                                  << "";
        QTest::newRow("another section") << "[register]\ncode=02\n"
                                         << "";
    }

    void settingsThatCannotBeTrustedStopTheStart()
    {
        QFETCH(QString, ini);
        QFETCH(QString, key);
        QTemporaryDir dir;
        Database::setFolder(dir.path());
        QFile file(dir.filePath("MUK4.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ini.toUtf8()) > 0);
        file.close();
        Navigator navigator;
        MessageBoxes boxes;
        QCOMPARE(startProgram(navigator), key.isEmpty());
        QCOMPARE(boxes.texts(),
                 key.isEmpty() ? QStringList{}
                               : QStringList{"MUK4.ini の設定が正しくありません（" + key + "）。"});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (key.isEmpty() ? QStringList{"MUK4.db", "MUK4.db.lock", "MUK4.ini"}
                                : QStringList{"MUK4.ini"}));
    }

    // A server that is not running refuses the start with where it should
    // be, writing nothing; once it runs, the same settings start the program
    // on a database made for it.
    void aServerThatIsNotRunningStopsTheStart()
    {
        QTemporaryDir dir;
        const QString server = dir.filePath("pg");
        QVERIFY(cluster("start", server));
        const auto removed = qScopeGuard([&] { cluster("stop", server); });
        QVERIFY(cluster("pause", server));
        QFile file(dir.filePath("MUK4.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QString("[database]\nengine=postgresql\nhost=%1\ndbname=postgres\nuser=muk4\n"
                           "[register]\ncode=01\n")
                       .arg(server)
                       .toUtf8());
        file.close();
        Database::setFolder(dir.path());
        {
            Navigator navigator;
            MessageBoxes boxes;
            QVERIFY(!startProgram(navigator));
            QCOMPARE(boxes.texts(),
                     QStringList{"データベース サーバーに接続できません（" + server + ":5432）。"});
        }
        QVERIFY(cluster("resume", server));
        Navigator navigator;
        MessageBoxes boxes;
        QVERIFY(startProgram(navigator));
        QVERIFY(boxes.texts().isEmpty());
        TestDb t;
        QCOMPARE(count(t, "MBMSYS"), 10);
        QCOMPARE(QDir(dir.path()).entryList({"MUK4*"}, QDir::Files),
                 (QStringList{"MUK4.db.lock", "MUK4.ini"}));
    }

    // A second copy of a register is refused from any program folder while
    // another register starts beside it; each numbers its own receipts from
    // 00001, a number is taken only within its own register, and the
    // settings screen lists the shop's records with the register's own.
    void eachRegisterRunsOnceAndKeepsItsOwnRecords()
    {
        if (!ProgramFolder::onServer())
            QSKIP("registers share a database only on a server");
        ProgramFolder first;
        Navigator one;
        QVERIFY(startProgram(one));
        QTemporaryDir second;
        pointAtTestServer(second.path(), "01");
        Database::setFolder(second.path());
        {
            Navigator again;
            MessageBoxes boxes;
            QVERIFY(!startProgram(again));
            QCOMPARE(boxes.texts(), QStringList{"レジ 01 は既に起動しています。"});
        }
        pointAtTestServer(second.path(), "02");
        Navigator two;
        QVERIFY(startProgram(two));
        TestDb t;
        const auto post = [&t](const QString& folder, QString& number) {
            Database::setFolder(folder);
            CounterParameters shop;
            if (!shop.load(t).ok() || (number.isEmpty() && !nextReceiptNumber(t, number).ok()))
                return PostingResult::Outcome::Failed;
            const ReceiptKey key{shop.storeCode, shop.registerCode, number};
            return postReceipt(
                       t, key,
                       {{"MOMURA",
                         {{{"CF01", key.store}, {"CF02", key.registerCode}, {"CF03", number}}}}})
                .outcome;
        };
        QString ofTwo, ofOne;
        QCOMPARE(post(second.path(), ofTwo), PostingResult::Outcome::Posted);
        QCOMPARE(post(first.path(), ofOne), PostingResult::Outcome::Posted);
        QCOMPARE(post(first.path(), ofOne), PostingResult::Outcome::Duplicate);
        QCOMPARE(rows(t, "SELECT CF02 || CF03 AS k FROM MOMURA ORDER BY CF02"),
                 (QList<QVariantMap>{{{"k", "01" + ofOne}}, {{"k", "02" + ofTwo}}}));
        QCOMPARE(ofOne, ofTwo);
        QVERIFY2(ofOne.endsWith("00001"), qPrintable(ofOne));

        Database::setFolder(second.path());
        Screens s;
        s.show("MUK4MM90");
        const QList<QStringList> listed = s.gridRows();
        QCOMPARE(listed.size(), 10);
        QVERIFY(listed.contains(QStringList{"register", "02", " "}));
    }

    // A product the owner changes at one register is priced so at the next
    // scan at another.
    void aProductChangedAtOneRegisterIsSeenAtTheNextLookUp()
    {
        ProgramFolder folder;
        TestDb owner, counter;
        const QString code = "4900000000001";
        addProduct(owner, {{"CB01", code}, {"CB11", "100"}});
        std::optional<CounterProduct> found;
        QVERIFY(findProduct(counter, code, found).ok() && found);
        QVERIFY(owner.db().execute("UPDATE MBMSHO SET CB11 = '120' WHERE CB01 = ?", {code}).ok());
        QVERIFY(findProduct(counter, code, found).ok() && found);
        QCOMPARE(found->price, "120");
    }

    // Two registers change the same record at once: the one the server
    // gives up on is tried again and lands on top of the other's change.
    void aWriteTheServerGaveUpOnIsTriedAgain()
    {
        ProgramFolder folder;
        TestDb t;
        TestDb other;
        int attempts = 0;
        const DbResult written = Transaction::retried(t, [&] {
            ++attempts;
            Transaction transaction(t);
            QList<QVariantList> seen;
            if (DbResult r =
                    t.db().select("SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'", {}, seen);
                !r.ok())
                return r;
            if (attempts == 1)
                (void)Parameters::change(other, "receipt", {{"CB03", "00007"}});
            const QString next = QString::number(seen.value(0).value(0).toInt() + 1);
            if (DbResult r =
                    Parameters::change(t, "receipt", {{"CB03", next.rightJustified(5, '0')}});
                !r.ok())
                return r;
            return transaction.commit();
        });
        QVERIFY2(written.ok(), qPrintable(written.ok() ? QString() : written.error().describe()));
        QCOMPARE(attempts, 2);
        QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant("00008"));
    }
};

QTEST_MAIN(ServerTest)
#include "test_server.moc"
