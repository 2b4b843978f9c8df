#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and runs with.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libjsoncpp-dev
  libcurl4-openssl-dev
  liblouis20 liblouis-dev liblouis-data liblouis-bin
  libmecab-dev mecab-ipadic-utf8
  libpng-dev
  libhangul-data unicode-data wamerican wamerican-huge wbritish-huge
  python3 python3-pytest python3-jieba
  ccache help2man
  libcpp-httplib-dev chromium firefox-esr
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
