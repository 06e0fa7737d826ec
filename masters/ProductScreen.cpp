#include "masters/ProductScreen.h"

#include "data/Clock.h"
#include "data/Conversions.h"
#include "masters/ProductCategories.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

ProductScreen::ProductScreen(Navigator& navigator, const Captions& captions)
    : MasterScreen(navigator, captions.code, captions.title, MessageForm::Error)
{
    makeControls(captions);
    keepTable(QStringLiteral("MBMSHO"), Text1, QStringLiteral("商品コードがありません。"));

    // The Enter chain after the code: each field's check, and where the entry
    // goes on when it passes. A refused field keeps the focus under its
    // message; an empty date or time does nothing.
    const auto to = [](QWidget* next) { return [next] { return next; }; };
    steps_ = {
        {Text2, "商品名称がありません。", filled(Text2), to(Text3)},
        {Text3, "商品略称がありません。", filled(Text3),
         [this]() -> QWidget* {
             if (TextA->text().isEmpty() || TextA->text() == u'0')
                 majorListSet();
             return CB1;
         }},
        {CB1, "大分類コードがありません。", filled(TextA), to(CB2)},
        {CB2, "中分類コードがありません。", filled(TextC), to(Text4)},
        {Text4, "", price(Text4), to(Text5)},
        {Text5, "原単価確定日の日付が間違っています。", date(Text5),
         [this]() -> QWidget* {
             if (mode() == Mode::Add)
                 Text6->setText(QString::fromLatin1(ProductEntry::NotCalculated));
             return Text7;
         }},
        {Text7, "", price(Text7), to(classBox_)},
        {classBox_, "", [] { return Verdict::Pass; }, to(Text8)},
        {Text8, "売単価確定日の日付が間違っています。", date(Text8),
         [this] { return kind() == SpecialKind::None ? RCBTN : static_cast<QWidget*>(Text9); }},
        {Text9, "", price(Text9), [this] { return afterSpecialPrice(); }},
        {Text10, "特売期間(from)の日付が間違っています。", date(Text10), to(Text11)},
        {Text11, "特売期間(to)の日付が間違っています。", date(Text11),
         [this] { return kind() == SpecialKind::Period ? RCBTN : static_cast<QWidget*>(Text12); }},
        {Text12, "特売時間(from)の時間が間違っています。", time(Text12), to(Text13)},
        {Text13, "特売時間(to)の日付が間違っています。", time(Text13), to(RCBTN)},
    };

    chain_ << Text1;
    for (const EnterStep& step : std::as_const(steps_)) {
        chain_ << step.field;
        if (auto* field = qobject_cast<EntryField*>(step.field))
            connect(field, &EntryField::entered, this, [this, field] { enterPressed(field); });
    }
    QList<QWidget*> tabbed;
    for (QWidget* widget : std::as_const(chain_)) {
        if (widget == classBox_)
            tabbed << OptionStandard << OptionReduced;
        else
            tabbed << widget;
    }
    for (qsizetype i = 0; i + 1 < tabbed.size(); ++i)
        setTabOrder(tabbed[i], tabbed[i + 1]);
    setTabOrder(Text8, Option1);
    setTabOrder(Option4, Text9);
    setTabOrder(Text13, RCBTN);
    setTabOrder(RCBTN, DLBTN);
    setTabOrder(DLBTN, RTBTN);

    for (QWidget* widget : std::as_const(chain_)) {
        if (auto* field = qobject_cast<EntryField*>(widget))
            connect(field, &EntryField::focused, this, [this, field] { closeAfter(field); });
    }
    for (EntryField* price : {Text4, Text7, Text9})
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

    connect(CB1, &QComboBox::activated, this, &ProductScreen::majorChosen);
    connect(CB2, &QComboBox::activated, this, &ProductScreen::middleChosen);
    connect(Option1, &QRadioButton::clicked, this,
            [this] { optionClicked(SpecialKind::PeriodAndTime); });
    connect(Option2, &QRadioButton::clicked, this, [this] { optionClicked(SpecialKind::Period); });
    connect(Option3, &QRadioButton::clicked, this, [this] { optionClicked(SpecialKind::Time); });

    // Entering the class goes to the option that is chosen, wherever the
    // arrow keys have moved the choice.
    connect(OptionReduced, &QRadioButton::toggled, this, [this](bool reduced) {
        classBox_->setFocusProxy(reduced ? OptionReduced : OptionStandard);
    });

    selectKind(SpecialKind::None);
    selectClass(TaxClass::Standard);
}

