# Shared helpers for the end-to-end tests: a private X server, window lookup,
# screenshots and pixel reads. Sourced by each test script.
set -euo pipefail
# A command that fails outside any check ends the test; it says which.
trap 'E2E_STATUS=$?; echo "FAIL: $(basename "$0") line $LINENO: \"$BASH_COMMAND\" exited with status $E2E_STATUS"' ERR

E2E_SKIP=77

# Starts a private Xvfb and exports DISPLAY; skips the test when Xvfb is absent.
start_xvfb() {
    local size="${1:-1280x1024x24}"
    command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit $E2E_SKIP; }
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local display
    read -r -t 20 display <"$fifo" || { echo "Xvfb did not start"; exit 1; }
    rm -f "$fifo"
    export DISPLAY=":$display"
    trap cleanup EXIT
}

# cleanup [STATUS]: ends what the test started and exits with STATUS (the
# status the script was ending with, when not given).
cleanup() {
    local status="${1:-$?}" app_status=0
    if [ -n "${APP_PID:-}" ]; then
        # A test that stops early leaves the program running. It is asked to end
        # as a desktop session would ask it, and an unclean end still fails.
        kill -TERM "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || app_status=$?
        APP_PID=
        if [ "$status" = 0 ] && [ "$app_status" != 0 ]; then
            echo "FAIL: the program ended with status $app_status when the test cleaned up"
            status=1
        fi
    fi
    if [ -n "${WM_PID:-}" ]; then
        end_tool "$WM_PID" "window manager" || { [ "$status" = 0 ] && status=1; }
        WM_PID=
    fi
    if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
    if [ -n "${WORK_DIR:-}" ] && [ -z "${KEEP_WORK_DIR:-}" ]; then rm -rf "$WORK_DIR"; fi
    exit "$status"
}

# end_tool PID NAME: ends one of the test's own tools (the window manager, a
# panel window). It should end on the TERM signal it is sent, or by itself
# before; any other end, a crash among them, means that what the test saw
# through the tool cannot be trusted, and the test fails.
end_tool() {
    local pid="$1" name="$2" tool_status=0
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || tool_status=$?
    case "$tool_status" in
    0 | 143) return 0 ;;
    *) echo "FAIL: the test's $name ended with status $tool_status"; return 1 ;;
    esac
}

# Starts openbox on the test's display and waits until it manages windows;
# skips the test when openbox is absent.
start_wm() {
    command -v openbox >/dev/null || { echo "openbox is not installed"; exit $E2E_SKIP; }
    openbox --sm-disable >"$ARTIFACTS/openbox.log" 2>&1 &
    WM_PID=$!
    for _ in $(seq 1 80); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.25
    done
    echo "openbox did not start"; exit 1
}

# Environment for the program: the engine's sandbox is off for root only and
# the GPU is never used under Xvfb; the registry is the test's own.
app_env() {
    export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking --disable-component-update"
    export QUELLCORE_REGISTRY="${QUELLCORE_REGISTRY:-$WORK_DIR/registry.reg}"
    export XDG_DATA_HOME="$WORK_DIR/xdg-data"
    export XDG_CONFIG_HOME="$WORK_DIR/xdg-config"
    export XDG_RUNTIME_DIR="$WORK_DIR/xdg-runtime"
    mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
    # The address bar reads the default browser's profile below the home
    # folder: the test's own, so the machine's browsers stay out of it.
    export HOME="$WORK_DIR/home"
    mkdir -p "$HOME"
}

# firefox_history URL...: a Firefox profile in $HOME, as profiles.ini names it,
# whose places.sqlite holds each URL typed once, the first the most recently
# visited, and one untyped visit; prints the database's path. The tables are
# Firefox's own definitions of the columns read.
firefox_history() {
    local folder="$HOME/.mozilla/firefox" db now=1700000000000000
    mkdir -p "$folder/abcd1234.default-release"
    printf '[Install4F96D1932A9F858E]\nDefault=abcd1234.default-release\nLocked=1\n\n[Profile0]\nName=default-release\nIsRelative=1\nPath=abcd1234.default-release\nDefault=1\n\n[General]\nStartWithLastProfile=1\nVersion=2\n' \
        > "$folder/profiles.ini"
    db="$folder/abcd1234.default-release/places.sqlite"
    {
        echo "PRAGMA page_size=32768; PRAGMA journal_mode=WAL;"
        echo "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL, frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL);"
        echo "CREATE INDEX moz_places_lastvisitdateindex ON moz_places (last_visit_date);"
        echo "INSERT INTO moz_places (url, typed, visit_count, last_visit_date) VALUES ('http://untyped.example/', 0, 1, $((now + 1000)));"
        local i=0 url
        for url in "$@"; do
            echo "INSERT INTO moz_places (url, typed, visit_count, last_visit_date) VALUES ('$url', 1, 1, $((now - i)));"
            i=$((i + 1))
        done
    } | sqlite3 "$db" >/dev/null
    echo "$db"
}

make_work_dir() {
    WORK_DIR=$(mktemp -d /tmp/quell-e2e-XXXXXX)
    ARTIFACTS="${E2E_ARTIFACTS:-$WORK_DIR/artifacts}"
    mkdir -p "$ARTIFACTS"
}

# Starts a program in the background and records its pid in APP_PID.
start_app() {
    "$@" >"$ARTIFACTS/app.log" 2>&1 &
    APP_PID=$!
}

