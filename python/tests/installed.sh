#!/bin/bash
# Installs the build into a scratch prefix, then, in a clean environment
# whose PYTHONPATH is only the prefix's Python folder, imports crninv from
# there and runs the Python example of the README as written, which must
# end its output with what the README shows after it (cobrapy's solver may
# print lines of its own first).
#
#   usage: installed.sh <build dir> <python> <python folder below the prefix> <README.md>
set -u
build=$(realpath "$1")
python=$2
folder=$3
readme=$(realpath "$4")
# In the build tree: a temporary folder may forbid loading the extension.
prefix=$(mktemp -d "$build/python-installed.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null || exit 1
# The README's Python section: its first python block, and the text block
# after it, what the example prints.
section() {
  awk -v kind="$1" '/^## /{inside = ($0 == "## Python")} inside && $0 == "```" kind {on = 1; next}
                    on && /^```$/ {exit} on {print}' "$readme"
}
section python >"$prefix/example.py"
section text >"$prefix/expected.txt"
if [[ ! -s $prefix/example.py || ! -s $prefix/expected.txt ]]; then
  echo "the README has no Python example with its output"
  exit 1
fi

cd "$prefix" || exit 2
clean() {
  env -i HOME="$prefix" PATH=/usr/bin:/bin PYTHONPATH="$prefix/$folder" "$python" "$@"
}
where=$(clean -c 'import crninv; print(crninv.__file__)') || exit 1
if [[ $where != "$prefix/$folder/crninv/__init__.py" ]]; then
  echo "crninv imported from $where, not from the installed tree"
  exit 1
fi
clean example.py >output.txt 2>errors.txt || { cat errors.txt; exit 1; }
tail -n "$(wc -l <expected.txt)" output.txt >actual.txt
if ! diff expected.txt actual.txt; then
  echo "the README's Python example printed something else"
  exit 1
fi
