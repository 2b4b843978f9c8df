#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a user gets there:
# C99 programs built against the installed headers and pkg-config files of both
# libraries, a CMake project using both through find_package(Velumi), the
# installed tools running without any library path (relative RUNPATH), their man
# page and bash completion, the Python module importing from the prefix, and
# that the SDK exports exactly the functions its header declares.
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

# The engine through kotari.pc.
gcc -std=c99 -Wall -Wextra -Werror -pedantic "$root/tests/install/kotari_hello.c" -o "$prefix/kotari_hello" \
  $(pkg-config --cflags --libs kotari)
LD_LIBRARY_PATH="$libdir" "$prefix/kotari_hello"

# Both libraries through the CMake package.
cmake -S "$root/tests/install/consumer" -B "$prefix/consumer-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/consumer-build" >/dev/null
LD_LIBRARY_PATH="$libdir" "$prefix/consumer-build/consumer"

# The installed tools find the installed libraries by themselves.
for tool in velumi velumi-padsim; do
  if [ -x "$prefix/bin/$tool" ]; then
    readelf -d "$prefix/bin/$tool" | grep -q 'RUNPATH.*\$ORIGIN/' || { echo "$tool has no relative RUNPATH"; exit 1; }
  fi
done
if [ -x "$prefix/bin/velumi" ]; then
  env -u LD_LIBRARY_PATH "$prefix/bin/velumi" --version
  [ "$(env -u LD_LIBRARY_PATH "$prefix/bin/velumi" translate --format hex abc)" = "01 03 09" ]
  env -u LD_LIBRARY_PATH "$prefix/bin/velumi-padsim" --help >/dev/null
  test -f "$prefix/share/bash-completion/completions/velumi"
  if command -v help2man >/dev/null; then test -s "$prefix/share/man/man1/velumi.1"; fi
fi

# The Python module, from the prefix alone.
module=$(find "$prefix" -path '*/velumi/__init__.py' -printf '%h\n' | head -1)
if [ -n "$module" ] && command -v python3 >/dev/null; then
  out=$(cd / && env -u VELUMI_LIBRARY_DIR -u VELUMI_TOOL PYTHONPATH="$(dirname "$module")" python3 -c \
    'import velumi; print(velumi.__file__); print(velumi.translate("abc").hex())')
  echo "$out" | grep -q "^$prefix" || { echo "the Python module was not imported from the prefix: $out"; exit 1; }
  echo "$out" | grep -qx 010309 || { echo "the Python module did not translate: $out"; exit 1; }
  echo "python module: imported from ${module#$prefix/}"
fi
echo "install check passed"