# Sanitizer findings in the program's log fail the test whatever its status.
check_sanitizer_log() {
    local log="${1:-$ARTIFACTS/app.log}"
    if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|WARNING: ThreadSanitizer|runtime error:' "$log" 2>/dev/null; then
        grep -m 5 -E 'ERROR: (AddressSanitizer|LeakSanitizer)|WARNING: ThreadSanitizer|runtime error:' "$log"
        fail "a sanitizer reported a finding (see $log)"
    fi
}

# expect_exit HOW [SECONDS]: after the test asked the program to end (HOW says
# how), it must end within the time with status 0; a signal or any other
# status fails the test.
expect_exit() {
    local how="$1" limit="${2:-20}" status start
    start=$(date +%s.%N)
    for _ in $(seq 1 $((limit * 20))); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$APP_PID" 2>/dev/null; then
        fail "$how did not end the program within ${limit} s"
    fi
    status=0
    wait "$APP_PID" || status=$?
    APP_PID=
    if [ "$status" -gt 128 ]; then
        fail "$how: the program died of signal $((status - 128)) (exit status $status)"
    fi
    [ "$status" = 0 ] || fail "$how: the program ended with status $status"
    check_sanitizer_log
    echo "$how: exit status 0 after $(echo "$(date +%s.%N) - $start" | bc | cut -c1-4) s"
}

# Waits for a window with the given name and prints its id.
wait_window() {
    local name="$1" timeout="${2:-60}" id=""
    for _ in $(seq 1 $((timeout * 4))); do
        id=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        if [ -n "${APP_PID:-}" ] && ! kill -0 "$APP_PID" 2>/dev/null; then return 1; fi
        sleep 0.25
    done
    return 1
}

window_geometry() {  # prints "X Y W H"
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# expect_geometry ID "X Y W H" [SECONDS]: waits until the window has that
# place and size; fails with the last one seen. Sets x, y, w and h.
expect_geometry() {
    local deadline=$((SECONDS + ${3:-10}))
    while :; do
        read -r x y w h < <(window_geometry "$1")
        [ "$x $y $w $h" = "$2" ] && return 0
        [ "$SECONDS" -ge "$deadline" ] && fail "window at $x,$y size ${w}x$h, expected $2 (X Y W H)"
        sleep 0.25
    done
}

screenshot() {  # screenshot NAME: the whole screen into the artifacts folder
    import -window root "$ARTIFACTS/$1.png"
    echo "$ARTIFACTS/$1.png"
}

pixel() {  # pixel FILE X Y: prints the pixel as "r,g,b"
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# pixels FILE X Y [X Y ...]: prints each pixel as "r,g,b", one a line, from
# one read of the file.
pixels() {
    local file="$1" format=""
    shift
    while [ $# -ge 2 ]; do
        format+="%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]\n"
        shift 2
    done
    convert "$file" -format "$format" info:
}

# expect_screen NAME SECONDS CHECK...: takes screenshots until every CHECK
# holds, and fails naming the first that does not once SECONDS have passed.
# A CHECK is "X,Y=R,G,B" (the pixel shows that colour) or "X,Y!=R,G,B" (it
# shows any other). The last screenshot is in $SHOT. What the program does
# reaches the screen a moment later, more so on a loaded machine: a test
# waits for it instead of looking once.
expect_screen() {
    local name="$1" limit="$2" deadline check where colour negate i
    shift 2
    local -a coords=() seen=()
    for check in "$@"; do
        where="${check%%=*}"; where="${where%!}"
        coords+=("${where%,*}" "${where#*,}")
    done
    deadline=$((SECONDS + limit))
    while :; do
        SHOT=$(screenshot "$name")
        mapfile -t seen < <(pixels "$SHOT" "${coords[@]}")
        EXPECT_MISMATCH=""
        i=0
        for check in "$@"; do
            where="${check%%=*}"; colour="${check#*=}"; negate=""
            [ "${where%!}" != "$where" ] && { negate="not "; where="${where%!}"; }
            if { [ -z "$negate" ] && [ "${seen[$i]}" != "$colour" ]; } ||
                { [ -n "$negate" ] && [ "${seen[$i]}" = "$colour" ]; }; then
                EXPECT_MISMATCH="$where shows ${seen[$i]}, expected $negate$colour"
                break
            fi
            i=$((i + 1))
        done
        [ -z "$EXPECT_MISMATCH" ] && return 0
        [ "$SECONDS" -ge "$deadline" ] && fail "$name: $EXPECT_MISMATCH (after ${limit} s)"
        sleep 0.25
    done
}

# wait_until SECONDS COMMAND...: runs COMMAND until it succeeds; false when
# it still fails once SECONDS have passed.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.25
    done
}

# settled_shot NAME X Y COLOUR: a screenshot once the pixel shows COLOUR, or
# the last one after five seconds. A window that changed size composes its
# next frame a moment later, more so on a loaded machine.
settled_shot() {
    local shot
    for _ in $(seq 1 20); do
        shot=$(screenshot "$1")
        [ "$(pixel "$shot" "$2" "$3")" = "$4" ] && break
        sleep 0.25
    done
    echo "$shot"
}

fail() { echo "FAIL: $*"; if [ -f "$ARTIFACTS/app.log" ]; then echo "--- program output"; tail -n 40 "$ARTIFACTS/app.log"; fi; exit 1; }
