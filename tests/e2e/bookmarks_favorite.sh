#!/usr/bin/env bash
# The Favorite button opens the "Bookmark" dialog over the user's Favorites
# folder; double-clicking a bookmark closes it and the browser opens the page.
# Arguments: PROGRAM_DIR (a packed program and Photo.bmp) PROGRAM_NAME QUELLKIT
source "$(dirname "$0")/lib.sh"
program_dir="$1"; program_name="$2"; kit="$3"

make_work_dir
start_xvfb 1024x768x24
app_env
mkdir -p "$WORK_DIR/app" "$WORK_DIR/fav"
cp "$program_dir/$program_name" "$program_dir/Photo.bmp" "$WORK_DIR/app/"
stem="${program_name%%.*}"

# The page the bookmark leads to is one solid colour, easy to see on screen.
printf '<html><body style="margin:0;background:#12b456"></body></html>' > "$WORK_DIR/green.htm"
printf '[InternetShortcut]\r\nURL=file://%s/green.htm\r\n' "$WORK_DIR" > "$WORK_DIR/fav/Green.url"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"Favorites"="%s/fav"\r\n' \
    "$WORK_DIR" > "$WORK_DIR/registry.reg"

start_app "$WORK_DIR/app/$program_name"
main=$(wait_window Quellmark 90) || fail "no main window"
# The frame is drawn before the button takes a click.
expect_screen main-window 15 "400,300!=0,0,0"
# The Favorite button's centre, from the skin the program unpacked.
read -r button_x button_y < <("$kit" ini "$WORK_DIR/app/Media/$stem.ini" Button Favorite0 |
    awk -F, '{print int($4 + $6 / 2), int($5 + $7 / 2)}')
[ -n "$button_x" ] || fail "the skin has no Favorite0 button"
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
kill -TERM "$APP_PID"
expect_exit SIGTERM
echo "PASS: bookmark opened from the Favorite dialog"
