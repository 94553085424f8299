#!/usr/bin/env bash
# windows.sh -- makes Kaiva for 64-bit Windows on Debian 12: installs what is missing, fetches the
# libraries under the game as Debian source packages through an apt configuration of its own,
# builds them once into build-windows/prefix (kept between runs), builds the asset generator
# natively and the game with MinGW-w64, and writes build-windows/kaiva-<version>-windows-x64.zip:
# kaiva.exe, OpenAL32.dll, assets/ and licences/ (docs/packaging.md).
set -euo pipefail
source "$(dirname "$0")/common.sh"

WINDOWS="$KAIVA_ROOT/build-windows"
PREFIX="$WINDOWS/prefix"
SOURCES="$WINDOWS/sources"
TOOLCHAIN="$KAIVA_ROOT/packaging/windows/mingw64.cmake"
# Every file fetched must match its SHA-256 here; the versions are pinned in build_libraries.
KAIVA_WINDOWS_CHECKSUMS="$KAIVA_ROOT/packaging/windows/sources.sha256"

# The private apt: its own sources list, state and cache under build-windows/apt; the machine's
# sources, lists and cache are never touched. Its deb-src lines name the archives the machine
# installs from, plus trixie from the main one (for openal-soft).
APT_DIR="$WINDOWS/apt"
APT_OPTIONS=(-o "Dir::Etc::SourceList=$APT_DIR/sources.list" -o "Dir::Etc::SourceParts=$APT_DIR/none"
    -o "Dir::State=$APT_DIR/state" -o "Dir::State::Lists=$APT_DIR/state/lists"
    -o "Dir::State::status=$APT_DIR/state/status" -o "Dir::Cache=$APT_DIR/cache"
    -o "Dir::Etc::Preferences=$APT_DIR/none/preferences" -o "Dir::Etc::PreferencesParts=$APT_DIR/none"
    -o "APT::Sandbox::User=$(id -un)")

machine_archives() {
    apt-get indextargets --format '$(ORIGIN) $(REPO_URI) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' |
        awk '$1 == "Debian"' | sort -u
}

write_private_sources() {
    local archives
    archives=$(machine_archives)
    if [[ -z $archives ]]; then
        say "the machine's package lists are empty: updating them"
        local sudo=()
        [[ $(id -u) -eq 0 ]] || sudo=(sudo)
        "${sudo[@]}" apt-get update -qq
        archives=$(machine_archives)
    fi
    [[ -n $archives ]] || { say "no Debian archive found in the machine's apt sources"; return 1; }
    local keyring=/usr/share/keyrings/debian-archive-keyring.gpg origin uri release component
    mkdir -p "$APT_DIR/none" "$APT_DIR/state/lists/partial" "$APT_DIR/cache/archives/partial"
    touch "$APT_DIR/state/status"
    while read -r origin uri release component; do
        echo "deb-src [signed-by=$keyring] $uri $release $component"
        [[ $release == *-* ]] || echo "deb-src [signed-by=$keyring] $uri trixie main"
    done <<<"$archives" | sort -u >"$APT_DIR/sources.list"
}

apt_ready=0 # the private lists are read once a run, and only when something must be fetched

# The pinned files of one package (the checksum file's lines for it).
pinned_lines() {
    local package="$1"
    grep -E "^[0-9a-f]{64}  ${package}_" "$KAIVA_WINDOWS_CHECKSUMS"
}

# True when every pinned file of the package is in sources/ with its checksum.
pinned_files_present() {
    (cd "$SOURCES" && pinned_lines "$1" | sha256sum --check --quiet --strict >/dev/null 2>&1)
}

