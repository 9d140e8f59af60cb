#!/usr/bin/env bash
# Installs what is missing, builds Tessaline and runs every test:
#   0. the layer check of the includes (tools/check_layers.py);
#   1. the whole suite on a normal build;
#   2. every suite again on a clang build with AddressSanitizer and
#      UndefinedBehaviorSanitizer, which also builds the libFuzzer targets;
#   3. each fuzz target for a fixed time (TESSALINE_FUZZ_SECONDS, 3 by
#      default);
#   4. with TESSALINE_THREADS=1, the suites of the code that works on
#      threads (ctest label "threads") on a clang build with
#      ThreadSanitizer.
# Under CI=true each build's object files and precompiled headers are
# removed once it is linked, as nothing builds there again: a runner's disk
# may have little room, and they are most of a build's size.
# TESSALINE_QUICK=1 runs step 1 only. It stops at the first step that
# fails; each step says how long it took (wall clock, and the processor
# time of everything it ran). Under CI=true a compiler warning fails the
# build, and a test that would be skipped for a missing tool fails.
set -euo pipefail
cd "$(dirname "$0")/.."

TESSALINE_TEST_DEPS=1 tools/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1
werror=OFF
# The benchmarks are built for people to run; CI runs none.
benchmarks=ON
if [ "${CI:-}" = true ]; then
  werror=ON
  benchmarks=OFF
fi

# Runs one step: its title, then what it took.
step() {
  local title=$1
  shift
  printf '\n== %s ==\n' "$title"
  TIMEFORMAT="== $title: %1R s (processor: %1U s user, %1S s system)"
  time "$@"
}

layers() {
  # No folder includes from a layer above its own or from a folder its
  # library doesn't link.
  python3 tools/check_layers.py
}

# Removes what only a later build would use (see above).
prune() {
  [ "${CI:-}" = true ] || return 0
  find "$1" \( -name '*.o' -o -name '*.gch' -o -name '*.pch' \) -type f -delete
}

build=${TESSALINE_BUILD_DIR:-build}
build_normal() {
  # A build folder tools/run.sh made has the suites left out: they go back in.
  if [ -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DTESSALINE_TESTS=ON -DTESSALINE_WERROR=$werror -DTESSALINE_BENCHMARKS=$benchmarks >/dev/null
  else
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALINE_TESTS=ON -DTESSALINE_WERROR=$werror \
      -DTESSALINE_BENCHMARKS=$benchmarks
  fi
  cmake --build "$build" -j "$jobs"
  prune "$build"
}

tests_normal() {
  ctest --test-dir "$build" -j "$jobs" --timeout 900
}

san=${TESSALINE_SANITIZE_BUILD_DIR:-build-sanitize}
build_sanitized() {
  [ -f "$san/CMakeCache.txt" ] || CC=clang CXX=clang++ cmake -S . -B "$san" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1" \
    -DTESSALINE_SANITIZE=ON -DTESSALINE_FUZZ=ON -DTESSALINE_APP=OFF -DTESSALINE_BENCHMARKS=OFF \
    -DTESSALINE_FUZZ_SECONDS="${TESSALINE_FUZZ_SECONDS:-3}"
  # Sanitized code runs several times slower: a test case gets twice the time.
  cmake -S . -B "$san" -DTESSALINE_WERROR=$werror -DTESSALINE_TEST_TIMEOUT=600 >/dev/null
  cmake --build "$san" -j "$jobs"
  prune "$san"
}

sanitizer_environment() {
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
}

tests_sanitized() {
  # What each group took in the normal run tells ctest which to start
  # first, so that no long group is left running alone at the end.
  if [ -f "$build/Testing/Temporary/CTestCostData.txt" ]; then
    mkdir -p "$san/Testing/Temporary"
    cp "$build/Testing/Temporary/CTestCostData.txt" "$san/Testing/Temporary/"
  fi
  ctest --test-dir "$san" -j "$jobs" -LE fuzz --timeout 900
}

fuzz() {
  ctest --test-dir "$san" -j "$jobs" -L fuzz --timeout 300
}

# A runner that fails with "Disk is full" shows here how much room it had.
df -h . "${TMPDIR:-/tmp}" | sed 's/^/== disk: /'
step "layers" layers
step "build ($build)" build_normal
step "tests" tests_normal

[ "${TESSALINE_QUICK:-0}" = 1 ] && exit 0

step "sanitizer and fuzz build ($san)" build_sanitized
sanitizer_environment
step "tests under sanitizers" tests_sanitized
step "fuzz targets" fuzz

[ "${TESSALINE_THREADS:-0}" = 1 ] || exit 0

threads=${TESSALINE_THREAD_BUILD_DIR:-build-threads}
# The build runs programs of its own (the artwork, the dictionary), which
# the race checker watches as well.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"
build_threads() {
  [ -f "$threads/CMakeCache.txt" ] || CC=clang CXX=clang++ cmake -S . -B "$threads" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1" \
    -DTESSALINE_THREAD_SANITIZE=ON -DTESSALINE_BENCHMARKS=OFF
  cmake -S . -B "$threads" -DTESSALINE_WERROR=$werror >/dev/null
  # Only the suite that holds the groups labelled "threads".
  cmake --build "$threads" -j "$jobs" --target test_platform
}

tests_threads() {
  ctest --test-dir "$threads" -j "$jobs" -L threads --timeout 900
}

step "ThreadSanitizer build ($threads)" build_threads
step "tests of the threads under ThreadSanitizer" tests_threads
