#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a person gets: the
# program and its data, a valid desktop entry, the card and database file
# types compiled into the prefix's MIME database, the icons at every size,
# and a program that starts from there, fills the user's folder from the
# installed data and registers itself with the user's desktop when the
# desktop does not search the prefix.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }

for f in bin/tessaline share/tessaline/Tessaline.dat "share/tessaline/Samples/Business Card.lqx" \
         "share/tessaline/Dictionaries/English (US).dic" share/applications/tessaline.desktop \
         share/mime/packages/tessaline.xml share/icons/hicolor/scalable/apps/tessaline.svg; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/tessaline" ] || fail "bin/tessaline is not executable"

# Every icon at every size, as PNG files of that size.
for size in 16 22 24 32 48 64 128 256; do
  for icon in apps/tessaline mimetypes/application-x-tessaline-card mimetypes/application-x-tessaline-database; do
    png="$prefix/share/icons/hicolor/${size}x${size}/$icon.png"
    [ -f "$png" ] || fail "$png is missing"
    # The IHDR chunk holds width and height as big-endian words at 16.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
  done
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/tessaline.desktop" || fail "desktop-file-validate"
else
  # Where every tool the tests use must be there (CI), its absence fails.
  [ "${CI:-}" = true ] && fail "desktop-file-validate is not installed (desktop-file-utils)"
  echo "desktop-file-validate is not installed (desktop-file-utils): entry not validated"
fi
if command -v update-mime-database >/dev/null; then
  # The installation compiled its types: both globs are in the prefix's
  # MIME database.
  grep -q ':application/x-tessaline-card:\*\.lqx' "$prefix/share/mime/globs2" || fail "*.lqx is not a card"
  grep -q ':application/x-tessaline-database:\*\.dqx' "$prefix/share/mime/globs2" || fail "*.dqx is not a database"
  [ -f "$prefix/share/mime/application/x-tessaline-card.xml" ] || fail "the card type was not compiled"
fi

# The installed program, started by a user whose desktop does not search
# the prefix: it fills the user's folder from the prefix's data (a file
# only the prefix has shows where it came from) and registers itself.
echo "installed" >"$prefix/share/tessaline/marker.txt"
run() {
  local home=$1 dirs=$2
  mkdir -p "$home"
  HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config XDG_DATA_DIRS=$dirs \
    XDG_RUNTIME_DIR=$home/run QT_QPA_PLATFORM=offscreen TESSALINE_DATA_DIR= \
    "$prefix/bin/tessaline" >"$home/out.log" 2>&1 &
  pid=$!
  local folder="$home/.local/share/Korrinworks Inc./Tessaline"
  for _ in $(seq 1 300); do
    [ -f "$folder/marker.txt" ] && [ -f "$folder/Tessaline.dat" ] && break
    kill -0 "$pid" 2>/dev/null || { cat "$home/out.log"; fail "the program ended"; }
    sleep 0.1
  done
  [ -f "$folder/marker.txt" ] || { cat "$home/out.log"; fail "the user's folder was not filled from the prefix"; }
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
}

home=$work/home-a
run "$home" /usr/share
entry=$home/.local/share/applications/tessaline.desktop
[ -f "$entry" ] || fail "the program did not register itself"
grep -qx "Exec=$prefix/bin/tessaline %F" "$entry" || { cat "$entry"; fail "the registration does not name the program"; }
cmp -s "$prefix/share/mime/packages/tessaline.xml" "$home/.local/share/mime/packages/tessaline.xml" \
  || fail "the user's file types differ from the installed ones"
[ -f "$home/.local/share/icons/hicolor/48x48/apps/tessaline.png" ] || fail "the icons were not registered"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "the user's desktop entry is not valid"
fi

# A desktop that searches the prefix needs nothing of the user's.
home=$work/home-b
run "$home" "$prefix/share:/usr/share"
[ ! -e "$home/.local/share/applications/tessaline.desktop" ] || fail "an installed program registered itself"
echo "install layout, desktop entry, file types, icons and start-up: ok"
