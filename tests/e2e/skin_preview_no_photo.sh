#!/usr/bin/env bash
# The preview command on the build's own sample skin folder, which holds no
# Photo.bmp as no skin being made does: the window appears at once with a
# placeholder in the Photo's place and no message box before it, and a
# changed frame bitmap appears in place in the same window, as does a Photo.bmp
# put into the folder later. A termination request then ends the program with
# status 0.
# Arguments: PROGRAM SKIN_DIR
source "$(dirname "$0")/lib.sh"
program="$1"; skin_source="$2"

for folder in "$skin_source" "$(dirname "$program")"; do
    [ ! -e "$folder/Photo.bmp" ] || { echo "FAIL: $folder holds a Photo.bmp; the test needs none there"; exit 1; }
done
make_work_dir
start_xvfb 1280x1024x24
app_env
printf 'REGEDIT4\r\n' > "$QUELLCORE_REGISTRY"

# The skin is a copy, so that the build's own folder is never edited.
skin="$WORK_DIR/skin"
cp -r "$skin_source" "$skin"


start_app "$program" --skin "$skin"
# A message box would come before the window and hold it back; the frame
# window appearing is what shows that nothing waits for a click. The engine
# takes its time to start on a loaded machine, the frame does not.
id=$(wait_window Quellmark 30) || fail "no preview window within 30 s"
xdotool mousemove 1270 1010
grep -q "the Photo picture is a placeholder" "$ARTIFACTS/app.log" || fail "the placeholder Photo was not reported on standard error"
if grep -q '^message: ' "$ARTIFACTS/app.log"; then fail "loading the sample skin showed a message"; fi

# The Photo sits at 21,34 and is 130x384: in its middle the screen shows the
# placeholder, not the frame beneath.
frame_colour=$(pixel "$skin/Quell1.bmp" 86 226)
deadline=$(($(date +%s) + 15))
while :; do
    shown=$(pixel "$(screenshot first)" 86 226)
    [ "$shown" != "$frame_colour" ] && break
    [ "$(date +%s)" -lt "$deadline" ] || fail "the Photo's place shows the bare frame ($shown) after 15 s"
    sleep 0.25
done

# Bare frame between the Photo and the browser turns magenta in the frame
# bitmap; the same window shows it, at the same place and size.
geometry_before=$(window_geometry "$id")
convert "$skin/Quell1.bmp" -fill '#ff00ff' -draw 'rectangle 156,300 166,310' BMP3:"$skin/Quell1.bmp.new"
mv "$skin/Quell1.bmp.new" "$skin/Quell1.bmp"
expect_screen reloaded 20 "161,305=255,0,255"
grep -q "the skin was reloaded" "$ARTIFACTS/app.log" || fail "the reload was not reported"
[ "$(xdotool search --onlyvisible --name '^Quellmark$' | head -n 1)" = "$id" ] || fail "the reload made a new window"
[ "$(window_geometry "$id")" = "$geometry_before" ] || fail "the window moved or changed size on reload"
[ "$(pixel "$ARTIFACTS/reloaded.png" 86 226)" != "$frame_colour" ] || fail "the placeholder Photo went on reload"

# A Photo.bmp the author then puts into the skin folder shows with the reload
# it causes, and the placeholder comes back when it goes again.
placeholder_colour=$(pixel "$ARTIFACTS/reloaded.png" 86 226)
convert -size 130x384 xc:'#00ff00' BMP3:"$skin/Photo.bmp"
expect_screen own-photo 20 "86,226=0,255,0"
rm "$skin/Photo.bmp"
expect_screen placeholder-again 20 "86,226=$placeholder_colour"

kill -TERM "$APP_PID"
expect_exit "a termination request"
