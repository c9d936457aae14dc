#!/usr/bin/env bash
# The packed sample program, started from an empty folder, unpacks its skin,
# opens shaped at the screen's corner and browses: the address bar, Back,
# Forward, Reload and Stop act, hovering a link shows its address in the status
# text, the progress bar moves on a slow page, maximize and restore swap the
# skin for the toolbar, and Exit ends the program. A second start with
# QT_SCALE_FACTOR=2 shows the window and its shape at twice the size, and
# completes an address typed into the default browser from its first letters.
# With the window manager argument the same runs under openbox, which adds
# what only a window manager does: maximize, resize and restore from its
# side, minimize and restore, and closing by Alt+F4. Every way the test ends
# the program must give exit status 0.
# Arguments: PROGRAM_DIR (holding Quell1 and Photo.bmp) QUELLKIT [openbox]
source "$(dirname "$0")/lib.sh"
program_dir="$1"; kit="$2"; wm="${3:-}"
here="$(cd "$(dirname "$0")" && pwd)"

make_work_dir
start_xvfb 1920x1280x24
[ "$wm" = openbox ] && start_wm
app_env
printf 'REGEDIT4\r\n' > "$QUELLCORE_REGISTRY"

python3 "$here/pages_server.py" "$WORK_DIR/port" &
SERVER_PID=$!
trap 'status=$?; kill $SERVER_PID 2>/dev/null || true; cleanup $status' EXIT
for _ in $(seq 1 40); do [ -s "$WORK_DIR/port" ] && break; sleep 0.1; done
port=$(cat "$WORK_DIR/port")
base="http://127.0.0.1:$port"
hits() { python3 -c "import urllib.request,sys; print(urllib.request.urlopen('$base/hits').read().decode())" | awk -v p="$1" '$1==p{print $2}'; }

app="$WORK_DIR/app"
mkdir -p "$app"
cp "$program_dir/Quell1" "$program_dir/Photo.bmp" "$app/"
start_app "$app/Quell1"
id=$(wait_window Quellmark 90) || fail "no window appeared"

# Unpacked beside the program, with no temporary cabinet left behind.
[ -f "$app/Media/Quell1.ini" ] || fail "the skin was not unpacked into Media/"
[ ! -e "$app/kest.tmp" ] || fail "kest.tmp was left behind"
expect_geometry "$id" "0 0 800 600"

ini="$app/Media/Quell1.ini"
# rect KEY SECTION: prints left top right bottom of a Position key.
rect() { "$kit" ini "$ini" "$1" Position | awk -F, '{print $1, $2, $3, $4}'; }
# centre ENTRY: the centre of a button entry of [Button].
centre() { "$kit" ini "$ini" Button "$1" | awk -F, '{print int($4 + $6 / 2), int($5 + $7 / 2)}'; }
click() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; sleep 0.3; }
read -r bl bt br bb < <(rect WebBrowser)
bx=$(((bl + br) / 2)); by=$(((bt + bb) / 2))
page_pixel() { pixel "$(screenshot "$1")" "$bx" "$by"; }
wait_page() {  # wait_page NAME COLOUR: the browser's centre shows COLOUR
    for _ in $(seq 1 60); do
        [ "$(page_pixel "$1")" = "$2" ] && return 0
        sleep 0.25
    done
    fail "$1: the page centre shows $(page_pixel "$1"), expected $2"
}

# The shape: the frame's cut corners show the empty screen behind it.
expect_screen start-page 10 "$bx,$by!=255,255,255" "0,0=0,0,0" "799,599=0,0,0"
shot="$SHOT"
mean=$(convert "$shot" -crop "$((br - bl))x$((bb - bt))+$bl+$bt" -colorspace gray -format '%[fx:mean]' info:)
awk -v m="$mean" 'BEGIN{exit !(m < 0.97)}' || fail "the start page did not show (browser area mean $mean)"

# The address bar: typing an address and Enter navigates.
read -r al at ar ab < <(rect AddressBar)
navigate() {
    click $((al + 41 + 40)) $(((at + ab) / 2))
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 5 "$1"
    xdotool key Return
}
navigate "$base/red.html"
wait_page red "255,0,0"
navigate "$base/green.html"
wait_page green "0,255,0"

read -r cx cy < <(centre Back0); click "$cx" "$cy"
wait_page back "255,0,0"
read -r cx cy < <(centre Forward0); click "$cx" "$cy"
wait_page forward "0,255,0"

before=$(hits /green.html)
read -r cx cy < <(centre Reload0); click "$cx" "$cy"
for _ in $(seq 1 40); do [ "$(hits /green.html)" -gt "$before" ] && break; sleep 0.25; done
[ "$(hits /green.html)" -gt "$before" ] || fail "Reload did not ask for the page again"

