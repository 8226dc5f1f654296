#!/usr/bin/env bash
# The checks of the installed program and its package (see CMakeLists.txt beside this
# file). Each prints what is wrong and exits non-zero when something is.
#
#   check.sh install BUILD PREFIX         cmake --install BUILD into PREFIX (made anew)
#   check.sh files PREFIX EXPECTED        PREFIX holds exactly the files listed
#   check.sh desktop PREFIX               the menu entry, its program, icon and file types
#   check.sh metainfo PREFIX              the metainfo, with the tree it describes
#   check.sh mime PREFIX LOOKUP           the file types through update-mime-database
#   check.sh programs PREFIX VERSION      --version and --help without a display
#   check.sh themes PREFIX                kivrel-cli finds the installed themed lists
#   check.sh deb BUILD OUTDIR EXPECTED VERSION
#                                         the package: name, contents, dependencies, lintian
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

need() {
  command -v "$1" >/dev/null || fail "$1 is not installed (package $2; scripts/install-deps.sh installs it)"
}

# The files under a folder, one path a line relative to it, sorted.
files_under() {
  (cd "$1" && find . \( -type f -o -type l \) | sed 's#^\./##' | LC_ALL=C sort)
}

same_files() {  # label, actual list, expected list file
  local wanted
  wanted=$(LC_ALL=C sort "$3")
  if [ "$2" != "$wanted" ]; then
    diff <(echo "$wanted") <(echo "$2") | sed 's/^</missing:/; s/^>/unexpected:/' | grep -E '^(missing|unexpected):' >&2 || true
    fail "$1 does not hold the expected files"
  fi
}

