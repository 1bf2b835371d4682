#!/usr/bin/env bash
# A design (*NACRT) of a generated network against one lean adjustment of it
# (*ICORRUNK 0, *IZPENP 0 in both): wall-clock and user seconds and peak
# memory (/usr/bin/time -v), one after the other on the same file.
#   bench/run_nacrt.sh [points] [exe]        (default 20000, build/nivex)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
n=${1:-20000}
exe=$(realpath "${2:-$here/../build/nivex}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_ravninska.py" "$n" | sed -e '/^\*DIM/a *ICORRUNK 0\n*IZPENP 0' > "$work/lean.dat"
sed -e '/^\*DIM/a *NACRT' "$work/lean.dat" > "$work/nacrt.dat"
printf '%-8s %8s %8s %8s %9s %6s\n' run points wall_s user_s peak_MiB load
for run in lean nacrt; do
  load=$(cut -d' ' -f1 /proc/loadavg)
  /usr/bin/time -v -o "$work/t" "$exe" "$work/$run.dat" > /dev/null </dev/null || echo "  (exit $?)"
  wall=$(awk -F': ' '/Elapsed/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + p[i]; print s}' "$work/t")
  usr=$(awk -F': ' '/User time/ {print $2}' "$work/t")
  kb=$(awk -F': ' '/Maximum resident/ {print $2}' "$work/t")
  printf '%-8s %8s %8.2f %8.2f %9.1f %6s\n' "$run" "$n" "$wall" "$usr" "$(echo "$kb / 1024" | bc -l)" "$load"
  grep -m1 -E "Prehodov izravnave|Adjustment passes" "$work/$run.NVX" || true
done
