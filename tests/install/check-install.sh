#!/usr/bin/env bash
# Checks what a user gets on a machine: the installed tree as the desktop, man and the shell
# see it.
#
# Usage: check-install.sh tree    BUILD_DIR with-kurs|without-kurs
#        check-install.sh package BUILD_DIR with-kurs|without-kurs CPACK
#   tree     installs the build with DESTDIR into a temporary folder, prefix /usr
#   package  builds the Debian package with CPack, runs lintian on it and checks its control
#            fields, then unpacks it into a temporary folder
# Both then check the same tree: the programs, the menu entries (desktop-file-validate), the
# icons of every size, the AppStream metadata (appstreamcli), the manual pages (man -l) and
# `quendral-batch --help` and `quendral-kurs --help` run from the tree. with-kurs says the
# course window is built; without it, none of its files may be installed.
set -uo pipefail

mode=${1:?mode} build=$(realpath "${2:?build folder}") kurs=${3:?with-kurs or without-kurs}
work=$(mktemp -d "${TMPDIR:-/tmp}/quendral-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
root=$work/root usr=$work/root/usr
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

programs=(QuendralAuswertung quendral-batch)
apps=(de.quendral.Auswertung)
if [ "$kurs" = with-kurs ]; then
  programs+=(quendral-kurs)
  apps+=(de.quendral.Kursauswertung)
fi
icon_sizes=(16 22 24 32 48 64 128 256)

install_tree() {
  DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 \
    || { cat "$work/install.log" >&2; fail "cmake --install failed"; exit 1; }
}

# One control field of the package.
field() { dpkg-deb -f "$deb" "$1"; }

build_package() {
  local cpack=${1:?cpack}
  (cd "$build" && "$cpack" -G DEB -B "$work/package") >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; exit 1; }
  deb=$(find "$work/package" -maxdepth 1 -name 'quendral_*.deb')
  [ -f "$deb" ] || { fail "no quendral_*.deb in $(ls "$work/package")"; exit 1; }
  echo "package: $(basename "$deb")"

  # Every tag is shown, down to the informational ones; only errors fail.
  lintian --fail-on error --display-info --display-experimental --pedantic "$deb" \
    >"$work/lintian.log" 2>&1 || fail "lintian reports errors"
  grep -v 'root privileges' "$work/lintian.log"

  local depends
  depends=$(field Depends)
  # The run-time packages shlibdeps cannot see, and a sample of what it must find.
  for needed in qt6-qpa-plugins qt6-translations-l10n fonts-liberation \
    libqt6widgets6 libqt6charts6 libjpeg62-turbo libc6; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
  done
  [[ $(field Maintainer) =~ ^[^\<\>]+\ \<[^@\ ]+@[^@\ ]+\>$ ]] \
    || fail "Maintainer is not 'Name <address>': $(field Maintainer)"
  [ "$(field Section)" = education ] || fail "Section is '$(field Section)'"
  [ -n "$(field Description | sed -n 2p)" ] || fail "the description has no long text"

  dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
  local logged
  logged=$(zcat "$usr/share/doc/quendral/changelog.gz" | sed -n '1s/^quendral (\([^)]*\)).*/\1/p')
  [ "$logged" = "$(field Version)" ] \
    || fail "the changelog's last entry is $logged, the package is $(field Version)"
  for program in "${programs[@]}"; do
    readelf -S "$usr/bin/$program" | grep -q '\.symtab' && fail "$program is not stripped"
  done
}

# Width and height of a PNG, from its header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" \
    $5*16777216 + $6*65536 + $7*256 + $8 }'
}

check_programs() {
  for program in "${programs[@]}"; do
    [ -x "$usr/bin/$program" ] || fail "no program bin/$program"
    local page=$usr/share/man/man1/$program.1.gz
    if [ ! -f "$page" ]; then
      fail "no manual page man1/$program.1.gz"
      continue
    fi
    MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >"$work/$program.man" 2>"$work/man.err"
    [ -s "$work/man.err" ] && fail "man -l $program.1.gz warns: $(cat "$work/man.err")"
    grep -q "^BEZEICHNUNG" "$work/$program.man" || fail "$program.1 has no BEZEICHNUNG"
    grep -q "^       $program - " "$work/$program.man" || fail "$program.1 names no $program"
  done
}

