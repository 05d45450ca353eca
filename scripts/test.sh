#!/usr/bin/env bash
# Installs what is missing, builds Quorvel and runs every test suite.
#
# Checking runs, each built in a folder of its own so the everyday build stays as it is:
#   QUORVEL_SANITIZE=address,undefined scripts/test.sh
#       builds with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/ and
#       runs the whole suite; any report fails the run.
#   QUORVEL_TSAN=1 scripts/test.sh
#       builds with ThreadSanitizer into build-tsan/ and runs the scan and app suites (the
#       ones with threads).
#   QUORVEL_FUZZ=1 scripts/test.sh
#       builds the fuzz targets of fuzz/ with clang's libFuzzer (plus ASan and UBSan) into
#       build-fuzz/ and runs each for QUORVEL_FUZZ_SECONDS (default 60) from its seed corpus
#       in fuzz/corpus/, after the ordinary build and suite.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${QUORVEL_JOBS:-$(nproc)}

if [ -n "${QUORVEL_SANITIZE:-}" ]; then
  scripts/install-deps.sh
  dir=${QUORVEL_BUILD_DIR:-build-sanitize}
  QUORVEL_BUILD_DIR=$dir scripts/build.sh -DQUORVEL_SANITIZE="$QUORVEL_SANITIZE"
  cd "$dir"
  # Leaks are not checked: Qt and the text table keep process-long objects on purpose.
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:detect_stack_use_after_return=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure --timeout 1800 -j"$jobs"
  exit
fi

if [ "${QUORVEL_TSAN:-0}" = 1 ]; then
  scripts/install-deps.sh
  dir=${QUORVEL_BUILD_DIR:-build-tsan}
  # Only the two suites it runs (and the command-line program they call) are built.
  QUORVEL_BUILD_DIR=$dir QUORVEL_BUILD_TARGETS="test_scan test_app" scripts/build.sh -DQUORVEL_SANITIZE=thread
  cd "$dir"
  # The volume-size test mounts file systems (as root) and has no threads of its own; after
  # it the sanitizer has lost track of the main thread's locks and reports the scanner's
  # mutex-guarded fields as races ("mutex is already destroyed" while it is held). It runs
  # in the ordinary and the ASan runs.
  GTEST_FILTER=-DirectoryParser.SizesAgreeWithDfOnRealFileSystems \
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/../scripts/tsan.supp" \
    ctest --output-on-failure --timeout 1800 -R '^(scan|app)$'
  exit
fi

scripts/install-deps.sh
scripts/build.sh
(cd "${QUORVEL_BUILD_DIR:-build}" && ctest --output-on-failure --timeout 900)

if [ "${QUORVEL_FUZZ:-0}" = 1 ]; then
  QUORVEL_EXTRA_PACKAGES="clang libclang-rt-14-dev" scripts/install-deps.sh
  seconds=${QUORVEL_FUZZ_SECONDS:-60}
  dir=build-fuzz
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DQUORVEL_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$dir" -j"$jobs" --target fuzz_all
  for target in fuzz_exclusion_list fuzz_type_catalog fuzz_text_table fuzz_settings_file; do
    # The checked-in corpus stays as it is; what the run adds goes to a working copy.
    work=$dir/corpus/$target
    mkdir -p "$work"
    echo "Fuzzing $target for $seconds s"
    "$dir/fuzz/$target" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=4096 \
      -artifact_prefix="$dir/$target-" "$work" "fuzz/corpus/$target" 2>"$dir/$target.log" ||
      { tail -n 60 "$dir/$target.log"; echo "$target found a failure (see $dir/$target.log)"; exit 1; }
    tail -n 1 "$dir/$target.log"
  done
fi
