#!/usr/bin/env bash
# measure-frames.sh -- times every frame the real game shows, against the floor of this machine
# measured in the same run: a program that clears, draws one opaque full-screen picture one texel
# to one pixel (no blending, no smoothing) and displays, which is what every world frame of the
# game does at the least. Everything runs on a private 1920 x 1080 Xvfb screen with Mesa's software OpenGL;
# the frame timer (a preload library, tools/frametimer) notes every buffer swap of the unchanged
# binaries. In three rounds, prints the median and 95th percentile of each frame's cost in time
# and in CPU time (of every thread of the process, the software renderer's included), their ratios
# to the floor of the same round and the game's resident memory, how long after its start the game
# showed its first frame and its peak resident memory, then the median ratios and start-up figures.
#   scripts/measure-frames.sh [-s seconds to skip] [-m seconds to measure] [build folder ...]
#   scripts/measure-frames.sh -t seconds -f first:count [-f first:count ...] [build folder ...]
# Each build folder (default: build) holds a kaiva binary and its assets/; give two to compare two
# commits in one run. By time (-s, -m): seconds of each run, the first ones skipped so that the
# maps are loaded (with the intro, the first minute is its flight). By frames (-f, repeatable): each window is the frames
# first .. first + count - 1 of one run of the game (frame 1 is the first shown), which lets one
# run compare phases of the game that are counted in frames: the intro is frames 1 to 3497, one
# step of its flight each. Each game then runs -t seconds; a window it did not reach is said so.
# Every window after the first is also given as a ratio to the first. The time a frame takes
# grows with whatever else loads the machine; its CPU time much less: when other programs run,
# compare CPU times, and figures from one run only.
set -euo pipefail
source "$(dirname "$0")/common.sh"

skip=4
span=6
seconds=
frameWindows=()
while getopts "s:m:t:f:" option; do
    case $option in
    s) skip=$OPTARG ;;
    m) span=$OPTARG ;;
    t) seconds=$OPTARG ;;
    f) frameWindows+=("$OPTARG") ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
