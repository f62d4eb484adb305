# Sourced by the case runners: compare EXPECTED ACTUAL [LABEL] checks two
# files byte for byte, shows a difference in cat -A notation (tabs, trailing
# blanks and NUL bytes visible) and sets failed=1 when they differ.
failed=0
compare() {
  if ! cmp -s "$1" "$2"; then
    echo "${3:-$1} differs (- expected, + actual; cat -A notation):"
    diff -u <(cat -A "$1") <(cat -A "$2")
    failed=1
  fi
}
