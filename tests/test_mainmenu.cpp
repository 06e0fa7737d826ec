#include "Fixture.h"

#include "data/Clock.h"
#include "data/Schema.h"

#include <sys/mount.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// A small disk of its own for a program folder (a tmpfs, which needs the
// right to mount), that can be filled up or made read-only.
class SmallDisk {
public:
    explicit SmallDisk(const QString& path) : path_(path)
    {
        mounted_ = ::mount("tmpfs", qPrintable(path_), "tmpfs", 0, "size=2m") == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(qPrintable(path_), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    bool remount(bool readOnly)
    {
        const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        return ::mount("tmpfs", qPrintable(path_), "tmpfs", flags, "size=2m") == 0;
    }
    // Writes a filler until nothing more fits.
    bool fill()
    {
        QFile filler(path_ + "/filler");
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        return true;
    }
    void empty() { QFile::remove(path_ + "/filler"); }

private:
    QString path_;
    bool mounted_ = false;
};
} // namespace

class MainMenuTest : public QObject {
    Q_OBJECT

private:
    static QString text(Screens& screens, int n)
    {
        return screens.find<QLineEdit>(QStringLiteral("Text%1").arg(n))->text();
    }
    // A figure as the operator finds it: by the caption beside it.
    static QString figure(Screens& screens, const QString& caption)
    {
        auto* field = qobject_cast<QLineEdit*>(screens.named(caption));
        return field ? field->text() : QStringLiteral("(no field captioned %1)").arg(caption);
    }
    static void at(int year, int month, int day, int hour = 9)
    {
        Clock::setFixed(QDateTime(QDate(year, month, day), QTime(hour, 0, 0)));
    }

private slots:
    void init() { at(2026, 12, 1); }
    void cleanup() { Clock::reset(); }

    void firstStartOpensTheBusinessDayAndANewReceiptPeriod()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "receipt", "611", "00387");
        Screens screens;
        screens.show("MUK4SC01");
        QCOMPARE(text(screens, 1), QString("20261201"));
        QCOMPARE(text(screens, 3), QString("01 / 本店"));
        QCOMPARE(text(screens, 4), QString("01"));
        QCOMPARE(text(screens, 5), QString("61200001"));
        QCOMPARE(text(screens, 6), QString("0000 /  "));
        QCOMPARE(text(screens, 7), QString("0.1"));
        QCOMPARE(row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'workday'"),
                 (QVariantMap{{"CB02", "20261201"},
                              {"CB03", "RUN"},
                              {"CB07", "20261201"},
                              {"CB08", "09:00:00"}}));
        QCOMPARE(row(t, "SELECT CB02, CB03 FROM MBMSYS WHERE CB01 = 'receipt'"),
                 (QVariantMap{{"CB02", "612"}, {"CB03", "00000"}}));
        QCOMPARE(screens.label("LabelD"), QString("2026/12/01"));
        QCOMPARE(screens.label("LabelPFK"), QString("F10.中断終了  F12.マスターメニュー"));
        QCOMPARE(screens.label("LabelPFX"), QString("F6.分析メニュー"));
        QCOMPARE(screens.current()->windowTitle(), QString("MUK4SC01 "));

