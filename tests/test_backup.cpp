#include "Fixture.h"
#include "ReceiptFixture.h"

#include "data/Clock.h"
#include "data/DatabaseSettings.h"
#include "data/Schema.h"
#include "utilities/BackupCopy.h"
#include "utilities/BackupTargets.h"
#include "utilities/SafeFile.h"
#include "utilities/SqliteFile.h"

#include <QApplication>
#include <QComboBox>
#include <QLockFile>
#include <QProcess>
#include <QRadioButton>
#include <QScopeGuard>
#include <QThread>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

const QString stopText = QStringLiteral("MUK4.dbファイルを終了して、再度処理してください。");

// Each receipt of a database file with its number of lines, read-only.
QStringList receiptsIn(const QString& path)
{
    SqliteFile file;
    QString found;
    if (file.open(path, true) == 0)
        file.run("SELECT group_concat(r, ' ') FROM (SELECT h.CF03 || ':' || (SELECT count(*) FROM "
                 "MOVURA l WHERE l.CF03 = h.CF03) AS r FROM MOMURA h ORDER BY h.CF03)",
                 {}, &found);
    return found.split(u' ', Qt::SkipEmptyParts);
}

// A cash sale of the business day without lines.
void addReceipt(Database& db, const QString& receipt)
{
    addHeader(db, {.receipt = receipt, .date = "20261206", .amount = 1500, .paidNow = 1500});
}

// Receipts of six lines each, enough to make the copy take a moment.
void fill(Database& db, const QString& prefix, int receipts)
{
    Transaction transaction(db);
    const QString n =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) ";
    QVERIFY(db.execute(n + "INSERT INTO MOMURA (CF01, CF02, CF03, CF07, CF09, CF19) SELECT '01', "
                           "'01', ? || printf('%07d', i), '11000', 600, '20261205' FROM n",
                       {receipts, prefix})
                .ok());
    QVERIFY(db.execute(n + "INSERT INTO MOVURA (CF01, CF02, CF03, CF04, CF05, CF06, CF13, CF23) "
                           "SELECT '01', '01', ? || printf('%07d', i / 6), printf('%03d', i % 6), "
                           "printf('49%011d', i), '北海道産バターロール６個入', 100, '20261205' "
                           "FROM n",
                       {receipts * 6, prefix})
                .ok());
    QVERIFY(transaction.commit().ok());
}

// Root passes every permission check; without these two capabilities it is
// refused by the folder's mode like anyone else.
bool overridePermissions(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    data[0].effective = on ? (data[0].effective | bits) : (data[0].effective & ~bits);
    return syscall(SYS_capset, &header, data) == 0;
}

// A helper process (backup_helper.cpp), stopped hard when the test ends.
struct Helper : QProcess {
    explicit Helper(const QStringList& arguments)
    {
        start(QStringLiteral(BACKUP_HELPER), arguments);
        waitForStarted();
    }
    ~Helper() override { stop(); }
    void stop()
    {
        kill();
        waitForFinished();
    }
    // The lines printed so far, waiting for at least `least` of them.
    QStringList lines(int least)
    {
        do
            while (canReadLine())
                printed << QString::fromUtf8(readLine()).trimmed();
        while (printed.size() < least && waitForReadyRead(10000));
        return printed;
    }
    QStringList printed;
};

