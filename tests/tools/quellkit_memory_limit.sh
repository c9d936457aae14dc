#!/usr/bin/env bash
# Pictures whose declared size passes the decoders' checks but needs more
# memory than the process may have: quellkit must report out-of-memory, not
# abort. The address-space limit does not work under AddressSanitizer, which
# reserves far more than any limit up front, so sanitizer builds skip.
set -uo pipefail
kit="$1"; sanitizers="${2:-}"
if [ -n "$sanitizers" ]; then
    echo "SKIP: quellkit is built with -fsanitize=$sanitizers"
    exit 77
fi
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

# Little-endian fields for printf.
le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

# 16384 x 16384 at one bit a pixel: the most pixels the loader accepts, 32 MiB
# of rows (a hole in the file) that become 1 GiB of decoded pixels.
side=16384 rows=$((16384 / 8 * 16384))
printf "BM$(le32 $((62 + rows)))$(le32 0)$(le32 62)" > "$tmp/huge.bmp"
printf "$(le32 40)$(le32 $side)$(le32 $side)$(le16 1)$(le16 1)$(le32 0)$(le32 $rows)" >> "$tmp/huge.bmp"
printf "$(le32 2835)$(le32 2835)$(le32 2)$(le32 0)\\x00\\x00\\x00\\x00\\xff\\xff\\xff\\x00" >> "$tmp/huge.bmp"
truncate -s $((62 + rows)) "$tmp/huge.bmp"

# Four 8192 x 8192 images, the most the decoder keeps (64 MiB each, 256 MiB
# in all), each from a few bytes: a clear code and an end code leave every
# pixel 0.
image="\\x2c$(le16 0)$(le16 0)$(le16 8192)$(le16 8192)\\x00\\x02\\x01\\x2c\\x00"
printf "GIF89a$(le16 1)$(le16 1)\\x80\\x00\\x00\\x00\\x00\\x00\\xff\\xff\\xff$image$image$image$image\\x3b" > "$tmp/huge.gif"

limited() {  # limited NAME -- command...: runs the command with 256 MiB of address space
    local name="$1"; shift 2
    local err status
    err=$(ulimit -v 262144 && "$@" 2>&1 >/dev/null); status=$?
    [ "$status" = 1 ] && [ "$err" = "error: out-of-memory" ] ||
        fail "$name: status $status (want 1), stderr [$err] (want [error: out-of-memory])"
}
limited "bmp" -- "$kit" bmp "$tmp/huge.bmp" "$tmp/out.ppm"
limited "gif" -- "$kit" gif info "$tmp/huge.gif"
[ "$failures" -eq 0 ] && echo "PASS" || exit 1
