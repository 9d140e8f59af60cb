#!/bin/sh
# Prints the cards of every frame kind from N contacts (default 2000) with
# `tessaline-tool print-pdf`, `print-ps` and gLabels' `glabels-3-batch`,
# each pinned to the same two processors and the three taking turns, and
# writes a table of what each run took: wall and CPU seconds, peak memory,
# the output's size, the most path segments a page of it draws and the
# picture the card turns as `pdfimages -list` sees it; then whether every
# contact's name reads whole in the PDF and in ps2pdf of the PostScript.
#
#   tools/bench/measure-cards.sh [--bin FOLDER] [--print-bin FOLDER]
#                                [--records N] [--cpus 2,3] [--runs R]
#                                [--keep FOLDER] [CARD...]
#
# CARD is visitor-badge, odd-frames-a or odd-frames-b (default: all three);
# FOLDER of --bin holds the tessaline-tool that makes the cards (default
# build/bin), of --print-bin the one that prints them (default the same:
# another build's, to compare). Segments are counted on the first 6 pages.
# Needs GNU time,
# taskset, qpdf, poppler-utils and Ghostscript; gLabels is left out when it
# is not installed.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
bin=build/bin printbin="" records=2000 cpus=2,3 runs=1 keep=""
cards=""
while [ $# -gt 0 ]; do
  case $1 in
    --bin) bin=$2; shift 2 ;;
    --print-bin) printbin=$2; shift 2 ;;
    --records) records=$2; shift 2 ;;
    --cpus) cpus=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --keep) keep=$2; shift 2 ;;
    -*) echo "usage: $0 [--bin FOLDER] [--print-bin FOLDER] [--records N] [--cpus 2,3] [--runs R] [--keep FOLDER] [CARD...]" >&2; exit 2 ;;
    *) cards="$cards $1"; shift ;;
  esac
done
[ -n "$cards" ] || cards="visitor-badge odd-frames-a odd-frames-b"
tool=$(cd "$bin" && pwd)/tessaline-tool
[ -x "$tool" ] || { echo "no tessaline-tool in $bin" >&2; exit 1; }
printer=$tool
[ -z "$printbin" ] || printer=$(cd "$printbin" && pwd)/tessaline-tool
[ -x "$printer" ] || { echo "no tessaline-tool in $printbin" >&2; exit 1; }
if [ -n "$keep" ]; then mkdir -p "$keep"; work=$(cd "$keep" && pwd); else work=$(mktemp -d); fi
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen

# The contacts, and the same as gLabels' merge source (tab-separated, a
# first line of keys).
rm -f "$work/contacts.dqx"
"$tool" db new "$work/contacts.dqx" >/dev/null
"$tool" db fill "$work/contacts.dqx" "$records" --seed 1 >/dev/null
"$tool" db dump "$work/contacts.dqx" >"$work/contacts.dump"
python3 - "$work/contacts.dump" "$work/contacts.tsv" "$work/names.txt" <<'PY'
import re, sys
keys = [("First", 2), ("Last", 3), ("Title", 4), ("Company", 5), ("Address1", 6), ("Address2", 7),
        ("City", 8), ("State", 9), ("Zip", 10), ("Country", 11), ("Phone", 13), ("Fax", 12), ("EMail", 15)]
unescape = lambda t: re.sub(r"\\x([0-9A-Fa-f]{2})|\\\\", lambda m: chr(int(m.group(1), 16)) if m.group(1) else "\\", t)
lines = open(sys.argv[1], encoding="utf-8").read().split("\n")[1:]
with open(sys.argv[2], "w", encoding="utf-8") as tsv, open(sys.argv[3], "w", encoding="utf-8") as names:
    tsv.write("\t".join(k for k, _ in keys) + "\n")
    for line in filter(None, lines):
        fields = [unescape(f).replace("\t", " ").replace("\n", " ") for f in line.split("\t")]
        tsv.write("\t".join(fields[i] for _, i in keys) + "\n")
        names.write(fields[2] + " " + fields[3] + "\n")
PY

