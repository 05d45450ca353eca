#!/usr/bin/env bash
# Times Quorvel's scan against du, ncdu, gdu and a bare floor walker on a synthetic tree,
# warm cache and (when the page cache can be dropped) cold cache, and measures peak memory.
# The table is printed and written to bench/results/latest.txt. See bench/README.md.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

usage() {
  cat <<'EOF'
usage: scripts/bench.sh [options]
  --entries N          entries in the synthetic tree (default 1000000)
  --seed N             seed of the tree generator (default 42)
  --runs N             timed warm-cache runs per tool (default 5)
  --cold | --no-cold   force or skip the cold-cache pass (default: run it when caches can be dropped)
  --cold-runs N        timed cold-cache runs per tool (default 3)
  --only LIST          comma-separated tools: quorvel,du,ncdu,gdu,floor (default all)
  --threads-list "..." also time Quorvel warm with each of these --threads values
  --cold-threads "..." Quorvel --threads values for the cold pass (default "1 2 4 8 16 32")
  --cold-floor-threads "..."  the bare walker's thread counts for the cold pass (default
                       "1 2 4 8 16 32"); the table compares Quorvel with the best of them
  --tree-base DIR      where the tree is made (default /tmp)
  --idle-wait S        before each timed run, wait up to S seconds for the rest of the machine
                       to go quiet (default 20; 0 = do not wait); the run then goes ahead and
                       the load it ran under is recorded
  --tree KIND          equal: the tree without hidden folders and links, which every tool reads
                       alike; home: the home-like tree, of which Quorvel skips the hidden folders;
                       both (default): one after the other
  --no-build           do not (re)build Quorvel, use build-release/quorvel-cli as it is
EOF
  exit "${1:-0}"
}

entries=1000000
seed=42
runs=5
cold=auto
cold_runs=3
only="quorvel,du,ncdu,gdu,floor"
threads_list=""
cold_threads="1 2 4 8 16 32"
cold_floor_threads="1 2 4 8 16 32"
tree_base=/tmp
idle_wait=20
build_quorvel=1
tree_kind=both
all_args=("$@")

while [ $# -gt 0 ]; do
  case "$1" in
    --entries) entries=${2:?}; shift 2 ;;
    --seed) seed=${2:?}; shift 2 ;;
    --runs) runs=${2:?}; shift 2 ;;
    --cold) cold=yes; shift ;;
    --no-cold) cold=no; shift ;;
    --cold-runs) cold_runs=${2:?}; shift 2 ;;
    --only) only=${2:?}; shift 2 ;;
    --threads-list) threads_list=${2?}; shift 2 ;;
    --cold-threads) cold_threads=${2?}; shift 2 ;;
    --cold-floor-threads) cold_floor_threads=${2?}; shift 2 ;;
    --tree-base) tree_base=${2:?}; shift 2 ;;
    --idle-wait) idle_wait=${2:?}; shift 2 ;;
    --no-build) build_quorvel=0; shift ;;
    --tree) tree_kind=${2:?}; shift 2 ;;
    -h|--help) usage 0 ;;
    *) echo "bench.sh: unknown option $1" >&2; usage 2 ;;
  esac
done
for n in "$entries" "$seed" "$runs" "$cold_runs" "$idle_wait"; do
  [[ $n =~ ^[0-9]+$ ]] || { echo "bench.sh: not a number: $n" >&2; exit 2; }
done
[ "$runs" -ge 1 ] && [ "$cold_runs" -ge 1 ] || { echo "bench.sh: runs must be at least 1" >&2; exit 2; }
for t in ${only//,/ }; do
  case "$t" in quorvel|du|ncdu|gdu|floor) ;; *) echo "bench.sh: unknown tool in --only: $t" >&2; exit 2 ;; esac
done
wanted() { [[ ",$only," == *",$1,"* ]]; }
case "$tree_kind" in
  equal|home) ;;
  both)
    # One run per tree, equal work first; the second reuses the first one's build.
    "$0" "${all_args[@]}" --tree equal || exit $?
    cp bench/results/latest.txt bench/results/latest-equal.txt
    "$0" "${all_args[@]}" --tree home --no-build || exit $?
    cp bench/results/latest.txt bench/results/latest-home.txt
    cat bench/results/latest-equal.txt bench/results/latest-home.txt >bench/results/latest.txt
    exit 0 ;;
  *) echo "bench.sh: --tree must be equal, home or both" >&2; exit 2 ;;
