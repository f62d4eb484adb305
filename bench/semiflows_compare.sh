#!/usr/bin/env bash
# Minimal semiflows: crninv's computation against PetriSpot and 4ti2.
#
# usage: bench/semiflows_compare.sh [DIR_OR_FILE...]
#
# For every *.net under the given folders (default: ../shared/nets/mcc and
# ../shared/nets/mcc-large next to the repository) and each mode, P-semiflows
# (rows species) and T-semiflows (rows reactions), it runs in the same run:
#   crninv     build/bench/semiflow_runner (configure with -DCRNINV_BENCH=ON),
#              which reads the network file and computes the set
#   petrispot  petri64 --Psemiflows / --Tsemiflows -q -i NAME.pnml, the PNML
#              original of the network, looked up in PNML_DIR (plain or .gz)
#   4ti2       4ti2-rays on the matrix whose kernel holds the semiflows (N^T
#              for P, N for T), written beforehand and not timed
# and prints one row per network and mode: the whole-process wall time of
# each (median over the runs), crninv's peak resident memory, each count, the
# ratio peer/crninv, and whether the counts agree with crninv's.
#
# Environment:
#   SEMIFLOW_RUNS     runs per tool, network and mode (default 3)
#   SEMIFLOW_TIMEOUT  seconds before a run is stopped (default 120); PetriSpot
#                     is given the same limit with -t and counts as timed out
#                     when it reports a time past it
#   SEMIFLOW_MODES    a subset of "P T" (default both)
#   SEMIFLOW_MAX      the runner's cap (--max): a network whose set passes it
#                     shows ">N" (or ">N?" when the candidates passed it) and
#                     in parentheses the time it took to stop (default: no cap)
#   SEMIFLOW_PEERS    a subset of "petrispot 4ti2" (default both)
#   SKIP_CAPPED       when set, 4ti2 is not run where the runner stopped at its
#                     cap: it would have to list more rays than the cap
#   PETRISPOT         the PetriSpot binary (default ../peers/petrispot/petri64)
#   PNML_DIR          where the PNML files are (default ../peers/pnml, then
#                     ../shared/pnml/mcc)
#   RUNNER            the runner (default build/bench/semiflow_runner)
set -u -o pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
top=$(dirname "$root")
RUNS=${SEMIFLOW_RUNS:-3}
TIMEOUT=${SEMIFLOW_TIMEOUT:-120}
MODES=${SEMIFLOW_MODES:-P T}
PEERS=${SEMIFLOW_PEERS:-petrispot 4ti2}
PETRISPOT=${PETRISPOT:-$top/peers/petrispot/petri64}
RUNNER=${RUNNER:-$root/build/bench/semiflow_runner}
CAP=()
[ -n "${SEMIFLOW_MAX:-}" ] && CAP=(--max "$SEMIFLOW_MAX")
if [ -z "${PNML_DIR:-}" ]; then
    PNML_DIR=$top/peers/pnml
    [ -d "$PNML_DIR" ] || PNML_DIR=$top/shared/pnml/mcc
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/crninv-semiflows.XXXXXX")
trap 'rm -rf "$work"' EXIT
log() { printf '%s\n' "$*" >&2; }
has_peer() { [[ " $PEERS " == *" $1 "* ]]; }

[ -x "$RUNNER" ] || { log "no runner at $RUNNER: configure with -DCRNINV_BENCH=ON and build"; exit 1; }
cc -O2 -o "$work/measure" "$here/peers/measure.c" || { log "cannot build bench/peers/measure.c"; exit 1; }
if has_peer petrispot && [ ! -x "$PETRISPOT" ]; then log "no PetriSpot at $PETRISPOT"; PEERS=${PEERS/petrispot/}; fi
if has_peer 4ti2 && ! command -v 4ti2-rays >/dev/null; then log "no 4ti2-rays (Debian: 4ti2)"; PEERS=${PEERS/4ti2/}; fi

# run OUTPREFIX TIMEOUT COMMAND...: up to RUNS runs, the first failing one
# ending them; prints "STATUS MEDIAN_S MAXRSS_KB" (STATUS ok, capped for the
# runner's exit status 2, timeout, failed or exitN); run i's standard output
# is in OUTPREFIX.i.
run() {
    local out=$1 limit=$2 i status secs kb rss=0 times=() result=ok
    shift 2
    for ((i = 1; i <= RUNS; i++)); do
        read -r status secs kb < <("$work/measure" "$limit" "$out.$i" "$out.err" "$@")
        case $status in
        0) ;;
        2) result=capped ;;
        timeout) echo "timeout - -"; return ;;
        signal) echo "failed - -"; return ;;
        *) echo "exit$status - -"; return ;;
        esac
        times+=("$secs")
        ((kb > rss)) && rss=$kb
        # a run past a third of the limit is not repeated
        awk -v t="$secs" -v l="$limit" 'BEGIN { exit !(t * 3 > l) }' && break
    done
    printf '%s\n' "${times[@]}" | sort -g | awk -v rss="$rss" -v r="$result" '{ t[NR] = $1 }
        END { printf "%s %.4f %d\n", r, NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2, rss }'
}

# The matrix for 4ti2-rays: N^T for P-semiflows, N for T-semiflows.
write_matrix() {
    python3 - "$here/peers" "$1" "$2" "$3" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
from netreader import read_network
species, reactions, columns = read_network(sys.argv[2])
S, R = len(species), len(reactions)
with open(sys.argv[3], "w") as f:
    if sys.argv[4] == "P":
        f.write(f"{R} {S}\n")
        for col in columns:
            f.write(" ".join(str(col.get(i, 0)) for i in range(S)) + "\n")
    else:
        f.write(f"{S} {R}\n")
        for i in range(S):
            f.write(" ".join(str(col.get(i, 0)) for col in columns) + "\n")
PY
}

