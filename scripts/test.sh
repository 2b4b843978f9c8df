#!/usr/bin/env bash
# Checks the C/C++ layout with clang-format, builds the project with warnings as
# errors and runs every test: the normal build, a
# Release build of the libraries and tools, AddressSanitizer +
# UndefinedBehaviorSanitizer, ThreadSanitizer on the threaded subsystems, and a
# short run of every fuzz target. Installs missing Debian packages first.
#
#   scripts/test.sh            everything
#   VELUMI_QUICK=1 scripts/test.sh   the normal build only
#   FUZZ_SECONDS=N             seconds per fuzz target (default 15)
#   FUZZ_INPUT_TIMEOUT=N       seconds one fuzz input may take before it counts as a hang (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

bash scripts/setup.sh

step() { printf '\n=== %s\n' "$*"; }

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

build() { # dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELUMI_WERROR=ON "${launcher[@]}" "$@" >/dev/null
  if ! ninja -C "$dir" -j "$jobs" >"$dir/build.log" 2>&1; then
    grep -v '^\[' "$dir/build.log" | tail -60
    echo "build failed in $dir"
    exit 1
  fi
}

step "format (clang-format, .clang-format at the root)"
# Every tracked C/C++ source in the layout .clang-format describes; generated
# tables keep theirs behind "// clang-format off" guards.
if git rev-parse --git-dir >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' '*.c' | xargs -0 clang-format --dry-run -Werror
else
  echo "not a git checkout: skipped"
fi

step "build (gcc, RelWithDebInfo)"
build build
step "tests"
ctest --test-dir build -j "$jobs" --output-on-failure --timeout 300

[ "${VELUMI_QUICK:-0}" = 1 ] && exit 0

step "build (Release, as packagers build: libraries and tools)"
build build-release -DCMAKE_BUILD_TYPE=Release -DVELUMI_TESTS=OFF -DVELUMI_BENCH=OFF

step "build (AddressSanitizer + UndefinedBehaviorSanitizer)"
build build-asan -DVELUMI_SANITIZE='address;undefined' -DVELUMI_BENCH=OFF
step "tests under ASan + UBSan"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j "$jobs" --output-on-failure --timeout 600

step "build (ThreadSanitizer)"
build build-tsan -DVELUMI_SANITIZE=thread -DVELUMI_BENCH=OFF
step "threaded tests under TSan"
# The subsystems with threads of their own.
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build-tsan -j "$jobs" --output-on-failure --timeout 600 -L 'platform|log|link|protocol|device|api|padsim|tool|tgxs|braille|soak'

step "build (libFuzzer, clang)"
CC=clang CXX=clang++ build build-fuzz -DVELUMI_FUZZ=ON -DVELUMI_TESTS=OFF -DVELUMI_BENCH=OFF \
  -DVELUMI_SANITIZE='address;undefined' -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link
step "fuzz targets"
secs=${FUZZ_SECONDS:-15}
for f in build-fuzz/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  name=${f##*/fuzz_}
  corpus=fuzz/corpus/$name
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/ 2>/dev/null || true
  echo "fuzz $name: ${secs}s"
  # A runaway translation is a finding: an input that runs past the limit fails the run.
  "$f" -max_total_time="$secs" -timeout="${FUZZ_INPUT_TIMEOUT:-10}" -print_final_stats=0 "$work" 2>"$work.log" || { tail -50 "$work.log"; exit 1; }
  grep -E '^Done|#[0-9]+.*DONE' "$work.log" | tail -1 || true
  rm -rf "$work" "$work.log"
done
step "all passed"
