#include "reports/MUK4DP01.h"

#include "reports/RegisterTotals.h"
#include "reports/ReportDates.h"
#include "reports/ReportGrid.h"

#include <QLabel>
#include <QLineEdit>

MUK4DP01::MUK4DP01(Navigator& navigator)
    : ReportScreen(navigator, QStringLiteral("MUK4DP01"),
                   QStringLiteral("レジ集計管理表（日別/月）"), QStringLiteral("MUK4SC01"))
{
    addStoreName(0, 0);
    addDateField(QStringLiteral("日付　　　　（From）"), QStringLiteral("日付が存在しません。"), 0,
                 2);
    fields()->setColumnStretch(4, 1);

    FG1 = new ReportGrid(QStringLiteral("FG1"),
                         {700, 1300, 1200, 1200, 1200, 1200, 1200, 1450, 1450, 950, 950}, this);
    FG1->alignRight({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    QList<QWidget*> headings;
    for (const char* text : {"日付", "売上", "内金", "売掛", "入金", "支払", "返品", "現金実値",
                             "売上理論値", "客数", "点数"}) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setAlignment(Qt::AlignCenter);
        headings << label;
    }
    QList<QWidget*> totalRow{new QLabel(QStringLiteral("合計"), this)};
    for (int n = 3; n <= 12; ++n) {
        auto* total = new QLineEdit(this);
        total->setObjectName(QStringLiteral("Text%1").arg(n));
        total->setReadOnly(true);
        total->setFocusPolicy(Qt::NoFocus);
        total->setAlignment(Qt::AlignRight);
        // The "内金" and "売掛" totals have no figure.
        total->setEnabled(n != 4 && n != 5);
        totals_ << total;
        totalRow << total;
    }
    static_cast<QLabel*>(totalRow.front())->setBuddy(totals_.front());
    result()->addLayout(FG1->alignedRow(headings));
    result()->addWidget(FG1, 1);
    result()->addLayout(FG1->alignedRow(totalRow));
    addNote(QStringLiteral("※.売上金額は消費税を含む（税込み）数値です。　　　　　　"
                           "※.客数、点数は返品等（マイナス）を含む数値です。"));
}

void MUK4DP01::clearResult()
{
    FG1->clear();
    for (QLineEdit* total : totals_)
        total->clear();
}

void MUK4DP01::run(const QString& startDate)
{
    std::vector<RegisterDay> days;
    if (!check(RegisterTotals::read(db(), where(), ReportDates::days(startDate), days),
               QStringLiteral("集計を読み込めませんでした。"))) {
        dateField()->giveBack();
        return;
    }
    QList<QStringList> rows;
    RegisterDay period;
    for (const RegisterDay& day : days) {
        rows << day.gridRow();
        period += day;
    }
    FG1->setRows(rows);
    const QStringList texts = period.totalRow();
    for (qsizetype i = 0; i < totals_.size(); ++i)
        totals_[i]->setText(texts.value(i));
    showResult(RTBTN);
}
