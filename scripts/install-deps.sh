#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs, as root on Debian 12, what the build and the tests need. Idempotent and quiet:
# packages already present are skipped, and apt is not touched when nothing is missing.
set -euo pipefail

packages=(cmake g++ make pkg-config googletest libgtest-dev libbenchmark-dev
          libpng-dev zlib1g-dev libsndfile1-dev juce-modules-source-data
          libfreetype-dev libfontconfig-dev fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "install-deps: missing packages (${missing[*]}); run as root" >&2
        exit 1
    fi
    echo "install-deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
