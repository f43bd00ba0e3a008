#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the program.
# Skips the package manager entirely when everything is already there.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev libgl-dev zlib1g-dev libminizip-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  unzip zip python3 poppler-utils locales-all fonts-liberation2
  xdg-utils unrtf
)

# One query for every package: those not reported as installed are missing.
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null |
  awk '$NF == "installed" && $(NF-1) == "ok" {print $1}' | sed 's/:.*//' || true)
missing=()
for p in "${packages[@]}"; do
  if ! grep -qx -- "$p" <<< "$installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
