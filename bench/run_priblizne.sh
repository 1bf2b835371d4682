#!/usr/bin/env bash
# Approximate coordinates of the plane benchmark network (gen_ravninska.py)
# with the coordinates of every point but the four fixed corners removed
# (X records with the name alone): the time of the computation alone, and
# the largest distance of a computed point from the generator's coordinates.
#   bench/run_priblizne.sh [build-bench-dir] [points]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-bench}; n=${2:-100000}
exe=$(cd "$build" && pwd)/bench/nivex_bench_priblizne
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_ravninska.py" "$n" > "$work/z.dat"
fixed=$(awk '$1 == "**V" {printf "%s%s", sep, $2; sep = "|"}' "$work/z.dat")
awk -v f="^($fixed)\$" '$1 == "X" && $2 !~ f {print "X " $2; next} {print}' "$work/z.dat" > "$work/brez.dat"
"$exe" "$work/brez.dat" "$work/z.dat"