pnml_of() {
    local name=$1
    if [ -f "$PNML_DIR/$name.pnml" ]; then echo "$PNML_DIR/$name.pnml"
    elif [ -f "$PNML_DIR/$name.pnml.gz" ]; then gunzip -c "$PNML_DIR/$name.pnml.gz" >"$work/$name.pnml" && echo "$work/$name.pnml"
    fi
}

verdict() { # PEER_COUNT MINE_COUNT
    if [ "$1" = - ] || [ "$2" = - ]; then echo -; elif [ "$1" = "$2" ]; then echo ok; else echo DIFF; fi
}
ratio() { awk -v p="$1" -v c="$2" 'BEGIN { if (p == "-" || c == "-" || c <= 0) print "-"; else printf "%.1f", p / c }'; }

[ $# -eq 0 ] && set -- "$top/shared/nets/mcc" "$top/shared/nets/mcc-large"
nets=()
for arg in "$@"; do
    if [ -d "$arg" ]; then
        while IFS= read -r f; do nets+=("$f"); done < <(find "$arg" -name '*.net' -type f | sort)
    elif [ -f "$arg" ]; then nets+=("$arg")
    else log "no such file or folder: $arg"; fi
done

log "runner: $RUNNER; peers: ${PEERS:-none}; runs: $RUNS; timeout: ${TIMEOUT}s"
printf '%-42s %1s | %9s %8s %7s | %9s %7s %5s %4s | %9s %7s %5s %4s\n' network mode crninv_s MB count \
    petri_s count x agree 4ti2_s count x agree
sums=$work/sums
: >"$sums"
for net in "${nets[@]}"; do
    name=$(basename "$net" .net)
    for mode in $MODES; do
        flag=()
        [ "$mode" = T ] && flag=(--transitions)
        read -r st t kb < <(run "$work/mine" "$TIMEOUT" "$RUNNER" "${CAP[@]}" "${flag[@]}" "$net")
        mine=-
        mb=$(awk -v k="$kb" 'BEGIN { if (k == "-") print "-"; else printf "%.1f", k / 1024 }')
        if [ "$st" = ok ]; then
            mine=$(awk '/^semiflows / { print $2 }' "$work/mine.1")
        elif [ "$st" = capped ]; then
            mine=$(awk '/^too many: / { print ">" $5 } /^too many candidates: / { print ">" $6 "?" }' \
                "$work/mine.1")
            t="($t)" # the time it took to give up
        else
            t=$st
        fi
        line=$(printf '%-42s %1s | %9s %8s %7s' "$name" "$mode" "$t" "$mb" "$mine")
        sumline="$t"
        ps_t=- ps_n=-
        if has_peer petrispot && pnml=$(pnml_of "$name") && [ -n "$pnml" ]; then
            read -r st ps_t kb < <(run "$work/ps" $((TIMEOUT + 30)) "$PETRISPOT" "--${mode}semiflows" -q \
                -t "$TIMEOUT" -i "$pnml")
            if [ "$st" = ok ]; then
                read -r ps_n ms < <(sed -n "s/.*Computed \([0-9]*\) $mode semiflows *in \([0-9]*\) ms.*/\1 \2/p" \
                    "$work/ps.1" | head -n 1)
                if [ -z "${ps_n:-}" ]; then ps_t=failed ps_n=-
                elif ((ms >= TIMEOUT * 1000)); then ps_t=timeout ps_n=-; fi
            else
                ps_t=$st
            fi
        fi
        line+=$(printf ' | %9s %7s %5s %4s' "$ps_t" "$ps_n" "$(ratio "$ps_t" "$t")" "$(verdict "$ps_n" "$mine")")
        sumline+=" $ps_t"
        r_t=- r_n=-
        if has_peer 4ti2 && { [ -z "${SKIP_CAPPED:-}" ] || [[ $mine != ">"* ]]; }; then
            mkdir -p "$work/4ti2" && rm -f "$work/4ti2/"*
            if write_matrix "$net" "$work/4ti2/m.mat" "$mode"; then
                read -r st r_t kb < <(run "$work/r" "$TIMEOUT" 4ti2-rays -q "$work/4ti2/m")
                if [ "$st" = ok ]; then r_n=$(awk 'NR == 1 { print $1 }' "$work/4ti2/m.ray"); else r_t=$st; fi
            fi
        fi
        line+=$(printf ' | %9s %7s %5s %4s' "$r_t" "$r_n" "$(ratio "$r_t" "$t")" "$(verdict "$r_n" "$mine")")
        printf '%s\n' "$line"
        echo "$mode $sumline" >>"$sums"
    done
done

echo
awk '{ if ($2 ~ /^[0-9.]+$/ && $3 ~ /^[0-9.]+$/) { n[$1]++; c[$1] += $2; p[$1] += $3
         r = $2 / $3; if (r > worst[$1]) { worst[$1] = r } } else other[$1]++ }
     END { for (m in n) printf "%s-semiflows over %d networks both finished: crninv %.3f s, PetriSpot %.3f s (x%.2f); largest crninv/PetriSpot %.2f; %d others\n",
               m, n[m], c[m], p[m], p[m] / c[m], worst[m], other[m] + 0 }' "$sums"
