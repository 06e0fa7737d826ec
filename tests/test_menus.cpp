#include "Fixture.h"

#include "data/Clock.h"
#include "data/Schema.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {
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

class MenusTest : public QObject {
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
        QCOMPARE(
            row(t, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'workday'").values(),
            (QVariantList{"20261201", "RUN", "20261201", "09:00:00"}));
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

        // Coming back to the menu reads them again; a tax rate that is not
        // a number counts as 0.
        setParameter(t, "tax", "abc");
        setParameter(t, "caption", "　本店レジ");
        setParameter(t, "charge", "0007", "鈴木");
        screens.click("APCBTN01");
        screens.click("RTBTN");
        QCOMPARE(texts(screens, {6, 7}), (QStringList{"0007 / 鈴木", "0"}));
        QCOMPARE(screens.current()->windowTitle(), QString("MUK4SC01　本店レジ"));
    }

    void todaysTotalsCountOnlyThisRegistersBusinessDay()
    {
        ProgramFolder folder;
        TestDb t;
        setParameter(t, "workday", "20261201", "RUN");
        addHeader(t, {"MOMURA", "01", "01", "61200001", "20261201", "11000", 5000, 5000, 0});
        addHeader(t, {"MOMURA", "01", "01", "61200002", "20261201", "11009", 1000, 1000, 0});
        // Another store, another register and other business dates.
        addHeader(t, {"MOMURA", "02", "01", "61200003", "20261201", "11000", 700, 700, 0});
        addHeader(t, {"MOMURA", "01", "02", "61200004", "20261201", "11000", 800, 800, 0});
        addHeader(t, {"MOMURA", "01", "01", "61200005", "20261130", "11000", 900, 900, 0});
        addHeader(t, {"MOMURA", "01", "01", "61200013", "20261202", "11000", 600, 600, 0});
        Screens screens;
        screens.show("MUK4SC01");
        const QStringList captions{"売上/売掛", "返品", "入金", "支払", "現金/売上", "掛入金"};
        QCOMPARE(figures(screens, captions), (QStringList{"5,000", "1,000", "", "", "4,000", ""}));
        QCOMPARE(texts(screens, {9, 12, 14}), (QStringList{"", "", ""}));

        // Partial payments count what was paid; credit counts nothing.
        addHeader(t, {"MOMURA", "01", "01", "61200006", "20261201", "20000", 3540, 1000, 2540});
        addHeader(t, {"MOMURA", "01", "01", "61200007", "20261201", "30000", 2000, 0, 2000});
        addHeader(t, {"MOMURA", "01", "01", "61200008", "20261201", "00000", 9999, 9999, 0});
        addHeader(t, {"MOMURA", "01", "01", "61200012", "20261201", "1", 10, 10, 0});
        addHeader(t, {"MOMNYK", "01", "01", "61200009", "20261201", "70000", 30000, 30000});
        addHeader(t, {"MOMSYK", "01", "01", "61200010", "20261201", "70000", 1234, 1234});
        addHeader(t, {"MOMSYK", "01", "02", "61200011", "20261201", "70000", 99, 99});
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
        SmallDisk disk;
        if (trouble != "held" && !disk.mounted())
            QSKIP("a small disk needs a tmpfs mount");
        Database::setFolder(disk.path());
        QCOMPARE(Schema::prepareFile(), std::nullopt);
        std::optional<TestDb> holder;
        Screens{}.show("MUK4SC01"); // opens the day
        if (trouble == "read-only")
            QVERIFY(disk.setReadOnly(true));
        Screens screens;
        screens.show("MUK4SC01");
        if (trouble == "full")
            disk.fill();
        if (trouble == "held")
            QVERIFY(holder.emplace().db().execute("BEGIN EXCLUSIVE").ok());
        {
            MessageBoxes boxes;
            screens.click("APCBTN99");
            const char* why = trouble == "full" ? "ディスクの空きがありません。"
                              : trouble == "read-only" ? "データベースに書き込めません。"
                                                       : "";
            QCOMPARE(boxes.texts(), QStringList{"営業日を締められませんでした。" + QString(why)});
            QVERIFY(!boxes.seen()[0].details.isEmpty());
        }
        QVERIFY(!screens.ended());
        QCOMPARE(screens.current()->code(), QString("MUK4SC01"));

        // Once the trouble is gone the day is still open, and the end goes
        // through when the operator tries again.
        holder.reset();
        disk.empty();
        if (trouble == "read-only")
            QVERIFY(disk.setReadOnly(false));
        QCOMPARE(workday(TestDb()), QVariant("RUN"));
        screens.click("APCBTN99");
        QVERIFY(screens.ended());
        QCOMPARE(workday(TestDb()), QVariant("NLEND"));
        Database::setFolder(QString());
    }

