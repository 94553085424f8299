#!/usr/bin/env bash
# screenshots.sh -- makes the README's pictures from the real game: plays the two real-binary
# stories of the tests (real keys and clicks; the first waits out the intro, a minute or more) and
# the start of the game on Xvfb screens of their own, then puts the key screens, halved, under
# docs/screenshots/. Takes a few minutes; commit the pictures it changes.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing "${KAIVA_BUILD_PACKAGES[@]}" "${KAIVA_TEST_PACKAGES[@]}"
build_into "$KAIVA_ROOT/build"
start_xvfb
export ALSOFT_DRIVERS=null
shots="$KAIVA_ROOT/build/screenshots"
rm -f "$shots"/play-*.png "$shots"/e2e-intro-*.png
say "playing the game to take its pictures"
(cd "$KAIVA_ROOT/build" &&
    tests/kaiva_tests --gtest_filter='RealGamePlaythrough.*:StartAndClose.*' >/dev/null)
mkdir -p "$KAIVA_ROOT/docs/screenshots"
for pair in e2e-intro-first:intro play-hud:roaming play-choices:conversation \
    play-inventory:inventory play-battle:battle play-ending-1:ending; do
    "$KAIVA_ROOT/build/tools/xshot/xshot" --half "$shots/${pair%%:*}.png" \
        "$KAIVA_ROOT/docs/screenshots/${pair##*:}.png"
done
say "the pictures are in docs/screenshots/"
