#!/bin/sh
# The web pages of the example lists (the themed ones too), and one laid out
# otherwise, are valid HTML to tidy: no error and no warning.
#   valid_html.sh KIVREL_CLI TIDY EXAMPLES_DIR
set -eu
cli=$1 tidy=$2 examples=$3
page=$(mktemp --suffix=.html)
trap 'rm -f "$page"' EXIT
# Each line: a list, then the options of its page. tidy says nothing wrong of a file
# that is not there, so the page is made anew and must not be empty.
{ find "$examples" -name '*.kvl' | sort
  echo "$examples/notes-and-phrases.kvl --title-align right --puzzle-position bottom --outline --no-instructions"
} | while read -r list options; do
  rm -f "$page"
  # shellcheck disable=SC2086 # the options are words
  "$cli" build "$list" --seed 1 --html "$page" $options >/dev/null 2>&1 || true
  [ -s "$page" ] && "$tidy" -q -e "$page" || { echo "tidy finds fault with the web page of $list $options" >&2; exit 1; }
done
echo "valid: the example lists' web pages"
