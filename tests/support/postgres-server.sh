#!/usr/bin/env bash
# A private PostgreSQL server for the tests. "start DIR" makes a cluster that listens only on a
# Unix socket, under a free port number, and writes the connection text to DIR/connection;
# "stop DIR" stops it and removes what it made. The cluster and its socket live in a folder of
# their own under the system's temporary folder: the server runs as the postgres system user
# when the tests run as root (it refuses root), and that user may not be able to enter DIR.
set -euo pipefail
command="$1"
dir="$2"
bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
[ -n "$bin" ] || { echo "postgres-server: no PostgreSQL server installed" >&2; exit 1; }

as_server() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

case "$command" in
start)
    "$0" stop "$dir" 2>/dev/null || true
    mkdir -p "$dir"
    place="$(mktemp -d "${TMPDIR:-/tmp}/kalvero-pg.XXXXXX")"
    echo "$place" >"$dir/place"
    [ "$(id -u)" -eq 0 ] && chown postgres "$place"
    chmod 700 "$place"
    if ! as_server "$bin/initdb" -D "$place/data" -U kalvero --auth=trust -E UTF8 \
        --locale=C.UTF-8 >"$dir/initdb.log" 2>&1; then
        cat "$dir/initdb.log" >&2
        exit 1
    fi
    # A port no other socket in this private folder uses; nothing listens on the network.
    port=$((20000 + RANDOM % 40000))
    if ! as_server "$bin/pg_ctl" -D "$place/data" -l "$place/server.log" -w -t 60 \
        -o "-k $place -c listen_addresses= -p $port -c fsync=off" start >/dev/null; then
        cat "$place/server.log" >&2
        exit 1
    fi
    echo "postgresql://kalvero@/postgres?host=$place&port=$port" >"$dir/connection"
    ;;
stop)
    if [ -f "$dir/place" ]; then
        place="$(cat "$dir/place")"
        if [ -d "$place/data" ]; then
            as_server "$bin/pg_ctl" -D "$place/data" -m immediate -w stop >/dev/null 2>&1 || true
        fi
        case "$place" in
        */kalvero-pg.*) rm -rf "$place" ;;
        esac
    fi
    rm -rf "$dir"
    ;;
*)
    echo "usage: postgres-server.sh start|stop DIR" >&2
    exit 2
    ;;
esac
