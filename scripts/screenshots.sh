#!/usr/bin/env bash
# Makes the README's pictures (docs/screenshots/*.png) from a fixture tree generated here:
# the overview with its ring chart, the file explorer, the size ranges, all folders, the
# file viewer, a preferences pane and the summary popover. Renders offscreen at 1100x700
# and shrinks the files with pngquant and optipng when they are installed.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${QUORVEL_BUILD_DIR:-build}
[ -x "$build_dir/quorvel" ] || scripts/build.sh
out=docs/screenshots
mkdir -p "$out"

work=$(mktemp -d /tmp/qv.XXXX) # a short path: it shows in the pictures
trap 'rm -rf "$work"' EXIT
# A home of its own, so the pictures never show (or change) the real settings.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_STATE_HOME="$work/home/.local/state" XDG_CACHE_HOME="$work/home/.cache"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} LANG=C.UTF-8

# A project folder as people have them: pictures, videos, documents, code, archives, junk.
tree="$work/Projects"
make_file() { mkdir -p "$(dirname "$1")"; head -c "$2" /dev/urandom > "$1"; touch -d "$3" "$1"; }
for i in $(seq 1 12); do make_file "$tree/Photos/2024/IMG_$((4100 + i)).jpg" $((1500000 + i * 90000)) "2024-0$((i % 9 + 1))-1$((i % 9)) 1$((i % 9)):20"; done
for i in $(seq 1 6); do make_file "$tree/Photos/2025/IMG_$((5200 + i)).png" $((2200000 + i * 50000)) "2025-03-0$i 09:15"; done
make_file "$tree/Videos/holiday.mp4" 48000000 "2023-08-14 18:02"
make_file "$tree/Videos/talk.mkv" 31000000 "2025-11-02 14:40"
for i in $(seq 1 8); do make_file "$tree/Documents/report-$i.pdf" $((300000 + i * 41000)) "2025-0$((i % 9 + 1))-2$((i % 8)) 10:00"; done
make_file "$tree/Documents/budget.ods" 84000 "2025-12-01 08:30"
make_file "$tree/Documents/notes.txt" 5200 "2026-11-30 22:10"
for i in $(seq 1 40); do make_file "$tree/Code/quill/src/module$i.cpp" $((4000 + i * 310)) "2026-10-1$((i % 9)) 1$((i % 9)):05"; done
for i in $(seq 1 40); do make_file "$tree/Code/quill/src/module$i.h" $((900 + i * 40)) "2026-10-1$((i % 9)) 1$((i % 9)):05"; done
make_file "$tree/Code/quill/build/quill" 7400000 "2026-12-01 11:11"
make_file "$tree/Archives/backup-2022.tar.gz" 26000000 "2022-05-05 05:05"
make_file "$tree/Archives/fonts.zip" 3100000 "2021-02-02 12:00"
make_file "$tree/Music/album/track01.flac" 28000000 "2020-07-07 20:00"
make_file "$tree/Music/album/track02.flac" 24500000 "2020-07-07 20:05"
make_file "$tree/Downloads/installer.iso" 64000000 "2024-01-15 16:45"
make_file "$tree/Downloads/old.log" 120000 "2022-10-10 10:10"
make_file "$tree/Downloads/draft.bak" 64000 "2023-03-03 03:03"
make_file "$tree/Downloads/cache.tmp" 910000 "2025-06-06 06:06"
mkdir -p "$tree/Empty folder"

size=1100x700
shot() { # NAME, then the options of the picture
  local name=$1
  shift
  "$build_dir/quorvel" --screenshot "$out/$name.png" --size "$size" "$@" "$tree"
  echo "$out/$name.png"
}
for report in overview explorer sizes folders; do shot "$report" --report "$report"; done
shot viewer --viewer "Image Files"
shot preferences --preferences "Custom Filter"
shot popover --popover

# Interface pictures have few colours: a palette of 256 loses nothing one can see.
if command -v pngquant >/dev/null; then
  pngquant --force --skip-if-larger --quality 85-100 --strip --ext .png "$out"/*.png || true
fi
if command -v optipng >/dev/null; then
  optipng -quiet -o2 -strip all "$out"/*.png
fi
