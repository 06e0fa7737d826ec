#include "pos/MUK4UT11.h"

#include <QLabel>

MUK4UT11::MUK4UT11(Navigator& navigator)
    : MUK4UT01(navigator, QStringLiteral("MUK4UT11"), QStringLiteral("返品POSトランザクション"),
               {{Qt::Key_F1, QStringLiteral("MUK4UT01")},
                {Qt::Key_F2, QStringLiteral("MUK4UT05")},
                {Qt::Key_F4, QStringLiteral("MUK4UT06")}})
{
    // Money goes out: the heading says so at a glance.
    title()->setStyleSheet(QStringLiteral("color: #C00000;"));
}

QString MUK4UT11::firstFieldLegend() const
{
    return QStringLiteral("F1.売上POSトランザクション    F2.入金POSトランザクション     "
                          "F4.支払POSトランザクション    F10.Return");
}

QString MUK4UT11::subject() const
{
    return QStringLiteral("返品");
}
