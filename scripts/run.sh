#!/usr/bin/env bash
# Installs what is missing, builds Quorvel and starts it. With PATH the folder is scanned at
# once; without it the start-up dialog asks what to scan. Without a display the scan of
# PATH (default: the home folder) is printed by quorvel-cli instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build_dir=${QUORVEL_BUILD_DIR:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): printing quorvel-cli scan instead of opening the window."
  exec "$build_dir/quorvel-cli" scan "${1:-$HOME}"
fi
exec "$build_dir/quorvel" "$@"
