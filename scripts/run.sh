#!/usr/bin/env bash
# Installs what is missing, builds Quorvel and starts it on PATH (default: the home folder).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
target=${1:-$HOME}
exec "${QUORVEL_BUILD_DIR:-build}/quorvel-cli" scan "$target"
