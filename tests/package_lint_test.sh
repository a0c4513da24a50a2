#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Debian package from the build, as scripts/dev package does, and has lintian check it:
# neither an error nor a warning.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
lintian --fail-on error,warning "$out"/rizodidiz_*.deb
echo "lintian found no error and no warning"
