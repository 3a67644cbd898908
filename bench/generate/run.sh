#!/usr/bin/env bash
# Runs the month-generation benchmark against a throwaway PostgreSQL cluster
# (the same settings as ./test.sh) and writes its figures into bench/RESULTS.md.
#   bench/generate/run.sh        build (if needed), run, write the figures
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
cd "$ORV_ROOT"

ensure_packages
build_tree "$ORV_ROOT/build" -DORVANTA_BUILD_TESTS=ON

WORK=$(mktemp -d /tmp/orvanta-bench.XXXXXX)
chmod 755 "$WORK"
cleanup() {
  local status=$?
  pg_stop "$WORK/pg"
  rm -rf "$WORK"
  exit $status
}
trap cleanup EXIT INT TERM

PG_PORT=$(free_port)
PG_PASSWORD=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
log "starting PostgreSQL on 127.0.0.1:$PG_PORT"
pg_create "$WORK/pg" "$PG_PASSWORD"
pg_start "$WORK/pg" "$PG_PORT" "-c fsync=off -c synchronous_commit=off -c full_page_writes=off"

export ORV_TEST_PGHOST=127.0.0.1 ORV_TEST_PGPORT=$PG_PORT ORV_TEST_PGPASSWORD=$PG_PASSWORD ORV_SOURCE_DIR=$ORV_ROOT
log "running bench_generate"
"$ORV_ROOT/build/bench/bench_generate" "$ORV_ROOT/bench/RESULTS.md"
