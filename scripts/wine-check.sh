#!/usr/bin/env bash
# wine-check.sh -- plays the Windows zip (scripts/windows.sh) under Wine on a private Xvfb screen,
# as a player would get it: unpacked, started from another folder. Checks that the window appears,
# that the intro's first seconds are drawn (a screenshot not black, and another a moment later that
# differs), that the music reaches OpenAL Soft's wave-file driver and is not silent, that the
# pause's way out (Escape, Down, E) ends the game with status 0, and that without its assets folder
# the game says on its console the very lines the Linux game says. Part of scripts/test.sh --full;
# run alone after windows.sh. The Wine prefix is the script's own (build-windows/wine), made on the
# first run and kept.
set -euo pipefail
source "$(dirname "$0")/common.sh"

WINDOWS="$KAIVA_ROOT/build-windows"
CHECK="$WINDOWS/wine-check"
SCREEN_PIXELS=$((1920 * 1080)) # start_xvfb's screen; an xwd dump ends with them, 4 bytes each
export WINEPREFIX="$WINDOWS/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

fail() {
    say "wine check: $*"
    [[ -z ${GAME_PID:-} ]] || kill "$GAME_PID" 2>/dev/null || true
    exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

# Starts a game in the background from the folder given, its console into <log>.out and <log>.err:
# start_game <folder> <log> <command>...; sets GAME_PID.
start_game() {
    local folder="$1" log="$2"
    shift 2
    (cd "$folder" && exec "$@" >"$log.out" 2>"$log.err") &
    GAME_PID=$!
}

# The game's window, if there is one (the status says).
game_window() {
    xdotool search --limit 1 --name '^Kaiva$' 2>/dev/null
}

# Leaves the game as a player does, by the pause (Escape opens it, Down lights "Esci dal gioco",
# E takes it, each key held 150 ms), and waits for the game to end; its status must be 0.
leave_by_the_pause() {
    window=$(game_window) || fail "the game has no window to press keys in"
    xdotool windowfocus --sync "$window" keydown Escape sleep 0.15 keyup Escape sleep 0.15 \
        keydown Down sleep 0.15 keyup Down keydown e sleep 0.15 keyup e
    wait_for 30 bash -c "! kill -0 $GAME_PID 2>/dev/null" || fail "the pause did not end the game"
    wait "$GAME_PID" || fail "the game left by the pause with status $?"
}

# Takes a screenshot into the file given and counts its pixels that are not black (xwd's pixels are
# 32-bit little-endian words, their top byte unused).
lit_pixels() {
    xwd -root -silent | tee "$1" | tail -c $((SCREEN_PIXELS * 4)) |
        perl -0777 -ne 'print scalar(grep { $_ & 0xffffff } unpack("V*", $_)), "\n"'
}

# Unpacks the zip afresh, as a player would.
unpack() {
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WINDOWS/game/CMakeCache.txt")
    zip="$WINDOWS/kaiva-$version-windows-x64.zip"
    [[ -f $zip ]] || fail "no $zip: run scripts/windows.sh first"
    rm -rf "$CHECK" && mkdir -p "$CHECK/elsewhere"
    unzip -q "$zip" -d "$CHECK"
    GAME="$CHECK/kaiva-$version-windows-x64"
    [[ -f $GAME/kaiva.exe && -f $GAME/OpenAL32.dll && -d $GAME/assets ]] ||
        fail "the zip lacks kaiva.exe, OpenAL32.dll or assets/"
    # Wine shows no console window either way: the header says whether Windows would.
    [[ $(x86_64-w64-mingw32-objdump -p "$GAME/kaiva.exe") == *$'\nSubsystem'*'(Windows GUI)'* ]] ||
        fail "kaiva.exe is not a windowed program: Windows would open a console window with it"
}

prepare_prefix() {
    [[ -f $WINEPREFIX/system.reg ]] && return 0
    wineboot --init >/dev/null 2>&1
    wineserver --wait
}

# The console lines about assets in the files given: the two the game prints itself and every one
# that names a file.
asset_lines() {
    cat "$@" | tr -d '\r' | grep -E 'assets|non caricato|not loaded' || true
}

# Takes the first screenshot of the intro until more than a tenth of it is not black.
first_lit() {
    first=$(lit_pixels "$CHECK/first.xwd")
    ((first > SCREEN_PIXELS / 10))
}

# The intro drawn, its music written to a file, and the way out by the pause. The game starts from
# another folder than its own, as a double click or a shortcut may start it.
play_intro() {
    local wav="$CHECK/music.wav" second peak
    printf '[wave]\nfile=%s\n' "$(winepath -w "$wav")" >"$CHECK/alsoft.ini"
    start_game "$CHECK/elsewhere" "$CHECK/intro" env ALSOFT_DRIVERS=wave \
        ALSOFT_CONF="$(winepath -w "$CHECK/alsoft.ini")" wine "$GAME/kaiva.exe"
    wait_for 60 game_window >/dev/null || fail "no window named Kaiva appeared in 60 s"
    wait_for 30 first_lit || fail "the screen stayed black for 30 s"
    sleep 2
    second=$(lit_pixels "$CHECK/second.xwd")
    ((second > SCREEN_PIXELS / 10)) || fail "the screen went black ($second pixels lit)"
    cmp -s "$CHECK/first.xwd" "$CHECK/second.xwd" && fail "the picture did not change in 2 s"
    say "the window appeared; the intro is drawn and moves ($first, then $second pixels lit)"
    sleep 3
    leave_by_the_pause
    [[ -z $(asset_lines "$CHECK"/intro.{out,err}) ]] ||
        fail "started from another folder, it missed assets beside it ($CHECK/intro.err)"
    peak=$(sox -V1 "$wav" -n stat 2>&1 | awk '/^Maximum amplitude/ {print $3}')
    awk -v p="${peak:-0}" 'BEGIN {exit !(p > 0.01)}' || fail "$wav: no music, or silent"
    say "left by the pause with status 0; music written: $(soxi -d "$wav" 2>/dev/null), peak $peak"
}

# Runs a game in a folder without assets/ through its start-up (its last line on standard output
# is the heroine's missing picture) and its first frames (where the intro's music is opened), then
# leaves it by the pause: missing_assets_run <log> <command>... The Windows C runtime keeps standard
# error in a buffer when it is a file, and SFML's lines there arrive as the game ends.
missing_assets_run() {
    local log="$1"
    shift
    start_game "$(dirname "$log")" "$log" env ALSOFT_DRIVERS=null "$@"
    wait_for 60 grep -qs 'Kaiva texture not loaded' "$log.out" || fail "$* did not start in 60 s"
    sleep 5
    leave_by_the_pause
}

# Without assets/ beside it, the Windows game must say what the Linux game says in a folder without
# assets/ (the native build's kaiva), line for line.
missing_assets() {
    mkdir -p "$CHECK/bare" "$CHECK/linux"
    cp "$GAME/kaiva.exe" "$GAME/OpenAL32.dll" "$CHECK/bare/"
    missing_assets_run "$CHECK/linux/kaiva" "$KAIVA_ROOT/build/kaiva"
    missing_assets_run "$CHECK/bare/kaiva" wine "$CHECK/bare/kaiva.exe"
    grep -q introMusic "$CHECK/linux/kaiva.err" || fail "the Linux game told nothing to compare"
    diff <(asset_lines "$CHECK"/linux/kaiva.{out,err}) \
        <(asset_lines "$CHECK"/bare/kaiva.{out,err}) || fail "without assets/ it differs from Linux"
    say "without assets/ it says what the Linux game says, line for line"
}

install_missing "${KAIVA_TEST_PACKAGES[@]}" "${KAIVA_WINE_PACKAGES[@]}"
[[ -x $KAIVA_ROOT/build/kaiva ]] || build_target_into "$KAIVA_ROOT/build" kaiva
unpack
start_xvfb
timed "the Wine prefix" prepare_prefix
timed "the intro under Wine" play_intro
timed "the missing assets under Wine" missing_assets
wineserver --kill 2>/dev/null || true
say "the Wine check passed"
