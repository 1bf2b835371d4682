#!/usr/bin/env bash
# Data snooping on the generated plane network: one lean adjustment
# (*ICORRUNK 0, *IZPENP 0) and the same network with *SNOOP, ten distances
# spoiled by 20 standard deviations (every 7 600th distance from the
# 3 000th, alternately + and -), run back to back: wall-clock and user
# seconds, peak memory (/usr/bin/time -v) and the records the search removed.
#   bench/run_iskanje.sh build-rel/nivex [points]        (default 20000)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "$1")
n=${2:-20000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_ravninska.py" "$n" | python3 -c '
import sys
k = 0
for line in sys.stdin:
    f = line.split()
    if f and f[0] == "D":
        if k >= 3000 and (k - 3000) % 7600 == 0 and (k - 3000) // 7600 < 10:
            i = (k - 3000) // 7600
            f[3] = "%.4f" % (float(f[3]) + (1 if i % 2 == 0 else -1) * 20 * float(f[4]) / 1000)
            line = " ".join(f) + "\n"
            sys.stderr.write("spoiled: " + line)
        k += 1
    sys.stdout.write(line)
' >"$work/body.dat" 2>"$work/spoiled.txt"
cat "$work/spoiled.txt"
{ echo "*ICORRUNK 0"; echo "*IZPENP 0"; cat "$work/body.dat"; } >"$work/lean.dat"
{ echo "*ICORRUNK 0"; echo "*IZPENP 0"; echo "*SNOOP"; cat "$work/body.dat"; } >"$work/snoop.dat"
for run in lean snoop; do
  load=$(cut -d' ' -f1 /proc/loadavg)
  (cd "$work" && /usr/bin/time -v "$exe" "$run.dat" </dev/null >/dev/null 2>"$run.time") || true
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/$run.time")
  user=$(sed -n 's/.*User time (seconds): //p' "$work/$run.time")
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/$run.time")
  echo "$run: wall $wall, user ${user} s, peak $((peak / 1024)) MiB (load $load)"
done
sed -n '/^ISKANJE GROBIH POGRESKOV:/,/^Iskanje je koncano/p' "$work/snoop.NVX"
