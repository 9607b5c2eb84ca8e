#!/usr/bin/env bash
# Sets up the machine, builds, and runs the demo sequence.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORV_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh"
seqrun="$build/bin/seqrun"
if [ ! -x "$seqrun" ]; then
    echo "This version has no runner yet: running a sequence arrives with 'seqrun run'."
    echo "The build and the plug-in are ready in $build/bin."
    exit 0
fi
work="$(mktemp -d "${TMPDIR:-/tmp}/orv-demo.XXXXXX")"
cp -r "$here/examples/demo" "$work/"
"$seqrun" list "$work/demo"
