#!/bin/sh
# Builds everything (installing what is missing) and runs every test, headless.
set -eu
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/build"
export QT_QPA_PLATFORM=offscreen
cd "${VINORIUM_BUILD_DIR:-$root/build}"
exec ctest --output-on-failure --parallel "$(nproc)" "$@"
