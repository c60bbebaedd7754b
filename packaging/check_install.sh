#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The install and package checks (run by ctest):
#   check_install.sh install BUILD SOURCE "ICON SIZES" "MIME TYPES"
#       installs into a temporary DESTDIR and checks every file with the desktop's own tools:
#       desktop-file-validate, appstreamcli, update-mime-database, man; then a per-user prefix.
#   check_install.sh package BUILD SOURCE ...
#       builds the Debian package into a temporary folder, lists it and runs lintian.
set -euo pipefail

mode=$1 build=$2 source=$3 icon_sizes=$4 mime_types=$5
app=org.graphitello.Graphitello
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || fail "$1 is missing (the Debian package $2; make deps installs it)"; }

# The files an install holds, relative to the prefix.
expected_files() {
  echo bin/graphitello
  echo bin/graphitello-cli
  echo share/applications/$app.desktop
  echo share/metainfo/$app.metainfo.xml
  echo share/mime/packages/$app.xml
  for size in $icon_sizes; do echo "share/icons/hicolor/${size}x${size}/apps/$app.png"; done
  echo share/man/man1/graphitello.1.gz
  echo share/man/man1/graphitello-cli.1.gz
  echo share/doc/graphitello/copyright
  echo share/doc/graphitello/changelog.gz
  echo share/graphitello/presets/Pencil.preset
}

check_install() {
  need desktop-file-validate desktop-file-utils
  need appstreamcli appstream
  need update-mime-database shared-mime-info
  need man man-db
  local root=$work/root prefix=/usr
  DESTDIR=$root cmake --install "$build" --prefix "$prefix" >/dev/null
  local missing=0
  while read -r f; do
    [ -f "$root$prefix/$f" ] || { echo "missing: $prefix/$f" >&2; missing=1; }
  done < <(expected_files)
  [ $missing -eq 0 ] || fail "the install lacks files"
  [ -x "$root$prefix/bin/graphitello" ] && [ -x "$root$prefix/bin/graphitello-cli" ] || fail "the programs are not executable"

  # Each icon is the size its folder says.
  for size in $icon_sizes; do
    file "$root$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png" | grep -q "PNG image data, $size x $size" ||
      fail "the ${size}x${size} icon has another size"
  done

  # The desktop entry: valid, and it offers the program for every picture type and the parameter files.
  local desktop=$root$prefix/share/applications/$app.desktop
  # (It still exits with 0 for some errors, "fatal in the future": any complaint fails here.)
  desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1 || true
  [ ! -s "$work/desktop.log" ] || { cat "$work/desktop.log" >&2; fail "desktop-file-validate rejects the desktop entry"; }
  local offered expected="" type
  for type in $mime_types; do expected+="$type;"; done
  offered=$(sed -n 's/^MimeType=//p' "$desktop")
  [ "$offered" = "$expected" ] || fail "MimeType is '$offered', expected '$expected'"
  grep -q '^Exec=graphitello %f$' "$desktop" || fail "the desktop entry does not start graphitello with the file"
  for lang in en fr zh; do
    grep -q "^Exec=graphitello --lang $lang %f$" "$desktop" || fail "no desktop action starts in $lang"
  done

  # The software-centre metadata.
  appstreamcli validate --no-net --explain "$root$prefix/share/metainfo/$app.metainfo.xml" ||
    fail "appstreamcli rejects the metainfo"

  # The licence, said alike by the metadata, the copyright file and the manual pages.
  grep -q '<project_license>GPL-3.0-or-later</project_license>' "$root$prefix/share/metainfo/$app.metainfo.xml" ||
    fail "the metainfo names no project licence"
  head -1 "$root$prefix/share/doc/graphitello/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in Debian's machine-readable format"

  # The MIME type: the database built from our file knows *.gtl.
  mkdir -p "$work/mime/packages"
  cp "$root$prefix/share/mime/packages/$app.xml" "$work/mime/packages/"
  # (It always remarks that the scratch folder is not on the search path; that is not a complaint.)
  update-mime-database "$work/mime" 2>"$work/mime.err" || { cat "$work/mime.err" >&2; fail "update-mime-database rejects the MIME type"; }
  if grep -qiE 'warning|error|invalid|unknown' "$work/mime.err"; then
    cat "$work/mime.err" >&2
    fail "update-mime-database complains about the MIME type"
  fi
  grep -q 'application/x-graphitello-parameters:\*\.gtl' "$work/mime/globs" || fail "*.gtl is not the parameter files' type"

  # The manual pages render without a warning, and the command line's help is all in them.
  local page
  for page in graphitello graphitello-cli; do
    local gz=$root$prefix/share/man/man1/$page.1.gz
    MANWIDTH=80 man --warnings -E UTF-8 -l "$gz" >"$work/$page.txt" 2>"$work/$page.err" || fail "man -l $page.1 fails"
    [ ! -s "$work/$page.err" ] || { cat "$work/$page.err" >&2; fail "man warns about $page.1"; }
    grep -q "^NAME" "$work/$page.txt" || fail "$page.1 renders without a NAME section"
    grep -q "^COPYRIGHT" "$work/$page.txt" && grep -q "GNU General Public License" "$work/$page.txt" ||
      fail "$page.1 does not give the licence"
  done
  # The desktop program's help needs no display.
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root$prefix/bin/graphitello" --help >/dev/null ||
    fail "graphitello --help fails"
  local cli=$root$prefix/bin/graphitello-cli options command
  for command in render batch styles "adjust resize" "adjust retouch"; do
    # shellcheck disable=SC2086
    options=$("$cli" $command --help | grep -o -- '--[a-z0-9-]*' | sort -u)
    for option in $options; do
      grep -qF -- "\\-\\-${option#--}" <(gzip -dc "$root$prefix/share/man/man1/graphitello-cli.1.gz") ||
        fail "graphitello-cli $command --help has $option, its manual page does not"
    done
  done

  # A per-user install: another prefix, no DESTDIR.
  cmake --install "$build" --prefix "$work/home/.local" >/dev/null
  [ -x "$work/home/.local/bin/graphitello" ] && [ -f "$work/home/.local/share/applications/$app.desktop" ] ||
    fail "an install into another prefix lacks files"
  echo "install: $(expected_files | wc -l) files, all checked"
}

