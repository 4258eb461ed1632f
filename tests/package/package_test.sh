#!/usr/bin/env bash
# Builds the Debian package from an existing build folder, unpacks it into a scratch root and
# checks it as an installed system would see it: the file list, the dependencies, the menu
# entry, the file type, the AppStream data, lintian, and the installed programs themselves.
set -euo pipefail
build="$(cd "${1:?usage: package_test.sh BUILD_DIR}" && pwd)"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
deb="$(KV_BUILD_DIR="$build" "$source_dir/scripts/package")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"
dpkg-deb -x "$deb" "$root"

passed=0
failed=0
check() {
  local what="$1"
  shift
  if "$@" >"$scratch/out" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
    sed 's/^/    /' "$scratch/out"
  fi
}

for f in usr/bin/kvwin usr/bin/kvtool usr/bin/kvtool-render \
  usr/share/korvane/document/help.htm usr/share/korvane/document/help_en.htm \
  usr/share/korvane/samples/euler_line.kv4 usr/share/korvane/kv_html_org.htm \
  usr/share/applications/korvane.desktop \
  usr/share/mime/packages/korvane.xml usr/share/metainfo/org.korvane.Korvane.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/korvane.svg usr/share/icons/hicolor/48x48/apps/korvane.png \
  usr/share/icons/hicolor/48x48/mimetypes/application-x-korvane-figure.png \
  usr/share/man/man1/kvwin.1.gz usr/share/doc/korvane/copyright usr/share/doc/korvane/changelog.gz; do
  check "installs $f" test -s "$root/$f"
done
check "installs nothing outside /usr" bash -c "! dpkg-deb -c '$deb' | awk '{print \$6}' | grep -v '^\./usr/' | grep -v '^\./\$'"
check "ships no test programs" bash -c "! dpkg-deb -c '$deb' | grep -E 'kvcore_tests|kvui_tests|kvbench'"
check "depends on the Qt widgets library" bash -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"
check "depends on the platform plugins" bash -c "dpkg-deb -f '$deb' Depends | grep -q qt6-qpa-plugins"
check "kvwin is stripped" bash -c "! file '$root/usr/bin/kvwin' | grep -q 'not stripped'"

if command -v desktop-file-validate >/dev/null; then
  check "menu entry is valid" desktop-file-validate "$root/usr/share/applications/korvane.desktop"
fi
check "menu entry has Japanese texts" grep -q '^Name\[ja\]=' "$root/usr/share/applications/korvane.desktop"
check "menu entry opens .kv4 files" grep -q '^MimeType=application/x-korvane-figure;' \
  "$root/usr/share/applications/korvane.desktop"
if command -v xmllint >/dev/null; then
  check "file type XML is well formed" xmllint --noout "$root/usr/share/mime/packages/korvane.xml"
  check "file type names *.kv4" bash -c "xmllint --xpath 'string(//*[local-name()=\"glob\"]/@pattern)' '$root/usr/share/mime/packages/korvane.xml' | grep -qx '\*.kv4'"
fi
if command -v appstreamcli >/dev/null; then
  check "AppStream data is valid" appstreamcli validate --no-net --explain \
    "$root/usr/share/metainfo/org.korvane.Korvane.metainfo.xml"
fi
if command -v lintian >/dev/null; then
  check "lintian finds no errors" lintian --fail-on error "$deb"
fi

# The installed programs, run from the scratch root.
sample="$root/usr/share/korvane/samples/euler_line.kv4"
check "installed kvtool reads an installed sample" bash -c "'$root/usr/bin/kvtool' info '$sample' | grep -q ."
check "installed kvtool paints an installed sample through kvtool-render" bash -c \
  "QT_QPA_PLATFORM=offscreen '$root/usr/bin/kvtool' render '$sample' '$scratch/sample.png' && test -s '$scratch/sample.png'"
check "kvtool itself loads no Qt library" bash -c "! ldd '$root/usr/bin/kvtool' | grep -q Qt"
check "kvwin --version prints without a display" bash -c \
  "env -u DISPLAY -u WAYLAND_DISPLAY '$root/usr/bin/kvwin' --version | grep -qx 'Korvane Win [0-9.]*'"
check "kvwin --help prints without a display" bash -c \
  "env -u DISPLAY -u WAYLAND_DISPLAY '$root/usr/bin/kvwin' --help | grep -q '^Usage: kvwin'"

echo "package test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
