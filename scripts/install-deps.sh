#!/usr/bin/env bash
# Installs the Debian packages Scrivlo needs to build and run (and, with --test, to test; with
# --package, to make its Debian package), when they are missing.
# Usage: scripts/install-deps.sh [--test | --package]
set -euo pipefail

packages=(build-essential cmake ninja-build ccache pkg-config qt6-base-dev qt6-base-dev-tools
          qt6-qpa-plugins libqt6svg6 libgl-dev libx11-dev fonts-liberation fonts-dejavu-core
          libenchant-2-dev hunspell-en-us libzip-dev)
if [[ "${1:-}" == "--test" ]]; then
  packages+=(xvfb xauth xdotool poppler-utils desktop-file-utils appstream)
elif [[ "${1:-}" == "--package" ]]; then
  # dpkg-shlibdeps computes the package's dependencies; CPack finds the binaries with file.
  packages+=(dpkg-dev file)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "installed" ]] || missing+=("$p")
done
(( ${#missing[@]} == 0 )) && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