check_package() {
  need cpack cmake
  need dpkg-deb dpkg
  need dpkg-shlibdeps dpkg-dev
  need lintian lintian
  # The package's files come from a stripped install into a scratch folder rather than from cpack's
  # own install step, which would first build every target of the build, the tests included.
  DESTDIR=$work/stage cmake --install "$build" --prefix /usr --strip >/dev/null
  (cd "$work" && cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" -D CPACK_INSTALL_CMAKE_PROJECTS= \
    -D "CPACK_INSTALLED_DIRECTORIES=$work/stage;." >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
  local deb
  deb=$(ls "$work"/out/*.deb)
  local listing=$work/listing
  dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||' >"$listing"
  while read -r f; do
    grep -qx "usr/$f" "$listing" || fail "the package lacks /usr/$f"
  done < <(expected_files)
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libqt6widgets6 libjpeg62-turbo libc6 qt6-qpa-plugins; do
    [[ $depends == *"$lib"* ]] || fail "the package does not depend on $lib (Depends: $depends)"
  done
  # Errors fail the check; warnings are shown.
  lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
  cat "$work/lintian.log"
  if grep -q '^E: ' "$work/lintian.log"; then fail "lintian reports errors"; fi
  echo "package: $(basename "$deb"), $(wc -l <"$listing") entries, Depends: $depends"
}

case $mode in
  install) check_install ;;
  package) check_package ;;
  *) fail "unknown mode $mode" ;;
esac
