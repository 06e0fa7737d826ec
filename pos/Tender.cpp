#include "pos/Tender.h"

TenderCheck checkTender(Settlement kind, double tendered, double amountDue)
{
    TenderCheck c;
    c.difference = tendered - amountDue;
    switch (kind) {
    case Settlement::Cash:
        c.accepted = c.difference >= 0;
        c.shown = c.difference;
        c.look = TenderCheck::Look::Normal;
        if (!c.accepted)
            c.message = QStringLiteral("お預り金額が足りません。");
        break;
    case Settlement::PartialCredit:
        c.accepted = c.difference < 0 && tendered > 0;
        c.shown = -c.difference;
        c.look = TenderCheck::Look::Credit;
        if (!c.accepted)
            c.message = QStringLiteral("計算が合いません。（内金＋売掛？）");
        break;
    case Settlement::Credit:
        c.accepted = tendered == 0;
        c.shown = -c.difference;
        c.look = TenderCheck::Look::Credit;
        if (!c.accepted)
            c.message = QStringLiteral("計算が合いません。（売掛？）");
        break;
    }
    if (!c.accepted)
        c.look = TenderCheck::Look::Refused;
    return c;
}
