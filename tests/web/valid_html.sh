#!/bin/sh
# The web pages of the example lists (the themed ones too), and one laid out
# otherwise, are valid HTML to tidy: no error and no warning.
#   valid_html.sh KIVREL_CLI TIDY EXAMPLES_DIR
set -eu
cli=$1
tidy=$2
examples=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

check() {
  # tidy says nothing wrong of a file that is not there.
  if [ ! -s "$dir/page.html" ] || ! "$tidy" -q -e "$dir/page.html"; then
    echo "tidy finds fault with the web page of $*" >&2
    exit 1
  fi
}
find "$examples" -name '*.kvl' | sort | while read -r list; do
  rm -f "$dir/page.html"
  "$cli" build "$list" --seed 1 --html "$dir/page.html" >/dev/null 2>&1
  check "$list"
done
rm -f "$dir/page.html"
"$cli" build "$examples/notes-and-phrases.kvl" --seed 1 --html "$dir/page.html" --title-align right \
  --puzzle-position bottom --outline --no-instructions >/dev/null 2>&1
check "$examples/notes-and-phrases.kvl, list above, answers shown"
echo "valid: the example lists' web pages"
