#!/usr/bin/env bash
# With no X display, no Wayland socket and no platform chosen by hand, the
# packed program prints one line naming the variables it looked at and ends
# with status 1, before it unpacks anything; Qt would otherwise abort it.
# Arguments: PACKED_PROGRAM
source "$(dirname "$0")/lib.sh"
program="$1"
make_work_dir
trap 'rm -rf "$WORK_DIR"' EXIT
cp "$program" "$WORK_DIR/Quell1"

status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME="$WORK_DIR/xdg" \
    "$WORK_DIR/Quell1" >"$WORK_DIR/out" 2>"$WORK_DIR/err" </dev/null || status=$?
[ "$status" = 1 ] || fail "exit status $status without a display, expected 1 ($(head -c 300 "$WORK_DIR/err"))"
[ ! -s "$WORK_DIR/out" ] || fail "standard output is not empty: $(cat "$WORK_DIR/out")"
[ "$(wc -l <"$WORK_DIR/err")" = 1 ] || fail "expected one line on standard error, got: $(cat "$WORK_DIR/err")"
for name in DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; do
    grep -q "$name" "$WORK_DIR/err" || fail "the line does not name $name: $(cat "$WORK_DIR/err")"
done
[ ! -e "$WORK_DIR/Media" ] && [ ! -e "$WORK_DIR/xdg" ] || fail "the program unpacked its skin without a display"
echo "PASS: $(cat "$WORK_DIR/err")"
