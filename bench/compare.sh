#!/usr/bin/env bash
# End-to-end comparison of crninv with exact null-space peers.
#
# usage: bench/compare.sh [DIR_OR_FILE...]
#
# COMPARE_MODE chooses what is compared (default pflows):
#   pflows      the species report's flows (conservation laws, P-flows)
#   tflows      the reactions' report (crninv --transitions): T-flows, the null
#               space of N itself for the null-space peers
#   psemiflows  minimal P-semiflows (crninv --semiflows), against 4ti2-rays on
#               N^T and PetriSpot --Psemiflows
#   tsemiflows  minimal T-semiflows (crninv --semiflows --transitions), against
#               4ti2-rays on N and PetriSpot --Tsemiflows
#
# For every *.net under the given folders (default: ../shared/nets next to the
# repository, recursively) it runs, on the same input and in the same run:
#   crninv  the tool (./build/crninv, built in Release when missing; CRNINV=path
#           to use another binary)
#   sympy   bench/peers/sympy_nullspace.py: reads the network and computes the
#           exact null space of N^T with sympy
#   flint   bench/peers/flint_exact.c nullspace: fmpz_mat_nullspace on N^T
#   flint_rref  bench/peers/flint_exact.c rref: fmpz_mat_rref of [N | -I], the
#           whole of what crninv computes (not among the default peers: slow)
#   4ti2    4ti2-zbasis --precision=64 (64-bit arithmetic; Debian's 4ti2 1.6.9
#           refuses the short form -p=64): a lattice basis of {x : N^T x = 0}
#   petrispot  PetriSpot's petri64 --Pflows -q -i NET.pnml, the Petri-net tool,
#           on the PNML original of an MCC network (../shared/pnml/mcc/NAME.pnml.gz,
#           unpacked beforehand); built from ../shared/peers/petrispot when missing.
#           Its flows are a generating set, not always a basis: more than
#           S minus the rank on some nets.
# and prints one table row per network. Every time is the wall time of the whole
# process, every MB its peak resident memory. FLINT and 4ti2 are given N^T as a
# ready matrix file (written once per network, not timed), so their times leave
# out reading the network; PetriSpot reads its PNML.
#
# Environment:
#   COMPARE_RUNS     runs per tool and network, median taken (default 5)
#   COMPARE_TIMEOUT  seconds one run may take before it is killed (default 300)
#   COMPARE_BUDGET   a tool whose first run took longer than BUDGET/(RUNS-1)
#                    seconds is not run again: its time is that single run
#                    (column n), (default 60)
#   COMPARE_PEERS    peers to run, a subset of "sympy flint flint_rref 4ti2
#                    petrispot" (default all but flint_rref)
#   CRNINV_OPTIONS   options given to crninv, e.g. --wide for ../shared/nets/wide
#   PETRISPOT        a petri64 to use (default: built into build/peers/petrispot)
#   PYTHON           the Python that runs the sympy peer (default python3)
#
# Missing peers are installed with apt-get (python3-sympy, libflint-dev, 4ti2).
set -u -o pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
peers_dir=$here/peers
RUNS=${COMPARE_RUNS:-5}
TIMEOUT=${COMPARE_TIMEOUT:-300}
BUDGET=${COMPARE_BUDGET:-60}
MODE=${COMPARE_MODE:-pflows}
case $MODE in
    pflows) mode_options=(); default_peers="sympy flint 4ti2 petrispot" ;;
    tflows) mode_options=(--transitions); default_peers="sympy flint 4ti2 petrispot" ;;
    psemiflows) mode_options=(--semiflows); default_peers="4ti2 petrispot" ;;
    tsemiflows) mode_options=(--semiflows --transitions); default_peers="4ti2 petrispot" ;;
    *) echo "COMPARE_MODE: pflows, tflows, psemiflows or tsemiflows" >&2; exit 2 ;;
esac
# The peers' matrix: N^T for the species, N for the reactions; their 4ti2 tool.
case $MODE in t*) matrix_option=(--species); sympy_option=(--species) ;;
    *) matrix_option=(); sympy_option=() ;; esac
case $MODE in *semiflows) fourtitwo=4ti2-rays; petri_mode=${MODE:0:1} ;;
    *) fourtitwo=4ti2-zbasis; petri_mode=${MODE:0:1} ;; esac
