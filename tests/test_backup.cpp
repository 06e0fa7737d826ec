#include "Fixture.h"
#include "ReceiptFixture.h"

#include "data/Clock.h"
#include "data/Schema.h"
#include "utilities/BackupCopy.h"
#include "utilities/BackupTargets.h"
#include "utilities/Restore.h"
#include "utilities/SqliteFile.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace {

const QColor teal(0x00, 0xC0, 0xC0);
const QColor green(0x00, 0xC0, 0x00);
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
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        const unsigned bit = 1u << (cap % 32);
        data[cap / 32].effective =
            on ? (data[cap / 32].effective | bit) : (data[cap / 32].effective & ~bit);
    }
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

QString unsound(const QString& path)
{
    return SqliteFile::unsoundness(path).value_or(QString());
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
    static bool copied(Screens& screens)
    {
        return QTest::qWaitFor([&] { return screens.button(QStringLiteral("RTBTN"))->isEnabled(); },
                               120000) &&
               // A message box may have had the keyboard for a moment.
               QTest::qWaitForWindowActive(screens.current());
    }
    static bool runBackup(Screens& screens)
    {
        QPushButton* run = screens.button(QStringLiteral("RCBTN"));
        if (QApplication::focusWidget() != run)
            return false;
        enter(run);
        return copied(screens);
    }
    void makeBackup() { QVERIFY(!BackupCopy(Database::filePath(), backupFolder(), true).run()); }

private slots:
    void init()
    {
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(18, 0, 0)));
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home_->path().toLocal8Bit());
    }
    void cleanup() { Clock::reset(); }

    void aFirstBackupMakesTheFolderAndLeavingClosesNothingTwice()
    {
        QCOMPARE(BackupTargets::removable({"/", "/run/media/shop/STICK", "/mnt/usb", "/media",
                                           "/media/shop/SD", "/home"}),
                 (QStringList{"/media/shop/SD", "/run/media/shop/STICK"}));
        ProgramFolder folder;
        {
            TestDb t;
            addReceipt(t, "61200001");
        }
        // The engine layer warns of a connection closed or removed in use.
        QTest::failOnWarning(
            QRegularExpression("QSql|connection", QRegularExpression::CaseInsensitiveOption));
        MessageBoxes boxes;
        Screens screens;
        openBackup(screens);
        QCOMPARE(screens.current()->code(), QString("MUK4XP90"));
        QCOMPARE(screens.find<QComboBox>("CB1")->currentText(), backupFolder());
        QVERIFY(screens.find<QRadioButton>("Option1")->isChecked());
        QCOMPARE(screens.usable({"Option1", "Option2", "Option3", "RCBTN", "RTBTN", "CB1"}),
                 (QStringList{"Option1", "RCBTN", "RTBTN", "CB1"}));
        QCOMPARE(screens.label("Label1"), QString("バックアップ"));
        QCOMPARE(screens.label("LabelPFK"), QString("F10.Return"));
        QCOMPARE(screens.label("LabelAPF"), QString("●  更新"));
        QVERIFY(drawsIn(screens.find<QLabel>("LabelAPF"), teal));
        QCOMPARE(screens.button("RCBTN")->text(), QString("更新"));
        QVERIFY(!QFileInfo::exists(backupFolder()));
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);

        QVERIFY(runBackup(screens));
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(screens.label("LabelAPF"), QString("●  正常"));
        QVERIFY(drawsIn(screens.find<QLabel>("LabelAPF"), green));
        QCOMPARE(screens.find<QProgressBar>("ProgressBar1")->value(), 100);
        QCOMPARE(QApplication::focusWidget(), screens.button("RTBTN"));
        QVERIFY(screens.label("LabelN").contains(backupFile()));
        QCOMPARE(unsound(backupFile()), QString());
        QCOMPARE(receiptsIn(backupFile()), QStringList{"61200001:0"});
        QCOMPARE(QDir(backupFolder()).entryList(QDir::Files), QStringList{"MUK4.db"});

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
        QDir().mkpath(backupFolder());
        std::function<void()> undo;
        const auto guard = qScopeGuard([&] {
            if (undo)
                undo();
        });
        if (cause == "mode") {
            QFile::setPermissions(backupFolder(), QFile::ReadOwner | QFile::ExeOwner);
            if (geteuid() == 0)
                QVERIFY(overridePermissions(false));
            undo = [] { overridePermissions(true); };
        } else if (cause == "mount") {
            const QByteArray path = QFile::encodeName(backupFolder());
            if (::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0)
                QSKIP("this machine does not allow a mount");
            undo = [path] { ::umount(path.constData()); };
            QVERIFY(::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                            nullptr) == 0);
        } else if (cause == "file") {
            QDir(backupFolder()).removeRecursively();
            QFile plain(backupFolder());
            QVERIFY(plain.open(QIODevice::WriteOnly));
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
            QTRY_VERIFY_WITH_TIMEOUT(screens.label("LabelN").contains("経過 1 秒"), 3000);
            QVERIFY(screens.find<QProgressBar>("ProgressBar1")->isVisible());
            QCOMPARE(screens.usable({"CB1", "RCBTN", "RTBTN"}), QStringList());
            functionKey(screens.current(), Qt::Key_F10);
            QCOMPARE(screens.settle()->code(), QString("MUK4XP90"));
            QVERIFY(!screens.current()->close());
        }
        QVERIFY(cause == "held" ? copied(screens) : runBackup(screens));

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
        MessageBoxes boxes;
        Screens screens;
        openBackup(screens);
        Helper writer({"write-sales", folder.path()});
        const QStringList committed = writer.lines(50);
        QVERIFY(committed.size() >= 50);
        QVERIFY(runBackup(screens));
        const QStringList afterwards = writer.lines(committed.size() + 50);
        writer.stop();

        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(unsound(backupFile()), QString());
        const QStringList saved = receiptsIn(backupFile());
        for (const QString& receipt : committed)
            QVERIFY2(saved.contains(receipt + ":3"), qPrintable(receipt));
        // Posted whole or not at all, and the writer was not held up for good.
        QVERIFY(saved.filter(QRegularExpression("^W.*:[^3]$")).isEmpty());
        QVERIFY(afterwards.size() >= committed.size() + 50);
    }

    void aKilledBackupLeavesThePreviousOneAndOverwritingAsks()
    {
        ProgramFolder folder;
        {
            TestDb t;
            addReceipt(t, "61200001");
            makeBackup();
            fill(t, "B", 60000);
        }
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
        Screens screens;
        openBackup(screens);
        QVERIFY(!QFileInfo::exists(partialFile()));
        for (const bool yes : {false, true}) {
            QVERIFY(runBackup(screens));
            QCOMPARE(boxes.seen().size(), 1);
            QCOMPARE(boxes.seen()[0].title, QString("処理の判断"));
            QVERIFY(boxes.seen()[0].text.startsWith(backupFile()));
            QVERIFY(boxes.seen()[0].text.endsWith("データベースに上書きしますか？"));
            QCOMPARE(screens.label("LabelAPF"), yes ? QString("●  正常") : QString("●  更新"));
            QVERIFY(!QFileInfo::exists(partialFile()));
            if (!yes)
                QCOMPARE(fileBytes(backupFile()), previous);
            boxes.clear();
            boxes.answerWith(QMessageBox::Yes);
        }
        QCOMPARE(receiptsIn(backupFile()).size(), 60001);
    }

    void restoreBringsBackASoundBackupAndNothingElse_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("said");
        for (const auto& [cause, said] : {std::pair{"", "に復元しました。"},
                                          {"running", "プログラムが実行中です"},
                                          {"foreign", "このシステムのデータベースではありません"},
                                          {"newer", "知らない版"},
                                          {"damaged", "バックアップを使用できません"}})
            QTest::newRow(*cause ? cause : "sound") << QString(cause) << QString(said);
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
        QCOMPARE(Helper({"hold-lock", folder.path()}).lines(1), QStringList{"locked"});
        std::unique_ptr<Helper> program;
        if (cause == "running") {
            program = std::make_unique<Helper>(QStringList{"hold-lock", folder.path()});
            QCOMPARE(program->lines(1), QStringList{"locked"});
        } else if (!cause.isEmpty()) {
            SqliteFile file;
            QCOMPARE(file.open(backupFile(), false), 0);
            if (cause == "foreign")
                QCOMPARE(file.run("PRAGMA application_id = 7"), 0);
            if (cause == "newer")
                QCOMPARE(file.run(QString("PRAGMA user_version = %1").arg(Schema::version() + 1)),
                         0);
            file.close();
            if (cause == "damaged") {
                QFile damaged(backupFile());
                QVERIFY(damaged.open(QIODevice::ReadWrite));
                damaged.seek(damaged.size() / 2);
                damaged.write(QByteArray(8192, '\x5a'));
            }
        }
        const QByteArray before = fileBytes(folder.file());
        const QStringList backedUp = receiptsIn(backupFile());
        QProcess tool;
        tool.start(QStringLiteral(RESTORE_TOOL), {backupFile(), folder.path()});
        QVERIFY(tool.waitForFinished(120000));
        const QString told = tool.readAllStandardOutput() + tool.readAllStandardError();
        QVERIFY2(told.contains(said), qPrintable(told));
        const QStringList files = QDir(folder.path()).entryList(QDir::Files).filter("MUK4.db");
        if (!cause.isEmpty()) {
            QCOMPARE(tool.exitCode(), 1);
            QCOMPARE(fileBytes(folder.file()), before);
            QCOMPARE(files, cause == "running" ? (QStringList{"MUK4.db", "MUK4.db.lock"})
                                               : QStringList{"MUK4.db"});
            return;
        }
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(receiptsIn(folder.file()), backedUp);
        QVERIFY(!backedUp.contains("61200002:0"));
        QCOMPARE(fileBytes(folder.path() + "/MUK4.db.before-restore"), before);
        QCOMPARE(files, (QStringList{"MUK4.db", "MUK4.db.before-restore"}));
        // The program takes the restored file as its own.
        QCOMPARE(Schema::prepareFile().value_or(QString()), QString());
    }
};

QTEST_MAIN(BackupTest)
#include "test_backup.moc"