esac
tree_flags=()
[ "$tree_kind" = home ] || tree_flags=(--no-hidden-folders --no-links)

# One benchmark at a time on this machine: two would disturb each other's timings, and could
# both start making the same tree.
exec 9>/tmp/quorvel-bench.lock
if ! flock -n 9; then
  echo "Another scripts/bench.sh is running; waiting for it to finish"
  flock 9
fi

# ---------------------------------------------------------------------------------------------
# What the benchmark needs

need=()
command -v g++ >/dev/null || need+=(g++)
command -v cmake >/dev/null || need+=(cmake)
command -v ncdu >/dev/null || need+=(ncdu)
command -v gdu >/dev/null || need+=(gdu)
[ -x /usr/bin/time ] || need+=(time)
command -v tmux >/dev/null || need+=(tmux)   # runs ncdu's interactive mode to read its tree's memory
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# ---------------------------------------------------------------------------------------------
# Builds: the two bench programs directly, Quorvel through its own CMake project

mkdir -p build-bench bench/results
for prog in make_tree floor_walk; do
  if [ ! -x "build-bench/$prog" ] || [ "bench/$prog.cpp" -nt "build-bench/$prog" ]; then
    echo "Building build-bench/$prog"
    g++ -std=c++20 -O2 -Wall -Wextra -pthread -o "build-bench/$prog" "bench/$prog.cpp"
  fi
done

quorvel=$repo/build-release/quorvel-cli
quorvel_note=""
if wanted quorvel; then
  if [ "$build_quorvel" -eq 1 ]; then
    echo "Building Quorvel (Release) into build-release/ (log: build-bench/quorvel-build.log)"
    if ! { cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release &&
           cmake --build build-release -j2 --target quorvel-cli; } >build-bench/quorvel-build.log 2>&1; then
      quorvel_note="Quorvel skipped: its build failed (see build-bench/quorvel-build.log)"
      tail -n 15 build-bench/quorvel-build.log | sed 's/^/    /'
    fi
  fi
  if [ -z "$quorvel_note" ] && [ ! -x "$quorvel" ]; then
    quorvel_note="Quorvel skipped: build-release/quorvel-cli does not exist"
  fi
  [ -z "$quorvel_note" ] || echo "$quorvel_note"
fi

# ---------------------------------------------------------------------------------------------
# The tree, made once and reused while the generator, seed and size stay the same

tree=$tree_base/quorvel-bench-tree-$entries
[ "$seed" = 42 ] || tree=$tree-seed$seed
[ "$tree_kind" = home ] || tree=$tree-equal
marker=$tree.ready
key="$(sha1sum bench/make_tree.cpp | cut -c1-12) seed=$seed entries=$entries ${tree_flags[*]}"
if [ -f "$marker" ] && [ -d "$tree" ] && [ "$(head -n1 "$marker")" = "$key" ]; then
  echo "Reusing $tree"
else
  rm -f "$marker"
  if [ -e "$tree" ]; then
    echo "Removing the stale tree $tree"
    rm -rf -- "$tree"
    # ext4 avoids handing out inodes freed in the last half minute, which makes creating a big
    # tree right after deleting one several times slower.
    sleep 35
  fi
  echo "Making $tree ($entries entries, seed $seed)"
  line=$(build-bench/make_tree --seed "$seed" "${tree_flags[@]}" "$tree" "$entries")
  echo "  $line"
  printf '%s\n%s\n' "$key" "$line" >"$marker"
fi
made_line=$(sed -n 2p "$marker")
count=${made_line%% *}

# A throw-away home for every tool, and an exclusion list that excludes nothing.
work=$(mktemp -d /tmp/quorvel-bench-run.XXXXXX)
tmux_socket=quorvel-bench-$$
cleanup() {
  tmux -L "$tmux_socket" kill-server 2>/dev/null || true
  rm -rf -- "$work"
}
trap cleanup EXIT
mkdir -p "$work/home" "$work/config" "$work/data" "$work/state" "$work/cache" "$work/base"
# The base-memory runs scan a folder holding one file (ncdu's browser shows no totals for an
# empty one).
echo base >"$work/base/file.txt"
tool_env=(env HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
          XDG_STATE_HOME="$work/state" XDG_CACHE_HOME="$work/cache")
