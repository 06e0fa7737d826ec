#include "Fixture.h"

class SettingsTest : public QObject {
    Q_OBJECT

private:
    void chooseKey(Screens& s, const QString& key)
    {
        s.field("Text1")->selectAll();
        typeInto(s.field("Text1"), key);
        enter(s.field("Text1"));
    }

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30))); }

    void keysShowTheirValuesAndWarnWhereTheProgramWrites()
    {
        Shop s;
        setParameter(s, "tax", "0.10");
        setParameter(s, "receipt", "612", "00042");
        for (int i = 1; i <= 15; ++i)
            setParameter(s, QStringLiteral("extra%1").arg(i, 2, 10, QLatin1Char('0')),
                         QString::number(i));
        s.show("MUK4MM90");

        // Every parameter is listed.
        QStringList keys;
        for (const QStringList& listed : s.gridRows())
            keys << listed.first();
        QCOMPARE(keys.size(), 25);

        // The keys the program writes itself warn; the others do not.
        const QString warning = "他のデータベースにリンクしているので注意してください。";
        for (const QString key : {"charge", "workday", "store", "printer"}) {
            chooseKey(s, key);
            QCOMPARE(s.label("LabelW"), key == "store" || key == "printer" ? QString() : warning);
        }
        chooseKey(s, "tax");
        QCOMPARE(s.shown({"Text2", "Text3", "LabelAPF", "LabelW"}),
                 (QStringList{"0.10", " ", "●  設定", ""}));
        QCOMPARE(s.usable({"Text2", "Text3", "RCBTN", "DLBTN"}), QStringList{"Text2"});

        clickRow(s.find<QTableWidget>("FG1"), static_cast<int>(keys.indexOf("receipt")));
        QCOMPARE(s.shown({"Text1", "Text2", "Text3", "LabelW"}),
                 (QStringList{"receipt", "612", "00042", warning}));
        QCOMPARE(s.fill({"Text2", ""}), QString());
        QCOMPARE(s.shown({"focus"}) + s.usable({"Text3", "DLBTN"}),
                 (QStringList{"Text3", "Text3"}));

        // Back in the key, values shown for one key cannot be stored under another.
        s.field("Text1")->setFocus();
        QCOMPARE(s.usable({"Text2", "Text3", "RCBTN"}), QStringList());
    }

    void emptyValuesUnknownKeysAndKeysRemovedMeanwhileAreRefused()
    {
        Shop s;
        s.show("MUK4MM90");
        auto *text2 = s.field("Text2"), *text3 = s.field("Text3");
        MessageBoxes boxes;

        chooseKey(s, "nosuchkey");
        QCOMPARE(boxes.texts(), QStringList{"パラメタがありません。"});
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(s.field("Text1")->hasFocus());
        QVERIFY(!text2->isEnabled());
        chooseKey(s, "store");
        text2->clear();
        enter(text2);
        QCOMPARE(boxes.texts().last(), QString("フィールド1がありません。"));
        QCOMPARE(s.usable({"Text3"}), QStringList());
        QCOMPARE(s.fill({"Text2", "02"}), QString());
        text3->clear();
        enter(text3);
        QCOMPARE(boxes.texts().last(), QString("フィールド2がありません。"));
        QCOMPARE(s.usable({"RCBTN", "DLBTN"}), QStringList());
        QCOMPARE(s.fill({"Text3", "駅前店"}), QString());
        QCOMPARE(s.usable({"RCBTN", "DLBTN"}), QStringList{"RCBTN"});

        // Someone removes the key before it is stored: it is not made anew.
        removeParameter(s, "store");
        QCOMPARE(s.fill({"RCBTN", ""}), QString());
        QCOMPARE(boxes.texts().mid(3), QStringList{"パラメタがありません。"});
        QCOMPARE(count(s, "MBMSYS"), 9);
        QVERIFY(s.field("Text1")->hasFocus());
    }

    // A value the counter could not use stays selected under its message;
    // one it can use is stored as typed.
    void valuesTheCounterCannotUseAreRefused_data()
    {
        // key, field, typed, message (empty: stored)
        table::columns<QString, QString, QString, QString>();
        const QString number = "登録番号は T と13桁の数字で入力してください。";
        const QString rate = "税率は0から1までの数値で入力してください。";
        table::add("registration number", "invoice", "Text2", "T9234567890123", "");
        table::add("no registration number", "invoice", "Text2", " ", "");
        table::add("wrong check digit", "invoice", "Text2", "T1234567890123", number);
        table::add("12 digits", "invoice", "Text2", "T923456789012", number);
        table::add("small t", "invoice", "Text2", "t9234567890123", number);
        table::add("full-width T", "invoice", "Text2", "Ｔ9234567890123", number);
        table::add("anything beside the number", "invoice", "Text3", "x", "");
        table::add("reduced rate", "tax", "Text3", "0.08", "");
        table::add("standard rate over 1", "tax", "Text2", "1.01", rate);
        table::add("reduced rate in percent", "tax", "Text3", "8%", rate);
    }

    void valuesTheCounterCannotUseAreRefused()
    {
        const auto [key, field, typed, message] =
            table::fetch<QString, QString, QString, QString>();
        Shop s;
        s.show("MUK4MM90");
        chooseKey(s, key);
        QStringList entries{"Text2", "", "Text3", "", "RCBTN", ""};
        entries[entries.indexOf(field) + 1] = typed;
        MessageBoxes boxes;
        s.fill(entries);
        QCOMPARE(boxes.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (message.isEmpty())
            QCOMPARE(row(s, "SELECT CB02 AS Text2, CB03 AS Text3 FROM MBMSYS WHERE CB01 = ?", {key})
                         .value(field),
                     QVariant(typed));
        else
            QCOMPARE(s.shown({"focus"}) << s.field(field)->selectedText(),
                     (QStringList{field, typed}));
    }

    void storedValueIsStampedAndSeenByTheMainMenu()
    {
        Shop s;
        setParameter(s, "tax", "0.10");
        s.show("MUK4MM90");
        chooseKey(s, "tax");
        QCOMPARE(s.fill({"Text2", "0.08", "Text3", "0.05", "RCBTN", ""}), QString());
        QCOMPARE(row(s, "SELECT * FROM MBMSYS WHERE CB01 = 'tax'"),
                 stored("MBMSYS", {"tax", "0.08", "0.05", " ", "20261206", "10:15:30", " "}));
        QVERIFY(s.gridRows().contains(QStringList{"tax", "0.08", "0.05"}));
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));

        functionKey(s.field("Text1"), Qt::Key_F10);
        QCOMPARE(s.settle()->code(), QString("MUK4SC05"));
        functionKey(s.current(), Qt::Key_F12);
        QCOMPARE(s.settle()->code(), QString("MUK4SC01"));
        QCOMPARE(s.find<QLineEdit>("Text7")->text(), QString("0.08"));
    }
};

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
