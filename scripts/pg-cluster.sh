#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL cluster for the test suite: a new data folder under a
# temporary directory, run as an unprivileged user, listening on a Unix socket only (no TCP),
# and not syncing to disk.
#   --tls      also listens on the loopback address, on a free port, with a certificate made for
#              it and SSL required for database pelorin there (database postgres takes plain
#              connections, to switch SSL off and on again); prints a URI over TCP.
#   --durable  syncs to disk as a real server does: for benchmarks.
# Usage: scripts/pg-cluster.sh start DIR [--tls | --durable]   (prints the URI of database pelorin)
#        scripts/pg-cluster.sh stop DIR
set -euo pipefail
action="${1:?start or stop}"
dir="${2:?cluster folder}"
mode="${3:-}"
bin="$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)"
# Memory for caching and WAL between checkpoints as a server for a club might have.
settings=("shared_buffers = 512MB" "max_wal_size = 4GB")

as_owner() {
    if [[ "$(id -u)" == 0 ]]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

free_port() {
    for port in $(shuf -i 20000-60000 -n 50); do
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return
        fi
    done
    echo "pg-cluster.sh: no free port on 127.0.0.1" >&2
    exit 1
}

# A self-signed certificate for localhost, and the rules: SSL only for pelorin over TCP.
make_tls() {
    local data="$1"
    as_owner openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost \
        -keyout "$data/server.key" -out "$data/server.crt" 2>/dev/null
    as_owner chmod 600 "$data/server.key"
    sed -i '/^host/d' "$data/pg_hba.conf"
    printf 'hostssl pelorin all 127.0.0.1/32 trust\nhost postgres all 127.0.0.1/32 trust\n' \
        >>"$data/pg_hba.conf"
}

case "$action" in
start)
    mkdir -p "$dir"
    if [[ "$(id -u)" == 0 ]]; then
        chown postgres: "$dir"
    fi
    as_owner "$bin/initdb" -D "$dir/data" -U pelorin --auth=trust -E UTF8 --no-locale >"$dir/initdb.log"
    settings+=("listen_addresses = ''" "unix_socket_directories = '$dir'")
    uri="postgresql:///pelorin?host=$dir&user=pelorin"
    if [[ "$mode" != --durable ]]; then
        settings+=("fsync = off")
    fi
    if [[ "$mode" == --tls ]]; then
        make_tls "$dir/data"
        port="$(free_port)"
        settings+=("listen_addresses = '127.0.0.1'" "port = $port" "ssl = on")
        uri="postgresql://127.0.0.1:$port/pelorin?user=pelorin"
    fi
    # In the configuration file, not on the command line, so that ALTER SYSTEM can override them.
    printf '%s\n' "${settings[@]}" >>"$dir/data/postgresql.conf"
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w start >/dev/null
    as_owner "$bin/createdb" -h "$dir" -p "${port:-5432}" -U pelorin pelorin
    echo "$uri"
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
