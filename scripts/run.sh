#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program on tongshui.db in
# the working folder (created on first start).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "$root/build/tongshui" "$@"
