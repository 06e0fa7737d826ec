#include "masters/MUK4MM81.h"

MUK4MM81::MUK4MM81(Navigator& navigator)
    : CashCodeMaster(navigator, {.screen = QStringLiteral("MUK4MM81"),
                                 .title = QStringLiteral("入出金取引先コード　登録・修正・削除"),
                                 .table = QStringLiteral("MBMKJT"),
                                 .subject = QStringLiteral("入出金取引先"),
                                 .codeCaption = QStringLiteral("取引先CD"),
                                 .nameCaption = QStringLiteral("取引先名称"),
                                 .shortCaption = QStringLiteral("取引先略称"),
                                 .nameLength = 20,
                                 .shortLength = 10})
{
}
