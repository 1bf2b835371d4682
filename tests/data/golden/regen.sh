#!/usr/bin/env bash
# Regenerates the golden reports and console outputs of every shipped example
# (examples/*.dat) and of every feature example in this folder, and the
# English report and console of every shipped example (en/, run with --lang en).
#
#   bash tests/data/golden/regen.sh [path-to-nivex]     (default build/nivex)
#
# Regenerate only after a change that is meant to alter the report (a new
# section, a corrected value or text); review `git diff tests/data/golden`
# line by line before committing it.  A refactoring must leave every file here
# unchanged.  The banner date and the elapsed time are masked, as the test does.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
exe=$(realpath "${1:-$root/build/nivex}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mask() {
  sed -E -e 's/^ {55}[0-9]{4}-[0-9]{2}-[0-9]{2}  [0-9]{2}:[0-9]{2}:[0-9]{2}$/<DATUM>/' \
         -e 's/^(   .*\[)[0-9]+\.[0-9]{4} s(\])$/\1<CAS>\2/'
}
for f in "$root"/examples/*.dat "$here"/*.dat; do
  [ -e "$f" ] || continue
  name=$(basename "$f" .dat)
  cp "$f" "$work/$name.dat"
  set +e
  # The console is standard output; standard error repeats its messages.
  (cd "$work" && "$exe" "$name.dat" </dev/null >"$name.con" 2>/dev/null)
  status=$?
  set -e
  mask <"$work/$name.con" >"$here/$name.con"
  if [ -f "$work/$name.NVX" ]; then mask <"$work/$name.NVX" >"$here/$name.NVX"; else rm -f "$here/$name.NVX"; fi
  echo "$status" >"$here/$name.status"
  echo "$name: exit $status"
done
mkdir -p "$here/en"
for f in "$root"/examples/*.dat; do
  name=$(basename "$f" .dat)
  cp "$f" "$work/$name.dat"
  set +e
  (cd "$work" && "$exe" --lang en "$name.dat" </dev/null >"$name.con" 2>/dev/null)
  status=$?
  set -e
  mask <"$work/$name.con" >"$here/en/$name.con"
  mask <"$work/$name.NVX" >"$here/en/$name.NVX"
  echo "$status" >"$here/en/$name.status"
  echo "en/$name: exit $status"
done
# The comparison of two epochs (primerjava/: epoha1.dat, epoha2.dat): the
# comparison report of `--compare epoha1.dat epoha2.dat`.
cp "$here"/primerjava/epoha[12].dat "$work/"
set +e
(cd "$work" && "$exe" --compare epoha1.dat epoha2.dat </dev/null >/dev/null 2>&1)
echo "$?" >"$here/primerjava/epoha2.primerjava.status"
set -e
mask <"$work/epoha2.primerjava.NVX" >"$here/primerjava/epoha2.primerjava.NVX"
echo "primerjava: exit $(cat "$here/primerjava/epoha2.primerjava.status")"
