// The real program, started as a shop would start it: twice at once, again
// while it runs, and after it was killed.
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const QString Running = QStringLiteral("MESSAGE MUK4 は既に起動しています。");

// A program folder with its own copy of the program, as the shop has it.
struct Folder {
    QTemporaryDir dir;
    const QString program = dir.filePath("muk4");
    Folder() { QFile::copy(QStringLiteral(MUK4_PROGRAM), program); }
    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.filePath(name); }
    // Starts the program with every message box written out and answered.
    std::unique_ptr<QProcess> start() const
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("MUK4_UNATTENDED", "1");
        process->setProcessEnvironment(environment);
        process->start(program, {});
        return process;
    }
    // The process id written into the lock file, 0 when there is none.
    qint64 lockHolder() const
    {
        qint64 pid = 0;
        QString host, application;
        return QLockFile(file("MUK4.db.lock")).getLockInfo(&pid, &host, &application) ? pid : 0;
    }
    // The business-day state, read without writing anything.
    QString workday() const
    {
        QString state;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "reader");
            db.setDatabaseName(file("MUK4.db"));
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
            QSqlQuery query(db);
            if (db.open() && query.exec("SELECT CB03 FROM MBMSYS WHERE CB01 = 'workday'") &&
                query.next())
                state = query.value(0).toString();
        }
        QSqlDatabase::removeDatabase("reader");
        return state;
    }
    QStringList files() const
    {
        QStringList names = QDir(path()).entryList(QDir::Files);
        names.sort();
        return names;
    }
};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The message boxes the program showed (besides the platform's own notes).
QString messages(QProcess& process)
{
    QStringList shown;
    bool inMessage = false;
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split(u'\n')) {
        inMessage = line.startsWith("MESSAGE ") || (inMessage && line.startsWith(u'/'));
        if (inMessage)
            shown << line;
    }
    return shown.join(u'\n');
}
} // namespace

class InstancesTest : public QObject {
    Q_OBJECT

private slots:
    // Two programs started at the same moment in an empty folder, twenty
    // times: one makes the database and runs, the other says so and ends
    // without a trace. A start while one runs is refused the same way; one
    // killed outright leaves its lock behind, which does not block the next.
    void doubleStartsAndAKilledProgram()
    {
        Folder folder;
        std::unique_ptr<QProcess> winner;
        for (int round = 1; round <= 20; ++round) {
            if (winner) {
                winner->kill();
                QVERIFY(winner->waitForFinished());
            }
            for (const QString& name : QDir(folder.path()).entryList({"MUK4.db*"}, QDir::Files))
                QVERIFY(QFile::remove(folder.file(name)));
            auto loser = folder.start();
            winner = folder.start();
            QVERIFY(loser->waitForStarted() && winner->waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(loser->state() == QProcess::NotRunning ||
                                         winner->state() == QProcess::NotRunning,
                                     15000);
            if (loser->state() != QProcess::NotRunning)
                std::swap(loser, winner);
            const QString said = messages(*loser);
            QVERIFY2(said == Running + "\n" + folder.path(),
                     qPrintable(QString("round %1: %2").arg(round).arg(said)));
            QCOMPARE(loser->exitCode(), 1);
            QTRY_COMPARE_WITH_TIMEOUT(folder.workday(), QString("RUN"), 15000);
            QCOMPARE(winner->state(), QProcess::Running);
            QCOMPARE(messages(*winner), QString());
            // The winner may still be finishing its start-up writes, whose
            // journal comes and goes; what must stay is the file and its lock.
            QTRY_COMPARE_WITH_TIMEOUT(folder.files(),
                                      (QStringList{"MUK4.db", "MUK4.db.lock", "muk4"}), 5000);
        }

        QCOMPARE(folder.lockHolder(), winner->processId());
        const QByteArray before = contents(folder.file("MUK4.db"));
        auto second = folder.start();
        QVERIFY(second->state() == QProcess::NotRunning || second->waitForFinished(15000));
        QCOMPARE(second->exitCode(), 1);
        const QString said = messages(*second);
        QVERIFY2(said.contains(Running + "\n" + folder.path()), qPrintable(said));
        QCOMPARE(contents(folder.file("MUK4.db")), before);
        QCOMPARE(winner->state(), QProcess::Running);

        winner->kill();
        QVERIFY(winner->waitForFinished());
        QVERIFY(QFile::exists(folder.file("MUK4.db.lock")));
        auto third = folder.start();
        QTRY_COMPARE_WITH_TIMEOUT(folder.lockHolder(), third->processId(), 15000);
        QTest::qWait(300);
        QCOMPARE(third->state(), QProcess::Running);
        QCOMPARE(messages(*third), QString());
        third->kill();
        QVERIFY(third->waitForFinished());
    }
};

QTEST_GUILESS_MAIN(InstancesTest)
#include "test_instances.moc"
