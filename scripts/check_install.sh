#!/usr/bin/env bash
# Installs a build into a temporary prefix and builds a C99 program against the
# installed header and pkg-config file, then runs it; and checks that the SDK
# exports the VELUMI_ functions and nothing else.
#   scripts/check_install.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check_install.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(find "$prefix" -name 'libVelumiSDK.so' -printf '%h\n' | head -1)
export PKG_CONFIG_PATH="$libdir/pkgconfig"
gcc -std=c99 -Wall -Wextra -Werror -pedantic "$root/tests/install/hello.c" -o "$prefix/hello" \
  $(pkg-config --cflags --libs velumi) -include velumi_version.h
LD_LIBRARY_PATH="$libdir" "$prefix/hello"
exports=$(nm -D --defined-only "$libdir/libVelumiSDK.so" | awk '{print $3}')
[ "$(echo "$exports" | grep -vc '^VELUMI_')" = 0 ] || { echo "unexpected exports:"; echo "$exports" | grep -v '^VELUMI_'; exit 1; }
# Exactly the functions the public header declares.
declared=$(grep -o 'VELUMI_API [^(]*(' "$root/include/VelumiSDK.h" | grep -o 'VELUMI_[A-Z0-9_]*(' | tr -d '(' | sort)
[ "$(echo "$exports" | sort)" = "$declared" ] || { echo "exports differ from the header:"; diff <(echo "$exports" | sort) <(echo "$declared"); exit 1; }
[ "$(nm -D --defined-only "$libdir/libKotariEngine.so" | awk '{print $3}')" = BrailleTranslator ]
test -f "$libdir/cmake/Velumi/VelumiConfig.cmake"
echo "install check passed"