exclusions=$work/ExclusionList.plist
cat >"$exclusions" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>Hard</key>
	<dict>
		<key>dirNotDelete</key>
		<array/>
		<key>dirPath</key>
		<array/>
		<key>filePath</key>
		<array/>
	</dict>
	<key>Smart</key>
	<dict/>
	<key>Soft</key>
	<dict>
		<key>filePackage</key>
		<false/>
	</dict>
</dict>
</plist>
EOF

# ---------------------------------------------------------------------------------------------
# From here on everything printed also goes to bench/results/latest.txt.

results=bench/results/latest.txt
exec > >(tee "$results") 2>&1

# tool_cmd NAME DIR: sets cmd to the command line that scans DIR.
tool_cmd() {
  local name=$1 dir=$2
  case "$name" in
    quorvel) cmd=("${tool_env[@]}" "$quorvel" scan --json --exclusions "$exclusions" "$dir") ;;
    quorvel-t*) cmd=("${tool_env[@]}" "$quorvel" scan --json --exclusions "$exclusions" --threads "${name#quorvel-t}" "$dir") ;;
    du) cmd=("${tool_env[@]}" du -s "$dir") ;;
    ncdu) cmd=("${tool_env[@]}" ncdu -0 -o /dev/null "$dir") ;;
    gdu) cmd=("${tool_env[@]}" gdu -n -p "$dir") ;;
    floor) cmd=("$repo/build-bench/floor_walk" --threads 2 "$dir") ;;
    floor-t*) cmd=("$repo/build-bench/floor_walk" --threads "${name#floor-t}" "$dir") ;;
    floor-vis) cmd=("$repo/build-bench/floor_walk" --threads 2 --skip-hidden-folders "$dir") ;;
  esac
}

clock_tick=$(getconf CLK_TCK)
# CPU time the whole machine has spent busy, in clock ticks (everything but idle and iowait).
busy_ticks() { awk '/^cpu / {print $2 + $3 + $4 + $7 + $8 + $9; exit}' /proc/stat; }

# wait_idle: waits until the rest of the machine has kept less than a tenth of a core busy
# for a whole second, or $idle_wait seconds have passed. On a machine shared with builds a
# run that overlaps a compiler can take twice as long.
# The wait is bounded: a machine that never goes quiet delays each run by $idle_wait seconds
# at most. idle_gave_up counts the runs that went ahead on a busy machine, idle_busiest the
# most cores the rest of the machine kept busy in the last second before one of them.
idle_gave_up=0
idle_busiest=0
wait_idle() {
  local until=$((SECONDS + idle_wait)) b0 b1 last=0
  while [ "$SECONDS" -lt "$until" ]; do
    b0=$(busy_ticks); sleep 1; b1=$(busy_ticks)
    last=$((b1 - b0))
    [ "$last" -ge $((clock_tick / 10)) ] || return 0
  done
  if [ "$idle_wait" -gt 0 ]; then
    idle_gave_up=$((idle_gave_up + 1))
    idle_busiest=$(awk -v l="$last" -v hz="$clock_tick" -v m="$idle_busiest" 'BEGIN {c = l / hz; printf "%.2f", (c > m ? c : m)}')
  fi
  return 0
}

