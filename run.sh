#!/usr/bin/env bash
# Sets up, builds and starts the viewer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
# The viewer's own program folder, asked of the program rather than guessed.
home="$(build/kelmon_folder)"
# A new program folder gets one generated sample paper waiting to be registered
# (a database file without a byte is no database: the viewer makes it anew).
if [ ! -s "$home/kelmon.mdb" ] && [ -x build/kelmon_genpaper ]; then
  mkdir -p "$home/receive"
  build/kelmon_genpaper --out "$home/receive" >/dev/null || true
fi
exec build/kelmon "$@"
