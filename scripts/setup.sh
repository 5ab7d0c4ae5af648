#!/usr/bin/env bash
# Installs the Debian packages the viewer and its tests need (when missing),
# then configures and builds with CMake:
#   scripts/setup.sh             the viewer, tools, tests and benchmarks into build/
#   scripts/setup.sh --sanitize  the tests with AddressSanitizer and
#                                UndefinedBehaviorSanitizer into build-asan/
#   scripts/setup.sh --fuzz      the fuzz targets (clang, libFuzzer) into build-fuzz/
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-}"
case "$mode" in
  ""|--sanitize|--fuzz) ;;
  *) echo "usage: $0 [--sanitize|--fuzz]" >&2; exit 2 ;;
esac

packages=(cmake g++ make qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libarchive-dev
          fonts-noto-cjk qt6-translations-l10n xvfb xauth jlha-utils libgl-dev python3 xdotool
          openbox x11-utils)
# libFuzzer and the sanitizer runtimes of clang come with libclang-rt-dev.
[ "$mode" = --fuzz ] && packages+=(clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

case "$mode" in
  --sanitize)
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELMON_SANITIZE=ON >/dev/null
    cmake --build build-asan -j"$(nproc)" --target kelmon_tests ;;
  --fuzz)
    cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DKELMON_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j"$(nproc)" --target kelmon_fuzz ;;
  *)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j"$(nproc)" ;;
esac