# run_once NAME DIR: one run; sets wall_us, rss_kb, cpu_s and other_s (CPU seconds the rest of
# the machine used meanwhile); returns the tool's exit status. Its output goes to
# $work/out.NAME and $work/err.NAME.
run_once() {
  local name=$1 dir=$2 t0 t1 b0 b1 rc=0
  tool_cmd "$name" "$dir"
  b0=$(busy_ticks)
  t0=$EPOCHREALTIME
  /usr/bin/time -v -o "$work/time.$name" "${cmd[@]}" >"$work/out.$name" 2>"$work/err.$name" || rc=$?
  t1=$EPOCHREALTIME
  b1=$(busy_ticks)
  wall_us=$(( ${t1//[!0-9]/} - ${t0//[!0-9]/} ))
  rss_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.$name")
  cpu_s=$(awk -F': ' '/User time/ {u=$2} /System time/ {s=$2} END {printf "%.2f", u + s}' "$work/time.$name")
  other_s=$(awk -v d=$((b1 - b0)) -v hz="$clock_tick" -v c="$cpu_s" 'BEGIN {o = d / hz - c; printf "%.2f", (o > 0 ? o : 0)}')
  return $rc
}

# stats VALUES...: prints "median min max".
stats() {
  printf '%s\n' "$@" | sort -g | awk '{a[NR] = $1}
    END {m = NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2; print m, a[1], a[NR]}'
}

drop_caches() { sync && echo 3 >/proc/sys/vm/drop_caches; }

declare -A med lo hi cpu rss bg failed
# measure PASS NAME N: N timed runs of NAME on the tree (warm: after one warm-up run right
# before, so nothing of the tree has been paged out; cold: caches dropped before each run).
measure() {
  local pass=$1 name=$2 n=$3 i rc=0 walls=() cpus=() rsss=() others=()
  if [ "$pass" = warm ]; then
    run_once "$name" "$tree" || rc=$?
  fi
  for ((i = 0; i < n && rc == 0; i++)); do
    wait_idle
    [ "$pass" = warm ] || drop_caches
    run_once "$name" "$tree" || rc=$?
    [ "$rc" -eq 0 ] || break
    walls+=("$wall_us"); cpus+=("$cpu_s"); rsss+=("$rss_kb"); others+=("$other_s")
  done
  if [ "$rc" -ne 0 ]; then
    failed[$pass.$name]="exit $rc: $(head -c 200 "$work/err.$name" | head -n1)"
    return 0
  fi
  read -r med[$pass.$name] lo[$pass.$name] hi[$pass.$name] < <(stats "${walls[@]}")
  cpu[$pass.$name]=$(stats "${cpus[@]}" | cut -d' ' -f1)
  rss[$pass.$name]=$(stats "${rsss[@]}" | cut -d' ' -f1)
  bg[$pass.$name]=$(awk -v w="${walls[*]}" -v o="${others[*]}" 'BEGIN {
    n = split(w, ws, " "); split(o, os, " "); for (i = 1; i <= n; i++) {tw += ws[i] / 1e6; to += os[i]}
    printf "%.2f", to / tw }')
  printf '  %-12s %s\n' "$name" "$(printf '%s ' "${walls[@]}" | awk '{for (i = 1; i <= NF; i++) printf "%.3f ", $i / 1e6}')s" >&2
}

# table PASS NAMES...: prints the timing table of one pass.
table() {
  local pass=$1; shift
  local base=${med[$pass.quorvel]:-} floor=${med[$pass.floor]:-} name
  printf '%-12s %9s %17s %9s %8s %8s %10s %9s %8s\n' tool "median s" "min - max s" "x Quorvel" "x floor" "CPU s" "peak RSS" "B/entry" "bg load"
  for name in "$@"; do
    if [ -n "${failed[$pass.$name]:-}" ]; then
      printf '%-12s failed (%s)\n' "$name" "${failed[$pass.$name]}"
      continue
    fi
    [ -n "${med[$pass.$name]:-}" ] || continue
    awk -v n="$name" -v m="${med[$pass.$name]}" -v a="${lo[$pass.$name]}" -v b="${hi[$pass.$name]}" \
        -v q="$base" -v f="$floor" -v c="${cpu[$pass.$name]}" -v r="${rss[$pass.$name]}" -v e="$count" \
        -v g="${bg[$pass.$name]}" 'BEGIN {
      printf "%-12s %9.3f %8.3f - %6.3f %9s %8s %8.2f %7.1f MiB %9.1f %8.2f\n", n, m / 1e6, a / 1e6, b / 1e6,
        q == "" ? "-" : sprintf("%.2f", m / q), f == "" ? "-" : sprintf("%.2f", m / f),
        c, r / 1024, r * 1024 / e, g }'
  done
  echo "x Quorvel / x floor: the tool's median over Quorvel's (default threads) or the floor walker's."
  echo "CPU s: user + system, median. peak RSS: median of the runs' maximum resident set size"
  echo "(/usr/bin/time -v); B/entry divides it by the tree's $count entries. bg load: cores the rest"
  echo "of the machine kept busy meanwhile, on average."
  local loads=""
  for name in "$@"; do loads+="${bg[$pass.$name]:-0} "; done
  if awk -v g="$loads" 'BEGIN {n = split(g, a, " "); for (i = 1; i <= n; i++) if (a[i] > 0.25) exit 0; exit 1}'; then
    echo "WARNING: other processes were using the CPU during this pass (bg load); wall times are"
    echo "noisy, CPU s is the steadier figure."
  fi
  if [ "$idle_gave_up" -gt 0 ]; then
    echo "The machine never went quiet before $idle_gave_up of the runs so far (waited ${idle_wait} s each;"
    echo "up to $idle_busiest cores busy elsewhere): those ran under load."
  fi
  ratio_line() { # ratio_line LABEL QUORVEL-ROW WALKER-ROW
    [ -n "${med[$pass.$2]:-}" ] && [ -n "${med[$pass.$3]:-}" ] || return 0
    awk -v l="$1" -v q="${med[$pass.$2]}" -v f="${med[$pass.$3]}" -v g="${bg[$pass.$2]}/${bg[$pass.$3]}" \
      'BEGIN { printf "Quorvel / bare walker, %s: %.2f (bg load %s)\n", l, q / f, g }'
  }
  ratio_line "1 thread" quorvel-t1 floor-t1
  ratio_line "2 threads" quorvel-t2 floor
  ratio_line "default threads vs 2-thread walker" quorvel floor
  # The walker at its best thread count, when several were timed.
  local best="" n
  for n in "${!med[@]}"; do
    [[ $n == "$pass.floor" || $n == "$pass.floor-t"* ]] || continue
    if [ -z "$best" ] || [ "${med[$n]}" -lt "${med[$best]}" ]; then best=$n; fi
  done
  if [ -n "$best" ] && [ "$best" != "$pass.floor" ]; then
    ratio_line "default threads vs the best walker (${best#"$pass".})" quorvel "${best#"$pass".}"
  fi
  if [ -n "$base" ] && [ -n "${med[$pass.floor-vis]:-}" ]; then
    awk -v q="$base" -v v="${med[$pass.floor-vis]}" 'BEGIN {
      printf "Quorvel does not read hidden folders; floor-vis walks the same folders: Quorvel / floor-vis = %.2f\n", q / v }'
  fi
}

# ncdu_tree_rss DIR: ncdu only keeps its tree in the interactive browser (with -o it streams
# the export and keeps nothing), so run it in a detached tmux pane, wait for the browser's
# "Total disk usage" line, and read the process's peak RSS (VmHWM). Prints kB or nothing.
ncdu_tree_rss() {
  local dir=$1 pid="" hwm="" i
  command -v tmux >/dev/null || return 0
  tmux -L "$tmux_socket" -f /dev/null new-session -d -x 160 -y 40 \
    "exec $(printf '%q ' "${tool_env[@]}" ncdu -2 "$dir")" || return 0
  pid=$(tmux -L "$tmux_socket" list-panes -F '#{pane_pid}' 2>/dev/null | head -n1)
  for ((i = 0; i < 6000; i++)); do         # up to 10 minutes
    if tmux -L "$tmux_socket" capture-pane -p 2>/dev/null | grep -q 'Total disk usage'; then
      hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
      break
    fi
    sleep 0.1
  done
  tmux -L "$tmux_socket" kill-server 2>/dev/null || true
  echo "$hwm"
}

# ---------------------------------------------------------------------------------------------
# Report

git_rev=$(git rev-parse --short HEAD 2>/dev/null || echo "?")
echo
echo "Quorvel scan benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $git_rev"
echo "machine: $(nproc) cores ($(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)), \
$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo), kernel $(uname -r)"
echo "tree:    $tree on $(df --output=fstype,source "$tree" | tail -n1 | awk '{print $1 " (" $2 ")"}')"
echo "         $made_line"
if [ "$tree_kind" = equal ]; then
  echo "         equal work: no hidden folders and no links, so every tool reads every entry"
else
  echo "         home-like: Quorvel passes over hidden folders and links (see the memory section for how many entries it keeps)"
fi
echo "tools:   $(du --version | head -n1); $(ncdu -v 2>&1 | head -n1); gdu $(gdu --version 2>/dev/null | awk '/Version/ {print $2}'); \
floor_walk --threads 2"
[ -z "$quorvel_note" ] || echo "         $quorvel_note"

warm_tools=()
if wanted quorvel && [ -z "$quorvel_note" ]; then
  warm_tools+=(quorvel)
  for t in 1 2 $threads_list; do
    [[ " ${warm_tools[*]} " == *" quorvel-t$t "* ]] || warm_tools+=("quorvel-t$t")
  done
fi
for t in du ncdu gdu floor; do wanted "$t" && warm_tools+=("$t"); done
wanted floor && warm_tools+=(floor-t1)
wanted floor && [ "$tree_kind" = home ] && warm_tools+=(floor-vis)

echo
echo "== Warm cache: one warm-up run, then $runs timed runs per tool, back to back =="
for name in "${warm_tools[@]}"; do measure warm "$name" "$runs"; done
table warm "${warm_tools[@]}"

echo
echo "== What each tool reported (last warm run) =="
for name in "${warm_tools[@]}"; do
  [ -f "$work/out.$name" ] || continue
  case "$name" in
    du) printf '%-12s %s\n' "$name" "$(tr '\t' ' ' <"$work/out.$name" | head -n1) (KiB allocated, hard links once)" ;;
    ncdu) printf '%-12s %s\n' "$name" "(exports to /dev/null)" ;;
    gdu) printf '%-12s %s\n' "$name" "$(wc -l <"$work/out.$name") top-level lines" ;;
    *) printf '%-12s %s\n' "$name" "$(head -c 300 "$work/out.$name" | head -n1)" ;;
  esac
