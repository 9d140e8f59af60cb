#!/usr/bin/env bash
# Makes the picture fixtures and their reference decodes into OUTDIR (see
# picture_fixtures.py), unless OUTDIR already holds them from this version
# of the scripts.
set -euo pipefail
out=$1
here=$(cd "$(dirname "$0")" && pwd)
stamp=$(cat "$0" "$here/picture_fixtures.py" | sha256sum | cut -d' ' -f1)
if [ -f "$out/stamp" ] && [ "$(cat "$out/stamp")" = "$stamp" ]; then
  exit 0
fi
# Debian's Python, which has Debian's Pillow.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
rm -rf "$out"
mkdir -p "$out"
"$python" "$here/picture_fixtures.py" "$out"
echo "$stamp" > "$out/stamp"
