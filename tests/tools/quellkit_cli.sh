#!/usr/bin/env bash
# quellkit's ini, skin and reg subcommands: printed values and exit statuses.
set -uo pipefail
kit="$1"; data="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
failures=0
check() {  # check NAME EXPECTED-STATUS EXPECTED-STDOUT -- command...
    local name="$1" want_status="$2" want_out="$3"; shift 4
    local out status
    out=$("$@" 2>"$tmp/err"); status=$?
    if [ "$status" != "$want_status" ] || [ "$out" != "$want_out" ]; then
        echo "FAIL $name: status $status (want $want_status), output [$out] (want [$want_out]) stderr [$(cat "$tmp/err")]"
        failures=$((failures + 1))
    fi
}
ini="$data/skin/testskin.ini"
check "ini string" 0 "testskin.bmp" -- "$kit" ini "$ini" framebitmap FILENAME
check "ini default" 0 "FALSE" -- "$kit" ini "$ini" FrameBitmap Missing
check "ini int default" 0 "-1" -- "$kit" ini --int "$ini" Text TextNo
check "ini int" 0 "20" -- "$kit" ini --int "$ini" WebBrowser Position
check "ini missing file" 1 "" -- "$kit" ini "$tmp/none.ini" A B
check "ini usage" 2 "" -- "$kit" ini "$ini" A
grep -q '^error: ' <("$kit" ini "$tmp/none.ini" A B 2>&1) || { echo "FAIL: no error line"; failures=$((failures + 1)); }

out=$("$kit" skin describe "$ini")
[ "$(echo "$out" | head -n 1)" = 'frame "testskin.bmp"' ] || { echo "FAIL describe: $out"; failures=$((failures + 1)); }
echo "$out" | grep -qx 'browser 20,30,220,160' || { echo "FAIL describe browser: $out"; failures=$((failures + 1)); }

printf 'REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\T]\r\n"s"="text"\r\n"d"=dword:0000002a\r\n"b"=hex:01\r\n' > "$tmp/r.reg"
check "reg string" 0 "text" -- "$kit" reg "$tmp/r.reg" 2 'Software\T\s'
check "reg dword" 0 "42" -- "$kit" reg "$tmp/r.reg" 2 'Software\T\d'
check "reg binary" 1 "Binary data" -- "$kit" reg "$tmp/r.reg" 2 'Software\T\b'
check "reg missing" 1 "" -- "$kit" reg "$tmp/r.reg" 2 'Software\T\none'
check "reg bad root" 1 "" -- "$kit" reg "$tmp/r.reg" 7 'Software\T\s'
check "reg usage" 2 "" -- "$kit" reg "$tmp/r.reg"
check "unknown subcommand" 2 "" -- "$kit" frobnicate
check "skin deb usage" 2 "" -- "$kit" skin deb "$data/skin" prog
check "skin deb bad version" 2 "" -- "$kit" skin deb "$data/skin" prog out.deb --version x1
# With --json a failure is one object on standard output, and the status stays 1.
check "skin deb json failure" 1 '{"ok":false,"path":null,"size":0,"warnings":[],"error":"the skin has 1 error(s); quellkit skin check '"$tmp"'/none lists them"}' -- "$kit" skin deb "$tmp/none" prog "$tmp/out.deb" --json

# A new skin needs a name the program can carry and a folder with nothing in it.
check "skin new usage" 2 "" -- "$kit" skin new OnlyName
check "skin new bad name" 1 "" -- "$kit" skin new "1st.skin" "$tmp/first"
mkdir -p "$tmp/taken" && touch "$tmp/taken/notes.txt"
check "skin new into a used folder" 1 "" -- "$kit" skin new Fresh "$tmp/taken"
[ "$(ls "$tmp/taken")" = "notes.txt" ] || { echo "FAIL: skin new wrote into a used folder"; failures=$((failures + 1)); }
grep -qx "error: $tmp/taken exists and is not empty" <("$kit" skin new Fresh "$tmp/taken" 2>&1) ||
    { echo "FAIL: skin new into a used folder gave no reason"; failures=$((failures + 1)); }
check "skin map usage" 2 "" -- "$kit" skin map "$tmp/none"
check "skin map without a skin" 1 "" -- "$kit" skin map "$tmp/taken" "$tmp/map.png"
[ ! -e "$tmp/map.png" ] || { echo "FAIL: skin map wrote a picture without a skin"; failures=$((failures + 1)); }
"$kit" skin new Fresh "$tmp/fresh" >/dev/null || { echo "FAIL: skin new"; failures=$((failures + 1)); }
check "new skin checks clean" 0 "$tmp/fresh/Fresh.ini: 0 errors, 0 warnings" -- "$kit" skin check "$tmp/fresh"
map=$("$kit" skin map "$tmp/fresh" "$tmp/fresh.png")
echo "$map" | grep -qx 'findings: 0' || { echo "FAIL: the new skin's map marks something: $map"; failures=$((failures + 1)); }
echo "$map" | grep -qx '1 browser 168,48,628,448' || { echo "FAIL: new skin map legend: $map"; failures=$((failures + 1)); }
[ "$(head -c 8 "$tmp/fresh.png" | od -An -tx1 | tr -d ' ')" = "89504e470d0a1a0a" ] ||
    { echo "FAIL: skin map did not write a PNG"; failures=$((failures + 1)); }

# A file a decoder refuses is named by the reason the decoder gives.
error_line() {  # error_line EXPECTED-LINE -- command...
    local want="$1"; shift 2
    local err
    err=$("$@" 2>&1 >/dev/null)
    [ "$err" = "$want" ] || { echo "FAIL: want [$want], stderr [$err]"; failures=$((failures + 1)); }
}
printf 'BM' > "$tmp/short.bmp"
printf 'BM\0\0\0\0\0\0\0\0\0\0\0\0\102\0\0\0' > "$tmp/odd-header.bmp"
printf 'GIF89a' > "$tmp/short.gif"
printf 'PNG!!!!' > "$tmp/not.gif"
printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrX\0\0\0\0' > "$tmp/bad-track.mid"
error_line "error: not-a-bitmap" -- "$kit" bmp "$tmp/short.bmp" "$tmp/out.ppm"
error_line "error: unknown-header" -- "$kit" bmp "$tmp/odd-header.bmp" "$tmp/out.ppm"
error_line "error: truncated" -- "$kit" gif info "$tmp/short.gif"
error_line "error: not-a-gif" -- "$kit" gif info "$tmp/not.gif"
error_line "error: bad-track-chunk" -- "$kit" midi "$tmp/bad-track.mid"
check "bmp refused" 1 "" -- "$kit" bmp "$tmp/short.bmp" "$tmp/out.ppm"
[ "$failures" -eq 0 ] && echo "PASS" || exit 1
