#!/usr/bin/env bash
# Configures and builds Quorvel into build/ (or $QUORVEL_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${QUORVEL_BUILD_DIR:-build}
build_type=${QUORVEL_BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="$build_type" "$@" >/dev/null
# QUORVEL_BUILD_TARGETS (space-separated) builds only those targets and what they need.
read -r -a targets <<<"${QUORVEL_BUILD_TARGETS:-}"
cmake --build "$build_dir" -j"${QUORVEL_JOBS:-$(nproc)}" ${targets[@]:+--target "${targets[@]}"}
