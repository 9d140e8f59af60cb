#!/usr/bin/env bash
# Installs what is missing, builds Tessaline and starts it on the sample
# card and database. The samples are the user's copies in the program
# folder (seeded from the installed data on first use): opening a database
# writes its header back, and the files of the source tree must stay as
# they are committed.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
build=${TESSALINE_BUILD_DIR:-build}
# Without the test tool chain the suites are left out; a build folder that
# tools/test.sh made keeps them.
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALINE_TESTS=OFF
cmake --build "$build" --target tessaline tessaline-tool tessaline_data

folder=$("$build/bin/tessaline-tool" program-folder)
samples=()
for f in "$folder"Samples/*.lqx "$folder"Samples/*.dqx; do
  [ -e "$f" ] && samples+=("$f")
done
exec "$build/bin/tessaline" "${samples[@]}" "$@"
