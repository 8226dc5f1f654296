#!/bin/sh
# The web pages of the example lists, and one laid out otherwise, are valid HTML to
# tidy: no error and no warning.
#   valid_html.sh KIVREL_CLI TIDY EXAMPLES_DIR
set -eu
cli=$1
tidy=$2
examples=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

check() {
  if ! "$tidy" -q -e "$dir/page.html"; then
    echo "tidy finds fault with the web page of $*" >&2
    exit 1
  fi
}
for list in "$examples"/*.kvl; do
  "$cli" build "$list" --seed 1 --html "$dir/page.html" >/dev/null 2>&1
  check "$list"
done
"$cli" build "$examples/notes-and-phrases.kvl" --seed 1 --html "$dir/page.html" --title-align right \
  --puzzle-position bottom --outline --no-instructions >/dev/null 2>&1
check "$examples/notes-and-phrases.kvl, list above, answers shown"
echo "valid: the example lists' web pages"
