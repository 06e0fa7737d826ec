#include "masters/ProductScreen.h"

#include "data/Clock.h"
#include "data/Conversions.h"
#include "data/RecordSet.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
const QString ChooseName = QStringLiteral("名前を選択してください");

// A stored blank stands for "no value" and is shown as an empty field.
QString shown(const QVariantMap& record, const char* field)
{
    const QString text = record.value(QString::fromLatin1(field)).toString();
    return text.trimmed().isEmpty() ? QString() : text;
}

bool isDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return !text.isEmpty();
}

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

ProductScreen::ProductScreen(Navigator& navigator, const Captions& captions)
    : MasterScreen(navigator, captions.code, captions.title, MessageForm::Error)
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
    auto* kinds = new QButtonGroup(this);
    QRadioButton** options[] = {&Option1, &Option2, &Option3, &Option4};
    const char* kindNames[] = {"期間＆時間", "期間", "時間", "なし"};
    for (int i = 0; i < 4; ++i) {
        *options[i] = new QRadioButton(QString::fromUtf8(kindNames[i]), this);
        (*options[i])->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        kinds->addButton(*options[i]);
    }
    buildLayout(captions);

    chain_ = {Text1, Text2, Text3, CB1,    CB2,    Text4,  Text5,
              Text7, Text8, Text9, Text10, Text11, Text12, Text13};
    prices_ = {Text4, Text7, Text9};
    for (qsizetype i = 0; i + 1 < chain_.size(); ++i)
        setTabOrder(chain_[i], chain_[i + 1]);
    setTabOrder(Text8, Option1);
    setTabOrder(Option4, Text9);
    setTabOrder(Text13, RCBTN);
    setTabOrder(RCBTN, DLBTN);
    setTabOrder(DLBTN, RTBTN);

    for (QWidget* widget : std::as_const(chain_)) {
        if (auto* field = qobject_cast<EntryField*>(widget))
            connect(field, &EntryField::focused, this, [this, field] { closeAfter(field); });
    }
    for (EntryField* price : std::as_const(prices_))
        price->setAlignment(Qt::AlignRight);
    // Dates and times propose a value the operator usually only confirms.
    auto propose = [this](EntryField* field, auto value) {
        connect(field, &EntryField::focused, this, [field, value] {
            if (field->text().isEmpty()) {
                field->setText(value());
                field->selectAll();
            }
        });
    };
    for (EntryField* date : {Text5, Text8, Text10, Text11})
        propose(date, [] { return Clock::today(); });
    propose(Text12, [] { return QStringLiteral("00:00:00"); });
    propose(Text13, [] { return QStringLiteral("23:59:59"); });

    connect(Text1, &EntryField::entered, this, &ProductScreen::codeEntered);
    connect(Text2, &EntryField::entered, this, [this] {
        if (Text2->text().isEmpty()) {
            say(QStringLiteral("商品名称がありません。"));
            Text2->giveBack();
            return;
        }
        open(Text3);
    });
    connect(Text3, &EntryField::entered, this, &ProductScreen::shortNameEntered);
    connect(CB1, &QComboBox::activated, this, &ProductScreen::majorChosen);
    connect(CB2, &QComboBox::activated, this, &ProductScreen::middleChosen);
    connect(Text4, &EntryField::entered, this, [this] { priceEntered(Text4, Text5); });
    connect(Text5, &EntryField::entered, this, [this] {
        dateEntered(Text5, QStringLiteral("原単価確定日の日付が間違っています。"), [this] {
            if (mode() == Mode::Add)
                Text6->setText(QString::fromLatin1(ProductEntry::NotCalculated));
            open(Text7);
        });
    });
    connect(Text7, &EntryField::entered, this, [this] { priceEntered(Text7, Text8); });
    connect(Text8, &EntryField::entered, this, [this] {
        dateEntered(Text8, QStringLiteral("売単価確定日の日付が間違っています。"), [this] {
            open(kind() == SpecialKind::None ? static_cast<QWidget*>(RCBTN) : Text9);
        });
    });
    connect(Text9, &EntryField::entered, this, &ProductScreen::specialEntered);
    connect(Text10, &EntryField::entered, this, [this] {
        dateEntered(Text10, QStringLiteral("特売期間(from)の日付が間違っています。"),
                    [this] { open(Text11); });
    });
    connect(Text11, &EntryField::entered, this, [this] {
        dateEntered(Text11, QStringLiteral("特売期間(to)の日付が間違っています。"), [this] {
            open(kind() == SpecialKind::Period ? static_cast<QWidget*>(RCBTN) : Text12);
        });
    });
    connect(Text12, &EntryField::entered, this, [this] {
        timeEntered(Text12, QStringLiteral("特売時間(from)の時間が間違っています。"), Text13);
    });
    connect(Text13, &EntryField::entered, this, [this] {
        timeEntered(Text13, QStringLiteral("特売時間(to)の日付が間違っています。"), RCBTN);
    });
    connect(Option1, &QRadioButton::clicked, this,
            [this] { optionClicked(SpecialKind::PeriodAndTime); });
    connect(Option2, &QRadioButton::clicked, this, [this] { optionClicked(SpecialKind::Period); });
    connect(Option3, &QRadioButton::clicked, this, [this] { optionClicked(SpecialKind::Time); });

    selectKind(SpecialKind::None);
}

