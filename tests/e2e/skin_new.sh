#!/usr/bin/env bash
# A skin made by "quellkit skin new" works as it is: it checks with no errors
# and no warnings, its layout map finds nothing, the preview shows it without
# a message and ends with status 0, "skin pack" makes a program that shows it,
# and "skin deb" makes a package of it.
# Arguments: QUELLKIT PROGRAM PHOTO
source "$(dirname "$0")/lib.sh"
kit="$1"; program="$2"; photo="$3"

make_work_dir
start_xvfb 1024x768x24
app_env
printf 'REGEDIT4\r\n' > "$QUELLCORE_REGISTRY"
skin="$WORK_DIR/MySkin"

"$kit" skin new MySkin "$skin" >"$ARTIFACTS/new.txt" 2>&1 || fail "skin new failed: $(cat "$ARTIFACTS/new.txt")"
"$kit" skin check "$skin" >"$ARTIFACTS/check.txt" 2>&1 || fail "skin check failed: $(cat "$ARTIFACTS/check.txt")"
[ "$(cat "$ARTIFACTS/check.txt")" = "$skin/MySkin.ini: 0 errors, 0 warnings" ] ||
    fail "skin check found something: $(cat "$ARTIFACTS/check.txt")"
"$kit" skin map "$skin" "$ARTIFACTS/map.png" >"$ARTIFACTS/legend.txt" || fail "skin map failed"
grep -qx 'findings: 0' "$ARTIFACTS/legend.txt" || fail "the map marks elements: $(cat "$ARTIFACTS/legend.txt")"

# wait_colour NAME X Y COLOUR SECONDS: screenshots until one shows COLOUR at X,Y.
wait_colour() {
    local shot seen deadline=$(($(date +%s) + $5))
    while :; do
        shot=$(screenshot "$1")
        seen=$(pixel "$shot" "$2" "$3")
        [ "$seen" = "$4" ] && return 0
        [ "$(date +%s)" -lt "$deadline" ] || fail "$1: $2,$3 shows $seen after $5 s, expected $4"
        sleep 0.25
    done
}
# The Back button is 32x24 at 168,10; its normal picture's face is 67,83,111
# below its highlight row. The corner pixel lies outside the rounded outline.
expect_skin_on_screen() {
    local name="$1" id
    id=$(wait_window Quellmark 60) || fail "$name: no window"
    read -r x y w h < <(window_geometry "$id")
    [ "$w $h" = "640 480" ] || fail "$name: the window is ${w}x$h, not the frame's 640x480"
    xdotool mousemove 1000 700
    wait_colour "$name" $((x + 172)) $((y + 30)) 67,83,111 20
    [ "$(pixel "$ARTIFACTS/$name.png" "$x" "$y")" = "0,0,0" ] || fail "$name: the window's corner is not cut away"
}

start_app "$program" --skin "$skin"
expect_skin_on_screen preview
if grep -q '^message: ' "$ARTIFACTS/app.log"; then fail "the preview showed a message: $(grep '^message: ' "$ARTIFACTS/app.log")"; fi
kill -TERM "$APP_PID"
expect_exit "ending the preview"

mkdir -p "$WORK_DIR/packed"
"$kit" skin pack "$skin" "$program" "$WORK_DIR/packed/" >"$ARTIFACTS/pack.txt" 2>&1 || fail "skin pack failed: $(cat "$ARTIFACTS/pack.txt")"
cp "$photo" "$WORK_DIR/packed/Photo.bmp"
start_app "$WORK_DIR/packed/MySkin"
expect_skin_on_screen packed
kill -TERM "$APP_PID"
expect_exit "ending the packed program"

for tool in dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "PASS without the package: $tool is not installed"; exit 0; }
done
"$kit" skin deb "$skin" "$program" "$WORK_DIR/myskin.deb" --photo "$photo" >"$ARTIFACTS/deb.txt" 2>&1 ||
    fail "skin deb failed: $(cat "$ARTIFACTS/deb.txt")"
dpkg-deb --info "$WORK_DIR/myskin.deb" >"$ARTIFACTS/info.txt" || fail "dpkg-deb cannot read the package"
grep -qx ' Package: myskin' "$ARTIFACTS/info.txt" || fail "the package is not named myskin: $(cat "$ARTIFACTS/info.txt")"
dpkg-deb --contents "$WORK_DIR/myskin.deb" >"$ARTIFACTS/contents.txt" || fail "dpkg-deb cannot list the package"
grep -q ' \./usr/lib/MySkin/MySkin$' "$ARTIFACTS/contents.txt" || fail "the package lacks the program: $(cat "$ARTIFACTS/contents.txt")"
echo "PASS"
