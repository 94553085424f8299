#!/usr/bin/env bash
# test.sh -- installs what is missing, builds Kaiva and runs its tests headless: on a private Xvfb
# screen with software OpenGL, audio through OpenAL Soft's null driver; each end-to-end test starts
# an X screen of its own. Two commands (docs/testing.md says which test runs where, and why):
#   scripts/test.sh           the quick one: the plain build, every in-process test, the asset and
#                             map checks, one start and close of the real game and the story
#                             explorer's short run, two at a time. Minutes.
#   scripts/test.sh --full    everything: the sanitizer builds and their tests, the map reader's
#                             fuzzer, then in the plain build every test, the real playthroughs,
#                             the closes in every phase, the soak and the package installed with apt
#                             among them; last the Windows zip, made and played under Wine. What CI
#                             runs (.ci/run).
# Further arguments go to the plain build's ctest, e.g. `scripts/test.sh -R MapLoader`, or
# `scripts/test.sh --full -R RealGameClosing` (with arguments --full skips the sanitizers, the
# fuzzer and Windows, and runs the matching tests of both commands). Each part says how long it
# took.
set -euo pipefail
source "$(dirname "$0")/common.sh"

# The tests only the full run runs: the real game's end-to-end tests (suites named RealGame...,
# tests/e2e), the package's (Package..., tests/package) and any test named ...LongRun....
KAIVA_FULL_ONLY_TESTS='RealGame|^Package\.|LongRun'
# The tests that start a thread: the loaders' and the character thread's (the pause's too, which
# holds the time that thread reads), and the real game started and closed: at once, while slow
# maps load, and in its intro.
KAIVA_THREAD_TESTS='MapLoaderThread|CharacterThread|^Pause/|^StartAndClose\.|^EarlyPhases/RealGameClosing\.'
# Left out of the AddressSanitizer run: the package tests would pack and install the sanitized
# game; the real playthroughs, the closes after the intro, the soak and the long runs play for
# minutes (and the sanitizer's quarantine would grow the soaked game's memory); all run in the
# plain build.
KAIVA_PLAIN_ONLY_TESTS='^Package\.|^RealGamePlaythrough\.|^LaterPhases/RealGameClosing\.|^RealGameSoak\.|LongRun'
KAIVA_PLAYTHROUGHS='^RealGamePlaythrough\.'
KAIVA_FUZZ_SECONDS=60

full=0
if [[ ${1:-} == --full ]]; then
    full=1
    shift
fi
sanitizers=$((full && $# == 0))
windows=$sanitizers
jobs=$(nproc)

# The plain build's tests, two at a time. The two stories played through the real game steer it
# with X input on the clock of a busy machine: when they are all that failed, they are played once
# more, and their first failure stays in the output above. Any other failure fails the run.
run_plain_tests() {
    local build="$KAIVA_ROOT/build" failed
    ctest --test-dir "$build" -j "$jobs" "$@" && return 0
    failed=$(cut -d: -f2- "$build/Testing/Temporary/LastTestsFailed.log")
    if grep -qvE "$KAIVA_PLAYTHROUGHS" <<<"$failed"; then
        return 1
    fi
    say "playing once more the stories that failed: $(tr '\n' ' ' <<<"$failed")"
    ctest --test-dir "$build" --output-on-failure --rerun-failed
}

started=$SECONDS
if ((sanitizers)); then
    timed "installing what is missing" install_missing "${KAIVA_BUILD_PACKAGES[@]}" \
        "${KAIVA_TEST_PACKAGES[@]}" "${KAIVA_PACKAGE_PACKAGES[@]}" "${KAIVA_SANITIZER_PACKAGES[@]}" \
        "${KAIVA_WINDOWS_PACKAGES[@]}" "${KAIVA_WINE_PACKAGES[@]}"
elif ((full)); then
    timed "installing what is missing" install_missing "${KAIVA_BUILD_PACKAGES[@]}" \
        "${KAIVA_TEST_PACKAGES[@]}" "${KAIVA_PACKAGE_PACKAGES[@]}"
else
    timed "installing what is missing" install_missing "${KAIVA_BUILD_PACKAGES[@]}" \
        "${KAIVA_TEST_PACKAGES[@]}"
fi
after_installs=$SECONDS
timed "the plain build" build_into "$KAIVA_ROOT/build"
if ((sanitizers)); then
    # Only what their tests run: the test executable and what it starts.
    timed "the AddressSanitizer build" build_target_into "$KAIVA_ROOT/build-asan" kaiva_tests \
        -DKAIVA_SANITIZE=address -DKAIVA_BUILD_BENCH=OFF
    timed "the ThreadSanitizer build" build_target_into "$KAIVA_ROOT/build-tsan" kaiva_tests \
        -DKAIVA_SANITIZE=thread -DKAIVA_BUILD_BENCH=OFF
    timed "the fuzzer's build" build_fuzzer
fi

start_xvfb
export ALSOFT_DRIVERS=null

if ((sanitizers)); then
    (
        export_sanitizer_options
        say "running the tests that start threads under ThreadSanitizer"
        timed "the ThreadSanitizer tests" ctest --test-dir "$KAIVA_ROOT/build-tsan" -j "$jobs" \
            -R "$KAIVA_THREAD_TESTS" --output-on-failure
        say "running every test under AddressSanitizer and UndefinedBehaviorSanitizer"
        timed "the AddressSanitizer tests" ctest --test-dir "$KAIVA_ROOT/build-asan" -j "$jobs" \
            -E "$KAIVA_PLAIN_ONLY_TESTS" --output-on-failure
        timed "the fuzzer" run_fuzzer "$KAIVA_FUZZ_SECONDS"
    )
fi
if ((full)); then
    if [[ $(id -u) -ne 0 ]] && ! sudo -n true 2>/dev/null; then
        say "neither root nor sudo without a password: the package will not be installed and played"
        say "(Package.InstalledWithAptPlayedAndRemoved is skipped)"
    fi
    say "running every test"
    timed "the plain tests" run_plain_tests --output-on-failure "$@"
else
    say "running the quick tests (scripts/test.sh --full runs every test)"
    timed "the plain tests" run_plain_tests --output-on-failure -E "$KAIVA_FULL_ONLY_TESTS" "$@"
fi
# The Windows zip, made as scripts/windows.sh makes it, and its game played under Wine.
if ((windows)); then
    timed "the Windows zip" "$KAIVA_ROOT/scripts/windows.sh"
    timed "the Wine check" "$KAIVA_ROOT/scripts/wine-check.sh"
fi
# What the story explorer's runs did, from the plain tests' log.
grep -hE '^explorer: [0-9]+ sessions' "$KAIVA_ROOT/build/Testing/Temporary/LastTest.log" 2>/dev/null |
    sed 's/^/kaiva: /' || true
say "all parts took $((SECONDS - started)) s ($((SECONDS - after_installs)) s after the installs)"
