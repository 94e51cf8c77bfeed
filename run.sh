#!/bin/sh
# Builds Vinorium (installing what is missing) and starts it on its default cellar.
set -eu
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/build"
exec "${VINORIUM_BUILD_DIR:-$root/build}/src/startup/vinorium" "$@"
