#include "reports/MUK4XP02.h"

#include "pos/ReceiptOutput.h"
#include "pos/StoredReceipt.h"
#include "reports/ReportGrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const int NumberWidth = 1100; // twips

QStringList headingTexts()
{
    QStringList texts;
    for (const char* text :
         {"レシート番号", "時間", "売上区分 商品名", "担当者 商品CD", "売上金額（税込み）",
          "売上金額（本価）", "数量", "売上金額（税抜き）", "消費税額"})
        texts << QString::fromUtf8(text);
    return texts;
}
} // namespace

MUK4XP02::MUK4XP02(Navigator& navigator)
    : ReportScreen(navigator, QStringLiteral("MUK4XP02"), QStringLiteral("レシート情報　ダンプ"),
                   QStringLiteral("MUK4SC09"))
{
    Text1 = addStoreName(0, 0);
    addDateField(QStringLiteral("日付"), QStringLiteral("日付が間違っています。"), 0, 2);
    addRegisterChoice();
    CK1 = new QCheckBox(QStringLiteral("レシート番号でスペース改行"), this);
    CK1->setObjectName(QStringLiteral("CK1"));
    fields()->addWidget(CK1, 0, 4);
    LabelR = new QLabel(this);
    LabelR->setObjectName(QStringLiteral("LabelR"));
    LabelR->setMinimumWidth(60);
    LabelR->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields()->addWidget(LabelR, 0, 6);
    fields()->setColumnStretch(5, 1);
    // The box is read at the next run; it only hands the keyboard back.
    connect(CK1, &QCheckBox::clicked, this, [this] {
        if (dateField()->isEnabled())
            dateField()->setFocus();
        else if (SJBTN->isEnabled())
            SJBTN->setFocus();
    });

    FG1 = new ReportGrid(QStringLiteral("FG1"),
                         {NumberWidth, 1100, 2100, 1900, 1600, 1600, 800, 1600, 1000}, this);
    FG1->alignRight({4, 5, 6, 7, 8});
    // A row is chosen with the mouse for F7; the keyboard stays where it is.
    FG1->setSelectionMode(QAbstractItemView::SingleSelection);
    FG1->setSelectionBehavior(QAbstractItemView::SelectRows);
    QList<QWidget*> headings;
    for (const QString& text : headingTexts()) {
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignCenter);
        headings << label;
    }
    numberHeading_ = static_cast<QLabel*>(headings.front());
    LabelID = new QLabel(this);
    LabelID->setObjectName(QStringLiteral("LabelID"));
    result()->addLayout(FG1->alignedRow(headings));
    result()->addWidget(FG1, 1);
    result()->addWidget(LabelID);
}

void MUK4XP02::clearResult()
{
    FG1->clear();
    owners_.clear();
    LabelID->clear();
    LabelR->clear();
}

void MUK4XP02::areaAssign()
{
    ReportScreen::areaAssign();
    dateField()->setText(businessDate());
}

void MUK4XP02::run(const QString& date)
{
    ReceiptDump::Listing listing;
    if (!check(ReceiptDump::run(db(), where(), ownRegister(), date, CK1->isChecked(), listing),
               QStringLiteral("レシート情報を作成できませんでした。"))) {
        dateField()->giveBack();
        return;
    }
    // Every register's listing has the register before each receipt number.
    const int numberWidth = where().registerCode ? NumberWidth : NumberWidth + 400;
    FG1->setWidth(0, numberWidth);
    numberHeading_->setFixedWidth(ReportGrid::pixels(numberWidth));
    FG1->setRows(std::move(listing.rows));
    owners_ = std::move(listing.owners);
    LabelR->setText(QString::number(listing.receipts));
    LabelID->setText(listing.summary);
    showResult(RTBTN);
    labelPFK()->setText(QStringLiteral("F7.再発行  ") + labelPFK()->text());
}

bool MUK4XP02::functionKey(int key)
{
    // Only a listing has receipts to choose.
    if (key == Qt::Key_F7 && !dateField()->isEnabled()) {
        reprint();
        return true;
    }
    return ReportScreen::functionKey(key);
}

void MUK4XP02::reprint()
{
    const int row = FG1->currentIndex().isValid() ? FG1->currentIndex().row() : -1;
    const ReceiptDump::Owner owner = owners_.value(row);
    StoredReceipt::Found found;
    if (!owner.receipt.isEmpty() &&
        !check(StoredReceipt::read(db(), owner.table,
                                   {where().store, owner.registerCode, owner.receipt}, found),
               QStringLiteral("レシートを読み込めませんでした。")))
        return;
    if (std::holds_alternative<std::monostate>(found)) {
        message(MessageForm::Plain, QStringLiteral("再発行するレシートを選択してください。"));
        return;
    }
    const QString other = owner.registerCode == ownRegister() ? QString() : owner.registerCode;
    ReceiptOutcome outcome;
    {
        BusyCursor busy;
        if (const auto* sale = std::get_if<FinishedSale>(&found))
            outcome = produceCopy(*sale, Database::folder(), Text1->text(), other);
        else
            outcome = produceCopy(std::get<FinishedCashMovement>(found), Database::folder(),
                                  Text1->text(), other);
    }
    labelM()->setText(outcome.copyNote());
    if (outcome.kind == ReceiptOutcome::Kind::Failed)
        showBox(QMessageBox::Critical, QStringLiteral("MESSAGE"), outcome.copyNote(),
                outcome.detail);
}

ReportFile MUK4XP02::reportFile() const
{
    return {{headingTexts()}, FG1->rows(), {{LabelID->text()}}};
}

QString MUK4XP02::filePeriod() const
{
    return dateField()->text();
}
