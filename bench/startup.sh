#!/bin/sh
# Start-up cost of batch mode: the mean wall time of whole `ztb32 --batch`
# processes reading an empty standard input, over RUNS runs after a few
# unmeasured ones that warm the file cache.
# Usage: bench/startup.sh [ZTB32] [RUNS]
set -eu
exe=${1:-build-bench/ztb32}
runs=${2:-200}
[ -x "$exe" ] || { echo "startup.sh: no executable at $exe" >&2; exit 1; }

for _ in 1 2 3 4 5; do "$exe" --batch < /dev/null > /dev/null; done
start=$(date +%s%N)
i=0
while [ "$i" -lt "$runs" ]; do
  "$exe" --batch < /dev/null > /dev/null
  i=$((i + 1))
done
end=$(date +%s%N)
echo "ztb32 --batch < /dev/null: $(( (end - start) / runs / 1000 )) us per process (mean of $runs)"
