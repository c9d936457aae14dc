# The part of the sample-skin test that needs a window manager; sourced by
# sample_skin.sh with the program running, its window $id restored.
is_viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
wait_size() {  # wait_size W H: the window reaches the size
    for _ in $(seq 1 40); do read -r x y w h < <(window_geometry "$id"); [ "$w $h" = "$1 $2" ] && return 0; sleep 0.25; done
    return 1
}
# grey_toolbar_and_blue_page NAME W H: the maximized layout fills W by H:
# a grey toolbar at the top, the browser below it to the far corner.
grey_toolbar_and_blue_page() {
    expect_screen "$1" 10 "3,3=191,191,191" "$(($2 / 2)),40=0,0,255" "$(($2 - 3)),$(($3 - 3))=0,0,255"
}
has_x_shape() { xwininfo -shape -id "$id" | grep -q "Window shape extents"; }
shaped() {  # NAME: the restored window shows its cut corners and its body
    wait_until 10 has_x_shape || fail "$1: no X shape on the window"
    expect_screen "$1" 10 "0,0=0,0,0" "400,300!=0,0,0"
}

# Maximized by the skin's button, then resized by the window manager when the
# work area changes (a panel reserves the bottom 180 pixels, then goes): the
# toolbar and the browser follow.
read -r cx cy < <(centre Maximize0); click "$cx" "$cy"
wait_size 1920 1280 || fail "the skin's Maximize gave ${w}x$h under the window manager"
grey_toolbar_and_blue_page wm-maximized 1920 1280
xmessage -name quellpanel -geometry 200x40+1700+1230 panel >/dev/null 2>&1 &
PANEL_PID=$!
panel=""
for _ in $(seq 1 40); do panel=$(xdotool search --onlyvisible --classname quellpanel 2>/dev/null | head -n 1 || true); [ -n "$panel" ] && break; sleep 0.25; done
[ -n "$panel" ] || fail "the test's panel window did not appear"
xprop -id "$panel" -f _NET_WM_STRUT 32c -set _NET_WM_STRUT "0,0,0,180"
wait_size 1920 1100 || fail "the maximized window did not follow the smaller work area (${w}x$h)"
grey_toolbar_and_blue_page wm-resized-maximized 1920 1100
# The panel is the test's own window; only its going matters here.
end_tool "$PANEL_PID" panel || exit 1
wait_size 1920 1280 || fail "the maximized window did not follow the work area back (${w}x$h)"
grey_toolbar_and_blue_page wm-resized-back 1920 1280
click 198 14
wait_size 800 600 || fail "the toolbar's Restore gave ${w}x$h"
shaped wm-restored

# Maximized and restored from the window manager's side.
wmctrl -i -r "$id" -b add,maximized_vert,maximized_horz
wait_size 1920 1280 || fail "the window manager's maximize gave ${w}x$h"
grey_toolbar_and_blue_page wm-maximized-by-wm 1920 1280
wmctrl -i -r "$id" -b remove,maximized_vert,maximized_horz
wait_size 800 600 || fail "the window manager's restore gave ${w}x$h"
shaped wm-restored-by-wm

# Minimized by the skin's button and restored by the window manager: the
# shape is back.
read -r cx cy < <(centre Minimize0); click "$cx" "$cy"
for _ in $(seq 1 40); do is_viewable "$id" || break; sleep 0.25; done
is_viewable "$id" && fail "Minimize left the window on screen"
wmctrl -i -a "$id"
for _ in $(seq 1 40); do is_viewable "$id" && break; sleep 0.25; done
is_viewable "$id" || fail "the window manager could not restore the minimized window"
shaped wm-minimized-restored

# Restoring from maximized reads the outline once: with the outline file gone
# that is one message, and no second one follows it.
outline="$app/Media/Quell1.dat"
mv "$outline" "$outline.away"
read -r cx cy < <(centre Maximize0); click "$cx" "$cy"
wait_size 1920 1280 || fail "the second Maximize gave ${w}x$h"
# Message boxes are the program's other top-level windows; the animated
# pictures' own child windows are not counted.
message_count() {
    wmctrl -lx | awk '$3 ~ /Quell1/ {print $1}' | while read -r w; do
        [ "$((w))" = "$id" ] || echo "$w"
    done | wc -l
}
click 198 14
for _ in $(seq 1 40); do [ "$(message_count)" -ge 1 ] && break; sleep 0.25; done
[ "$(message_count)" = 1 ] || fail "restoring without an outline showed $(message_count) messages, expected 1"
screenshot wm-outline-message >/dev/null
xdotool key Return
for _ in $(seq 1 40); do [ "$(message_count)" = 0 ] && break; sleep 0.25; done
[ "$(message_count)" = 0 ] || fail "the outline message did not close on Return"
# Nothing else is expected, so the check has to wait: a second message would
# come from the same restore, at once.
sleep 2
[ "$(message_count)" = 0 ] || fail "a second outline message followed the first"
mv "$outline.away" "$outline"

# Alt+F4, the window manager's close, ends the program with status 0.
xdotool windowactivate --sync "$id" 2>/dev/null || true
xdotool key --clearmodifiers alt+F4
expect_exit "Alt+F4"

# File, then Close (its mnemonic), ends it the same way.
start_app "$app/Quell1"
id=$(wait_window Quellmark 90) || fail "no window on the second start"
# The File button is drawn once the frame is; the menu it opens is one more
# window of the program's.
expect_screen wm-second-start 15 "400,300!=0,0,0"
program_windows() { xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l; }
before_menu=$(program_windows)
read -r cx cy < <(centre File0); click "$cx" "$cy"
menu_open() { [ "$(program_windows)" -gt "$before_menu" ]; }
wait_until 10 menu_open || fail "the File button opened no menu"
screenshot wm-file-menu >/dev/null
xdotool key c
expect_exit "File, Close"
