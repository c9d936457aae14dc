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
read -r x y w h < <(window_geometry "$id")
[ "$x $y $w $h" = "0 0 240 180" ] || fail "window at $x,$y size ${w}x$h, expected 0,0 240x180"

# Give the page time to paint, then check the shape by what the screen shows:
# the cut-away corner shows the empty root window, the body shows the frame
# and the page area shows the start page's yellow.
for _ in $(seq 1 40); do
    shot=$(screenshot skeleton-window)
    [ "$(pixel "$shot" 120 100)" = "255,216,74" ] && break
    sleep 0.5
done
[ "$(pixel "$shot" 1 1)" = "0,0,0" ] || fail "corner at 1,1 is $(pixel "$shot" 1 1): the window is not shaped"
[ "$(pixel "$shot" 238 178)" = "0,0,0" ] || fail "corner at 238,178 is covered: the window is not shaped"
[ "$(pixel "$shot" 5 90)" != "0,0,0" ] || fail "the frame's left edge is not drawn"
[ "$(pixel "$shot" 120 100)" = "255,216,74" ] || fail "the start page is not shown (pixel $(pixel "$shot" 120 100))"
xwininfo -shape -id "$id" | grep -q "Window shape extents" || fail "no X shape on the window"

kill -TERM "$APP_PID"
expect_exit SIGTERM
echo "PASS: shaped window, screenshot $shot"
