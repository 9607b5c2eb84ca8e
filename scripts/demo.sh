#!/usr/bin/env bash
# Sets up the machine, builds, and runs the demo sequence "Board Test" on a
# copy of examples/demo (the checked-in project is never changed).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORV_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/orv-demo.XXXXXX")"
cp -r "$here/examples/demo" "$work/"
project="$work/demo"
echo "== The demo project, copied to $project, holds these sequences:"
"$build/bin/seqrun" list "$project"
echo "== Running 'Board Test'"
status=0
"$build/bin/seqrun" run "$project" "Board Test" --timeout 600 || status=$?
echo "== seqrun exited with $status (0 passed, 1 failed, 2 error, 3 stopped or cancelled)"
echo "   Open the report file above in a browser; the run's output files are in the"
echo "   folder of the same name beside it."
exit "$status"
