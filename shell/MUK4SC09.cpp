#include "shell/MUK4SC09.h"

MUK4SC09::MUK4SC09(Navigator& navigator)
    : MenuScreen(navigator, QStringLiteral("MUK4SC09"), QStringLiteral("ユーティリティ　メニュー"),
                 {
                     {"APCBTN01", "レシート情報　ダンプ", "MUK4XP02"},
                     {"APCBTN09", "バックアップ", "MUK4XP90"},
                     {"APCBTN10", "商品データ　入出力", "MUK4XP10"},
                 },
                 {}, QStringLiteral("F12.Return"))
{
}