    // Where each function key (F..) or button leads from a screen shown
    // afresh; a key that leads nowhere keeps the screen.
    void keysAndButtonsLeadToTheirScreens_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QStringList>("targets");
        auto add = [](const char* from, const char* presses, const char* targets) {
            QTest::newRow(from) << QString(from) << QString(presses).split(u' ')
                                << QString(targets).split(u' ');
        };
        add("MUK4SC01", "F1 F12 APCBTN02 APCBTN04 APCBTN05",
            "MUK4UT01 MUK4SC05 MUK4UT05 MUK4UT06 MUK4UT11");
        add("MUK4SC05", "F1 F12 APCBTN05 RTBTN", "MUK4SC09 MUK4SC01 MUK4MM40 MUK4SC01");
        // F12 on the utility menu lands on the main menu, not the master menu.
        add("MUK4SC09", "F12 APCBTN01 APCBTN09 RTBTN", "MUK4SC01 MUK4XP02 MUK4XP90 MUK4SC01");
        add("MUK4MM40", "RTBTN", "MUK4SC05");
        add("MUK4XP02", "RTBTN", "MUK4SC09");
        add("MUK4XP90", "RTBTN", "MUK4SC09");
        // On a counter screen its own key keeps it.
        for (const char* counter : {"MUK4UT01", "MUK4UT05", "MUK4UT06", "MUK4UT11"})
            add(counter, "F1 F2 F4 F5 F10 RTBTN",
                "MUK4UT01 MUK4UT05 MUK4UT06 MUK4UT11 MUK4SC01 MUK4SC01");
    }

    void keysAndButtonsLeadToTheirScreens()
    {
        QFETCH(QString, from);
        QFETCH(QStringList, presses);
        QFETCH(QStringList, targets);
        ProgramFolder folder;
        Screens screens;
        for (qsizetype i = 0; i < presses.size(); ++i) {
            screens.show(from);
            const QString& press = presses[i];
            if (press.startsWith(u'F'))
                functionKey(QApplication::focusWidget(),
                            Qt::Key(Qt::Key_F1 + press.mid(1).toInt() - 1));
            else
                QTest::mouseClick(screens.button(press), Qt::LeftButton);
            QCOMPARE(press + " to " + screens.settle()->code(), press + " to " + targets[i]);
        }
    }

    // The first button takes the focus; it never rests on a button that
    // ends the program, so one Enter after start-up opens the first screen.
    // "システム終了" closes the business day on the main menu only.
    void firstFocusEndsNothing_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("opened");
        QTest::newRow("main menu") << QString("MUK4SC01") << QString("MUK4UT01");
        QTest::newRow("master menu") << QString("MUK4SC05") << QString("MUK4MM50");
        QTest::newRow("utility menu") << QString("MUK4SC09") << QString("MUK4XP02");
    }

    void firstFocusEndsNothing()
    {
        QFETCH(QString, menu);
        QFETCH(QString, opened);
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        screens.show("MUK4SC01");
        screens.show(menu);
        QWidget* focused = QApplication::focusWidget();
        QCOMPARE(focused ? focused->objectName() : QString(), QString("APCBTN01"));
        enter(focused);
        QCOMPARE(screens.settle()->code(), opened);
        QVERIFY(!screens.ended());
        screens.show(menu);
        screens.click("APCBTN99");
        QVERIFY(screens.ended());
        QCOMPARE(workday(t), QVariant(menu == "MUK4SC01" ? "NLEND" : "RUN"));
    }

    // Each menu shows its title, its keys and its buttons in their order on
    // the screen; the master menu's in two columns, the left one first.
    void buttonsStandInTheirOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("titleAndKeys");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("right");
        auto add = [](const char* menu, const char* titleAndKeys, const char* left,
                      const char* right) {
            auto split = [](const char* s) { return QString(s).split(u'|', Qt::SkipEmptyParts); };
            QTest::newRow(menu) << QString(menu) << split(titleAndKeys) << split(left)
                                << split(right);
        };
        add("MUK4SC01", "レジ　アプリケーション　メニュー|F10.中断終了  F12.マスターメニュー",
            "売上POS　　トランザクション|入金POS　　トランザクション|掛入金POS　トランザクション|"
            "支払POS　　トランザクション|返品POS　　トランザクション|レジ集計管理表（日別/月）　|"
            "大分類売上管理表（日別/月）|中分類売上管理表（日別/月）|"
            "商品売上管理グラフ（日別/月）|システム終了",
            "");
        add("MUK4SC05",
            "マスター　アプリケーション　メニュー|F1.ユーティリティメニュー  F12.Return",
            "大分類コード　登録・修正・削除|中分類コード　登録・修正・削除|"
            "商品コード　　登録・修正・削除|特売単価      登録・修正・削除|システム終了",
            "担当者コード      　登録・修正・削除|入出金科目コード　  登録・修正・削除|"
            "入出金取引先コード　登録・修正・削除|システム環境  設定　　　　　　");
        add("MUK4SC09", "ユーティリティ　メニュー|F12.Return",
            "レシート情報　ダンプ|バックアップ|システム終了", "");
    }

    void buttonsStandInTheirOrder()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, titleAndKeys);
        QFETCH(QStringList, left);
        QFETCH(QStringList, right);
        ProgramFolder folder;
        Screens screens;
        Screen* shown = screens.show(menu);
        QCOMPARE((QStringList{screens.label("Label1"), screens.label("LabelPFK")}), titleAndKeys);
        QHash<QString, QPushButton*> byCaption;
        for (QPushButton* b : shown->findChildren<QPushButton*>()) {
            if (b->objectName().startsWith("APCBTN"))
                byCaption.insert(b->text(), b);
        }
        for (const QStringList& captions : {left, right}) {
            for (qsizetype i = 0; i < captions.size(); ++i) {
                QVERIFY2(byCaption.contains(captions[i]), qPrintable(captions[i]));
                if (i > 0)
                    QVERIFY2(byCaption[captions[i - 1]]->y() < byCaption[captions[i]]->y(),
                             qPrintable(captions[i]));
            }
        }
        if (!right.isEmpty())
            QVERIFY(byCaption[left[0]]->x() < byCaption[right[0]]->x());
        if (menu == "MUK4SC01")
            QVERIFY(!screens.button("APCBTN03")->isEnabled());
    }

    // Every control a screen reader or a test has to name carries a name of
    // its own: its caption label, or its accessible name. (How a field keeps
    // its limit in characters is the fields' own test.)
    void everyFieldIsNamed_data()
    {
        QTest::addColumn<QString>("screen");
        for (const char* code :
             {"MUK4SC01", "MUK4MM40", "MUK4MM50", "MUK4MM51", "MUK4MM55", "MUK4MM57", "MUK4MM80",
              "MUK4MM81", "MUK4MM90", "MUK4UT01", "MUK4UT05", "MUK4UT06", "MUK4UT11"})
            QTest::newRow(code) << code;
    }

    void everyFieldIsNamed()
    {
        QFETCH(QString, screen);
        ProgramFolder folder;
        Screens screens;
        Screen* shown = screens.show(screen);
        QHash<QWidget*, QString> names;
        for (QLabel* label : shown->findChildren<QLabel*>()) {
            if (label->buddy())
                names.insert(label->buddy(), label->text());
        }
        QStringList seen;
        for (QWidget* control : shown->findChildren<QWidget*>()) {
            if ((!qobject_cast<QLineEdit*>(control) && !qobject_cast<QComboBox*>(control)) ||
                qobject_cast<QComboBox*>(control->parentWidget()))
                continue;
            const QString name = names.value(control, control->accessibleName());
            QVERIFY2(!name.isEmpty(), qPrintable(control->objectName() + " has no name"));
            QVERIFY2(!seen.contains(name), qPrintable(name + " names two controls"));
            seen << name;
        }
    }
};

QTEST_MAIN(MenusTest)
#include "test_menus.moc"
