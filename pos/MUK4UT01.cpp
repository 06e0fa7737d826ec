#include "pos/MUK4UT01.h"

#include "data/Clock.h"
#include "data/Conversions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace {
const QList<std::pair<int, QString>> salesJumps{{Qt::Key_F2, QStringLiteral("MUK4UT05")},
                                                {Qt::Key_F4, QStringLiteral("MUK4UT06")},
                                                {Qt::Key_F5, QStringLiteral("MUK4UT11")}};

const QString Return = QStringLiteral("F10.Return");
} // namespace

MUK4UT01::MUK4UT01(Navigator& navigator)
    : MUK4UT01(navigator, QStringLiteral("MUK4UT01"), QStringLiteral("売上POSトランザクション"),
               salesJumps)
{
}

MUK4UT01::MUK4UT01(Navigator& navigator, const QString& code, const QString& titleText,
                   const QList<std::pair<int, QString>>& jumps)
    : CounterScreen(navigator, code, titleText, MessageForm::Error,
                    {{QStringLiteral("レコードNo"), 1000},
                     {QStringLiteral("商品コード"), 2000},
                     {QStringLiteral("商品名"), 3000},
                     {QStringLiteral("売価（税込み）"), 1400, true},
                     {QStringLiteral("数量"), 1000, true},
                     {QStringLiteral("金額（税込み）"), 1600, true}},
                    jumps)
{
    buildEntry();
}

void MUK4UT01::buildEntry()
{
    Text4 = addField(QStringLiteral("Text4"), 20, KeyFilter::CounterCode,
                     QStringLiteral("商品コードを入力してください。"));
    Text5 = display(QStringLiteral("Text5"), 300);
    Text6 = addField(QStringLiteral("Text6"), 9, KeyFilter::DigitsMinus,
                     QStringLiteral("売単価を入力してください。"));
    Text7 = addField(QStringLiteral("Text7"), 5, KeyFilter::Digits,
                     QStringLiteral("数量を入力してください。"));
    enlarge({Text4, Text5, Text6, Text7});
    Text4->setMinimumWidth(190);
    Text6->setMinimumWidth(120);
    Text7->setMaximumWidth(80);
    Text6->setAlignment(Qt::AlignRight);
    Text7->setAlignment(Qt::AlignRight);
    auto label = [this](const QString& name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        return l;
    };
    LabelG1 = label(QStringLiteral("LabelG1"));
    LabelG2 = label(QStringLiteral("LabelG2"));
    LabelZ = label(QStringLiteral("LabelZ"));
    LabelV = label(QStringLiteral("LabelV"));
    LabelZ->setStyleSheet(QStringLiteral("color: #C00000; font-weight: bold;"));

    QGridLayout* entry = entryArea();
    entry->addWidget(caption(QStringLiteral("商品コード"), Text4), 0, 0);
    entry->addWidget(Text4, 0, 1);
    entry->addWidget(caption(QStringLiteral("商品名"), Text5), 0, 2);
    entry->addWidget(Text5, 0, 3, 1, 3);
    entry->addWidget(caption(QStringLiteral("売単価     （税込み）"), Text6), 1, 0);
    entry->addWidget(Text6, 1, 1);
    entry->addWidget(caption(QStringLiteral("数量"), Text7), 1, 2);
    auto* quantityRow = new QHBoxLayout;
    quantityRow->addWidget(Text7);
    quantityRow->addSpacing(20);
    quantityRow->addWidget(caption(QStringLiteral("大分類"), LabelG1));
    quantityRow->addWidget(LabelG1, 1);
    quantityRow->addWidget(caption(QStringLiteral("中分類"), LabelG2));
    quantityRow->addWidget(LabelG2, 1);
    entry->addLayout(quantityRow, 1, 3, 1, 3);
    entry->addWidget(LabelZ, 2, 0, 1, 4);
    entry->addWidget(LabelV, 2, 4, 1, 2, Qt::AlignRight);
    entry->setColumnStretch(3, 1);

    OP1 = new QRadioButton(QStringLiteral("売上"), this);
    OP2 = new QRadioButton(QStringLiteral("内金＋売掛"), this);
    OP3 = new QRadioButton(QStringLiteral("売掛"), this);
    const std::pair<QRadioButton*, Settlement> options[] = {
        {OP1, Settlement::Cash}, {OP2, Settlement::PartialCredit}, {OP3, Settlement::Credit}};
    int n = 0;
    for (const auto& [option, kind] : options) {
        option->setObjectName(QStringLiteral("OP%1").arg(++n));
        option->setFocusPolicy(Qt::ClickFocus);
        choiceArea()->addWidget(option);
        connect(option, &QRadioButton::clicked, this, [this, kind = kind] {
            choose(kind);
            backToTender();
        });
    }

    Text10 = figure(QStringLiteral("Text10"), 1.0);
    Text11 = figure(QStringLiteral("Text11"), 1.0);
    Text12 = figure(QStringLiteral("Text12"), 1.0);
    for (QLineEdit* field : {Text10, Text11, Text12})
        field->setMinimumWidth(70);
    // One caption stands for the three figures; the other two are named on
    // their own.
    Text11->setAccessibleName(QStringLiteral("税"));
    Text12->setAccessibleName(QStringLiteral("値引"));
    QGridLayout* figures = figureArea();
    figures->addWidget(caption(QStringLiteral("本価/税/値引"), Text10), 3, 0);
    figures->addWidget(Text10, 3, 1);
    figures->addWidget(Text11, 3, 2);
    figures->addWidget(Text12, 3, 3);

    setTabOrder(Text4, Text6);
    setTabOrder(Text6, Text7);
    connect(Text4, &EntryField::focused, this,
            [this] { lineFieldFocused(firstFieldLegend(), Qt::AlignLeft); });
    connect(Text4, &EntryField::entered, this, &MUK4UT01::lookUp);
    connect(Text4, &EntryField::plusPressed, this, [this] { plusPressed(Text4); });
    // A code typed over is a product not yet looked up.
    connect(Text4, &QLineEdit::textEdited, this, [this] { priced_.reset(); });
    for (EntryField* field : {Text6, Text7}) {
        connect(field, &EntryField::focused, this, [this, field] {
            if (field->text().isEmpty())
                field->setText(field == Text6 ? QStringLiteral("0") : QStringLiteral("1"));
            field->setAlignment(Qt::AlignLeft);
            field->selectAll();
            lineFieldFocused(Return, Qt::AlignRight);
        });
    }
    // Only this screen's tender reads from the left while it is typed.
    connect(Text8, &EntryField::focused, this, [this] { Text8->setAlignment(Qt::AlignLeft); });
    connect(Text6, &EntryField::entered, this, &MUK4UT01::priceEntered);
    connect(Text7, &EntryField::entered, this, &MUK4UT01::quantityEntered);
}