ProductScreen::Check ProductScreen::filled(QLineEdit* field)
{
    return [field] { return field->text().isEmpty() ? Verdict::Refuse : Verdict::Pass; };
}

ProductScreen::Check ProductScreen::price(EntryField* field)
{
    // A price is confirmed right-aligned, "0" when nothing or nought was typed.
    return [field] {
        field->setAlignment(Qt::AlignRight);
        field->setText(ProductEntry::priceText(field->text()));
        return Verdict::Pass;
    };
}

ProductScreen::Check ProductScreen::date(EntryField* field)
{
    return [field] {
        if (field->text().isEmpty())
            return Verdict::Stay;
        return ProductEntry::isCalendarDate(field->text()) ? Verdict::Pass : Verdict::Refuse;
    };
}

ProductScreen::Check ProductScreen::time(EntryField* field)
{
    // The entry is rewritten with two-digit parts before it is judged.
    return [field] {
        if (field->text().isEmpty())
            return Verdict::Stay;
        const ProductEntry::TimeCheck time = ProductEntry::checkTime(field->text());
        field->setText(time.text);
        return time.valid ? Verdict::Pass : Verdict::Refuse;
    };
}

QWidget* ProductScreen::afterSpecialPrice()
{
    // Only the fields of the chosen kind keep a value.
    switch (kind()) {
    case SpecialKind::Period:
        Text12->clear();
        Text13->clear();
        return Text10;
    case SpecialKind::Time:
        Text10->clear();
        Text11->clear();
        return Text12;
    case SpecialKind::None:
        return RCBTN;
    case SpecialKind::PeriodAndTime:
        break;
    }
    return Text10;
}

void ProductScreen::enterPressed(QWidget* field)
{
    const auto step = std::find_if(steps_.cbegin(), steps_.cend(),
                                   [field](const EnterStep& s) { return s.field == field; });
    if (step == steps_.cend())
        return;
    switch (step->check()) {
    case Verdict::Refuse:
        say(QString::fromUtf8(step->refusal));
        if (auto* entry = qobject_cast<EntryField*>(field))
            entry->giveBack();
        else
            field->setFocus();
        return;
    case Verdict::Stay:
        return;
    case Verdict::Pass:
        open(step->next());
        return;
    }
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
    // Unlike the kind, the class is never proposed: a product is reduced
    // only when the operator says so.
    selectClass(TaxClass::Standard);
}

void ProductScreen::areaLock()
{
    for (QWidget* widget : std::as_const(chain_))
        widget->setEnabled(false);
    enable({RCBTN, DLBTN}, false);
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
    // The combo boxes and the class take Enter as the fields do.
    if (type == QEvent::KeyPress && (watched == CB1 || watched == CB2 || isClassOption(watched))) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            enterPressed(isClassOption(watched) ? classBox_ : static_cast<QWidget*>(watched));
            return true;
        }
    }
    if (type == QEvent::FocusIn && isClassOption(watched)) {
        closeAfter(classBox_);
        labelM()->setText(QStringLiteral("税率を選択してください。"));
    }
    // A price is typed from the left and read from the right.
    if ((type == QEvent::FocusIn || type == QEvent::FocusOut) &&
        (watched == Text4 || watched == Text7 || watched == Text9)) {
        static_cast<EntryField*>(watched)->setAlignment(type == QEvent::FocusIn ? Qt::AlignLeft
                                                                                : Qt::AlignRight);
    }
    return MasterScreen::eventFilter(watched, event);
}

