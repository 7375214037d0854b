#!/usr/bin/env bash
# The benchmark suite in one command: builds the benchmark programs, generates
# one database with the fixed seed and runs every benchmark against it.
#   bash bench/run.sh [ENTRIES]      ENTRIES from 1000 to 1000000, default 200000
# Optional: BUILD_DIR (default build/), SEED (default 20080305), KEEP=1 keeps
# the generated database in $BUILD_DIR/bench-run.
# Each figure is one line "name: ratio  (times, memory)  target", the ratio
# being the layer's time over the raw client's on the same work in this run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
entries="${1:-200000}"
seed="${SEED:-20080305}"
if ! [[ "$entries" =~ ^[0-9]+$ ]] || ((entries < 1000 || entries > 1000000)); then
  echo "usage: bash bench/run.sh [ENTRIES]   (1000 to 1000000, default 200000)" >&2
  exit 2
fi

"$root/scripts/install-deps.sh" >&2
echo "building the benchmarks into $build ..." >&2
BUILD_DIR="$build" "$root/scripts/build.sh" --target bench_gerar bench_data bench_direitos bench_cadastros \
  bench_lancamentos bench_report >&2

work="$build/bench-run"
rm -rf "$work"
mkdir -p "$work" "$build/fblock/bench"
[ "${KEEP:-0}" = 1 ] || trap 'rm -rf "$work"' EXIT
# Own engine lock folder, so a killed run cannot stall anyone else's.
export FIREBIRD_LOCK="$build/fblock/bench"
export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="qt.qpa.*=false"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
bin="$build/bench"
database="$work/bench.fdb"
quiet() { grep -v -e 'propagateSizeHints' >&2 || true; }

start=$(date +%s)
cpu=$(sed -n 's/^model name\s*:\s*//p' /proc/cpuinfo | head -1)
mem=$(awk '/MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo)
echo "== benchmark suite: $entries entries, seed $seed"
echo "machine: $(nproc) cores ($cpu), $mem memory, load average $(cut -d' ' -f1-3 /proc/loadavg) at start"
echo "source: $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown), $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "ratio = layer time / raw client time on the same work (lower is better)"
echo

"$bin/bench_gerar" --database "$database" --entries "$entries" --seed "$seed" 2> >(quiet)
echo
echo "-- dataset layer"
"$bin/bench_data" --database "$database" 2> >(quiet)
echo "-- rights applied to the main window"
"$bin/bench_direitos" --database "$database" 2> >(quiet)
echo "-- register screens, 100000 rows in each register table (a copy of the database)"
"$bin/bench_cadastros" --database "$database" --rows 100000 --seed "$seed" 2> >(quiet)
echo "-- entry search and entry register"
"$bin/bench_lancamentos" --database "$database" 2> >(quiet)
echo "-- report engine (10000-row grouped report, no database)"
"$bin/bench_report" 10000 "$work" 2> >(quiet)
echo
echo "== done in $(($(date +%s) - start)) s, load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
