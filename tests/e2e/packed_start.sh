#!/usr/bin/env bash
# A program packed with "quellkit skin pack" and started from an otherwise
# empty folder unpacks its skin into Media/ beside it, leaves no kest.tmp and
# opens its window.
source "$(dirname "$0")/lib.sh"
program="$1"; quellkit="$2"; skin_dir="$3"

make_work_dir
start_xvfb 1024x768x24
app_env
mkdir -p "$WORK_DIR/app"

"$quellkit" skin pack "$skin_dir" "$program" "$WORK_DIR/app" >"$ARTIFACTS/pack.log" 2>&1 || fail "skin pack failed: $(cat "$ARTIFACTS/pack.log")"
ini=$(cd "$skin_dir" && ls ./*.ini | head -n 1)
stem=$(basename "$ini"); stem="${stem%%.*}"
packed="$WORK_DIR/app/$stem"
[ -x "$packed" ] || fail "skin pack did not write an executable $packed"
[ "$(ls -A "$WORK_DIR/app")" = "$stem" ] || fail "the folder holds more than the program before the start"
# The Photo picture beside the program, so the start shows no message.
cp "$skin_dir/../Photo.bmp" "$WORK_DIR/app/"

start_app "$packed"
id=$(wait_window Quellmark 60) || fail "no window appeared"
# At the screen's corner, with the test skin's frame size.
expect_geometry "$id" "0 0 240 180"

[ -d "$WORK_DIR/app/Media" ] || fail "no Media folder beside the program"
for f in "$skin_dir"/*; do
    name=$(basename "$f")
    cmp -s "$f" "$WORK_DIR/app/Media/$name" || fail "Media/$name differs from the skin's file"
done
[ ! -e "$WORK_DIR/app/kest.tmp" ] || fail "kest.tmp was left beside the program"
screenshot packed-start >/dev/null

kill -TERM "$APP_PID"
expect_exit SIGTERM
echo "PASS: packed program unpacked its skin and opened ${w}x$h at 0,0"
