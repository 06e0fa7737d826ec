#!/bin/bash
# Pictures of the two category screens with a few categories, taken from the
# built program in a throw-away program folder under a virtual display.
# Usage: tools/category-screenshots.sh [build dir] [output dir]
set -euo pipefail
if [ "${1:-}" = --inner ]; then
    folder=$2 out=$3
    inner=1
else
    inner=0
fi
here=$(cd "$(dirname "$0")/.." && pwd)

inner() {
    cd "$folder"
    # The first start makes the database; F10 on the main menu ends.
    ./muk4 & pid=$!
    sleep 3
    xdotool key F10
    wait $pid || true
    sqlite3 MUK4.db <<'SQL'
INSERT INTO MBMBRL VALUES ('0','その他','他',' ','20260101','09:00:00','20260101','09:00:00');
INSERT INTO MBMBRL VALUES ('1','食品・飲料・酒類・調味料・菓子類','食品飲料',' ','20260101','09:00:00','20260101','09:00:00');
INSERT INTO MBMBRL VALUES ('2','日用雑貨','雑貨',' ','20260101','09:00:00','20260101','09:00:00');
INSERT INTO MBMBRL VALUES ('3','衣料品','衣料',' ','20260101','09:00:00','20260101','09:00:00');
INSERT INTO MBMBRM VALUES ('301','紳士服（スーツ・ジャケット・コート類）','紳士服スーツ類','3',' ',' ',' ','20260101','09:00:00','20260101','09:00:00');
INSERT INTO MBMBRM VALUES ('302','婦人服','婦人','3',' ',' ',' ','20260101','09:00:00','20260101','09:00:00');
INSERT INTO MBMBRM VALUES ('305','子供服','子供','3',' ',' ',' ','20260101','09:00:00','20260101','09:00:00');
INSERT INTO MBMBRM VALUES ('101','野菜','野菜','1',' ',' ',' ','20260101','09:00:00','20260101','09:00:00');
SQL
    ./muk4 & pid=$!
    sleep 3
    xdotool key F12; sleep 1
    # The master menu starts on APCBTN01: the major categories.
    xdotool key Return; sleep 1
    import -window root "$out/MUK4MM50.png"
    xdotool type 3; xdotool key Return; sleep 1
    import -window root "$out/MUK4MM50-change.png"
    xdotool key F10; sleep 1
    # APCBTN02, the middle categories, is next in the menu.
    xdotool key Tab Return; sleep 1
    import -window root "$out/MUK4MM51-nomajor.png"
    # CB1 has the focus: open its list and take entry 3, major 3.
    xdotool key alt+Down; sleep 1
    xdotool key Down Down Down Return; sleep 1
    xdotool type 5; xdotool key Return; sleep 1
    import -window root "$out/MUK4MM51.png"
    xdotool key F10; sleep 1
    xdotool key F12; sleep 1
    xdotool key F10
    wait $pid || true
}
if [ $inner = 1 ]; then
    inner
    exit
fi
build=${1:-$here/build}
out=$(mkdir -p "${2:-$here/screenshots}" && cd "${2:-$here/screenshots}" && pwd)
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$build/muk4" "$folder/"
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inner "$folder" "$out"
ls -l "$out"
