# common.sh -- what play.sh, test.sh and package.sh share: the Debian packages, their installation, the build.
# Sourced, not run.

KAIVA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# To build and run the game (the tests, built with it, hold keys through XTest: libxtst-dev).
KAIVA_BUILD_PACKAGES=(cmake make g++ libsfml-dev libopenal-dev libx11-dev libxtst-dev libpng-dev
    libgtest-dev libbenchmark-dev fonts-dotgothic16)
# To run every test headless: an X server with software OpenGL, real X input, the formatter.
KAIVA_TEST_PACKAGES=(xvfb libgl1-mesa-dri xdotool clang-format)
# To make and check the Debian package: CPack's dependency finder (dpkg-shlibdeps, file), the
# binary's library list (objdump) and Debian's package checker.
KAIVA_PACKAGE_PACKAGES=(dpkg-dev file binutils lintian)
# For the sanitizer builds and the map reader's fuzzer: clang and its runtime libraries (libFuzzer
# among them), and llvm-symbolizer (package llvm), which puts function names and lines in reports.
KAIVA_SANITIZER_PACKAGES=(clang libclang-rt-14-dev llvm)
# To make the Windows zip (scripts/windows.sh): MinGW-w64's compilers with POSIX threads, its zlib,
# dpkg-source to unpack Debian's source packages, and the keyring that signs the archive.
KAIVA_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev xz-utils
    debian-archive-keyring)
# To run the Windows game in the full test run (scripts/wine-check.sh): Wine, a screen grabber
# (xwd), sox to measure the music it writes, and MinGW's objdump to read the executable's header.
KAIVA_WINE_PACKAGES=(wine wine64 x11-apps sox unzip binutils-mingw-w64-x86-64)

say() { printf 'kaiva: %s\n' "$*"; }

# Installs whichever of the given Debian packages are missing (through sudo when not root).
install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    if ((${#missing[@]} == 0)); then
        say "every needed Debian package is installed"
        return
    fi
    local sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    say "installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# Configures and builds into the given folder; extra arguments go to CMake's configure step. The
# compiler's output is kept in <folder>/build.log and shown when the build fails.
build_into() {
    local folder="$1"
    shift
    say "configuring and building in ${folder#"$KAIVA_ROOT"/}"
    mkdir -p "$folder"
    if ! { cmake -S "$KAIVA_ROOT" -B "$folder" "$@" &&
        cmake --build "$folder" -j "$(nproc)"; } >"$folder/build.log" 2>&1; then
        tail -n 60 "$folder/build.log"
        say "the build failed (whole log: $folder/build.log)"
        return 1
    fi
}

# Builds only `target` into the given folder; extra arguments go to CMake's configure step.
build_target_into() {
    local folder="$1" target="$2"
    shift 2
    say "configuring and building $target in ${folder#"$KAIVA_ROOT"/}"
    mkdir -p "$folder"
    if ! { cmake -S "$KAIVA_ROOT" -B "$folder" "$@" &&
        cmake --build "$folder" -j "$(nproc)" --target "$target"; } >"$folder/build.log" 2>&1; then
        tail -n 60 "$folder/build.log"
        say "the build failed (whole log: $folder/build.log)"
        return 1
    fi
}

# How the sanitizer builds report: any report ends the program with an error status, so that the
# test (or the game under an end-to-end test, which inherits these) fails. Leaks are checked in
# full, with no suppression (see tests/sanitizers/keepLibrariesLoaded.cpp); ThreadSanitizer's
# suppressions name only SFML's own lock order, with the reason beside them.
#
# intercept_tls_get_addr=0: GCC 12's runtime guesses the extent of a library's thread-local block
# from the 16 bytes before it whenever the block starts 16 bytes past a page boundary (how glibc
# 2.19 to 2.24 laid out such blocks). Glibc 2.36 takes these blocks from malloc, so the guess reads
# AddressSanitizer's own chunk header, and LeakSanitizer then scans from a stack number taken for an
# address and crashes as the program ends ("Tracer caught signal 11: addr=0x14f8"): where a block
# lands depends on everything allocated before it, so one test crashed on one machine every time.
# Without the interception the blocks are ordinary heap blocks, reached through the thread's table.
export_sanitizer_options() {
    export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:intercept_tls_get_addr=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export TSAN_OPTIONS="halt_on_error=1:suppressions=$KAIVA_ROOT/tests/threadSanitizer.supp"
}

# The map reader's fuzzer: clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
build_fuzzer() {
    build_target_into "$KAIVA_ROOT/build-fuzz" mapReaderFuzz -DCMAKE_CXX_COMPILER=clang++ \
        -DKAIVA_SANITIZE=address -DKAIVA_FUZZ=ON -DKAIVA_BUILD_BENCH=OFF
}

# Runs the fuzzer for the given seconds on the committed seeds and what earlier runs found (kept in
# build-fuzz/corpus). A fault stops it with an error status; the input that caused it is saved in
# build-fuzz/findings/. Needs DISPLAY: the game's library opens the X display as it starts.
run_fuzzer() {
    local seconds="$1" fuzz="$KAIVA_ROOT/build-fuzz"
    mkdir -p "$fuzz/corpus" "$fuzz/findings"
    say "fuzzing the map reader for $seconds s"
    "$fuzz/tests/fuzz/mapReaderFuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -print_final_stats=1 -dict="$KAIVA_ROOT/tests/fuzz/mapReader.dict" \
        -artifact_prefix="$fuzz/findings/" "$fuzz/corpus" "$KAIVA_ROOT/tests/fuzz/corpus" \
        >"$fuzz/fuzz.log" 2>&1 || {
        tail -n 60 "$fuzz/fuzz.log"
        say "the fuzzer found a fault (whole log: $fuzz/fuzz.log)"
        return 1
    }
    grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|new_units_added))' \
        "$fuzz/fuzz.log" | sed 's/^/kaiva:   /'
}

# Runs a command and says how long it took.
timed() {
    local label="$1" start=$SECONDS
    shift
    "$@"
    say "$label took $((SECONDS - start)) s"
}

# Starts a private X server (1920 x 1080 like the game's screen; -noreset so that it survives the
# moment its last client leaves, or the next window would fail to open) on a display number it
# picks itself, exports DISPLAY, and stops it when the script ends. The tests that draw in-process
# use it; each end-to-end test starts a screen of its own besides (tests/e2e/gameProcess.h).
start_xvfb() {
    local told _
    told=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset -nolisten tcp 3>"$told" >/dev/null 2>&1 &
    KAIVA_XVFB_PID=$!
    trap 'kill "$KAIVA_XVFB_PID" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        [[ -s $told ]] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$told")"
    rm -f "$told"
    say "started Xvfb on $DISPLAY"
}
