#include "Fixture.h"

#include "data/Clock.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class MainMenuTest : public QObject {
    Q_OBJECT

private:
    static QString text(Screens& screens, int n)
    {
        return screens.find<QLineEdit>(QStringLiteral("Text%1").arg(n))->text();
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
        for (const char* key : {"workday", "tax", "receipt", "store", "charge", "caption"})
            removeParameter(t, key);
        Screens screens;
        screens.show("MUK4SC01");
        QCOMPARE(text(screens, 1), QString("00000000"));
        QCOMPARE(text(screens, 3), QString("00 / "));
        QCOMPARE(text(screens, 5), QString());
        QCOMPARE(text(screens, 6), QString("0000 /  "));
        QCOMPARE(text(screens, 7), QString("0"));
        QCOMPARE(screens.current()->windowTitle(), QString("MUK4SC01"));
        QCOMPARE(count(t, "MBMSYS"), 3);

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
        QCOMPARE(text(screens, 8), QString("5,000"));
        QCOMPARE(text(screens, 15), QString("1,000"));
        QCOMPARE(text(screens, 10), QString());
        QCOMPARE(text(screens, 11), QString());
        QCOMPARE(text(screens, 13), QString("4,000"));
        QCOMPARE(text(screens, 9), QString());
        QCOMPARE(text(screens, 12), QString());
        QCOMPARE(text(screens, 14), QString());

        // Partial payments count what was paid; credit counts nothing.
        addSale(t, "01", "01", "61200006", "20261201", "20000", 3540, 1000);
        addSale(t, "01", "01", "61200007", "20261201", "30000", 2000, 0);
        addSale(t, "01", "01", "61200008", "20261201", "00000", 9999, 9999);
        addCashMovement(t, "MOMNYK", "01", "01", "61200009", "20261201", 30000);
        addCashMovement(t, "MOMSYK", "01", "01", "61200010", "20261201", 1234);
        addCashMovement(t, "MOMSYK", "01", "02", "61200011", "20261201", 99);
        screens.show("MUK4SC01");
        QCOMPARE(text(screens, 8), QString("6,000"));
        QCOMPARE(text(screens, 15), QString("1,000"));
        QCOMPARE(text(screens, 10), QString("30,000"));
        QCOMPARE(text(screens, 11), QString("1,234"));
        QCOMPARE(text(screens, 13), QString("33,766"));
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

    void figuresAreLabelledForTheOperator()
    {
        ProgramFolder folder;
        Screens screens;
        Screen* menu = screens.show("MUK4SC01");
        QHash<QString, QString> captions;
        for (QLabel* label : menu->findChildren<QLabel*>()) {
            if (label->buddy())
                captions.insert(label->buddy()->objectName(), label->text());
        }
        const QHash<QString, QString> expected{
            {"Text1", "POSシステム日付"}, {"Text2", "会社"},       {"Text3", "店舗コード"},
            {"Text4", "レジコード"},      {"Text5", "レシートNo"}, {"Text6", "担当者コード"},
            {"Text7", "消費税率"},        {"Text8", "売上/売掛"},  {"Text10", "入金"},
            {"Text12", "掛入金"},         {"Text11", "支払"},      {"Text15", "返品"},
            {"Text13", "現金/売上"},
        };
        QCOMPARE(captions, expected);
    }
};

QTEST_MAIN(MainMenuTest)
#include "test_mainmenu.moc"