void ProductScreen::buildLayout(const Captions& captions)
{
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
    addRow(QStringLiteral("原単価"), Text4);
    addRow(QStringLiteral("原単価確定日"), Text5);
    addRow(QStringLiteral("移動平均原価算出日"), Text6);
    addRow(QStringLiteral("売単価"), Text7);
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

void ProductScreen::areaInit()
{
    MasterScreen::areaInit();
    // The dates, the categories and the kind stay as the proposal for the
    // next product.
    for (QLineEdit* field : QList<QLineEdit*>{Text1, Text2, Text3, Text4, Text6, Text7, Text9,
                                              Text10, Text11, Text12, Text13})
        field->clear();
    LabelW->clear();
}

void ProductScreen::areaLock()
{
    for (QWidget* widget : std::as_const(chain_))
        widget->setEnabled(false);
    enable({RCBTN, DLBTN}, false);
}

void ProductScreen::areaAssign()
{
    labelPFK()->setText(QStringLiteral("F10.Return"));
    setMode(Mode::Add);
}

void ProductScreen::focusFirst()
{
    open(Text1);
}

void ProductScreen::closeAfter(QWidget* field)
{
    for (qsizetype i = chain_.indexOf(field) + 1; i < chain_.size(); ++i)
        chain_[i]->setEnabled(false);
    enable({RCBTN, DLBTN}, false);
    DLBTN->setEnabled(mode() == Mode::Change && field != Text1);
}

bool ProductScreen::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && (watched == CB1 || watched == CB2)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const bool major = watched == CB1;
            if ((major ? TextA : TextC)->text().isEmpty()) {
                say(major ? QStringLiteral("大分類コードがありません。")
                          : QStringLiteral("中分類コードがありません。"));
                static_cast<QWidget*>(watched)->setFocus();
            } else {
                open(major ? static_cast<QWidget*>(CB2) : Text4);
            }
            return true;
        }
    }
    // A price is typed from the left and read from the right.
    if ((type == QEvent::FocusIn || type == QEvent::FocusOut) &&
        prices_.contains(qobject_cast<EntryField*>(watched))) {
        static_cast<EntryField*>(watched)->setAlignment(type == QEvent::FocusIn ? Qt::AlignLeft
                                                                                : Qt::AlignRight);
    }
    return MasterScreen::eventFilter(watched, event);
}

void ProductScreen::codeEntered()
{
    const QString code = Text1->text();
    // Only digits make a code the counter can scan or type.
    if (code.size() > 13 || !isDigits(code)) {
        say(QStringLiteral("商品コードがありません。"));
        Text1->giveBack();
        return;
    }
    std::optional<QVariantMap> found;
    {
        BusyCursor busy;
        if (!check(products_.find(db(), code, found)))
            return;
    }
    if (!found) {
        // Whatever is on screen is offered for the new code, so that a
        // called-up product can be saved again as a copy.
        setMode(Mode::Add);
        LabelW->setText(code.size() < 13 ? QStringLiteral("？商品コード桁数(≠JAN)") : QString());
        open(Text2);
        return;
    }
    setMode(Mode::Change);
    LabelW->clear();
    enable({Text2, Text3, DLBTN}, true);
    showProduct(*found);
    productShown();
}

