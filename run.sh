#!/usr/bin/env bash
# Sets up the demo on this machine and starts Orvanta on it:
# installs what is missing (apt, as root), builds, creates a local PostgreSQL
# cluster under var/ (kept between runs), loads the schema and the demo data
# on the first run, writes an enciphered System_Control.ini beside the
# programs, starts the terminal simulators, and opens Orvanta. Without a
# display it runs the same road headless through orvanta-cli.
#   ./run.sh          set up (or reuse) the demo and start Orvanta
#   ./run.sh --stop   stop the demo's database server and simulators
set -uo pipefail
source "$(dirname "$0")/scripts/lib.sh"
cd "$ORV_ROOT"

VAR=$ORV_ROOT/var
PGDATA_DIR=$VAR/pg
BIN=$ORV_ROOT/build/bin
DEMO_DB=orvanta
PAYROLL_DB=kestrelbook

stop_demo() {
  if [ -d "$VAR/run" ]; then
    for f in "$VAR"/run/*.pid; do
      [ -f "$f" ] && kill "$(cat "$f")" 2>/dev/null
      rm -f "$f"
    done
  fi
  pg_stop "$PGDATA_DIR"
}

if [ "${1:-}" = "--stop" ]; then
  stop_demo
  echo "Demo stopped."
  exit 0
fi

ensure_packages
build_tree "$ORV_ROOT/build" -DORVANTA_BUILD_TESTS=OFF

mkdir -p "$VAR/run"
chmod 755 "$VAR"
[ -f "$VAR/pg.port" ] || free_port >"$VAR/pg.port"
[ -f "$VAR/pg.password" ] || { head -c 18 /dev/urandom | base64 | tr -d '/+=' >"$VAR/pg.password"; chmod 600 "$VAR/pg.password"; }
PG_PORT=$(cat "$VAR/pg.port")
PG_PASSWORD=$(cat "$VAR/pg.password")

fresh=0
if [ ! -f "$PGDATA_DIR/PG_VERSION" ]; then
  log "creating the demo's database cluster in var/pg"
  pg_create "$PGDATA_DIR" "$PG_PASSWORD"
  fresh=1
fi
if ! as_pg_owner "$PG_BIN/pg_ctl" -D "$PGDATA_DIR" status >/dev/null 2>&1; then
  log "starting PostgreSQL on 127.0.0.1:$PG_PORT"
  pg_start "$PGDATA_DIR" "$PG_PORT"
fi

has_db() {
  [ "$(pg_psql "$PG_PORT" "$PG_PASSWORD" postgres -tAc "SELECT 1 FROM pg_database WHERE datname = '$1'")" = 1 ]
}
if [ $fresh -eq 1 ] || ! has_db "$DEMO_DB"; then
  log "loading the schema and the demo data"
  pg_psql "$PG_PORT" "$PG_PASSWORD" postgres -c "DROP DATABASE IF EXISTS $DEMO_DB" -c "DROP DATABASE IF EXISTS $PAYROLL_DB" \
    -c "CREATE DATABASE $DEMO_DB" -c "CREATE DATABASE $PAYROLL_DB" || die "cannot create the demo databases"
  pg_psql "$PG_PORT" "$PG_PASSWORD" "$DEMO_DB" -f db/attendance.sql || die "db/attendance.sql failed"
  pg_psql "$PG_PORT" "$PG_PASSWORD" "$PAYROLL_DB" -f db/payroll.sql || die "db/payroll.sql failed"
  PGPASSWORD=$PG_PASSWORD psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$PG_PORT" -U postgres -d "$DEMO_DB" \
    -o /dev/null -f db/demo.sql || die "db/demo.sql failed"
fi

log "writing $BIN/System_Control.ini"
SETTINGS=$BIN/System_Control.ini
printf '%s\n' "$PG_PASSWORD" | "$BIN/orvanta-cli" --settings "$SETTINGS" encipher --server localhost \
  --database "$DEMO_DB" --port "$PG_PORT" --write >/dev/null || die "cannot write the settings file"
# The installed version and the updater programs' names, as a deployment sets them.
grep -qi '^\[upControl\]' "$SETTINGS" || printf '\n[upControl]\nversion=1\nUpname=relaybolt\nAppname=orvanta\ndownloadver=0\n' >>"$SETTINGS"
"$BIN/orvanta-cli" --settings "$SETTINGS" check-connection || die "the demo database does not answer"

# Demo terminals: one simulator per terminal row (added with the terminal work).
[ -f scripts/demo-terminals.sh ] && source scripts/demo-terminals.sh

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  log "starting Orvanta (log in as admin / admin)"
  exec "$BIN/orvanta"
fi

log "no display: the demo's road through orvanta-cli"
if [ -f scripts/demo-headless.sh ]; then
  source scripts/demo-headless.sh
else
  echo "Orvanta is set up; start it on a desktop with ./run.sh, or use $BIN/orvanta-cli --help."
fi