done
if [ -f "$work/out.floor" ]; then
  walked=$(awk '{print $1; exit}' "$work/out.floor")
  if [ "$walked" != "$count" ]; then
    echo "WARNING: the floor walker met $walked entries but the tree was made with $count;"
    echo "the tree has been changed since. Remove $tree and $marker and run again."
  fi
fi

# Quorvel's own node count, from its JSON totals.
quorvel_nodes=""
if [ -f "$work/out.quorvel" ]; then
  quorvel_nodes=$(sed -n 's/.*"files":\([0-9]*\).*"folders":\([0-9]*\).*/\1 \2/p' "$work/out.quorvel" | awk '{print $1 + $2}')
fi

echo
echo "== Memory =="
printf '%-28s %10s %10s %12s\n' "" "1-file dir" "tree" "B/entry net"
for name in "${warm_tools[@]}"; do
  [ -n "${rss[warm.$name]:-}" ] || continue
  run_once "$name" "$work/base" || true
  [ "$name" != quorvel ] || quorvel_base_kb=$rss_kb
  awk -v n="$name" -v z="$rss_kb" -v r="${rss[warm.$name]}" -v e="$count" \
    'BEGIN { printf "%-28s %6.1f MiB %6.1f MiB %12.1f\n", n, z / 1024, r / 1024, (r - z) * 1024 / e }'
