#include "reports/MUK4DP01.h"

#include "reports/RateSales.h"
#include "reports/RegisterTotals.h"
#include "reports/ReportDates.h"
#include "reports/ReportGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

MUK4DP01::MUK4DP01(Navigator& navigator)
    : ReportScreen(navigator, QStringLiteral("MUK4DP01"),
                   QStringLiteral("レジ集計管理表（日別/月）"), QStringLiteral("MUK4SC01"))
{
    addStoreName(0, 0);
    addDateField(QStringLiteral("日付　　　　（From）"), QStringLiteral("日付が存在しません。"), 0,
                 2);
    addRegisterChoice();
    fields()->setColumnStretch(4, 1);

    FG1 = new ReportGrid(QStringLiteral("FG1"),
                         {700, 1300, 1200, 1200, 1200, 1200, 1200, 1450, 1450, 950, 950}, this);
    FG1->alignRight({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    QList<QWidget*> headings;
    for (const char* text : {"日付", "売上", "内金", "売掛", "入金", "支払", "返品", "現金実値",
                             "売上理論値", "客数", "点数"}) {
        headings_ << QString::fromUtf8(text);
        auto* label = new QLabel(headings_.back(), this);
        label->setAlignment(Qt::AlignCenter);
        headings << label;
    }
    QList<QWidget*> totalRow{new QLabel(QStringLiteral("合計"), this)};
    for (int n = 3; n <= 12; ++n) {
        QLineEdit* total = figure(QStringLiteral("Text%1").arg(n));
        // The "内金" and "売掛" totals have no figure.
        total->setEnabled(n != 4 && n != 5);
        totals_ << total;
        totalRow << total;
    }
    static_cast<QLabel*>(totalRow.front())->setBuddy(totals_.front());
    result()->addLayout(FG1->alignedRow(headings));
    result()->addWidget(FG1, 1);
    result()->addLayout(FG1->alignedRow(totalRow));
    rateRow_ = new QHBoxLayout;
    rateRow_->addSpacing(ReportGrid::pixels(FG1->widths().front()));
    rateRow_->addStretch(1);
    result()->addLayout(rateRow_);
    ratePair(0);
    addNote(QStringLiteral("※.売上金額は消費税を含む（税込み）数値です。　　　　　　"
                           "※.客数、点数は返品等（マイナス）を含む数値です。"));
}

QList<QWidget*> MUK4DP01::RatePair::widgets() const
{
    return {caption, net, taxCaption, tax};
}

void MUK4DP01::RatePair::setVisible(bool visible) const
{
    for (QWidget* w : widgets())
        w->setVisible(visible);
}

QLineEdit* MUK4DP01::figure(const QString& name)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

MUK4DP01::RatePair& MUK4DP01::ratePair(qsizetype i)
{
    while (rates_.size() <= i) {
        const QString n = QString::number(rates_.size() + 1);
        RatePair pair;
        pair.net = figure(QStringLiteral("TextRate") + n);
        pair.tax = figure(QStringLiteral("TextRateTax") + n);
        pair.caption = caption(QString(), pair.net);
        pair.taxCaption = caption(QStringLiteral("内消費税"), pair.tax);
        // Before the stretch that keeps the pairs to the left.
        int at = rateRow_->count() - 1;
        if (!rates_.isEmpty())
            rateRow_->insertSpacing(at++, 20);
        for (QWidget* w : pair.widgets())
            rateRow_->insertWidget(at++, w);
        pair.net->setFixedWidth(ReportGrid::pixels(1300));
        pair.tax->setFixedWidth(ReportGrid::pixels(1300));
        rates_.append(pair);
    }
    return rates_[i];
}

void MUK4DP01::clearResult()
{
    FG1->clear();
    for (QLineEdit* total : totals_)
        total->clear();
    // The standard rate's pair stays in view, empty; any other shows with a
    // month that has sales at its rate.
    for (qsizetype i = 0; i < rates_.size(); ++i) {
        RatePair& pair = rates_[i];
        pair.net->clear();
        pair.tax->clear();
        pair.setVisible(i == 0);
    }
    rates_.front().caption->setText(TaxRates::taxedCaption(TaxRates::perMille(standardRate())));
}

void MUK4DP01::run(const QString& startDate)
{
    const QStringList dates = ReportDates::days(startDate);
    std::vector<RegisterDay> days;
    QList<RateSales::Total> byRate;
    if (!check(RegisterTotals::read(db(), where(), dates, days),
               QStringLiteral("集計を読み込めませんでした。")) ||
        !check(RateSales::read(db(), where(), dates, standardRate(), byRate),
               QStringLiteral("税率別の売上を読み込めませんでした。"))) {
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
    const QList<RateSales::Texts> rateTexts = RateSales::texts(byRate);
    for (qsizetype i = 0; i < rateTexts.size(); ++i) {
        RatePair& pair = ratePair(i);
        pair.caption->setText(rateTexts[i].caption);
        pair.net->setText(rateTexts[i].net);
        pair.tax->setText(rateTexts[i].tax);
        pair.setVisible(true);
    }
    showResult(RTBTN);
}

ReportFile MUK4DP01::reportFile() const
{
    QStringList total{QStringLiteral("合計")};
    for (const QLineEdit* t : totals_)
        total << t->text();
    ReportFile file{{headings_}, FG1->rows(), {total}};
    // Each rate the month shows, as the owner declares it.
    for (const RatePair& pair : rates_) {
        if (!pair.net->isHidden())
            file.totals << QStringList{pair.caption->text(), pair.net->text(),
                                       pair.taxCaption->text(), pair.tax->text()};
    }
    return file;
}
