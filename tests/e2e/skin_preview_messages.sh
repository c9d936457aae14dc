#!/usr/bin/env bash
# The messages a skin's load shows as message boxes in the packed program go,
# in the preview, to standard error and into the note over the browser: on a
# copy of the sample skin whose Gif0 names a missing file and whose BackNo
# promises an entry that is not there, the window still appears at once, the
# note lists both messages (the missing entry's is an empty one) and nothing
# waits for a click. Fixing the description reloads the skin and the note goes.
# Arguments: PROGRAM SKIN_DIR
source "$(dirname "$0")/lib.sh"
program="$1"; skin_source="$2"

make_work_dir
start_xvfb 1280x1024x24
app_env
printf 'REGEDIT4\r\n' > "$QUELLCORE_REGISTRY"
skin="$WORK_DIR/skin"
cp -r "$skin_source" "$skin"
ini="$skin/Quell1.ini"
cp "$ini" "$WORK_DIR/good.ini"
sed -i 's/^Gif0=equalizer.gif,/Gif0=gone.gif,/; s/^BackNo=1/BackNo=2/' "$ini"

# poll_note_colour NAME COLOUR SECONDS: the note's corner over the browser
# (172,112 + 8) shows COLOUR within the time.
poll_note_colour() {
    local shot seen deadline=$(($(date +%s) + $3))
    while :; do
        shot=$(screenshot "$1")
        seen=$(pixel "$shot" 182 122)
        [ "$seen" = "$2" ] && return 0
        [ "$(date +%s)" -lt "$deadline" ] || fail "$1: the note's place shows $seen after $3 s, expected $2"
        sleep 0.25
    done
}

start_app "$program" --skin "$skin"
wait_window Quellmark 30 >/dev/null || fail "no preview window within 30 s: a message box held it back?"
xdotool mousemove 1270 1010
poll_note_colour noted 255,255,225 15
grep -q '^message: ".*gone.gif.*"$' "$ARTIFACTS/app.log" || fail "the missing picture's message is not on standard error"
grep -qx 'message: ""' "$ARTIFACTS/app.log" || fail "the missing entry's empty message is not on standard error"

cp "$WORK_DIR/good.ini" "$ini"
deadline=$(($(date +%s) + 20))
until grep -q "the skin was reloaded" "$ARTIFACTS/app.log"; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "the fixed description was not reloaded within 20 s"
    sleep 0.25
done
deadline=$(($(date +%s) + 10))
while [ "$(pixel "$(screenshot fixed)" 182 122)" = "255,255,225" ]; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "the note stayed after a clean reload"
    sleep 0.25
done

kill -TERM "$APP_PID"
expect_exit "a termination request"
