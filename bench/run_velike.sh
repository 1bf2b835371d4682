#!/usr/bin/env bash
# Whole runs of large generated networks as a surveyor would time them: the
# default solver, no correlation table of the unknowns and no equations in
# the report (*ICORRUNK 0, *IZPENP 0).  Prints time and peak memory per size;
# the plane networks run with their four fixed corners (datum V) and free
# (datum H).
#   bench/run_velike.sh [build-dir] [nivelman|ravninska|vse] [sizes...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}; kind=${2:-vse}; shift 2 || true
exe=$(cd "$build" && pwd)/nivex
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() {  # generator size datum
  python3 "$here/$1" "$2" | sed -e '/^\*DIM/a *ICORRUNK 0\n*IZPENP 0' > "$work/m.dat"
  if [ "$3" = H ]; then sed -i -e 's/^\*D V$/*D H/' -e '/^\*\*V /d' "$work/m.dat"; fi
  /usr/bin/time -f '%e %U %M' -o "$work/t" "$exe" "$work/m.dat" > /dev/null </dev/null || echo "  (exit $?)"
  read -r sec usr kb < "$work/t"
  printf '%-14s %8s %5s %10s %10s %10.1f\n' "${1%.py}" "$2" "$3" "$sec" "$usr" "$(echo "$kb / 1024" | bc -l)"
}
printf '%-14s %8s %5s %10s %10s %10s\n' network points datum seconds user_s peak_MiB
if [ "$kind" != ravninska ]; then
  for n in ${@:-1000 2000 5000 20000 100000}; do run gen_nivelman.py "$n" V; done
fi
if [ "$kind" != nivelman ]; then
  for n in ${@:-1000 2000 5000 20000}; do run gen_ravninska.py "$n" V; run gen_ravninska.py "$n" H; done
fi
