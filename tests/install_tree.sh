#!/bin/bash
# Installs the build into a scratch prefix and uses the installed tree as a
# user would: crninv on an example, each converter through crninv, the
# library through find_package(crninv) in a program of its own
# (examples/consumer), and every manual page rendered without a warning.
# Exit 77 (skipped) when neither man nor groff is there to render the pages.
#
#   usage: install_tree.sh <build dir> <tests dir> [<compiler flags of the build>]
# The consumer is compiled with the build's flags: a library built with the
# sanitizers links only into a program built with them.
set -u
build=$(realpath "$1")
tests=$(realpath "$2")
flags=${3:-}
# The prefix lies in the build tree, where programs are known to run (a
# temporary folder may be mounted without the right to execute).
prefix=$(mktemp -d "$build/install-tree.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failed=0

cmake --install "$build" --prefix "$prefix" >/dev/null || exit 1
bin=$prefix/bin
pages=$prefix/share/man/man1

expected=$tests/cli/example_hydrogen
cd "$tests/../examples" || exit 2
"$bin/crninv" hydrogen.net >"$prefix/out.txt" 2>"$prefix/err.txt"
if [[ $? != 0 ]] || ! cmp -s "$prefix/out.txt" "$expected/stdout" ||
  ! cmp -s "$prefix/err.txt" "$expected/stderr"; then
  echo "installed crninv: not the expected run on the hydrogen example"
  failed=1
fi
cd "$prefix" || exit 2
for format in sbml pnml; do
  [[ -x $bin/${format}2crn ]] || continue
  for case in "$tests/convert/$format"/*/; do
    [[ -f $case/report ]] || continue
    bash "$tests/convert/run_convert_case.sh" "$bin/${format}2crn" "$bin/crninv" "$case" || failed=1
  done
done

# A program built against the installed library alone: the package, the
# headers and the libraries under the prefix, nothing of this tree's.
consumer=$prefix/consumer-build
if ! cmake -S "$tests/../examples/consumer" -B "$consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$flags" >"$prefix/consumer.log" 2>&1 ||
  ! cmake --build "$consumer" >>"$prefix/consumer.log" 2>&1; then
  echo "examples/consumer does not build against the installed library:"
  cat "$prefix/consumer.log"
  failed=1
elif [[ "$("$consumer/conservation_laws" "$tests/../examples/hydrogen.net")" != \
  $'2 H2 + 2 H2O + H + OH\n2 O2 + H2O + OH + O' ]]; then
  echo "examples/consumer: not the laws of the hydrogen example"
  failed=1
fi

for program in "$bin"/*; do
  name=$(basename "$program")
  [[ -f $pages/$name.1 ]] || { echo "no manual page for $name"; failed=1; }
done
for page in "$pages"/*.1; do
  if command -v man >/dev/null; then
    MANPAGER=cat MANWIDTH=80 man --warnings -l "$page" >out.txt 2>warnings.txt
  elif command -v groff >/dev/null; then
    groff -man -Tutf8 -ww "$page" >out.txt 2>warnings.txt
  else
    echo "neither man nor groff: manual pages not rendered"
    exit 77
  fi
  if [[ ! -s out.txt || -s warnings.txt ]]; then
    echo "$page does not render cleanly:"
    cat warnings.txt
    failed=1
  fi
done
exit $failed
