#!/usr/bin/env bash
# Installs what is missing, builds, starts a throwaway PostgreSQL server on
# loopback with an ODBC data source `Account` for it, runs every test on
# SQLite and PostgreSQL, stops the server, and ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
scripts/install-deps.sh
scripts/build.sh
eval "$(scripts/pg-test-env.sh start)"
# Stop the server whatever happens; ctest's exit code stays the script's.
trap 'rc=$?; "$root/scripts/pg-test-env.sh" stop || true; exit $rc' EXIT
export QT_QPA_PLATFORM=offscreen VOUCHER_REQUIRE_PG=1
cd build
ctest --output-on-failure --timeout 900 -j2
