#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and benchmarks with.
# Idempotent: packages already present are skipped and a locale already
# generated is kept, so a second run costs one dpkg query and one locale list.
set -euo pipefail

# Debian's qt6-charts-dev needs Qt's OpenGL development files without
# depending on them: libqt6opengl6-dev is listed for it.
packages=(
  build-essential cmake ninja-build g++ clang libclang-rt-dev clang-format
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libboost-context-dev libsystemc-dev
  valgrind pkg-config python3 xvfb xauth locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
else
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The number tests also run under a locale whose decimal separator is ','.
comma_locale="de_DE.UTF-8 UTF-8"
if ! locale -a | grep -qix 'de_DE\.utf-\?8'; then
  echo "install-deps: generating the locale de_DE.UTF-8"
  grep -qx "$comma_locale" /etc/locale.gen 2>/dev/null ||
    echo "$comma_locale" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
