#include "Fixture.h"

#include "data/Clock.h"
#include "data/MasterTable.h"
#include "data/Parameters.h"
#include "data/RecordSet.h"
#include "data/Schema.h"
#include "shell/Startup.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

namespace {
QByteArray contents(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
} // namespace

class DatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0))); }
    void cleanup()
    {
        Clock::reset();
        Database::setFolder(QString());
    }

    void firstStartMakesEveryTableAndTheParameters()
    {
        QTemporaryDir dir;
        Database::setFolder(dir.path());
        QCOMPARE(Schema::prepareFile(), std::nullopt);
        {
            TestDb t;
            QStringList tables;
            for (const QVariantMap& r :
                 rows(t, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"))
                tables << r.value("name").toString();
            QCOMPARE(tables,
                     (QStringList{"MBMBRL", "MBMBRM", "MBMCHR", "MBMKJM", "MBMKJT", "MBMSHO",
                                  "MBMSYS", "MDMURK", "MOMNYK", "MOMSYK", "MOMURA", "MOVNYK",
                                  "MOVSYK", "MOVURA", "MWMXPP", "XBMBRL", "XBMBRM", "XBMCHR",
                                  "XBMKJM", "XBMKJT", "XBMSHO"}));
            QCOMPARE(rows(t, "SELECT CB01, CB02, CB03 FROM MBMSYS ORDER BY rowid"),
                     (QList<QVariantMap>{
                         {{"CB01", "caption"}, {"CB02", " "}, {"CB03", " "}},
                         {{"CB01", "company"}, {"CB02", " "}, {"CB03", " "}},
                         {{"CB01", "store"}, {"CB02", "01"}, {"CB03", "本店"}},
                         {{"CB01", "register"}, {"CB02", "01"}, {"CB03", " "}},
                         {{"CB01", "charge"}, {"CB02", "0000"}, {"CB03", " "}},
                         {{"CB01", "tax"}, {"CB02", "0.10"}, {"CB03", " "}},
                         {{"CB01", "workday"}, {"CB02", "00000000"}, {"CB03", "NLEND"}},
                         {{"CB01", "receipt"}, {"CB02", " "}, {"CB03", "00000"}},
                         {{"CB01", "printer"}, {"CB02", "01"}, {"CB03", " "}},
                     }));
            QCOMPARE(row(t, "SELECT count(*) AS n FROM MBMSYS WHERE CB04 = ' ' AND CB07 = "
                            "'20261206' AND CB08 = '09:30:00'")
                         .value("n")
                         .toInt(),
                     9);

            // Transaction keys are unique, archives take the same code twice.
            addSale(t, "01", "01", "61200001", "20261206", "11000", 100, 100);
            QVERIFY(!t.db()
                         .execute("INSERT INTO MOMURA (CF01, CF02, CF03) VALUES ('01', '01', "
                                  "'61200001')")
                         .ok());
            QVERIFY(!t.db().execute("INSERT INTO MBMCHR (CB01) VALUES ('0001'), ('0001')").ok());
            QVERIFY(t.db().execute("INSERT INTO XBMCHR (CB01) VALUES ('0001'), ('0001')").ok());
            QCOMPARE(row(t, "PRAGMA synchronous").value("synchronous").toInt(), 2); // FULL
        }
        // With the program closed the database is one file and nothing else.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"MUK4.db"});
        // A second start uses the file as it is.
        QCOMPARE(Schema::prepareFile(), std::nullopt);
    }

    void unusableFilesAreRefusedAndLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a database") << QByteArray("これはデータベースではありません\n")
                                        << QString("このシステムのデータベースではありません");
        QTest::newRow("empty") << QByteArray()
                               << QString("このシステムのデータベースではありません");
    }

    void unusableFilesAreRefusedAndLeftAlone()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        Database::setFolder(dir.path());
        write(Database::filePath(), bytes);
        Navigator navigator;
        MessageBoxes boxes;
        QVERIFY(!startProgram(navigator));
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(boxes.seen()[0].text.contains(Database::filePath()));
        QVERIFY2(boxes.seen()[0].text.contains(reason), qPrintable(boxes.seen()[0].text));
        QCOMPARE(navigator.current(), nullptr);
        QCOMPARE(contents(Database::filePath()), bytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"MUK4.db"});
    }

    void otherProgramsAndDamagedDatabasesAreRefused()
    {
        QTemporaryDir dir;
        Database::setFolder(dir.path());
        // An SQLite file of some other program.
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(Database::filePath());
            QVERIFY(other.open());
            QSqlQuery(other).exec("CREATE TABLE notes (text TEXT)");
            other.close();
        }
        QSqlDatabase::removeDatabase("other");
        QByteArray before = contents(Database::filePath());
        QCOMPARE(Schema::prepareFile(), QString("このシステムのデータベースではありません"));
        QCOMPARE(contents(Database::filePath()), before);

        // This system's database with its pages overwritten.
        QVERIFY(QFile::remove(Database::filePath()));
        QCOMPARE(Schema::prepareFile(), std::nullopt);
        QByteArray damaged = contents(Database::filePath());
        for (qsizetype i = 100; i < damaged.size(); ++i)
            damaged[i] = char(0x5A);
        write(Database::filePath(), damaged);
        const auto reason = Schema::prepareFile();
        QVERIFY(reason.has_value());
        QVERIFY2(reason->startsWith("データベースが壊れています"), qPrintable(*reason));
        QCOMPARE(contents(Database::filePath()), damaged);
    }

    void aFileHeldByAnotherProcessIsRefused()
    {
        QTemporaryDir dir;
        Database::setFolder(dir.path());
        QCOMPARE(Schema::prepareFile(), std::nullopt);
        const QByteArray before = contents(Database::filePath());
        {
            TestDb holder;
            QVERIFY(holder.db().execute("BEGIN EXCLUSIVE").ok());
            const auto reason = Schema::prepareFile();
            QVERIFY(reason.has_value());
            QVERIFY2(reason->startsWith("他のプログラムが使用中です"), qPrintable(*reason));
            QVERIFY(holder.db().execute("ROLLBACK").ok());
        }
        QCOMPARE(contents(Database::filePath()), before);
    }

    void operatorTextIsBoundNeverPasted()
    {
        ProgramFolder folder;
        TestDb t;
        const QString name = QStringLiteral("'; DROP TABLE MBMCHR; -- \\ 山田");
        MasterTable staff(QStringLiteral("MBMCHR"));
        QVERIFY(staff.store(t, name, {{"CB02", name}}).ok());
        RecordSet rs(t);
        QVERIFY(rs.open(Select("MBMCHR").where("CB01", "=", name).orderBy({"CB01"})).ok());
        QVERIFY(rs.found());
        QCOMPARE(rs.recordCount(), qint64(1));
        QCOMPARE(rs.text("CB02"), name);
        // Names of tables and fields come from the program only.
        QVERIFY(!rs.open(Select("MBMCHR; DROP TABLE MBMCHR")).ok());
        QVERIFY(!rs.open(Select("MBMCHR").where("CB01 OR 1=1", "=", "x")).ok());
        QVERIFY(!rs.open(Select("MBMCHR").where("CB01", "LIKE", "x")).ok());
        QCOMPARE(count(t, "MBMCHR"), 1);
    }

    void parametersTakeDefaultsAndStampChanges()
    {
        ProgramFolder folder;
        TestDb t;
        removeParameter(t, "tax");
        setParameter(t, "receipt", "612", "x41");
        Parameters p;
        QVERIFY(p.load(t, {"tax", "store", "receipt"}).ok());
        QVERIFY(!p.has("tax"));
        QCOMPARE(p.number("tax"), 0.0);
        QCOMPARE(p.first("tax", "0"), QString("0"));
        QCOMPARE(p.first("store", "00"), QString("01"));
        QCOMPARE(p.second("store"), QString("本店"));
        QCOMPARE(p.number("receipt"), 612.0);

        bool found = true;
        QVERIFY(Parameters::change(t, "tax", {{"CB02", "0.08"}}, &found).ok());
        QVERIFY(!found);
        QCOMPARE(count(t, "MBMSYS"), 8); // a missing key is not made

        Clock::setFixed(QDateTime(QDate(2026, 12, 24), QTime(18, 5, 1)));
        QVERIFY(Parameters::change(t, "store", {{"CB03", "駅前店"}}, &found).ok());
        QVERIFY(found);
        QCOMPARE(row(t, "SELECT * FROM MBMSYS WHERE CB01 = 'store'"),
                 (QVariantMap{{"CB01", "store"},
                              {"CB02", "01"},
                              {"CB03", "駅前店"},
                              {"CB04", " "},
                              {"CB07", "20261224"},
                              {"CB08", "18:05:01"}}));
    }

    void archiveAndDeleteHappenTogetherOrNotAtAll()
    {
        ProgramFolder folder;
        TestDb t;
        MasterTable staff(QStringLiteral("MBMCHR"));
        addStaff(t, "0001", "一");
        addStaff(t, "0002", "二");

        // The archive cannot be written: the record stays.
        QVERIFY(t.db().execute("ALTER TABLE XBMCHR RENAME TO XBMCHR_AWAY").ok());
        bool deleted = true;
        QVERIFY(!staff.archiveAndDelete(t, "0001", &deleted).ok());
        QVERIFY(!deleted);
        QCOMPARE(count(t, "MBMCHR"), 2);
        QVERIFY(t.db().execute("ALTER TABLE XBMCHR_AWAY RENAME TO XBMCHR").ok());

        // The delete fails after the archive was written: the archive goes too.
        QVERIFY(t.db()
                    .execute("CREATE TRIGGER keep BEFORE DELETE ON MBMCHR BEGIN SELECT "
                             "RAISE(ABORT, 'kept'); END")
                    .ok());
        QVERIFY(!staff.archiveAndDelete(t, "0001").ok());
        QCOMPARE(count(t, "MBMCHR"), 2);
        QCOMPARE(count(t, "XBMCHR"), 0);
        QVERIFY(t.db().execute("DROP TRIGGER keep").ok());

        QVERIFY(staff.archiveAndDelete(t, "0001", &deleted).ok());
        QVERIFY(deleted);
        QVERIFY(staff.archiveAndDelete(t, "0404", &deleted).ok());
        QVERIFY(!deleted);
        QCOMPARE(count(t, "MBMCHR"), 1);
        QCOMPARE(count(t, "XBMCHR"), 1);
    }
};

QTEST_MAIN(DatabaseTest)
#include "test_database.moc"
