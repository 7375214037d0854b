#!/usr/bin/env bash
# Installs what is missing, builds, prepares the executable folder on the
# embedded default database and starts the application.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
BUILD_DIR="$build" "$root/scripts/build.sh"
"$build/bin/CriarBanco" "$build/bin"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "no display: starting under Xvfb"
  exec xvfb-run -a -s "-screen 0 1366x768x24" "$build/bin/ZbvloClipping"
fi
exec "$build/bin/ZbvloClipping"
