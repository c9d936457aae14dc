#!/usr/bin/env bash
# A real Chromium makes its profile in a fresh home folder, headless; typed
# addresses are added to its History database as Chromium stores them, and
# quellkit history lists them cleaned, most recent first: once with the
# browser ended, once while it runs and holds the database locked. The
# database is not changed by the reading. Skips without Chromium.
# (A visited page is recorded untyped, so it never joins the list.)
# Arguments: QUELLKIT
source "$(dirname "$0")/lib.sh"
kit="$1"
browser=$(command -v chromium || true)
[ -n "$browser" ] || { echo "chromium is not installed"; exit $E2E_SKIP; }
make_work_dir
export HOME="$WORK_DIR/home" XDG_CONFIG_HOME="$WORK_DIR/home/.config" XDG_DATA_HOME="$WORK_DIR/home/.local/share"
export QUELLCORE_REGISTRY="$WORK_DIR/registry.reg"
printf 'REGEDIT4\r\n' > "$QUELLCORE_REGISTRY"
mkdir -p "$HOME"
profile="$XDG_CONFIG_HOME/chromium"
history="$profile/Default/History"
BROWSER_PID=
# Asks the browser to end as a session would; returns its exit status, which
# is not 0 when it had to be killed after 10 s.
stop_browser() {
    [ -n "$BROWSER_PID" ] || return 0
    local pid=$BROWSER_PID status=0
    BROWSER_PID=
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || status=$?
    return "$status"
}
python3 "$(dirname "$0")/pages_server.py" "$WORK_DIR/port" &
SERVER_PID=$!
trap 'status=$?; stop_browser || true; kill $SERVER_PID 2>/dev/null || true; cleanup $status' EXIT
wait_until 10 test -s "$WORK_DIR/port" || fail "the page server did not start"
page="http://127.0.0.1:$(cat "$WORK_DIR/port")/green.html"
# Root has no sandbox to offer the browser.
sandbox=(); [ "$(id -u)" = 0 ] && sandbox=(--no-sandbox)
start_browser() {  # start_browser ADDRESS
    "$browser" --headless "${sandbox[@]}" --disable-gpu --no-first-run --disable-background-networking \
        --user-data-dir="$profile" "$1" >>"$ARTIFACTS/browser.log" 2>&1 &
    BROWSER_PID=$!
}

start_browser about:blank
wait_until 60 test -s "$history" || fail "Chromium made no History database"
# Chromium writes its tables shortly after it creates the file.
urls_table() { sqlite3 "$history" '.schema urls' 2>/dev/null | grep -q typed_count; }
stop_browser || fail "Chromium ended with status $? when asked to"
wait_until 10 urls_table || fail "Chromium's History has no urls table"

sqlite3 "$history" "INSERT INTO urls (url, title, visit_count, typed_count, last_visit_time, hidden) VALUES
    ('https://Typed.Example/First', '', 3, 1, 13300000000000000, 0),
    ('http://second.example/Path', '', 1, 2, 13200000000000000, 0),
    ('http://untyped.example/', '', 9, 0, 13400000000000000, 0);"
expected="source: chromium $history
typed.example/first
second.example/path"

out=$("$kit" history) || fail "quellkit history failed"
[ "$out" = "$expected" ] || fail "with the browser ended: $out"

# Running, the browser holds its database open; once it has recorded the
# visit to a page (some seconds after the page loads) it holds it locked, so
# that no other SQLite connection may read it.
start_browser "$page"
locked() { local answer; answer=$(sqlite3 "$history" "SELECT count(*) FROM urls" 2>&1 || true); [[ "$answer" == *"database is locked"* ]]; }
wait_until 60 locked || fail "Chromium never locked its History database"
out=$(timeout 20 "$kit" history) || fail "quellkit history failed or hung while the browser runs"
# Chromium counts the address it was started with as typed, and has just
# visited it: it may lead the list, which is what the database now says.
with_page="source: chromium $history
${page#http://}
typed.example/first
second.example/path"
[ "$out" = "$expected" ] || [ "$out" = "$with_page" ] || fail "with the browser running: $out"
kill -0 "$BROWSER_PID" || fail "the browser ended while its history was read"
stop_browser || fail "Chromium ended with status $? when asked to"
echo "PASS: browser history"
