#!/usr/bin/env bash
# "quellkit skin map" on the sample skin: a PNG of the frame's size whose
# legend names every placed element "skin describe" lists, and nothing marked;
# with a button moved past the frame's right edge, that button is marked in
# the legend, listed among the findings and drawn in the mark colour.
# Arguments: QUELLKIT SAMPLE_SKIN_DIR
set -uo pipefail
kit="$1"; sample="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
failures=0
failed() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$kit" skin map "$sample" "$tmp/map.png" >"$tmp/legend.txt" 2>"$tmp/err" || failed "skin map failed: $(cat "$tmp/err")"
if command -v identify >/dev/null; then
    size=$(identify -format '%wx%h' "$tmp/map.png" 2>&1)
    [ "$size" = "800x600" ] || failed "the map is $size, not the frame's 800x600"
fi
grep -qx 'findings: 0' "$tmp/legend.txt" || failed "the sample skin's map marks something: $(cat "$tmp/legend.txt")"

# The placed elements of describe: the fixed ones by their first word, the
# list entries by their first two.
"$kit" skin describe "$sample/Quell1.ini" >"$tmp/describe.txt"
awk '$1 ~ /^(browser|addressbar|statusbar|progress|navigationgif)$/ && $2 != "none" {print $1}
     $1 ~ /^(picture|button|text)$/ {print $1 " " $2}' "$tmp/describe.txt" >"$tmp/expected.txt"
[ "$(wc -l <"$tmp/expected.txt")" -ge 10 ] || failed "describe lists too few elements: $(cat "$tmp/describe.txt")"
# Legend lines: number, key (one or two words), rectangle, marks.
sed -n '/^findings:/q;p' "$tmp/legend.txt" | awk '{ if ($2 ~ /^(picture|button|text)$/) print $2 " " $3; else print $2 }' >"$tmp/listed.txt"
while read -r key; do
    grep -qxF "$key" "$tmp/listed.txt" || failed "the legend lacks $key"
done <"$tmp/expected.txt"

cp -r "$sample" "$tmp/moved"
sed -i 's/^\(Back0=[^,]*,[^,]*,[^,]*,\)[0-9]*,/\1900,/' "$tmp/moved/Quell1.ini"
grep -q '^Back0=[^,]*,[^,]*,[^,]*,900,' "$tmp/moved/Quell1.ini" || failed "the test could not move Back0"
"$kit" skin map "$tmp/moved" "$tmp/moved.png" >"$tmp/moved.txt" 2>"$tmp/err" || failed "skin map failed: $(cat "$tmp/err")"
line=$(grep ' button Back0 ' "$tmp/moved.txt")
case "$line" in
*" 900,"*outside-frame*outside-outline*) ;;
*) failed "Back0 is not marked outside the frame and the outline: [$line]" ;;
esac
number=${line%% *}
grep -qx "$number button Back0: reaches outside the 800x600 frame" "$tmp/moved.txt" || failed "the findings lack Back0: $(cat "$tmp/moved.txt")"
# Its number box is kept inside the picture at its right edge, in the mark colour.
if command -v convert >/dev/null; then
    colour=$(convert "$tmp/moved.png" -format '%[fx:int(255*p{799,40}.r)],%[fx:int(255*p{799,40}.g)],%[fx:int(255*p{799,40}.b)]' info:)
    [ "$colour" = "255,32,32" ] || failed "the moved button's number box is $colour, not the mark colour 255,32,32"
fi
[ "$failures" -eq 0 ] && echo "PASS" || exit 1
