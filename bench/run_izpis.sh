#!/usr/bin/env bash
# Default-print runs against lean runs of the same generated network: the
# default report (equations and the correlation table of the unknowns in
# every pass) and the lean one (*ICORRUNK 0, *IZPENP 0).  Prints wall-clock
# and user seconds, peak memory (/usr/bin/time -v) and the report's size.
#   bench/run_izpis.sh [build-dir] [nivelman|ravninska] [sizes...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}; kind=${2:-nivelman}; shift 2 || true
exe=$(cd "$build" && pwd)/nivex
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%-10s %8s %-8s %10s %10s %10s %12s\n' network points run seconds user_s peak_MiB report_MB
for n in ${@:-5000}; do
  python3 "$here/gen_$kind.py" "$n" > "$work/default.dat"
  sed -e '/^\*DIM/a *ICORRUNK 0\n*IZPENP 0' "$work/default.dat" > "$work/lean.dat"
  for run in lean default; do
    /usr/bin/time -v -o "$work/t" "$exe" "$work/$run.dat" > /dev/null </dev/null || echo "  (exit $?)"
    sec=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s}' "$work/t")
    usr=$(awk -F': ' '/User time/ {print $2}' "$work/t")
    kb=$(awk -F': ' '/Maximum resident/ {print $2}' "$work/t")
    printf '%-10s %8s %-8s %10s %10s %10.1f %12.1f\n' "$kind" "$n" "$run" "$sec" "$usr" "$(echo "$kb / 1024" | bc -l)" \
      "$(echo "$(stat -c %s "$work/$run.NVX") / 1000000" | bc -l)"
  done
done
