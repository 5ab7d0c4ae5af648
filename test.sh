#!/usr/bin/env bash
# Sets up, builds and runs every test headless. With --sanitize the tests are
# built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) and
# the first report of either fails the test. Further arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"
if [ "${1:-}" = --sanitize ]; then
  shift
  scripts/setup.sh --sanitize
  cd build-asan
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
else
  scripts/setup.sh
  cd build
fi
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
