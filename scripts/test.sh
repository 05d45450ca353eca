#!/usr/bin/env bash
# Installs what is missing, builds Quorvel and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd "${QUORVEL_BUILD_DIR:-build}"
ctest --output-on-failure --timeout 900
