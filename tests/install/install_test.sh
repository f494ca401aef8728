#!/usr/bin/env bash
# The install as a user gets it: installs the build into a temporary DESTDIR, runs the
# installed corvan-cli and the installed corvan (off-screen, with a fresh HOME, so that it seeds
# its program folder from the installed share folder), and validates the menu entry and the
# AppStream metainfo. Usage: install_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr > "$work/install.log" \
  || { cat "$work/install.log"; fail "cmake --install"; }
usr="$work/root/usr"
app=io.github.corvan.Corvan

for file in bin/corvan bin/corvan-cli share/corvan/units.dat share/corvan/Corvan.htm \
            share/corvan/Interfaces/Default.inf share/applications/$app.desktop \
            share/metainfo/$app.metainfo.xml share/icons/hicolor/scalable/apps/$app.svg \
            share/man/man1/corvan.1 share/man/man1/corvan-cli.1; do
  [ -e "$usr/$file" ] || fail "not installed: $file"
done
for size in 16 22 24 32 48 64 128 256 512; do
  [ -s "$usr/share/icons/hicolor/${size}x${size}/apps/$app.png" ] || fail "no ${size}px icon"
done

result=$("$usr/bin/corvan-cli" '1+1') || fail "corvan-cli exited with $?"
[ "$result" = "2" ] || fail "corvan-cli '1+1' printed '$result'"

# A file that only the installed share folder has: if it is seeded, the program found its
# shipped files through its own location, not through the source tree.
echo "installed" > "$usr/share/corvan/install-check.txt"
home="$work/home"
mkdir -p "$home"
env -u XDG_DATA_HOME -u CORVAN_DATA_DIR HOME="$home" QT_QPA_PLATFORM=offscreen \
  QT_LOGGING_RULES="default.warning=false" "$usr/bin/corvan" --quit-after-start \
  || fail "corvan --quit-after-start exited with $?"
folder="$home/.local/share/corvan"
[ "$(cat "$folder/install-check.txt" 2>/dev/null)" = "installed" ] \
  || fail "the program folder was not seeded from the installed share folder"
for file in units.dat const.dat currency.dat biorythm.dat Corvan.htm Interfaces/Default.inf; do
  cmp -s "$folder/$file" "$usr/share/corvan/$file" || fail "not seeded: $file"
done
grep -q " units.dat$" "$folder/seeded-files.txt" || fail "the manifest does not record units.dat"

desktop-file-validate "$usr/share/applications/$app.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml" || fail "appstreamcli validate"
if command -v man > /dev/null; then
  man --warnings -l "$usr/share/man/man1/corvan.1" > /dev/null || fail "corvan.1"
  man --warnings -l "$usr/share/man/man1/corvan-cli.1" > /dev/null || fail "corvan-cli.1"
fi
echo "installed, ran and validated"