petri_flag=--${petri_mode^^}${MODE:1}
petri_word="${petri_mode^^} ${MODE:1}"
PEERS=${COMPARE_PEERS:-$default_peers}
read -r -a crninv_options <<<"${CRNINV_OPTIONS:-}"
crninv_options+=("${mode_options[@]}")
shared=$(dirname "$root")/shared
PYTHON=${PYTHON:-python3}

work=$(mktemp -d "${TMPDIR:-/tmp}/crninv-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT

log() { printf '%s\n' "$*" >&2; }

has_peer() { [[ " $PEERS " == *" $1 "* ]]; }

# --- tools -------------------------------------------------------------------

install_missing() {
    local pkgs=()
    has_peer sympy && ! "$PYTHON" -c 'import sympy' 2>/dev/null && pkgs+=(python3-sympy)
    { has_peer flint || has_peer flint_rref; } && [ ! -e /usr/include/flint/fmpz_mat.h ] && pkgs+=(libflint-dev)
    has_peer 4ti2 && ! command -v "$fourtitwo" >/dev/null && pkgs+=(4ti2)
    command -v cc >/dev/null || pkgs+=(gcc)
    [ ${#pkgs[@]} -eq 0 ] && return
    log "installing ${pkgs[*]} ..."
    if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${pkgs[@]}"; } >&2; then
        log "apt-get failed: peers that are still missing are left out"
    fi
}

crninv=${CRNINV:-$root/build/crninv}
if [ ! -x "$crninv" ]; then
    log "building crninv (Release) ..."
    { cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release &&
        cmake --build "$root/build" -j2 --target crninv; } >&2 || { log "build failed"; exit 1; }
fi

install_missing
# Debian's python3-sympy serves /usr/bin/python3, which need not be the first python3
if ! "$PYTHON" -c 'import sympy' 2>/dev/null && /usr/bin/python3 -c 'import sympy' 2>/dev/null; then
    PYTHON=/usr/bin/python3
fi
if has_peer sympy && ! "$PYTHON" -c 'import sympy' 2>/dev/null; then PEERS=${PEERS/sympy/}; fi
cc -O2 -o "$work/measure" "$peers_dir/measure.c" >&2 || { log "cannot build bench/peers/measure.c"; exit 1; }
if has_peer flint || has_peer flint_rref; then
    cc -O2 -o "$work/flint_exact" "$peers_dir/flint_exact.c" -lflint -lgmp >&2 ||
        { log "cannot build the FLINT peer: left out"; PEERS=" $PEERS "; PEERS=${PEERS/ flint / };
          PEERS=${PEERS/ flint_rref / }; }
fi
if has_peer 4ti2 && ! command -v "$fourtitwo" >/dev/null; then PEERS=${PEERS/4ti2/}; fi
petrispot=${PETRISPOT:-$root/build/peers/petrispot/petri64}
if has_peer petrispot && [ ! -x "$petrispot" ]; then
    log "building PetriSpot ..."
    sh "$shared/peers/petrispot/build.sh" "$(dirname "$petrispot")" >&2 ||
        { log "cannot build PetriSpot: left out"; PEERS=${PEERS/petrispot/}; }
fi
read -r -a peers <<<"$PEERS"

# --- measuring ---------------------------------------------------------------

# measure OUTPREFIX COMMAND...: runs COMMAND up to RUNS times, keeping each
# run's standard output in OUTPREFIX.N; prints "STATUS MEDIAN_S MAXRSS_KB RUNS"
# where STATUS is "ok", "timeout", "failed" or "exitN" (first failing run).
measure() {
    local out=$1
    shift
    local times=() rss=0 i status secs kb
    for ((i = 1; i <= RUNS; i++)); do
        read -r status secs kb < <("$work/measure" "$TIMEOUT" "$out.$i" "$out.err" "$@")
        case $status in
        0) ;;
        timeout) echo "timeout - - $i"; return ;;
        signal) echo "failed - - $i"; return ;;
        *) echo "exit$status - - $i"; return ;;
        esac
        times+=("$secs")
        ((kb > rss)) && rss=$kb
        # one slow run is enough when the repeats would exceed the budget
        if ((i == 1 && RUNS > 1)) && awk -v t="$secs" -v b="$BUDGET" -v r="$RUNS" \
            'BEGIN { exit !(t * (r - 1) > b) }'; then
            break
        fi
    done
    printf '%s\n' "${times[@]}" | sort -g | awk -v rss="$rss" '
        { t[NR] = $1 }
        END { m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
              printf "ok %.6f %d %d\n", m, rss, NR }'
}

