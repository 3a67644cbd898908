#!/usr/bin/env bash
# Runs the report benchmark on a throwaway PostgreSQL cluster and writes its
# figures to bench/RESULTS.md:  bench/report/run.sh [--employees N] [--runs N]
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
pg_create "$WORK/pg" "$PG_PASSWORD"
pg_start "$WORK/pg" "$PG_PORT"
export ORV_TEST_PGHOST=127.0.0.1 ORV_TEST_PGPORT=$PG_PORT ORV_TEST_PGPASSWORD=$PG_PASSWORD ORV_SOURCE_DIR=$ORV_ROOT
unset QT_QPA_PLATFORM

log "running bench_report"
"$ORV_ROOT/build/bench/bench_report" "$@"