QString MUK4UT01::firstFieldLegend() const
{
    return QStringLiteral("F2.入金POSトランザクション    F4.支払POSトランザクション     "
                          "F5.返品POSトランザクション    F10.Return");
}

QString MUK4UT01::subject() const
{
    return QStringLiteral("売上");
}

QWidget* MUK4UT01::firstField() const
{
    return Text4;
}

void MUK4UT01::areaAssign()
{
    CounterScreen::areaAssign();
    choose(Settlement::Cash);
}

void MUK4UT01::areaInit()
{
    CounterScreen::areaInit();
    for (QLineEdit* figure : {Text10, Text11, Text12})
        figure->clear();
}

void MUK4UT01::resetLines()
{
    lines_.clear();
    totals_ = {};
    priced_.reset();
}

void MUK4UT01::clearEntry()
{
    for (QLineEdit* field : {static_cast<QLineEdit*>(Text4), Text5, static_cast<QLineEdit*>(Text6),
                             static_cast<QLineEdit*>(Text7)})
        field->clear();
    for (QLabel* label : {LabelZ, LabelV, LabelG1, LabelG2})
        label->clear();
    priced_.reset();
}

void MUK4UT01::lookUp()
{
    const QString code = Text4->text();
    if (code.size() != 13) {
        say(QStringLiteral("商品コードの桁数が違います。"));
        Text4->giveBack();
        return;
    }
    std::optional<CounterProduct> product;
    if (!check(findProduct(db(), code, product), QStringLiteral("商品を読み込めませんでした。")))
        return;
    if (!product) {
        Text5->setText(QStringLiteral("MRNF"));
        say(QStringLiteral("商品コードが不正です。"));
        Text4->giveBack();
        return;
    }
    if (!product->badValue.isEmpty()) {
        showBox(QMessageBox::Critical, QStringLiteral("MESSAGE"),
                QStringLiteral("商品の単価を読み込めませんでした。"),
                QStringLiteral("MBMSHO %1: %2 is no number of %3 digits")
                    .arg(code, product->badValue)
                    .arg(PriceDigits));
        Text4->giveBack();
        return;
    }
    QString major;
    QString middle;
    if (!check(categoryLabel(db(), QStringLiteral("MBMBRL"), product->major, major),
               QStringLiteral("分類を読み込めませんでした。")) ||
        !check(categoryLabel(db(), QStringLiteral("MBMBRM"), product->middle, middle),
               QStringLiteral("分類を読み込めませんでした。")))
        return;
    Text5->setText(product->name);
    LabelG1->setText(major);
    LabelG2->setText(middle);
    Text6->setText(product->price);
    // A line being changed keeps the class and rate it was sold at, even
    // when the product's class changed since.
    bool reduced = product->reduced;
    double rate = shop().rateOf(reduced);
    if (entryMode() == EntryMode::Change && lines_.at(lineNumber()).code == code) {
        reduced = lines_.at(lineNumber()).reduced;
        rate = lines_.at(lineNumber()).taxRate;
    }
    LabelV->setText(regularPriceNote(*product, rate));
    priced_ = Priced{code,
                     product->major,
                     product->middle,
                     Conversions::toNumber(product->cost),
                     QString(),
                     reduced,
                     rate};
    LabelZ->clear();
    if (usesSpecialPrices()) {
        const SpecialOffer offer = specialOffer(*product, Clock::today(), Clock::time());
        if (offer.inForce) {
            Text6->setText(offer.price);
            LabelZ->setText(offer.label);
            priced_->special = offer.price;
        }
    }
    Text6->setFocus();
}

