#!/usr/bin/env bash
# A throwaway PostgreSQL server for the results tests, listening on
# 127.0.0.1 only, with its data, socket and log in one temporary folder.
#   pgserver.sh start      -> prints "FOLDER URL"
#   pgserver.sh stop FOLDER [keep]   (keep: stop, but leave the data to start again)
#   pgserver.sh restart FOLDER
# initdb refuses to run as root, so as root the server runs as "postgres"
# (the Debian package's user) or, without it, as "nobody".
set -euo pipefail

bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)"
[ -x "$bin/initdb" ] || { echo "no PostgreSQL server installed (initdb not found)" >&2; exit 77; }

as_server() {
    if [ "$(id -u)" -eq 0 ]; then
        local user=postgres
        id -u "$user" >/dev/null 2>&1 || user=nobody
        runuser -u "$user" -- "$@"
    else
        "$@"
    fi
}

start_server() {
    local folder="$1" port
    for attempt in 1 2 3 4 5 6 7 8; do
        port=$((20000 + RANDOM % 30000))
        if as_server "$bin/pg_ctl" -D "$folder/data" -l "$folder/log" -w -t 30 \
            -o "-c listen_addresses=127.0.0.1 -p $port -k $folder -c fsync=off" start >/dev/null 2>&1; then
            echo "$port" > "$folder/port"
            return 0
        fi
    done
    echo "the test server did not start; its log:" >&2
    cat "$folder/log" >&2 || true
    return 1
}

case "${1:-}" in
start)
    # as root the server's own user must reach the folder: /tmp, not a private TMPDIR
    base="${TMPDIR:-/tmp}"
    [ "$(id -u)" -eq 0 ] && base=/tmp
    folder="$(mktemp -d "$base/orv-pg.XXXXXX")"
    chmod 755 "$folder"
    [ "$(id -u)" -eq 0 ] && { id -u postgres >/dev/null 2>&1 && chown postgres "$folder" || chown nobody "$folder"; }
    as_server "$bin/initdb" -D "$folder/data" -U orv --auth=trust -E UTF8 >/dev/null
    start_server "$folder"
    echo "$folder postgresql://orv@127.0.0.1:$(cat "$folder/port")/postgres"
    ;;
restart)
    folder="$2"
    port="$(cat "$folder/port")"
    as_server "$bin/pg_ctl" -D "$folder/data" -l "$folder/log" -w -t 30 \
        -o "-c listen_addresses=127.0.0.1 -p $port -k $folder -c fsync=off" start >/dev/null
    ;;
stop)
    folder="$2"
    as_server "$bin/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null 2>&1 || true
    [ "${3:-}" = keep ] || rm -rf "$folder"
    ;;
*)
    echo "usage: pgserver.sh start | stop FOLDER [keep] | restart FOLDER" >&2
    exit 64
    ;;
esac
