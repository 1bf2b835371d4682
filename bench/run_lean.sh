#!/usr/bin/env bash
# Lean runs (*ICORRUNK 0, *IZPENP 0) of the generated national-size networks
# with one or more builds of the program, one after another on the same
# input: wall-clock and user seconds, peak memory (/usr/bin/time -v) and the
# load average of the machine when the run began.  With two or more builds
# the reports of the first size of each kind are compared (banner aside).
#   bench/run_lean.sh 'nivelman:5000 100000 1000000' 'ravninska:2000 20000 100000' -- exe...
# NIVEX_ONE_CORE=1 runs every program on one core (taskset -c 0), where the
# sparse factorisation uses one thread.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
nets=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do nets+=("$1"); shift; done
[ $# -gt 0 ] && shift
exes=("$@")
[ ${#exes[@]} -gt 0 ] || { echo "usage: $0 'kind:sizes'... -- exe..." >&2; exit 2; }
[ ${#nets[@]} -gt 0 ] || nets=('nivelman:5000 100000 1000000' 'ravninska:2000 20000 100000')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pre=()
[ -z "${NIVEX_ONE_CORE:-}" ] || pre=(taskset -c 0)
printf '%-10s %8s %-28s %8s %8s %9s %6s\n' network points program wall_s user_s peak_MiB load
for net in "${nets[@]}"; do
  kind=${net%%:*}
  for n in ${net#*:}; do
    python3 "$here/gen_$kind.py" "$n" | sed -e '/^\*DIM/a *ICORRUNK 0\n*IZPENP 0' > "$work/m.dat"
    k=0
    for exe in "${exes[@]}"; do
      load=$(cut -d' ' -f1 /proc/loadavg)
      /usr/bin/time -v -o "$work/t" "${pre[@]}" "$exe" "$work/m.dat" > /dev/null </dev/null || echo "  (exit $?)"
      wall=$(awk -F': ' '/Elapsed/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + p[i]; print s}' "$work/t")
      usr=$(awk -F': ' '/User time/ {print $2}' "$work/t")
      kb=$(awk -F': ' '/Maximum resident/ {print $2}' "$work/t")
      printf '%-10s %8s %-28s %8.2f %8.2f %9.1f %6s\n' "$kind" "$n" "$(basename "$(dirname "$exe")")/$(basename "$exe")" \
        "$wall" "$usr" "$(echo "$kb / 1024" | bc -l)" "$load"
      tail -n +9 "$work/m.NVX" > "$work/r$k"
      k=$((k + 1))
    done
    if [ $k -gt 1 ]; then
      for ((i = 1; i < k; ++i)); do
        if cmp -s "$work/r0" "$work/r$i"; then echo "  reports of $n points: the same"; else echo "  reports of $n points: DIFFER"; fi
      done
    fi
  done
done
