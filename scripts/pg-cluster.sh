#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL cluster for the test suite: a new data folder under a
# temporary directory, run as an unprivileged user, listening on a Unix socket only (no TCP).
# Usage: scripts/pg-cluster.sh start DIR   (prints the connection URI of database "pelorin")
#        scripts/pg-cluster.sh stop DIR
set -euo pipefail
action="${1:?start or stop}"
dir="${2:?cluster folder}"
bin="$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)"

as_owner() {
    if [[ "$(id -u)" == 0 ]]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

case "$action" in
start)
    mkdir -p "$dir"
    if [[ "$(id -u)" == 0 ]]; then
        chown postgres: "$dir"
    fi
    as_owner "$bin/initdb" -D "$dir/data" -U pelorin --auth=trust -E UTF8 --no-locale >"$dir/initdb.log"
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off" start >/dev/null
    as_owner "$bin/createdb" -h "$dir" -U pelorin pelorin
    echo "postgresql:///pelorin?host=$dir&user=pelorin"
    ;;
stop)
    if [[ -f "$dir/data/postmaster.pid" ]]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null
    fi
    rm -rf "$dir"
    ;;
*)
    echo "pg-cluster.sh: start or stop, not $action" >&2
    exit 2
    ;;
esac