(($# > 0)) || set -- "$KAIVA_ROOT/build"
if ((${#frameWindows[@]} > 0)) && [[ -z $seconds ]]; then
    say "frame windows (-f) need the length of each game's run (-t seconds)"
    exit 2
fi
: "${seconds:=$((skip + span))}"
floorSkip=2 # the floor's frames are all alike: a short run measures it
floorSpan=6

install_missing "${KAIVA_BUILD_PACKAGES[@]}" "${KAIVA_TEST_PACKAGES[@]}"
build_into "$KAIVA_ROOT/build"
start_xvfb
export ALSOFT_DRIVERS=null
out="$(mktemp -d)"
tools="$KAIVA_ROOT/build/tools/frametimer"

# One window of a swap log ("<ms since the first swap> <ms slept> <process CPU ms>" per swap):
# "time from to" in seconds, or "frames first count". Prints the median and 95th percentile of the
# intervals between its swaps, of the frames' cost (the interval less what the frame-rate limit
# slept) and of their CPU time, then the number of frames, and the seconds of the run at which the
# window starts and ends.
summarise() {
    local log=$1 kind=$2 a=$3 b=$4 column
    awk -v kind="$kind" -v a="$a" -v b="$b" '
        (kind == "time" && $1 >= a * 1000 && $1 <= b * 1000) ||
        (kind == "frames" && NR >= a && NR < a + b)' "$log" >"$log.window"
    awk 'NR > 1 { print $1 - last } { last = $1 }' "$log.window" | sort -n >"$log.1"
    awk 'NR > 1 { print $1 - last - $2 } { last = $1 }' "$log.window" | sort -n >"$log.2"
    awk 'NR > 1 { print $3 - last } { last = $3 }' "$log.window" | sort -n >"$log.3"
    for column in 1 2 3; do
        awk '{ d[NR] = $1 } END { printf "%.1f %.1f ", d[int((NR + 1) / 2)], d[int(NR * 0.95 + 0.5)] }' \
            "$log.$column"
    done
    awk 'NR == 1 { first = $1 } { last = $1 }
        END { printf "%d %.1f %.1f\n", (NR > 1 ? NR - 1 : 0), first / 1000, last / 1000 }' "$log.window"
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'
}

# The windows to summarise, one "kind a b" per line.
windowList() {
    local window
    if ((${#frameWindows[@]} == 0)); then
        echo "time $skip $((skip + span))"
        return
    fi
    for window in "${frameWindows[@]}"; do
        echo "frames ${window%%:*} ${window##*:}"
    done
}

# One round: the floor, then each game; a line per program and window with its ratios to this
# round's floor (and to the game's first window).
measure_round() {
    local round=$1 folder game rss kind a b label firstFrame peak faults
    local interval intervalP95 cost costP95 cpu cpuP95 count from to firstCost firstCpu first
    local floorCost floorCostP95 floorCpu floorCount
    shift
    FRAMETIMER_OUT="$out/floor.txt" LD_PRELOAD="$tools/libframetimer.so" \
        "$tools/framefloor" "$KAIVA_ROOT/build/assets/textures/tileTable.png" \
        "$((floorSkip + floorSpan))" 2>/dev/null
    read -r _ _ floorCost floorCostP95 floorCpu _ floorCount _ _ < <(summarise "$out/floor.txt" \
        time "$floorSkip" "$((floorSkip + floorSpan))")
    printf 'round %d  %-28s cost %5s ms (p95 %5s)  cpu %5s ms  (%s frames)\n' "$round" floor \
        "$floorCost" "$floorCostP95" "$floorCpu" "$floorCount"
    for folder in "$@"; do
        (cd "$folder" && FRAMETIMER_OUT="$out/game.txt" LD_PRELOAD="$tools/libframetimer.so" \
            exec ./kaiva >/dev/null 2>&1) &
        game=$!
        sleep "$seconds"
        rss=$(awk '/VmRSS/ { print $2 }' "/proc/$game/status")
        xdotool key --delay 150 Escape Down e # the pause's way out
        wait "$game"
        label="$(basename "$(dirname "$folder")")/$(basename "$folder")"
        if [[ -f $out/game.txt.process ]]; then
            firstFrame=$(awk '$1 == "first-swap-ms" { print $2 }' "$out/game.txt.process")
            peak=$(awk '$1 == "peak-resident-kib" { print $2 }' "$out/game.txt.process")
            faults=$(awk '$1 == "first-swap-minor-faults" { print $2 }' "$out/game.txt.process")
            rm "$out/game.txt.process"
            printf 'round %d  %-28s first frame %s ms after the start (%d MB faulted in by then); peak %d MB resident\n' \
                "$round" "$label" "$firstFrame" "$((faults * 4 / 1024))" "$((peak / 1024))"
        fi
        firstCost=
        first=true
        while read -r kind a b; do
            read -r interval intervalP95 cost costP95 cpu cpuP95 count from to < <(summarise \
                "$out/game.txt" "$kind" "$a" "$b")
            label="$(basename "$(dirname "$folder")")/$(basename "$folder")"
            [[ $kind == frames ]] && label="$label [$a+$b]"
            if ((count < 2)) || [[ $kind == frames && $count -lt $((b - 1)) ]]; then
                printf 'round %d  %-28s only %s frames of the window were shown in %s s\n' \
                    "$round" "$label" "$count" "$seconds"
                first=false
                continue
            fi
            printf 'round %d  %-28s cost %5s ms (p95 %5s)  cpu %5s ms (p95 %5s)  (%s frames, %s-%s s)' \
                "$round" "$label" "$cost" "$costP95" "$cpu" "$cpuP95" "$count" "$from" "$to"
            printf '  %s x floor (cpu %s x);' "$(ratio "$cost" "$floorCost")" \
                "$(ratio "$cpu" "$floorCpu")"
            if [[ -n $firstCost ]]; then
                printf ' %s x first window (cpu %s x);' "$(ratio "$cost" "$firstCost")" \
                    "$(ratio "$cpu" "$firstCpu")"
            elif $first; then
                firstCost=$cost
                firstCpu=$cpu
            fi
            first=false
            printf ' shown every %s ms (p95 %s); %d MB resident\n' "$interval" "$intervalP95" \
                "$((rss / 1024))"
        done < <(windowList)
    done
}

folders=()
for folder in "$@"; do
    folders+=("$(cd "$folder" && pwd)")
done
if ((${#frameWindows[@]} == 0)); then
    say "3 rounds of the floor then each game, $seconds s each, the first $skip s skipped"
else
    say "3 rounds of the floor then each game for $seconds s; frame windows ${frameWindows[*]}"
fi
for round in 1 2 3; do
    measure_round "$round" "${folders[@]}"
done | tee "$out/report.txt"
echo "median ratios over the rounds, in time (and in CPU time):"
# The median of a column of numbers.
median() {
    sort -n | awk '{ d[NR] = $1 } END { if (NR > 0) print d[int((NR + 1) / 2)] }'
}
grep -F "x floor" "$out/report.txt" |
    sed -E 's/^round [0-9]+  (.*[^ ]) +cost .*  ([0-9.]+) x floor \(cpu ([0-9.]+) x\);( ([0-9.]+) x first window \(cpu ([0-9.]+) x\);)?.*/\1|\2|\3|\5|\6/' \
        >"$out/ratios.txt"
cut -d '|' -f 1 "$out/ratios.txt" | awk '!seen[$0]++' | while read -r label; do
    columnMedian() { grep -F "$label|" "$out/ratios.txt" | cut -d '|' -f "$1" | grep . | median; }
    printf '  %-34s %s x floor (%s x)' "$label" "$(columnMedian 2)" "$(columnMedian 3)"
    if [[ -n $(columnMedian 4) ]]; then
        printf '  %s x first window (%s x)' "$(columnMedian 4)" "$(columnMedian 5)"
    fi
    printf '\n'
done
echo "median first frame after the start, and peak resident memory:"
grep -F "first frame" "$out/report.txt" |
    sed -E 's/^round [0-9]+  (.*[^ ]) +first frame ([0-9]+) ms .*peak ([0-9]+) MB.*/\1|\2|\3/' \
        >"$out/startup.txt"
cut -d '|' -f 1 "$out/startup.txt" | awk '!seen[$0]++' | while read -r label; do
    printf '  %-34s first frame %s ms, peak %s MB\n' "$label" \
        "$(grep -F "$label|" "$out/startup.txt" | cut -d '|' -f 2 | median)" \
        "$(grep -F "$label|" "$out/startup.txt" | cut -d '|' -f 3 | median)"
done
rm -rf "$out"
