#include "Fixture.h"
#include "ReceiptFixture.h"

#include "data/Clock.h"
#include "data/DatabaseSettings.h"
#include "data/MasterTable.h"
#include "data/Parameters.h"
#include "data/RecordSet.h"
#include "data/Schema.h"
#include "shell/Startup.h"

#include <QDir>

namespace {
// The first value of each row.
QStringList column(Database& db, const QString& sql)
{
    QStringList values;
    for (const QVariantMap& r : rows(db, sql))
        values << r.first().toString();
    return values;
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
        ProgramFolder folder(false);
        QCOMPARE(Schema::prepareDatabase(), std::nullopt);
        {
            TestDb t;
            QCOMPARE(tableNames(t),
                     (QStringList{"MBMBRL", "MBMBRM", "MBMCHR", "MBMKJM", "MBMKJT", "MBMSHO",
                                  "MBMSYS", "MDMURK", "MOMNYK", "MOMSYK", "MOMURA", "MOVNYK",
                                  "MOVSYK", "MOVURA", "MWMXPP", "XBMBRL", "XBMBRM", "XBMCHR",
                                  "XBMKJM", "XBMKJT", "XBMSHO"}));
            // Each stamped with the moment the file was made.
            QCOMPARE(
                column(t, "SELECT CB01 || '|' || CB02 || '|' || CB03 FROM MBMSYS WHERE CB04 = ' ' "
                          "AND CB07 = '20261206' AND CB08 = '09:30:00' ORDER BY CB01"),
                (QStringList{"caption| | ", "charge|0000| ", "company| | ", "invoice| | ",
                             "printer|01| ", "receipt| |00000", "register|01| ", "store|01|本店",
                             "tax|0.10|0.08", "workday|00000000|NLEND"}));

            // Transaction keys are unique, archives take the same code twice.
            const auto refused = [&t](const QString& sql) { return !t.db().execute(sql).ok(); };
            QVERIFY(refused("INSERT INTO MOMURA (CF01, CF02, CF03) VALUES ('01', '01', '1'), "
                            "('01', '01', '1')"));
            QVERIFY(refused("INSERT INTO MBMCHR (CB01) VALUES ('0001'), ('0001')"));
            QVERIFY(!refused("INSERT INTO XBMCHR (CB01) VALUES ('0001'), ('0001')"));
            QCOMPARE(t.db().onServer()
                         ? row(t, "SELECT current_setting('synchronous_commit') AS s").value("s")
                         : row(t, "PRAGMA synchronous").value("synchronous"),
                     t.db().onServer() ? QVariant("on") : QVariant(2)); // FULL
        }
        // With the program closed the database is one file and nothing else.
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 QStringList{ProgramFolder::databaseEntry()});
        // A second start uses the database as it is.
        QCOMPARE(Schema::prepareDatabase(), std::nullopt);
    }

    // Each row spoils a database made by the program, puts some other file
    // in its place, holds it from another connection or leaves its folder
    // unwritable; the start is refused with the reason, naming the file or
    // folder, and the file stays exactly as it was.
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
        add("other program's database", "PRAGMA application_id = 7", foreign);
        add("pages overwritten", "pages", "データベースが壊れています");
        add("column dropped", "ALTER TABLE MBMCHR DROP COLUMN CB08",
            "表 MBMCHR に列 CB08 がありません");
        add("key dropped",
            "ALTER TABLE MBMCHR RENAME TO OLD; CREATE TABLE MBMCHR (CB01 TEXT, CB02 TEXT, CB03 "
            "TEXT, CB04 TEXT, CB05 TEXT, CB06 TEXT, CB07 TEXT, CB08 TEXT); DROP TABLE OLD",
            "表 MBMCHR にキー PRIMARY KEY (CB01) がありません");
        add("key added", "CREATE UNIQUE INDEX MBMCHR_NAME ON MBMCHR (CB02)",
            "表 MBMCHR に定義にないキー UNIQUE (CB02) があります");
        add("index dropped", "DROP INDEX MBMBRM_I1", "表 MBMBRM に索引");
        add("table dropped", "DROP TABLE XBMSHO", "表 XBMSHO がありません");
        add("newer version", "PRAGMA user_version = 99",
            "新しい版のプログラムで作られたデータベースです");
        add("held by another process", "held", "他のプログラムが使用中です");
        // No other copy runs: the folder itself refuses the lock.
        const QString unwritable = "プログラムのフォルダーに書き込めません（%1）。";
        add("full disk", "full", unwritable.arg("ディスクの空きがありません"));
        add("read-only disk", "read-only", unwritable.arg("読み取り専用です"));
        add("read-only disk, lock of a killed program", "killed",
            unwritable.arg("読み取り専用です"));
    }

    void unusableFilesAreRefusedAndLeftAlone()
    {
        QFETCH(QString, spoil);
        QFETCH(QString, reason);
        if (ProgramFolder::onServer()) {
            // The server's own marks of another program or version.
            spoil = QMap<QString, QString>{{"PRAGMA application_id = 7", "DROP TABLE muk4_layout"},
                                           {"PRAGMA user_version = 99",
                                            "UPDATE muk4_layout SET version = 99"}}
                        .value(spoil, spoil);
            if (!spoil.contains(' ') || reason.startsWith("プログラムのフォルダー"))
                QSKIP("a file's own trouble");
        }
        ProgramFolder folder;
        std::optional<SmallDisk> disk;
        if (reason.startsWith("プログラムのフォルダー")) {
            if (!disk.emplace().mounted())
                QSKIP("a small disk needs a tmpfs mount");
            Database::setFolder(disk->path());
            QCOMPARE(Schema::prepareFile(), std::nullopt);
        }
        const QString file = Database::filePath();
        std::optional<TestDb> holder;
        if (spoil == "held") {
            holder.emplace();
            QVERIFY(holder->db().execute("BEGIN EXCLUSIVE").ok());
        } else if (spoil == "text" || spoil == "empty") {
            writeFile(file, spoil == "text" ? QByteArray("データベースではありません") : "");
        } else if (spoil == "pages") {
            const QByteArray bytes = fileBytes(file);
            writeFile(file, bytes.left(100) + QByteArray(bytes.size() - 100, 'Z'));
        } else if (spoil == "full") {
            disk->fill();
        } else if (disk) {
            if (spoil == "killed")
                writeFile(file + ".lock",
                          "2147483647\nmuk4\n" + QSysInfo::machineHostName().toUtf8() + "\n");
            QVERIFY(disk->setReadOnly(true));
        } else {
            TestDb t;
            for (const QString& statement : spoil.split("; "))
                QVERIFY2(t.db().execute(statement).ok(), qPrintable(statement));
        }
        const QByteArray before = fileBytes(file);
        Navigator navigator;
        MessageBoxes boxes;
        QVERIFY(!startProgram(navigator));
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE((std::pair{boxes.seen()[0].title, boxes.seen()[0].icon}),
                 (std::pair{QString("MESSAGE"), QMessageBox::Critical}));
        QVERIFY(boxes.seen()[0].text.contains(
            disk ? Database::folder()
                 : (ProgramFolder::onServer() ? DatabaseSettings::current().place() : file)));
        QVERIFY2(boxes.seen()[0].text.contains(reason), qPrintable(boxes.seen()[0].text));
        QCOMPARE(navigator.current(), nullptr);
        QCOMPARE(fileBytes(file), before);
        QCOMPARE(QDir(Database::folder()).entryList({"MUK4*"}, QDir::Files),
                 (spoil == "killed" ? QStringList{"MUK4.db", "MUK4.db.lock"}
                                    : QStringList{ProgramFolder::databaseEntry()}));
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
        // A database as the second version of the program left it, with a
        // member of staff, a product and a sale.
        if (copyBlocked && ProgramFolder::onServer())
            QSKIP("the server takes the steps in one transaction, without a copy");
        ProgramFolder dir(false);
        {
            Database v2;
            QVERIFY(v2.open().ok());
            QVERIFY(Schema::create(v2, {Schema::migrations().front()}).ok());
            addStaff(v2, "0001", "山田");
            addProduct(v2, {});
            addHeader(v2,
                      {.receipt = "61200001", .date = "20261206", .amount = 500, .paidNow = 500});
            QVERIFY(v2.execute("INSERT INTO MOVURA (CF01, CF02, CF03, CF04) "
                               "VALUES ('01', '01', '61200001', '001')")
                        .ok());
        }
        const QString copy = Database::filePath() + Schema::BeforeUpgradeSuffix;
        if (copyBlocked)
            QVERIFY(QDir().mkdir(copy));
        const QByteArray before = fileBytes(Database::filePath());
        std::vector<Schema::Migration> steps = Schema::migrations();
        steps.push_back(
            {"staff by name", {"CREATE TABLE MWMTST (CW01 TEXT PRIMARY KEY)", statement}});
        const auto failure = Schema::prepareDatabase(steps);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList{ProgramFolder::databaseEntry()});
        QCOMPARE(QFileInfo(copy).isDir(), copyBlocked);
        if (!reason.isEmpty()) {
            QVERIFY2(failure && failure->contains(reason), qPrintable(failure.value_or("")));
            QCOMPARE(fileBytes(Database::filePath()), before);
            return;
        }
        QCOMPARE(failure, std::nullopt);
        QCOMPARE(Schema::prepareDatabase(steps), std::nullopt);
        TestDb t;
        QCOMPARE(layoutVersion(t), static_cast<int>(steps.size()) + 1);
        // The records stay, and the step's table and index are there; the
        // product is at the standard rate, so is the line (no rate), and the
        // reduced rate and the registration number are set up.
        QCOMPARE(column(t,
                        "SELECT CB01 || CB02 FROM MBMCHR UNION ALL SELECT CF03 FROM MOMURA "
                        "UNION ALL SELECT CB01 || CB25 FROM MBMSHO UNION ALL "
                        "SELECT CF03 || coalesce(CF28, -1) FROM MOVURA UNION ALL "
                        "SELECT CB01 || CB02 || CB03 FROM MBMSYS WHERE CB01 = 'invoice' UNION ALL "
                        "SELECT CB01 || CB02 || CB03 FROM MBMSYS WHERE CB01 = 'tax'"),
                 (QStringList{"0001山田", "61200001", "49000000000010", "61200001-1", "invoice  ",
                              "tax0.100.08"}));
    }

    // A database of before registers kept their own records reads as it
    // did, in the settings screen too; the records of the register are
    // stored under the code its "register" record names.
    void parametersReadAsBeforeOnceEachRegisterKeepsItsOwn()
    {
        ProgramFolder dir(false);
        const QString code = ProgramFolder::onServer() ? "01" : "03";
        const std::vector<Schema::Migration> steps = Schema::migrations();
        QList<QVariantMap> before;
        {
            Database v3;
            QVERIFY(v3.open().ok());
            QVERIFY(Schema::create(v3, {steps[0], steps[1]}).ok());
            QVERIFY(v3.execute("UPDATE MBMSYS SET CB02 = ? WHERE CB01 = 'register'", {code}).ok());
            QVERIFY(v3.execute("UPDATE MBMSYS SET CB02 = '612', CB03 = '00042' "
                               "WHERE CB01 = 'receipt'")
                        .ok());
            QVERIFY(v3.execute("INSERT INTO MBMSYS VALUES ('extra', 'x', 'y', ' ', '20250101', "
                               "'08:00:00')")
                        .ok());
            before = rows(v3, "SELECT * FROM MBMSYS ORDER BY CB01");
        }
        QCOMPARE(Schema::prepareDatabase(), std::nullopt);
        Screens s;
        s.show("MUK4MM90");
        TestDb t;
        QList<QStringList> shown;
        for (const QVariantMap& record : before) {
            const QString key = record["CB01"].toString();
            std::optional<Parameter> read;
            QVERIFY(Parameters::read(t, key, read).ok() && read);
            QCOMPARE((QStringList{read->first, read->second}),
                     (QStringList{record["CB02"].toString(), record["CB03"].toString()}));
            QCOMPARE(row(t, "SELECT CB09 FROM MBMSYS WHERE CB01 = ?", {key}).value("CB09"),
                     QVariant(Parameters::ofRegister(key) ? code : " "));
            shown << QStringList{key, read->first, read->second};
        }
        QCOMPARE(rows(t, "SELECT CB01, CB02, CB03, CB04, CB07, CB08 FROM MBMSYS ORDER BY CB01"),
                 before);
        QCOMPARE(s.gridRows(), shown);
    }

    // The file's pages holding the staff are overwritten while the program
    // is not looking; the staff master finds them when it lists the staff.
    void aDamagedPageEndsTheProgramAndNothingMoreIsWritten()
    {
        if (ProgramFolder::onServer())
            QSKIP("a file's own trouble");
        ProgramFolder folder;
        QVariantMap at;
        {
            TestDb t;
            for (int i = 1; i <= 200; ++i)
                addStaff(t, QString::number(10000 + i).right(4), QString("担当者").repeated(6));
            at = row(t, "SELECT rootpage - 1 AS page, page_size AS size FROM sqlite_master, "
                        "pragma_page_size WHERE name = 'MBMCHR'");
        }
        const int size = at.value("size").toInt();
        const QByteArray damaged =
            fileBytes(folder.file())
                .replace(at.value("page").toInt() * size, size, QByteArray(size, 'Z'));
        writeFile(folder.file(), damaged);

        Screens screens;
        {
            MessageBoxes boxes;
            screens.show("MUK4MM40");
            QCOMPARE(boxes.texts(),
                     QStringList{"データベースが壊れています。バックアップから復元してください。"});
            QVERIFY(boxes.seen()[0].details.contains("malformed"));
        }
        QVERIFY(screens.ended());
        // Whatever still runs writes nothing more into the file.
        TestDb t;
        QVERIFY(!Parameters::change(t, "workday", {{"CB03", "NLEND"}}).ok());
        QVERIFY(!MasterTable("MBMKJM").store(t, "0001", {{"CK02", "現金"}}).ok());
        QVERIFY(!t.db().execute("DELETE FROM MBMSYS").ok());
        QCOMPARE(fileBytes(folder.file()), damaged);
    }

    // The disk refuses the write: the operator hears what did not happen and
    // why, since it is something to mend on the spot; the engine's own words
    // and the statement stay in the details.
    void aFailedEngineCallSaysWhatDidNotHappen_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("details");
        const QString notStored = "担当者を登録できませんでした。";
        QTest::newRow("full disk") << "full" << notStored + "ディスクの空きがありません。"
                                   << "full";
        QTest::newRow("read-only disk")
            << "read-only" << notStored + "データベースに書き込めません。"
            << "MBMCHR";
    }

    void aFailedEngineCallSaysWhatDidNotHappen()
    {
        QFETCH(QString, trouble);
        QFETCH(QString, said);
        QFETCH(QString, details);
        SmallDisk disk;
        if (!disk.mounted() || ProgramFolder::onServer())
            QSKIP("a small disk needs a tmpfs mount");
        Database::setFolder(disk.path());
        QCOMPARE(Schema::prepareFile(), std::nullopt);
        if (trouble == "read-only")
            QVERIFY(disk.setReadOnly(true));
        Screens s;
        s.show("MUK4MM40");
        typeInto(s.field("Text1"), "5");
        enter(s.field("Text1"));
        typeInto(s.field("Text2"), "山田");
        enter(s.field("Text2"));
        if (trouble == "full")
            disk.fill();
        MessageBoxes boxes;
        s.click("RCBTN");
        QCOMPARE(boxes.texts(), QStringList{said});
        QVERIFY2(boxes.seen()[0].details.contains(details), qPrintable(boxes.seen()[0].details));
        QVERIFY(!s.ended());
        QCOMPARE(count(TestDb(), "MBMCHR"), 0);
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

    // A record keeps its name across updates (the server moves a row it
    // updates); one another connection deleted meanwhile is not written unseen.
    void aRecordIsUpdatedByNameAndNeverOnceGone()
    {
        ProgramFolder folder;
        TestDb t;
        addStaff(t, "0001", "一");
        RecordSet rs(t);
        QVERIFY(rs.open(Select("MBMCHR").where("CB01", "=", "0001")).ok());
        for (const char* name : {"二", "三"}) {
            rs.edit();
            rs.setValue("CB02", QString::fromUtf8(name));
            QVERIFY(rs.update().ok());
        }
        QCOMPARE(row(t, "SELECT CB02 FROM MBMCHR").value("CB02"), QVariant("三"));
        QVERIFY(TestDb().db().execute("DELETE FROM MBMCHR").ok());
        rs.edit();
        rs.setValue("CB02", "四");
        QVERIFY(!rs.update().ok());
        QCOMPARE(count(t, "MBMCHR"), 0);
    }

    void archiveAndDeleteHappenTogetherOrNotAtAll()
    {
        ProgramFolder folder;
        TestDb t;
        MasterTable staff(QStringLiteral("MBMCHR"));
        addStaff(t, "0001", "一");
        addStaff(t, "0002", "二");

        const auto counts = [&t] { return QList{count(t, "MBMCHR"), count(t, "XBMCHR")}; };

        // The archive cannot be written: the record stays.
        QVERIFY(t.db().execute("ALTER TABLE XBMCHR RENAME TO XBMCHR_AWAY").ok());
        bool deleted = true;
        QVERIFY(!staff.archiveAndDelete(t, "0001", &deleted).ok() && !deleted);
        QCOMPARE(count(t, "MBMCHR"), 2);
        QVERIFY(t.db().execute("ALTER TABLE XBMCHR_AWAY RENAME TO XBMCHR").ok());

        // The delete fails after the archive was written (refused, or the
        // record held by another register): the archive goes too.
        std::optional<TestDb> holder;
        if (t.db().onServer())
            QVERIFY(holder.emplace()
                        .db()
                        .execute("BEGIN; SELECT 1 FROM MBMCHR WHERE CB01 = '0001' FOR UPDATE")
                        .ok());
        else
            QVERIFY(t.db()
                        .execute("CREATE TRIGGER keep BEFORE DELETE ON MBMCHR BEGIN SELECT "
                                 "RAISE(ABORT, 'kept'); END")
                        .ok());
        QVERIFY(!staff.archiveAndDelete(t, "0001").ok());
        QCOMPARE(counts(), (QList<qint64>{2, 0}));
        QVERIFY(holder ? (holder.reset(), true) : t.db().execute("DROP TRIGGER keep").ok());

        QVERIFY(staff.archiveAndDelete(t, "0001", &deleted).ok() && deleted);
        QVERIFY(staff.archiveAndDelete(t, "0404", &deleted).ok() && !deleted);
        QCOMPARE(counts(), (QList<qint64>{1, 1}));
    }
};

QTEST_MAIN(DatabaseTest)
#include "test_database.moc"
