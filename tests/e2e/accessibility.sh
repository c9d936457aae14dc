#!/usr/bin/env bash
# The packed sample program as assistive tools see it over AT-SPI, on a
# private session bus: the skin's buttons are push buttons, the text links
# are links, the hidden toolbar is not showing; the "Press" action of the
# Maximize button maximizes the window and brings the toolbar, the toolbar's
# Restore brings the skin back, and the Exit button's action ends the program
# with status 0. From the address bar Tab moves on to the Go button and the
# skin's buttons.
# Arguments: PROGRAM_DIR (holding Quell1 and Photo.bmp) QUELLKIT
source "$(dirname "$0")/lib.sh"
program_dir="$1"; kit="$2"
here="$(cd "$(dirname "$0")" && pwd)"

py=/usr/bin/python3
[ -x "$py" ] || py=python3
"$py" -c 'import pyatspi' 2>/dev/null || { echo "pyatspi is not installed"; exit $E2E_SKIP; }
command -v dbus-daemon >/dev/null || { echo "dbus-daemon is not installed"; exit $E2E_SKIP; }
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "at-spi2-core is not installed"; exit $E2E_SKIP; }

make_work_dir
start_xvfb 1920x1280x24
app_env
printf 'REGEDIT4\r\n' > "$QUELLCORE_REGISTRY"

# A session bus of the test's own; it starts the accessibility bus on demand.
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r BUS_PID; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS
trap 'status=$?; kill "$BUS_PID" 2>/dev/null || true; cleanup $status' EXIT
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
atspi() { "$py" "$here/atspi_tree.py" "$@" || fail "atspi_tree.py $*"; }
atspi bus

app="$WORK_DIR/app"
mkdir -p "$app"
cp "$program_dir/Quell1" "$program_dir/Photo.bmp" "$app/"
start_app "$app/Quell1"
id=$(wait_window Quellmark 90) || fail "no window appeared"
atspi wait 60
atspi dump > "$ARTIFACTS/tree.txt"

atspi role "push button" Back Forward "Stop loading" "Reload this page" "Home page" "Print this page" Favorites \
    Minimize Maximize "Close Quell1" "File menu" "Edit menu" "View menu" "Go Orlune"
atspi role link Wikipedia "Web search" "Write a mail"
atspi role "status bar" ""
atspi role animation busy.gif
atspi showing Maximize yes
atspi showing Toolbar no

# The keyboard: Tab from the address bar reaches the Go button, then Back.
read -r al at _ ab < <("$kit" ini "$app/Media/Quell1.ini" AddressBar Position | awk -F, '{print $1, $2, $3, $4}')
xdotool mousemove $((al + 41 + 40)) $(((at + ab) / 2)) click 1
sleep 0.3
xdotool key Tab
atspi focused "Go Orlune"
xdotool key Tab
atspi focused Back

atspi press Maximize
for _ in $(seq 1 40); do read -r x y w h < <(window_geometry "$id"); [ "$w" -gt 800 ] && break; sleep 0.25; done
[ "$x $y $w $h" = "0 0 1920 1280" ] || fail "after Press on Maximize the window is at $x,$y size ${w}x$h"
atspi showing Toolbar yes
atspi showing Maximize no
atspi dump > "$ARTIFACTS/tree-maximized.txt"

atspi press Restore
for _ in $(seq 1 40); do read -r x y w h < <(window_geometry "$id"); [ "$w" = 800 ] && break; sleep 0.25; done
[ "$w $h" = "800 600" ] || fail "after Press on Restore the window is ${w}x$h"
atspi showing Toolbar no
atspi showing Maximize yes

atspi press "Close Quell1"
expect_exit "Press on the Exit button"
echo "PASS: accessibility; trees in $ARTIFACTS"
