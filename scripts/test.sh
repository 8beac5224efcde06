#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test on SQLite and on a
# throwaway PostgreSQL cluster started here on a free loopback port and
# removed afterwards.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

bindir=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
pgdir=$(mktemp -d /tmp/tongshui-pg.XXXXXX)
chmod 755 "$pgdir"
as_pg=()
if [ "$(id -u)" -eq 0 ]; then
  # initdb refuses to run as root: the cluster belongs to the postgres user.
  chown postgres "$pgdir"
  as_pg=(runuser -u postgres --)
fi
port=""
for _ in $(seq 1 50); do
  candidate=$((20000 + RANDOM % 20000))
  if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then port=$candidate; break; fi
done
[ -n "$port" ] || { echo "no free port for PostgreSQL" >&2; exit 1; }

cleanup() {
  "${as_pg[@]}" "$bindir/pg_ctl" -D "$pgdir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$pgdir"
}
trap cleanup EXIT

"${as_pg[@]}" "$bindir/initdb" -D "$pgdir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >/dev/null
"${as_pg[@]}" "$bindir/pg_ctl" -D "$pgdir/data" -l "$pgdir/log" -w \
  -o "-h 127.0.0.1 -p $port -k $pgdir -c fsync=off -c full_page_writes=off -c synchronous_commit=off" start >/dev/null

export TONGSHUI_TEST_PG="postgresql://postgres@127.0.0.1:$port"
# This run is the whole one: PostgreSQL tests must not be skipped.
unset TONGSHUI_TEST_SQLITE_ONLY
cd "$root/build"
ctest --output-on-failure -j"$(nproc)" "$@"
