#!/usr/bin/env bash
# Writes the installed form of a demo catalogue: make-catalogue.sh SOURCE TARGET ENCODING
# The build-only attributes and the comment that explains them are dropped; ENCODING other
# than UTF-8 re-encodes the file (the client reads catalogues in either).
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: make-catalogue.sh SOURCE TARGET ENCODING" >&2; exit 2; }
source=$1
target=$2
encoding=$3
tmp=$target.tmp
perl -0pe 's/<!--.*?-->\n?//gs' "$source" |
  sed -E -e 's/ (demo|say|voice|movie)="[^"]*"//g' \
  -e "s/encoding=\"UTF-8\"/encoding=\"$encoding\"/" |
  iconv -f UTF-8 -t "$encoding" >"$tmp"
xmllint --noout "$tmp"
mv "$tmp" "$target"
