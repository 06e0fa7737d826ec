#include "masters/MUK4MM80.h"

MUK4MM80::MUK4MM80(Navigator& navigator)
    : CashCodeMaster(navigator, {.screen = QStringLiteral("MUK4MM80"),
                                 .title = QStringLiteral("入出金科目コード　登録・修正・削除"),
                                 .table = QStringLiteral("MBMKJM"),
                                 .subject = QStringLiteral("入出金科目"),
                                 .codeCaption = QStringLiteral("科目CD"),
                                 .nameCaption = QStringLiteral("科目名称"),
                                 .shortCaption = QStringLiteral("科目略称"),
                                 .nameLength = 16,
                                 .shortLength = 14})
{
}
