#!/usr/bin/env bash
# Draws the map of one adjusted plane or spatial network from the plot files
# that nivex writes with *GMT, using the Generic Mapping Tools (GMT 6).
#
#   bash examples/plot-network.sh [--lang en|sl] BASE [MAP.png] [DPI]
#
# BASE is the data file's name without its extension (examples/mreza for
# examples/mreza.dat); the files BASE_PTN.TXT, BASE_DIR.TXT, ... must exist.
# The map goes to MAP.png (default BASE.png): observation lines by kind,
# fixed points (triangles) and new points (circles) with their names,
# absolute error ellipses (red) and relative error ellipses (blue) at one
# common scale chosen so that the largest one is clearly visible, the
# observations flagged or removed as gross errors (BASE_GROBE.TXT, thick
# magenta), the total coordinate corrections from the approximate
# coordinates and the velocities as arrows when they are not zero.  The legend states the scales.  Exits non-zero when GMT
# reports an error.  Point names are drawn with their Central European
# letters (c, s, z with caron and the like): the plot files hold them in
# UTF-8 (files of older versions in Windows-1250), and they go to GMT,
# whose PostScript fonts draw 8-bit text, in ISO-8859-2.  The title and the
# legend are in the language of the run: English when BASE.json (*JSON) says
# "language": "en", otherwise Slovenian; --lang en or --lang sl chooses.
set -euo pipefail