void ProductScreen::showProduct(const QVariantMap& record)
{
    Text1->setText(shown(record, "CB01"));
    Text2->setText(shown(record, "CB02"));
    Text3->setText(shown(record, "CB03"));
    const QString major = shown(record, "CB04");
    TextA->setText(major);
    TextB->setText(major);
    majorListSet();
    TextC->setText(shown(record, "CB05").right(2));
    // The middle list belongs to the product's own major category.
    middleListSet(major);
    Text4->setText(shown(record, "CB07"));
    Text5->setText(shown(record, "CB08"));
    Text6->setText(shown(record, "CB09"));
    Text7->setText(shown(record, "CB11"));
    Text8->setText(shown(record, "CB12"));
    const SpecialKind stored = ProductEntry::kindOf(Conversions::toNumber(shown(record, "CB13")));
    selectKind(stored);
    Text9->setText(stored == SpecialKind::None ? QString() : shown(record, "CB14"));
    const bool period = shown(record, "CB15").size() == 8;
    Text10->setText(period ? shown(record, "CB15") : QString());
    Text11->setText(period ? shown(record, "CB16") : QString());
    const bool time = shown(record, "CB17").size() == 8;
    Text12->setText(time ? shown(record, "CB17") : QString());
    Text13->setText(time ? shown(record, "CB18") : QString());
}

void ProductScreen::productShown()
{
    open(Text2);
}

void ProductScreen::shortNameEntered()
{
    if (Text3->text().isEmpty()) {
        say(QStringLiteral("商品略称がありません。"));
        Text3->giveBack();
        return;
    }
    if (TextA->text().isEmpty() || TextA->text() == u'0')
        majorListSet();
    open(CB1);
}

void ProductScreen::majorListSet()
{
    CB1->clear();
    RecordSet rs(db());
    if (check(rs.open(Select(QStringLiteral("MBMBRL"))
                          .where(QStringLiteral("CB01"), QStringLiteral(">="), QStringLiteral("0"))
                          .orderBy({QStringLiteral("CB01")})))) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            CB1->addItem(rs.text(QStringLiteral("CB02")),
                         static_cast<int>(rs.number(QStringLiteral("CB01"))));
    }
    if (TextA->text().isEmpty()) {
        CB1->setCurrentIndex(-1);
        TextB->clear();
        return;
    }
    CB1->setCurrentIndex(CB1->findData(static_cast<int>(Conversions::toNumber(TextA->text()))));
}

void ProductScreen::middleListSet(const QString& major)
{
    CB2->clear();
    RecordSet rs(db());
    const QString field = QStringLiteral("CB01");
    if (!major.isEmpty() &&
        check(rs.open(Select(QStringLiteral("MBMBRM"))
                          .where(field, QStringLiteral(">="), major + QStringLiteral("00"))
                          .where(field, QStringLiteral("<="), major + QStringLiteral("99"))
                          .orderBy({field})))) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            CB2->addItem(rs.text(QStringLiteral("CB02")), static_cast<int>(rs.number(field)));
    }
    if (TextC->text().isEmpty()) {
        CB2->setCurrentIndex(-1);
        return;
    }
    const int code = static_cast<int>(Conversions::toNumber(TextB->text() + TextC->text()));
    CB2->setCurrentIndex(CB2->findData(code));
}

void ProductScreen::majorChosen(int index)
{
    closeAfter(CB1);
    const QString major = QString::number(CB1->itemData(index).toInt() + 10).right(1);
    // A middle number of another major category would make a code that does
    // not exist.
    if (major != TextB->text())
        TextC->clear();
    TextA->setText(major);
    TextB->setText(major);
    middleListSet(major);
    open(CB2);
}

void ProductScreen::middleChosen(int index)
{
    closeAfter(CB2);
    TextC->setText(QString::number(CB2->itemData(index).toInt() + 100).right(2));
    open(Text4);
}

void ProductScreen::priceEntered(EntryField* field, QWidget* next)
{
    field->setAlignment(Qt::AlignRight);
    field->setText(ProductEntry::priceText(field->text()));
    open(next);
}

