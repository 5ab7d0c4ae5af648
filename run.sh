#!/usr/bin/env bash
# Sets up, builds and starts the viewer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
home="${KELMON_HOME:-$HOME/.local/share/kelmon}"
# A new program folder gets one generated sample paper waiting to be registered.
if [ ! -e "$home/kelmon.mdb" ] && [ -x build/kelmon_genpaper ]; then
  mkdir -p "$home/receive"
  build/kelmon_genpaper --out "$home/receive" >/dev/null || true
fi
exec build/kelmon "$@"
