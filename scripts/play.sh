#!/usr/bin/env bash
# play.sh -- installs what is missing, builds Kaiva and starts it from the build folder, where
# ./assets/ is the game's asset folder. Safe to run again and again.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing "${KAIVA_BUILD_PACKAGES[@]}"
build_into "$KAIVA_ROOT/build"
cd "$KAIVA_ROOT/build"
if [[ -z "${DISPLAY:-}" ]]; then
    install_missing xvfb libgl1-mesa-dri
    say "no display here: the game runs on a private Xvfb screen, where nothing is visible"
    start_xvfb
fi
say "starting the game (Escape pauses, and its \"Esci dal gioco\" or the window's close button quits)"
./kaiva
