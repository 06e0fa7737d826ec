#include "Fixture.h"

#include "data/Clock.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

class MenusTest : public QObject {
    Q_OBJECT

private:
    // Stands in for a counter screen that another part of the program brings.
    class StandIn : public Screen {
    public:
        explicit StandIn(Navigator& navigator) : Screen(navigator, "MUK4UT01", "stand-in") {}
    };

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(9, 0, 0))); }
    void cleanup() { Clock::reset(); }

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
        const char* counter = "F1 F2 F4 F5 F10 RTBTN";
        add("MUK4UT01", counter, "MUK4UT01 MUK4UT05 MUK4UT06 MUK4UT11 MUK4SC01 MUK4SC01");
        add("MUK4UT05", counter, "MUK4UT01 MUK4UT05 MUK4UT06 MUK4UT11 MUK4SC01 MUK4SC01");
        add("MUK4UT06", counter, "MUK4UT01 MUK4UT05 MUK4UT06 MUK4UT11 MUK4SC01 MUK4SC01");
        add("MUK4UT11", counter, "MUK4UT01 MUK4UT05 MUK4UT06 MUK4UT11 MUK4SC01 MUK4SC01");
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

    // The first button takes the focus when it can be used; the focus never
    // rests on a button that ends the program, so one Enter after start-up
    // ends nothing.
    void firstFocusEndsNothing_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<bool>("salesScreen");
        QTest::newRow("main menu") << "MUK4SC01" << false;
        QTest::newRow("main menu with the sales screen") << "MUK4SC01" << true;
        QTest::newRow("master menu") << "MUK4SC05" << false;
        QTest::newRow("utility menu") << "MUK4SC09" << false;
    }

    void firstFocusEndsNothing()
    {
        QFETCH(QString, menu);
        QFETCH(bool, salesScreen);
        ProgramFolder folder;
        TestDb t;
        Screens screens;
        if (salesScreen)
            screens.navigator().add("MUK4UT01", [](Navigator& n) { return new StandIn(n); });
        screens.show(menu);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused);
        if (screens.button("APCBTN01")->isEnabled())
            QCOMPARE(focused->objectName(), QString("APCBTN01"));
        QVERIFY(focused->objectName() != "APCBTN99");
        enter(focused);
        screens.settle();
        QVERIFY(!screens.ended());
        if (menu == "MUK4SC01")
            QCOMPARE(row(t, "SELECT CB03 FROM MBMSYS WHERE CB01 = 'workday'").value("CB03"),
                     QVariant("RUN"));
        if (salesScreen)
            QCOMPARE(screens.current()->code(), QString("MUK4UT01"));
    }

    // Each menu shows its title, its keys and its buttons in their order on
    // the screen; the master menu's in two columns, the left one first.
    void buttonsStandInTheirOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("titleAndKeys");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("right");
        QTest::newRow("main menu")
            << "MUK4SC01"
            << QStringList{"レジ　アプリケーション　メニュー", "F10.中断終了  F12.マスターメニュー"}
            << QStringList{"売上POS　　トランザクション",   "入金POS　　トランザクション",
                           "掛入金POS　トランザクション",   "支払POS　　トランザクション",
                           "返品POS　　トランザクション",   "レジ集計管理表（日別/月）　",
                           "大分類売上管理表（日別/月）",   "中分類売上管理表（日別/月）",
                           "商品売上管理グラフ（日別/月）", "システム終了"}
            << QStringList{};
        QTest::newRow("master menu")
            << "MUK4SC05"
            << QStringList{"マスター　アプリケーション　メニュー",
                           "F1.ユーティリティメニュー  F12.Return"}
            << QStringList{"大分類コード　登録・修正・削除", "中分類コード　登録・修正・削除",
                           "商品コード　　登録・修正・削除", "特売単価      登録・修正・削除",
                           "システム終了"}
            << QStringList{
                   "担当者コード      　登録・修正・削除", "入出金科目コード　  登録・修正・削除",
                   "入出金取引先コード　登録・修正・削除", "システム環境  設定　　　　　　"};
        QTest::newRow("utility menu")
            << "MUK4SC09" << QStringList{"ユーティリティ　メニュー", "F12.Return"}
            << QStringList{"レシート情報　ダンプ", "バックアップ", "システム終了"} << QStringList{};
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
    // its own (its caption label, or its accessible name), and every text
    // field holds its limit in characters with 𠮷 kept whole.
    void everyFieldIsNamedAndKeepsItsCharactersWhole_data()
    {
        QTest::addColumn<QString>("screen");
        for (const char* code :
             {"MUK4SC01", "MUK4MM40", "MUK4MM50", "MUK4MM51", "MUK4MM55", "MUK4MM57", "MUK4MM80",
              "MUK4MM81", "MUK4MM90", "MUK4UT01", "MUK4UT05", "MUK4UT06", "MUK4UT11"})
            QTest::newRow(code) << code;
    }

    void everyFieldIsNamedAndKeepsItsCharactersWhole()
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
            if (!qobject_cast<QLineEdit*>(control) && !qobject_cast<QComboBox*>(control))
                continue;
            if (!qobject_cast<QComboBox*>(control->parentWidget())) {
                const QString name = names.value(control, control->accessibleName());
                QVERIFY2(!name.isEmpty(), qPrintable(control->objectName() + " has no name"));
                QVERIFY2(!seen.contains(name), qPrintable(name + " names two controls"));
                seen << name;
            }
            auto* field = qobject_cast<EntryField*>(control);
            if (!field || field->limit() == 0 || field->filter() != KeyFilter::Any)
                continue;
            const QString whole = QString(field->limit() - 1, u'a') + "𠮷";
            field->setText(whole + "𠮷");
            QCOMPARE(field->text(), whole);
        }
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
