#include "pos/MUK4UT05.h"

#include "data/Conversions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {
const QString Return = QStringLiteral("F10.Return");
} // namespace

MUK4UT05::MUK4UT05(Navigator& navigator)
    : MUK4UT05(navigator,
               {CashDirection::Deposit,
                QStringLiteral("MUK4UT05"),
                QStringLiteral("入金POSトランザクション"),
                QStringLiteral("入金額"),
                QStringLiteral("売価"),
                {{Qt::Key_F1, QStringLiteral("MUK4UT01")},
                 {Qt::Key_F4, QStringLiteral("MUK4UT06")},
                 {Qt::Key_F5, QStringLiteral("MUK4UT11")}},
                QStringLiteral("F1.売上POSトランザクション    F4.支払POSトランザクション     "
                               "F5.返品POSトランザクション    F10.Return"),
                QStringLiteral("入金")})
{
}

MUK4UT05::MUK4UT05(Navigator& navigator, const Direction& direction)
    : CounterScreen(navigator, direction.code, direction.title, MessageForm::Plain,
                    {{QStringLiteral("レコードNo"), 1000},
                     {QStringLiteral("科目CD"), 700},
                     {QStringLiteral("科目名"), 1500},
                     {QStringLiteral("摘要"), 1500},
                     {QStringLiteral("取引先CD"), 700},
                     {QStringLiteral("取引先名"), 1600},
                     {direction.unitHeading, 1000, true},
                     {QStringLiteral("数量"), 700, true},
                     {QStringLiteral("金額"), 1300, true}},
                    direction.jumps),
      direction_(direction)
{
    buildEntry();
    setTotalCaption(QStringLiteral("合計金額"));
    RSBTN->setText(QStringLiteral("レシ－ト"));
}

void MUK4UT05::buildEntry()
{
    Text4 = addField(QStringLiteral("Text4"), 4, KeyFilter::CounterCode,
                     QStringLiteral("科目コードを入力してください。"));
    Text5 = display(QStringLiteral("Text5"), 150);
    Text10 = addField(QStringLiteral("Text10"), 7, KeyFilter::Any,
                      QStringLiteral("摘要を入力してください。"));
    Text11 = addField(QStringLiteral("Text11"), 4, KeyFilter::Digits,
                      QStringLiteral("取引先コードを入力してください。"));
    Text12 = display(QStringLiteral("Text12"), 200);
    Text6 = addField(QStringLiteral("Text6"), 6, KeyFilter::DigitsMinus,
                     QStringLiteral("売単価を入力してください。"));
    Text7 = addField(QStringLiteral("Text7"), 3, KeyFilter::Digits,
                     QStringLiteral("数量を入力してください。"));
    enlarge({Text4, Text5, Text10, Text11, Text12, Text6, Text7});
    Text4->setMaximumWidth(90);
    Text11->setMaximumWidth(90);
    Text10->setMinimumWidth(150);
    Text6->setMaximumWidth(120);
    Text7->setMaximumWidth(70);
    Text6->setAlignment(Qt::AlignRight);
    Text7->setAlignment(Qt::AlignRight);

    LabelZ = new QLabel(this);
    LabelZ->setObjectName(QStringLiteral("LabelZ"));
    LabelZ->setStyleSheet(QStringLiteral("color: #C00000; font-weight: bold;"));
    LabelZ->setMinimumWidth(16);
    LabelS = new QLabel(this);
    LabelS->setObjectName(QStringLiteral("LabelS"));
    // Names come from the masters: never read as markup.
    LabelS->setTextFormat(Qt::PlainText);
    LabelS->setWordWrap(true);
    LabelS->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelS->setMinimumHeight(2 * LabelS->fontMetrics().height() + 8);
    LabelS->setFrameShape(QFrame::StyledPanel);
    LabelS->setStyleSheet(QStringLiteral("QLabel { background: #FFFFF0; }"));

    QGridLayout* entry = entryArea();
    entry->addWidget(caption(QStringLiteral("科目コード"), Text4), 0, 0);
    entry->addWidget(Text4, 0, 1);
    entry->addWidget(caption(QStringLiteral("科目名"), Text5), 0, 2);
    entry->addWidget(Text5, 0, 3);
    entry->addWidget(caption(QStringLiteral("摘要"), Text10), 0, 4);
    entry->addWidget(Text10, 0, 5, 1, 4);
    // The caption stands in two lines, "コード" under "取引先".
    QLabel* partnerCaption = caption(QStringLiteral("取引先       コード"), Text11);
    partnerCaption->setWordWrap(true);
    partnerCaption->setMaximumWidth(
        partnerCaption->fontMetrics().horizontalAdvance(QStringLiteral("取引先__")));
    entry->addWidget(partnerCaption, 1, 0);
    entry->addWidget(Text11, 1, 1);
    entry->addWidget(caption(QStringLiteral("取引先名"), Text12), 1, 2);
    entry->addWidget(Text12, 1, 3);
    entry->addWidget(caption(direction_.amountCaption, Text6), 1, 4);
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(Text6);
    amountRow->addWidget(LabelZ);
    entry->addLayout(amountRow, 1, 5);
    entry->addWidget(caption(QStringLiteral("数量"), Text7), 1, 6);
    entry->addWidget(Text7, 1, 7);
    entry->addWidget(LabelS, 2, 0, 1, 9);
    entry->setColumnStretch(8, 1);

    setTabOrder(Text4, Text10);
    setTabOrder(Text10, Text11);
    setTabOrder(Text11, Text6);
    setTabOrder(Text6, Text7);
    for (EntryField* field : {Text4, Text10, Text11, Text6, Text7})
        connect(field, &EntryField::focused, this, [this, field] { fieldFocused(field); });
    connect(Text8, &EntryField::focused, LabelS, &QLabel::clear);
    connect(Text4, &EntryField::entered, this, &MUK4UT05::accountEntered);
    connect(Text4, &EntryField::plusPressed, this, [this] { plusPressed(Text4); });
    connect(Text10, &EntryField::entered, this, [this] {
        if (Text10->text().isEmpty())
            Text10->setText(QStringLiteral(" "));
        Text11->setFocus();
    });
    connect(Text11, &EntryField::entered, this, &MUK4UT05::partnerEntered);
    connect(Text6, &EntryField::entered, this, &MUK4UT05::amountEntered);
    connect(Text7, &EntryField::entered, this, &MUK4UT05::quantityEntered);
}

