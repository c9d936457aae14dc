#!/usr/bin/env bash
# A program whose appended cabinet stores its names in code page 932 (no UTF-8
# mark), with a description file in code page 932 naming its frame 背景.bmp,
# unpacks into Media/ under UTF-8 names and opens its shaped window.
source "$(dirname "$0")/lib.sh"
program="$1"; skin_dir="$2"

make_work_dir
start_xvfb 1024x768x24
app_env
skin="$WORK_DIR/skin"
mkdir -p "$skin" "$WORK_DIR/app"
printf '; 小さな試験用スキン\r\n[FrameBitmap]\r\nFileName=背景.bmp\r\n\r\n[WebBrowser]\r\nPosition=20,30,220,160\r\nStartPage=quellcard.htm\r\n' |
    iconv -f UTF-8 -t CP932 >"$skin/Legacy.ini"
cp "$skin_dir/testskin.bmp" "$skin/背景.bmp"
cp "$skin_dir/testskin.dat" "$skin/背景.dat"
cp "$skin_dir/quellcard.htm" "$skin/"
# The second byte of 表 in code page 932 is 0x5C, the folder separator.
printf 'cover\n' >"$skin/表紙.txt"
python3 "$(dirname "$0")/cp932_cabinet.py" "$program" "$WORK_DIR/app/Legacy" "$skin"/* ||
    fail "could not write the packed program"
cp "$skin_dir/../Photo.bmp" "$WORK_DIR/app/"

start_app "$WORK_DIR/app/Legacy"
id=$(wait_window Quellmark 60) || fail "no window appeared"
expect_geometry "$id" "0 0 240 180"

[ "$(ls "$WORK_DIR/app/Media" | sort | tr '\n' ' ')" = "$(ls "$skin" | sort | tr '\n' ' ')" ] ||
    fail "Media/ holds [$(ls "$WORK_DIR/app/Media" | tr '\n' ' ')], expected the skin's UTF-8 names"
for f in "$skin"/*; do
    cmp -s "$f" "$WORK_DIR/app/Media/$(basename "$f")" || fail "Media/$(basename "$f") differs from the skin's file"
done

# The frame and its outline were found under their UTF-8 names: the frame is
# drawn and the cut-away corner shows the empty root window.
expect_screen legacy-names 20 "120,100=255,216,74" "1,1=0,0,0" "5,90!=0,0,0"
shot="$SHOT"

kill -TERM "$APP_PID"
expect_exit SIGTERM
echo "PASS: code page 932 names unpacked as UTF-8, window ${w}x$h, screenshot $shot"
