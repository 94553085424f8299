# common.sh -- what play.sh, test.sh and package.sh share: the Debian packages, their installation, the build.
# Sourced, not run.

KAIVA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# To build and run the game.
KAIVA_BUILD_PACKAGES=(cmake make g++ libsfml-dev libopenal-dev libx11-dev libpng-dev libgtest-dev
    libbenchmark-dev fonts-dotgothic16)
# To run every test headless: an X server with software OpenGL, real X input, the formatter.
KAIVA_TEST_PACKAGES=(xvfb libgl1-mesa-dri xdotool clang-format)
# To make and check the Debian package: CPack's dependency finder (dpkg-shlibdeps, file), the
# binary's library list (objdump) and Debian's package checker.
KAIVA_PACKAGE_PACKAGES=(dpkg-dev file binutils lintian)

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

# Starts a private X server (1920 x 1080 like the game's screen; -noreset so that it survives the
# moment its last client leaves, or the next window would fail to open), exports DISPLAY, and
# stops it when the script ends.
start_xvfb() {
    local display=90
    while [[ -e /tmp/.X${display}-lock || -e /tmp/.X11-unix/X${display} ]]; do
        display=$((display + 1))
    done
    say "starting Xvfb on :$display"
    Xvfb ":$display" -screen 0 1920x1080x24 -noreset -nolisten tcp >/dev/null 2>&1 &
    KAIVA_XVFB_PID=$!
    trap 'kill "$KAIVA_XVFB_PID" 2>/dev/null || true' EXIT
    local _
    for _ in $(seq 100); do
        [[ -e /tmp/.X11-unix/X${display} ]] && break
        sleep 0.1
    done
    export DISPLAY=":$display"
}
