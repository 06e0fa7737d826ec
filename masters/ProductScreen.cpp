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
    if (!ProductEntry::isCode(code)) {
        say(QStringLiteral("商品コードがありません。"));
        Text1->giveBack();
        return;
    }
    std::optional<QVariantMap> found;
    {
        BusyCursor busy;
        if (!check(products_.find(db(), code, found),
                   QStringLiteral("商品を読み込めませんでした。")))
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
    showEntry(ProductEntry::fromRecord(*found));
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
        const QString failed = QStringLiteral("商品を登録できませんでした。");
        if (!check(products_.find(db(), entry.code, stored), failed) ||
            !check(products_.store(db(), entry.code, entry.record(!stored)), failed))
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
