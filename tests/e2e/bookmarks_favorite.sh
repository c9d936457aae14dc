#!/usr/bin/env bash
# The Favorite button opens the "Bookmark" dialog over the user's Favorites
# folder; double-clicking a bookmark closes it and the browser opens the page.
# Arguments: PROGRAM SKINDIR BUTTON_X BUTTON_Y (the Favorite button's centre in
# the skin's window).
source "$(dirname "$0")/lib.sh"
program="$1"; skin_dir="$2"; button_x="$3"; button_y="$4"
stem=$(basename "$(ls "$skin_dir"/*.ini | head -n 1)" .ini)

make_work_dir
start_xvfb 1024x768x24
app_env
mkdir -p "$WORK_DIR/app/Media" "$WORK_DIR/fav"
cp "$program" "$WORK_DIR/app/$stem"
cp -r "$skin_dir"/* "$WORK_DIR/app/Media/"

# The page the bookmark leads to is one solid colour, easy to see on screen.
printf '<html><body style="margin:0;background:#12b456"></body></html>' > "$WORK_DIR/green.htm"
printf '[InternetShortcut]\r\nURL=file://%s/green.htm\r\n' "$WORK_DIR" > "$WORK_DIR/fav/Green.url"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"Favorites"="%s/fav"\r\n' \
    "$WORK_DIR" > "$WORK_DIR/registry.reg"

start_app "$WORK_DIR/app/$stem"
main=$(xdotool search --sync --onlyvisible --pid "$APP_PID" 2>/dev/null | head -n 1) || fail "no main window"
sleep 2
read -r mx my _ _ < <(window_geometry "$main")
xdotool mousemove $((mx + button_x)) $((my + button_y)) click 1
id=$(wait_window Bookmark 30) || fail "the Favorite button opened no Bookmark dialog"
screenshot bookmark-dialog >/dev/null

# The tree starts at 38 pixels below the dialog's top; the root is its first
# row and Green.url the second.
read -r dx dy _ _ < <(window_geometry "$id")
row=20
xdotool mousemove $((dx + 50)) $((dy + 38 + row + row / 2)) click --repeat 2 --delay 80 1
for _ in $(seq 1 40); do
    xdotool search --onlyvisible --name '^Bookmark$' >/dev/null 2>&1 || break
    sleep 0.25
done
xdotool search --onlyvisible --name '^Bookmark$' >/dev/null 2>&1 && fail "the dialog stayed open after the double click"

# The browser shows the bookmarked page somewhere inside the main window.
found=""
for _ in $(seq 1 40); do
    shot=$(screenshot after-open)
    if convert "$shot" -crop "$(window_geometry "$main" | awk '{print $3 "x" $4 "+" $1 "+" $2}')" -fill black +opaque '#12b456' \
        -format '%[fx:mean>0]' info: | grep -q 1; then found=yes; break; fi
    sleep 0.5
done
[ -n "$found" ] || fail "the bookmarked page is not shown"
echo "PASS: bookmark opened from the Favorite dialog"