done
if wanted ncdu; then
  ncdu_empty=$(ncdu_tree_rss "$work/base")
  ncdu_tree=$(ncdu_tree_rss "$tree")
  if [ -n "$ncdu_tree" ] && [ -n "$ncdu_empty" ]; then
    awk -v z="$ncdu_empty" -v r="$ncdu_tree" -v e="$count" \
      'BEGIN { printf "%-28s %6.1f MiB %6.1f MiB %12.1f\n", "ncdu (interactive, its tree)", z / 1024, r / 1024, (r - z) * 1024 / e }'
  else
    echo "ncdu (interactive): not measured (tmux missing or the browser never appeared)"
  fi
  echo "ncdu -o streams its export and keeps no tree; the interactive row is ncdu 1.x in the"
  echo "browser after its scan (VmHWM, read in a detached tmux pane)."
fi
echo "net = (tree - 1-file dir) / entries: the memory the tree itself costs, without the program's base."
if [ -n "$quorvel_nodes" ] && [ "$quorvel_nodes" -gt 0 ] && [ -n "${rss[warm.quorvel]:-}" ]; then
  awk -v r="${rss[warm.quorvel]}" -v z="${quorvel_base_kb:-0}" -v k="$quorvel_nodes" -v e="$count" 'BEGIN {
    printf "Quorvel keeps %d nodes (%.0f%% of the entries: no hidden folders, no symbolic links): %.1f B per node, %.1f net\n",
      k, 100 * k / e, r * 1024 / k, (r - z) * 1024 / k }'
fi
# The reports' output next to the scan's own peak: report all --json writes every report.
if [ -n "${rss[warm.quorvel]:-}" ]; then
  if /usr/bin/time -v -o "$work/time.report" "${tool_env[@]}" "$quorvel" report all --json --exclusions "$exclusions" "$tree" \
       >/dev/null 2>"$work/err.report"; then
    awk -v r="$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.report")" -v s="${rss[warm.quorvel]}" \
      'BEGIN { printf "report all --json: peak RSS %.1f MiB, %.2f x the scan'"'"'s peak\n", r / 1024, r / s }'
  else
    echo "report all --json failed: $(head -n1 "$work/err.report")"
  fi
