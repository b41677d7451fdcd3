#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the embedded
# database (Account.db in the user's application data folder).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "no display: starting the program on a virtual X display (xvfb-run)" >&2
    exec xvfb-run -a build/voucher "$@"
fi
exec build/voucher "$@"
