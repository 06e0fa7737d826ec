#include "pos/CounterScreen.h"

#include "data/Clock.h"
#include "data/Conversions.h"
#include "shell/ListGrid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {
ReceiptMaker& maker()
{
    // The receipt layer, unless a test has put its own in place.
    static ReceiptMaker instance{
        [](const FinishedSale& sale, const QString& folder, const QString& store) {
            return produceReceipt(sale, folder, store);
        },
        [](const FinishedCashMovement& movement, const QString& folder, const QString& store) {
            return produceReceipt(movement, folder, store);
        }};
    return instance;
}

const QString Return = QStringLiteral("F10.Return");
} // namespace

void CounterScreen::setReceiptMaker(ReceiptMaker m)
{
    maker() = std::move(m);
}

const ReceiptMaker& CounterScreen::receiptMaker()
{
    return maker();
}

CounterScreen::CounterScreen(Navigator& navigator, const QString& code, const QString& titleText,
                             MessageForm form, const QList<Column>& columns,
                             const QList<std::pair<int, QString>>& jumps)
    : Screen(navigator, code, titleText), form_(form), jumps_(jumps)
{
    // Top: the store, the receipt being entered and the cashier.
    Text1 = display(QStringLiteral("Text1"), 200);
    Text2 = display(QStringLiteral("Text2"), 120);
    CB1 = new QComboBox(this);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->setMinimumWidth(220);
    CB1->setFocusPolicy(Qt::ClickFocus);
    LabelN = new QLabel(this);
    LabelN->setObjectName(QStringLiteral("LabelN"));
    LabelN->setMinimumWidth(50);
    auto* top = new QHBoxLayout;
    top->addWidget(caption(QStringLiteral("店舗名"), Text1));
    top->addWidget(Text1);
    top->addSpacing(20);
    top->addWidget(caption(QStringLiteral("レシートNo"), Text2));
    top->addWidget(Text2);
    top->addStretch(1);
    top->addWidget(caption(QStringLiteral("担当者"), CB1));
    top->addWidget(CB1);
    top->addWidget(LabelN);
    connect(CB1, &QComboBox::activated, this, &CounterScreen::cashierChosen);

    // The lines; the headings stand above the columns.
    QList<int> widths;
    QStringList headings;
    for (const Column& column : columns) {
        widths << column.twips;
        headings << column.heading;
        figures_ << column.figure;
    }
    auto* grid = new ListGrid(widths, this);
    FG1 = grid;
    FG1->setHorizontalHeaderLabels(headings);
    FG1->horizontalHeader()->show();
    FG1->setFocusPolicy(Qt::ClickFocus);
    connect(grid, &ListGrid::rowChosen, this, &CounterScreen::rowChosen);

    entryArea_ = new QGridLayout;
    entryArea_->setHorizontalSpacing(10);
    entryArea_->setVerticalSpacing(6);

    // Bottom left: the entry mode and the settlement choice; bottom right:
    // the figures of the register display and the two buttons.
    QGroupBox* frame = modeFrame(LabelAPF);
    frame->setObjectName(QStringLiteral("Frame1"));
    choiceArea_ = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(frame);
    left->addLayout(choiceArea_);
    left->addStretch(1);

    Text3 = figure(QStringLiteral("Text3"), 2.0);
    // The amount due reads like the register's own display.
    Text3->setStyleSheet(QStringLiteral("QLineEdit { background: #0B1A0B; color: #5CFF5C; }"));
    Text8 = addField(QStringLiteral("Text8"), 9, KeyFilter::Digits,
                     QStringLiteral("お預り金額を入力してください。"));
    Text8->setAlignment(Qt::AlignRight);
    QFont big = Text8->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    Text8->setFont(big);
    Text8->setMinimumWidth(230);
    Text9 = figure(QStringLiteral("Text9"), 1.6);
    figureArea_ = new QGridLayout;
    figureArea_->setHorizontalSpacing(10);
    totalCaption_ = caption(QStringLiteral("合計金額  （税込み）"), Text3);
    figureArea_->addWidget(totalCaption_, 0, 0);
    figureArea_->addWidget(Text3, 0, 1, 1, 3);
    figureArea_->addWidget(caption(QStringLiteral("お預り金額"), Text8), 1, 0);
    figureArea_->addWidget(Text8, 1, 1, 1, 3);
    changeCaption_ = caption(QStringLiteral("お釣り金額"), Text9);
    figureArea_->addWidget(changeCaption_, 2, 0);
    figureArea_->addWidget(Text9, 2, 1, 1, 3);
    connect(Text8, &EntryField::focused, this, &CounterScreen::tenderFocused);
    connect(Text8, &EntryField::entered, this, &CounterScreen::tenderEntered);

    auto makeButton = [this](const QString& name, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        button->setMinimumSize(130, 48);
        return button;
    };
    RSBTN = makeButton(QStringLiteral("RSBTN"), QStringLiteral("レシート"));
    RTBTN = makeButton(QStringLiteral("RTBTN"), QStringLiteral("戻る"));
    connect(RSBTN, &QPushButton::clicked, this, &CounterScreen::post);
    connect(RTBTN, &QPushButton::clicked, this, [this] { leaveTo(QStringLiteral("MUK4SC01")); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(RSBTN);
    buttons->addWidget(RTBTN);
    buttons->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(left);
    bottom->addStretch(1);
    bottom->addLayout(figureArea_);
    bottom->addSpacing(16);
    bottom->addLayout(buttons);

    body()->addLayout(top);
    body()->addWidget(FG1, 1);
    body()->addLayout(entryArea_);
    body()->addSpacing(6);
    body()->addLayout(bottom);
}

QLineEdit* CounterScreen::display(const QString& name, int width)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setMinimumWidth(width);
    return field;
}

QLineEdit* CounterScreen::figure(const QString& name, qreal scale)
{
    QLineEdit* field = display(name, 230);
    field->setAlignment(Qt::AlignRight);
    QFont font = field->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(true);
    field->setFont(font);
    return field;
}

void CounterScreen::enlarge(const QList<QLineEdit*>& lineFields)
{
    for (QLineEdit* field : lineFields) {
        QFont font = field->font();
        font.setPointSizeF(font.pointSizeF() * 1.3);
        field->setFont(font);
    }
}

void CounterScreen::loadData()
{
    if (!check(shop_.load(db()), QStringLiteral("パラメタを読み込めませんでした。")))
        return;
    Text1->setText(shop_.storeName);
    fillStaff();
}

void CounterScreen::fillStaff()
{
    CB1->clear();
    if (!check(staffList(db(), staff_), QStringLiteral("担当者を読み込めませんでした。")))
        staff_.clear();
    for (const StaffMember& member : staff_)
        CB1->addItem(member.name, static_cast<int>(Conversions::toNumber(member.code)));
    // Nobody is chosen: the combo shows the cashier on duty, as stored, even
    // when that is no name at all.
    CB1->setCurrentIndex(-1);
    CB1->setPlaceholderText(shop_.staffName);
    LabelN->setText(shop_.staffCode);
}

void CounterScreen::cashierChosen(int index)
{
    if (index < 0 || index >= staff_.size())
        return;
    const StaffMember member{
        Conversions::fourDigitCode(CB1->itemData(index).toInt()),
        CB1->itemText(index),
    };
    if (!check(chooseCashier(db(), member), QStringLiteral("担当者を設定できませんでした。")))
        return;
    shop_.staffCode = member.code;
    shop_.staffName = member.name;
    LabelN->setText(member.code);
    activate();
}

void CounterScreen::areaInit()
{
    Screen::areaInit();
    FG1->setRowCount(0);
    for (QLineEdit* field : {Text2, Text3, static_cast<QLineEdit*>(Text8), Text9})
        field->clear();
    Text9->setPalette(palette());
    clearEntry();
    setEntryMode(EntryMode::New);
}

void CounterScreen::areaLock()
{
    RSBTN->setEnabled(false);
    Text8->setEnabled(false);
}

void CounterScreen::areaAssign()
{
    QString receipt;
    if (check(nextReceiptNumber(db(), receipt),
              QStringLiteral("レシート番号を読み込めませんでした。")))
        Text2->setText(receipt);
    resetLines();
    tendered_ = 0;
}

void CounterScreen::focusFirst()
{
    firstField()->setFocus();
}

void CounterScreen::showModeLabel(const char* text, const char* colour)
{
    showMode(LabelAPF, QString::fromUtf8(text), colour);
}

void CounterScreen::setEntryMode(EntryMode mode, int changing)
{
    entryMode_ = mode;
    changing_ = changing;
    if (mode == EntryMode::New)
        showModeLabel("●  登録", "#00C000");
    else
        showModeLabel("●  修正", "#FF0000");
}

void CounterScreen::markIncomplete()
{
    if (entryMode_ == EntryMode::New)
        showModeLabel("●  登録", "#004000");
    else
        showModeLabel("●  修正", "#800000");
}

void CounterScreen::lineFieldFocused(const QString& legend, Qt::Alignment alignment)
{
    labelPFK()->setText(legend);
    labelPFK()->setAlignment(alignment | Qt::AlignVCenter);
    Text8->setEnabled(false);
    RSBTN->setEnabled(false);
}

bool CounterScreen::lineReady(std::initializer_list<LineField> fields,
                              std::initializer_list<QLineEdit*> names)
{
    for (QLineEdit* name : names)
        if (name->text().isEmpty())
            name->setText(QStringLiteral("**"));
    for (const LineField& entry : fields) {
        if (!entry.present) {
            markIncomplete();
            entry.field->setFocus();
            return false;
        }
    }
    return true;
}

bool CounterScreen::amountsFit(double lineAmount, double total, EntryField* quantity)
{
    if (fitsDisplay(lineAmount) && fitsDisplay(total))
        return true;
    say(QStringLiteral("金額は99,999,999までです。この行は登録できません。"));
    quantity->giveBack();
    return false;
}

bool CounterScreen::roomForLine()
{
    if (entryMode_ == EntryMode::Change || lineCount() < 100)
        return true;
    clearEntry();
    firstField()->setFocus();
    labelM()->setText(QStringLiteral("明細は100行までです。この行は追加できません。"));
    return false;
}

void CounterScreen::fillRow(int row, int number)
{
    const QStringList cells = gridRow(number);
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (figures_.value(c))
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        FG1->setItem(row, c, item);
    }
    decorateRow(row, number);
}

