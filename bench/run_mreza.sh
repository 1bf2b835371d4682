#!/usr/bin/env bash
# Whole-run benchmark of synthetic networks: time and peak memory of nivex
# on levelling (default) or plane networks (NIVEX_BENCH_GEN=gen_ravninska.py) of the given sizes, with the default solver and with the
# solvers named after the sizes.
#   bench/run_mreza.sh [build-dir] [sizes...] [-- solvers...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}; shift || true
sizes=(); solvers=(DEFAULT NS CH)
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then shift; solvers=("$@"); break; fi
  sizes+=("$1"); shift
done
[ ${#sizes[@]} -gt 0 ] || sizes=(250 500 1000 2000)
exe=$(cd "$build" && pwd)/nivex
work=$(mktemp -d)
printf '%-8s %-8s %10s %12s\n' n solver seconds peak_MiB
for n in "${sizes[@]}"; do
  for s in "${solvers[@]}"; do
    if [ "$s" = DEFAULT ]; then python3 "$here/${NIVEX_BENCH_GEN:-gen_nivelman.py}" "$n" > "$work/m.dat"
    else python3 "$here/${NIVEX_BENCH_GEN:-gen_nivelman.py}" "$n" "$s" > "$work/m.dat"; fi
    /usr/bin/time -f '%e %M' -o "$work/t" "$exe" "$work/m.dat" > /dev/null </dev/null || true
    read -r sec kb < "$work/t"
    awk -v n="$n" -v s="$s" -v t="$sec" -v k="$kb" 'BEGIN{printf "%-8s %-8s %10s %12.1f\n", n, s, t, k/1024}'
  done
done
rm -rf "$work"
