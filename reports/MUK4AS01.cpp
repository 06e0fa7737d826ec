#include "reports/MUK4AS01.h"

#include "data/Conversions.h"
#include "data/MasterTable.h"
#include "reports/BarGraph.h"
#include "reports/ReportDates.h"
#include "reports/ReportGrid.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace ProductGraph;

namespace {
const QString Return = QStringLiteral("F10.Return");

QString nameOf(Database& db, const QString& table, const QString& code, DbResult& result)
{
    std::optional<QVariantMap> record;
    result = MasterTable(table).find(db, code, record);
    return record ? record->value(QStringLiteral("CB02")).toString() : QString();
}
} // namespace

MUK4AS01::MUK4AS01(Navigator& navigator)
    : ReportScreen(navigator, QStringLiteral("MUK4AS01"),
                   QStringLiteral("商品売上管理グラフ（日別/月）"), QStringLiteral("MUK4SC01"))
{
    Text2 = addField(QStringLiteral("Text2"), 13, KeyFilter::Digits,
                     QStringLiteral("商品コードを入力してください。"));
    Text1 = addField(QStringLiteral("Text1"), 6, KeyFilter::Digits,
                     QStringLiteral("月度を入力してください。"));
    Text2->setFixedWidth(150);
    Text1->setFixedWidth(80);
    fields()->addWidget(caption(QStringLiteral("商品CD"), Text2), 0, 0);
    fields()->addWidget(Text2, 0, 1);
    fields()->addWidget(caption(QStringLiteral("対象年月"), Text1), 0, 2);
    fields()->addWidget(Text1, 0, 3);

    auto group = [this](const QString& title, const QStringList& captions, int first) {
        auto* box = new QGroupBox(title, this);
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(6, 0, 6, 0);
        auto* buttons = new QButtonGroup(box);
        for (qsizetype i = 0; i < captions.size(); ++i) {
            auto* option = new QRadioButton(captions[i], box);
            option->setObjectName(QStringLiteral("Option%1").arg(first + i));
            buttons->addButton(option);
            layout->addWidget(option);
            options_ << option;
        }
        return box;
    };
    QStringList scaleCaptions;
    for (const Scale& scale : scales())
        scaleCaptions << scale.caption;
    fields()->addWidget(group(QStringLiteral("表示データ"),
                              {figureName(Figure::SalesWithTax), figureName(Figure::CostOfSales),
                               figureName(Figure::GrossProfit)},
                              1),
                        1, 0, 1, 4);
    fields()->addWidget(group(QStringLiteral("単位"), scaleCaptions, 4), 1, 4);
    Check1 = new QCheckBox(QStringLiteral("中分類データ比較"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check2 = new QCheckBox(QStringLiteral("返品データ含む"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    auto* checks = new QHBoxLayout;
    checks->addWidget(Check1);
    checks->addWidget(Check2);
    fields()->addLayout(checks, 0, 4);
    fields()->setColumnStretch(5, 1);

    for (int i = 0; i < 3; ++i) {
        connect(options_[i], &QRadioButton::clicked, this,
                [this, i] { chooseFigure(static_cast<Figure>(i)); });
    }
    for (int i = 0; i < 5; ++i)
        connect(options_[3 + i], &QRadioButton::clicked, this, [this, i] { chooseScale(i); });
    connect(Check1, &QCheckBox::clicked, this, &MUK4AS01::showSetting);
    connect(Check2, &QCheckBox::clicked, this, &MUK4AS01::backToProduct);

    // Product and category on the left, prices and setting on the right; a
    // long name wraps rather than widening the screen.
    auto* texts = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("LabelID(%1)").arg(i));
        label->setWordWrap(true);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        labelID_ << label;
        texts->addWidget(label, i % 2, i / 2);
    }
    texts->setColumnStretch(0, 3);
    texts->setColumnStretch(1, 2);

    graph_ = new BarGraph(this);
    FG1 = new ReportGrid(QStringLiteral("FG1"), {330, 1200}, this);
    // A smaller type lets the whole month stand beside the graph.
    QFont small = FG1->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    FG1->setFont(small);
    FG1->verticalHeader()->setDefaultSectionSize(QFontMetrics(small).height() + 1);
    FG1->alignRight({0, 1});
    Text4 = new QLineEdit(this);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->setReadOnly(true);
    Text4->setFocusPolicy(Qt::NoFocus);
    Text4->setAlignment(Qt::AlignRight);
    auto* total = new QHBoxLayout;
    total->addWidget(caption(QStringLiteral("合計"), Text4));
    total->addWidget(Text4, 1);
    auto* table = new QVBoxLayout;
    table->addWidget(new QLabel(QStringLiteral("日付           金額"), this));
    table->addWidget(FG1, 1);
    table->addLayout(total);
    auto* middle = new QHBoxLayout;
    middle->addWidget(graph_, 1);
    middle->addLayout(table);
    result()->addLayout(texts);
    result()->addLayout(middle, 1);

    connect(Text2, &EntryField::focused, this, [this] {
        labelPFK()->setText(Return);
        Text1->setEnabled(false);
        SJBTN->setEnabled(false);
    });
    connect(Text1, &EntryField::focused, this, [this] {
        labelPFK()->setText(Return);
        SJBTN->setEnabled(false);
    });
    connect(Text2, &EntryField::entered, this, &MUK4AS01::productEntered);
    connect(Text1, &EntryField::entered, this, &MUK4AS01::monthEntered);
}

void MUK4AS01::loadData()
{
    ReportScreen::loadData();
    Text1->setText(businessDate().left(6));
    graph_->reset();
}

void MUK4AS01::clearResult()
{
    for (QLabel* label : labelID_)
        label->clear();
    Text4->clear();
    FG1->clear();
    enableChoices(true);
    graph_->reset();
}

void MUK4AS01::areaAssign()
{
    options_[0]->setChecked(true);
    options_[3]->setChecked(true);
    figure_ = Figure::SalesWithTax;
    chooseScale(0);
    Text2->setEnabled(true);
}

void MUK4AS01::focusFirst()
{
    Text2->giveBack();
}

void MUK4AS01::chooseFigure(Figure figure)
{
    figure_ = figure;
    showSetting();
}

void MUK4AS01::chooseScale(int index)
{
    scale_ = index;
    graph_->setMarks(scales()[static_cast<size_t>(index)].marks);
    showSetting();
}

void MUK4AS01::showSetting()
{
    labelID_[3]->setText(
        settingText(figure_, scales()[static_cast<size_t>(scale_)], Check1->isChecked()));
    backToProduct();
}

void MUK4AS01::backToProduct()
{
    Text2->setEnabled(true);
    Text2->giveBack();
}

void MUK4AS01::productEntered()
{
    const QString code = Text2->text();
    std::optional<QVariantMap> product;
    if (!check(MasterTable(QStringLiteral("MBMSHO")).find(db(), code, product),
               QStringLiteral("商品を読み込めませんでした。"))) {
        Text2->giveBack();
        return;
    }
    if (!product) {
        message(MessageForm::Plain, QStringLiteral("部門が間違っています。"));
        Text2->giveBack();
        return;
    }
    auto field = [&product](const char* name) {
        return product->value(QString::fromLatin1(name)).toString();
    };
    const QString name = field("CB02");
    middle_ = field("CB05");
    DbResult majorRead;
    DbResult middleRead;
    const QString majorName = nameOf(db(), QStringLiteral("MBMBRL"), field("CB04"), majorRead);
    const QString middleName = nameOf(db(), QStringLiteral("MBMBRM"), middle_, middleRead);
    check(majorRead.ok() ? middleRead : majorRead, QStringLiteral("分類を読み込めませんでした。"));
    labelID_[0]->setText(name + QStringLiteral(" (") + code + QStringLiteral(") ") +
                         QStringLiteral(" / 大分類 = ") + field("CB04") +
                         QStringLiteral(" / 中分類 = ") + middle_);
    labelID_[1]->setText(name + QStringLiteral(" / 大分類 = ") + majorName +
                         QStringLiteral(" / 中分類 = ") + middleName);
    auto price = [&field](const char* value) {
        return Conversions::plainNumber(Conversions::toNumber(field(value)));
    };
    labelID_[2]->setText(QStringLiteral("原単価 = ") + price("CB07") + QStringLiteral(" (") +
                         field("CB08") + QStringLiteral(") ") + QStringLiteral("/ 売単価 = ") +
                         price("CB11") + QStringLiteral(" (") + field("CB12") +
                         QStringLiteral(") "));
    Text1->setEnabled(true);
    Text1->giveBack();
}

void MUK4AS01::monthEntered()
{
    if (!ReportDates::validMonth(Text1->text())) {
        message(MessageForm::Plain, QStringLiteral("月度が間違っています。"));
        Text1->giveBack();
        return;
    }
    draw();
}

void MUK4AS01::enableChoices(bool on)
{
    for (QRadioButton* option : options_)
        option->setEnabled(on);
    Check1->setEnabled(on);
    Check2->setEnabled(on);
}

void MUK4AS01::draw()
{
    Text1->setEnabled(false);
    Text2->setEnabled(false);
    RTBTN->setEnabled(false);
    enableChoices(false);
    labelM()->clear();
    BusyCursor busy;
    const Scale& scale = scales()[static_cast<size_t>(scale_)];
    const bool net = Check2->isChecked();
    const QString month = Text1->text();
    DayTotals totals{};
    DayTotals category{};
    if (!check(read(db(), Text2->text(), middle_, month, figure_, net, totals, category),
               QStringLiteral("売上を読み込めませんでした。"))) {
        activate();
        return;
    }
    FG1->setRows(tableRows(totals));
    shownFigures_ = {totals, category};
    compared_ = Check1->isChecked();
    Text4->setText(totalText(totals));
    for (int day = 1; day <= Days; ++day) {
        const auto i = static_cast<size_t>(day - 1);
        graph_->setBar(Series::Product, day, bar(totals[i], scale.divisor, day, Series::Product));
        if (Check1->isChecked()) {
            graph_->setBar(Series::Comparison, day,
                           bar(category[i], scale.divisor, day, Series::Comparison));
        }
    }
    setStatus(QStringLiteral("● 正常終了"));
    RTBTN->setEnabled(true);
    showResult(RTBTN);
}

ReportFile MUK4AS01::reportFile() const
{
    QStringList headings{QStringLiteral("日付"), figureName(figure_)};
    if (compared_)
        headings << QStringLiteral("中分類");
    QList<QStringList> rows =
        fileRows(shownFigures_.first, compared_ ? &shownFigures_.second : nullptr);
    const QStringList total = rows.takeLast();
    return {{{labelID_[0]->text()}, headings}, rows, {total}};
}

QString MUK4AS01::filePeriod() const
{
    return Text1->text();
}