# Width and height of a PNG, from its header.
png_size() {
  local bytes
  bytes=($(od -An -tu1 -j16 -N8 "$1"))
  [ ${#bytes[@]} -eq 8 ] || return 1
  echo "$(((bytes[0] << 24) + (bytes[1] << 16) + (bytes[2] << 8) + bytes[3]))x$(((bytes[4] << 24) + (bytes[5] << 16) + (bytes[6] << 8) + bytes[7]))"
}

desktop_key() {  # file, key
  sed -n "s/^$2=//p" "$1" | head -n 1
}

what=${1:-}
shift || true
case "$what" in
  install)
    build=$1 prefix=$2
    rm -rf "$prefix"
    cmake --install "$build" --prefix "$prefix" >/dev/null
    ;;

  files)
    prefix=$1 expected=$2
    same_files "the install in $prefix" "$(files_under "$prefix")" "$expected"
    ;;

  desktop)
    prefix=$1
    need desktop-file-validate desktop-file-utils
    entry=$prefix/share/applications/org.kivrel.kivrel.desktop
    [ -f "$entry" ] || fail "no menu entry $entry"
    # Hints (advice) are allowed; errors and warnings are not.
    report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
    if grep -E ': (error|warning):' <<<"$report"; then fail "desktop-file-validate found faults"; fi
    program=$(desktop_key "$entry" Exec)
    [ "$program" = "kivrel %f" ] || fail "Exec is \"$program\", not \"kivrel %f\""
    [ -x "$prefix/bin/kivrel" ] || fail "Exec names kivrel, which is not installed"
    icon=$(desktop_key "$entry" Icon)
    icons=$prefix/share/icons/hicolor
    [ -f "$icons/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
    for png in "$icons"/*x*/apps/"$icon".png; do
      [ -f "$png" ] || fail "no fixed-size icons named $icon"
      folder=$(basename "$(dirname "$(dirname "$png")")")
      size=$(png_size "$png") || fail "$png is not a PNG"
      [ "$size" = "$folder" ] || fail "$png is $size, not $folder"
    done
    IFS=';' read -r -a types <<<"$(desktop_key "$entry" MimeType)"
    [ ${#types[@]} -eq 2 ] || fail "MimeType names ${#types[@]} types, not the two file types"
    for type in "${types[@]}"; do
      grep -q "type=\"$type\"" "$prefix"/share/mime/packages/*.xml || fail "MimeType $type is declared by no MIME package"
    done
    ;;

  metainfo)
    prefix=$1
    need appstreamcli appstream
    metainfo=$prefix/share/metainfo/org.kivrel.kivrel.metainfo.xml
    [ -f "$metainfo" ] || fail "no metainfo $metainfo"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
    # The tree as a whole: the desktop entry it launches, the icon.
    appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree"
    ;;

  mime)
    prefix=$1 lookup=$2
    need update-mime-database shared-mime-info
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/share/mime" "$work/home"
    cp -r "$prefix/share/mime/packages" "$work/share/mime/"
    export XDG_DATA_DIRS=$work/share XDG_DATA_HOME=$work/home
    # update-mime-database reports a bad package on stderr but still succeeds.
    errors=$(update-mime-database "$work/share/mime" 2>&1) || fail "update-mime-database: $errors"
    [ -z "$errors" ] || fail "update-mime-database: $errors"
    [ -f "$work/share/mime/mime.cache" ] || fail "update-mime-database made no mime.cache"
    found=$("$lookup" animals.kvl Zoo.KVP zoo.kvp)
    wanted="animals.kvl application/x-kivrel-word-list
Zoo.KVP application/x-kivrel-puzzle
zoo.kvp application/x-kivrel-puzzle"
    [ "$found" = "$wanted" ] || fail "the file types looked up are
$found
and not
$wanted"
    ;;

  programs)
    prefix=$1 version=$2
    # No display at all: these must not reach for one.
    run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }
    answer=$(run "$prefix/bin/kivrel" --version) || fail "kivrel --version failed"
    [ "$answer" = "kivrel $version" ] || fail "kivrel --version says \"$answer\""
    answer=$(run "$prefix/bin/kivrel" --help) || fail "kivrel --help failed"
    grep -q '^Usage: .*kivrel \[options\] \[FILE\]$' <<<"$answer" || fail "kivrel --help says: $answer"
    answer=$(run "$prefix/bin/kivrel-cli" --version) || fail "kivrel-cli --version failed"
    [ "$answer" = "kivrel-cli $version" ] || fail "kivrel-cli --version says \"$answer\""
    ;;

  themes)
    prefix=$(realpath "$1")
    themes=$prefix/share/kivrel/examples/themes
    run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }
    # From an empty folder, so that only the installed lists can answer to a name.
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
    answer=$(run "$prefix/bin/kivrel-cli" summary farm) || fail "kivrel-cli summary farm failed: $answer"
    grep -q '^Title: *On the Farm$' <<<"$answer" || fail "kivrel-cli summary farm says: $answer"
    answer=$(run "$prefix/bin/kivrel-cli" summary no-such-theme 2>&1) && fail "an unknown theme was taken"
    grep -qF "the themes in $themes are: animals, " <<<"$answer" || fail "an unknown theme is refused with: $answer"
    ;;

  deb)
    build=$1 out=$2 expected=$3 version=$4
    need cpack cmake
    need dpkg-shlibdeps dpkg-dev
    need lintian lintian
    rm -rf "$out"
    mkdir -p "$out"
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
      { cat "$out/cpack.log" >&2; fail "cpack"; }
    deb=$out/kivrel_${version}_$(dpkg --print-architecture).deb
    [ -f "$deb" ] || fail "cpack made no $(basename "$deb"): $(ls "$out")"
    listing=$(dpkg-deb -c "$deb")
    # Every file under /usr as installed; everything owned by root.
    same_files "the package" "$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sed 's#^\./usr/##' | LC_ALL=C sort)" "$expected"
    if awk '$2 != "root/root"' <<<"$listing" | grep .; then fail "files not owned by root"; fi
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6widgets6 libqt6svg6 qt6-qpa-plugins fonts-liberation; do
      grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package: $depends"
    done
    scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'inst$|rm$' || true)
    [ -z "$scripts" ] || fail "maintainer scripts in the package: $scripts"
    # Warnings fail too: any kept on purpose are suppressed here and listed in the README.
    lintian --fail-on error,warning "$deb" || fail "lintian"
    ;;

  *)
    fail "unknown check \"$what\""
    ;;
esac
