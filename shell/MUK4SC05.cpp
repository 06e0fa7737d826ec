#include "shell/MUK4SC05.h"

MUK4SC05::MUK4SC05(Navigator& navigator)
    : MenuScreen(navigator, QStringLiteral("MUK4SC05"),
                 QStringLiteral("マスター　アプリケーション　メニュー"),
                 {
                     {"APCBTN01", "大分類コード　登録・修正・削除", "MUK4MM50"},
                     {"APCBTN02", "中分類コード　登録・修正・削除", "MUK4MM51"},
                     {"APCBTN03", "商品コード　　登録・修正・削除", "MUK4MM55"},
                     {"APCBTN04", "特売単価      登録・修正・削除", "MUK4MM57"},
                 },
                 {
                     {"APCBTN05", "担当者コード      　登録・修正・削除", "MUK4MM40"},
                     {"APCBTN06", "入出金科目コード　  登録・修正・削除", "MUK4MM80"},
                     {"APCBTN07", "入出金取引先コード　登録・修正・削除", "MUK4MM81"},
                     {"APCBTN09", "システム環境  設定　　　　　　", "MUK4MM90"},
                 },
                 QStringLiteral("F1.ユーティリティメニュー  F12.Return"))
{
}

bool MUK4SC05::functionKey(int key)
{
    if (key == Qt::Key_F1) {
        leaveTo(QStringLiteral("MUK4SC09"));
        return true;
    }
    return MenuScreen::functionKey(key);
}