# median of column COL over the files OUTPREFIX.*
median_field() {
    cat "$1".* 2>/dev/null | awk -v c="$2" '{ print $c }' | sort -g | awk '
        { t[NR] = $1 }
        END { if (NR) print NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
              else print "-" }'
}

# number of rows of the first section of crninv's report: the flows, or the
# semiflows
count_flows() {
    awk 'NR == 1 { f = 1; next } /^$/ { f = 0 } f && /^\t/ { n++ } END { print n + 0 }' "$1"
}

# --- networks ----------------------------------------------------------------

[ $# -eq 0 ] && set -- "$(dirname "$root")/shared/nets"
nets=()
for arg in "$@"; do
    if [ -d "$arg" ]; then
        while IFS= read -r f; do nets+=("$arg|$f"); done < <(find "$arg" -name '*.net' -type f | sort)
    elif [ -f "$arg" ]; then
        nets+=("$(dirname "$arg")|$arg")
    else
        log "no such file or folder: $arg"
    fi
done
[ ${#nets[@]} -eq 0 ] && { log "no networks found"; exit 1; }

# --- table -------------------------------------------------------------------

fmt_time() { awk -v t="$1" 'BEGIN { if (t == "-" || t == "") print "-"
    else if (t < 0.1) printf "%.4f", t; else if (t < 100) printf "%.3f", t; else printf "%.1f", t }'; }
ratio() { awk -v p="$1" -v c="$2" 'BEGIN { if (p == "-" || c == "-" || c <= 0) print "-"
    else { r = p / c; printf(r < 100 ? "%.1f" : "%.0f", r) } }'; }

header() {
    printf '%-32s %6s %6s | %8s %7s %6s %2s' network S R crninv_s MB flows n
    local p
    for p in "${peers[@]}"; do
        case $p in
        sympy) printf ' | %8s %8s %7s %7s %5s %2s' sympy_s nullsp_s MB x flows n ;;
        flint) printf ' | %8s %8s %7s %7s %5s %2s' flint_s nullsp_s MB x flows n ;;
        flint_rref) printf ' | %8s %8s %7s %7s %5s %2s' rref_s alone_s MB x flows n ;;
        4ti2) printf ' | %8s %7s %7s %5s %2s' 4ti2_s MB x flows n ;;
        petrispot) printf ' | %8s %7s %7s %5s %2s' petri_s MB x flows n ;;
        esac
    done
    printf '\n'
}
megabytes() { awk -v k="$1" 'BEGIN { if (k == "-" || k == "") print "-"; else printf "%.1f", k / 1024 }'; }

log "mode: $MODE; crninv: $crninv ${crninv_options[*]}; peers: ${peers[*]:-none}; runs: $RUNS; timeout: ${TIMEOUT}s; budget: ${BUDGET}s"
cat <<EOF
Times are medians of whole-process wall times in seconds over n runs (one run
when the repeats would exceed the budget); nullsp_s is the peer's own time for
the null space alone; x = peer time / crninv time; flows: ok when the peer finds
as many conservation laws as crninv, DIFF otherwise.

EOF
header
sums=$work/sums # one line per network: crninv time and each peer's time or "-"
: >"$sums"

