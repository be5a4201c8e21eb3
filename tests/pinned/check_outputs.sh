#!/usr/bin/env bash
# Runs rootsim for 3000 steps and compares every file it writes with the
# stored SHA-256 sums, so that no change of a single output bit goes unseen
# (the montages included).
#
#   check_outputs.sh ROOTSIM SUMS            check
#   check_outputs.sh ROOTSIM SUMS --update   write SUMS anew (only on purpose)
set -euo pipefail
bin=$1
sums=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
mode=${3:-check}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

if ! "$bin" --steps 3000 --threads 2 "$dir" >"$dir.log" 2>&1; then
  cat "$dir.log" >&2
  rm -f "$dir.log"
  echo "rootsim failed" >&2
  exit 1
fi
rm -f "$dir.log"

cd "$dir"
# The run record (run.json) holds the command line and times: not hashed.
hashed() { ls -1 | grep -v -x -e run.json -e checkpoint | LC_ALL=C sort; }
if [ "$mode" = "--update" ]; then
  hashed | xargs -d '\n' sha256sum > "$sums"
  echo "wrote $(wc -l < "$sums") sums to $sums"
  exit 0
fi

status=0
if ! sha256sum -c --quiet "$sums"; then
  echo "outputs differ from $sums" >&2
  status=1
fi
listed=$(awk '{print $2}' "$sums" | LC_ALL=C sort)
if [ "$(hashed)" != "$listed" ]; then
  echo "the run wrote other files than those listed:" >&2
  diff <(echo "$listed") <(hashed) >&2 || true
  status=1
fi
exit $status
