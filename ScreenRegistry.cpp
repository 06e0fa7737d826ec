#include "ScreenRegistry.h"

#include "masters/MUK4MM40.h"
#include "masters/MUK4MM50.h"
#include "masters/MUK4MM51.h"
#include "masters/MUK4MM55.h"
#include "masters/MUK4MM57.h"
#include "masters/MUK4MM80.h"
#include "masters/MUK4MM81.h"
#include "masters/MUK4MM90.h"
#include "pos/MUK4UT01.h"
#include "pos/MUK4UT05.h"
#include "pos/MUK4UT06.h"
#include "pos/MUK4UT11.h"
#include "reports/MUK4AS01.h"
#include "reports/MUK4DP01.h"
#include "reports/MUK4DP05.h"
#include "reports/MUK4DP06.h"
#include "reports/MUK4XP02.h"
#include "shell/MUK4SC01.h"
#include "shell/MUK4SC05.h"
#include "shell/MUK4SC09.h"
#include "shell/Navigator.h"
#include "shell/Screen.h"
#include "utilities/MUK4XP10.h"
#include "utilities/MUK4XP90.h"

namespace {
template <class T> void add(Navigator& navigator, const char* code)
{
    navigator.add(QString::fromLatin1(code), [](Navigator& n) -> Screen* { return new T(n); });
}
} // namespace

void registerScreens(Navigator& navigator)
{
    add<MUK4SC01>(navigator, "MUK4SC01");
    add<MUK4SC05>(navigator, "MUK4SC05");
    add<MUK4SC09>(navigator, "MUK4SC09");
    add<MUK4MM40>(navigator, "MUK4MM40");
    add<MUK4MM80>(navigator, "MUK4MM80");
    add<MUK4MM81>(navigator, "MUK4MM81");
    add<MUK4MM90>(navigator, "MUK4MM90");
    add<MUK4MM50>(navigator, "MUK4MM50");
    add<MUK4MM51>(navigator, "MUK4MM51");
    add<MUK4MM55>(navigator, "MUK4MM55");
    add<MUK4MM57>(navigator, "MUK4MM57");
    add<MUK4UT01>(navigator, "MUK4UT01");
    add<MUK4UT05>(navigator, "MUK4UT05");
    add<MUK4UT06>(navigator, "MUK4UT06");
    add<MUK4UT11>(navigator, "MUK4UT11");
    add<MUK4DP01>(navigator, "MUK4DP01");
    add<MUK4DP05>(navigator, "MUK4DP05");
    add<MUK4DP06>(navigator, "MUK4DP06");
    add<MUK4AS01>(navigator, "MUK4AS01");
    add<MUK4XP02>(navigator, "MUK4XP02");
    add<MUK4XP10>(navigator, "MUK4XP10");
    add<MUK4XP90>(navigator, "MUK4XP90");
}
