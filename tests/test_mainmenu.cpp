#include "Fixture.h"

#include "data/Clock.h"
#include "data/Schema.h"

#include <sys/mount.h>

#include <QLineEdit>

namespace {
// A small disk of its own for a program folder (a tmpfs, which needs the
// right to mount), that can be filled up or made read-only.
class SmallDisk {
public:
    explicit SmallDisk(const QString& path) : path_(path) { mounted_ = mount(0); }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(qPrintable(path_), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    bool mount(unsigned long flags)
    {
        return ::mount("tmpfs", qPrintable(path_), "tmpfs", flags, "size=2m") == 0;
    }
    // Writes a filler until nothing more fits.
    void fill()
    {
        QFile filler(path_ + "/filler");
        const QByteArray block(4096, 'x');
        if (filler.open(QIODevice::WriteOnly)) {
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        }
    }
    void empty() { QFile::remove(path_ + "/filler"); }

private:
    QString path_;
    bool mounted_ = false;
};

// What the numbered fields of the main menu show.
QStringList texts(Screens& screens, const QList<int>& numbers)
{
    QStringList shown;
    for (int n : numbers)
        shown << screens.find<QLineEdit>(QStringLiteral("Text%1").arg(n))->text();
    return shown;
}

// The figures as the operator finds them: by the caption beside each.
QStringList figures(Screens& screens, const QStringList& captions)
{
    QStringList shown;
    for (const QString& caption : captions) {
        auto* field = qobject_cast<QLineEdit*>(screens.named(caption));
        shown << (field ? field->text() : "(no field captioned " + caption + ")");
    }
    return shown;
}

QVariant workday(Database& db)
{
    return row(db, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'workday'").value("CB03");
}

void at(int day)
{
    Clock::setFixed(QDateTime(QDate(2026, 12, day), QTime(9, 0, 0)));
}
} // namespace

class MainMenuTest : public QObject {
    Q_OBJECT

private slots:
    void init() { at(1); }
    void cleanup() { Clock::reset(); }

    void firstStartOpensTheBusinessDayAndANewReceiptPeriod()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "receipt", "611", "00387");
        Screens screens;
        screens.show("MUK4SC01");
        QCOMPARE(texts(screens, {1, 3, 4, 5, 6, 7}),
                 (QStringList{"20261201", "01 / 本店", "01", "61200001", "0000 /  ", "0.1"}));
        QCOMPARE(row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'workday'"),
                 (QVariantMap{{"CB02", "20261201"},
                              {"CB03", "RUN"},
                              {"CB07", "20261201"},
                              {"CB08", "09:00:00"}}));
        QCOMPARE(row(t, "SELECT CB02, CB03 FROM MBMSYS WHERE CB01 = 'receipt'"),
                 (QVariantMap{{"CB02", "612"}, {"CB03", "00000"}}));
        QCOMPARE((QStringList{screens.label("LabelD"), screens.label("LabelPFX"),
                              screens.current()->windowTitle()}),
                 (QStringList{"2026/12/01", "F6.分析メニュー", "MUK4SC01 "}));

        // An interrupted end leaves the day open; the next day it continues.
        functionKey(screens.button("APCBTN99"), Qt::Key_F10);
        QVERIFY(screens.ended());
        at(2);
        screens.show("MUK4SC01");
        QCOMPARE(texts(screens, {1}), QStringList{"20261201"});
        QCOMPARE(workday(t), QVariant("RUN"));

        // The normal end closes it; the next start opens the new day.
        screens.click("APCBTN99");
        QCOMPARE(row(t, "SELECT CB02, CB03, CB07 FROM MBMSYS WHERE CB01 = 'workday'"),
                 (QVariantMap{{"CB02", "20261201"}, {"CB03", "NLEND"}, {"CB07", "20261202"}}));
        screens.show("MUK4SC01");
        QCOMPARE(texts(screens, {1, 5}), (QStringList{"20261202", "61200001"}));
    }

