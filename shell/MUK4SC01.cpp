#include "shell/MUK4SC01.h"

#include "data/Conversions.h"
#include "shell/Navigator.h"
#include "shell/TodayTotals.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
struct MenuButton {
    const char* name;
    const char* caption;
    const char* target;
    const char* hint;
};

const MenuButton menuButtons[] = {
    {"APCBTN01", "売上POS　　トランザクション", "MUK4UT01", "F1"},
    {"APCBTN02", "入金POS　　トランザクション", "MUK4UT05", ""},
    {"APCBTN03", "掛入金POS　トランザクション", "", ""},
    {"APCBTN04", "支払POS　　トランザクション", "MUK4UT06", ""},
    {"APCBTN05", "返品POS　　トランザクション", "MUK4UT11", ""},
    {"APCBTN06", "レジ集計管理表（日別/月）　", "MUK4DP01", ""},
    {"APCBTN07", "大分類売上管理表（日別/月）", "MUK4DP05", ""},
    {"APCBTN08", "中分類売上管理表（日別/月）", "MUK4DP06", ""},
    {"APCBTN09", "商品売上管理グラフ（日別/月）", "MUK4AS01", ""},
};
} // namespace

MUK4SC01::MUK4SC01(Navigator& navigator)
    : Screen(navigator, QStringLiteral("MUK4SC01"),
             QStringLiteral("レジ　アプリケーション　メニュー"))
{
    // Holds the keyboard when no menu button can take it.
    setFocusPolicy(Qt::StrongFocus);
    for (int i = 1; i <= 15; ++i) {
        auto* text = new QLineEdit(this);
        text->setObjectName(QStringLiteral("Text%1").arg(i));
        text->setReadOnly(true);
        text->setFocusPolicy(Qt::NoFocus);
        texts_ << text;
    }

    // Header: what the shop and the business day are.
    auto* header = new QGridLayout;
    const char* headerCaptions[] = {"POSシステム日付", "会社",         "店舗コード", "レジコード",
                                    "レシートNo",      "担当者コード", "消費税率"};
    for (int i = 0; i < 7; ++i) {
        const int row = i < 4 ? i : i - 4;
        const int column = i < 4 ? 0 : 2;
        header->addWidget(caption(QString::fromUtf8(headerCaptions[i]), display(i + 1)), row,
                          column);
        header->addWidget(display(i + 1), row, column + 1);
    }
    header->setColumnStretch(1, 1);
    header->setColumnStretch(3, 1);
    header->setHorizontalSpacing(12);

    // Menu buttons with the key hint for the one that has a key.
    auto* menu = new QGridLayout;
    menu->setVerticalSpacing(8);
    int row = 0;
    for (const MenuButton& entry : menuButtons) {
        auto* button = new QPushButton(QString::fromUtf8(entry.caption), this);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setMinimumSize(330, 40);
        button->setAutoDefault(false);
        const QString target = QString::fromLatin1(entry.target);
        button->setEnabled(!target.isEmpty() && this->navigator().has(target));
        connect(button, &QPushButton::clicked, this, [this, target] { leaveTo(target); });
        if (*entry.hint) {
            auto* hint = new QLabel(QString::fromLatin1(entry.hint), this);
            hint->setObjectName(QStringLiteral("Label3"));
            menu->addWidget(hint, row, 0);
        }
        menu->addWidget(button, row++, 1);
        buttons_ << button;
    }
    auto* end = new QPushButton(QStringLiteral("システム終了"), this);
    end->setObjectName(QStringLiteral("APCBTN99"));
    end->setMinimumSize(330, 40);
    end->setAutoDefault(false);
    connect(end, &QPushButton::clicked, this, [this] { systemEnd(); });
    menu->addWidget(end, row + 1, 1);
    menu->setRowMinimumHeight(row, 12);
    buttons_ << end;
    for (qsizetype i = 1; i < buttons_.size(); ++i)
        setTabOrder(buttons_[i - 1], buttons_[i]);

    // Today's takings.
    auto* totalsBox = new QGroupBox(this);
    auto* totals = new QGridLayout(totalsBox);
    struct Row {
        const char* caption;
        int left;
        int right;
    };
    const Row rows[] = {{"売上/売掛", 8, 9}, {"入金", 10, 0}, {"掛入金", 12, 0},
                        {"支払", 11, 0},     {"返品", 15, 0}, {"現金/売上", 13, 14}};
    row = 0;
    for (const Row& r : rows) {
        totals->addWidget(caption(QString::fromUtf8(r.caption), display(r.left)), row, 0);
        totals->addWidget(display(r.left), row, 1);
        if (r.right)
            totals->addWidget(display(r.right), row, 2);
        ++row;
    }
    QFont figures = font();
    figures.setPointSizeF(figures.pointSizeF() * 1.4);
    for (int n : {8, 9, 10, 11, 12, 13, 14, 15}) {
        display(n)->setAlignment(Qt::AlignRight);
        display(n)->setMinimumWidth(150);
        display(n)->setFont(figures);
    }
    figures.setBold(true);
    display(13)->setFont(figures);
    for (int n : {9, 12, 14})
        display(n)->setEnabled(false);
    // The right-hand fields share their row's caption; each is named by the
    // half of it that it stands for.
    display(9)->setAccessibleName(QStringLiteral("売掛"));
    display(14)->setAccessibleName(QStringLiteral("売上"));
    for (int n : {11, 15}) {
        QPalette red = display(n)->palette();
        red.setColor(QPalette::Text, Qt::red);
        display(n)->setPalette(red);
    }
    auto* note = new QLabel(QStringLiteral("金額は端数調整後の税込み金額です。"), this);
    totals->addWidget(note, row, 0, 1, 3);

    auto* frame = new QGroupBox(QStringLiteral("AP CHK"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* frameLayout = new QVBoxLayout(frame);
    auto* status = new QLabel(QStringLiteral("● 正常稼動"), frame);
    status->setObjectName(QStringLiteral("LabelAP"));
    status->setStyleSheet(QStringLiteral("color: #00C000;"));
    frameLayout->addWidget(status);

    auto* right = new QVBoxLayout;
    right->addWidget(totalsBox);
    right->addStretch(1);
    right->addWidget(frame, 0, Qt::AlignRight);

    auto* middle = new QHBoxLayout;
    middle->addLayout(menu);
    middle->addSpacing(30);
    middle->addLayout(right, 1);

    labelPFX_ = new QLabel(this);
    labelPFX_->setObjectName(QStringLiteral("LabelPFX"));
    labelPFX_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    body()->addLayout(header);
    body()->addSpacing(12);
    body()->addLayout(middle, 1);
    body()->addWidget(labelPFX_);
}

QLineEdit* MUK4SC01::display(int number)
{
    return texts_[number - 1];
}

void MUK4SC01::loadData()
{
    check(parameters_.load(db(), BusinessDay::headerKeys()),
          QStringLiteral("パラメタを読み込めませんでした。"));
}

void MUK4SC01::areaInit()
{
    Screen::areaInit();
    for (QLineEdit* text : texts_)
        text->clear();
    labelPFK()->clear();
    labelPFX_->clear();
}

void MUK4SC01::areaLock()
{
    labelPFK()->setText(QStringLiteral("F10.中断終了  F12.マスターメニュー"));
    labelPFX_->setText(QStringLiteral("F6.分析メニュー"));
}

void MUK4SC01::areaAssign()
{
    if (!check(BusinessDay::assign(db(), parameters_, header_),
               QStringLiteral("営業日を設定できませんでした。")))
        return;
    display(1)->setText(header_.businessDate);
    display(2)->setText(header_.company);
    display(3)->setText(header_.store);
    display(4)->setText(header_.registerCode);
    display(5)->setText(header_.nextReceipt);
    display(6)->setText(header_.staff);
    display(7)->setText(header_.taxRate);
    showTotals();
}

void MUK4SC01::showTotals()
{
    TodayTotals totals;
    if (!check(totals.read(db(), header_.storeCode, header_.registerValue, header_.businessDate),
               QStringLiteral("本日の集計を読み込めませんでした。")))
        return;
    using Conversions::Amount11;
    if (totals.salesFound) {
        display(8)->setText(Conversions::format(totals.sales(), Amount11));
        display(15)->setText(Conversions::format(totals.returns, Amount11));
    }
    if (totals.depositsFound)
        display(10)->setText(Conversions::format(totals.deposits, Amount11));
    if (totals.paymentsFound)
        display(11)->setText(Conversions::format(totals.payments, Amount11));
    display(13)->setText(Conversions::format(totals.cash(), Amount11));
}

void MUK4SC01::focusFirst()
{
    if (!focusFirstButton(buttons_))
        setFocus();
}

bool MUK4SC01::functionKey(int key)
{
    switch (key) {
    case Qt::Key_F1:
        leaveTo(QStringLiteral("MUK4UT01"));
        return true;
    case Qt::Key_F10:
        // Interrupted end: the business day stays open.
        endProgram();
        return true;
    case Qt::Key_F12:
        leaveTo(QStringLiteral("MUK4SC05"));
        return true;
    default:
        return false;
    }
}

void MUK4SC01::systemEnd()
{
    // A day that could not be closed stays on screen with its message, so
    // the operator knows it is still open.
    if (check(BusinessDay::close(db()), QStringLiteral("営業日を締められませんでした。")))
        endProgram();
}