fi

# ---------------------------------------------------------------------------------------------
# Reports: every report of the scanned root (quorvel-cli report all) next to the scan that
# precedes it, in one run, on the tree and on a tree a tenth its size (same generator and
# seed), so the growth with the number of files shows. Median of three runs each.

# report_tree N: prints the path of a tree of N entries, making it when needed.
report_tree() {
  local n=$1 dir=$tree_base/quorvel-bench-tree-$1 k
  [ "$seed" = 42 ] || dir=$dir-seed$seed
  k="$(sha1sum bench/make_tree.cpp | cut -c1-12) seed=$seed entries=$n"
  if ! { [ -f "$dir.ready" ] && [ -d "$dir" ] && [ "$(head -n1 "$dir.ready")" = "$k" ]; }; then
    rm -rf -- "$dir" "$dir.ready"
    printf '%s\n%s\n' "$k" "$(build-bench/make_tree --seed "$seed" "$dir" "$n")" >"$dir.ready"
  fi
  echo "$dir"
}

# report_timing DIR: one line with the scan, all reports, their share, and the costliest ones.
report_timing() {
  local dir=$1 i scans=() reps=() line files
  for ((i = 0; i < 3; i++)); do
    "${tool_env[@]}" "$quorvel" report all --timings --exclusions "$exclusions" "$dir" >"$work/report.out" 2>&1 ||
      { echo "  report all failed on $dir: $(tail -n1 "$work/report.out")"; return 0; }
    line=$(grep -E '^Scan: ' "$work/report.out")
    scans+=("$(awk '{print $2}' <<<"$line")"); reps+=("$(awk '{print $5}' <<<"$line")")
  done
  files=$(sed -n 2p "$work/report.out" | awk '{print $5}')
  awk -v d="$dir" -v f="$files" -v s="$(stats "${scans[@]}" | cut -d' ' -f1)" -v r="$(stats "${reps[@]}" | cut -d' ' -f1)" \
    'BEGIN { printf "%-40s %9s %8.3f %9.3f %7.1f %%\n", d, f, s, r, 100 * r / s }'
  awk '/^  [a-z-]+ +[0-9.]+ s$/ {printf "%s=%s ", $1, $2}' "$work/report.out" | fold -s -w 100 | sed 's/^/    /'
  echo
}

if wanted quorvel && [ -z "$quorvel_note" ] && [ "$entries" -ge 10 ]; then
  echo
  echo "== Reports: quorvel-cli report all, warm cache, median of 3 runs =="
  printf '%-40s %9s %8s %9s %9s\n' tree files "scan s" "reports s" "share"
  report_timing "$(report_tree $((entries / 10)))"
  report_timing "$tree"
  echo "reports s: the time to compute every report (rows sorted as shown) after the scan;"
  echo "share: reports over scan. The per-report seconds (last run) follow each line."
fi

# Cold cache
if [ "$cold" != no ]; then
  echo
  if ! drop_caches 2>/dev/null; then
    echo "== Cold cache: skipped, /proc/sys/vm/drop_caches is not writable (needs root) =="
  else
    cold_tools=()
    if wanted quorvel && [ -z "$quorvel_note" ]; then
      cold_tools+=(quorvel)
      for t in $cold_threads; do cold_tools+=("quorvel-t$t"); done
    fi
    for t in du ncdu gdu floor; do wanted "$t" && cold_tools+=("$t"); done
    if wanted floor; then
      for t in $cold_floor_threads; do [ "$t" = 2 ] || cold_tools+=("floor-t$t"); done
      [ "$tree_kind" = home ] && cold_tools+=(floor-vis)
    fi
    echo "== Cold cache: caches dropped (sync; echo 3 > /proc/sys/vm/drop_caches) before each of $cold_runs runs =="
    for name in "${cold_tools[@]}"; do measure cold "$name" "$cold_runs"; done
    table cold "${cold_tools[@]}"
    if [ -n "${med[cold.floor]:-}" ] && [ -n "${med[warm.floor]:-}" ]; then
      awk -v c="${med[cold.floor]}" -v w="${med[warm.floor]}" 'BEGIN {
        printf "floor walker cold/warm: %.1fx", c / w
        if (c < 1.5 * w) printf " (dropping caches hardly slowed it: the storage may be cached below this machine)"
        printf "\n" }'
    fi
  fi
fi
echo
echo "written to $results"
