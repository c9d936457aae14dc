#!/usr/bin/env bash
# The program started beside a skin in Media/ opens a shaped window of the
# frame's size at the screen's corner, showing its start page.
source "$(dirname "$0")/lib.sh"
program="$1"; skin_dir="$2"

make_work_dir
start_xvfb 1024x768x24
app_env
mkdir -p "$WORK_DIR/app/Media"
cp "$program" "$WORK_DIR/app/testskin"
cp "$skin_dir"/* "$WORK_DIR/app/Media/"
cp "$skin_dir/../Photo.bmp" "$WORK_DIR/app/"

start_app "$WORK_DIR/app/testskin"
id=$(wait_window Quellmark 60) || fail "no window appeared"
expect_geometry "$id" "0 0 240 180"

# The shape by what the screen shows: the cut-away corners show the empty
# root window, the body shows the frame and the page area shows the start
# page's yellow.
expect_screen skeleton-window 20 "1,1=0,0,0" "238,178=0,0,0" "5,90!=0,0,0" "120,100=255,216,74"
shot="$SHOT"
xwininfo -shape -id "$id" | grep -q "Window shape extents" || fail "no X shape on the window"

kill -TERM "$APP_PID"
expect_exit SIGTERM
echo "PASS: shaped window, screenshot $shot"