void ProductScreen::specialEntered()
{
    const SpecialKind chosen = kind();
    if (chosen == SpecialKind::Period) {
        Text12->clear();
        Text13->clear();
    } else if (chosen == SpecialKind::Time) {
        Text10->clear();
        Text11->clear();
    }
    QWidget* next = Text10;
    if (chosen == SpecialKind::Time)
        next = Text12;
    else if (chosen == SpecialKind::None)
        next = RCBTN;
    priceEntered(Text9, next);
}

void ProductScreen::dateEntered(EntryField* field, const QString& failure,
                                const std::function<void()>& next)
{
    if (field->text().isEmpty())
        return;
    if (!ProductEntry::isCalendarDate(field->text())) {
        say(failure);
        field->giveBack();
        return;
    }
    next();
}

void ProductScreen::timeEntered(EntryField* field, const QString& failure, QWidget* next)
{
    if (field->text().isEmpty())
        return;
    const ProductEntry::TimeCheck time = ProductEntry::checkTime(field->text());
    field->setText(time.text);
    if (!time.valid) {
        say(failure);
        field->giveBack();
        return;
    }
    open(next);
}

void ProductScreen::optionClicked(SpecialKind chosen)
{
    selectKind(chosen);
    if (Text1->text().isEmpty() || Text8->text().isEmpty()) {
        selectKind(SpecialKind::None);
        open(Text1);
        return;
    }
    open(Text9);
}

SpecialKind ProductScreen::kind() const
{
    if (Option1->isChecked())
        return SpecialKind::PeriodAndTime;
    if (Option2->isChecked())
        return SpecialKind::Period;
    if (Option3->isChecked())
        return SpecialKind::Time;
    return SpecialKind::None;
}

void ProductScreen::selectKind(SpecialKind chosen)
{
    const QList<QRadioButton*> options{Option1, Option2, Option3, Option4};
    options[static_cast<int>(chosen) - 1]->setChecked(true);
}

int ProductScreen::answerCheck()
{
    int result = 0;
    auto fail = [&](int item, const char* text, QWidget* widget) {
        say(QString::fromUtf8(text));
        result = item;
        widget->setEnabled(true);
        if (auto* field = qobject_cast<EntryField*>(widget))
            field->giveBack();
        else
            widget->setFocus();
    };
    if (Text1->text().isEmpty())
        fail(1, "商品コードがありません。", Text1);
    if (Text2->text().isEmpty())
        fail(2, "商品名称がありません。", Text2);
    if (Text3->text().isEmpty())
        fail(3, "商品略称がありません。", Text3);
    if (TextA->text().isEmpty() || TextB->text().isEmpty())
        fail(4, "大分類コードがありません。", CB1);
    if (TextC->text().isEmpty())
        fail(5, "中分類コードがありません。", CB2);
    return result;
}

ProductEntry ProductScreen::entryOnScreen() const
{
    ProductEntry entry;
    entry.code = Text1->text();
    entry.name = Text2->text();
    entry.shortName = Text3->text();
    entry.major = TextA->text();
    entry.middle = TextB->text() + TextC->text();
    entry.cost = Text4->text();
    entry.costDate = Text5->text();
    entry.averageDate = Text6->text();
    entry.price = Text7->text();
    entry.priceDate = Text8->text();
    entry.kind = kind();
    entry.special = Text9->text();
    entry.periodFrom = Text10->text();
    entry.periodTo = Text11->text();
    entry.timeFrom = Text12->text();
    entry.timeTo = Text13->text();
    return entry;
}

void ProductScreen::registerClicked()
{
    if (answerCheck() != 0)
        return;
    {
        BusyCursor busy;
        const ProductEntry entry = entryOnScreen();
        std::optional<QVariantMap> stored;
        if (!check(products_.find(db(), entry.code, stored)) ||
            !check(products_.store(db(), entry.code, entry.record(!stored))))
            return;
    }
    activate();
}

void ProductScreen::forgetProposals()
{
    selectKind(SpecialKind::None);
    for (QLineEdit* field : QList<QLineEdit*>{Text5, Text8, TextA, TextB, TextC})
        field->clear();
    CB1->setCurrentIndex(-1);
    CB2->setCurrentIndex(-1);
}
