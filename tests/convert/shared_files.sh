#!/bin/bash
# The converters on the models and nets in ../shared/ and on the sample
# models of Debian's libsbml5-examples: every file converts (exit 0), and
# the reaction lines of the genome-scale models and of the Petri nets are
# those that the converters wrote before they learned the other dialects
# (their SHA-256, first 16 hex digits, over the lines that are no
# comment). Exit 77 (skipped) when none of these files is there.
#
#   usage: shared_files.sh <sbml2crn> <pnml2crn> <crninv> <shared dir>
set -u
sbml2crn=$1 pnml2crn=$2 crninv=$3 shared=$4
samples=/usr/share/doc/libsbml5-examples/examples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0 converted=0

# convert CONVERTER FILE [EXPECTED-HASH]
convert() {
  "$1" "$2" >"$work/out" 2>"$work/err"
  local status=$?
  converted=$((converted + 1))
  if [[ $status != 0 ]]; then
    echo "$2: exit status $status"
    head -n 5 "$work/err"
    failed=1
  elif [[ -n ${3-} ]]; then
    local hash
    hash=$(grep -v '^#' "$work/out" | sha256sum | cut -c1-16)
    [[ $hash == "$3" ]] || { echo "$2: reaction lines changed ($hash, expected $3)"; failed=1; }
  fi
}

