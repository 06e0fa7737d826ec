#include "reports/CategoryReport.h"

#include "data/MasterTable.h"
#include "reports/ReportDates.h"
#include "reports/ReportGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

CategoryReport::CategoryReport(Navigator& navigator, const QString& code, const QString& titleText,
                               Look look, int blocks)
    : ReportScreen(navigator, code, titleText, QStringLiteral("MUK4SC01")), look_(std::move(look))
{
    const QList<int> widths{700, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100, 1100};
    for (int block = 0; block < blocks; ++block) {
        auto* grid = new ReportGrid(QStringLiteral("FG%1").arg(block + 1), widths, this);
        grid->alignRight({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        QList<QWidget*> codeRow{nullptr};
        QList<QWidget*> nameRow{new QLabel(QStringLiteral("日付"), this)};
        QList<QWidget*> totalRow{new QLabel(QStringLiteral("合計"), this)};
        for (int i = 1; i <= 10; ++i) {
            const int column = block * 10 + i;
            auto label = [this, column](const QString& name) {
                auto* l = new QLabel(this);
                l->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(column));
                l->setAlignment(Qt::AlignCenter);
                return l;
            };
            codes_ << label(look_.codeLabel);
            names_ << label(look_.nameLabel);
            auto* total = new QLineEdit(this);
            total->setObjectName(QStringLiteral("T%1").arg(column, 2, 10, QChar(u'0')));
            total->setReadOnly(true);
            total->setFocusPolicy(Qt::NoFocus);
            total->setAlignment(Qt::AlignRight);
            totals_ << total;
            codeRow << codes_.back();
            nameRow << names_.back();
            totalRow << total;
        }
        static_cast<QLabel*>(totalRow.front())->setBuddy(totalRow[1]);
        result()->addLayout(grid->alignedRow(codeRow));
        result()->addLayout(grid->alignedRow(nameRow));
        result()->addWidget(grid, 1);
        result()->addLayout(grid->alignedRow(totalRow));
        // The blocks show the same days side by side in time.
        if (!grids_.isEmpty()) {
            connect(grids_.front()->verticalScrollBar(), &QScrollBar::valueChanged,
                    grid->verticalScrollBar(), &QScrollBar::setValue);
            connect(grid->verticalScrollBar(), &QScrollBar::valueChanged,
                    grids_.front()->verticalScrollBar(), &QScrollBar::setValue);
        }
        grids_ << grid;
    }
    addNote(QStringLiteral("※.売上金額は消費税を含む（税込み）数値です。"));
}

void CategoryReport::setColumns(const CategorySales& columns)
{
    columns_ = columns;
    const MasterTable master(look_.master);
    bool readable = true;
    for (qsizetype i = 0; i < codes_.size(); ++i) {
        const QString code = columns.codes().value(i);
        std::optional<QVariantMap> record;
        // One failure is told once; the sums are shown under blank headings.
        if (readable)
            readable = check(master.find(db(), code, record),
                             QStringLiteral("分類を読み込めませんでした。"));
        codes_[i]->setText(record || !look_.codeOnlyWhenFound ? code : QString());
        names_[i]->setText(record ? record->value(QStringLiteral("CB03")).toString()
                                  : QStringLiteral(" "));
    }
}

void CategoryReport::clearResult()
{
    for (ReportGrid* grid : grids_)
        grid->clear();
    for (QLineEdit* total : totals_)
        total->clear();
}

void CategoryReport::run(const QString& startDate)
{
    if (!columns_)
        return;
    const QStringList dates = ReportDates::days(startDate);
    std::vector<std::vector<double>> sums;
    if (!check(columns_->read(db(), where(), dates, sums),
               QStringLiteral("売上を読み込めませんでした。"))) {
        dateField()->giveBack();
        return;
    }
    for (qsizetype block = 0; block < grids_.size(); ++block) {
        QList<QStringList> rows;
        for (size_t day = 0; day < sums.size(); ++day)
            rows << CategorySales::gridRow(dates[static_cast<qsizetype>(day)], sums[day],
                                           static_cast<int>(block) * 10, 10);
        grids_[block]->setRows(rows);
    }
    const QStringList texts = columns_->totalTexts(sums);
    for (qsizetype i = 0; i < totals_.size(); ++i)
        totals_[i]->setText(texts.value(i));
    finishRun();
}

ReportFile CategoryReport::reportFile() const
{
    // The blocks side by side in time make one row a day.
    QStringList codes{QString()};
    QStringList names{QStringLiteral("日付")};
    QStringList total{QStringLiteral("合計")};
    for (qsizetype i = 0; i < codes_.size(); ++i) {
        codes << codes_[i]->text();
        names << names_[i]->text().trimmed();
        total << totals_[i]->text();
    }
    QList<QStringList> rows = grids_.front()->rows();
    for (qsizetype block = 1; block < grids_.size(); ++block) {
        for (qsizetype day = 0; day < rows.size(); ++day)
            rows[day] << grids_[block]->rows().value(day).mid(1);
    }
    return {{codes, names}, rows, {total}};
}