usage() { echo "usage: $0 [--lang en|sl] BASE [MAP.png] [DPI]" >&2; exit 2; }
lang=""
case "${1-}" in
  --lang) [ $# -ge 2 ] || usage; lang=$2; shift 2 ;;
  --lang=*) lang=${1#--lang=}; shift ;;
esac
case "$lang" in ""|en|sl) ;; *) echo "$0: unknown language '$lang' (en or sl)" >&2; exit 2 ;; esac
if [ $# -lt 1 ] || [ $# -gt 3 ]; then
  usage
fi
base=$1
out=${2:-$base.png}
dpi=${3:-150}
[ -s "${base}_PTN.TXT" ] || { echo "$0: no point file ${base}_PTN.TXT (run nivex with *GMT first)" >&2; exit 1; }
command -v gmt >/dev/null || { echo "$0: GMT is not installed (Debian: apt-get install gmt ghostscript)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
case "$base" in /*) ;; *) base="$PWD/$base" ;; esac
out=${out%.png}
ptn="${base}_PTN.TXT"
if [ -z "$lang" ]; then
  lang=sl
  [ -s "${base}.json" ] && grep -Eq '^ *"language": *"en"' "${base}.json" && lang=en
fi
# The words of the map: t SLOVENIAN ENGLISH.
t() { if [ "$lang" = en ]; then printf '%s' "$2"; else printf '%s' "$1"; fi; }

# Every GMT call goes through here: a failed call, or one that reports an
# error without failing, ends the script with GMT's message.
g() {
  if ! gmt "$@" 2>"$work/err"; then
    cat "$work/err" >&2
    echo "$0: gmt $1 failed" >&2
    exit 1
  fi
  if grep -q "ERROR" "$work/err"; then
    cat "$work/err" >&2
    echo "$0: gmt $1 reported an error" >&2
    exit 1
  fi
  cat "$work/err" >&2
}

# A "nice" number 1, 2 or 5 times a power of ten, not above x (x > 0).
nice() { awk -v x="$1" 'BEGIN { p = 10 ^ int(log(x) / log(10)); if (p > x) p /= 10;
  m = x / p; n = (m >= 5) ? 5 : (m >= 2) ? 2 : 1; printf "%.10g\n", n * p }'; }

# Region: the points with a margin of 8 % (at least 1 m), map 16 cm wide
# (or 18 cm tall for a network that runs north-south), same scale both ways.
read -r xmin xmax ymin ymax < <(awk 'NR == 1 { a = b = $1; c = d = $2 }
  { if ($1 < a) a = $1; if ($1 > b) b = $1; if ($2 < c) c = $2; if ($2 > d) d = $2 }
  END { m = 0.08 * ((b - a > d - c) ? b - a : d - c); if (m < 1) m = 1;
        printf "%.4f %.4f %.4f %.4f\n", a - m, b + m, c - m, d + m }' "$ptn")
read -r width height < <(awk -v a="$xmin" -v b="$xmax" -v c="$ymin" -v d="$ymax" 'BEGIN {
  w = 16; h = w * (d - c) / (b - a); if (h > 18) { w = w * 18 / h; h = 18 }
  printf "%.3f %.3f\n", w, h }')
region="-R$xmin/$xmax/$ymin/$ymax"
proj="-JX${width}c/${height}c"
mapscale=$(awk -v w="$width" -v a="$xmin" -v b="$xmax" 'BEGIN { printf "%.6g\n", (b - a) / w }')  # m per map cm

# Ellipses (files in cm): the largest semi-axis is drawn about 0.6 cm long.
maxell=$(cat "${base}_ABSE.TXT" "${base}_RELE.TXT" 2>/dev/null | awk '$5 > m { m = $5 } END { print m + 0 }')
ellscale=""
if awk -v m="$maxell" 'BEGIN { exit !(m > 0) }'; then
  per=$(nice "$(awk -v m="$maxell" 'BEGIN { print 0.6 / m }')")   # map cm per ellipse cm
  ellscale=$per
fi
# Arrows of corrections or velocities: the longest about 1.2 cm.
arrowscale() {
  awk 'NF >= 4 { v = sqrt($3 * $3 + $4 * $4); if (v > m) m = v } END { print m + 0 }' "$1"
}

# Point symbols: a point without an absolute ellipse has no unknowns (fixed).
awk 'NR == FNR { ell[$NF] = 1; next } { print $1, $2, (($7 in ell) ? "new" : "fixed") }' \
  <(cat "${base}_ABSE.TXT" 2>/dev/null || true) "$ptn" >"$work/points"
awk '$3 == "new" { print $1, $2 }' "$work/points" >"$work/new"
awk '$3 == "fixed" { print $1, $2 }' "$work/points" >"$work/fixed"
# The names in ISO-8859-2 (a letter that code has not becomes its nearest
# ASCII or "?"); as they are when iconv cannot convert them.
latin2() {  # in out
  local from=UTF-8
  iconv -f UTF-8 -t UTF-8 "$1" >/dev/null 2>&1 || from=CP1250
  iconv -f "$from" -t ISO-8859-2//TRANSLIT "$1" >"$2" 2>/dev/null || cp "$1" "$2"
}
awk '{ print $1, $2, $7 }' "$ptn" >"$work/labels.txt"
latin2 "$work/labels.txt" "$work/labels"
basename "$base" >"$work/title.txt"
latin2 "$work/title.txt" "$work/title"

legend="$work/legend"
{
  echo "G 0.05c"
  echo "N 2"
} >"$legend"

(
  cd "$work"
  g begin "$out" png E"$dpi"
  g set MAP_FRAME_TYPE plain FONT_ANNOT_PRIMARY 7p FORMAT_FLOAT_MAP %.0f MAP_GRID_PEN_PRIMARY 0.25p,gray85 \
    PS_CHAR_ENCODING ISO-8859-2
  g basemap "$region" "$proj" -Bxafg -Byafg -BWSen+t"$(t Mreza Network) $(cat "$work/title")"

  # Observation lines, the longest-standing kinds underneath.
  add_lines() {  # suffix pen label
    local f="${base}$1"
    [ -s "$f" ] || return 0
    g plot "$f" -W"$2"
    echo "S 0.4c - 0.7c - $2 0.9c $3" >>"$legend"
  }
  add_lines _DIR.TXT 1.4p,gray70 "$(t "smeri" "directions")"
  add_lines _ZEN.TXT 0.8p,orange,- "$(t "zenitne razdalje" "zenith distances")"
  add_lines _AZI.TXT 0.8p,darkcyan,- "$(t "azimuti" "azimuths")"
  add_lines _D2.TXT 0.6p,blue "$(t "horizontalne dolzine" "horizontal distances")"
  add_lines _D3.TXT 0.6p,navy,. "$(t "prostorske dolzine" "slope distances")"
  add_lines _VEC.TXT 0.8p,purple "$(t "vektorji" "vectors")"
  add_lines _DH.TXT 0.8p,brown,. "$(t "visinske razlike" "height differences")"
  # Observations flagged by the screening (|w| > N) or removed by *SNOOP,
  # drawn over the others.
  add_lines _GROBE.TXT 2.2p,magenta "$(t "oznacena / izlocena opazovanja" "flagged / removed observations")"
  if [ -s "${base}_CRD.TXT" ]; then
    g plot "${base}_CRD.TXT" -Ss0.35c -W0.8p,darkgreen
    echo "S 0.4c s 0.3c - 0.8p,darkgreen 0.9c $(t "opazovane koordinate" "observed coordinates")" >>"$legend"
  fi
  if [ -s "${base}_H.TXT" ]; then
    g plot "${base}_H.TXT" -Sd0.35c -W0.8p,brown
    echo "S 0.4c d 0.3c - 0.8p,brown 0.9c $(t "opazovane visine" "observed heights")" >>"$legend"
  fi

  if [ -n "$ellscale" ]; then
    [ -s "${base}_RELE.TXT" ] && g velo "${base}_RELE.TXT" -Sr"${ellscale}c"/0.393469/0 -W0.6p,darkgreen
    [ -s "${base}_ABSE.TXT" ] && g velo "${base}_ABSE.TXT" -Sr"${ellscale}c"/0.393469/0 -W0.8p,red
    [ -s "${base}_RELE.TXT" ] && echo "S 0.4c c 0.3c - 0.6p,darkgreen 0.9c $(t "relativne elipse" "relative error ellipses")" >>"$legend"
    echo "S 0.4c c 0.3c - 0.8p,red 0.9c $(t "absolutne elipse" "error ellipses")" >>"$legend"
  fi

  for kind in CCORR XVEL; do
    f="${base}_${kind}.TXT"
    [ -s "$f" ] || continue
    # -a: a name in a code grep's locale does not read must not make the
    # file "binary" and its lines vanish.
    grep -a -v '^[[:space:]]*$' "$f" >"$work/$kind" || true
    m=$(arrowscale "$work/$kind")
    awk -v m="$m" 'BEGIN { exit !(m >= 0.005) }' || continue   # all zero to the file's 2 decimals
    s=$(nice "$(awk -v m="$m" 'BEGIN { print 1.2 / m }')")
    if [ "$kind" = CCORR ]; then
      g velo "$work/$kind" -Se"${s}c"/0/0 -A0.3c+e+p0.8p -Gdarkorange -W0.8p,darkorange
      echo "S 0.4c v0.3c+e 0.6c darkorange 0.8p,darkorange 0.9c $(t popravki corrections) (1 cm = $(awk -v s="$s" 'BEGIN { printf "%.4g", 10 / s }') mm)" >>"$legend"
    else
      g velo "$work/$kind" -Sr"${s}c"/0.393469/0 -A0.3c+e+p0.8p -Gmagenta -W0.8p,magenta
      echo "S 0.4c v0.3c+e 0.6c magenta 0.8p,magenta 0.9c $(t hitrosti velocities) (1 cm = $(awk -v s="$s" 'BEGIN { printf "%.4g", 10 / s }') mm)" >>"$legend"
    fi
  done

  [ -s "$work/fixed" ] && g plot "$work/fixed" -St0.3c -Gblack -W0.5p,black
  [ -s "$work/new" ] && g plot "$work/new" -Sc0.18c -Gwhite -W0.8p,black
  g text "$work/labels" -F+f8p,Helvetica-Bold,black+jBL -D0.12c/0.1c -Gwhite@30
  [ -s "$work/fixed" ] && echo "S 0.4c t 0.3c black 0.5p 0.9c $(t "dane tocke" "fixed points")" >>"$legend"
  [ -s "$work/new" ] && echo "S 0.4c c 0.18c white 0.8p 0.9c $(t "nove tocke" "new points")" >>"$legend"

  # Map scale in metres, then the scale of the ellipses in words.
  bar=$(nice "$(awk -v s="$mapscale" 'BEGIN { print 3 * s }')")
  g basemap -Ljbl+w"$bar"+l"m"+o0.4c/0.5c -F+gwhite+p0.5p+c0.1c
  if [ -n "$ellscale" ]; then
    {
      echo "G 0.05c"
      echo "N 1"
      echo "L 8p,Helvetica C $(t "Elipse pogreskov (1 sigma): 1 cm na karti" "Error ellipses (1 sigma): 1 cm on the map") = $(awk -v s="$ellscale" 'BEGIN { printf "%.4g", 10 / s }') mm"
    } >>"$legend"
  fi
  g legend "$legend" -DJBC+w${width}c+o0c/1.0c -F+gwhite+p0.5p
  g end
)
echo "$out.png"
