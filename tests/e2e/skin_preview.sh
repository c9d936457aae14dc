#!/usr/bin/env bash
# The program shows a skin folder as it is being edited: started with
# --skin on a copy of the sample skin, it shows a changed button picture and
# a changed text caption without a restart; a broken description keeps the
# skin on screen and shows the findings in a note; a termination request
# ends it with status 0.
# Arguments: PROGRAM SKIN_DIR PHOTO
source "$(dirname "$0")/lib.sh"
program="$1"; skin_source="$2"; photo="$3"

make_work_dir
start_xvfb 1280x1024x24
app_env
printf 'REGEDIT4\r\n' > "$QUELLCORE_REGISTRY"

skin="$WORK_DIR/skin"
cp -r "$skin_source" "$skin"
cp "$photo" "$skin/Photo.bmp"
ini="$skin/Quell1.ini"
start_app "$program" --skin "$skin"
wait_window Quellmark 90 >/dev/null || fail "no window appeared"
# The pointer stays away from the buttons, whose hover pictures would show.
xdotool mousemove 1270 1010

# The Back button sits at 172,36 (34x34); the first text label at 38,446 (112x16).
back="189 53"
label_crop() { convert "$1" -crop 112x16+38+446 +repage "$2"; }
# wait_for NAME X Y COLOUR: a screenshot shows COLOUR at X,Y within 15 s.
wait_for() {
    local shot
    for _ in $(seq 1 60); do
        shot=$(screenshot "$1")
        [ "$(pixel "$shot" "$2" "$3")" = "$4" ] && return 0
        sleep 0.25
    done
    fail "$1: $2,$3 shows $(pixel "$shot" "$2" "$3"), expected $4"
}
# The Back button is drawn, and not yet magenta, before any change.
expect_screen before 15 "${back/ /,}!=0,0,0" "${back/ /,}!=255,0,255"
before="$SHOT"
label_crop "$before" "$WORK_DIR/label-before.png"

# A new normal picture for Back and a new caption for the first label.
convert -size 34x34 xc:'#ff00ff' BMP3:"$skin/back-n.bmp"
sed -i 's/,home,Home page/,home,Start over/' "$ini"
wait_for reloaded $back 255,0,255
label_changed() {
    label_crop "$(screenshot reloaded)" "$WORK_DIR/label-after.png"
    changed=$(compare -metric AE "$WORK_DIR/label-before.png" "$WORK_DIR/label-after.png" null: 2>&1 || true)
    [ "${changed%% *}" -gt 0 ] 2>/dev/null
}
wait_until 10 label_changed || fail "the label's caption did not change on screen (differing pixels: $changed)"
grep -q "the skin was reloaded" "$ARTIFACTS/app.log" || fail "the reload was not reported"

# A description whose frame is missing: the current skin stays and a note
# over the browser's rectangle (172,112) tells why.
sed -i 's/^FileName=Quell1.bmp/FileName=missing.bmp/' "$ini"
wait_for broken 182 122 255,255,225
[ "$(pixel "$ARTIFACTS/broken.png" $back)" = "255,0,255" ] || fail "a broken description changed the skin on screen"
grep -q "the skin was not reloaded" "$ARTIFACTS/app.log" || fail "the findings were not written to standard error"

kill -TERM "$APP_PID"
expect_exit "a termination request"
