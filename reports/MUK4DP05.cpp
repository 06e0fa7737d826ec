#include "reports/MUK4DP05.h"

#include <QGridLayout>

MUK4DP05::MUK4DP05(Navigator& navigator)
    : CategoryReport(
          navigator, QStringLiteral("MUK4DP05"), QStringLiteral("大分類売上管理表（日別/月）"),
          {QStringLiteral("MBMBRL"), QStringLiteral("LB1"), QStringLiteral("LB2"), true}, 1)
{
    addStoreName(0, 0);
    addDateField(QStringLiteral("日付       （From）"), QStringLiteral("日付が存在しません。"), 0,
                 2);
    addRegisterChoice();
    fields()->setColumnStretch(4, 1);
}

void MUK4DP05::loadData()
{
    CategoryReport::loadData();
    setColumns(CategorySales::majors());
}

void MUK4DP05::finishRun()
{
    showResult(RTBTN);
}
