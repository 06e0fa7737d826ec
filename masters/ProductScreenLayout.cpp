#include "masters/ProductScreen.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

// The controls of the product screens and their arrangement: the product on
// the left in the order of entry, the special price beside it.

namespace {
const QString ChooseName = QStringLiteral("名前を選択してください");

QLineEdit* displayBox(const QString& name, int maxLength, int width, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    box->setFixedWidth(width);
    box->setEnabled(false);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}
} // namespace

void ProductScreen::makeControls(const Captions& captions)
{
    auto digits = KeyFilter::Digits;
    Text1 = addField("Text1", 13, digits, "商品コードを入力してください。");
    Text2 = addField("Text2", 20, KeyFilter::Any, "商品名称を入力してください。");
    Text3 = addField("Text3", 10, KeyFilter::Any, "商品略称を入力してください。");
    Text4 = addField("Text4", 8, digits, "原単価を入力してください。");
    Text5 = addField("Text5", 8, KeyFilter::DigitsAsterisk, "原単価確定日を入力してください。");
    Text7 = addField("Text7", 8, digits, "売単価を入力してください。");
    Text8 = addField("Text8", 8, KeyFilter::DigitsAsterisk, "売単価確定日を入力してください。");
    Text9 = addField("Text9", 8, digits, "特売単価を入力してください。");
    Text10 = addField("Text10", 8, KeyFilter::DigitsAsterisk, "特売期間(from)を入力してください。");
    Text11 = addField("Text11", 8, KeyFilter::DigitsAsterisk, "特売期間(to)を入力してください。");
    const auto timeKeys = KeyFilter::DigitsAsteriskColon;
    Text12 = addField("Text12", 8, timeKeys, "特売時間(from)を入力してください。");
    Text13 = addField("Text13", 8, timeKeys, "特売時間(to)を入力してください。");
    Text6 = displayBox("Text6", 8, 110, this);
    TextA = displayBox("TextA", 1, 28, this);
    TextB = displayBox("TextB", 1, 28, this);
    TextC = displayBox("TextC", 2, 36, this);
    auto makeCombo = [this](const char* name) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(name));
        combo->setPlaceholderText(ChooseName);
        combo->setMinimumWidth(260);
        return combo;
    };
    CB1 = makeCombo("CB1");
    CB2 = makeCombo("CB2");
    LabelW = new QLabel(this);
    LabelW->setObjectName(QStringLiteral("LabelW"));
    LabelW->setStyleSheet(QStringLiteral("color: #C00000;"));
    // Room for the warning from the start, so the screen does not shift when it shows.
    LabelW->setMinimumWidth(
        LabelW->fontMetrics().horizontalAdvance(QStringLiteral("？商品コード桁数(≠JAN)")) + 12);
    auto* exclusive = new QButtonGroup(this);
    QRadioButton** options[] = {&Option1, &Option2, &Option3, &Option4};
    const char* kindNames[] = {"期間＆時間", "期間", "時間", "なし"};
    for (int i = 0; i < 4; ++i) {
        *options[i] = new QRadioButton(QString::fromUtf8(kindNames[i]), this);
        (*options[i])->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        exclusive->addButton(*options[i]);
    }

    classBox_ = new QWidget(this);
    classBox_->setObjectName(QStringLiteral("FrameTax"));
    auto* classes = new QButtonGroup(classBox_);
    auto* classLayout = new QHBoxLayout(classBox_);
    classLayout->setContentsMargins(0, 0, 0, 0);
    OptionStandard = new QRadioButton(QStringLiteral("標準税率"), classBox_);
    OptionStandard->setObjectName(QStringLiteral("OptionStandard"));
    OptionReduced = new QRadioButton(QStringLiteral("軽減税率"), classBox_);
    OptionReduced->setObjectName(QStringLiteral("OptionReduced"));
    for (QRadioButton* option : {OptionStandard, OptionReduced}) {
        classes->addButton(option);
        classLayout->addWidget(option);
    }
    classLayout->addStretch(1);
    classBox_->setFocusProxy(OptionStandard);

    auto row = [this](std::initializer_list<QWidget*> widgets) {
        auto* line = new QWidget(this);
        auto* layout = new QHBoxLayout(line);
        layout->setContentsMargins(0, 0, 0, 0);
        for (QWidget* widget : widgets)
            layout->addWidget(widget);
        layout->addStretch(1);
        line->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        return line;
    };
    Text1->setFixedWidth(150);
    Text2->setMinimumWidth(300);
    Text3->setFixedWidth(170);
    for (EntryField* field : {Text4, Text5, Text7, Text8, Text9, Text10, Text11, Text12, Text13})
        field->setFixedWidth(110);
    addRow(QStringLiteral("商品コード"), Text1, LabelW);
    addRow(QStringLiteral("商品名称"), Text2);
    addRow(QStringLiteral("商品略称"), Text3);
    // The combo box, not the code boxes in front of it, is what the caption names.
    auto comboRow = [this](const QString& text, QComboBox* combo, QWidget* line) {
        const int at = fields()->rowCount();
        fields()->addWidget(caption(text, combo), at, 0);
        fields()->addWidget(line, at, 1, 1, 2);
    };
    comboRow(QStringLiteral("大分類コード"), CB1, row({TextA, CB1}));
    comboRow(QStringLiteral("中分類コード"), CB2, row({TextB, TextC, CB2}));
    // A caption names one control; the code boxes in front of the lists are
    // named for screen readers by what they show.
    TextA->setAccessibleName(QStringLiteral("大分類CD"));
    TextB->setAccessibleName(QStringLiteral("中分類CD（大分類）"));
    TextC->setAccessibleName(QStringLiteral("中分類CD（番号）"));
    addRow(QStringLiteral("原単価"), Text4);
    addRow(QStringLiteral("原単価確定日"), Text5);
    addRow(QStringLiteral("移動平均原価算出日"), Text6);
    // The class stands right beside the price it taxes.
    const int priceRow = fields()->rowCount();
    fields()->addWidget(caption(QStringLiteral("売単価"), Text7), priceRow, 0);
    fields()->addWidget(row({Text7, classBox_}), priceRow, 1, 1, 2);
    addRow(QStringLiteral("売単価確定日"), Text8);

    // The special price stands apart on the right, as it is kept on its own.
    auto* kinds = new QGroupBox(QStringLiteral("特売区分"), this);
    auto* kindLayout = new QGridLayout(kinds);
    kindLayout->addWidget(Option1, 0, 0);
    kindLayout->addWidget(Option2, 0, 1);
    kindLayout->addWidget(Option3, 1, 0);
    kindLayout->addWidget(Option4, 1, 1);
    auto* special = new QGridLayout;
    special->setHorizontalSpacing(12);
    special->setVerticalSpacing(8);
    special->addWidget(kinds, 0, 0, 1, 2);
    const QList<QPair<QString, EntryField*>> specialRows{
        {QStringLiteral("特売単価"), Text9}, {QStringLiteral("特売期間 from"), Text10},
        {captions.periodTo, Text11},         {QStringLiteral("特売時間 from"), Text12},
        {captions.timeTo, Text13},
    };
    for (int i = 0; i < specialRows.size(); ++i) {
        special->addWidget(caption(specialRows[i].first, specialRows[i].second), i + 1, 0);
        special->addWidget(specialRows[i].second, i + 1, 1);
    }
    fields()->setVerticalSpacing(14);
    fields()->setColumnStretch(3, 0);
    fields()->setColumnMinimumWidth(3, 40);
    fields()->setColumnStretch(5, 1);
    // Without a list below, the room left over stays under the fields.
    const int rows = fields()->rowCount();
    fields()->addLayout(special, 0, 4, rows, 1, Qt::AlignTop);
    fields()->setRowStretch(rows, 1);
}
