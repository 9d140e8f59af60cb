#!/usr/bin/env bash
# The program's signal handlers call only what is safe in a handler; a
# planted call of printf, of malloc (through a string) or of another of the
# program's functions is refused, naming the file and the call.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
check=$root/tools/check_signal_safety.py
compiler=${1:-c++}
handlers=$root/foundation/stop_request.cpp
fail() { echo "FAIL: $*"; exit 1; }

python3 "$check" --compiler "$compiler" "$handlers" || fail "the handlers call what is not safe there"

planted=$(mktemp -d)
trap 'rm -rf "$planted"' EXIT
plant() {
  # $1: a header to add, $2: a statement for the handler of a request.
  { echo "$1"; sed "s|^    g_request.store(signal);|    $2\n&|" "$handlers"; } > "$planted/handlers.cpp"
  grep -qF "$2" "$planted/handlers.cpp" || fail "the plant found no handler"
  python3 "$check" --compiler "$compiler" --root "$root" "$planted/handlers.cpp"
}
out=$(plant '#include <cstdio>' 'std::printf("stop %d", signal);') && fail "printf passed"
echo "$out" | grep -q "handlers.cpp: uses printf\|handlers.cpp: uses puts" || fail "printf not named: $out"
out=$(plant '#include <string>' 'static std::string* s; s = new std::string(256, char(signal));') && fail "new passed"
echo "$out" | grep -q "uses _Znwm" || fail "the allocation not named: $out"
out=$(plant '' 'EndEventLoopOnStopRequest();') && fail "a call of the program's own passed"
echo "$out" | grep -q "EndEventLoopOnStopRequest" || fail "the program's call not named: $out"
echo "ok"