    void receiptNumberFollowsTheStoredSequence_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("41") << QString("00041") << QString("61200042");
        QTest::newRow("wraps") << QString("99999") << QString("61200000");
        QTest::newRow("not numeric") << QString("ABCDE") << QString("61200001");
    }

    void receiptNumberFollowsTheStoredSequence()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "workday", "20261201", "RUN");
        setParameter(t, "receipt", "612", stored);
        Screens screens;
        screens.show("MUK4SC01");
        QCOMPARE(texts(screens, {5}), QStringList{shown});
        QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'receipt'").value("CB03"),
                 QVariant(stored));
    }

    void missingParametersTakeDefaultsAndWriteNothing()
    {
        ProgramFolder folder;
        TestDb t;
        for (const char* key :
             {"workday", "tax", "receipt", "store", "register", "charge", "caption"})
            removeParameter(t, key);
        Screens screens;
        screens.show("MUK4SC01");
        // No sales, deposits nor payments show nothing but the cash.
        QCOMPARE(texts(screens, {1, 3, 4, 5, 6, 7}),
                 (QStringList{"00000000", "00 / ", "00", "", "0000 /  ", "0"}));
        QCOMPARE(texts(screens, {8, 9, 10, 11, 12, 13, 14, 15}),
                 (QStringList{"", "", "", "", "", "0", "", ""}));
        QCOMPARE(screens.current()->windowTitle(), QString("MUK4SC01"));
        QCOMPARE(count(t, "MBMSYS"), 2);

        // A tax rate that is not a number counts as 0.
        setParameter(t, "tax", "abc");
        setParameter(t, "caption", "　本店レジ");
        screens.show("MUK4SC01");
        QCOMPARE(texts(screens, {7}), QStringList{"0"});
        QCOMPARE(screens.current()->windowTitle(), QString("MUK4SC01　本店レジ"));
    }

    void todaysTotalsCountOnlyThisRegistersBusinessDay()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "workday", "20261201", "RUN");
        addSale(t, "01", "01", "61200001", "20261201", "11000", 5000, 5000);
        addSale(t, "01", "01", "61200002", "20261201", "11009", 1000, 1000);
        // Another store, another register and another business date.
        addSale(t, "02", "01", "61200003", "20261201", "11000", 700, 700);
        addSale(t, "01", "02", "61200004", "20261201", "11000", 800, 800);
        addSale(t, "01", "01", "61200005", "20261130", "11000", 900, 900);
        Screens screens;
        screens.show("MUK4SC01");
        const QStringList captions{"売上/売掛", "返品", "入金", "支払", "現金/売上", "掛入金"};
        QCOMPARE(figures(screens, captions), (QStringList{"5,000", "1,000", "", "", "4,000", ""}));
        QCOMPARE(texts(screens, {9, 12, 14}), (QStringList{"", "", ""}));

        // Partial payments count what was paid; credit counts nothing.
        addSale(t, "01", "01", "61200006", "20261201", "20000", 3540, 1000);
        addSale(t, "01", "01", "61200007", "20261201", "30000", 2000, 0);
        addSale(t, "01", "01", "61200008", "20261201", "00000", 9999, 9999);
        addSale(t, "01", "01", "61200012", "20261201", "1", 10, 10);
        addCashMovement(t, "MOMNYK", "01", "01", "61200009", "20261201", 30000);
        addCashMovement(t, "MOMSYK", "01", "01", "61200010", "20261201", 1234);
        addCashMovement(t, "MOMSYK", "01", "02", "61200011", "20261201", 99);
        screens.show("MUK4SC01");
        QCOMPARE(figures(screens, captions + QStringList{"POSシステム日付"}),
                 (QStringList{"6,010", "1,000", "30,000", "1,234", "33,776", "", "20261201"}));
    }

    // The day cannot be closed: the menu stays with the message, the day
    // stays open, and once the trouble is gone the end goes through.
    void systemEndThatCannotCloseTheDayKeepsTheMenu_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::newRow("full disk") << "full";
        QTest::newRow("read-only disk") << "read-only";
        QTest::newRow("held by another program") << "held";
    }

    void systemEndThatCannotCloseTheDayKeepsTheMenu()
    {
        QFETCH(QString, trouble);
        QTemporaryDir dir;
        SmallDisk disk(dir.path());
        if (trouble != "held" && !disk.mounted())
            QSKIP("a small disk needs a tmpfs mount");
        Database::setFolder(dir.path());
        QCOMPARE(Schema::prepareFile(), std::nullopt);
        std::optional<TestDb> holder;
        Screens{}.show("MUK4SC01"); // opens the day
        if (trouble == "read-only")
            QVERIFY(disk.mount(MS_REMOUNT | MS_RDONLY));
        Screens screens;
        screens.show("MUK4SC01");
        if (trouble == "full")
            disk.fill();
        if (trouble == "held")
            QVERIFY(holder.emplace().db().execute("BEGIN EXCLUSIVE").ok());
        {
            MessageBoxes boxes;
            screens.click("APCBTN99");
            QCOMPARE(boxes.texts(), QStringList{"営業日を締められませんでした。"});
            QVERIFY(!boxes.seen()[0].details.isEmpty());
        }
        QVERIFY(!screens.ended());
        QCOMPARE(screens.current()->code(), QString("MUK4SC01"));

        // Once the trouble is gone the day is still open, and the end goes
        // through after a way round the master menu, as the operator would.
        holder.reset();
        disk.empty();
        if (trouble == "read-only")
            QVERIFY(disk.mount(MS_REMOUNT));
        QCOMPARE(workday(TestDb()), QVariant("RUN"));
        functionKey(screens.current(), Qt::Key_F12);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        screens.click("RTBTN");
        screens.click("APCBTN99");
        QVERIFY(screens.ended());
        QCOMPARE(workday(TestDb()), QVariant("NLEND"));
        Database::setFolder(QString());
    }

    void aChangedCashierIsShownOnReturn()
    {
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4SC01");
        setParameter(t, "charge", "0007", "鈴木");
        screens.click("APCBTN01");
        screens.click("RTBTN");
        QCOMPARE(texts(screens, {6}), QStringList{"0007 / 鈴木"});
    }
};

QTEST_MAIN(MainMenuTest)
#include "test_mainmenu.moc"
