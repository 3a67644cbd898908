#!/usr/bin/env bash
# Sets up and runs the whole test suite: installs what is missing, builds with
# warnings as errors, starts a throwaway PostgreSQL 15 cluster on a free
# loopback port, loads the schemas as templates, runs ctest and stops
# everything it started, also after a failure. Exits with ctest's status.
#   ./test.sh                 everything
#   ./test.sh -R Settings     only tests whose name matches (ctest arguments)
set -uo pipefail
source "$(dirname "$0")/scripts/lib.sh"
cd "$ORV_ROOT"

ensure_packages
export ORV_NPM_CACHE=${ORV_NPM_CACHE:-$HOME/.cache/orvanta/npm}
ensure_npm_client "$ORV_NPM_CACHE"
build_tree "$ORV_ROOT/build" -DORVANTA_WERROR=ON -DORVANTA_BUILD_TESTS=ON

log "checking formatting"
mapfile -t sources < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
if [ ${#sources[@]} -gt 0 ]; then
  clang-format --dry-run --Werror "${sources[@]}" || die "formatting differs from .clang-format (run clang-format -i)"
fi

WORK=$(mktemp -d /tmp/orvanta-test.XXXXXX)
chmod 755 "$WORK"
PGDATA_DIR=$WORK/pg
cleanup() {
  local status=$?
  [ -n "${ORV_TEST_CLEANUP:-}" ] && eval "$ORV_TEST_CLEANUP"
  pg_stop "$PGDATA_DIR"
  rm -rf "$WORK"
  exit $status
}
trap cleanup EXIT INT TERM

PG_PORT=$(free_port)
PG_PASSWORD=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
log "starting PostgreSQL on 127.0.0.1:$PG_PORT"
pg_create "$PGDATA_DIR" "$PG_PASSWORD"
pg_start "$PGDATA_DIR" "$PG_PORT" "-c fsync=off -c synchronous_commit=off -c full_page_writes=off"

log "loading the schemas"
pg_psql "$PG_PORT" "$PG_PASSWORD" postgres -c "CREATE DATABASE orv_attendance_tpl" -c "CREATE DATABASE orv_payroll_tpl"
pg_psql "$PG_PORT" "$PG_PASSWORD" orv_attendance_tpl -f db/attendance.sql || die "db/attendance.sql failed"
pg_psql "$PG_PORT" "$PG_PASSWORD" orv_payroll_tpl -f db/payroll.sql || die "db/payroll.sql failed"

export ORV_TEST_PGHOST=127.0.0.1 ORV_TEST_PGPORT=$PG_PORT ORV_TEST_PGPASSWORD=$PG_PASSWORD
export ORV_TEST_WORK=$WORK ORV_SOURCE_DIR=$ORV_ROOT
export QT_QPA_PLATFORM=offscreen

log "running the tests"
cd build
ctest --output-on-failure --timeout 600 -j "$(nproc)" "$@" 2>&1 | tee "$WORK/ctest.log"
status=${PIPESTATUS[0]}
echo
grep -E '^[0-9]+% tests passed|^Total Test time' "$WORK/ctest.log" || true
exit "$status"
