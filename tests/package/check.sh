#!/usr/bin/env bash
# The checks of the installed program and its package (see CMakeLists.txt beside this
# file). Each prints what is wrong and exits non-zero when something is. The tools come
# from scripts/install-deps.sh.
#
#   check.sh install BUILD PREFIX EXPECTED  cmake --install into PREFIX (made anew), which
#                                           then holds exactly the files listed
#   check.sh desktop PREFIX                 the menu entry, its program, icon and file types
#   check.sh metainfo PREFIX                the metainfo, with the tree it describes
#   check.sh mime PREFIX                    the file types through update-mime-database
#   check.sh programs PREFIX VERSION        --version and --help without a display, and
#                                           kivrel-cli finding the installed themed lists
#   check.sh deb BUILD OUTDIR EXPECTED VERSION
#                                           the package: contents, dependencies, lintian
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
same_files() {  # label, actual list, expected list file: what is missing or unexpected
  local wrong
  wrong=$(diff <(LC_ALL=C sort "$3") <(echo "$2") | sed -n 's/^</missing:/p; s/^>/unexpected:/p' || true)
  [ -z "$wrong" ] || fail "$1 does not hold the expected files:"$'\n'"$wrong"
}
key() { sed -n "s/^$2=//p" "$1" | head -n 1; }  # desktop file, key
# No display at all: the programs must not reach for one.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

what=${1:-}
shift || true
case "$what" in
  install)
    build=$1 prefix=$2
    rm -rf "$prefix"
    cmake --install "$build" --prefix "$prefix" >/dev/null
    same_files "the install in $prefix" "$(cd "$prefix" && find . -type f -o -type l | sed 's#^\./##' | LC_ALL=C sort)" "$3"
    ;;

  desktop)
    entry=$1/share/applications/org.kivrel.kivrel.desktop
    # Hints (advice) are allowed; errors and warnings are not.
    report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
    ! grep -E ': (error|warning):' <<<"$report" || fail "desktop-file-validate found faults"
    [ "$(key "$entry" Exec)" = "kivrel %f" ] || fail "Exec is \"$(key "$entry" Exec)\", not \"kivrel %f\""
    icon=$(key "$entry" Icon) icons=$1/share/icons/hicolor
    [ -f "$icons/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
    for png in "$icons"/*x*/apps/"$icon".png; do
      [ -f "$png" ] || fail "no fixed-size icons named $icon"
      size=$(od -An -tu4 --endian=big -j16 -N8 "$png" | awk '{ print $1 "x" $2 }')  # from the PNG header
      [ "$size" = "$(basename "$(dirname "$(dirname "$png")")")" ] || fail "$png is $size"
    done
    IFS=';' read -r -a types <<<"$(key "$entry" MimeType)"
    [ ${#types[@]} -eq 2 ] || fail "MimeType names ${#types[@]} types, not the two file types"
    for type in "${types[@]}"; do
      grep -q "type=\"$type\"" "$1"/share/mime/packages/*.xml || fail "MimeType $type is declared by no MIME package"
    done
    ;;

  metainfo)
    appstreamcli validate --no-net "$1/share/metainfo/org.kivrel.kivrel.metainfo.xml" || fail "appstreamcli validate"
    # The tree as a whole: the desktop entry it launches, the icon.
    appstreamcli validate-tree --no-net "$1" || fail "appstreamcli validate-tree"
    ;;

  mime)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/share/mime" "$work/home"
    cp -r "$1/share/mime/packages" "$work/share/mime/"
    export XDG_DATA_DIRS=$work/share XDG_DATA_HOME=$work/home
    # update-mime-database reports a bad package on stderr but still succeeds.
    errors=$(update-mime-database "$work/share/mime" 2>&1) && [ -z "$errors" ] || fail "update-mime-database: $errors"
    # The names every desktop program matches, case-blind (no "cs" flag).
    found=$(grep -v '^#' "$work/share/mime/globs2")
    wanted=$'50:application/x-kivrel-puzzle:*.kvp\n50:application/x-kivrel-word-list:*.kvl'
    [ "$found" = "$wanted" ] || fail "the file types in the database are \"$found\", not \"$wanted\""
    ;;

  programs)
    prefix=$(realpath "$1") version=$2
    for program in kivrel kivrel-cli; do
      answer=$(run "$prefix/bin/$program" --version) || fail "$program --version failed"
      [ "$answer" = "$program $version" ] || fail "$program --version says \"$answer\""
    done
    answer=$(run "$prefix/bin/kivrel" --help) || fail "kivrel --help failed"
    grep -q '^Usage: .*kivrel \[options\] \[FILE\]$' <<<"$answer" || fail "kivrel --help says: $answer"
    # From an empty folder, so that only the installed lists can answer to a name.
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
    answer=$(run "$prefix/bin/kivrel-cli" summary farm) || fail "kivrel-cli summary farm failed: $answer"
    grep -q '^Title: *On the Farm$' <<<"$answer" || fail "kivrel-cli summary farm says: $answer"
    ;;

  deb)
    build=$1 out=$2 expected=$3 version=$4
    rm -rf "$out" && mkdir -p "$out"
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log" >&2; fail cpack; }
    deb=$out/kivrel_${version}_$(dpkg --print-architecture).deb
    listing=$(dpkg-deb -c "$deb")
    # Every file under /usr as installed; everything owned by root.
    same_files "the package" "$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sed 's#^\./usr/##' | LC_ALL=C sort)" "$expected"
    ! awk '$2 != "root/root"' <<<"$listing" | grep . || fail "files not owned by root"
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6widgets6 libqt6svg6 qt6-qpa-plugins fonts-liberation; do
      grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package: $depends"
    done
    ! dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'inst$|rm$' || fail "maintainer scripts in the package"
    # Warnings fail too: any kept on purpose are suppressed here and listed in the README.
    lintian --fail-on error,warning "$deb" || fail "lintian"
    ;;

  *)
    fail "unknown check \"$what\""
    ;;
esac