for entry in "${nets[@]}"; do
    base=${entry%%|*}
    net=${entry#*|}
    name=${net#"$base"/}
    d=$work/net
    rm -rf "$d" && mkdir -p "$d"

    # N^T in 4ti2's format for FLINT and 4ti2; the reader also gives S and R
    mat=/dev/null
    { has_peer flint || has_peer flint_rref || has_peer 4ti2; } && mat=$d/nt.mat
    if ! read -r S R < <("$PYTHON" "$peers_dir/netreader.py" "${matrix_option[@]}" "$net" "$mat" \
            2>"$d/reader.err"); then
        printf '%-32s  cannot read: %s\n' "$name" "$(tail -n 1 "$d/reader.err")"
        continue
    fi

    read -r cst ct ckb cn < <(measure "$d/crninv" "$crninv" "${crninv_options[@]}" "$net")
    cflows=-
    cshow=$(fmt_time "$ct")
    if [ "$cst" = ok ]; then
        cflows=$(count_flows "$d/crninv.1")
    else
        ct=-
        if [ "$cst" = exit1 ] && grep -qi overflow "$d/crninv.err"; then cshow=overflow; else cshow=$cst; fi
    fi
    cmb=$(megabytes "$ckb")
    line=$(printf '%-32s %6s %6s | %8s %7s %6s %2s' "$name" "$S" "$R" "$cshow" "$cmb" "$cflows" "$cn")
    sumline=$ct

    for p in "${peers[@]}"; do
        case $p in
        sympy) cmd=("$PYTHON" "$peers_dir/sympy_nullspace.py" "${sympy_option[@]}" "$net")
            flows_col=3; alone_col=4 ;;
        flint) cmd=("$work/flint_exact" nullspace "$d/nt.mat"); flows_col=1; alone_col=2 ;;
        flint_rref) cmd=("$work/flint_exact" rref "$d/nt.mat"); flows_col=1; alone_col=2 ;;
        4ti2)
            mkdir -p "$d/4ti2" && cp "$d/nt.mat" "$d/4ti2/nt.mat"
            if [ "$fourtitwo" = 4ti2-rays ]; then cmd=(4ti2-rays -q "$d/4ti2/nt")
            else cmd=(4ti2-zbasis --precision=64 -q "$d/4ti2/nt"); fi
            flows_col=0; alone_col=0 ;;
        petrispot)
            pnml=$shared/pnml/mcc/$(basename "$net" .net).pnml.gz
            if [ -f "$pnml" ]; then gzip -dc "$pnml" >"$d/net.pnml"; fi
            cmd=("$petrispot" "$petri_flag" -q -i "$d/net.pnml"); flows_col=0; alone_col=0 ;;
        esac
        if [ "$p" = petrispot ] && [ ! -f "$d/net.pnml" ]; then
            st=nopnml
        else
            read -r st t kb n < <(measure "$d/$p" "${cmd[@]}")
        fi
        if [ "$st" = nopnml ]; then
            t=-
            show=-
            kb=-
            flows=-
            n=-
        elif [ "$st" != ok ]; then
            [[ $st == exit* ]] && st=failed
            t=-
            show=$st
            flows=-
            alone=-
        else
            show=$(fmt_time "$t")
            if [ "$p" = 4ti2 ]; then
                # the lattice basis (zbasis) or the rays (rays): one of them exists
                result=$d/4ti2/nt.lat
                [ -f "$result" ] || result=$d/4ti2/nt.ray
                flows=$(awk 'NR == 1 { print $1 }' "$result" 2>/dev/null)
            elif [ "$p" = petrispot ]; then
                flows=$(grep -ho "Computed [0-9]* $petri_word" "$d/$p.1" "$d/$p.err" | awk '{ print $2; exit }')
            else
                flows=$(awk -v c="$flows_col" 'NR == 1 { print $c }' "$d/$p.1")
                alone=$(fmt_time "$(median_field "$d/$p" "$alone_col")")
            fi
            if [ "$cflows" = - ]; then
                flows="($flows)"
            elif [ "$flows" = "$cflows" ]; then flows=ok; else flows="DIFF:$flows"; fi
        fi
        mb=$(megabytes "${kb:--}")
        if [ "$p" = 4ti2 ] || [ "$p" = petrispot ]; then
            line+=$(printf ' | %8s %7s %7s %5s %2s' "$show" "$mb" "$(ratio "$t" "$ct")" "$flows" "${n/-/}")
        else
            line+=$(printf ' | %8s %8s %7s %7s %5s %2s' "$show" "$alone" "$mb" "$(ratio "$t" "$ct")" "$flows" "${n/-/}")
        fi
        sumline+=" $t"
    done
    printf '%s\n' "$line"
    echo "$sumline" >>"$sums"
    rm -rf "$d"
done

# --- summary -----------------------------------------------------------------
echo
awk -v names="${peers[*]}" '
    BEGIN { np = split(names, peer, " ") }
    { if ($1 == "-") next
      for (i = 1; i <= np; i++) {
          t = $(i + 1)
          if (t == "-") continue
          n[i]++; c[i] += $1; s[i] += t
          r = t > 0 ? $1 / t : 0
          if (r > slowest[i]) slowest[i] = r
      } }
    END {
        print "Summary, for each peer over the networks where crninv and that peer completed:"
        for (i = 1; i <= np; i++) {
            if (!n[i]) { printf "  %s: none\n", peer[i]; continue }
            printf "  %s: %d networks, crninv %.3f s, %s %.3f s (peer/crninv %.2f); crninv at most %.2f times the peer on one network\n",
                peer[i], n[i], c[i], peer[i], s[i], (c[i] > 0 ? s[i] / c[i] : 0), slowest[i]
        }
    }' "$sums"