void MUK4UT01::priceEntered()
{
    Text6->setText(Conversions::plainNumber(Conversions::toNumber(Text6->text())));
    Text6->setAlignment(Qt::AlignRight);
    Text7->setFocus();
}

void MUK4UT01::quantityEntered()
{
    const bool found = priced_ && !Text4->text().isEmpty() && priced_->code == Text4->text();
    if (!lineReady({{Text4, found}, {Text6, filled(Text6)}, {Text7, filled(Text7)}}, {Text5}))
        return;
    if (!roomForLine())
        return;
    const QString quantity = Conversions::plainNumber(Conversions::toNumber(Text7->text()));
    const double price = Conversions::toNumber(Text6->text());
    SaleLine line = SaleLine::make(Text4->text(), Text5->text(), price, quantity, priced_->taxRate,
                                   priced_->major, priced_->middle, priced_->cost);
    line.reduced = priced_->reduced;
    line.special = !priced_->special.isEmpty() && price == Conversions::toNumber(priced_->special);
    if (!amountsFit(line.amount, totalsOf(lines_.with(lineNumber(), line).all()).total, Text7))
        return;
    lines_.put(lineNumber(), line);
    lineStored();
}

QStringList MUK4UT01::gridRow(int number) const
{
    using namespace Conversions;
    const SaleLine& line = lines_.at(number);
    return {QString::number(number),
            line.code,
            line.reduced ? line.name + QStringLiteral(" ※") : line.name,
            format(line.unitPrice, Amount7),
            format(line.quantity, Amount7),
            format(line.amount, Amount9)};
}

void MUK4UT01::lineChosen(int number)
{
    const SaleLine& line = lines_.at(number);
    clearEntry();
    Text4->setText(line.code);
    Text5->setText(line.name);
    Text6->setText(Conversions::plainNumber(line.unitPrice));
    Text7->setText(line.quantityText);
    priced_ = Priced{line.code,
                     line.major,
                     line.middle,
                     line.cost,
                     line.special ? Conversions::plainNumber(line.unitPrice) : QString(),
                     line.reduced,
                     line.taxRate};
}

void MUK4UT01::decorateRow(int row, int number)
{
    // A line sold at the special price shows it in the special's colour.
    if (!lines_.at(number).special)
        return;
    if (QTableWidgetItem* price = FG1->item(row, 3)) {
        price->setForeground(QColor(0xC0, 0x00, 0x00));
        QFont bold = price->font();
        bold.setBold(true);
        price->setFont(bold);
        price->setToolTip(QStringLiteral("特売"));
    }
}

void MUK4UT01::showTotals()
{
    using namespace Conversions;
    totals_ = totalsOf(lines_.all());
    Text10->setText(format(totals_.base, Amount10));
    Text11->setText(format(totals_.tax, Amount10));
    Text3->setText(format(totals_.total, Amount10));
}

void MUK4UT01::choose(Settlement kind)
{
    const bool cash = kind == Settlement::Cash;
    OP1->setChecked(kind == Settlement::Cash);
    OP2->setChecked(kind == Settlement::PartialCredit);
    OP3->setChecked(kind == Settlement::Credit);
    RSBTN->setText(cash ? QStringLiteral("レシート") : QStringLiteral("売掛情報"));
    setChangeCaption(cash ? QStringLiteral("お釣り金額") : QStringLiteral(" 売掛金額"));
}

Settlement MUK4UT01::settlement() const
{
    if (OP2->isChecked())
        return Settlement::PartialCredit;
    if (OP3->isChecked())
        return Settlement::Credit;
    return Settlement::Cash;
}

QString MUK4UT01::postPrompt() const
{
    return QStringLiteral("レシート/売掛情報ボタンをクリックしてください。");
}

PostingResult MUK4UT01::postTransaction(const QString& receipt, const QDateTime& moment)
{
    draft_ = SaleDraft{};
    static_cast<ReceiptStamp&>(draft_) = stamp(receipt, moment);
    draft_.isReturn = isReturn();
    draft_.lines = lines_.all();
    draft_.settlement = settlement();
    draft_.tendered = tendered();
    return postSale(db(), draft_);
}

ReceiptOutcome MUK4UT01::makeReceipt()
{
    return receiptMaker().sale(
        finishedSale(draft_, shop().staffName, shop().taxRate, shop().registrationNumber),
        Database::folder(), shop().storeName);
}

bool MUK4UT01::closesAfterPosting() const
{
    return onCredit(draft_.settlement);
}
