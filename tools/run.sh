#!/usr/bin/env bash
# Installs what is missing, builds Tessaline and starts it on the shipped
# sample card and database.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
build=${TESSALINE_BUILD_DIR:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target tessaline tessaline-tool tessaline_data

samples=()
for f in data/Samples/*.lqx data/Samples/*.dqx; do
  [ -e "$f" ] && samples+=("$f")
done
exec "$build/bin/tessaline" "${samples[@]}" "$@"
