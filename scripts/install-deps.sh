#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# and only when one of them is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-qpa-plugins libqt6sql6-sqlite libqt6sql6-odbc libqt6sql6-psql libgl1-mesa-dev
    unixodbc unixodbc-dev odbc-postgresql postgresql libpq-dev libsqlite3-dev zlib1g-dev file
    fonts-nanum poppler-utils xvfb xauth libxcb1-dev libbenchmark-dev
    fcitx5 fcitx5-hangul fcitx5-frontend-qt6 xdotool dbus-daemon
    lintian help2man
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