# One timed run: NAME OUT COMMAND...; appends a row to runs.txt.
timed() {
  name=$1 out=$2; shift 2
  rm -f "$out"
  if ! taskset -c "$cpus" /usr/bin/time -v -o "$work/time.txt" "$@" >"$work/$name.log" 2>&1; then
    echo "$name failed; see $work/$name.log" >&2
    return 0
  fi
  awk -v name="$name" -v out="$out" '
    /User time/ {user = $NF} /System time/ {sys = $NF} /Maximum resident/ {rss = $NF}
    /Elapsed \(wall clock\)/ {n = split($NF, t, ":"); wall = n == 3 ? t[1] * 3600 + t[2] * 60 + t[3] : t[1] * 60 + t[2]}
    END {printf "%s %.2f %.2f %.0f %s\n", name, wall, user + sys, rss / 1024, out}' "$work/time.txt" >>"$work/runs.txt"
}

: >"$work/runs.txt"
for card in $cards; do
  case $card in
    visitor-badge) kind=new-visitor ;;
    odd-frames-a) kind=new-odd-a ;;
    odd-frames-b) kind=new-odd-b ;;
    *) echo "no card $card" >&2; exit 2 ;;
  esac
  mkdir -p "$work/$card"
  "$tool" card "$kind" "$work/$card.lqx" "$work/$card" >/dev/null
  sed -e "s#@BENCH@#$work/$card#g" -e "s#@SOURCE@#$work/contacts.tsv#" "$here/$card.glabels" >"$work/$card.glabels"
  run=1
  while [ "$run" -le "$runs" ]; do
    timed "$card/print-pdf" "$work/$card.pdf" "$printer" print-pdf "$work/$card.lqx" "$work/contacts.dqx" "$work/$card.pdf"
    timed "$card/print-ps" "$work/$card.ps" "$printer" print-ps "$work/$card.lqx" "$work/contacts.dqx" "$work/$card.ps"
    if command -v glabels-3-batch >/dev/null; then
      timed "$card/glabels" "$work/$card-glabels.pdf" glabels-3-batch -o "$work/$card-glabels.pdf" "$work/$card.glabels"
    fi
    run=$((run + 1))
  done
done

# The table: the fastest and slowest run of each, its CPU, memory, output.
printf '%-24s %15s %7s %8s %9s %18s\n' "card/program" "wall s" "CPU s" "peak MB" "output MB" "segments/page max"
for row in $(awk '!seen[$1]++ {print $1}' "$work/runs.txt"); do
  out=$(awk -v r="$row" '$1 == r {o = $5} END {print o}' "$work/runs.txt")
  size=$(stat -c %s "$out" 2>/dev/null || echo 0)
  segments=-
  case $out in *.pdf) [ -s "$out" ] && segments=$(python3 "$here/pdf_page_segments.py" "$out" 6 | awk '{print $2 " (page " $3 ")"}') ;; esac
  awk -v r="$row" -v size="$size" -v seg="$segments" '$1 == r {
      n++; cpu += $3; if ($4 > rss) rss = $4
      if (n == 1 || $2 < lo) lo = $2; if ($2 > hi) hi = $2 }
    END {printf "%-24s %15s %7.1f %8d %9.1f %18s\n", r, (lo == hi ? sprintf("%.2f", lo) : sprintf("%.2f-%.2f", lo, hi)),
         cpu / n, rss, size / 1e6, seg}' "$work/runs.txt"
done

# The turned pictures of each PDF's first page, and the names read back.
for card in $cards; do
  for pdf in "$work/$card.pdf" "$work/$card-glabels.pdf"; do
    [ -s "$pdf" ] || continue
    echo "pdfimages -list -f 1 -l 1 $(basename "$pdf"):"
    pdfimages -list -f 1 -l 1 "$pdf" | awk 'NR > 2 {print "  " $3 " " $4 "x" $5 " " $6 " " $9 " " $13 "x" $14 " ppi, " $15}' | sort | uniq -c | head -8
  done
  if [ -s "$work/$card.ps" ]; then
    ps2pdf "$work/$card.ps" "$work/$card-ps.pdf"
  fi
  for pdf in "$work/$card.pdf" "$work/$card-ps.pdf"; do
    [ -s "$pdf" ] || continue
    pdftotext -raw "$pdf" "$work/text.txt"
    found=$(python3 - "$work/names.txt" "$work/text.txt" <<'PY'
import sys
names = open(sys.argv[1], encoding="utf-8").read().split("\n")[:-1]
text = open(sys.argv[2], encoding="utf-8", errors="replace").read()
print(sum(1 for n in names if n in text), "of", len(names))
PY
)
    echo "names read whole in $(basename "$pdf"): $found"
  done
done
[ -n "$keep" ] || rm -rf "$work"
