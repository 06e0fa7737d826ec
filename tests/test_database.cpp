#include "Fixture.h"

#include "data/Clock.h"
#include "data/MasterTable.h"
#include "data/Parameters.h"
#include "data/RecordSet.h"
#include "data/Schema.h"
#include "shell/Startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <optional>

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
// The first value of each row.
QStringList column(Database& db, const QString& sql)
{
    QStringList values;
    for (const QVariantMap& r : rows(db, sql))
        values << r.first().toString();
    return values;
}

// A database as the first version of the program left it, with a member of
// staff and a sale.
void makeFirstVersion(const QTemporaryDir& dir)
{
    Database::setFolder(dir.path());
    Database v1;
    QVERIFY(v1.openFile(Database::filePath()).ok());
    QVERIFY(Schema::create(v1, {}).ok());
    addStaff(v1, "0001", "山田");
    addHeader(v1, {.receipt = "61200001", .date = "20261206", .amount = 500, .paidNow = 500});
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
            QCOMPARE(column(t, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"),
                     (QStringList{"MBMBRL", "MBMBRM", "MBMCHR", "MBMKJM", "MBMKJT", "MBMSHO",
                                  "MBMSYS", "MDMURK", "MOMNYK", "MOMSYK", "MOMURA", "MOVNYK",
                                  "MOVSYK", "MOVURA", "MWMXPP", "XBMBRL", "XBMBRM", "XBMCHR",
                                  "XBMKJM", "XBMKJT", "XBMSHO"}));
            QCOMPARE(
                column(t, "SELECT CB01 || '|' || CB02 || '|' || CB03 FROM MBMSYS ORDER BY rowid"),
                (QStringList{"caption| | ", "company| | ", "store|01|本店", "register|01| ",
                             "charge|0000| ", "tax|0.10| ", "workday|00000000|NLEND",
                             "receipt| |00000", "printer|01| "}));
            QCOMPARE(
                count(t, "MBMSYS WHERE CB04 = ' ' AND CB07 = '20261206' AND CB08 = '09:30:00'"), 9);

            // Transaction keys are unique, archives take the same code twice.
            const auto refused = [&t](const QString& sql) { return !t.db().execute(sql).ok(); };
            QVERIFY(refused("INSERT INTO MOMURA (CF01, CF02, CF03) VALUES ('01', '01', '1'), "
                            "('01', '01', '1')"));
            QVERIFY(refused("INSERT INTO MBMCHR (CB01) VALUES ('0001'), ('0001')"));
            QVERIFY(!refused("INSERT INTO XBMCHR (CB01) VALUES ('0001'), ('0001')"));
            QCOMPARE(row(t, "PRAGMA synchronous").value("synchronous").toInt(), 2); // FULL
        }
        // With the program closed the database is one file and nothing else.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"MUK4.db"});
        // A second start uses the file as it is.
        QCOMPARE(Schema::prepareFile(), std::nullopt);
    }

    // Each row spoils a database made by the program, puts some other file
    // in its place or holds it from another connection; the start is refused with the reason,
    // naming the file, and the file stays exactly as it was.
    void unusableFilesAreRefusedAndLeftAlone_data()
    {
        QTest::addColumn<QString>("spoil");
        QTest::addColumn<QString>("reason");
        const QString foreign = "このシステムのデータベースではありません";
        const auto add = [](const char* row, const QString& spoil, const QString& reason) {
            QTest::newRow(row) << spoil << reason;
        };
        add("text file", "text", foreign);
        add("empty file", "empty", foreign);
        add("other program's database", "other", foreign);
        add("pages overwritten", "pages", "データベースが壊れています");
        add("column dropped", "ALTER TABLE MBMCHR DROP COLUMN CB08",
            "表 MBMCHR に列 CB08 がありません");
        add("key dropped",
            "ALTER TABLE MBMCHR RENAME TO OLD; CREATE TABLE MBMCHR (CB01 TEXT, CB02 TEXT, CB03 "
            "TEXT, CB04 TEXT, CB05 TEXT, CB06 TEXT, CB07 TEXT, CB08 TEXT); DROP TABLE OLD",
            "表 MBMCHR にキー PRIMARY KEY (CB01) がありません");
        add("index dropped", "DROP INDEX MBMBRM_I1", "表 MBMBRM に索引");
        add("table dropped", "DROP TABLE XBMSHO", "表 XBMSHO がありません");
        add("newer version", "PRAGMA user_version = 99",
            "新しい版のプログラムで作られたデータベースです");
        add("held by another process", "held", "他のプログラムが使用中です");
    }

    void unusableFilesAreRefusedAndLeftAlone()
    {
        QFETCH(QString, spoil);
        QFETCH(QString, reason);
        ProgramFolder folder;
        std::optional<TestDb> holder;
        if (spoil == "held") {
            holder.emplace();
            QVERIFY(holder->db().execute("BEGIN EXCLUSIVE").ok());
        } else if (spoil == "text" || spoil == "empty") {
            write(folder.file(), spoil == "text" ? QByteArray("データベースではありません") : "");
        } else if (spoil == "other") {
            QVERIFY(QFile::remove(folder.file()));
            Database other;
            QVERIFY(other.openFile(folder.file()).ok());
            QVERIFY(other.execute("CREATE TABLE notes (text TEXT)").ok());
        } else if (spoil == "pages") {
            QByteArray damaged = contents(folder.file());
            for (qsizetype i = 100; i < damaged.size(); ++i)
                damaged[i] = char(0x5A);
            write(folder.file(), damaged);
        } else {
            TestDb t;
            for (const QString& statement : spoil.split("; "))
                QVERIFY2(t.db().execute(statement).ok(), qPrintable(statement));
        }
        const QByteArray before = contents(folder.file());
        Navigator navigator;
        MessageBoxes boxes;
        QVERIFY(!startProgram(navigator));
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen()[0].title, QString("MESSAGE"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(boxes.seen()[0].text.contains(folder.file()));
        QVERIFY2(boxes.seen()[0].text.contains(reason), qPrintable(boxes.seen()[0].text));
        QCOMPARE(navigator.current(), nullptr);
        if (holder)
            QVERIFY(holder->db().execute("ROLLBACK").ok());
        QCOMPARE(contents(folder.file()), before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"MUK4.db"});
    }

    // An earlier version is brought forward with its records, the layout
    // check then holding the file to the steps it took; a failed upgrade
    // leaves the file as it was. No copy is left beside it either way.
    void anEarlierVersionIsBroughtForwardOrLeftAlone_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("copyBlocked");
        QTest::addColumn<QString>("reason"); // empty: brought forward
        const QString index = "CREATE INDEX MBMCHR_NAME ON MBMCHR (CB02)";
        QTest::newRow("brought forward") << index << false << "";
        QTest::newRow("step fails")
            << "CREATE INDEX BAD ON NOSUCH (CB01)" << false << "新しい版に更新できません";
        QTest::newRow("no room for the copy") << index << true << "控えを作れません";
    }

    void anEarlierVersionIsBroughtForwardOrLeftAlone()
    {
        QFETCH(QString, statement);
        QFETCH(bool, copyBlocked);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        makeFirstVersion(dir);
        const QString copy = Database::filePath() + Schema::BeforeUpgradeSuffix;
        if (copyBlocked)
            QVERIFY(QDir().mkdir(copy));
        const QByteArray before = contents(Database::filePath());
        std::vector<Schema::Migration> steps = Schema::migrations();
        steps.push_back(
            {"staff by name", {"CREATE TABLE MWMTST (CW01 TEXT PRIMARY KEY)", statement}});
        const auto failure = Schema::prepareFile(steps);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"MUK4.db"});
        QCOMPARE(QFileInfo(copy).isDir(), copyBlocked);
        if (!reason.isEmpty()) {
            QVERIFY2(failure && failure->contains(reason), qPrintable(failure.value_or("")));
            QCOMPARE(contents(Database::filePath()), before);
            return;
        }
        QCOMPARE(failure, std::nullopt);
        QCOMPARE(Schema::prepareFile(steps), std::nullopt);
        TestDb t;
        QCOMPARE(row(t, "PRAGMA user_version").value("user_version").toInt(),
                 static_cast<int>(steps.size()) + 1);
        QCOMPARE(row(t, "SELECT CB01, CB02 FROM MBMCHR"),
                 (QVariantMap{{"CB01", "0001"}, {"CB02", "山田"}}));
        QCOMPARE(count(t, "MOMURA"), 1);
        QCOMPARE(count(t, "MWMTST"), 0);
        QCOMPARE(count(t, "sqlite_master WHERE name = 'MBMCHR_NAME'"), 1);
    }

    // The file's pages holding the staff are overwritten while the program
    // is not looking; the staff master finds them when it lists the staff.
    void aDamagedPageEndsTheProgramAndNothingMoreIsWritten()
    {
        ProgramFolder folder;
        int root = 0;
        int pageSize = 0;
        {
            TestDb t;
            for (int i = 1; i <= 200; ++i)
                addStaff(t, QString::number(10000 + i).right(4), QString("担当者").repeated(6));
            root = row(t, "SELECT rootpage FROM sqlite_master WHERE name = 'MBMCHR'")
                       .value("rootpage")
                       .toInt();
            pageSize = row(t, "PRAGMA page_size").value("page_size").toInt();
        }
        QByteArray damaged = contents(folder.file());
        for (int i = 0; i < pageSize; ++i)
            damaged[(root - 1) * pageSize + i] = char(0x5A);
        write(folder.file(), damaged);

        Screens screens;
        {
            MessageBoxes boxes;
            screens.show("MUK4MM40");
            QCOMPARE(boxes.texts(),
                     QStringList{"データベースが壊れています。バックアップから復元してください。"});
            QVERIFY(boxes.seen()[0].details.contains("malformed"));
        }
        QVERIFY(screens.ended());
        QCOMPARE(contents(folder.file()), damaged);
        // Whatever still runs writes nothing more into the file.
        TestDb t;
        QVERIFY(!Parameters::change(t, "workday", {{"CB03", "NLEND"}}).ok());
        QVERIFY(!MasterTable("MBMKJM").store(t, "0001", {{"CK02", "現金"}}).ok());
        QVERIFY(!t.db().execute("DELETE FROM MBMSYS").ok());
        QCOMPARE(contents(folder.file()), damaged);
    }

    void aFailedEngineCallSaysWhatDidNotHappen()
    {
        ProgramFolder folder;
        TestDb t;
        QVERIFY(t.db()
                    .execute("CREATE TRIGGER refuse BEFORE INSERT ON MBMCHR BEGIN SELECT "
                             "RAISE(ABORT, 'quota exceeded'); END")
                    .ok());
        Screens s;
        s.show("MUK4MM40");
        typeInto(s.field("Text1"), "5");
        enter(s.field("Text1"));
        typeInto(s.field("Text2"), "山田");
        enter(s.field("Text2"));
        MessageBoxes boxes;
        s.click("RCBTN");
        QCOMPARE(boxes.texts(), QStringList{"担当者を登録できませんでした。"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(boxes.seen()[0].details.contains("quota exceeded"));
        QVERIFY(boxes.seen()[0].details.contains("INSERT INTO MBMCHR"));
        QVERIFY(!s.ended());
        QCOMPARE(s.current()->code(), QString("MUK4MM40"));
        QCOMPARE(count(t, "MBMCHR"), 0);
    }

    // Operator text is bound, never pasted; names of tables and fields come
    // from the program only.
    void operatorTextIsBoundNeverPasted()
    {
        ProgramFolder folder;
        TestDb t;
        const QString name = QStringLiteral("'; DROP TABLE MBMCHR; -- \\ 山田");
        QVERIFY(MasterTable("MBMCHR").store(t, name, {{"CB02", name}}).ok());
        RecordSet rs(t);
        QVERIFY(rs.open(Select("MBMCHR").where("CB01", "=", name).orderBy({"CB01"})).ok());
        QCOMPARE(rs.text("CB02"), name);
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
                 stored("MBMSYS", {"store", "01", "駅前店", " ", "20261224", "18:05:01"}));
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