QWidget* MUK4UT05::firstField() const
{
    return Text4;
}

void MUK4UT05::loadData()
{
    CounterScreen::loadData();
    Text1->setText(Conversions::leftChars(shop().storeName, 8));
}

void MUK4UT05::areaLock()
{
    CounterScreen::areaLock();
    // Nothing to choose until the first line is listed.
    FG1->setEnabled(false);
}

void MUK4UT05::fieldFocused(EntryField* field)
{
    const bool first = field == Text4;
    lineFieldFocused(first ? firstFieldLegend() : Return, first ? Qt::AlignLeft : Qt::AlignRight);
    // The codes to choose from stand beside the code fields.
    QString help;
    if (field == Text4)
        check(accountHelp(db(), help), QStringLiteral("科目を読み込めませんでした。"));
    else if (field == Text11)
        check(partnerHelp(db(), help), QStringLiteral("取引先を読み込めませんでした。"));
    LabelS->setText(help);
    if (field->text().isEmpty() && (field == Text6 || field == Text7)) {
        field->setText(field == Text6 ? QStringLiteral("0") : QStringLiteral("1"));
        field->selectAll();
    }
}

void MUK4UT05::accountEntered()
{
    std::optional<QString> name;
    if (!check(findAccount(db(), Text4->text(), name),
               QStringLiteral("科目を読み込めませんでした。")))
        return;
    if (!name) {
        accountFound_.clear();
        Text5->setText(QStringLiteral("MRNF"));
        say(QStringLiteral("科目コードが不正です。"));
        Text4->giveBack();
        return;
    }
    accountFound_ = Text4->text();
    Text5->setText(*name);
    Text10->setFocus();
}