# The batch tool starts from the tree, and every option its help names is in its manual.
check_batch_help() {
  local help
  help=$(timeout 10 "$usr/bin/quendral-batch" --help) || fail "quendral-batch --help failed"
  [[ $help == "Aufruf: quendral-batch "* ]] || fail "quendral-batch --help: $help"
  local options
  options=$(grep -oE '^  +(-[a-z]|--[a-z]+)(, --[a-z]+)?' <<<"$help" | grep -oE -- '-[-a-z]+')
  [ -n "$options" ] || fail "no options found in quendral-batch --help"
  for option in $options; do
    grep -qE -- "^       (-[a-z], )?$option( |,|$)" "$work/quendral-batch.man" \
      || fail "option $option of --help is not in quendral-batch.1"
  done
}

# The course report comes from a module the program loads from beside itself: it must be
# found in the installed tree, and work there without a display.
check_batch_pdf() {
  mkdir -p "$work/kurs"
  head -c 395 /dev/zero >"$work/kurs/a.dat"
  local said
  said=$(cd "$work" && timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY \
    "$usr/bin/quendral-batch" -o /dev/null --pdf kurs.pdf kurs 2>&1) \
    || fail "quendral-batch --pdf in the tree: $said"
  [ "$(head -c 5 "$work/kurs.pdf" 2>/dev/null)" = "%PDF-" ] || fail "quendral-batch wrote no PDF"
}

# The course window starts from the tree far enough to tell its command line, without any
# display.
check_kurs_help() {
  [ "$kurs" = with-kurs ] || return 0
  local help
  help=$(timeout 10 env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/quendral-kurs" --help) \
    || fail "quendral-kurs --help failed"
  [[ $help == "Aufruf: quendral-kurs [ORDNER]"* ]] || fail "quendral-kurs --help: $help"
}

check_icons() {
  local app=$1 icons=$usr/share/icons/hicolor
  [ -f "$icons/scalable/apps/$app.svg" ] || fail "no scalable icon $app.svg"
  grep -q '<svg' "$icons/scalable/apps/$app.svg" 2>/dev/null || fail "$app.svg is no SVG"
  for size in "${icon_sizes[@]}"; do
    local png=$icons/${size}x${size}/apps/$app.png
    if [ ! -f "$png" ]; then
      fail "no icon ${size}x${size}/apps/$app.png"
    elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
      fail "${size}x${size}/apps/$app.png is $(png_size "$png")"
    fi
  done
}

check_desktop_programs() {
  for app in "${apps[@]}"; do
    local entry=$usr/share/applications/$app.desktop
    local metainfo=$usr/share/metainfo/$app.metainfo.xml
    if [ ! -f "$entry" ] || [ ! -f "$metainfo" ]; then
      fail "$app: no desktop entry or no metainfo"
      continue
    fi
    local said
    said=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate $app: $said"
    grep -qE '^(error|warning)' <<<"$said" && fail "desktop-file-validate $app: $said"
    for key in Name GenericName Comment Keywords; do
      grep -q "^$key=." "$entry" || fail "$app.desktop has no $key"
    done
    local exec icon
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -x "$usr/bin/$exec" ] || fail "$app.desktop starts '$exec', which is not installed"
    [ "$icon" = "$app" ] || fail "$app.desktop shows icon '$icon'"
    check_icons "$app"
    said=$(appstreamcli validate --no-net "$metainfo" 2>&1) \
      || fail "appstreamcli validate $app: $said"
    grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" \
      || fail "$app.metainfo.xml launches no $app.desktop"
  done
  # The tree as a whole: each metainfo file finds its desktop entry.
  local said
  said=$(appstreamcli validate-tree --no-net "$root" 2>&1) \
    || fail "appstreamcli validate-tree: $said"
  if [ "$kurs" != with-kurs ]; then
    local stray
    stray=$(find "$root" -name '*Kursauswertung*' -o -name 'quendral-kurs*')
    [ -z "$stray" ] || fail "course window files without its program: $stray"
  fi
}

case $mode in
  tree) install_tree ;;
  package) build_package "${4:?cpack}" ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
check_programs
check_batch_help
check_batch_pdf
check_kurs_help
check_desktop_programs

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed tree ($mode) complete: ${programs[*]}; ${apps[*]}"
