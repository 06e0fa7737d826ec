#include "Fixture.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QVBoxLayout>

// The input field every screen is made of, on a bare window.
class FieldsTest : public QObject {
    Q_OBJECT

private:
    struct Window {
        QWidget widget;
        EntryField* first;
        EntryField* field;
        explicit Window(KeyFilter filter, int maxLength = 0)
        {
            auto* layout = new QVBoxLayout(&widget);
            first = new EntryField("Text1", 0, KeyFilter::Any, "一を入力してください。");
            field = new EntryField("Text2", maxLength, filter, "二を入力してください。");
            layout->addWidget(first);
            layout->addWidget(field);
            widget.show();
            QVERIFY(QTest::qWaitForWindowActive(&widget));
            field->setFocus();
        }
    };

private slots:
    void filtersDropWhatTheyDoNotTake_data()
    {
        // filter, typed, kept
        table::columns<KeyFilter, QString, QString>();
        const auto add = [](const char* row, KeyFilter filter, const char* typed,
                            const char* kept) { QTest::newRow(row) << filter << typed << kept; };
        add("digits", KeyFilter::Digits, "1a2-3 *:+", "123 ");
        add("asterisk", KeyFilter::DigitsAsterisk, "2026*12:1x", "2026*121");
        add("colon", KeyFilter::DigitsAsteriskColon, "09:05:0a*", "09:05:0*");
        add("minus", KeyFilter::DigitsMinus, "-120.5e", "-1205");
        add("product code", KeyFilter::CounterCode, "4901a+", "4901");
        add("any", KeyFilter::Any, "a'\\b", "a'\\b");
    }

    void filtersDropWhatTheyDoNotTake()
    {
        const auto [filter, typed, kept] = table::fetch<KeyFilter, QString, QString>();
        Window w(filter);
        typeInto(w.field, typed);
        QCOMPARE(w.field->text(), kept);
        QTest::keyClick(w.field, Qt::Key_Backspace);
        QCOMPARE(w.field->text(), kept.chopped(1));
        // A pasted text with one character the filter refuses is refused whole.
        QApplication::clipboard()->setText(typed);
        w.field->paste();
        QCOMPARE(w.field->text(), kept == typed ? kept.chopped(1) + typed : kept.chopped(1));
    }

    void limitsCountCharactersAndNeverSplitOne_data()
    {
        // how, text, kept
        table::columns<QString, QString, QString>();
        const QString kanji = QStringLiteral("𠮷");
        const QString nineteen = QString(19, u'a');
        for (const char* how : {"typed", "pasted", "set"}) {
            QTest::addRow("%s at the limit", how) << how << nineteen + kanji << nineteen + kanji;
            QTest::addRow("%s past the limit", how)
                << how << nineteen + kanji + kanji + "b" << nineteen + kanji;
            QTest::addRow("%s emoji", how)
                << how << QString(18, u'x') + "😀👍🏻" << QString(18, u'x') + "😀👍";
        }
    }

    void limitsCountCharactersAndNeverSplitOne()
    {
        const auto [how, text, kept] = table::fetch<QString, QString, QString>();
        Window w(KeyFilter::Any, 20);
        if (how == "typed") {
            typeInto(w.field, text);
        } else if (how == "pasted") {
            QApplication::clipboard()->setText(text);
            w.field->paste();
        } else {
            w.field->setText(text);
        }
        QCOMPARE(w.field->text(), kept);
        // Pasting into the middle of a full field keeps what was there.
        QApplication::clipboard()->setText("zz");
        w.field->setCursorPosition(1);
        w.field->paste();
        QCOMPARE(w.field->text(), kept);
    }

    void focusSelectsEverythingAndEnterActs()
    {
        Window w(KeyFilter::CounterCode);
        QSignalSpy focused(w.field, &EntryField::focused);
        QSignalSpy entered(w.field, &EntryField::entered);
        w.field->setText("4901234567894");
        w.first->setFocus();
        QTest::keyClick(w.first, Qt::Key_Tab);
        QVERIFY(w.field->hasFocus());
        QCOMPARE(focused.count(), 1);
        QCOMPARE(w.field->selectedText(), QString("4901234567894"));
        QTest::keyClick(w.field, Qt::Key_Enter);
        QTest::keyClick(w.field, Qt::Key_Return);
        QCOMPARE(entered.count(), 2);
        // Typing replaces the selected text.
        w.field->giveBack();
        typeInto(w.field, "7");
        QCOMPARE(w.field->text(), QString("7"));
    }
};

QTEST_MAIN(FieldsTest)
#include "test_fields.moc"
