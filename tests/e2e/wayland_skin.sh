#!/usr/bin/env bash
# The packed sample program on Wayland: weston, on the test's own Xvfb, runs
# it through Qt's Wayland platform. A Wayland compositor knows no window
# shapes, so the program's window is transparent outside its outline: the
# cut corners show weston's desktop, the body shows the frame. A press outside
# the outline goes to the desktop, not to the window; a drag on the frame's
# body moves it; the address bar takes typed addresses; the bookmark dialog
# opens over it and closes; Maximize fills the output with the toolbar and the browser;
# the toolbar's Restore brings the shape back; a termination request ends the
# program with status 0. The shape stays aligned with the frame at
# QT_SCALE_FACTOR=2 and on an output of scale 2.
# Arguments: PROGRAM_DIR (holding Quell1 and Photo.bmp) QUELLKIT
source "$(dirname "$0")/lib.sh"
program_dir="$1"; kit="$2"

command -v weston >/dev/null || { echo "weston is not installed"; exit $E2E_SKIP; }
qt_plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
ls "$qt_plugins"/platforms/libqwayland* >/dev/null 2>&1 || { echo "Qt's Wayland platform is not installed"; exit $E2E_SKIP; }

make_work_dir
start_xvfb 1920x1280x24
app_env
printf 'REGEDIT4\r\n' > "$QUELLCORE_REGISTRY"
screen_w=1920; screen_h=1280

# The desktop is one flat colour, without panel or animations, so that what
# is not the window is easy to tell on screen.
desktop="51,102,153"
cat >"$WORK_DIR/weston.ini" <<'EOF'
[core]
idle-time=0

[shell]
panel-position=none
background-color=0xff336699
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
EOF
socket=wayland-quell
# start_weston SCALE: weston on the Xvfb, its output the whole screen.
start_weston() {
    weston --config="$WORK_DIR/weston.ini" --backend=x11-backend.so --socket="$socket" --use-pixman \
        --width=$((screen_w / $1)) --height=$((screen_h / $1)) --scale="$1" --idle-time=0 \
        >>"$ARTIFACTS/weston.log" 2>&1 &
    WM_PID=$!
    wait_until 20 test -S "$XDG_RUNTIME_DIR/$socket" || fail "weston did not open its socket (see weston.log)"
    expect_screen "desktop-scale-$1" 20 "10,$((screen_h - 10))=$desktop"
    # Weston draws its own pointer and moves it by how far the X pointer
    # moved, stopping at the output's edges. Pushed to the far corner and
    # then to the near one it stands where the X pointer stands, and from
    # there on follows it. It waits in the far corner, where it covers
    # nothing the test looks at.
    pointer_synced() {
        xdotool mousemove $((screen_w - 1)) $((screen_h - 1)) sleep 0.2 mousemove 0 0 sleep 0.2 \
            mousemove $((screen_w - 1)) $((screen_h - 1))
        [ "$(pixel "$(screenshot "desktop-scale-$1")" 1 1)" = "$desktop" ]
    }
    wait_until 20 pointer_synced "$1" || fail "weston's pointer did not follow the X pointer"
}
stop_weston() {
    end_tool "$WM_PID" weston || exit 1
    WM_PID=
    rm -f "$XDG_RUNTIME_DIR/$socket" "$XDG_RUNTIME_DIR/$socket.lock"
}

