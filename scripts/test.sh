#!/usr/bin/env bash
# test.sh -- installs what is missing, builds Kaiva and runs every test headless: on a private
# Xvfb screen with software OpenGL, audio through OpenAL Soft's null driver. The thread tests (map
# loaders, character thread) run first in a ThreadSanitizer build; CTest's summary of all tests
# comes last. Among them the Package tests build the Debian package, check it, and (as root or
# with sudo) install it with apt, play it through /usr/games/kaiva and remove it again.
# Arguments go to the final ctest (e.g. `scripts/test.sh -R MapLoader` runs matching tests only,
# and then skips the ThreadSanitizer build).
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing "${KAIVA_BUILD_PACKAGES[@]}" "${KAIVA_TEST_PACKAGES[@]}" "${KAIVA_PACKAGE_PACKAGES[@]}"
build_into "$KAIVA_ROOT/build"
if (($# == 0)); then
    build_into "$KAIVA_ROOT/build-tsan" -DKAIVA_SANITIZE=thread -DKAIVA_BUILD_BENCH=OFF
fi

start_xvfb
export ALSOFT_DRIVERS=null

if (($# == 0)); then
    say "running the thread tests (map loaders, characters) under ThreadSanitizer"
    TSAN_OPTIONS="halt_on_error=1 suppressions=$KAIVA_ROOT/tests/threadSanitizer.supp" \
        ctest --test-dir "$KAIVA_ROOT/build-tsan" -R 'MapLoaderThread|CharacterThread' --output-on-failure
fi
if [[ $(id -u) -ne 0 ]] && ! sudo -n true 2>/dev/null; then
    say "neither root nor sudo without a password: the package will not be installed and played"
    say "(Package.InstalledWithAptPlayedAndRemoved is skipped)"
fi
say "running every test"
ctest --test-dir "$KAIVA_ROOT/build" --output-on-failure "$@"
