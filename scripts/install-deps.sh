#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Graphitello need; only what is
# missing, without questions. Runs as root, or through sudo otherwise.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  clang-19 libclang-rt-19-dev  # the second compiler; libFuzzer and the sanitizers for it
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  libjpeg62-turbo-dev libpng-dev
  qt6-image-formats-plugins libheif-dev liblcms2-dev libexiv2-dev libtiff-dev libwebp-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth
  poppler-utils
  fonts-dejavu-core fonts-wqy-zenhei
  # Installing and packaging: Qt's own dialog texts in the interface languages, and the tools that
  # check the desktop entry, the software-centre metadata, the manual pages and the Debian package.
  qt6-translations-l10n
  desktop-file-utils appstream shared-mime-info man-db dpkg-dev fakeroot file lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
