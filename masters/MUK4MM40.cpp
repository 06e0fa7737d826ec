#include "masters/MUK4MM40.h"

#include "data/Conversions.h"
#include "data/RecordSet.h"

#include <QPushButton>

MUK4MM40::MUK4MM40(Navigator& navigator)
    : MasterScreen(navigator, QStringLiteral("MUK4MM40"),
                   QStringLiteral("担当者コード　登録・修正・削除"), MessageForm::Error)
{
    Text1 = addField(QStringLiteral("Text1"), 4, KeyFilter::Digits,
                     QStringLiteral("担当者コードを入力してください。"));
    Text2 = addField(QStringLiteral("Text2"), 20, KeyFilter::Any,
                     QStringLiteral("担当者名を入力してください。"));
    Text1->setFixedWidth(80);
    Text2->setMinimumWidth(320);
    addRow(QStringLiteral("担当者コード"), Text1);
    addRow(QStringLiteral("担当者名"), Text2);
    makeGrid({1200, 4500});
    setEntryOrder({Text1, Text2});
    keepTable(QStringLiteral("MBMCHR"), Text1, QStringLiteral("担当者コードがありません。"));

    connect(Text1, &EntryField::focused, this, [this] { enable({Text2, RCBTN, DLBTN}, false); });
    connect(Text2, &EntryField::focused, this, [this] {
        enable({RCBTN, DLBTN}, false);
        DLBTN->setEnabled(mode() == Mode::Change);
    });
    connect(Text2, &EntryField::entered, this, [this] {
        if (Text2->text().isEmpty()) {
            say(QStringLiteral("担当者名がありません。"));
            Text2->giveBack();
            return;
        }
        open(RCBTN);
    });
}

void MUK4MM40::areaInit()
{
    MasterScreen::areaInit();
    fillGrid({});
    Text1->clear();
    Text2->clear();
    setMode(Mode::Add);
}

void MUK4MM40::areaLock()
{
    enable({Text2, RCBTN, DLBTN}, false);
}

void MUK4MM40::areaAssign()
{
    showList(Select(QStringLiteral("MBMCHR"))
                 .where(QStringLiteral("CB01"), QStringLiteral(">"), QStringLiteral("0000"))
                 .orderBy({QStringLiteral("CB01")}),
             {QStringLiteral("CB01"), QStringLiteral("CB02")}, 3);
    MasterScreen::areaAssign();
}

std::optional<QString> MUK4MM40::keyOf(const QString& typed)
{
    const double value = Conversions::toNumber(typed);
    if (value <= 0)
        return std::nullopt;
    Text1->setText(Conversions::fourDigitCode(static_cast<qint64>(value)));
    return Text1->text();
}

void MUK4MM40::showFound(const QVariantMap& record)
{
    Text1->setText(record.value(QStringLiteral("CB01")).toString());
    Text2->setText(record.value(QStringLiteral("CB02")).toString());
    open(Text2);
}

void MUK4MM40::showNew(const QString&)
{
    Text2->clear();
    DLBTN->setEnabled(false);
    open(Text2);
}

void MUK4MM40::rowChosen(int row)
{
    const QStringList chosen = listed(row);
    if (chosen.isEmpty())
        return;
    setMode(Mode::Change);
    Text1->setText(chosen[0]);
    Text2->setText(chosen[1]);
    open(Text2);
}

QVariantMap MUK4MM40::storedAlways() const
{
    const QString blank = QStringLiteral(" ");
    return {{"CB01", Text1->text()}, {"CB02", Text2->text()}, {"CB03", blank}, {"CB04", blank}};
}
