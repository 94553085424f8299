#!/usr/bin/env bash
# package.sh -- installs what is missing, builds Kaiva and makes its Debian package with CPack
# (build/package/kaiva_<version>_<architecture>.deb), then has lintian check it. Safe to run again
# and again: only what changed is rebuilt; the package itself is packed afresh (a few seconds).
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing "${KAIVA_BUILD_PACKAGES[@]}" "${KAIVA_PACKAGE_PACKAGES[@]}"
build_into "$KAIVA_ROOT/build"

say "packing the Debian package with CPack"
log="$KAIVA_ROOT/build/package.log"
if ! (cd "$KAIVA_ROOT/build" && cpack -G DEB) >"$log" 2>&1; then
    cat "$log"
    say "CPack failed"
    exit 1
fi
deb=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$log")

say "checking it with lintian: no error and no warning may remain (its I: lines are notes)"
lintian --fail-on error,warning --display-info "$deb" 2> >(grep -v 'root privileges' >&2)
say "made ${deb#"$KAIVA_ROOT"/} ($(du -h "$deb" | cut -f1)), depending on:"
say "  $(dpkg-deb --field "$deb" Depends)"
say "install it with: sudo apt-get install $deb (then start kaiva, or Kaiva in the menu)"
