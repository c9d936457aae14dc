#!/usr/bin/env bash
# quellkit favorites: the listed tree, and export followed by import.
set -uo pipefail
kit="$1"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

fav="$tmp/fav"; mkdir -p "$fav/Work/Deep" "$fav/Empty"
printf '[InternetShortcut]\r\nURL=http://news/\r\n' > "$fav/News.url"
printf '[InternetShortcut]\r\nURL=http://mail/\r\n' > "$fav/Work/Mail.url"
printf '[InternetShortcut]\r\nURL=http://doc/?a=1&b=2\r\n' > "$fav/Work/Deep/Doc.url"
echo text > "$fav/readme.txt"

out=$("$kit" favorites --folder "$fav" list); status=$?
[ "$status" = 0 ] || fail "list status $status"
[ "$(echo "$out" | head -n 1)" = "Favorites" ] || fail "list root: $out"
echo "$out" | grep -qx '  News.url' || fail "list News.url: $out"
echo "$out" | grep -qx '  Work' || fail "list Work: $out"
echo "$out" | grep -qx '    Mail.url' || fail "list Mail.url: $out"
echo "$out" | grep -qx '      Doc.url' || fail "list Doc.url: $out"
echo "$out" | grep -q 'readme' && fail "list shows readme.txt"
[ "$(echo "$out" | wc -l)" = 7 ] || fail "list line count: $out"

"$kit" favorites --folder "$fav" export "$tmp/out.html" || fail "export status"
head -n 1 "$tmp/out.html" | grep -qx '<!DOCTYPE NETSCAPE-Bookmark-file-1>' || fail "export doctype"
mkdir "$tmp/copy"
"$kit" favorites --folder "$tmp/copy" import "$tmp/out.html" > "$tmp/summary" || fail "import status"
grep -qx '3 bookmarks written, 0 already present, 3 folders created' "$tmp/summary" || fail "import summary: $(cat "$tmp/summary")"
# The same tree, whatever order each folder lists in.
diff <("$kit" favorites --folder "$fav" list | sort) <("$kit" favorites --folder "$tmp/copy" list | sort) ||
    fail "round trip differs"
cmp -s "$fav/Work/Deep/Doc.url" "$tmp/copy/Work/Deep/Doc.url" || fail "round trip shortcut bytes"
# A second import finds everything present and changes nothing.
"$kit" favorites --folder "$tmp/copy" import "$tmp/out.html" | grep -qx '0 bookmarks written, 3 already present, 0 folders created' ||
    fail "second import"

"$kit" favorites --folder "$tmp/none" list 2>/dev/null; [ $? = 1 ] || fail "missing folder status"
"$kit" favorites --folder "$fav" import "$tmp/none.html" 2>/dev/null; [ $? = 1 ] || fail "missing input status"
"$kit" favorites --folder "$fav" frob 2>/dev/null; [ $? = 2 ] || fail "usage status"
[ "$failures" -eq 0 ] && echo "PASS" || exit 1
