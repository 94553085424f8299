#!/usr/bin/env bash
# test.sh -- installs what is missing, builds Kaiva and runs every test headless: on a private
# Xvfb screen with software OpenGL, audio through OpenAL Soft's null driver. With no arguments it
# also builds the game with sanitizers and runs, in this order: the tests that start threads (map
# loaders, character thread, the real game) under ThreadSanitizer, every test under
# AddressSanitizer + UndefinedBehaviorSanitizer, the map reader's fuzzer for 60 s, and last, in the
# plain build, the two real playthroughs (one that fails is played once more) and every other test,
# whose CTest summary closes the output. Each part says how long it took.
# Among the plain tests the Package tests build the Debian package, check it, and (as root or with
# sudo) install it with apt, play it through /usr/games/kaiva and remove it again; two stories are
# played to their ends through the real game, the game is closed in each of its phases, and a
# seeded monkey plays it for 2 minutes (scripts/soak.sh plays longer). Arguments go to the plain
# build's ctest (e.g. `scripts/test.sh -R MapLoader` runs matching tests only, and then skips the
# sanitizer builds and the fuzzer).
set -euo pipefail
source "$(dirname "$0")/common.sh"

# Tests that start a thread: the loaders' and the character thread's, and the real game started,
# played a few seconds and closed (at once, once the map has loaded, and while slow maps load).
KAIVA_THREAD_TESTS='MapLoaderThread|CharacterThread|GameProcessTest\.(OpensItsFullScreenWindow|ClosingAtOnce)|EarlyPhases/ClosingTest\..*MapsLoad'
KAIVA_FUZZ_SECONDS=60
# Left out of the AddressSanitizer run: the package tests would pack and install the sanitized
# game; the real playthroughs, the closes after the intro and the soak take minutes each (and the
# sanitizer's quarantine would grow the soaked game's memory); all run in the plain build.
KAIVA_PLAIN_ONLY_TESTS='^Package\.|^RealPlaythrough\.|^LaterPhases/ClosingTest\.|^Soak\.'

full=$(($# == 0))
if ((full)); then
    install_missing "${KAIVA_BUILD_PACKAGES[@]}" "${KAIVA_TEST_PACKAGES[@]}" \
        "${KAIVA_PACKAGE_PACKAGES[@]}" "${KAIVA_SANITIZER_PACKAGES[@]}"
else
    install_missing "${KAIVA_BUILD_PACKAGES[@]}" "${KAIVA_TEST_PACKAGES[@]}" \
        "${KAIVA_PACKAGE_PACKAGES[@]}"
fi
timed "the plain build" build_into "$KAIVA_ROOT/build"
if ((full)); then
    timed "the AddressSanitizer build" build_into "$KAIVA_ROOT/build-asan" \
        -DKAIVA_SANITIZE=address -DKAIVA_BUILD_BENCH=OFF
    timed "the ThreadSanitizer build" build_into "$KAIVA_ROOT/build-tsan" \
        -DKAIVA_SANITIZE=thread -DKAIVA_BUILD_BENCH=OFF
    timed "the fuzzer's build" build_fuzzer
fi

start_xvfb
export ALSOFT_DRIVERS=null

if ((full)); then
    (
        export_sanitizer_options
        say "running the tests that start threads under ThreadSanitizer"
        timed "the ThreadSanitizer tests" ctest --test-dir "$KAIVA_ROOT/build-tsan" \
            -R "$KAIVA_THREAD_TESTS" --output-on-failure
        say "running every test under AddressSanitizer and UndefinedBehaviorSanitizer"
        timed "the AddressSanitizer tests" ctest --test-dir "$KAIVA_ROOT/build-asan" \
            -E "$KAIVA_PLAIN_ONLY_TESTS" --output-on-failure
        timed "the fuzzer" run_fuzzer "$KAIVA_FUZZ_SECONDS"
    )
fi
if [[ $(id -u) -ne 0 ]] && ! sudo -n true 2>/dev/null; then
    say "neither root nor sudo without a password: the package will not be installed and played"
    say "(Package.InstalledWithAptPlayedAndRemoved is skipped)"
fi
if ((full)); then
    # The two stories played through the real game steer it with X input on the clock of a busy
    # machine: one that fails is played once more, and its failure stays in the output. Every
    # other test runs once.
    say "playing two stories through the real game"
    timed "the real playthroughs" ctest --test-dir "$KAIVA_ROOT/build" --output-on-failure \
        -R '^RealPlaythrough\.' --repeat until-pass:2
    say "running every other test"
    timed "the plain tests" ctest --test-dir "$KAIVA_ROOT/build" --output-on-failure \
        -E '^RealPlaythrough\.'
else
    say "running every test"
    timed "the plain tests" ctest --test-dir "$KAIVA_ROOT/build" --output-on-failure "$@"
fi
