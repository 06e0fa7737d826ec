#include "reports/ReportScreen.h"

#include "reports/ReportDates.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString Return = QStringLiteral("F10.Return");
const QString Ready = QStringLiteral("●  正常稼動");
} // namespace

ReportScreen::ReportScreen(Navigator& navigator, const QString& code, const QString& titleText,
                           QString parent)
    : Screen(navigator, code, titleText), parent_(std::move(parent))
{
    fields_ = new QGridLayout;
    fields_->setHorizontalSpacing(10);
    fields_->setVerticalSpacing(6);
    result_ = new QVBoxLayout;
    result_->setSpacing(2);

    auto* frame = new QGroupBox(QStringLiteral("AP CHK"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(8, 2, 8, 2);
    LabelAP = new QLabel(frame);
    LabelAP->setObjectName(QStringLiteral("LabelAP"));
    LabelAP->setMinimumWidth(110);
    frameLayout->addWidget(LabelAP);

    auto makeButton = [this](const QString& name, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        button->setMinimumSize(110, 36);
        return button;
    };
    SJBTN = makeButton(QStringLiteral("SJBTN"), QStringLiteral("再実行"));
    RTBTN = makeButton(QStringLiteral("RTBTN"), QStringLiteral("戻る"));
    connect(SJBTN, &QPushButton::clicked, this, [this] { activate(); });
    connect(RTBTN, &QPushButton::clicked, this, [this] { leaveTo(parent_); });

    auto* footer = new QHBoxLayout;
    footer->addWidget(frame);
    footer->addStretch(1);
    footer->addWidget(SJBTN);
    footer->addWidget(RTBTN);

    body()->addLayout(fields_);
    body()->addSpacing(6);
    body()->addLayout(result_, 1);
    body()->addLayout(footer);
}

QLineEdit* ReportScreen::addStoreName(int row, int column)
{
    storeName_ = new QLineEdit(this);
    storeName_->setObjectName(QStringLiteral("Text1"));
    storeName_->setReadOnly(true);
    storeName_->setFocusPolicy(Qt::NoFocus);
    storeName_->setFixedWidth(140);
    fields_->addWidget(caption(QStringLiteral("店舗名"), storeName_), row, column);
    fields_->addWidget(storeName_, row, column + 1);
    return storeName_;
}

EntryField* ReportScreen::addDateField(const QString& captionText, const QString& invalid, int row,
                                       int column)
{
    date_ = addField(QStringLiteral("Text2"), 8, KeyFilter::Digits,
                     QStringLiteral("日付を入力してください。"));
    date_->setFixedWidth(110);
    fields_->addWidget(caption(captionText, date_), row, column);
    fields_->addWidget(date_, row, column + 1);
    connect(date_, &EntryField::focused, this, [this] { labelPFK()->setText(Return); });
    connect(date_, &EntryField::entered, this, [this, invalid] {
        if (!ReportDates::validStart(date_->text())) {
            message(MessageForm::Plain, invalid);
            date_->giveBack();
            return;
        }
        BusyCursor busy;
        run(date_->text());
    });
    return date_;
}

void ReportScreen::addRegisterChoice()
{
    auto* choice = new QWidget(this);
    auto* row = new QHBoxLayout(choice);
    row->setContentsMargins(0, 0, 0, 0);
    auto option = [&](const QString& name, const QString& text) {
        auto* button = new QRadioButton(text, choice);
        button->setObjectName(name);
        // A click leaves the keyboard where it was: the choice is read when
        // the date is entered.
        button->setFocusPolicy(Qt::TabFocus);
        row->addWidget(button);
        return button;
    };
    thisRegister_ = option(QStringLiteral("OptionThisRegister"), QStringLiteral("このレジ"));
    allRegisters_ = option(QStringLiteral("OptionAllRegisters"), QStringLiteral("全レジ"));
    row->addStretch(1);
    thisRegister_->setChecked(true);
    fields_->addWidget(caption(QStringLiteral("集計対象"), thisRegister_), 1, 0);
    fields_->addWidget(choice, 1, 1, 1, -1);
    if (date_) {
        setTabOrder(date_->previousInFocusChain(), thisRegister_);
        setTabOrder(thisRegister_, allRegisters_);
        setTabOrder(allRegisters_, date_);
    }
}

void ReportScreen::addNote(const QString& text)
{
    note_ = text;
    labelC_ = new QLabel(this);
    labelC_->setObjectName(QStringLiteral("LabelC"));
    result_->addWidget(labelC_);
}

void ReportScreen::loadData()
{
    Parameters parameters;
    check(parameters.load(db(), {QStringLiteral("store"), QStringLiteral("register"),
                                 QStringLiteral("charge"), QStringLiteral("tax"),
                                 QStringLiteral("workday")}),
          QStringLiteral("パラメタを読み込めませんでした。"));
    where_ = {parameters.first(QStringLiteral("store"), QStringLiteral("00")),
              parameters.first(QStringLiteral("register"), QStringLiteral("00"))};
    businessDate_ = parameters.first(QStringLiteral("workday"), QStringLiteral("00000000"));
    standardRate_ = parameters.number(QStringLiteral("tax"));
    if (storeName_)
        storeName_->setText(parameters.second(QStringLiteral("store")));
}

void ReportScreen::areaInit()
{
    Screen::areaInit();
    labelPFK()->clear();
    if (date_)
        date_->clear();
    if (labelC_)
        labelC_->setText(note_);
    setStatus(Ready);
    shown_ = false;
    clearResult();
}

void ReportScreen::areaLock()
{
    SJBTN->setEnabled(false);
    RTBTN->setEnabled(true);
}

void ReportScreen::areaAssign()
{
    for (QRadioButton* option : {thisRegister_, allRegisters_}) {
        if (option)
            option->setEnabled(true);
    }
    if (!date_)
        return;
    date_->setEnabled(true);
    date_->setText(ReportDates::firstOfMonth(businessDate_));
}

void ReportScreen::focusFirst()
{
    if (date_)
        date_->giveBack();
}

bool ReportScreen::functionKey(int key)
{
    if (key == Qt::Key_F8) {
        activate();
        return true;
    }
    if (key == Qt::Key_F9) {
        if (shown_)
            writeFile();
        return true;
    }
    if (key == Qt::Key_F10) {
        leaveTo(parent_);
        return true;
    }
    return false;
}

void ReportScreen::showResult(QWidget* focus, bool retryLegend)
{
    const QString file = QStringLiteral("F9.CSV出力  ");
    labelPFK()->setText(retryLegend ? QStringLiteral("F8.ReTry  ") + file + Return : file + Return);
    labelM()->clear();
    shown_ = true;
    for (QWidget* closed : {static_cast<QWidget*>(date_), static_cast<QWidget*>(thisRegister_),
                            static_cast<QWidget*>(allRegisters_)}) {
        if (closed)
            closed->setEnabled(false);
    }
    SJBTN->setEnabled(true);
    focus->setFocus();
}

bool ReportScreen::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on the register choice goes on to the date, as from a field.
    if (event->type() == QEvent::KeyPress && date_ &&
        (watched == thisRegister_ || watched == allRegisters_)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (date_->isEnabled())
                date_->setFocus();
            return true;
        }
    }
    return Screen::eventFilter(watched, event);
}

StoreRegister ReportScreen::where() const
{
    if (allRegisters_ && allRegisters_->isChecked())
        return {where_.store, std::nullopt};
    return where_;
}

QString ReportScreen::filePeriod() const
{
    return date_ ? date_->text().left(6) : QString();
}

void ReportScreen::writeFile()
{
    // The whole shop's figures never replace the register's own file.
    const QString whose = where().registerCode ? QString() : QStringLiteral("-ALL");
    const QString path =
        QDir::toNativeSeparators(ReportFile::pathFor(code(), filePeriod() + whose));
    if (const std::optional<QString> failure = reportFile().write(path)) {
        showBox(QMessageBox::Critical, QStringLiteral("MESSAGE"),
                QStringLiteral("CSVファイルを出力できませんでした。"),
                path + QStringLiteral(": ") + *failure);
        return;
    }
    labelM()->setText(QStringLiteral("CSVファイルに出力しました：") + path);
}

void ReportScreen::setStatus(const QString& text)
{
    LabelAP->setText(text);
    LabelAP->setStyleSheet(QStringLiteral("color: #00C000;"));
}
