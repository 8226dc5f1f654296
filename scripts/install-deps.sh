#!/usr/bin/env bash
# Installs the Debian packages Kivrel needs to build, test and run, when any is
# missing. Does nothing when all are present. Run as root (or with sudo available).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth poppler-utils
  openbox x11-utils libx11-dev libxtst-dev
  cups-daemon cups-client
  help2man desktop-file-utils appstream shared-mime-info dpkg-dev lintian
  hunspell hunspell-en-gb hunspell-de-de hunspell-fr hunspell-es
  python3 chromium tidy
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
  else
    echo "error: these packages are missing and this is not root: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
