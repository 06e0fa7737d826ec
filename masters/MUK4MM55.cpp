#include "masters/MUK4MM55.h"

MUK4MM55::MUK4MM55(Navigator& navigator)
    : ProductScreen(navigator,
                    {QStringLiteral("MUK4MM55"), QStringLiteral("商品コード　登録・修正・削除"),
                     QStringLiteral("特売期間   to"), QStringLiteral("特売時間   to")})
{
}

void MUK4MM55::afterDelete()
{
    forgetProposals();
}
