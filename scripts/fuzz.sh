#!/usr/bin/env bash
# Builds the fuzz targets (build-fuzz/), makes their seed corpora from
# generated papers and tests/data, and runs each target for a fixed time.
# Any finding (crash, sanitizer report, leak, hang, broken invariant) fails;
# the input is kept in build-fuzz/findings/<target>/.
#   scripts/fuzz.sh [SECONDS [TARGET...]]     default: 60 seconds, every target
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_paperfile fuzz_extract fuzz_names fuzz_answers fuzz_http)

scripts/setup.sh --fuzz
[ -x build/kelmon_genpaper ] || {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target kelmon_genpaper
}
python3 fuzz/make_corpus.py build/kelmon_genpaper build-fuzz/corpus

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
  work="build-fuzz/work/$t"
  findings="build-fuzz/findings/$t"
  rm -rf "$work"
  mkdir -p "$work" "$findings"
  echo "== $t: $seconds s"
  # New inputs go to the work folder; the seeds are read only.
  "build-fuzz/fuzz/$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" "build-fuzz/corpus/$t"
done
