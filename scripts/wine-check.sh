#!/usr/bin/env bash
# wine-check.sh -- plays the Windows zip (scripts/windows.sh) under Wine on a private Xvfb screen,
# as a player would get it: unpacked, started from another folder. Checks that the window appears,
# that the intro's first seconds are drawn (a screenshot not black, and another a moment later that
# differs), that the music reaches OpenAL Soft's wave-file driver and is not silent, that Escape
# ends the game with status 0, and that without its assets folder the game says on its console the
# very lines the Linux game says. Part of scripts/test.sh --full; run alone after windows.sh.
# The Wine prefix is the script's own (build-windows/wine), made on the first run and kept.
set -euo pipefail
source "$(dirname "$0")/common.sh"

WINDOWS="$KAIVA_ROOT/build-windows"
CHECK="$WINDOWS/wine-check"
SCREEN_PIXELS=$((1920 * 1080)) # start_xvfb's screen; an xwd dump ends with them, 4 bytes each
export WINEPREFIX="$WINDOWS/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

GAME_PID=
fail() {
    say "wine check: $*"
    [[ -z $GAME_PID ]] || kill "$GAME_PID" 2>/dev/null || true
    exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local seconds="$1" _
    shift
    for _ in $(seq $((seconds * 5))); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# Starts a game in the background from the folder given, its console into <log>.out and <log>.err:
# start_game <folder> <log> <command>...; sets GAME_PID.
start_game() {
    local folder="$1" log="$2"
    shift 2
    (cd "$folder" && exec "$@" >"$log.out" 2>"$log.err") &
    GAME_PID=$!
}

game_window() {
    xdotool search --name '^Kaiva$' 2>/dev/null | head -n 1
}

has_window() {
    [[ -n $(game_window) ]]
}

# Presses Escape in the game's window and waits for the game to end; its status must be 0.
close_with_escape() {
    local window status=0
    window=$(game_window)
    [[ -n $window ]] || fail "the game has no window to press Escape in"
    xdotool windowfocus --sync "$window" key Escape
    wait_for 30 bash -c "! kill -0 $GAME_PID 2>/dev/null" || fail "the game did not end on Escape"
    wait "$GAME_PID" || status=$?
    ((status == 0)) || fail "the game ended with status $status on Escape"
}

# Takes a screenshot into the file given and counts its pixels that are not black (xwd's pixels are
# 32-bit little-endian words, their top byte unused).
lit_pixels() {
    xwd -root -silent >"$1"
    tail -c $((SCREEN_PIXELS * 4)) "$1" |
        perl -0777 -ne 'print scalar(grep { $_ & 0xffffff } unpack("V*", $_)), "\n"'
}

# Unpacks the zip afresh, as a player would.
unpack() {
    local version zip
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WINDOWS/game/CMakeCache.txt")
    zip="$WINDOWS/kaiva-$version-windows-x64.zip"
    [[ -f $zip ]] || fail "no $zip: run scripts/windows.sh first"
    rm -rf "$CHECK"
    mkdir -p "$CHECK/elsewhere"
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
    say "making the Wine prefix ${WINEPREFIX#"$KAIVA_ROOT"/}"
    wineboot --init >/dev/null 2>&1
    wineserver --wait
}

# The console lines about assets: the two the game prints itself and every one that names a file.
asset_lines() {
    tr -d '\r' <"$1" | grep -E 'assets|non caricato|not loaded' || true
}

# The intro drawn, its music written to a file, and Escape. The game starts from another folder
# than its own, as a double click or a shortcut may start it.
play_intro() {
    local wav="$CHECK/music.wav" first=0 second peak _
    printf '[wave]\nfile=%s\n' "$(winepath -w "$wav")" >"$CHECK/alsoft.ini"
    start_game "$CHECK/elsewhere" "$CHECK/intro" env ALSOFT_DRIVERS=wave \
        ALSOFT_CONF="$(winepath -w "$CHECK/alsoft.ini")" \
        wine "$GAME/kaiva.exe"
    wait_for 60 has_window || fail "no window named Kaiva appeared in 60 s"
    say "the window appeared"
    for _ in $(seq 60); do
        first=$(lit_pixels "$CHECK/first.xwd")
        ((first > SCREEN_PIXELS / 10)) && break
        sleep 0.5
    done
    ((first > SCREEN_PIXELS / 10)) || fail "the screen stayed black for 30 s ($first pixels lit)"
    sleep 2
    second=$(lit_pixels "$CHECK/second.xwd")
    ((second > SCREEN_PIXELS / 10)) || fail "the screen went black ($second pixels lit)"
    cmp -s "$CHECK/first.xwd" "$CHECK/second.xwd" && fail "the picture did not change in 2 s"
    say "the intro is drawn and moves ($first and $second of $SCREEN_PIXELS pixels lit)"
    sleep 3
    close_with_escape
    say "Escape ended the game with status 0"
    if [[ -n $(asset_lines "$CHECK/intro.out") || -n $(asset_lines "$CHECK/intro.err") ]]; then
        cat "$CHECK/intro.out" "$CHECK/intro.err"
        fail "started from another folder, the game did not find the assets beside it"
    fi
    [[ -s $wav ]] || fail "OpenAL Soft wrote no music to $wav"
    peak=$(sox -V1 "$wav" -n stat 2>&1 | awk '/^Maximum amplitude/ {print $3}')
    awk -v peak="${peak:-0}" 'BEGIN { exit !(peak > 0.01) }' || fail "the music written is silent"
    say "the music was written ($(soxi -d "$wav" 2>/dev/null) long, peak amplitude $peak)"
}

# Runs a game in a folder without assets/ through its start-up (its last line on standard output
# is the heroine's missing picture) and its first frames (where the intro's music is opened), then
# closes it with Escape: missing_assets_run <log> <command>... The Windows C runtime keeps standard
# error in a buffer when it is a file, and SFML's lines there arrive as the game ends.
missing_assets_run() {
    local log="$1"
    shift
    start_game "$(dirname "$log")" "$log" env ALSOFT_DRIVERS=null "$@"
    wait_for 60 grep -q 'Kaiva texture not loaded' "$log.out" ||
        fail "$* did not start up in 60 s"
    sleep 5
    close_with_escape
}

# Without assets/ beside it, the Windows game must say what the Linux game says in a folder without
# assets/ (the native build's kaiva), line for line.
missing_assets() {
    local stream
    mkdir -p "$CHECK/bare" "$CHECK/linux"
    cp "$GAME/kaiva.exe" "$GAME/OpenAL32.dll" "$CHECK/bare/"
    missing_assets_run "$CHECK/linux/kaiva" "$KAIVA_ROOT/build/kaiva"
    missing_assets_run "$CHECK/bare/kaiva" wine "$CHECK/bare/kaiva.exe"
    grep -q introMusic "$CHECK/linux/kaiva.err" ||
        fail "the Linux game did not tell its missing music: nothing to compare with"
    for stream in out err; do
        if ! diff <(asset_lines "$CHECK/linux/kaiva.$stream") <(asset_lines "$CHECK/bare/kaiva.$stream"); then
            fail "without assets/ the Windows game's standard $stream differs from Linux's (above)"
        fi
    done
    say "without assets/ it says what the Linux game says" \
        "($(asset_lines "$CHECK/bare/kaiva.err" | wc -l) + $(asset_lines "$CHECK/bare/kaiva.out" | wc -l) lines)"
}

started=$SECONDS
install_missing "${KAIVA_TEST_PACKAGES[@]}" "${KAIVA_WINE_PACKAGES[@]}"
[[ -x $KAIVA_ROOT/build/kaiva ]] || build_target_into "$KAIVA_ROOT/build" kaiva
unpack
start_xvfb
timed "the Wine prefix" prepare_prefix
timed "the intro under Wine" play_intro
timed "the missing assets under Wine" missing_assets
wineserver --kill 2>/dev/null || true
say "the Wine check passed in $((SECONDS - started)) s"