        // An interrupted end leaves the day open; the next day it continues.
        functionKey(screens.button("APCBTN99"), Qt::Key_F10);
        QVERIFY(screens.ended());
        at(2026, 12, 2);
        screens.show("MUK4SC01");
        QCOMPARE(text(screens, 1), QString("20261201"));
        QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'workday'").value("CB03"),
                 QVariant("RUN"));

        // The normal end closes it; the next start opens the new day.
        screens.click("APCBTN99");
        QCOMPARE(row(t, "SELECT CB02, CB03, CB07 FROM MBMSYS WHERE CB01 = 'workday'"),
                 (QVariantMap{{"CB02", "20261201"}, {"CB03", "NLEND"}, {"CB07", "20261202"}}));
        screens.show("MUK4SC01");
        QCOMPARE(text(screens, 1), QString("20261202"));
        QCOMPARE(text(screens, 5), QString("61200001"));
    }

    void receiptNumberFollowsTheStoredSequence_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("41") << "00041"
                            << "61200042";
        QTest::newRow("wraps") << "99999"
                               << "61200000";
        QTest::newRow("not numeric") << "ABCDE"
                                     << "61200001";
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
        QCOMPARE(text(screens, 5), shown);
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
        QCOMPARE(text(screens, 1), QString("00000000"));
        QCOMPARE(text(screens, 3), QString("00 / "));
        QCOMPARE(text(screens, 5), QString());
        QCOMPARE(text(screens, 6), QString("0000 /  "));
        QCOMPARE(text(screens, 4), QString("00"));
        QCOMPARE(text(screens, 7), QString("0"));
        QCOMPARE(screens.current()->windowTitle(), QString("MUK4SC01"));
        QCOMPARE(count(t, "MBMSYS"), 2);

        // A tax rate that is not a number counts as 0.
        setParameter(t, "tax", "abc");
        setParameter(t, "caption", "　本店レジ");
        screens.show("MUK4SC01");
        QCOMPARE(text(screens, 7), QString("0"));
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
        const QStringList captions{"売上/売掛", "返品", "入金", "支払", "現金/売上"};
        auto figures = [&] {
            QStringList shown;
            for (const QString& caption : captions)
                shown << figure(screens, caption);
            return shown;
        };
        QCOMPARE(figures(), (QStringList{"5,000", "1,000", "", "", "4,000"}));
        for (int n : {9, 12, 14})
            QCOMPARE(text(screens, n), QString());

        // Partial payments count what was paid; credit counts nothing.
        addSale(t, "01", "01", "61200006", "20261201", "20000", 3540, 1000);
        addSale(t, "01", "01", "61200007", "20261201", "30000", 2000, 0);
        addSale(t, "01", "01", "61200008", "20261201", "00000", 9999, 9999);
        addSale(t, "01", "01", "61200012", "20261201", "1", 10, 10);
        addCashMovement(t, "MOMNYK", "01", "01", "61200009", "20261201", 30000);
        addCashMovement(t, "MOMSYK", "01", "01", "61200010", "20261201", 1234);
        addCashMovement(t, "MOMSYK", "01", "02", "61200011", "20261201", 99);
        screens.show("MUK4SC01");
        QCOMPARE(figures(), (QStringList{"6,010", "1,000", "30,000", "1,234", "33,776"}));
        QCOMPARE(figure(screens, "掛入金"), QString());
        QCOMPARE(figure(screens, "POSシステム日付"), QString("20261201"));
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
        std::unique_ptr<TestDb> holder;
        {
            Screens opening;
            opening.show("MUK4SC01"); // opens the day
        }
        if (trouble == "read-only")
            QVERIFY(disk.remount(true));
        Screens screens;
        screens.show("MUK4SC01");
        if (trouble == "full") {
            QVERIFY(disk.fill());
        } else if (trouble == "held") {
            holder = std::make_unique<TestDb>();
            QVERIFY(holder->db().execute("BEGIN EXCLUSIVE").ok());
        }
        {
            MessageBoxes boxes;
            screens.click("APCBTN99");
            QCOMPARE(boxes.texts(), QStringList{"営業日を締められませんでした。"});
            QVERIFY(!boxes.seen()[0].details.isEmpty());
        }
        QVERIFY(!screens.ended());
        QCOMPARE(screens.current()->code(), QString("MUK4SC01"));

        if (holder)
            QVERIFY(holder->db().execute("ROLLBACK").ok());
        disk.empty();
        if (trouble == "read-only")
            QVERIFY(disk.remount(false));
        {
            TestDb t;
            QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'workday'").value("CB03"),
                     QVariant("RUN"));
        }
        // Back through the master menu, as the operator would.
        functionKey(screens.current(), Qt::Key_F12);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        screens.click("RTBTN");
        screens.click("APCBTN99");
        QVERIFY(screens.ended());
        TestDb t;
        QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'workday'").value("CB03"),
                 QVariant("NLEND"));
        Database::setFolder(QString());
    }

    void aDayWithoutTransactionsShowsOnlyTheCash()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "workday", "20261130", "NLEND");
        addSale(t, "01", "01", "61100001", "20261130", "11000", 5000, 5000);
        Screens screens;
        screens.show("MUK4SC01");
        // The business date moved to today: yesterday's takings are gone.
        QCOMPARE(text(screens, 1), QString("20261201"));
        for (int n : {8, 9, 10, 11, 12, 14, 15})
            QCOMPARE(text(screens, n), QString());
        QCOMPARE(text(screens, 13), QString("0"));
    }

    void aChangedCashierIsShownOnReturn()
    {
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4SC01");
        setParameter(t, "charge", "0007", "鈴木");
        functionKey(screens.button("APCBTN99"), Qt::Key_F12);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        functionKey(screens.button("RTBTN"), Qt::Key_F12);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC01"));
        QCOMPARE(text(screens, 6), QString("0007 / 鈴木"));
    }
};

QTEST_MAIN(MainMenuTest)
#include "test_mainmenu.moc"
