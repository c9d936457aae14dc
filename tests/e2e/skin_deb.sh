#!/usr/bin/env bash
# "quellkit skin deb" on the sample skin gives a package under 10 MB that
# dpkg-deb describes as expected and lintian finds no error in. Installed with
# dpkg, its command starts as a user whose home is an empty folder: the skin is
# unpacked into that user's data folder (the program's own folder is left
# alone) and the shaped window shows. The package is purged however the test
# ends. Installing needs root; the test skips otherwise.
# Arguments: QUELLKIT SKINDIR PROGRAM PHOTO
source "$(dirname "$0")/lib.sh"
kit="$1"; skin_dir="$2"; program="$3"; photo="$4"
package=quell1

[ "$(id -u)" = 0 ] || { echo "installing a package needs root"; exit $E2E_SKIP; }
for tool in dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit $E2E_SKIP; }
done
# A package of that name installed by someone else is not this test's to replace.
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'installed'; then
    echo "$package is already installed on this machine"; exit $E2E_SKIP
fi

make_work_dir
start_xvfb 1024x768x24
installed=0
trap 'status=$?; [ "$installed" = 1 ] && dpkg --purge "$package" >"$ARTIFACTS/purge.log" 2>&1; cleanup $status' EXIT

deb="$WORK_DIR/$package.deb"
"$kit" skin deb "$skin_dir" "$program" "$deb" --photo "$photo" --json >"$ARTIFACTS/deb.json" 2>"$ARTIFACTS/deb.err" ||
    fail "skin deb failed: $(cat "$ARTIFACTS/deb.json" "$ARTIFACTS/deb.err")"
python3 - "$ARTIFACTS/deb.json" "$deb" <<'PY' || fail "skin deb printed an unexpected result: $(cat "$ARTIFACTS/deb.json")"
import json, os, sys
text = open(sys.argv[1]).read()
result = json.loads(text)
assert text.count("\n") == 1, "more than one line"
assert set(result) == {"ok", "path", "size", "warnings", "error"}, result
assert result["ok"] is True and result["error"] is None, result
assert os.path.samefile(result["path"], sys.argv[2]), result
assert result["size"] == os.path.getsize(sys.argv[2]), result
PY
size=$(stat -c %s "$deb")
[ "$size" -lt 10000000 ] || fail "the package is $size bytes, not under 10 MB"

dpkg-deb --info "$deb" >"$ARTIFACTS/info.txt" || fail "dpkg-deb cannot read the package"
for field in "Package: $package" "Architecture: $(dpkg --print-architecture)" "Section: web" "Priority: optional"; do
    grep -qx " $field" "$ARTIFACTS/info.txt" || fail "the control file lacks \"$field\": $(cat "$ARTIFACTS/info.txt")"
done
depends=$(sed -n 's/^ Depends: //p' "$ARTIFACTS/info.txt")
for needed in libc6 libqt6webenginecore6 fluid-soundfont-gm libqt6webenginecore6-bin; do
    echo "$depends" | tr ',' '\n' | grep -qE "^ *$needed( |$)" || fail "Depends lacks $needed: $depends"
done
# A Wayland desktop gets Qt's native platform for it; the Japanese texts a CJK font.
recommends=$(sed -n 's/^ Recommends: //p' "$ARTIFACTS/info.txt")
for wanted in qt6-wayland fonts-noto-cjk; do
    echo "$recommends" | tr ',' '\n' | grep -qE "^ *$wanted( |$)" || fail "Recommends lacks $wanted: $recommends"
done
dpkg-deb --contents "$deb" | awk '{print $1, $NF}' >"$ARTIFACTS/contents.txt"
for entry in "-rwxr-xr-x ./usr/bin/$package" "-rwxr-xr-x ./usr/lib/Quell1/Quell1" "-rw-r--r-- ./usr/lib/Quell1/Photo.bmp" \
    "-rw-r--r-- ./usr/share/applications/$package.desktop" "-rw-r--r-- ./usr/share/icons/hicolor/64x64/apps/$package.png" \
    "-rw-r--r-- ./usr/share/doc/$package/copyright" "-rw-r--r-- ./usr/share/doc/$package/changelog.gz"; do
    grep -qxF -- "$entry" "$ARTIFACTS/contents.txt" || fail "the package lacks $entry"
done

lintian --tag-display-limit 0 "$deb" >"$ARTIFACTS/lintian.txt" 2>&1 || true
if grep -q '^E: ' "$ARTIFACTS/lintian.txt"; then
    fail "lintian reports errors: $(grep '^E: ' "$ARTIFACTS/lintian.txt")"
fi

installed=1
dpkg -i "$deb" >"$ARTIFACTS/install.log" 2>&1 || fail "dpkg -i failed (unmet dependencies?): $(tail -n 20 "$ARTIFACTS/install.log")"
[ -x "/usr/bin/$package" ] || fail "no /usr/bin/$package after installing"

export HOME="$WORK_DIR/home"
mkdir -p "$HOME"
app_env
start_app "/usr/bin/$package"
id=$(wait_window Quellmark 90) || fail "the installed program showed no window"
expect_geometry "$id" "0 0 800 600"
[ -f "$XDG_DATA_HOME/quellcore/Quell1/Media/Quell1.ini" ] || fail "the skin was not unpacked into the user's data folder"
[ ! -e /usr/lib/Quell1/Media ] || fail "the program unpacked its skin into its installed folder"
# Shaped: the corner shows the empty screen, the body is drawn.
expect_screen installed 15 "400,300!=0,0,0" "0,0=0,0,0"

kill -TERM "$APP_PID"
expect_exit SIGTERM
dpkg --purge "$package" >"$ARTIFACTS/purge.log" 2>&1 || fail "dpkg --purge failed: $(cat "$ARTIFACTS/purge.log")"
installed=0
[ ! -e /usr/lib/Quell1 ] || fail "purging left /usr/lib/Quell1 behind"
echo "PASS: $package.deb of $size bytes installed, started from /usr/bin and purged; lintian: $(grep -c '^[WIP]: ' "$ARTIFACTS/lintian.txt") warnings and notes"
