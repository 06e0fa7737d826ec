// The flow every master screen over a table shares, screen by screen: the
// code padded or refused, a record added, changed and deleted with its audit
// moments, a listed row chosen.
#include "Fixture.h"

namespace {
void at(int day, int hour)
{
    Clock::setFixed(QDateTime(QDate(2026, 12, day), QTime(hour, 15, 30)));
}

// Opens a screen from the master menu, ready for a code: on the middle
// categories, with major 3 chosen.
void ready(Shop& s, const QString& button)
{
    if (button == "APCBTN02")
        addMajor(s, "3", "衣料品");
    s.show("MUK4SC05");
    s.click(button);
    if (auto* majors = s.find<QComboBox>("CB1"); majors && s.current()->code() == "MUK4MM51") {
        majors->setFocus();
        QTest::keyClick(majors, Qt::Key_Down);
    }
}

// The screens, the menu button that opens them, their table, a record as
// added through them (without the four audit fields) and the lengths of its
// names.
void screens()
{
    // button, table, record (typed as 5), limits
    table::columns<QString, QString, QVariantList, QList<int>>();
    const auto add = [](const char* row, const char* button, const char* table,
                        const QVariantList& record, const QList<int>& limits) {
        QTest::newRow(row) << button << table << record << limits;
    };
    add("staff", "APCBTN05", "MBMCHR", {"0005", "O'Brien \\ 山田", " ", " "}, {20});
    add("accounts", "APCBTN06", "MBMKJM", {"0005", "O'Brien \\ 雑収入", "雑'", " "}, {16, 14});
    add("partners", "APCBTN07", "MBMKJT", {"0005", "O'Brien \\ 丸山", "丸'", " "}, {20, 10});
    add("majors", "APCBTN01", "MBMBRL", {"5", "O'Brien \\ 食品", "食'", " "}, {20, 10});
    add("middles", "APCBTN02", "MBMBRM", {"305", "O'Brien \\ 子供服", "子'", "3", " ", " ", " "},
        {20, 10});
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
        // button, typed, shown (empty: refused with the message), message
        table::columns<QString, QString, QString, QString>();
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
        const auto [button, typed, shown, message] =
            table::fetch<QString, QString, QString, QString>();
        Shop s;
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
            if (button == "APCBTN02") // a new middle shows its full code too
                QCOMPARE(s.label("LabelNN"), QString("305"));
            QCOMPARE(s.shown({"focus", "LabelAPF"}), (QStringList{"Text2", "●  登録"}));
        } else {
            QCOMPARE(s.shown({"focus"}) << code->selectedText(), (QStringList{"Text1", typed}));
            QVERIFY(!s.field("Text2")->isEnabled());
        }
    }

    void recordsAreAddedChangedAndArchivedWithTheirMoments_data() { screens(); }
    void recordsAreAddedChangedAndArchivedWithTheirMoments()
    {
        auto [button, master, record, limits] =
            table::fetch<QString, QString, QVariantList, QList<int>>();
        Shop s;
        ready(s, button);
        auto stored = [&](const QString& in) {
            return row(s, "SELECT * FROM " + in + " WHERE " + Schema::fieldsOf(master)[0] + " = ?",
                       {record[0]});
        };
        // The names fill their fields to the last character; more is dropped.
        QStringList entries{"Text1", "5"};
        for (int i = 0; i < limits.size(); ++i) {
            record[i + 1] = record[i + 1].toString().leftJustified(limits[i], u'漢');
            entries << QString("Text%1").arg(i + 2) << record[i + 1].toString() + "超";
        }
        QCOMPARE(s.fill(entries + QStringList{"RCBTN", ""}), QString());
        QCOMPARE(stored(master),
                 ::stored(master, stamped(record, "2026120610:15:30", "2026120610:15:30")));
        QCOMPARE(s.field("Text1")->text(), QString());

        at(7, 11);
        const QStringList change{"Text1", "5", "Text2", "変更", "Text3", ""};
        QCOMPARE(s.fill(change.mid(0, 2 + 2 * limits.size())), QString());
        QCOMPARE(s.label("LabelAPF"), QString("●  修正"));
        QCOMPARE(s.button("RCBTN")->text(), QString("修正"));
        QCOMPARE(s.fill({"RCBTN", ""}), QString());
        QVariantList changed = record;
        changed[1] = "変更";
        QCOMPARE(stored(master),
                 ::stored(master, stamped(changed, "2026120610:15:30", "2026120711:15:30")));
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));

        // An unknown code after a found one starts with empty fields.
        QCOMPARE(s.fill({"Text1", "5"}), QString());
        s.field("Text1")->setFocus();
        QCOMPARE(s.fill({"Text1", "6"}), QString());
        QCOMPARE(s.label("LabelAPF"), QString("●  登録"));
        QCOMPARE(s.field("Text2")->text(), QString());

        at(8, 12);
        s.field("Text1")->setFocus();
        QCOMPARE(s.fill({"Text1", "5"}), QString());
        s.click("DLBTN");
        QCOMPARE(stored(master), QVariantMap());
        QCOMPARE(rows(s, "SELECT * FROM X" + master.mid(1)),
                 QList<QVariantMap>{
                     ::stored(master, stamped(changed, "2026120610:15:30", "2026120812:15:30"))});
        QCOMPARE(s.gridRows(), QList<QStringList>());
        QVERIFY(s.field("Text1")->hasFocus());
    }

    // An empty name or short name is refused on Enter and keeps the focus,
    // in the screen's message form; accounts and partners ask for the short
    // name with the name's message.
    void emptyNamesAreRefusedOnEnter_data()
    {
        // button, messages, errorForm
        table::columns<QString, QStringList, bool>();
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
        const auto [button, messages, errorForm] = table::fetch<QString, QStringList, bool>();
        Shop s;
        ready(s, button);
        QCOMPARE(s.fill({"Text1", "5"}), QString());
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
            QCOMPARE(s.fill({field->objectName(), "名"}), QString());
        }
        QVERIFY(s.button("RCBTN")->hasFocus());
    }

    // The staff entry prompts field by field.
    void theStaffEntryPrompts()
    {
        Shop s;
        s.show("MUK4MM40");
        QCOMPARE(s.label("LabelM"), QString("担当者コードを入力してください。"));
        QCOMPARE(s.usable({"Text1", "Text2", "RCBTN", "DLBTN", "RTBTN"}),
                 (QStringList{"Text1", "RTBTN"}));
        QCOMPARE(s.fill({"Text1", "12"}), QString());
        QCOMPARE(s.label("LabelM"), QString("担当者名を入力してください。"));
    }

    // A chosen row is put into the fields as a found code; the list keeps
    // the blanks behind the code that the code field drops.
    void aChosenRowIsCalledUp_data() { screens(); }
    void aChosenRowIsCalledUp()
    {
        const auto [button, master, record, limits] =
            table::fetch<QString, QString, QVariantList, QList<int>>();
        Shop s;
        QVariantList other = record;
        other[0] = record[0].toString().replace(u'5', u'2');
        for (const QVariantList& values : {record, other}) {
            const QString marks = QStringList(values.size() + 4, "?").join(u',');
            const QString fields = Schema::fieldsOf(master).first(values.size() + 4).join(u',');
            QVERIFY(
                s.db()
                    .execute("INSERT INTO " + master + " (" + fields + ") VALUES (" + marks + ")",
                             stamped(values, "2025010108:00:00", "2025010108:00:00"))
                    .ok());
        }
        ready(s, button);
        const QList<QStringList> listed = s.gridRows();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed[1][1], record[1].toString());
        QVERIFY(listed[1][0].startsWith(record[0].toString().right(master == "MBMBRM" ? 3 : 4)));
        QVERIFY(listed[1][0].endsWith(u' '));
        clickRow(s.find<QTableWidget>("FG1"), 1);
        const QString code = record[0].toString().right(master == "MBMBRM" ? 2 : 4);
        QCOMPARE(s.shown({"Text1", "Text2", "LabelAPF", "focus"}),
                 (QStringList{code, record[1].toString(), "●  修正", "Text2"}));
        const QStringList controls{"Text1", "Text2", "RCBTN", "DLBTN", "RTBTN"};
        QCOMPARE(s.usable(controls), (QStringList{"Text1", "Text2", "DLBTN", "RTBTN"}));
        // Back to the code, the entry closes again.
        s.field("Text1")->setFocus();
        QCOMPARE(s.usable(controls), (QStringList{"Text1", "RTBTN"}));
    }
};

QTEST_MAIN(MasterFlowTest)
#include "test_masterflow.moc"
