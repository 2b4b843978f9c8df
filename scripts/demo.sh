#!/usr/bin/env bash
# The main job: installs what is missing, builds the command-line tool and runs
# its demo on the simulated pad, or on the pad given by --port N / VELUMI_PORT.
# Arguments are passed to `velumi demo` (see build/tools/velumi/velumi demo --help).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build -j "$(nproc)" velumi velumi-padsim >build/build.log 2>&1 || { tail -40 build/build.log; exit 1; }
exec build/tools/velumi/velumi demo "$@"
