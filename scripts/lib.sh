# Shared steps of run.sh and test.sh. Source it; it defines functions only.

ORV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PG_BIN=/usr/lib/postgresql/15/bin

# Debian packages the build, the tests and the demo need.
ORV_PACKAGES=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libpqxx-dev libcurl4-openssl-dev libsodium-dev
  googletest libgtest-dev libgmock-dev
  postgresql-15 postgresql-client-15
  python3 python3-aiosmtpd openssl
  nodejs
  poppler-utils fonts-dejavu-core
)

log() { printf '\n== %s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Installs with apt whatever of ORV_PACKAGES is missing.
ensure_packages() {
  local missing=()
  for p in "${ORV_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    die "missing Debian packages: ${missing[*]} (run as root, or install them with apt-get)"
  fi
  log "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq || die "apt-get update failed"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || die "apt-get install failed"
}

# Configures and builds into $1 (default build/).
build_tree() {
  local dir=${1:-"$ORV_ROOT/build"}
  shift || true
  log "building in $dir"
  # Qt's generated moc files go stale when a folder adds files to a library
  # defined elsewhere; start them afresh whenever a CMakeLists.txt changed.
  if [ -f "$dir/build.ninja" ] &&
    [ -n "$(find "$ORV_ROOT" -path "$dir" -prune -o -name CMakeLists.txt -newer "$dir/build.ninja" -print -quit)" ]; then
    find "$dir" -maxdepth 3 -type d -name '*_autogen' -prune -exec rm -rf {} +
  fi
  cmake -S "$ORV_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null ||
    die "cmake configure failed"
  cmake --build "$dir" -- -k 0 || die "build failed"
}

# ensure_npm_client DIR: installs node-zklib, the public protocol client the
# terminal interop test runs, into DIR (a cache outside the source tree).
# Without the registry the install fails loudly and so does that test.
ensure_npm_client() {
  local dir=$1
  [ -f "$dir/node_modules/node-zklib/package.json" ] && return 0
  mkdir -p "$dir"
  [ -f "$dir/package.json" ] || printf '{"name":"orvanta-interop","private":true}\n' >"$dir/package.json"
  log "installing node-zklib into $dir"
  (cd "$dir" && npm install --no-audit --no-fund --loglevel=error node-zklib@1.3.0 >/dev/null) ||
    printf 'warning: npm could not install node-zklib into %s; the terminal interop test will fail\n' "$dir" >&2
}

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()'
}

# Runs a command as the cluster's owner: the postgres OS user when we are
# root (initdb refuses root), else ourselves.
as_pg_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    (cd / && runuser -u postgres -- "$@")
  else
    "$@"
  fi
}

# pg_create DATADIR PASSWORD: a new cluster with password auth for postgres.
pg_create() {
  local data=$1 password=$2 pwfile
  mkdir -p "$data"
  [ "$(id -u)" -eq 0 ] && chown postgres:postgres "$data" "$(dirname "$data")"
  chmod 700 "$data"
  pwfile=$(mktemp)
  printf '%s\n' "$password" >"$pwfile"
  [ "$(id -u)" -eq 0 ] && chown postgres "$pwfile"
  as_pg_owner "$PG_BIN/initdb" -D "$data" -U postgres --auth-local=scram-sha-256 --auth-host=scram-sha-256 \
    --pwfile="$pwfile" -E UTF8 --locale=C.UTF-8 >/dev/null || { rm -f "$pwfile"; die "initdb failed"; }
  rm -f "$pwfile"
}

# pg_start DATADIR PORT [SERVER OPTIONS]: listens on 127.0.0.1:PORT, socket in DATADIR.
pg_start() {
  local data=$1 port=$2 extra=${3:-}
  as_pg_owner "$PG_BIN/pg_ctl" -D "$data" -l "$data/server.log" -w -t 60 \
    -o "-p $port -k $data -c listen_addresses=127.0.0.1 -c max_connections=200 $extra" start >/dev/null ||
    { cat "$data/server.log" >&2; die "PostgreSQL did not start"; }
}

pg_stop() {
  local data=$1
  [ -f "$data/postmaster.pid" ] || return 0
  as_pg_owner "$PG_BIN/pg_ctl" -D "$data" -m fast -w stop >/dev/null 2>&1 || true
}

# pg_psql PORT PASSWORD DB [psql args...]
pg_psql() {
  local port=$1 password=$2 db=$3
  shift 3
  PGPASSWORD=$password psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U postgres -d "$db" "$@"
}
