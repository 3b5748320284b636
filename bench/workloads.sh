#!/bin/sh
# Whole ztb32 --batch processes on generated worksheets, each value checked:
#   model N  N/10,000 blocks of two 4,000-cell +1 chains and 2,000 growing
#            @SUM(A1..An), one block per three columns; loaded, recalculated
#            and printed (--recalc --print all)
#   fan N    A1..A4000 = 1..4000 and N formulas @SUM($A$1..$A$4000); loaded,
#            recalculated, A1 changed to 100 and everything printed
# Usage: bench/workloads.sh [ZTB32] [RUNS]
set -eu
exe=${1:-build-bench/ztb32}
runs=${2:-10}
[ -x "$exe" ] || { echo "workloads.sh: no executable at $exe" >&2; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

letters='function col(i,   s, r) { s = ""; i = i + 1; while (i > 0) { r = (i - 1) % 26; s = sprintf("%c", 65 + r) s; i = int((i - 1) / 26) } return s }'

model() {
  awk -v N="$1" "$letters"'
  BEGIN { print "manual on"
    for (b = 0; b < N / 10000; b++) { a = col(3 * b); c = col(3 * b + 1); d = col(3 * b + 2)
      print "enter " a "1 0"; print "enter " c "1 0"
      for (r = 2; r <= 4000; r++) { print "enter " a r " +" a (r - 1) "+1"; print "enter " c r " +" c (r - 1) "+1" }
      for (k = 1; k <= 2000; k++) print "enter " d k " @SUM(" a "1.." a (2 * k) ")" }
    print "manual off" }'
}

fan() {
  awk -v N="$1" "$letters"'
  BEGIN { print "manual on"
    for (r = 1; r <= 4000; r++) print "enter A" r " " r
    n = 0; for (c = 1; n < N; c++) for (r = 1; r <= 8192 && n < N; r++) { print "enter " col(c) r " @SUM($A$1..$A$4000)"; n++ }
    print "manual off" }'
}

# Chains hold row - 1, the sums of the first 2k rows k(2k - 1).
check_model() {
  awk -F '\t' '{ match($1, /^[A-Z]+/); s = substr($1, 1, RLENGTH); c = 0
    for (i = 1; i <= length(s); i++) c = c * 26 + index("ABCDEFGHIJKLMNOPQRSTUVWXYZ", substr(s, i, 1))
    r = substr($1, RLENGTH + 1) + 0; want = ((c - 1) % 3 == 2) ? r * (2 * r - 1) : r - 1
    n++; if ($2 + 0 != want) bad++ }
    END { if (n != '"$1"' || bad) { print "wrong values: " bad + 0 " of " n; exit 1 } }'
}

check_fan() {
  awk -F '\t' '$1 !~ /^A[0-9]+$/ { n++; if ($2 != 8002099) bad++ }
    END { if (n != '"$1"' || bad) { print "wrong values: " bad + 0 " of " n; exit 1 } }'
}

# The mean wall time of RUNS runs of "$@" in milliseconds, output to $dir/out.
time_runs() {
  start=$(date +%s%N)
  i=0
  while [ "$i" -lt "$runs" ]; do "$@" > "$dir/out"; i=$((i + 1)); done
  end=$(date +%s%N)
  echo $(( (end - start) / runs / 1000 ))
}

for n in 10000 100000; do
  { model "$n"; echo "save $dir/model.wks"; } | "$exe" --batch
  us=$(time_runs "$exe" --batch "$dir/model.wks" --recalc --print all)
  check_model "$n" < "$dir/out"
  echo "model $n: load, recalculate, print all: $((us / 1000)).$((us % 1000 / 100)) ms per process (mean of $runs), every value right"
done

{ fan 100000; echo "save $dir/fan.wks"; } | "$exe" --batch
printf 'recalc\nenter A1 100\nprint all\n' > "$dir/change"
us=$(time_runs sh -c "\"$exe\" --batch \"$dir/fan.wks\" < \"$dir/change\"")
check_fan 100000 < "$dir/out"
echo "fan 100000: load, recalculate, change A1, print all: $((us / 1000)).$((us % 1000 / 100)) ms per process (mean of $runs), every value right"
