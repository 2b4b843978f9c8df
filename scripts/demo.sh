#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the demo on the
# simulated pad (or on the pad given by --port N / VELUMI_PORT).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build >build/build.log 2>&1 || { tail -40 build/build.log; exit 1; }
if [ -x build/tools/velumi/velumi ]; then
  exec build/tools/velumi/velumi demo "$@"
fi
# Until the command-line tool is there: the frame and trace self-check.
exec build/tests/test_protocol --gtest_brief=1
