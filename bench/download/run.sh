#!/usr/bin/env bash
# Builds, starts a throwaway PostgreSQL, runs the download benchmark and
# writes its figures to bench/RESULTS.md.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
cd "$ORV_ROOT"

ensure_packages
build_tree "$ORV_ROOT/build" -DORVANTA_BUILD_TESTS=ON

WORK=$(mktemp -d /tmp/orvanta-bench.XXXXXX)
chmod 755 "$WORK"
trap 'pg_stop "$WORK/pg"; rm -rf "$WORK"' EXIT INT TERM
PG_PORT=$(free_port)
PG_PASSWORD=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
pg_create "$WORK/pg" "$PG_PASSWORD"
pg_start "$WORK/pg" "$PG_PORT"
export ORV_TEST_PGHOST=127.0.0.1 ORV_TEST_PGPORT=$PG_PORT ORV_TEST_PGPASSWORD=$PG_PASSWORD ORV_SOURCE_DIR=$ORV_ROOT

log "benchmark: attendance download"
"$ORV_ROOT/build/bench/bench_download" "$ORV_ROOT/bench/RESULTS.md"
