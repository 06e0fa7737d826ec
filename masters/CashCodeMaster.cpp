#include "masters/CashCodeMaster.h"

#include "data/Conversions.h"
#include "data/RecordSet.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {
const QString blank = QStringLiteral(" ");

// Codes run from "0000" to "9999"; 10000 wraps round to "0000" like the
// rest of the four-digit codes.
constexpr double highestCode = 10000;

QString orBlank(const QString& text)
{
    return text.isEmpty() ? blank : text;
}
} // namespace

CashCodeMaster::CashCodeMaster(Navigator& navigator, const CashCodeKind& kind)
    : MasterScreen(navigator, kind.screen, kind.title, MessageForm::Plain), kind_(kind)
{
    Text1 = addField(QStringLiteral("Text1"), 4, KeyFilter::Digits,
                     kind_.subject + QStringLiteral("コードを入力してください。"));
    Text2 = addField(QStringLiteral("Text2"), kind_.nameLength, KeyFilter::Any,
                     kind_.subject + QStringLiteral("名称を入力してください。"));
    Text3 = addField(QStringLiteral("Text3"), kind_.shortLength, KeyFilter::Any,
                     kind_.subject + QStringLiteral("略称を入力してください。"));
    Text1->setFixedWidth(80);
    // Room for the longest name in full-width characters.
    const int perCharacter = Text2->fontMetrics().horizontalAdvance(QStringLiteral("漢")) + 1;
    Text2->setFixedWidth(perCharacter * kind_.nameLength + 16);
    Text3->setFixedWidth(perCharacter * kind_.shortLength + 16);
    addRow(kind_.codeCaption, Text1);
    addRow(kind_.nameCaption, Text2);
    addRow(kind_.shortCaption, Text3);
    makeGrid({900, 5000, 2500});
    setEntryOrder({Text1, Text2, Text3});
    keepTable(kind_.table, Text1, kind_.subject + QStringLiteral("コードがありません。"));

    connect(Text1, &EntryField::focused, this, [this] {
        enable({Text2, Text3, RCBTN, DLBTN}, false);
    });
    connect(Text2, &EntryField::entered, this, &CashCodeMaster::nameEntered);
    connect(Text3, &EntryField::entered, this, &CashCodeMaster::shortNameEntered);
}

QString CashCodeMaster::field(int number) const
{
    return table().keyField().left(2) + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

QString CashCodeMaster::nameMissing() const
{
    return kind_.subject + QStringLiteral("名称がありません。");
}

void CashCodeMaster::areaInit()
{
    MasterScreen::areaInit();
    fillGrid({});
    Text1->clear();
    Text2->clear();
    Text3->clear();
    setMode(Mode::Add);
}

void CashCodeMaster::areaLock()
{
    enable({Text1, Text2, Text3, RCBTN, DLBTN, RTBTN}, false);
    enable({Text1, RTBTN}, true);
}

void CashCodeMaster::areaAssign()
{
    // "0000" is a code of its own here, so the list starts above "0".
    showList(Select(kind_.table)
                 .where(field(1), QStringLiteral(">"), QStringLiteral("0"))
                 .orderBy({field(1)}),
             {field(1), field(2), field(3)}, 1);
    MasterScreen::areaAssign();
}

std::optional<QString> CashCodeMaster::keyOf(const QString& typed)
{
    // An empty field counts as 0 and so chooses "0000".
    const double value = Conversions::toNumber(typed);
    if (value < 0 || value > highestCode)
        return std::nullopt;
    Text1->setText(Conversions::fourDigitCode(static_cast<qint64>(value)));
    return Text1->text();
}

void CashCodeMaster::showFound(const QVariantMap& record)
{
    enable({Text2, Text3, DLBTN}, true);
    Text1->setText(record.value(field(1)).toString());
    Text2->setText(record.value(field(2)).toString());
    Text3->setText(record.value(field(3)).toString());
    open(Text2);
}

void CashCodeMaster::showNew(const QString&)
{
    Text2->clear();
    Text3->clear();
    open(Text2);
}

void CashCodeMaster::nameEntered()
{
    if (Text2->text().isEmpty()) {
        say(nameMissing());
        Text2->giveBack();
        return;
    }
    open(Text3);
}

void CashCodeMaster::shortNameEntered()
{
    // The short name is asked for with the name's message.
    if (Text3->text().isEmpty()) {
        say(nameMissing());
        Text3->giveBack();
        return;
    }
    open(RCBTN);
}

void CashCodeMaster::rowChosen(int row)
{
    const QStringList chosen = listed(row);
    if (chosen.isEmpty())
        return;
    setMode(Mode::Change);
    enable({Text2, Text3, DLBTN}, true);
    // The field's four places drop the blank behind the listed code.
    Text1->setText(chosen[0]);
    Text2->setText(chosen[1]);
    Text3->setText(chosen[2]);
    open(Text2);
}

bool CashCodeMaster::entryChecked()
{
    areaLock();
    if (!Text2->text().isEmpty())
        return true;
    say(nameMissing());
    Text2->setEnabled(true);
    Text2->giveBack();
    return false;
}

QVariantMap CashCodeMaster::storedAlways() const
{
    // A change leaves the key, the spare field and the moment of adding as
    // they were.
    return {{field(2), Text2->text()}, {field(3), orBlank(Text3->text())}};
}

QVariantMap CashCodeMaster::storedOnAdd() const
{
    return {{field(4), blank}};
}
