#!/usr/bin/env bash
# Times a burst of keys on an X server (Xvfb, openbox): a whole order typed
# in one go (burst c of tests/e2e/typing.sh, no delay between keys unless
# asked), from the first key typed to the last key that reached a window of
# the program. Each run starts the program on a fresh install folder. By hand:
#   bench/keyburst.sh <program> <e2e_tool> [runs, 10] [ms between keys, 0]
# Prints, per run, the keys that reached a window, the time and whether the
# order was stored whole; then the median time of all runs and of the runs
# that stored the order whole (16 keys reach a window in those).
set -uo pipefail
program=$1
tool=$2
runs=${3:-10}
delay=${4:-0}
here=$(dirname "$0")
times=$(mktemp)
trap 'rm -f "$times"' EXIT
export DAPRA_KEY_TIMES=$times

all=()
whole=()
for run in $(seq "$runs"); do
  : >"$times"
  if bash "$here/../tests/e2e/typing.sh" "$program" "$tool" c "$delay" >/dev/null 2>&1; then
    stored=whole
  else
    stored=NOT
  fi
  # Each line: the time the X server stamped on the key, the time it reached
  # a window (both in ms of the same monotonic clock). The burst is the keys
  # after the last pause of a second.
  read -r keys ms < <(sort -n "$times" | awk '
    { if (NR > 1 && $1 - last > 1000) { n = 0 } last = $1
      if (n == 0) { first = $1; latest = $2 } if ($2 > latest) latest = $2; n++ }
    END { print n, latest - first }')
  echo "run $run: $keys keys in $ms ms, order stored $stored"
  all+=("$ms")
  if [ $stored = whole ]; then
    whole+=("$ms")
  fi
done
median() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
echo "median: $(median "${all[@]}") ms; of the ${#whole[@]} runs stored whole: $(median "${whole[@]}") ms"