# Fetches one pinned package with apt-get source. What decides is the checksums: apt-get may fail
# on a file we do not pin (openal-soft's .dsc), and the fetch still fails unless every pinned file
# arrived whole.
fetch_package() {
    local pin="$1" package="${1%%=*}"
    pinned_files_present "$package" && return 0
    if ((!apt_ready)); then
        write_private_sources
        say "reading the archive's source lists ($(wc -l <"$APT_DIR/sources.list") deb-src lines)"
        apt-get "${APT_OPTIONS[@]}" update -qq
        apt_ready=1
    fi
    say "fetching $pin"
    local fetched=0
    (cd "$SOURCES" && apt-get "${APT_OPTIONS[@]}" source --download-only -qq "$pin") || fetched=$?
    if ! (cd "$SOURCES" && pinned_lines "$package" | sha256sum --check --strict); then
        say "$pin: a pinned file is missing or differs (pins: ${KAIVA_WINDOWS_CHECKSUMS#"$KAIVA_ROOT"/})"
        return 1
    fi
    if ((fetched != 0)); then
        say "$pin: every pinned file arrived whole; apt-get's errors above are for files not pinned"
    fi
}

# Unpacks a fetched package afresh into src/ and prints its folder: with Debian's changes applied
# (dpkg-source) where the package has a .dsc pinned, as the upstream tarball otherwise.
unpack_package() {
    local package="$1" dsc tarball folder="$WINDOWS/src/$1"
    rm -rf "$folder"
    mkdir -p "$WINDOWS/src"
    dsc=$(pinned_lines "$package" | awk '$2 ~ /\.dsc$/ {print $2}')
    if [[ -n $dsc ]]; then
        dpkg-source --no-check -q -x "$SOURCES/$dsc" "$folder" >/dev/null
    else
        tarball=$(pinned_lines "$package" | awk '{print $2}')
        mkdir -p "$folder"
        tar -xf "$SOURCES/$tarball" -C "$folder" --strip-components=1
    fi
    echo "$folder"
}