void CounterScreen::lineStored()
{
    if (entryMode_ == EntryMode::New) {
        const int row = FG1->rowCount();
        FG1->insertRow(row);
        fillRow(row, lineCount());
        FG1->scrollToBottom();
    } else {
        FG1->setRowCount(0);
        FG1->setRowCount(lineCount());
        for (int n = 1; n <= lineCount(); ++n)
            fillRow(n - 1, n);
    }
    showTotals();
    clearEntry();
    setEntryMode(EntryMode::New);
    firstField()->setFocus();
}

void CounterScreen::rowChosen(int row)
{
    if (row < 0 || row >= lineCount())
        return;
    setEntryMode(EntryMode::Change, row + 1);
    lineChosen(row + 1);
    firstField()->setFocus();
}

void CounterScreen::plusPressed(QLineEdit* firstFieldText)
{
    if (!firstFieldText->text().isEmpty() || lineCount() == 0)
        return;
    Text8->setEnabled(true);
    Text8->setFocus();
}

void CounterScreen::proposeTender()
{
    if (Text8->text().isEmpty())
        Text8->setText(Conversions::plainNumber(amountDue()));
}

void CounterScreen::tenderFocused()
{
    proposeTender();
    Text8->selectAll();
    // A line being changed is given up with its fields.
    clearEntry();
    setEntryMode(EntryMode::New);
    RSBTN->setEnabled(false);
    labelPFK()->setText(Return);
    labelPFK()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void CounterScreen::setChangeCaption(const QString& text)
{
    changeCaption_->setText(text);
}

void CounterScreen::setTotalCaption(const QString& text)
{
    totalCaption_->setText(text);
}

void CounterScreen::backToTender()
{
    if (Text8->isEnabled())
        Text8->setFocus();
    else
        firstField()->setFocus();
}

void CounterScreen::tenderEntered()
{
    const double offered = Conversions::toNumber(Text8->text());
    if (offered == 0)
        Text8->setText(QStringLiteral("0"));
    Text3->setText(Conversions::format(amountDue(), Conversions::Amount10));
    const TenderCheck result = checkTender(settlement(), offered, amountDue());
    labelM()->setText(postPrompt());
    QPalette look = palette();
    if (result.look == TenderCheck::Look::Refused)
        look.setColor(QPalette::Text, QColor(0xFF, 0x00, 0x00));
    else if (result.look == TenderCheck::Look::Credit)
        look.setColor(QPalette::Text, QColor(0xC0, 0xC0, 0x00));
    Text9->setPalette(look);
    Text9->setText(Conversions::format(result.shown, Conversions::Amount10));
    if (!result.accepted) {
        say(result.message);
        Text8->giveBack();
        return;
    }
    tendered_ = offered;
    Text8->setAlignment(Qt::AlignRight);
    RSBTN->setEnabled(true);
    RSBTN->setFocus();
}

void CounterScreen::post()
{
    RSBTN->setEnabled(false);
    showModeLabel("★  更新", "#8080FF");
    PostingResult result;
    {
        BusyCursor busy;
        result = postTransaction(Text2->text(), Clock::now());
    }
    if (result.outcome == PostingResult::Outcome::Duplicate) {
        say(QStringLiteral("データベースが壊れています。(REC DUPL)"));
        endProgram();
        return;
    }
    if (!result.posted()) {
        // Nothing was written: the transaction stays on the screen to be
        // posted again once the cause is gone.
        const bool damaged = result.error->damaged();
        check(DbResult(*result.error), subject() + QStringLiteral("を登録できませんでした。"));
        if (damaged)
            return;
        setEntryMode(entryMode_, changing_);
        RSBTN->setEnabled(true);
        RSBTN->setFocus();
        return;
    }
    std::optional<ReceiptOutcome> receipt;
    if (shop_.printsReceipts()) {
        BusyCursor busy;
        receipt = makeReceipt();
    }
    if (closesAfterPosting()) {
        // The screen goes: whatever the operator should know of the receipt
        // (a template that did not keep it included) comes in a box.
        if (receipt &&
            (receipt->kind != ReceiptOutcome::Kind::Printed || !receipt->reason.isEmpty()))
            message(receipt->kind == ReceiptOutcome::Kind::Failed ? MessageForm::Error
                                                                  : MessageForm::Plain,
                    receipt->note(subject()));
        leaveTo(QStringLiteral("MUK4SC01"));
        return;
    }
    activate();
    if (receipt)
        labelM()->setText(receipt->note(subject()));
}

ReceiptStamp CounterScreen::stamp(const QString& receipt, const QDateTime& moment) const
{
    return {shop_.storeCode, shop_.registerCode, receipt,
            shop_.staffCode, shop_.businessDate, moment};
}

bool CounterScreen::functionKey(int key)
{
    if (key == Qt::Key_F10) {
        leaveTo(QStringLiteral("MUK4SC01"));
        return true;
    }
    for (const auto& [jumpKey, target] : jumps_) {
        if (jumpKey == key) {
            leaveTo(target);
            return true;
        }
    }
    return false;
}