void MUK4UT05::partnerEntered()
{
    const QString code =
        Conversions::fourDigitCode(static_cast<qint64>(Conversions::toNumber(Text11->text())));
    Text11->setText(code);
    std::optional<QString> name;
    if (!check(findPartner(db(), code, name), QStringLiteral("取引先を読み込めませんでした。")))
        return;
    if (!name) {
        partnerFound_.clear();
        Text12->setText(QStringLiteral("MRNF"));
        say(QStringLiteral("取引先コードが不正です。"));
        Text11->giveBack();
        return;
    }
    partnerFound_ = code;
    Text12->setText(*name);
    Text6->setFocus();
}

void MUK4UT05::amountEntered()
{
    const double amount = Conversions::toNumber(Text6->text());
    Text6->setText(Conversions::plainNumber(amount));
    // An amount that adds nothing is marked before it is confirmed.
    LabelZ->setText(amount <= 0 ? QStringLiteral("*") : QString());
    Text7->setFocus();
}

void MUK4UT05::quantityEntered()
{
    const bool account = !Text4->text().isEmpty() && Text4->text() == accountFound_;
    const bool partner = !Text11->text().isEmpty() && Text11->text() == partnerFound_;
    if (!lineReady(
            {{Text4, account}, {Text11, partner}, {Text6, filled(Text6)}, {Text7, filled(Text7)}},
            {Text5, Text12}))
        return;
    if (!roomForLine())
        return;
    const QString memo = Text10->text().isEmpty() ? QStringLiteral(" ") : Text10->text();
    const CashLine line =
        CashLine::make(Text4->text(), Text5->text(), memo, Text11->text(), Text12->text(),
                       Conversions::toNumber(Text6->text()),
                       Conversions::plainNumber(Conversions::toNumber(Text7->text())));
    if (!amountsFit(line.amount,
                    cashTotalsOf(lines_.with(lineNumber(), line).all(), shop().taxRate).total,
                    Text7))
        return;
    FG1->setEnabled(true);
    lines_.put(lineNumber(), line);
    lineStored();
}

QStringList MUK4UT05::gridRow(int number) const
{
    using namespace Conversions;
    const CashLine& line = lines_.at(number);
    return {QString::number(number),
            line.accountCode,
            line.accountName,
            line.memo,
            line.partnerCode,
            line.partnerName,
            format(line.unitAmount, Amount7),
            format(line.quantity, Amount7),
            format(line.amount, Amount9)};
}

void MUK4UT05::lineChosen(int number)
{
    const CashLine& line = lines_.at(number);
    clearEntry();
    Text4->setText(line.accountCode);
    Text5->setText(line.accountName);
    Text10->setText(line.memo);
    Text11->setText(line.partnerCode);
    Text12->setText(line.partnerName);
    Text6->setText(Conversions::plainNumber(line.unitAmount));
    Text7->setText(line.quantityText);
    accountFound_ = line.accountCode;
    partnerFound_ = line.partnerCode;
}

void MUK4UT05::clearEntry()
{
    for (QLineEdit* field : QList<QLineEdit*>{Text4, Text5, Text10, Text11, Text12, Text6, Text7})
        field->clear();
    LabelZ->clear();
    accountFound_.clear();
    partnerFound_.clear();
}

void MUK4UT05::showTotals()
{
    totals_ = cashTotalsOf(lines_.all(), shop().taxRate);
    Text3->setText(Conversions::format(totals_.total, Conversions::Amount10));
}

void MUK4UT05::resetLines()
{
    lines_.clear();
    totals_ = {};
}

void MUK4UT05::proposeTender()
{
    // The total as the number-to-text conversion writes it, with the
    // leading blank of a positive amount.
    Text8->setText(Conversions::numberText(amountDue()));
}

QString MUK4UT05::postPrompt() const
{
    return QStringLiteral("レシートボタンをクリックしてください。");
}

PostingResult MUK4UT05::postTransaction(const QString& receipt, const QDateTime& moment)
{
    draft_ = CashDraft{};
    static_cast<ReceiptStamp&>(draft_) = stamp(receipt, moment);
    draft_.direction = direction_.direction;
    draft_.lines = lines_.all();
    draft_.taxRate = shop().taxRate;
    draft_.tendered = tendered();
    return postCashMovement(db(), draft_);
}

ReceiptOutcome MUK4UT05::makeReceipt()
{
    return receiptMaker().cash(finishedCashMovement(draft_, shop().staffName), Database::folder(),
                               shop().storeName);
}
