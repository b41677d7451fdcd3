#!/bin/sh
# The package installs and starts: cpack makes it from the build folder, it
# is unpacked into a throwaway root, and the installed program comes up on an
# embedded database of its own to its first paint.
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$root/out") >"$root/cpack.log" 2>&1 || { cat "$root/cpack.log"; fail "cpack"; }
deb=$(ls "$root"/out/voucher_*.deb)
dpkg-deb -f "$deb" Package | grep -qx voucher || fail "package name"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6sql6-odbc' || fail "Qt's ODBC driver is not a dependency"
dpkg-deb -f "$deb" Depends | grep -q 'qt6-qpa-plugins' || fail "Qt's X11 platform plugin is not a dependency"
dpkg-deb -f "$deb" Recommends | grep -qx 'odbc-postgresql' || fail "the PostgreSQL ODBC driver is not recommended"
dpkg-deb -x "$deb" "$root/fs"

entry=$root/fs/usr/share/applications/voucher.desktop
grep -qx 'Name=출금 전표' "$entry" || fail "desktop entry name"
grep -qx 'Categories=Office;Finance;' "$entry" || fail "desktop entry category"
grep -qx 'Exec=voucher' "$entry" || fail "desktop entry command"
grep -q '<svg' "$root/fs/usr/share/icons/hicolor/scalable/apps/voucher.svg" || fail "icon"
ldd "$root/fs/usr/bin/voucher" | grep -q "not found" && fail "the program misses a library"

# A clerk's first start: no data yet, no ODBC data source.
mkdir -p "$root/data" "$root/tmp" "$root/odbc"
run() {
    env -i PATH=/usr/bin:/bin HOME="$root" XDG_DATA_HOME="$root/data" TMPDIR="$root/tmp" \
        ODBCSYSINI="$root/odbc" ODBCINI="$root/odbc/odbc.ini" QT_QPA_PLATFORM=offscreen "$@"
}
out=$(run VOUCHER_STARTUP_PROBE=1 "$root/fs/usr/bin/voucher" 2>&1) || fail "the installed program: $out"
echo "$out" | grep -q '^shown VmHWM=' || fail "no first paint: $out"
echo "$out" | grep -qF "데이터 원본: SQLite 파일 $root/data/voucher/Account.db" || fail "data source: $out"
status=$(run "$root/fs/usr/bin/voucher-admin" status 2>&1) || fail "voucher-admin status: $status"
echo "$status" | grep -q 'test_ac_code *[1-9][0-9]*행' || fail "status: $status"
echo "the package installs and starts"
