#!/bin/bash
# pnml2crn on files it must refuse: each case is a small document and the
# exact standard error expected; standard output must stay empty and the
# exit status be 1.
#
#   usage: pnml_errors.sh <pnml2crn>
set -u
bin=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
failed=0
PT='type="http://www.pnml.org/version-2009/grammar/ptnet"'

# expect NAME EXPECTED-STDERR [ARG | --none], with the document on
# standard input.
expect() {
  cat >net.pnml
  local args=(net.pnml)
  [[ $# -gt 2 ]] && args=("$3")
  [[ ${3-} == --none ]] && args=()
  "$bin" "${args[@]}" >out 2>err
  local status=$?
  if [[ $status != 1 || -s out || "$(<err)" != "$2" ]]; then
    echo "case $1: status $status (expected 1), stdout $(wc -c <out) bytes, stderr:"
    cat err
    echo "expected: $2"
    failed=1
  fi
}

expect coloured 'pnml2crn: net.pnml: line 2: the net'"'"'s type "http://www.pnml.org/version-2009/grammar/symmetricnet" is not a place/transition net (ptnet); coloured nets cannot be converted' <<'X'
<pnml xmlns="http://www.pnml.org/version-2009/grammar/pnml">
<net id="c" type="http://www.pnml.org/version-2009/grammar/symmetricnet"><page id="g">
<place id="p"><type><text>Dot</text></type></place>
</page></net></pnml>
X
expect root 'pnml2crn: net.pnml: line 1: not a PNML document: the root element is <sbml>' <<'X'
<sbml><net id="n" type="ptnet"/></sbml>
X
expect no_net 'pnml2crn: net.pnml: the document holds no net' <<'X'
<pnml><toolspecific><net id="n" type="ptnet"/></toolspecific></pnml>
X
expect two_nets 'pnml2crn: net.pnml: line 3: a second net: only files with one net can be converted' <<X
<pnml>
<net id="n1" $PT/>
<net id="n2" $PT/></pnml>
X
expect two_places 'pnml2crn: net.pnml: line 3: the arc joins two places' <<X
<pnml><net id="n" $PT>
<place id="p"/><place id="q"/>
<arc id="a" source="p" target="q"/></net></pnml>
X
expect unknown_node 'pnml2crn: net.pnml: line 4: the arc names "nowhere", which is no place or transition' <<X
<pnml><net id="n" $PT>
<place id="p"/><transition id="t"/>
<arc id="a" source="p" target="t"/>
<arc id="b" source="t" target="nowhere"/></net></pnml>
X
expect wrong_reference 'pnml2crn: net.pnml: the reference "r" names "t", a node of the other kind' <<X
<pnml><net id="n" $PT><place id="p"/><transition id="t"/>
<referencePlace id="r" ref="t"/><arc id="a" source="r" target="t"/></net></pnml>
X
expect weight_zero 'pnml2crn: net.pnml: line 4: arc weight "0" is not a whole number from 1 to 2147483647' <<X
<pnml><net id="n" $PT><place id="p"/><transition id="t"/>
<arc id="a" source="p" target="t">
<inscription>
<text>0</text></inscription></arc></net></pnml>
X
expect weight_too_big 'pnml2crn: net.pnml: line 2: arc weight "2147483648" is not a whole number from 1 to 2147483647' <<X
<pnml><net id="n" $PT><place id="p"/><transition id="t"/>
<arc id="a" source="t" target="p"><inscription><text>2147483648</text></inscription></arc></net></pnml>
X
expect weights_add_up 'pnml2crn: net.pnml: the arcs between p and transition t weigh more than 2147483647 together' <<X
<pnml><net id="n" $PT><place id="p"/><transition id="t"/>
<arc id="a" source="t" target="p"><inscription><text>2147483647</text></inscription></arc>
<arc id="b" source="t" target="p"/></net></pnml>
X
expect reset 'pnml2crn: net.pnml: line 4: the arc "a" is a reset arc: it empties its place by as many tokens as it holds, which no fixed coefficient says; nets with reset arcs cannot be converted' <<X
<pnml><net id="n" type="http://www.pnml.org/version-2009/grammar/pnmlcoremodel"><page id="g">
<place id="p"/><transition id="t"/>
<arc id="a" source="p" target="t"><arctype><text>reset</text></arctype>
</arc></page></net></pnml>
X
expect unknown_arc_kind 'pnml2crn: net.pnml: line 2: the arc "a" is of type "variable", which pnml2crn does not know' <<X
<pnml><net id="n" type="P/T net"><place id="p"/><transition id="t"/>
<arc id="a" source="p" target="t" type="variable" weight="1"/>
</net></pnml>
X
expect several_token_classes 'pnml2crn: net.pnml: line 2: arc weight "Default,1,red,2" gives tokens of several classes: coloured nets cannot be converted' <<X
<pnml><net id="n" type="P/T net"><place id="p"/><transition id="t"/>
<arc id="a" source="p" target="t"><inscription><value>Default,1,red,2</value></inscription>
</arc></net></pnml>
X
expect high_level 'pnml2crn: net.pnml: line 1: the net'"'"'s type "http://www.pnml.org/version-2009/grammar/highlevelnet" is not a place/transition net (ptnet); coloured nets cannot be converted' <<X
<pnml><net id="h" type="http://www.pnml.org/version-2009/grammar/highlevelnet"/></pnml>
X
expect unknown_type 'pnml2crn: net.pnml: line 1: the net'"'"'s type "http://example.org/timed-arc-net" is none that pnml2crn knows; place/transition nets are typed ptnet, "P/T net", ptNetb or pnmlcoremodel' <<X
<pnml><net id="u" type="http://example.org/timed-arc-net"/></pnml>
X
expect twice 'pnml2crn: net.pnml: line 2: the id "p" is declared twice' <<X
<pnml><net id="n" $PT><place id="p"/>
<transition id="p"/></net></pnml>
X
expect not_xml 'pnml2crn: net.pnml: line 2: not well-formed XML: mismatched tag' <<X
<pnml><net id="n" $PT><place id="p">
</net></pnml>
X
expect missing 'pnml2crn: missing.pnml: cannot open: No such file or directory' missing.pnml </dev/null
# A compressed net cut short, here before the end of its first block.
printf '<pnml><net id="n" %s><place id="p"/></net></pnml>\n' "$PT" | gzip -c | head -c 40 >cut.pnml.gz
expect truncated_gzip 'pnml2crn: cut.pnml.gz: cannot read: unexpected end of file' cut.pnml.gz </dev/null
expect directory 'pnml2crn: .: cannot read: Is a directory' . </dev/null
expect usage 'Usage: pnml2crn FILE.pnml' --none </dev/null
exit $failed