# Hovering a link puts its address into the status text.
navigate "$base/link.html"
wait_page link "255,255,255"
read -r sl st sr sb < <(rect StatusBar)
xdotool mousemove 5 300; sleep 0.5
before_hover=$(screenshot status-before)
xdotool mousemove "$bx" "$by"
changed=0
for _ in $(seq 1 20); do
    sleep 0.25
    after_hover=$(screenshot status-hover)
    diff=$(compare -metric AE -crop "$((sr - sl))x$((sb - st))+$sl+$st" "$before_hover" "$after_hover" null: 2>&1 || true)
    [ "${diff%% *}" -gt 20 ] 2>/dev/null && { changed=1; break; }
done
[ "$changed" = 1 ] || fail "hovering the link left the status text unchanged"
xdotool mousemove 5 300

# The progress bar moves while the slow page's images arrive one by one.
read -r pl pt pr pb < <(rect ProgressBar)
navigate "$base/slow.html"
declare -A seen=()
for i in $(seq 1 16); do
    s=$(screenshot "progress-$i")
    seen[$(convert "$s" -crop "$((pr - pl))x$((pb - pt))+$pl+$pt" -format '%#' info:)]=1
    sleep 0.1
done
[ "${#seen[@]}" -ge 2 ] || fail "the progress bar showed ${#seen[@]} states during a slow load, expected movement"
wait_page slow-loaded "0,0,255"

# Stop: a page that answers only after ten seconds never replaces the current one.
navigate "$base/hang.html"
sleep 1
read -r cx cy < <(centre Stop0); click "$cx" "$cy"
sleep 10.5
[ "$(page_pixel stopped)" = "0,0,255" ] || fail "Stop did not stop the late page"

# Maximize swaps the skin for the toolbar above a full-size browser; the
# toolbar's Restore button brings the skin back.
read -r cx cy < <(centre Maximize0); click "$cx" "$cy"
expect_geometry "$id" "0 0 1920 1280"
# A grey toolbar at the top, the browser filling the rest.
expect_screen maximized 10 "3,3=191,191,191" "960,640=0,0,255"
click 198 14
expect_geometry "$id" "0 0 800 600"
expect_screen restored 10 "0,0=0,0,0" "400,300!=0,0,0"

if [ "$wm" = openbox ]; then
    source "$here/sample_skin_wm.sh"
else
    # Exit ends the process.
    read -r cx cy < <(centre Exit0); click "$cx" "$cy"
    expect_exit "Exit"
fi

# The default browser's typed addresses fill the address bar's list at the
# next start: a Firefox profile in the test's home, read and left as it is.
places=$(firefox_history "$base/green.html" "$base/hang.html")
places_sum=$(sha256sum "$places")
history=$("$kit" history)
[ "$(echo "$history" | sed -n 1p)" = "source: firefox $places" ] || fail "quellkit history: $history"
[ "$(echo "$history" | sed -n 2p)" = "${base#http://}/green.html" ] || fail "quellkit history: $history"

# Twice the scale: twice the size, and the shape follows.
QT_SCALE_FACTOR=2 start_app "$app/Quell1"
id=$(wait_window Quellmark 90) || fail "no window at scale 2"
expect_geometry "$id" "0 0 1600 1200"
# The corners stay uncovered and the body is drawn.
expect_screen scale-2 15 "1,1=0,0,0" "1598,1198=0,0,0" "800,1100!=0,0,0"

# The browser's typed addresses complete, cleaned as the list is: the first
# letters of the green page fill in its whole address, which Enter fetches.
before=$(hits /green.html)
click $(((al + 41 + 40) * 2)) $((at + ab))
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "${base#http://}/g"
xdotool key Return
for _ in $(seq 1 60); do
    [ "$(pixel "$(screenshot completed)" $((bx * 2)) $((by * 2)))" = "0,255,0" ] && break
    sleep 0.25
done
[ "$(pixel "$ARTIFACTS/completed.png" $((bx * 2)) $((by * 2)))" = "0,255,0" ] ||
    fail "the completed address did not show the green page"
[ "$(hits /green.html)" -gt "$before" ] || fail "Enter on the completed address did not fetch the page"
[ "$(sha256sum "$places")" = "$places_sum" ] || fail "the browser's history database was changed"
[ -z "$(find "$XDG_DATA_HOME" -name 'typed-urls*')" ] || fail "an address file was written"
kill -TERM "$APP_PID"
expect_exit SIGTERM

echo "PASS: sample skin; screenshots in $ARTIFACTS"
