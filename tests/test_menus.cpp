#include "Fixture.h"

namespace {
// What the numbered fields of the main menu show.
QStringList texts(Screens& s, const QList<int>& numbers)
{
    QStringList shown;
    for (int n : numbers)
        shown << s.find<QLineEdit>(QStringLiteral("Text%1").arg(n))->text();
    return shown;
}

// The figures as the operator finds them: by the caption beside each.
QStringList figures(Screens& s, const QStringList& captions)
{
    QStringList shown;
    for (const QString& caption : captions) {
        auto* field = qobject_cast<QLineEdit*>(s.named(caption));
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
        Shop s;
        setParameter(s, "receipt", "611", "00387");
        s.show("MUK4SC01");
        QCOMPARE(texts(s, {1, 3, 4, 5, 6, 7}),
                 (QStringList{"20261201", "01 / 本店", "01", "61200001", "0000 /  ", "0.1"}));
        QCOMPARE(
            row(s, "SELECT CB02, CB03, CB07, CB08 FROM MBMSYS WHERE CB01 = 'workday'").values(),
            (QVariantList{"20261201", "RUN", "20261201", "09:00:00"}));
        QCOMPARE(row(s, "SELECT CB02, CB03 FROM MBMSYS WHERE CB01 = 'receipt'"),
                 (QVariantMap{{"CB02", "612"}, {"CB03", "00000"}}));
        QCOMPARE((QStringList{s.label("LabelD"), s.label("LabelPFX"), s.current()->windowTitle()}),
                 (QStringList{"2026/12/01", "F6.分析メニュー", "MUK4SC01 "}));

        // An interrupted end leaves the day open; the next day it continues.
        functionKey(s.button("APCBTN99"), Qt::Key_F10);
        QVERIFY(s.ended());
        at(2);
        s.show("MUK4SC01");
        QCOMPARE(texts(s, {1}), QStringList{"20261201"});
        QCOMPARE(workday(s), QVariant("RUN"));

        // The normal end closes it; the next start opens the new day.
        s.click("APCBTN99");
        QCOMPARE(row(s, "SELECT CB02, CB03, CB07 FROM MBMSYS WHERE CB01 = 'workday'"),
                 (QVariantMap{{"CB02", "20261201"}, {"CB03", "NLEND"}, {"CB07", "20261202"}}));
        s.show("MUK4SC01");
        QCOMPARE(texts(s, {1, 5}), (QStringList{"20261202", "61200001"}));
    }

    void missingParametersTakeDefaultsAndWriteNothing()
    {
        Shop s;
        for (const char* key :
             {"workday", "tax", "receipt", "store", "register", "charge", "caption", "invoice"})
            removeParameter(s, key);
        s.show("MUK4SC01");
        // No sales, deposits nor payments show nothing but the cash.
        QCOMPARE(texts(s, {1, 3, 4, 5, 6, 7}),
                 (QStringList{"00000000", "00 / ", "00", "", "0000 /  ", "0"}));
        QCOMPARE(texts(s, {8, 9, 10, 11, 12, 13, 14, 15}),
                 (QStringList{"", "", "", "", "", "0", "", ""}));
        QCOMPARE(s.current()->windowTitle(), QString("MUK4SC01"));
        QCOMPARE(count(s, "MBMSYS"), 2);

        // Coming back to the menu reads them again; a tax rate that is not
        // a number counts as 0.
        setParameter(s, "tax", "abc");
        setParameter(s, "caption", "　本店レジ");
        setParameter(s, "charge", "0007", "鈴木");
        s.click("APCBTN01");
        s.click("RTBTN");
        QCOMPARE(texts(s, {6, 7}), (QStringList{"0007 / 鈴木", "0"}));
        QCOMPARE(s.current()->windowTitle(), QString("MUK4SC01　本店レジ"));
    }

    void todaysTotalsCountOnlyThisRegistersBusinessDay()
    {
        Shop s;
        setParameter(s, "workday", "20261201", "RUN");
        addHeader(s, {"MOMURA", "01", "01", "61200001", "20261201", "11000", 5000, 5000, 0});
        addHeader(s, {"MOMURA", "01", "01", "61200002", "20261201", "11009", 1000, 1000, 0});
        // Another store, another register and other business dates.
        addHeader(s, {"MOMURA", "02", "01", "61200003", "20261201", "11000", 700, 700, 0});
        addHeader(s, {"MOMURA", "01", "02", "61200004", "20261201", "11000", 800, 800, 0});
        addHeader(s, {"MOMURA", "01", "01", "61200005", "20261130", "11000", 900, 900, 0});
        addHeader(s, {"MOMURA", "01", "01", "61200013", "20261202", "11000", 600, 600, 0});
        s.show("MUK4SC01");
        const QStringList captions{"売上/売掛", "返品", "入金", "支払", "現金/売上", "掛入金"};
        QCOMPARE(figures(s, captions), (QStringList{"5,000", "1,000", "", "", "4,000", ""}));
        QCOMPARE(texts(s, {9, 12, 14}), (QStringList{"", "", ""}));

        // Partial payments count what was paid; credit counts nothing.
        addHeader(s, {"MOMURA", "01", "01", "61200006", "20261201", "20000", 3540, 1000, 2540});
        addHeader(s, {"MOMURA", "01", "01", "61200007", "20261201", "30000", 2000, 0, 2000});
        addHeader(s, {"MOMURA", "01", "01", "61200008", "20261201", "00000", 9999, 9999, 0});
        addHeader(s, {"MOMURA", "01", "01", "61200012", "20261201", "1", 10, 10, 0});
        addHeader(s, {"MOMNYK", "01", "01", "61200009", "20261201", "70000", 30000, 30000});
        addHeader(s, {"MOMSYK", "01", "01", "61200010", "20261201", "70000", 1234, 1234});
        addHeader(s, {"MOMSYK", "01", "02", "61200011", "20261201", "70000", 99, 99});
        s.show("MUK4SC01");
        QCOMPARE(figures(s, captions + QStringList{"POSシステム日付"}),
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
        Screens s;
        s.show("MUK4SC01");
        if (trouble == "full")
            disk.fill();
        if (trouble == "held")
            QVERIFY(holder.emplace().db().execute("BEGIN EXCLUSIVE").ok());
        {
            MessageBoxes boxes;
            s.click("APCBTN99");
            const char* why = trouble == "full" ? "ディスクの空きがありません。"
                              : trouble == "read-only" ? "データベースに書き込めません。"
                                                       : "";
            QCOMPARE(boxes.texts(), QStringList{"営業日を締められませんでした。" + QString(why)});
            QVERIFY(!boxes.seen()[0].details.isEmpty());
        }
        QVERIFY(!s.ended());
        QCOMPARE(s.current()->code(), QString("MUK4SC01"));

        // Once the trouble is gone the day is still open, and the end goes
        // through when the operator tries again.
        holder.reset();
        disk.empty();
        if (trouble == "read-only")
            QVERIFY(disk.setReadOnly(false));
        QCOMPARE(workday(TestDb()), QVariant("RUN"));
        s.click("APCBTN99");
        QVERIFY(s.ended());
        QCOMPARE(workday(TestDb()), QVariant("NLEND"));
        Database::setFolder(QString());
    }

    // Where each function key (F..) or button leads from a screen shown
    // afresh; a key that leads nowhere keeps the screen.
    void keysAndButtonsLeadToTheirScreens_data()
    {
        // from, presses, targets
        table::columns<QString, QStringList, QStringList>();
        auto add = [](const char* from, const char* presses, const char* targets) {
            QTest::newRow(from) << QString(from) << QString(presses).split(u' ')
                                << QString(targets).split(u' ');
        };
        add("MUK4SC01", "F1 F12 APCBTN02 APCBTN04 APCBTN05 APCBTN06 APCBTN07 APCBTN08 APCBTN09",
            "MUK4UT01 MUK4SC05 MUK4UT05 MUK4UT06 MUK4UT11 MUK4DP01 MUK4DP05 MUK4DP06 MUK4AS01");
        add("MUK4SC05",
            "F1 F12 APCBTN01 APCBTN02 APCBTN03 APCBTN04 APCBTN05 APCBTN06 APCBTN07 APCBTN09 RTBTN",
            "MUK4SC09 MUK4SC01 MUK4MM50 MUK4MM51 MUK4MM55 MUK4MM57 MUK4MM40 MUK4MM80 MUK4MM81 "
            "MUK4MM90 MUK4SC01");
        // F12 on the utility menu lands on the main menu, not the master menu.
        add("MUK4SC09", "F12 APCBTN01 APCBTN09 APCBTN10 RTBTN",
            "MUK4SC01 MUK4XP02 MUK4XP90 MUK4XP10 MUK4SC01");
        // Master screens go back to the master menu.
        for (const char* master : {"MUK4MM40", "MUK4MM50", "MUK4MM51", "MUK4MM55", "MUK4MM57",
                                   "MUK4MM80", "MUK4MM81", "MUK4MM90"})
            add(master, "F10 RTBTN", "MUK4SC05 MUK4SC05");
        add("MUK4XP02", "F10 RTBTN", "MUK4SC09 MUK4SC09");
        // Reports go back to the main menu.
        for (const char* report : {"MUK4DP01", "MUK4DP05", "MUK4DP06", "MUK4AS01"})
            add(report, "F10 RTBTN", "MUK4SC01 MUK4SC01");
        add("MUK4XP90", "RTBTN", "MUK4SC09");
        add("MUK4XP10", "F10 RTBTN", "MUK4SC09 MUK4SC09");
        // On a counter screen its own key keeps it.
        for (const char* counter : {"MUK4UT01", "MUK4UT05", "MUK4UT06", "MUK4UT11"})
            add(counter, "F1 F2 F4 F5 F10 RTBTN",
                "MUK4UT01 MUK4UT05 MUK4UT06 MUK4UT11 MUK4SC01 MUK4SC01");
    }

    void keysAndButtonsLeadToTheirScreens()
    {
        const auto [from, presses, targets] = table::fetch<QString, QStringList, QStringList>();
        Shop s;
        for (qsizetype i = 0; i < presses.size(); ++i) {
            s.show(from);
            const QString& press = presses[i];
            if (press.startsWith(u'F'))
                functionKey(QApplication::focusWidget(),
                            Qt::Key(Qt::Key_F1 + press.mid(1).toInt() - 1));
            else
                QTest::mouseClick(s.button(press), Qt::LeftButton);
            QCOMPARE(press + " to " + s.settle()->code(), press + " to " + targets[i]);
        }
    }

    // Each menu's buttons stand in their order, top to bottom; the master
    // menu's in two columns, the left one first. The first button takes the
    // focus; it never rests on a button that ends the program, so one Enter
    // after start-up opens the first screen. "システム終了" closes the
    // business day on the main menu only.
    void menusStandInOrderAndEndTheDayOnTheMainMenuOnly_data()
    {
        // menu, columns (button numbers, "|" between columns), opened (by Enter on the first
        // button)
        table::columns<QString, QString, QString>();
        const auto add = [](const char* row, const char* menu, const char* columns,
                            const char* opened) {
            QTest::newRow(row) << menu << columns << opened;
        };
        add("main menu", "MUK4SC01", "01 02 03 04 05 06 07 08 09 99", "MUK4UT01");
        add("master menu", "MUK4SC05", "01 02 03 04 99|05 06 07 09", "MUK4MM50");
        add("utility menu", "MUK4SC09", "01 09 10 99", "MUK4XP02");
    }

    void menusStandInOrderAndEndTheDayOnTheMainMenuOnly()
    {
        const auto [menu, columns, opened] = table::fetch<QString, QString, QString>();
        Shop s;
        s.show("MUK4SC01");
        s.show(menu);
        QList<int> lefts;
        for (const QString& column : columns.split(u'|')) {
            int above = -1;
            for (const QString& number : column.split(u' ')) {
                QPushButton* b = s.button("APCBTN" + number);
                QVERIFY2(b && b->y() > above, qPrintable(number));
                above = b->y();
            }
            lefts << s.button("APCBTN" + column.left(2))->x();
        }
        QVERIFY(lefts.size() == 1 || lefts[0] < lefts[1]);
        if (menu == "MUK4SC01")
            QVERIFY(!s.button("APCBTN03")->isEnabled());

        QWidget* focused = QApplication::focusWidget();
        QCOMPARE(focused ? focused->objectName() : QString(), QString("APCBTN01"));
        enter(focused);
        QCOMPARE(s.settle()->code(), opened);
        QVERIFY(!s.ended());
        s.show(menu);
        s.click("APCBTN99");
        QVERIFY(s.ended());
        QCOMPARE(workday(s), QVariant(menu == "MUK4SC01" ? "NLEND" : "RUN"));
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
        Shop s;
        Screen* shown = s.show(screen);
        for (QWidget* control : shown->findChildren<QWidget*>()) {
            if ((!qobject_cast<QLineEdit*>(control) && !qobject_cast<QComboBox*>(control)) ||
                qobject_cast<QComboBox*>(control->parentWidget()))
                continue;
            QString name = control->accessibleName();
            for (QLabel* label : shown->findChildren<QLabel*>()) {
                if (label->buddy() == control)
                    name = label->text();
            }
            // The name leads back to this control and no other.
            QVERIFY2(!name.isEmpty() && s.named(name) == control,
                     qPrintable(control->objectName() + " named " + name));
        }
    }
};

QTEST_MAIN(MenusTest)
#include "test_menus.moc"
