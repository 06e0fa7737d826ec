#include "masters/MUK4MM57.h"

#include <QRadioButton>

MUK4MM57::MUK4MM57(Navigator& navigator)
    : ProductScreen(navigator,
                    {QStringLiteral("MUK4MM57"), QStringLiteral("特売単価　登録・修正・削除"),
                     QStringLiteral("特売期間    to"), QStringLiteral("特売時間    to")})
{
}

void MUK4MM57::productShown()
{
    enable({Text2, Text3}, false);
    // Once a stored product is called up, a special price is taken away only
    // with the delete button, for the rest of the visit.
    Option4->setEnabled(false);
    Option1->setChecked(true);
    optionClicked(SpecialKind::PeriodAndTime);
}

void MUK4MM57::deleteClicked()
{
    {
        BusyCursor busy;
        ProductEntry entry = entryOnScreen();
        entry.kind = SpecialKind::None;
        std::optional<QVariantMap> stored;
        if (!check(table().find(db(), entry.code, stored),
                   QStringLiteral("商品を読み込めませんでした。")))
            return;
        QVariantMap record = entry.record();
        record.remove(QStringLiteral("CB25"));
        if (stored && !check(table().store(db(), entry.code, record),
                             QStringLiteral("特売単価を登録できませんでした。")))
            return;
    }
    forgetProposals();
    activate();
}

QVariantMap MUK4MM57::storedAlways() const
{
    QVariantMap record = ProductScreen::storedAlways();
    record.remove(QStringLiteral("CB25"));
    return record;
}

QVariantMap MUK4MM57::storedOnAdd() const
{
    QVariantMap record = ProductScreen::storedOnAdd();
    record.insert(QStringLiteral("CB25"), ProductEntry::classText(entryOnScreen().taxClass));
    return record;
}
