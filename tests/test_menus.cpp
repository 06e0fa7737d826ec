#include "Fixture.h"

#include "data/Clock.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class MenusTest : public QObject {
    Q_OBJECT

private:
    // The buttons the Tab key visits, starting from the one with the focus.
    static QStringList tabOrder(Screen* screen)
    {
        QStringList visited;
        QWidget* first = QApplication::focusWidget();
        QWidget* at = first;
        do {
            visited << at->objectName();
            QTest::keyClick(at, Qt::Key_Tab);
            at = QApplication::focusWidget();
        } while (at && at != first && visited.size() < 30 && screen->isAncestorOf(at));
        return visited;
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(9, 0, 0))); }
    void cleanup() { Clock::reset(); }

    void functionKeysMoveBetweenTheMenus()
    {
        ProgramFolder folder;
        Screens screens;
        screens.show("MUK4SC01");
        // F1 opens the sales screen, which is not there yet: nothing happens.
        functionKey(screens.current(), Qt::Key_F1);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC01"));

        functionKey(QApplication::focusWidget(), Qt::Key_F12);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        QCOMPARE(screens.label("Label1"), QString("マスター　アプリケーション　メニュー"));
        QCOMPARE(screens.label("LabelPFK"), QString("F1.ユーティリティメニュー  F12.Return"));

        functionKey(QApplication::focusWidget(), Qt::Key_F1);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC09"));
        QCOMPARE(screens.label("Label1"), QString("ユーティリティ　メニュー"));
        QCOMPARE(screens.label("LabelPFK"), QString("F12.Return"));

        // F12 on the utility menu lands on the main menu, not the master menu.
        functionKey(QApplication::focusWidget(), Qt::Key_F12);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC01"));
    }

    void buttonsOpenTheirScreensAndComeBack()
    {
        ProgramFolder folder;
        Screens screens;
        screens.show("MUK4SC05");
        auto* staff = screens.button("APCBTN05");
        QCOMPARE(staff->text(), QString("担当者コード      　登録・修正・削除"));
        QVERIFY(staff->isEnabled());
        QTest::mouseClick(staff, Qt::LeftButton);
        QCOMPARE(screens.settle()->code(), QString("MUK4MM40"));
        screens.click("RTBTN");
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));

        // Enter on a focused button presses it.
        screens.button("RTBTN")->setFocus();
        enter(screens.button("RTBTN"));
        QCOMPARE(screens.settle()->code(), QString("MUK4SC01"));

        screens.show("MUK4SC09");
        screens.click("APCBTN01");
        QCOMPARE(screens.settle()->code(), QString("MUK4XP02"));
        screens.click("RTBTN");
        QCOMPARE(screens.settle()->code(), QString("MUK4SC09"));
        QVERIFY(!screens.button("APCBTN09")->isEnabled());
        screens.click("RTBTN");
        QCOMPARE(screens.settle()->code(), QString("MUK4SC01"));
    }

    void tabReachesEveryUsableButtonInOrder()
    {
        ProgramFolder folder;
        Screens screens;
        Screen* main = screens.show("MUK4SC01");
        QStringList expected;
        for (const char* name : {"APCBTN01", "APCBTN02", "APCBTN03", "APCBTN04", "APCBTN05",
                                 "APCBTN06", "APCBTN07", "APCBTN08", "APCBTN09", "APCBTN99"}) {
            if (main->findChild<QPushButton*>(name)->isEnabled())
                expected << name;
        }
        QVERIFY(!main->findChild<QPushButton*>("APCBTN03")->isEnabled());
        QCOMPARE(tabOrder(main), expected);

        Screen* master = screens.show("MUK4SC05");
        expected.clear();
        for (const char* name : {"APCBTN01", "APCBTN02", "APCBTN03", "APCBTN04", "APCBTN05",
                                 "APCBTN06", "APCBTN07", "APCBTN09", "APCBTN99", "RTBTN"}) {
            if (master->findChild<QPushButton*>(name)->isEnabled())
                expected << name;
        }
        QCOMPARE(tabOrder(master), expected);
    }

    void systemEndOnTheMenusLeavesTheBusinessDayOpen()
    {
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4SC01");
        functionKey(QApplication::focusWidget(), Qt::Key_F12);
        QCOMPARE(screens.settle()->code(), QString("MUK4SC05"));
        screens.click("APCBTN99");
        QVERIFY(screens.ended());
        QCOMPARE(row(t, "SELECT CB02, CB03 FROM MBMSYS WHERE CB01 = 'workday'"),
                 (QVariantMap{{"CB02", "20261206"}, {"CB03", "RUN"}}));

        // A later start keeps the open day.
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 0, 0)));
        screens.show("MUK4SC09");
        screens.click("APCBTN99");
        screens.show("MUK4SC01");
        QCOMPARE(screens.find<QLineEdit>("Text1")->text(), QString("20261206"));
    }
};

QTEST_MAIN(MenusTest)
#include "test_menus.moc"
