#include "pos/MUK4UT06.h"

#include <QLabel>

MUK4UT06::MUK4UT06(Navigator& navigator)
    : MUK4UT05(navigator,
               {CashDirection::Payment,
                QStringLiteral("MUK4UT06"),
                QStringLiteral("支払POSトランザクション"),
                QStringLiteral("支払額"),
                QStringLiteral("買価"),
                {{Qt::Key_F1, QStringLiteral("MUK4UT01")},
                 {Qt::Key_F2, QStringLiteral("MUK4UT05")},
                 {Qt::Key_F5, QStringLiteral("MUK4UT11")}},
                QStringLiteral("F1.売上POSトランザクション    F2.入金POSトランザクション     "
                               "F5.返品POSトランザクション    F10.Return"),
                QStringLiteral("支払")})
{
    // Money goes out: the heading says so at a glance, as on the returns
    // screen.
    title()->setStyleSheet(QStringLiteral("color: #C00000;"));
}
