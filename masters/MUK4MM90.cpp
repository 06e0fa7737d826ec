#include "masters/MUK4MM90.h"

#include "data/RecordSet.h"
#include "masters/SettingValues.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {
const QString blank = QStringLiteral(" ");

// Keys the program writes by itself as well: a change here may be
// overwritten or may upset the business day and the receipt numbers.
bool writtenElsewhere(const QString& key)
{
    return key == QLatin1String("workday") || key == QLatin1String("charge") ||
           key == QLatin1String("receipt");
}
} // namespace

MUK4MM90::MUK4MM90(Navigator& navigator)
    : MasterScreen(navigator, QStringLiteral("MUK4MM90"), QStringLiteral("システム環境　設定"),
                   MessageForm::Error)
{
    Text1 = addField(QStringLiteral("Text1"), 0, KeyFilter::Any,
                     QStringLiteral("パラメタを入力してください。"));
    Text2 = addField(QStringLiteral("Text2"), 0, KeyFilter::Any,
                     QStringLiteral("フィールド1を入力してください。"));
    Text3 = addField(QStringLiteral("Text3"), 0, KeyFilter::Any,
                     QStringLiteral("フィールド2を入力してください。"));
    Text1->setFixedWidth(160);
    Text2->setFixedWidth(240);
    Text3->setFixedWidth(400);
    LabelW = new QLabel(this);
    LabelW->setObjectName(QStringLiteral("LabelW"));
    LabelW->setStyleSheet(QStringLiteral("color: #FF0000;"));
    addRow(QStringLiteral("パラメタ"), Text1, LabelW);
    addRow(QStringLiteral("フィールド1"), Text2);
    addRow(QStringLiteral("フィールド2"), Text3);
    makeGrid({1200, 1200, 4500});
    setEntryOrder({Text1, Text2, Text3});

    // Going back to the key closes both values, so that values shown for one
    // key can never be stored under another.
    connect(Text1, &EntryField::focused, this, [this] {
        enable({Text2, Text3, RCBTN, DLBTN}, false);
    });
    connect(Text2, &EntryField::focused, this, [this] { enable({RCBTN, DLBTN}, false); });
    connect(Text3, &EntryField::focused, this, [this] { enable({RCBTN, DLBTN}, false); });
    connect(Text1, &EntryField::entered, this, &MUK4MM90::keyEntered);
    connect(Text2, &EntryField::entered, this, &MUK4MM90::firstEntered);
    connect(Text3, &EntryField::entered, this, &MUK4MM90::secondEntered);
}

void MUK4MM90::areaInit()
{
    MasterScreen::areaInit();
    fillGrid({});
    Text1->clear();
    Text2->clear();
    Text3->clear();
    LabelW->clear();
    setMode(Mode::Add);
}

void MUK4MM90::areaLock()
{
    enable({Text2, Text3, RCBTN, DLBTN}, false);
}

void MUK4MM90::areaAssign()
{
    showList(Parameters::listed(),
             {QStringLiteral("CB01"), QStringLiteral("CB02"), QStringLiteral("CB03")});
    MasterScreen::areaAssign();
}

void MUK4MM90::keyEntered()
{
    std::optional<Parameter> found;
    if (!check(Parameters::read(db(), Text1->text(), found),
               QStringLiteral("パラメタを読み込めませんでした。")))
        return;
    if (!found) {
        say(QStringLiteral("パラメタがありません。"));
        Text1->giveBack();
        return;
    }
    showParameter(*found);
}

void MUK4MM90::showParameter(const Parameter& parameter)
{
    setMode(Mode::Setting);
    Text1->setText(parameter.key);
    Text2->setText(parameter.first);
    Text3->setText(parameter.second);
    if (writtenElsewhere(parameter.key))
        LabelW->setText(QStringLiteral("他のデータベースにリンクしているので注意してください。"));
    else
        LabelW->clear();
    open(Text2);
}

void MUK4MM90::rowChosen(int row)
{
    const QStringList chosen = listed(row);
    if (!chosen.isEmpty())
        showParameter(Parameter{chosen[0], chosen[1], chosen[2]});
}

bool MUK4MM90::valueTaken(EntryField* field, int valueNumber, const QString& missing)
{
    const QString refusal = field->text().isEmpty()
                                ? missing
                                : SettingValues::refusal(Text1->text(), valueNumber, field->text());
    if (refusal.isEmpty())
        return true;
    say(refusal);
    field->giveBack();
    return false;
}

void MUK4MM90::firstEntered()
{
    if (valueTaken(Text2, 1, QStringLiteral("フィールド1がありません。")))
        open(Text3);
}

void MUK4MM90::secondEntered()
{
    if (valueTaken(Text3, 2, QStringLiteral("フィールド2がありません。")))
        open(RCBTN);
}

void MUK4MM90::registerClicked()
{
    bool found = false;
    {
        BusyCursor busy;
        const QString first = Text2->text().isEmpty() ? blank : Text2->text();
        const QString second = Text3->text().isEmpty() ? blank : Text3->text();
        if (!check(
                Parameters::change(
                    db(), Text1->text(),
                    {{"CB01", Text1->text()}, {"CB02", first}, {"CB03", second}, {"CB04", blank}},
                    &found),
                QStringLiteral("パラメタを設定できませんでした。")))
            return;
    }
    if (!found)
        say(QStringLiteral("パラメタがありません。"));
    activate();
}