std::optional<QString> ProductScreen::keyOf(const QString& typed)
{
    // Only digits make a code the counter can scan or type.
    if (!ProductEntry::isCode(typed))
        return std::nullopt;
    return typed;
}

void ProductScreen::showNew(const QString& key)
{
    // Whatever is on screen is offered for the new code, so that a
    // called-up product can be saved again as a copy.
    LabelW->setText(key.size() < 13 ? QStringLiteral("？商品コード桁数(≠JAN)") : QString());
    open(Text2);
}

void ProductScreen::showFound(const QVariantMap& record)
{
    LabelW->clear();
    enable({Text2, Text3, DLBTN}, true);
    showEntry(ProductEntry::fromRecord(record));
    productShown();
}

void ProductScreen::showEntry(const ProductEntry& entry)
{
    Text1->setText(entry.code);
    Text2->setText(entry.name);
    Text3->setText(entry.shortName);
    TextA->setText(entry.major);
    TextB->setText(entry.major);
    majorListSet();
    TextC->setText(entry.middle.right(2));
    // The middle list belongs to the product's own major category.
    middleListSet(entry.major);
    Text4->setText(entry.cost);
    Text5->setText(entry.costDate);
    Text6->setText(entry.averageDate);
    Text7->setText(entry.price);
    Text8->setText(entry.priceDate);
    selectKind(entry.kind);
    Text9->setText(entry.special);
    Text10->setText(entry.periodFrom);
    Text11->setText(entry.periodTo);
    Text12->setText(entry.timeFrom);
    Text13->setText(entry.timeTo);
    selectClass(entry.taxClass);
}

void ProductScreen::productShown()
{
    open(Text2);
}

void ProductScreen::fillList(QComboBox* box, const QList<CategoryChoice>& choices, int number)
{
    box->clear();
    for (const CategoryChoice& choice : choices)
        box->addItem(choice.name, choice.number);
    box->setCurrentIndex(number < 0 ? -1 : box->findData(number));
}

void ProductScreen::majorListSet()
{
    QList<CategoryChoice> majors;
    check(ProductCategories::majors(db(), majors),
          QStringLiteral("大分類を読み込めませんでした。"));
    if (TextA->text().isEmpty())
        TextB->clear();
    fillList(CB1, majors,
             TextA->text().isEmpty() ? -1 : static_cast<int>(Conversions::toNumber(TextA->text())));
}

void ProductScreen::middleListSet(const QString& major)
{
    QList<CategoryChoice> middles;
    if (!major.isEmpty())
        check(ProductCategories::middles(db(), major, middles),
              QStringLiteral("中分類を読み込めませんでした。"));
    const QString code = TextB->text() + TextC->text();
    fillList(CB2, middles,
             TextC->text().isEmpty() ? -1 : static_cast<int>(Conversions::toNumber(code)));
}

void ProductScreen::majorChosen(int index)
{
    closeAfter(CB1);
    const QString major = ProductCategories::majorCode(CB1->itemData(index).toInt());
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
    TextC->setText(ProductCategories::middleNumber(CB2->itemData(index).toInt()));
    open(Text4);
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

void ProductScreen::selectClass(TaxClass taxClass)
{
    (taxClass == TaxClass::Reduced ? OptionReduced : OptionStandard)->setChecked(true);
}

bool ProductScreen::isClassOption(QObject* watched) const
{
    return watched == classBox_ || watched == OptionStandard || watched == OptionReduced;
}

bool ProductScreen::entryChecked()
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
    return result == 0;
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
    entry.taxClass = OptionReduced->isChecked() ? TaxClass::Reduced : TaxClass::Standard;
    return entry;
}

QVariantMap ProductScreen::storedAlways() const
{
    return entryOnScreen().record();
}

QVariantMap ProductScreen::storedOnAdd() const
{
    return ProductEntry::onAdding();
}

void ProductScreen::forgetProposals()
{
    selectKind(SpecialKind::None);
    for (QLineEdit* field : QList<QLineEdit*>{Text5, Text8, TextA, TextB, TextC})
        field->clear();
    CB1->setCurrentIndex(-1);
    CB2->setCurrentIndex(-1);
}
