#!/usr/bin/env bash
# soak.sh -- installs what is missing, builds Kaiva and plays the real game for the given minutes
# of free roaming (10 by default) under a seeded monkey: W/A/S/D held for random short times, E,
# Tab, Up, Down, Enter and left clicks at random places, never Escape. It fails on a crash, on
# frames that stop coming (the frame timer notes each one) and on heap memory in use that moves
# more than 5 MiB after the first minute of play (the resident size may step by up to 16 MiB), and
# prints the frames, the longest gap between two and the memory it measured. Always on an Xvfb
# screen of its own: the monkey's keys and clicks never reach your desktop. KAIVA_SOAK_SEED picks
# another monkey (1 by default).
set -euo pipefail
source "$(dirname "$0")/common.sh"

minutes="${1:-10}"
install_missing "${KAIVA_BUILD_PACKAGES[@]}" "${KAIVA_TEST_PACKAGES[@]}"
timed "the build" build_into "$KAIVA_ROOT/build"
start_xvfb
export ALSOFT_DRIVERS=null
say "soaking the game for $minutes minutes of play (the intro, flown through, comes first)"
timed "the soak" env KAIVA_SOAK_MINUTES="$minutes" "$KAIVA_ROOT/build/tests/kaiva_tests" \
    --gtest_filter='RealGameSoak.*'
