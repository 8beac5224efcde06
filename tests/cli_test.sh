#!/usr/bin/env bash
# The command-line options that need no window: creating a database and
# refusing to overwrite anything.
set -u
exe="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() { # description, expected exit code, actual exit code
  if [ "$2" != "$3" ]; then echo "FAIL: $1 (exit $3, expected $2)"; fail=1; else echo "ok: $1"; fi
}

"$exe" --version >/dev/null; check "--version" 0 $?
"$exe" --help | grep -q -- "--create-database"; check "--help names the options" 0 $?

"$exe" --create-database "$work/a.db" >/dev/null; check "create a new SQLite file" 0 $?
before=$(sha256sum "$work/a.db")
out=$("$exe" --create-database "$work/a.db" 2>&1); code=$?
check "create refuses a database that has tables" 1 $code
echo "$out" | grep -q "已经有数据表"; check "refusal names the reason" 0 $?
[ "$before" = "$(sha256sum "$work/a.db")" ]; check "refused target left as it was" 0 $?

printf 'not a database, but somebody%ss notes\n' "'" > "$work/notes.db"
before=$(sha256sum "$work/notes.db")
"$exe" --create-database "$work/notes.db" >/dev/null 2>&1; check "create refuses a foreign file" 1 $?
[ "$before" = "$(sha256sum "$work/notes.db")" ]; check "foreign file left as it was" 0 $?

out=$("$exe" --database "postgresql://user@/nodb" 2>&1); code=$?
check "malformed URI refused" 2 $code
echo "$out" | grep -q "格式错误"; check "malformed URI message" 0 $?
"$exe" --database 2>/dev/null; check "--database without a value" 2 $?
"$exe" --frobnicate 2>/dev/null; check "unknown option" 2 $?

if [ -n "${TONGSHUI_TEST_PG:-}" ]; then
  name="cli_$$_$RANDOM"
  "$exe" --create-database "$TONGSHUI_TEST_PG/$name" >/dev/null; check "create a new PostgreSQL database" 0 $?
  "$exe" --create-database "$TONGSHUI_TEST_PG/$name" >/dev/null 2>&1; check "create refuses an existing PostgreSQL database" 1 $?
  "$exe" --create-database "postgresql://postgres@127.0.0.1:1/x" >/dev/null 2>&1
  check "unreachable server refused" 1 $?
fi
exit $fail