app="$WORK_DIR/app"
mkdir -p "$app"
cp "$program_dir/Quell1" "$program_dir/Photo.bmp" "$app/"
start_wayland_app() { env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" "$@" "$app/Quell1" >>"$ARTIFACTS/app.log" 2>&1 & APP_PID=$!; }

# The outline's extent, from the outline file the program unpacked.
outline_box() {  # prints min x, min y, width and height of the outline's points
    python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
(n,) = struct.unpack_from("<i", data, 0)
pts = [struct.unpack_from("<ii", data, 4 + 8 * i) for i in range(n)]
xs, ys = [p[0] for p in pts], [p[1] for p in pts]
print(min(xs), min(ys), max(xs) - min(xs), max(ys) - min(ys))
EOF
}

# visible_box FILE: "X Y W H" of what is not the desktop, the pointer's
# corner left out; empty when only the desktop shows.
visible_box() {
    convert "$1" -alpha off -fill white +opaque "rgb($desktop)" -fill black -opaque "rgb($desktop)" \
        -draw "rectangle $((screen_w - 40)),$((screen_h - 40)) $screen_w,$screen_h" -format '%@' info: 2>/dev/null |
        awk -F'[x+]' '$1 > 1 && $2 > 1 {print $3, $4, $1, $2}'
}
# near A B: two "r,g,b" colours differ by at most 12 in every channel.
near() {
    awk -v a="$1" -v b="$2" 'BEGIN{split(a, p, ","); split(b, q, ","); for (i = 1; i <= 3; i++) { d = p[i] - q[i]; if (d < -12 || d > 12) exit 1 } }'
}

# expect_shaped NAME SCALE: waits until the window shows shaped at that
# scale: what is not the desktop has the outline's extent, the window's
# corners outside the outline show the desktop, and points inside it show
# the frame bitmap's own pixels at their scaled places. Sets ox, oy, the
# window's top-left corner on screen. Each look finds the window anew: a
# window that is restored may show for a moment where it was maximized.
expect_shaped() {
    local name="$1" s="$2" deadline=$((SECONDS + 30)) box bx by bw bh bad i c
    local -a places=(0 0 799 0 0 599 799 599) frame_points=(12 300 788 300 400 585 100 580)
    local -a expected=() seen=() args=()
    mapfile -t expected < <(pixels "$frame_bmp" "${frame_points[@]}")
    while :; do
        shot=$(screenshot "$name")
        box=$(visible_box "$shot")
        bad="on screen ${box:-nothing but the desktop}, expected a shaped window of $((s * ow))x$((s * oh))"
        if [ -n "$box" ]; then
            read -r bx by bw bh <<<"$box"
            [ "$bw $bh" = "$((800 * s)) $((600 * s))" ] && bad="the window is a full ${bw}x$bh rectangle: it lost its shape"
        fi
        # The region's right and bottom edges may fall a pixel either way.
        if [ -n "$box" ] && [ $((bw - s * ow)) -ge -2 ] && [ $((bw - s * ow)) -le 2 ] &&
            [ $((bh - s * oh)) -ge -2 ] && [ $((bh - s * oh)) -le 2 ]; then
            ox=$((bx - s * omx)); oy=$((by - s * omy))
            args=()
            for ((i = 0; i < ${#places[@]}; i += 2)); do
                args+=($((ox + s * places[i] + s / 2)) $((oy + s * places[i + 1] + s / 2)))
            done
            for ((i = 0; i < ${#frame_points[@]}; i += 2)); do
                args+=($((ox + s * frame_points[i] + s / 2)) $((oy + s * frame_points[i + 1] + s / 2)))
            done
            mapfile -t seen < <(pixels "$shot" "${args[@]}")
            bad=""
            for ((i = 0; i < 4; i++)); do
                [ "${seen[$i]}" = "$desktop" ] ||
                    bad="the window's corner ${places[2 * i]},${places[2 * i + 1]} shows ${seen[$i]}, not the desktop"
            done
            for ((i = 0; i < ${#expected[@]}; i++)); do
                c="${seen[$((i + 4))]}"
                near "$c" "${expected[$i]}" ||
                    bad="frame point ${frame_points[2 * i]},${frame_points[2 * i + 1]} shows $c, the frame has ${expected[$i]}"
            done
            [ -z "$bad" ] && return 0
        fi
        [ "$SECONDS" -ge "$deadline" ] && fail "$name: $bad (window at $ox,$oy)"
        sleep 0.25
    done
}

start_weston 1
start_wayland_app
wait_until 90 test -f "$app/Media/Quell1.ini" || fail "the program did not unpack its skin"
frame_bmp="$app/Media/Quell1.bmp"
read -r omx omy ow oh < <(outline_box "$app/Media/Quell1.dat")
ini="$app/Media/Quell1.ini"
centre() { "$kit" ini "$ini" Button "$1" | awk -F, '{print int($4 + $6 / 2), int($5 + $7 / 2)}'; }

expect_shaped wayland-start 1
echo "shaped window at $ox,$oy"

# A double click outside the outline, on a cut corner, reaches the desktop:
# on the window's bare frame it would maximize the window.
xdotool mousemove $((ox + 2)) $((oy + 2)) click --repeat 2 --delay 80 1
xdotool mousemove $((screen_w - 1)) $((screen_h - 1))
# Nothing is expected to happen, so the check waits as long as a maximize takes.
sleep 2
before_x=$ox; before_y=$oy
expect_shaped wayland-outside-press 1
[ "$ox $oy" = "$before_x $before_y" ] || fail "a press outside the outline moved the window to $ox,$oy"

# A drag on the frame's body moves the window by the pointer's way.
xdotool mousemove $((ox + 12)) $((oy + 300)) sleep 0.2 mousedown 1 sleep 0.2 \
    mousemove $((ox + 62)) $((oy + 325)) sleep 0.1 mousemove $((ox + 112)) $((oy + 350)) sleep 0.3 mouseup 1
xdotool mousemove $((screen_w - 1)) $((screen_h - 1))
moved() { expect_shaped wayland-dragged 1 && [ "$ox $oy" = "$((before_x + 100)) $((before_y + 50))" ]; }
wait_until 10 moved || fail "the drag left the window at $ox,$oy, expected $((before_x + 100)),$((before_y + 50))"

# The address bar takes the keyboard: a blue page, easy to see on screen.
printf '<html><body style="margin:0;background:#0000ff"></body></html>' >"$WORK_DIR/blue.html"
read -r al at _ ab < <("$kit" ini "$ini" AddressBar Position | awk -F, '{print $1, $2, $3, $4}')
read -r bl bt br bb < <("$kit" ini "$ini" WebBrowser Position | awk -F, '{print $1, $2, $3, $4}')
xdotool mousemove $((ox + al + 81)) $((oy + (at + ab) / 2)) sleep 0.1 click 1 sleep 0.3
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "file://$WORK_DIR/blue.html"
xdotool key Return
xdotool mousemove $((screen_w - 1)) $((screen_h - 1))
expect_screen wayland-blue-page 20 "$((ox + (bl + br) / 2)),$((oy + (bt + bb) / 2))=0,0,255"

# The Favorite button opens the bookmark dialog over the window, a window of
# its own; Escape closes it. The blue page shows where the dialog is not.
page_crop() { convert "$1" -crop "$((br - bl - 20))x$((bb - bt - 20))+$((ox + bl + 10))+$((oy + bt + 10))" +repage "$2"; }
covered() {  # prints how many pixels of the page are not blue
    page_crop "$(screenshot "$1")" "$WORK_DIR/page.png"
    convert "$WORK_DIR/page.png" -fill black -opaque '#0000ff' -fill white +opaque black -format '%[fx:int(mean*w*h)]' info:
}
read -r cx cy < <(centre Favorite0)
xdotool mousemove $((ox + cx)) $((oy + cy)) sleep 0.1 click 1 sleep 0.2 mousemove $((screen_w - 1)) $((screen_h - 1))
dialog_shown() { [ "$(covered wayland-bookmark-dialog)" -gt 20000 ]; }
wait_until 15 dialog_shown || fail "the Favorite button showed no bookmark dialog over the page ($(covered wayland-bookmark-dialog) pixels covered)"
xdotool key Escape
dialog_gone() { [ "$(covered wayland-bookmark-dialog-closed)" = 0 ]; }
wait_until 15 dialog_gone || fail "Escape left the bookmark dialog on screen ($(covered wayland-bookmark-dialog-closed) pixels covered)"

# Maximize fills the output: the grey toolbar at the top, the browser below
# it to the far corner.
read -r cx cy < <(centre Maximize0)
xdotool mousemove $((ox + cx)) $((oy + cy)) sleep 0.1 click 1 sleep 0.2 mousemove $((screen_w - 1)) $((screen_h - 1))
expect_screen wayland-maximized 15 "3,3=191,191,191" "$((screen_w - 3)),3=191,191,191" \
    "$((screen_w / 2)),$((screen_h / 2))=0,0,255" "$((screen_w - 40)),$((screen_h - 40))=0,0,255" \
    "3,$((screen_h - 3))=0,0,255"

# The toolbar's Restore brings the skin and its shape back.
xdotool mousemove 198 14 sleep 0.1 click 1 sleep 0.2 mousemove $((screen_w - 1)) $((screen_h - 1))
expect_shaped wayland-restored 1

kill -TERM "$APP_PID"
expect_exit "SIGTERM on Wayland"

# Twice the scale in Qt: twice the size, the shape on the frame.
start_wayland_app QT_SCALE_FACTOR=2
expect_shaped wayland-qt-scale-2 2
kill -TERM "$APP_PID"
expect_exit "SIGTERM at QT_SCALE_FACTOR=2"

# An output of scale 2: the compositor asks for buffers of twice the size.
stop_weston
start_weston 2
start_wayland_app
expect_shaped wayland-output-scale-2 2
kill -TERM "$APP_PID"
expect_exit "SIGTERM on an output of scale 2"

echo "PASS: the sample skin on Wayland; screenshots in $ARTIFACTS"
