#!/usr/bin/env bash
# Times `quorvanta-cli score` beside igc-xc-score on the same flights and rule
# sets, one after the other on this machine, and prints one line per run:
# flight, rules, our seconds and score, the peer's seconds and score, and the
# totals with the ratio at the end.
#
# The peer is not a build dependency and CI does not run this script.
# Install it once (Node.js 18 or later):
#     npm install -g igc-xc-score        # or: npm install --prefix ~/peer igc-xc-score
# and point PEER at its command when it is not on the PATH:
#     PEER=~/peer/node_modules/.bin/igc-xc-score bench/score-vs-peer.sh
#
# Usage: bench/score-vs-peer.sh [FLIGHT.igc ...]
#   Without flights: the peer's own test flights in ../shared/testdata/igc.
#   RULES="xcontest ffvl fai" (default) chooses the rule sets; CLI names our
#   command (default build/release/src/cli/quorvanta-cli).
#   The peer runs with hp=true (Vincenty's geodesics, as ours) and
#   trim=false (every fix, as ours). It proves only its best kind optimal,
#   where ours proves every kind of the rule set; the points compared are
#   those of the best kind.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cli=${CLI:-$here/build/release/src/cli/quorvanta-cli}
peer=${PEER:-igc-xc-score}
rules=${RULES:-xcontest ffvl fai}

if [[ $# -eq 0 ]]; then
  set -- "$here"/../shared/testdata/igc/xcscore_*.igc
fi
[[ -x $cli ]] || { echo "no $cli: build it first" >&2; exit 2; }
command -v "$peer" >/dev/null || { echo "no $peer: see the install note at the top" >&2; exit 2; }

peer_name() {
  case $1 in xcontest) echo XContest ;; ffvl) echo FFVL ;; fai) echo FAI ;; *) echo "$1" ;; esac
}

# Seconds of wall time of a command, its output kept in $2.
timed() {
  local out=$1; shift
  local start end
  start=$(date +%s.%N)
  "$@" >"$out" 2>/dev/null || true
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
ours_total=0 peer_total=0
printf '%-34s %-9s %9s %10s %9s %10s\n' flight rules ours_s ours_pts peer_s peer_pts
for flight in "$@"; do
  for r in $rules; do
    ours_s=$(timed "$scratch/ours.json" "$cli" score "$flight" --rules "$r" --json)
    ours_pts=$(python3 -c 'import json,sys
d=json.load(open(sys.argv[1])); b=d["best"]
print(next(("%.2f" % k["score"] for k in d["kinds"] if k["code"] == b and k["found"]), "-"))' \
      "$scratch/ours.json" 2>/dev/null || echo error)
    peer_s=$(timed "$scratch/peer.log" "$peer" "$flight" "scoring=$(peer_name "$r")" quiet=true hp=true \
      trim=false "out=$scratch/peer.json")
    peer_pts=$(python3 -c 'import json,sys
print("%.2f" % json.load(open(sys.argv[1]))["properties"]["score"])' "$scratch/peer.json" \
      2>/dev/null || echo error)
    rm -f "$scratch/peer.json"
    printf '%-34s %-9s %9.2f %10s %9.2f %10s\n' "$(basename "$flight")" "$r" "$ours_s" "$ours_pts" \
      "$peer_s" "$peer_pts"
    ours_total=$(echo "$ours_total + $ours_s" | bc)
    peer_total=$(echo "$peer_total + $peer_s" | bc)
  done
done
printf 'total: ours %.2f s, peer %.2f s, peer/ours %.1f\n' "$ours_total" "$peer_total" \
  "$(echo "$peer_total / $ours_total" | bc -l)"
