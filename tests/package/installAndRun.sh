#!/usr/bin/env bash
# installAndRun.sh -- installs the package with apt as a player would, plays the installed game
# through /usr/games/kaiva (the InstalledPackage launcher test), removes the package again and
# checks that none of its files is left. Installing needs root or sudo without a password; with
# neither it says so and is skipped (status 77, which CTest counts as skipped).
#   tests/package/installAndRun.sh <kaiva_*.deb> <kaiva_launcher_tests binary>
set -euo pipefail
deb=$(realpath "$1")
tests=$2

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    if ! sudo -n true 2>/dev/null; then
        echo "skipped: installing the package needs root or sudo without a password"
        exit 77
    fi
    sudo=(sudo -n)
fi
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300)

# One install-play-remove at a time on this machine: two runs would remove each other's game.
exec 9>>/tmp/kaiva-package-test.lock
flock 9

if dpkg-query -W -f='${Status}' kaiva 2>/dev/null | grep -q 'install ok installed'; then
    echo "kaiva is installed already: this build's package replaces it and is removed at the end"
fi
# Removed however the run ends; --reinstall, since a package of the same version may be there.
trap '"${apt[@]}" purge kaiva >/dev/null 2>&1 || true' EXIT
echo "installing $deb"
"${apt[@]}" install --reinstall --no-install-recommends "$deb" >/dev/null

status=0
if [[ -x /usr/games/kaiva ]]; then
    "$tests" --gtest_filter='InstalledPackage.*' || status=$?
else
    echo "FAIL: apt installed the package but /usr/games/kaiva is not there"
    status=1
fi

echo "removing the package"
"${apt[@]}" purge kaiva >/dev/null
trap - EXIT
for path in /usr/games/kaiva /usr/libexec/kaiva /usr/share/games/kaiva \
    /usr/share/applications/kaiva.desktop /usr/share/icons/hicolor/256x256/apps/kaiva.png; do
    if [[ -e $path || -L $path ]]; then
        echo "FAIL: $path is still there after the package was removed"
        status=1
    fi
done
exit "$status"