# Builds one library with CMake into the prefix, once: a stamp named after its pin says it is done.
# Its licence files go to prefix/licences/<name>/, which the zip carries.
build_library() {
    local pin="$1" name="$2" licences="$3"
    shift 3
    local package="${pin%%=*}" stamp="$PREFIX/stamps/${pin//[:\/]/_}" folder log
    [[ -e $stamp ]] && return 0
    fetch_package "$pin"
    folder=$(unpack_package "$package")
    if [[ $package == libsfml ]]; then
        # MinGW's OpenGL library is libopengl32.a: the static config's OpenGL32 finds nothing on
        # a case-sensitive file system.
        sed -i 's/"OpenGL32"/"opengl32"/' "$folder/cmake/SFMLConfigDependencies.cmake.in"
    fi
    log="$WINDOWS/deps/$name.log"
    mkdir -p "$WINDOWS/deps"
    say "building $name ($pin)"
    if ! { cmake -S "$folder" -B "$WINDOWS/deps/$name" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DKAIVA_WINDOWS_PREFIX="$PREFIX" -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF "$@" &&
        cmake --build "$WINDOWS/deps/$name" -j "$(nproc)" &&
        cmake --install "$WINDOWS/deps/$name" --strip; } >"$log" 2>&1; then
        tail -n 40 "$log"
        say "building $name failed (whole log: $log)"
        return 1
    fi
    mkdir -p "$PREFIX/licences/$name" "$PREFIX/stamps"
    local file file_name
    for file in $licences; do # docs/FTL.TXT as FTL.TXT, fmt-11.1.1/LICENSE as fmt-11.1.1-LICENSE
        file_name=${file#docs/}
        cp "$folder/$file" "$PREFIX/licences/$name/${file_name//\//-}"
    done
    # OpenAL Soft is LGPL and travels as a DLL: its source goes with it, the tarball it was built from.
    if [[ $package == openal-soft ]]; then
        cp "$SOURCES/$(pinned_lines "$package" | awk '{print $2}')" "$PREFIX/licences/$name/"
    fi
    rm -rf "$folder" "$WINDOWS/deps/$name"
    touch "$stamp"
}

# The pinned versions: bookworm's, as the machine's own libsfml-dev and its libraries, with the
# newest security fixes the archive serves (libpng's +deb12u6 is listed but not served). The archive
# keeps only current versions: when a pinned one is gone, the fetch says so and stops, and the pin
# moves to what is served then, with its checksums. openal-soft is trixie's: the archive serves
# bookworm's 1.19.1 .dsc but none of its tarballs, and trixie's upstream tarball but not its .dsc,
# so that tarball is built as it is, with no Debian change to apply.
build_libraries() {
    mkdir -p "$SOURCES" "$PREFIX"
    build_library libogg=1.3.5-3 libogg COPYING -DINSTALL_DOCS=OFF
    build_library libvorbis=1.3.7-1 libvorbis COPYING
    build_library flac=1.4.2+ds-2 flac "COPYING.Xiph" -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF \
        -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF \
        -DWITH_OGG=OFF -DWITH_STACK_PROTECTOR=OFF -DWITH_FORTIFY_SOURCE=OFF
    build_library libpng1.6=1.6.39-2+deb12u5 libpng LICENSE -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF
    # FreeType takes MinGW's zlib (the one libpng uses): its bundled copy would clash at the link.
    build_library freetype=2.12.1+dfsg-5+deb12u4 freetype "LICENSE.TXT docs/FTL.TXT" \
        -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
        -DFT_DISABLE_BROTLI=ON
    # OpenAL Soft stays a DLL (LGPL: a player may replace it), with its own runtime inside.
    build_library openal-soft=1:1.24.2-1 openal-soft "COPYING BSD-3Clause LICENSE-pffft fmt-11.1.1/LICENSE" \
        -DBUILD_SHARED_LIBS=ON -DLIBTYPE=SHARED -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF \
        -DALSOFT_TESTS=OFF -DALSOFT_INSTALL_CONFIG=OFF -DALSOFT_INSTALL_HRTF_DATA=OFF \
        -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF -DALSOFT_REQUIRE_WINMM=ON -DALSOFT_REQUIRE_DSOUND=ON \
        -DALSOFT_REQUIRE_WASAPI=ON -DALSOFT_STATIC_LIBGCC=ON -DALSOFT_STATIC_STDCXX=ON \
        -DALSOFT_STATIC_WINPTHREAD=ON -DALSOFT_UPDATE_BUILD_VERSION=OFF
    build_library libsfml=2.5.1+dfsg-2 sfml license.md -DSFML_USE_SYSTEM_DEPS=ON \
        -DSFML_BUILD_EXAMPLES=OFF -DSFML_BUILD_DOC=OFF -DSFML_BUILD_NETWORK=OFF \
        -DOPENAL_LIBRARY="$PREFIX/lib/libOpenAL32.dll.a" -DOPENAL_INCLUDE_DIR="$PREFIX/include/AL"
}

# The generator runs at build time, so the cross build takes the one built for this machine.
build_native_assetgen() {
    build_target_into "$WINDOWS/native" assetgen -DKAIVA_BUILD_BENCH=OFF
}

build_game() {
    build_into "$WINDOWS/game" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DKAIVA_WINDOWS_PREFIX="$PREFIX" \
        -DCMAKE_BUILD_TYPE=Release -DKAIVA_ASSETGEN="$WINDOWS/native/tools/assetgen/assetgen" \
        -DOpenAL_LIB="$PREFIX/lib/libOpenAL32.dll.a"
}

make_zip() {
    local version
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WINDOWS/game/CMakeCache.txt")
    (cd "$WINDOWS/game" && cpack -G ZIP -B "$WINDOWS/cpack" >"$WINDOWS/cpack.log" 2>&1) || {
        tail -n 40 "$WINDOWS/cpack.log"
        say "packing the zip failed (whole log: $WINDOWS/cpack.log)"
        return 1
    }
    mv "$WINDOWS/cpack/kaiva-$version-windows-x64.zip" "$WINDOWS/"
    say "wrote ${WINDOWS#"$KAIVA_ROOT"/}/kaiva-$version-windows-x64.zip" \
        "($(du -k "$WINDOWS/kaiva-$version-windows-x64.zip" | cut -f1) KiB)"
}

started=$SECONDS
timed "installing what is missing" install_missing "${KAIVA_BUILD_PACKAGES[@]}" \
    "${KAIVA_WINDOWS_PACKAGES[@]}"
timed "the Windows libraries" build_libraries
timed "the native asset generator" build_native_assetgen
timed "the Windows game" build_game
timed "the zip" make_zip
say "the Windows build took $((SECONDS - started)) s"