while read -r hash file; do
  [[ -f $shared/$file ]] || continue
  case $file in
    sbml/*) convert "$sbml2crn" "$shared/$file" "$hash" ;;
    *) convert "$pnml2crn" "$shared/$file" "$hash" ;;
  esac
done <<'TABLE'
f227bb8456004981 sbml/e_coli_core.xml
65fced1a6f364bd2 sbml/iJO1366.xml.gz
e88305a5e4f71cc8 sbml/mini_cobra.xml
4f72f78138e3cd1a pnml/DrinkVendingMachine-PT-02.pnml
de5380310748662f pnml/ProductionCell-PT-none.pnml
40ff91846dc96ee3 pnml/Raft-PT-02.pnml
23e9dd652498b77a pnml/Referendum-PT-0020.pnml
1b518f431dcf1c04 pnml/RefineWMG-PT-025026.pnml
ee32456f3827d919 pnml/TriangularGrid-PT-2011.pnml
eb5d7c54dfabfbe5 pnml/mcc/Anderson-PT-11.pnml.gz
0d7957580ef5f2e5 pnml/mcc/BusinessProcesses-PT-08.pnml.gz
97f0e46ccd866335 pnml/mcc/BusinessProcesses-PT-20.pnml.gz
d41f029384c009e5 pnml/mcc/CANInsertWithFailure-PT-100.pnml.gz
ccddc95a82acb381 pnml/mcc/CloudDeployment-PT-5b.pnml.gz
a6a1895ca326ea32 pnml/mcc/DBSingleClientW-PT-d0m06.pnml.gz
5e08a33226d95153 pnml/mcc/DBSingleClientW-PT-d2m04.pnml.gz
cf2dcfb454e6eb42 pnml/mcc/DLCflexbar-PT-5b.pnml.gz
4f72f78138e3cd1a pnml/mcc/DrinkVendingMachine-PT-02.pnml.gz
d4793af763e99b40 pnml/mcc/FamilyReunion-PT-L00050M0005C002P002G001.pnml.gz
c4fdbcff5bcf3603 pnml/mcc/HypertorusGrid-PT-d4k3p2b08.pnml.gz
34972699041402a2 pnml/mcc/LamportFastMutEx-PT-2.pnml.gz
620b4ee6e5c86753 pnml/mcc/LeafsetExtension-PT-S64C3.pnml.gz
21a57d0e87da88b2 pnml/mcc/MultiCrashLeafsetExtension-PT-S32C05.pnml.gz
d4ed50c8d33c02f5 pnml/mcc/NeighborGrid-PT-d4n3m2c23.pnml.gz
98d3a5ee3c61f42a pnml/mcc/Peterson-PT-7.pnml.gz
2fdde9ffe5915904 pnml/mcc/PhaseVariation-PT-D20CS010.pnml.gz
de5380310748662f pnml/mcc/ProductionCell-PT-none.pnml.gz
23fd0618477f534a pnml/mcc/QuasiCertifProtocol-PT-28.pnml.gz
ee902b11f16a8bae pnml/mcc/RERS2020-PT-pb103.pnml.gz
40ff91846dc96ee3 pnml/mcc/Raft-PT-02.pnml.gz
23e9dd652498b77a pnml/mcc/Referendum-PT-0020.pnml.gz
44a41918a6360d3f pnml/mcc/Referendum-PT-1000.pnml.gz
1b518f431dcf1c04 pnml/mcc/RefineWMG-PT-025026.pnml.gz
7c09409ab40866e3 pnml/mcc/RwMutex-PT-r0010w0100.pnml.gz
0cf717959d1b42f4 pnml/mcc/RwMutex-PT-r0010w0500.pnml.gz
9fe3156abe667786 pnml/mcc/ServersAndClients-PT-100080.pnml.gz
0d9bb533addba637 pnml/mcc/Sudoku-PT-BN09.pnml.gz
f7f7dc9d9cc1699e pnml/mcc/TokenRing-PT-005.pnml.gz
ee32456f3827d919 pnml/mcc/TriangularGrid-PT-2011.pnml.gz
a06c5b9cc79d83f8 pnml/mcc/Vasy2003-PT-none.pnml.gz
be16f5245bd8e0fe pnml/mcc/ViralEpidemic-PT-S02D1C1A12.pnml.gz
cf7a89f4756d4d76 pnml/mcc/ViralEpidemic-PT-S08D1C2A04.pnml.gz
TABLE

# Salmonella iYS1720: libSBML finds fault with three chemical formulas,
# which the network does not use; the model converts, and says so.
if [[ -f $shared/sbml/salmonella.xml.gz ]]; then
  convert "$sbml2crn" "$shared/sbml/salmonella.xml.gz"
  expected="sbml2crn: warning: $shared/sbml/salmonella.xml.gz: libSBML reports 3 errors and 0 warnings; converting all the same"
  [[ $(head -n 1 "$work/err") == "$expected" ]] || { echo "salmonella: stderr starts otherwise:"; head -n 2 "$work/err"; failed=1; }
  grep -q '^# reactions: 3357 in the model, 3357 written' "$work/out" || { echo "salmonella: not every reaction written"; failed=1; }
fi

# E. coli core without its biomass reaction has five conservation laws.
if [[ -f $shared/sbml/e_coli_core.xml ]]; then
  "$sbml2crn" "$shared/sbml/e_coli_core.xml" 2>/dev/null | grep -v '^R_BIOMASS' >"$work/core.net"
  flows=$("$crninv" "$work/core.net" 2>/dev/null | sed -n '/^Flows/,/^$/p' | grep -c $'^\t')
  [[ $flows == 5 ]] || { echo "e_coli_core: $flows conservation laws, expected 5"; failed=1; }
fi

# --split-reversible on the COBRA models: the reactions whose fbc bounds
# allow both signs become two, those that allow only the reverse are
# turned round (counted apart with libSBML's Python binding).
split_counts() {
  [[ -f $shared/sbml/$1 ]] || return
  local line="# reversible reactions split into ID and ID_rev (--split-reversible): $2; written reversed, as their flux bounds allow the reverse direction only: $3"
  "$sbml2crn" --split-reversible "$shared/sbml/$1" >"$work/split" 2>/dev/null
  grep -qxF "$line" "$work/split" || { echo "$1: split counts differ:"; grep 'split into' "$work/split"; failed=1; }
  local lines
  lines=$(grep -vc '^#' "$work/split")
  [[ $lines == "$4" ]] || { echo "$1: $lines reaction lines split, expected $4"; failed=1; }
}
split_counts iJO1366.xml.gz 636 0 3219
split_counts e_coli_core.xml 46 1 141

for f in "$samples"/sample-models/*/*.xml "$samples"/sample-models/*/*/*.xml "$samples"/r/*.xml; do
  [[ -f $f ]] && convert "$sbml2crn" "$f"
done

if ((converted == 0)); then
  echo "no shared model or net, no libSBML sample model here"
  exit 77
fi
echo "$converted files converted"
exit $failed
