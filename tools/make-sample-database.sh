#!/usr/bin/env bash
# Remakes the shipped sample contact database from its text:
#   tools/make-sample-database.sh [BUILD_DIR]
# The records are the lines of tools/samples/Contacts.txt (tab-separated,
# in the order of the data-entry form's 21 fields).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tool="$build/bin/tessaline-tool"
out=data/Samples/Contacts.dqx
rm -f "$out" "${out%.dqx}.idx"
"$tool" db new "$out"
"$tool" dbdoc import "$out" tools/samples/Contacts.txt --delimiter 2
rm -f "${out%.dqx}.idx"