// The file's permission bits, -1 when it is not there.
int mode(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class BackupTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;

    QString backupFolder() const { return home_->filePath(QStringLiteral("BKUP")); }
    QString backupFile() const { return home_->filePath(QStringLiteral("BKUP/MUK4.db")); }
    QString partialFile() const { return home_->filePath(QStringLiteral("BKUP/MUK4.db.partial")); }

    static Screen* openBackup(Screens& screens)
    {
        screens.show(QStringLiteral("MUK4SC09"));
        screens.click(QStringLiteral("APCBTN09"));
        return screens.settle();
    }
    // Presses RCBTN, unless the copy was started otherwise, and waits for
    // the copy's end.
    static bool runBackup(Screens& screens, bool press = true)
    {
        QPushButton* run = screens.button(QStringLiteral("RCBTN"));
        if (press && QApplication::focusWidget() != run)
            return false;
        if (press)
            enter(run);
        return QTest::qWaitFor([&] { return screens.button(QStringLiteral("RTBTN"))->isEnabled(); },
                               120000) &&
               // A message box may have had the keyboard for a moment.
               QTest::qWaitForWindowActive(screens.current());
    }
    QString dumpFile() const { return home_->filePath(QStringLiteral("BKUP/MUK4.dump")); }
    // Runs the restore tool on the backup; what it said.
    static QString restore(const QString& backup, const QString& folder, int exitCode)
    {
        QProcess tool;
        tool.start(QStringLiteral(RESTORE_TOOL), {backup, folder});
        if (!tool.waitForFinished(120000) || tool.exitCode() != exitCode)
            qWarning("restore ended with %d", tool.exitCode());
        return tool.readAllStandardOutput() + tool.readAllStandardError();
    }
    void makeBackup() { QVERIFY(!BackupCopy(Database::filePath(), backupFolder(), true).run()); }

private slots:
    // As a desktop session has it: new files readable by everyone.
    void initTestCase() { ::umask(022); }
    void init()
    {
        // The copy of a database file and the dump of a server database
        // each have their own cases.
        if (ProgramFolder::onServer() !=
            QByteArray(QTest::currentTestFunction()).startsWith("dump"))
            QSKIP("a case of the other engine");
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(18, 0, 0)));
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home_->path().toLocal8Bit());
    }
    void cleanup() { Clock::reset(); }

    // A first backup makes the folder and leaves the database closed until
    // the screen is left; a later one killed half-way leaves it as it was, and
    // the screen asks before it replaces it.
    void backupsAreMadeWholeOrNotAtAll()
    {
        QCOMPARE(BackupTargets::removable({"/", "/run/media/shop/STICK", "/mnt/usb", "/media",
                                           "/media/shop/SD", "/home"}),
                 (QStringList{"/media/shop/SD", "/run/media/shop/STICK"}));
        ProgramFolder folder;
        addReceipt(TestDb(), "61200001");
        // The engine layer warns of a connection closed or removed in use.
        QTest::failOnWarning(
            QRegularExpression("QSql|connection", QRegularExpression::CaseInsensitiveOption));
        Screens screens;
        openBackup(screens);
        QCOMPARE(screens.find<QComboBox>("CB1")->currentText(), backupFolder());
        QVERIFY(screens.find<QRadioButton>("Option1")->isChecked());
        QCOMPARE(screens.usable({"Option1", "Option2", "Option3", "RCBTN", "RTBTN", "CB1"}),
                 (QStringList{"Option1", "RCBTN", "RTBTN", "CB1"}));
        QCOMPARE(screens.label("LabelAPF"), QString("●  更新"));
        QVERIFY(drawsIn(screens.find<QLabel>("LabelAPF"), QColor(0x00C0C0)));
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);

        // The copy is on the disk before it takes the backup's name.
        QStringList steps;
        SafeFile::observe(
            [&steps](const QString& step, const QString& path) { steps << step + ' ' + path; });
        QVERIFY(runBackup(screens));
        SafeFile::observe({});
        QCOMPARE(steps.filter("MUK4.db.partial"),
                 (QStringList{"fsync " + partialFile(), "rename " + partialFile()}));
        QCOMPARE(screens.label("LabelAPF"), QString("●  正常"));
        QVERIFY(drawsIn(screens.find<QLabel>("LabelAPF"), QColor(0x00C000)));
        QCOMPARE(QApplication::focusWidget(), screens.button("RTBTN"));
        QVERIFY(screens.label("LabelN").contains(backupFile()));
        QCOMPARE(SqliteFile::unsoundness(backupFile()), std::nullopt);
        QCOMPARE(receiptsIn(backupFile()), QStringList{"61200001:0"});
        QCOMPARE(QDir(backupFolder()).entryList(QDir::Files), QStringList{"MUK4.db"});
        // The shop's data is for its owner's eyes only.
        QCOMPARE((QList<int>{mode(backupFolder()), mode(backupFile())}), (QList<int>{0700, 0600}));

        // The copy was made with the screen's own connection let go, and it
        // stays so until the screen is left; leaving without a backup lets
        // go of it as well.
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
        functionKey(QApplication::focusWidget(), Qt::Key_F10);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC09"));
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
        screens.click("APCBTN09");
        screens.click("RTBTN");
        QCOMPARE(screens.settle()->code(), QString("MUK4SC09"));
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);

        fill(TestDb(), "B", 60000);
        const QByteArray previous = fileBytes(backupFile());
        Helper backup({"backup", folder.path(), backupFolder()});
        QVERIFY(QTest::qWaitFor(
            [&] {
                return QFileInfo(partialFile()).size() > 0 ||
                       backup.state() == QProcess::NotRunning;
            },
            30000));
        backup.stop();
        QCOMPARE(backup.exitStatus(), QProcess::CrashExit);
        QCOMPARE(fileBytes(backupFile()), previous);
        QVERIFY(QFileInfo::exists(partialFile()));

        // On the next opening the leftover goes; the old backup is replaced on Yes.
        MessageBoxes boxes;
        boxes.answerWith(QMessageBox::No);
        openBackup(screens);
        QVERIFY(!QFileInfo::exists(partialFile()));
        for (const bool yes : {false, true}) {
            QVERIFY(runBackup(screens));
            QCOMPARE(
                boxes.texts(),
                QStringList{backupFile() + " は既に存在します。\nデータベースに上書きしますか？"});
            QCOMPARE(boxes.seen()[0].title, QString("処理の判断"));
            QCOMPARE(screens.label("LabelAPF"), yes ? QString("●  正常") : QString("●  更新"));
            if (!yes)
                QCOMPARE(fileBytes(backupFile()), previous);
            boxes.clear();
            boxes.answerWith(QMessageBox::Yes);
        }
        QCOMPARE(receiptsIn(backupFile()).size(), 60001);
    }

    void aTargetThatCannotBeWrittenIsReportedAndGetsNothing_data()
    {
        // The folder without write permission, on a read-only mount, the
        // database held by another program, a file named BKUP.
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        for (const char* cause : {"mode", "mount", "held"})
            QTest::newRow(cause) << cause << "処理の中止" << stopText;
        // The system's description follows the number, in the machine's language.
        QTest::newRow("file") << "file" << QApplication::applicationDisplayName() << QString("20 ");
    }
    void aTargetThatCannotBeWrittenIsReportedAndGetsNothing()
    {
        QFETCH(QString, cause);
        QFETCH(QString, title);
        QFETCH(QString, text);
        ProgramFolder folder;
        TestDb t;
        std::optional<SmallDisk> disk;
        const auto restore = qScopeGuard([] { overridePermissions(true); });
        if (cause == "file") {
            writeFile(backupFolder(), "");
        } else if (cause == "mount") {
            if (!disk.emplace().mounted() || !disk->setReadOnly(true))
                QSKIP("this machine does not allow a mount");
            QVERIFY(QFile::link(disk->path(), backupFolder()));
        } else {
            QVERIFY(QDir().mkpath(backupFolder()));
        }
        if (cause == "mode") {
            QFile::setPermissions(backupFolder(), QFile::ReadOwner | QFile::ExeOwner);
            QVERIFY(geteuid() != 0 || overridePermissions(false));
        }
        MessageBoxes boxes;
        Screens screens;
        openBackup(screens);
        if (cause == "held") {
            // Another connection writes, holding the whole file, from after the
            // screen read its parameters: the copy waits, the screen goes on
            // counting and cannot be left.
            QVERIFY(t.db().execute("BEGIN EXCLUSIVE").ok());
            enter(screens.button("RCBTN"));
            QCOMPARE(screens.usable({"CB1", "RCBTN", "RTBTN"}), QStringList());
            functionKey(screens.current(), Qt::Key_F10);
            QCOMPARE(screens.settle()->code(), QString("MUK4XP90"));
            QVERIFY(!screens.current()->close());
        }
        QVERIFY(runBackup(screens, cause != "held"));

        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen()[0].title, title);
        QVERIFY2(boxes.seen()[0].text.startsWith(text), qPrintable(boxes.seen()[0].text));
        QCOMPARE(boxes.seen()[0].icon,
                 cause == "file" ? QMessageBox::NoIcon : QMessageBox::Critical);
        // Whoever looks into it finds the folder and the step in the details.
        QVERIFY2(boxes.seen()[0].details.contains(backupFolder()),
                 qPrintable(boxes.seen()[0].details));
        QCOMPARE(screens.label("LabelAPF"), QString("●  更新"));
        QCOMPARE(QApplication::focusWidget(), screens.button("RCBTN"));
        if (cause != "file")
            QCOMPARE(QDir(backupFolder()).entryList(QDir::Files), QStringList());
    }

    void aBackupDuringSalesHoldsEveryReceiptCommittedBefore()
    {
        ProgramFolder folder;
        {
            TestDb t;
            fill(t, "B", 20000);
        }
        // A folder that is there already is the owner's to set.
        QVERIFY(QDir().mkpath(backupFolder()));
        Screens screens;
        openBackup(screens);
        Helper writer({"write-sales", folder.path()});
        const QStringList committed = writer.lines(50);
        QVERIFY(committed.size() >= 50);
        QVERIFY(runBackup(screens));
        const QStringList afterwards = writer.lines(committed.size() + 50);
        writer.stop();

        QCOMPARE(mode(backupFolder()), 0755);
        QCOMPARE(SqliteFile::unsoundness(backupFile()), std::nullopt);
        const QStringList saved = receiptsIn(backupFile());
        for (const QString& receipt : committed)
            QVERIFY2(saved.contains(receipt + ":3"), qPrintable(receipt));
        // Posted whole or not at all, and the writer was not held up for good.
        QVERIFY(saved.filter(QRegularExpression("^W.*:[^3]$")).isEmpty());
        QVERIFY(afterwards.size() >= committed.size() + 50);
    }

    // Each row spoils the backup with a statement, or stands in the way.
    void restoreBringsBackASoundBackupAndNothingElse_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("said");
        const auto add = [](const char* row, const QString& cause, const char* said) {
            QTest::newRow(row) << cause << QString(said);
        };
        add("sound", "", "に復元しました。");
        add("running", "running", "プログラムが実行中です");
        add("foreign", "PRAGMA application_id = 7", "このシステムのデータベースではありません");
        add("newer", QString("PRAGMA user_version = %1").arg(Schema::version() + 1), "知らない版");
        add("damaged", "damaged", "バックアップを使用できません");
        add("no parameters", "DELETE FROM MBMSYS", "パラメタがありません");
        // Without the kept copy the shop's data would go if the backup
        // turned out bad.
        add("kept copy blocked", "blocked", "現在のデータベースを残せません");
    }
    void restoreBringsBackASoundBackupAndNothingElse()
    {
        QFETCH(QString, cause);
        QFETCH(QString, said);
        ProgramFolder folder;
        {
            TestDb t;
            fill(t, "B", 2000);
            makeBackup();
            addReceipt(t, "61200002");
        }
        // A program killed earlier left its lock; it does not count.
        const QString lock = folder.path() + "/MUK4.db.lock";
        writeFile(lock, "2147483647\nmuk4\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        QLockFile program(lock);
        if (cause == "running") {
            QVERIFY(program.tryLock(0));
        } else if (cause == "blocked") {
            QVERIFY(QDir().mkdir(folder.path() + "/MUK4.db.before-restore"));
        } else if (cause == "damaged") {
            QFile damaged(backupFile());
            QVERIFY(damaged.open(QIODevice::ReadWrite));
            damaged.seek(damaged.size() / 2);
            damaged.write(QByteArray(8192, '\x5a'));
        } else if (!cause.isEmpty()) {
            SqliteFile file;
            QCOMPARE(file.open(backupFile(), false), 0);
            QCOMPARE(file.run(cause), 0);
        }
        const QByteArray before = fileBytes(folder.file());
        const QStringList backedUp = receiptsIn(backupFile());
        QTest::failOnWarning(QRegularExpression("restore ended"));
        const QString told = restore(backupFile(), folder.path(), cause.isEmpty() ? 0 : 1);
        QVERIFY2(told.contains(said), qPrintable(told));
        const QStringList files = QDir(folder.path()).entryList(QDir::Files).filter("MUK4.db");
        if (!cause.isEmpty()) {
            QCOMPARE(fileBytes(folder.file()), before);
            QCOMPARE(files, cause == "running" ? (QStringList{"MUK4.db", "MUK4.db.lock"})
                                               : QStringList{"MUK4.db"});
            return;
        }
        QCOMPARE(receiptsIn(folder.file()), backedUp);
        QCOMPARE(fileBytes(folder.path() + "/MUK4.db.before-restore"), before);
        QCOMPARE(files, (QStringList{"MUK4.db", "MUK4.db.before-restore"}));
        QCOMPARE((QList<int>{mode(folder.file()), mode(folder.path() + "/MUK4.db.before-restore")}),
                 (QList<int>{0600, 0600}));
        // The program takes the restored file as its own.
        QCOMPARE(Schema::prepareFile().value_or(QString()), QString());
    }

    // Records back as they were at the backup; never under a running program.
    void dumpOfTheServerIsRestoredWhole()
    {
        ProgramFolder folder;
        addReceipt(TestDb(), "61200001");
        addLine(TestDb(), {.receipt = "61200001", .date = "20261206", .amount = 1500});
        const QString sql = "SELECT h.CF03, h.CF09, count(l.CF04) AS n FROM MOMURA h LEFT JOIN "
                            "MOVURA l ON l.CF03 = h.CF03 GROUP BY h.CF03, h.CF09 ORDER BY h.CF03";
        const QList<QVariantMap> backedUp = rows(TestDb(), sql);
        {
            Screens screens;
            openBackup(screens);
            QStringList steps;
            SafeFile::observe(
                [&steps](const QString& step, const QString& path) { steps << step + ' ' + path; });
            QVERIFY(runBackup(screens));
            SafeFile::observe({});
            const QString partial = dumpFile() + ".partial";
            QCOMPARE(steps.filter("MUK4.dump.partial"),
                     (QStringList{"fsync " + partial, "rename " + partial}));
            QCOMPARE(screens.label("LabelAPF"), QString("●  正常"));
            QVERIFY(screens.label("LabelN").contains(dumpFile()));
        }
        QVERIFY(fileBytes(dumpFile()).startsWith("PGDMP"));
        QCOMPARE(QDir(backupFolder()).entryList(QDir::Files), QStringList{"MUK4.dump"});
        QCOMPARE(mode(dumpFile()), 0600);
        {
            TestDb t;
            QVERIFY(t.db().execute("UPDATE MOMURA SET CF09 = 9999").ok());
            QVERIFY(t.db().execute("DELETE FROM MOVURA").ok());
            addReceipt(t, "61200002");
        }
        const QList<QVariantMap> changed = rows(TestDb(), sql);
        QTest::failOnWarning(QRegularExpression("restore ended"));
        // Held off by a running program, which holds the running lock on a
        // connection of its own; failing half-way, as a view stands in the
        // way of a table's removal; then done.
        auto program = std::make_unique<TestDb>();
        QList<QVariantList> locked;
        QVERIFY(program->db()
                    .select("SELECT pg_advisory_lock_shared(?)", {Database::RunningLockKey}, locked)
                    .ok());
        QVERIFY(TestDb().db().execute("CREATE VIEW seen AS SELECT * FROM MOVURA").ok());
        QVERIFY(restore(dumpFile(), folder.path(), 1).contains("プログラムが実行中です"));
        program.reset();
        QVERIFY(restore(dumpFile(), folder.path(), 1).contains("データベースは元のままです"));
        QCOMPARE(rows(TestDb(), sql), changed);
        QVERIFY(TestDb().db().execute("DROP VIEW seen").ok());
        QVERIFY(restore(dumpFile(), folder.path(), 0).contains("に復元しました。"));
        QCOMPARE(rows(TestDb(), sql), backedUp);
        // The program starts on it as on its own.
        const QString layout = Schema::prepareDatabase().value_or(QString());
        QVERIFY2(layout.isEmpty(), qPrintable(layout));
        // A file's backup has no place in a server's folder, nor a dump in a
        // file's; a spoilt dump none.
        writeFile(backupFile(), "SQLite format 3");
        QVERIFY(restore(backupFile(), folder.path(), 1).contains("サーバーを使用しています"));
        QVERIFY(restore(dumpFile(), home_->path(), 1).contains("サーバーを指していません"));
        writeFile(backupFile(), fileBytes(dumpFile()).left(400));
        QVERIFY(restore(backupFile(), folder.path(), 1).contains("バックアップを使用できません"));
    }

    // A dump stopped half-way, refused by the folder or by the server leaves
    // the previous backup and nothing else.
    void dumpThatFailsLeavesThePreviousBackup()
    {
        ProgramFolder folder;
        QVERIFY(QDir().mkpath(backupFolder()));
        writeFile(dumpFile(), "previous");
        {
            // Another register's lock holds the dump up until it is stopped.
            TestDb holder;
            Transaction locking(holder);
            QVERIFY(holder.db().execute("LOCK TABLE MOMURA IN ACCESS EXCLUSIVE MODE").ok());
            const std::unique_ptr<Backup> stopped = Backup::forProgram(backupFolder(), false);
            std::optional<BackupFailure> failure;
            const std::unique_ptr<QThread> worker(
                QThread::create([&] { failure = stopped->run(); }));
            worker->start();
            QVERIFY(QTest::qWaitFor([&] { return stopped->phase() == Backup::Phase::Copying; }));
            stopped->cancel();
            QVERIFY(worker->wait(20000));
            QCOMPARE(failure.value_or(BackupFailure{}).kind, BackupFailure::Kind::Cancelled);
        }
        writeFile(dumpFile() + ".partial", "left by a backup killed half-way");
        MessageBoxes boxes;
        boxes.answerWith(QMessageBox::Yes);
        Screens screens;
        openBackup(screens);
        QVERIFY(!QFileInfo::exists(dumpFile() + ".partial"));
        QFile::setPermissions(backupFolder(), QFile::ReadOwner | QFile::ExeOwner);
        const auto regain = qScopeGuard([] { overridePermissions(true); });
        QVERIFY(geteuid() != 0 || overridePermissions(false));
        QVERIFY(runBackup(screens));
        QFile::setPermissions(backupFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile(folder.path() + "/MUK4.ini",
                  fileBytes(folder.path() + "/MUK4.ini").replace("dbname=", "dbname=gone_"));
        DatabaseSettings::forget();
        QVERIFY(runBackup(screens));
        const QString question = dumpFile() + " は既に存在します。\nデータベースに上書きしますか？";
        QCOMPARE(
            boxes.texts(),
            (QStringList{question, "MUK4.dumpファイルを終了して、再度処理してください。", question,
                         "データベース サーバーのバックアップを作成できませんでした。"}));
        QVERIFY2(boxes.seen()[3].details.contains("does not exist"),
                 qPrintable(boxes.seen()[3].details));
        QCOMPARE(screens.label("LabelAPF"), QString("●  更新"));
        QCOMPARE(fileBytes(dumpFile()), QByteArray("previous"));
        QCOMPARE(QDir(backupFolder()).entryList(QDir::Files), QStringList{"MUK4.dump"});
    }
};

QTEST_MAIN(BackupTest)
#include "test_backup.moc"
