#include "CounterSupport.h"

ReceiptsSeen::ReceiptsSeen(ReceiptOutcome a) : answer(std::move(a))
{
    CounterScreen::setReceiptMaker(
        {[this](const FinishedSale& sale, const QString&, const QString&) {
             sales << sale;
             return answer;
         },
         [this](const FinishedCashMovement& movement, const QString&, const QString&) {
             movements << movement;
             return answer;
         }});
}

void addCounterProduct(Database& db, const QString& code, const QString& name, const QString& price,
                       QVariantMap more)
{
    more.insert(QVariantMap{{"CB01", code}, {"CB02", name}, {"CB11", price}});
    addProduct(db, more);
}

AtTheCounter::AtTheCounter(const QString& screen, const std::function<void(Database&)>& arrange)
{
    setParameter(t, "tax", "0.08");
    setParameter(t, "workday", "20261215", "RUN");
    setParameter(t, "receipt", "612", "00041");
    setParameter(t, "charge", "0003", "佐藤");
    setParameter(t, "printer", "00");
    addStaff(t, "0003", "佐藤");
    addStaff(t, "0007", "鈴木");
    addMajor(t, "1", "食品", "食品");
    addMiddle(t, "101", "パン", "パン");
    addCounterProduct(t, Bread, "食パン", "1000",
                      {{"CB04", "1"}, {"CB05", "101"}, {"CB07", "700"}});
    addCounterProduct(t, Milk, "牛乳", "1000", {{"CB04", "2"}, {"CB05", "205"}});
    addCounterProduct(t, Tea, "お茶", "540");
    addCounterProduct(t, Special, "特売品", "1080",
                      {{"CB13", "3"}, {"CB14", 500}, {"CB17", "00:00:00"}, {"CB18", "23:59:59"}});
    addCashCode(t, "MBMKJM", "0000", "雑収入", "雑収入");
    addCashCode(t, "MBMKJM", "0001", "釣銭準備金", "釣銭");
    addCashCode(t, "MBMKJM", "0003", "𠮷野家の仕入代金", "仕入");
    addCashCode(t, "MBMKJT", "0001", "株式会社　丸山商事", "丸山商事");
    addCashCode(t, "MBMKJT", "0005", "配送センター", "配送");
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

void Counter::sell(const QString& code, const QString& quantity, const QString& price)
{
    field("Text4")->setFocus();
    typeOver(field("Text4"), code);
    enter(field("Text4"));
    if (!price.isNull())
        typeOver(field("Text6"), price);
    enter(field("Text6"));
    typeOver(field("Text7"), quantity);
    enter(field("Text7"));
}

void Counter::book(const QString& account, const QString& partner, const QString& amount,
                   const QString& quantity, const QString& memo)
{
    field("Text4")->setFocus();
    for (const auto& [name, text] : {std::pair{"Text4", account},
                                     {"Text10", memo},
                                     {"Text11", partner},
                                     {"Text6", amount},
                                     {"Text7", quantity}}) {
        typeOver(field(name), text);
        enter(field(name));
    }
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
