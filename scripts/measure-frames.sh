#!/usr/bin/env bash
# measure-frames.sh -- times every frame the real game shows, against the floor of this machine
# measured in the same run: a program that clears, draws one full-screen layer of textured cells
# and displays. Everything runs on a private 1920 x 1080 Xvfb screen with Mesa's software OpenGL;
# the frame timer (a preload library, tools/frametimer) notes every buffer swap of the unchanged
# binaries. In three rounds, prints the median and 95th percentile of each frame's cost, its ratio
# to the floor of the same round and the game's resident memory, then the median ratio.
#   scripts/measure-frames.sh [-s seconds to skip] [-m seconds to measure] [build folder ...]
# Each build folder (default: build) holds a kaiva binary and its assets/; give two to compare two
# commits in one run. The game stands where it starts: the first seconds are skipped so that the
# maps are loaded. Figures vary with the machine's load: compare figures from one run only.
set -euo pipefail
source "$(dirname "$0")/common.sh"

skip=4
span=6
while getopts "s:m:" option; do
    case $option in
    s) skip=$OPTARG ;;
    m) span=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
(($# > 0)) || set -- "$KAIVA_ROOT/build"

install_missing "${KAIVA_BUILD_PACKAGES[@]}" "${KAIVA_TEST_PACKAGES[@]}"
build_into "$KAIVA_ROOT/build"
start_xvfb
export ALSOFT_DRIVERS=null
out="$(mktemp -d)"
tools="$KAIVA_ROOT/build/tools/frametimer"

# Median and 95th percentile of the intervals between swaps within [skip, skip + span] seconds,
# and of the frames' cost: the interval less what the frame-rate limit slept.
summarise() {
    awk -v from="$((skip * 1000))" -v to="$(((skip + span) * 1000))" '
        $1 >= from && $1 <= to { if (n++ > 0) print $1 - last, $1 - last - $2; last = $1 }' "$1" |
        awk '{ print $1 > "/dev/stderr"; print $2 }' 2> >(sort -n > "$1.intervals") |
        sort -n > "$1.costs"
    sleep 0.2
    for list in "$1.intervals" "$1.costs"; do
        awk '{ d[NR] = $1 } END { printf "%.1f %.1f ", d[int((NR + 1) / 2)], d[int(NR * 0.95 + 0.5)] }' "$list"
    done
    wc -l < "$1.costs"
}

# One round: the floor, then each game; a line per program with its ratio to this round's floor.
measure_round() {
    local round=$1 folder interval intervalP95 median p95 count rss game
    shift
    FRAMETIMER_OUT="$out/floor.txt" LD_PRELOAD="$tools/libframetimer.so" \
        "$tools/framefloor" "$KAIVA_ROOT/build/assets/textures/tileTable.png" "$((skip + span))" \
        2>/dev/null
    read -r _ _ floorMedian floorP95 count < <(summarise "$out/floor.txt")
    printf 'round %d  %-22s frame cost median %5s ms  p95 %5s ms  (%s frames)\n' "$round" floor \
        "$floorMedian" "$floorP95" "$count"
    for folder in "$@"; do
        (cd "$folder" && FRAMETIMER_OUT="$out/game.txt" LD_PRELOAD="$tools/libframetimer.so" \
            exec ./kaiva >/dev/null 2>&1) &
        game=$!
        sleep "$((skip + span))"
        rss=$(awk '/VmRSS/ { print $2 }' "/proc/$game/status")
        xdotool key --delay 150 Escape
        wait "$game"
        read -r interval intervalP95 median p95 count < <(summarise "$out/game.txt")
        printf 'round %d  %-22s frame cost median %5s ms  p95 %5s ms  (%s frames)  %.2f x floor;' \
            "$round" "$(basename "$(dirname "$folder")")/$(basename "$folder")" "$median" "$p95" \
            "$count" "$(awk -v g="$median" -v f="$floorMedian" 'BEGIN { print g / f }')"
        printf ' shown every %s ms (p95 %s); %d MB resident\n' "$interval" "$intervalP95" \
            "$((rss / 1024))"
    done
}

folders=()
for folder in "$@"; do
    folders+=("$(cd "$folder" && pwd)")
done
say "3 rounds of the floor then each game, $((skip + span)) s each, the first $skip s skipped"
for round in 1 2 3; do
    measure_round "$round" "${folders[@]}"
done | tee "$out/report.txt"
echo "median ratio to the floor over the rounds:"
for folder in "${folders[@]}"; do
    name="$(basename "$(dirname "$folder")")/$(basename "$folder")"
    grep -F " $name " "$out/report.txt" | sed 's/.*  \([0-9.]*\) x floor.*/\1/' | sort -n |
        awk -v name="$name" '{ r[NR] = $1 } END { printf "  %-22s %s x\n", name, r[int((NR + 1) / 2)] }'
done
rm -rf "$out"
