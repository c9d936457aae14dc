#!/usr/bin/env bash
# The preview's layout map over the live window, on a copy of the sample skin:
# shown while F12 is held and gone when it is let go; with --map shown from the
# start, above the page, following a reload that moves a button, and gone
# while the window is maximized. Each run
# ends on a termination request with status 0.
# Arguments: PROGRAM SKIN_DIR
source "$(dirname "$0")/lib.sh"
program="$1"; skin_source="$2"

make_work_dir
start_xvfb 1280x1024x24
app_env
printf 'REGEDIT4\r\n' > "$QUELLCORE_REGISTRY"
skin="$WORK_DIR/skin"
cp -r "$skin_source" "$skin"

# The map numbers each element in a box at its rectangle's top-left corner:
# the browser (172,112) in blue, the Back button (172,36) in cyan.
button_box=0,255,255
browser_box=51,153,255
back_picture=$(pixel "$skin/back-n.bmp" 1 1)

start_app "$program" --skin "$skin"
id=$(wait_window Quellmark 60) || fail "no preview window"
xdotool mousemove 1270 1010
expect_screen plain 20 "173,37=$back_picture"
xdotool windowfocus --sync "$id"
xdotool keydown F12
expect_screen held 10 "173,37=$button_box"
expect_screen held-page 10 "173,113=$browser_box"
xdotool keyup F12
expect_screen released 10 "173,37=$back_picture"
grep -q '^findings: 0$' "$ARTIFACTS/app.log" || fail "the preview did not print the map's legend"
kill -TERM "$APP_PID"
expect_exit "ending the preview"

start_app "$program" --skin "$skin" --map
wait_window Quellmark 60 >/dev/null || fail "no preview window with --map"
xdotool mousemove 1270 1010
expect_screen mapped 20 "173,37=$button_box"
expect_screen mapped-page 20 "173,113=$browser_box"
# Back moves to bare frame right of the menu buttons; its number follows.
sed -i 's/^\(Back0=[^,]*,[^,]*,[^,]*,\)172,/\1530,/' "$skin/Quell1.ini"
expect_screen moved 20 "531,37=$button_box"
[ "$(pixel "$ARTIFACTS/moved.png" 173 37)" != "$button_box" ] || fail "the map still shows Back at its old place"
grep -q "the skin was reloaded" "$ARTIFACTS/app.log" || fail "the move was not reloaded"
# Maximized, the skin gives way to the toolbar and the page, and so does its
# map: Forward's number box (210,36) goes. Maximize is the 22x22 button at
# 678,13; the click lands on its number box, which lets it through.
[ "$(pixel "$ARTIFACTS/moved.png" 211 37)" = "$button_box" ] || fail "Forward's number box is not on the map"
xdotool mousemove 689 24 sleep 0.2 click 1 sleep 0.3 mousemove 1270 1010
deadline=$(($(date +%s) + 15))
while [ "$(pixel "$(screenshot maximized)" 211 37)" = "$button_box" ]; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "the map stayed over the maximized window"
    sleep 0.25
done
kill -TERM "$APP_PID"
expect_exit "ending the preview with --map"
