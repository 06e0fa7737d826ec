// The flow every master screen over a table shares, screen by screen: the
// code padded or refused, a record added, changed and deleted with its audit
// moments, a listed row chosen.
#include "Fixture.h"

#include "data/Clock.h"
#include "data/Schema.h"

#include <QApplication>
#include <QComboBox>
#include <QTableWidget>

namespace {
void at(int day, int hour)
{
    Clock::setFixed(QDateTime(QDate(2026, 12, day), QTime(hour, 15, 30)));
}

// Opens a screen from the master menu, ready for a code: on the middle
// categories, with major 3 chosen.
void ready(Screens& s, const QString& button)
{
    if (button == "APCBTN02") {
        TestDb t;
        addMajor(t, "3", "衣料品");
    }
    s.show("MUK4SC05");
    s.click(button);
    if (auto* majors = s.find<QComboBox>("CB1"); majors && s.current()->code() == "MUK4MM51") {
        majors->setFocus();
        QTest::keyClick(majors, Qt::Key_Down);
    }
}

// The screens, the menu button that opens them, their table, and a record
// as added through them (without the four audit fields).
void screens()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QVariantList>("record"); // typed as 5
    const auto add = [](const char* row, const char* button, const char* table,
                        const QVariantList& record) {
        QTest::newRow(row) << button << table << record;
    };
    add("staff", "APCBTN05", "MBMCHR", {"0005", "O'Brien \\ 山田", " ", " "});
    add("accounts", "APCBTN06", "MBMKJM", {"0005", "O'Brien \\ 雑収入", "雑'", " "});
    add("partners", "APCBTN07", "MBMKJT", {"0005", "O'Brien \\ 丸山", "丸'", " "});
    add("majors", "APCBTN01", "MBMBRL", {"5", "O'Brien \\ 食品", "食'", " "});
    add("middles", "APCBTN02", "MBMBRM", {"305", "O'Brien \\ 子供服", "子'", "3", " ", " ", " "});
}

QVariantList stamped(QVariantList record, const QString& added, const QString& changed)
{
    record << added.left(8) << added.mid(8) << changed.left(8) << changed.mid(8);
    return record;
}
} // namespace

class MasterFlowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { at(6, 10); }
    void cleanup() { Clock::reset(); }

    void codesArePaddedOrRefused_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // empty: refused with the message
        QTest::addColumn<QString>("message");
        const auto add = [](const char* row, const char* button, const char* typed,
                            const char* shown, const char* message) {
            QTest::newRow(row) << button << typed << shown << message;
        };
        add("staff 12", "APCBTN05", "12", "0012", "");
        add("staff 0", "APCBTN05", "0", "", "担当者コードがありません。");
        add("staff empty", "APCBTN05", "", "", "担当者コードがありません。");
        add("account empty", "APCBTN06", "", "0000", "");
        add("partner 7", "APCBTN07", "7", "0007", "");
        add("major empty", "APCBTN01", "", "0", "");
        add("middle 5", "APCBTN02", "5", "05", "");
        add("product 8 digits", "APCBTN03", "12345678", "12345678", "");
        add("product empty", "APCBTN03", "", "", "商品コードがありません。");
    }

    void codesArePaddedOrRefused()
    {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        ProgramFolder folder;
        Screens s;
        ready(s, button);
        EntryField* code = s.field("Text1");
        QVERIFY(code->hasFocus());
        typeInto(code, typed + "x-");
        QCOMPARE(code->text(), typed);
        MessageBoxes boxes;
        enter(code);
        QCOMPARE(boxes.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (message.isEmpty()) {
            QCOMPARE(code->text(), shown);
            QVERIFY(s.field("Text2")->hasFocus());
            QCOMPARE(s.label("LabelAPF"), QString("●  登録"));
        } else {
            QVERIFY(code->hasFocus());
            QCOMPARE(code->selectedText(), typed);
            QVERIFY(!s.field("Text2")->isEnabled());
        }
    }

    void recordsAreAddedChangedAndArchivedWithTheirMoments_data() { screens(); }
    void recordsAreAddedChangedAndArchivedWithTheirMoments()
    {
        QFETCH(QString, button);
        QFETCH(QString, table);
        QFETCH(QVariantList, record);
        ProgramFolder folder;
        TestDb t;
        Screens s;
        ready(s, button);
        auto stored = [&](const QString& in) {
            return row(t, "SELECT * FROM " + in + " WHERE " + Schema::fieldsOf(table)[0] + " = ?",
                       {record[0]});
        };
        // Passes the fields after the code with Enter; entries replace what is there.
        auto pass = [&](const QStringList& entries) {
            typeInto(s.field("Text1"), "5");
            enter(s.field("Text1"));
            for (int i = 0; i < entries.size(); ++i) {
                EntryField* field = s.field(QString("Text%1").arg(i + 2));
                QVERIFY(field->hasFocus());
                if (!entries[i].isNull()) {
                    field->selectAll();
                    typeInto(field, entries[i]);
                }
                enter(field);
            }
            QVERIFY(s.button("RCBTN")->hasFocus());
        };
        const QStringList names{record[1].toString(), record[2].toString()};
        pass(names.mid(0, table == "MBMCHR" ? 1 : 2));
        enter(s.button("RCBTN"));
        QVariantList added = stamped(record, "2026120610:15:30", "2026120610:15:30");
        QCOMPARE(stored(table), ::stored(table, added));
        QVERIFY(s.field("Text1")->hasFocus());
        QCOMPARE(s.field("Text1")->text(), QString());

        at(7, 11);
        pass(QStringList{"変更", QString()}.mid(0, table == "MBMCHR" ? 1 : 2));
        QCOMPARE(s.label("LabelAPF"), QString("●  修正"));
        QCOMPARE(s.button("RCBTN")->text(), QString("修正"));
        s.click("RCBTN");
        QVariantList changed = record;
        changed[1] = "変更";
        QCOMPARE(stored(table),
                 ::stored(table, stamped(changed, "2026120610:15:30", "2026120711:15:30")));
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));

        // An unknown code after a found one starts with empty fields.
        typeInto(s.field("Text1"), "5");
        enter(s.field("Text1"));
        s.field("Text1")->setFocus();
        typeInto(s.field("Text1"), "6");
        enter(s.field("Text1"));
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));
        QCOMPARE(s.field("Text2")->text(), QString());
        s.field("Text1")->setFocus();

        at(8, 12);
        typeInto(s.field("Text1"), "5");
        enter(s.field("Text1"));
        QVERIFY(s.button("DLBTN")->isEnabled());
        s.click("DLBTN");
        QCOMPARE(stored(table), QVariantMap());
        QCOMPARE(rows(t, "SELECT * FROM X" + table.mid(1)),
                 QList<QVariantMap>{
                     ::stored(table, stamped(changed, "2026120610:15:30", "2026120812:15:30"))});
        QCOMPARE(s.gridRows(), QList<QStringList>());
        QVERIFY(s.field("Text1")->hasFocus());
        functionKey(s.field("Text1"), Qt::Key_F10);
        QCOMPARE(s.settle()->code(), QString("MUK4SC05"));
    }

    // An empty name or short name is refused on Enter and keeps the focus,
    // in the screen's message form; accounts and partners ask for the short
    // name with the name's message.
    void emptyNamesAreRefusedOnEnter_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("errorForm");
        const auto add = [](const char* row, const char* button, const QStringList& messages,
                            bool errorForm = false) {
            QTest::newRow(row) << button << messages << errorForm;
        };
        add("staff", "APCBTN05", {"担当者名がありません。"}, true);
        add("accounts", "APCBTN06", QStringList(2, "入出金科目名称がありません。"));
        add("partners", "APCBTN07", QStringList(2, "入出金取引先名称がありません。"));
        add("majors", "APCBTN01", {"大分類名称がありません。", "大分類略称がありません。"});
        add("middles", "APCBTN02", {"中分類名称がありません。", "中分類略称がありません。"});
    }

    void emptyNamesAreRefusedOnEnter()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, messages);
        QFETCH(bool, errorForm);
        ProgramFolder folder;
        Screens s;
        ready(s, button);
        typeInto(s.field("Text1"), "5");
        enter(s.field("Text1"));
        MessageBoxes boxes;
        for (int i = 0; i < messages.size(); ++i) {
            EntryField* field = s.field(QString("Text%1").arg(i + 2));
            enter(field);
            QCOMPARE(boxes.texts().mid(i), QStringList{messages[i]});
            QCOMPARE(boxes.seen()[i].icon, errorForm ? QMessageBox::Critical : QMessageBox::NoIcon);
            QCOMPARE(boxes.seen()[i].title,
                     errorForm ? QString("MESSAGE") : QApplication::applicationDisplayName());
            QVERIFY(field->hasFocus());
            QVERIFY(!s.button("RCBTN")->isEnabled());
            typeInto(field, "名");
            enter(field);
        }
        QVERIFY(s.button("RCBTN")->hasFocus());
    }

    // The staff entry prompts field by field.
    void theStaffEntryPrompts()
    {
        ProgramFolder folder;
        Screens s;
        s.show("MUK4MM40");
        QCOMPARE(s.label("LabelM"), QString("担当者コードを入力してください。"));
        QCOMPARE(s.label("LabelPFK"), QString("F10.Return"));
        QCOMPARE(s.usable({"Text1", "Text2", "RCBTN", "DLBTN", "RTBTN"}),
                 (QStringList{"Text1", "RTBTN"}));
        typeInto(s.field("Text1"), "12");
        enter(s.field("Text1"));
        QCOMPARE(s.label("LabelM"), QString("担当者名を入力してください。"));
    }

    // A chosen row is put into the fields as a found code; the list keeps
    // the blanks behind the code that the code field drops.
    void aChosenRowIsCalledUp_data() { screens(); }
    void aChosenRowIsCalledUp()
    {
        QFETCH(QString, button);
        QFETCH(QString, table);
        QFETCH(QVariantList, record);
        ProgramFolder folder;
        TestDb t;
        QVariantList other = record;
        other[0] = record[0].toString().replace(u'5', u'2');
        for (const QVariantList& values : {record, other}) {
            const QString marks = QStringList(values.size() + 4, "?").join(u',');
            QVERIFY(t.db()
                        .execute("INSERT INTO " + table + " VALUES (" + marks + ")",
                                 stamped(values, "2025010108:00:00", "2025010108:00:00"))
                        .ok());
        }
        Screens s;
        ready(s, button);
        const QList<QStringList> listed = s.gridRows();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed[1][1], record[1].toString());
        QVERIFY(listed[1][0].startsWith(record[0].toString().right(table == "MBMBRM" ? 3 : 4)));
        QVERIFY(listed[1][0].endsWith(u' '));
        clickRow(s.find<QTableWidget>("FG1"), 1);
        QCOMPARE(s.field("Text1")->text(), record[0].toString().right(table == "MBMBRM" ? 2 : 4));
        QCOMPARE(s.field("Text2")->text(), record[1].toString());
        QVERIFY(s.field("Text2")->hasFocus());
        QCOMPARE(s.label("LabelAPF"), QString("●  修正"));
        const QStringList controls{"Text1", "Text2", "RCBTN", "DLBTN", "RTBTN"};
        QCOMPARE(s.usable(controls), (QStringList{"Text1", "Text2", "DLBTN", "RTBTN"}));
        // Back to the code, the entry closes again.
        s.field("Text1")->setFocus();
        QCOMPARE(s.usable(controls), (QStringList{"Text1", "RTBTN"}));
    }
};

QTEST_MAIN(MasterFlowTest)
#include "test_masterflow.moc"
