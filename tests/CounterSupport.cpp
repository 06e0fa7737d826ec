#include "CounterSupport.h"

#include <QRadioButton>

ReceiptsSeen::ReceiptsSeen(ReceiptOutcome a) : answer(std::move(a))
{
    before_ = CounterScreen::receiptMaker();
    ReceiptMaker maker = before_;
    maker.sale = [this](const FinishedSale& sale, const QString&, const QString&) {
        sales << sale;
        return answer;
    };
    maker.cash = [this](const FinishedCashMovement& movement, const QString&, const QString&) {
        movements << movement;
        return answer;
    };
    CounterScreen::setReceiptMaker(maker);
}

ReceiptsSeen::~ReceiptsSeen()
{
    CounterScreen::setReceiptMaker(before_);
}

ReceiptOutcome ReceiptsSeen::printed()
{
    ReceiptOutcome outcome;
    outcome.kind = ReceiptOutcome::Kind::Printed;
    outcome.where = QStringLiteral("receipt-printer");
    return outcome;
}

ReceiptOutcome ReceiptsSeen::pdf(const QString& path)
{
    ReceiptOutcome outcome;
    outcome.kind = ReceiptOutcome::Kind::Pdf;
    outcome.where = path;
    return outcome;
}

ReceiptOutcome ReceiptsSeen::failed(const QString& reason)
{
    ReceiptOutcome outcome;
    outcome.kind = ReceiptOutcome::Kind::Failed;
    outcome.reason = reason;
    return outcome;
}

void addCounterProduct(Database& db, const QString& code, const QString& name, const QString& price,
                       const QVariantMap& more)
{
    QVariantMap fields{{"CB01", code}, {"CB02", name}, {"CB11", price}};
    for (auto it = more.cbegin(); it != more.cend(); ++it)
        fields.insert(it.key(), it.value());
    addProduct(db, fields);
}

void openShop(Database& db, const QString& lastSequence)
{
    setParameter(db, "tax", "0.08");
    setParameter(db, "workday", "20261215", "RUN");
    setParameter(db, "receipt", "612", lastSequence);
    setParameter(db, "charge", "0003", "佐藤");
    setParameter(db, "printer", "00");
    addStaff(db, "0003", "佐藤");
    addStaff(db, "0007", "鈴木");
    addMajor(db, "1", "食品", "食品");
    addMiddle(db, "101", "パン", "パン");
    addCounterProduct(db, Bread, "食パン", "1000",
                      {{"CB04", "1"}, {"CB05", "101"}, {"CB07", "700"}});
    addCounterProduct(db, Milk, "牛乳", "1000", {{"CB04", "2"}, {"CB05", "205"}});
    addCounterProduct(db, Tea, "お茶", "540");
    addCounterProduct(db, Special, "特売品", "1080",
                      {{"CB13", "3"}, {"CB14", 500}, {"CB17", "00:00:00"}, {"CB18", "23:59:59"}});
}

AtTheCounter::AtTheCounter(const QString& screen, const std::function<void(Database&)>& arrange)
{
    openShop(t);
    if (arrange)
        arrange(t);
    screens.show(screen);
}

void typeOver(EntryField* field, const QString& text)
{
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    typeInto(field, text);
}

QString Counter::text(const char* name)
{
    return screens.find<QLineEdit>(QString::fromLatin1(name))->text();
}

void Counter::sell(const QString& code, const QString& quantity, const QString& price)
{
    EntryField* code4 = field("Text4");
    code4->setFocus();
    code4->selectAll();
    typeInto(code4, code);
    enter(code4);
    EntryField* price6 = field("Text6");
    if (!price.isNull())
        typeOver(price6, price);
    enter(price6);
    typeOver(field("Text7"), quantity);
    enter(field("Text7"));
}

void Counter::tender(const QString& amount)
{
    QTest::keyClick(field("Text4"), '+');
    typeOver(field("Text8"), amount);
    enter(field("Text8"));
}

void Counter::option(int n)
{
    QTest::mouseClick(screens.find<QRadioButton>(QStringLiteral("OP%1").arg(n)), Qt::LeftButton);
}

void Counter::post()
{
    screens.click(QStringLiteral("RSBTN"));
}
