#!/usr/bin/env bash
# A throwaway PostgreSQL server on loopback for the tests, with a private ODBC
# configuration that registers the data source `Account` for it. Nothing is
# written to the machine's own ODBC configuration.
#
#   eval "$(scripts/pg-test-env.sh start)"   start (or reuse) it; exports ODBCSYSINI, ODBCINI, VOUCHER_PG
#   scripts/pg-test-env.sh stop              stop it and remove its files
set -euo pipefail

port=${VOUCHER_PG_PORT:-54329}
root=/tmp/voucher-pg-$port
data=$root/data
odbc=$root/odbc
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] || { echo "echo 'PostgreSQL is not installed' >&2; false"; exit 1; }

as_postgres() { runuser -u postgres -- "$@"; }

start() {
    mkdir -p "$root"
    chown postgres "$root"
    if [ ! -f "$data/PG_VERSION" ]; then
        as_postgres "$bin/initdb" -D "$data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >"$root/initdb.log" 2>&1
    fi
    if ! as_postgres "$bin/pg_ctl" -D "$data" status >/dev/null 2>&1; then
        as_postgres "$bin/pg_ctl" -D "$data" -l "$root/server.log" -w -t 60 \
            -o "-p $port -k $root -c listen_addresses=127.0.0.1 -c max_connections=100 -c fsync=off" start >/dev/null
    fi
    if ! as_postgres "$bin/psql" -h 127.0.0.1 -p "$port" -U postgres -tAc \
            "select 1 from pg_database where datname='account'" | grep -q 1; then
        as_postgres "$bin/createdb" -h 127.0.0.1 -p "$port" -U postgres account
    fi
    mkdir -p "$odbc"
    local driver
    driver=$(ls /usr/lib/*/odbc/psqlodbcw.so 2>/dev/null | head -n 1)
    cat >"$odbc/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode)
Driver=$driver
INI
    cat >"$odbc/odbc.ini" <<INI
[Account]
Driver=PostgreSQL Unicode
Servername=127.0.0.1
Port=$port
Database=account
Username=postgres
Password=
pqopt=connect_timeout=3
INI
    echo "export ODBCSYSINI='$odbc' ODBCINI='$odbc/odbc.ini' VOUCHER_PG=1 VOUCHER_PG_PORT='$port' VOUCHER_PG_ROOT='$root'"
}

stop() {
    if [ -f "$data/PG_VERSION" ]; then
        as_postgres "$bin/pg_ctl" -D "$data" -m fast -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$root"
}

case "${1:-start}" in
    start) start ;;
    stop) stop ;;
    *) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
