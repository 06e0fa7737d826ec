// The real program, started as a shop would start it: twice at once, again
// while it runs, and after it was killed.
#include "ReceiptFixture.h"

#include "utilities/SqliteFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

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
    // The process id written first into the lock file, 0 when there is none.
    qint64 lockHolder() const
    {
        return fileBytes(file("MUK4.db.lock")).split('\n')[0].toLongLong();
    }
    // The business-day state, read without writing anything.
    QString workday() const
    {
        SqliteFile db;
        QString state;
        if (db.open(file("MUK4.db"), true) == 0)
            db.run("SELECT CB03 FROM MBMSYS WHERE CB01 = 'workday'", {}, &state);
        return state;
    }
    // The permission bits of a file, -1 when it is not there.
    int mode(const QString& name) const
    {
        struct stat st {};
        return ::stat(QFile::encodeName(file(name)).constData(), &st) == 0 ? int(st.st_mode & 07777)
                                                                           : -1;
    }
    QStringList files() const { return QDir(path()).entryList(QDir::Files, QDir::Name); }
};

// The message boxes the program showed (besides the platform's own notes):
// each from its "MESSAGE" line to the folder line that may follow it.
QString messages(QProcess& process)
{
    static const QRegularExpression box("^MESSAGE .*(\\n/.*)?$",
                                        QRegularExpression::MultilineOption);
    QStringList shown;
    for (const auto& match : box.globalMatch(QString::fromUtf8(process.readAllStandardError())))
        shown << match.captured();
    return shown.join(u'\n');
}
} // namespace

class InstancesTest : public QObject {
    Q_OBJECT

private slots:
    // As a desktop session has it: new files readable by everyone.
    void initTestCase() { ::umask(022); }

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
        // The shop's data, and who works on it, are for the owner's eyes only.
        QCOMPARE((QList<int>{folder.mode("MUK4.db"), folder.mode("MUK4.db.lock")}),
                 (QList<int>{0600, 0600}));
        const QByteArray before = fileBytes(folder.file("MUK4.db"));
        auto second = folder.start();
        QVERIFY(second->state() == QProcess::NotRunning || second->waitForFinished(15000));
        QCOMPARE(second->exitCode(), 1);
        const QString said = messages(*second);
        QVERIFY2(said.contains(Running + "\n" + folder.path()), qPrintable(said));
        QCOMPARE(fileBytes(folder.file("MUK4.db")), before);

        winner->kill();
        QVERIFY(winner->waitForFinished());
        QVERIFY(QFile::exists(folder.file("MUK4.db.lock")));
        auto third = folder.start();
        QTRY_COMPARE_WITH_TIMEOUT(folder.lockHolder(), third->processId(), 15000);
        QCOMPARE(messages(*third), QString());
        third->kill();
        QVERIFY(third->waitForFinished());
    }
};

QTEST_GUILESS_MAIN(InstancesTest)
#include "test_instances.moc"
