#!/usr/bin/env bash
# Installs the Debian packages that build, test and run the vocabulary trainer, where missing.
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev libsqlite3-dev sqlite3 libespeak-ng-dev espeak-ng-data
    libcurl4-openssl-dev libcpp-httplib-dev
    fonts-arphic-ukai fonts-arphic-uming fonts-wqy-zenhei fonts-noto-cjk fonts-dejavu-core
    xvfb xauth x11-utils xdotool imagemagick iproute2 util-linux locales clang clang-format
    libclang-rt-14-dev libxcb1-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
