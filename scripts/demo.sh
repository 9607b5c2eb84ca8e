#!/usr/bin/env bash
# Sets up the machine, builds, and runs the demo sequences "Board Test" and
# "Instrument Check" on a copy of examples/demo (the checked-in project is
# never changed).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORV_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/orv-demo.XXXXXX")"
cp -r "$here/examples/demo" "$work/"
project="$work/demo"
echo "== The demo project, copied to $project, holds these sequences:"
"$build/bin/seqrun" list "$project"
status=0
echo "== Running 'Board Test'"
"$build/bin/seqrun" run "$project" "Board Test" --timeout 600 || status=$?
echo "== seqrun exited with $status (0 passed, 1 failed, 2 error, 3 stopped or cancelled)"
# Three boards, each identified and asked whether it is seated; the demo
# answers for the operator.
echo "== Running 'Instrument Check' on three units"
check=0
"$build/bin/seqrun" run "$project" "Instrument Check" --answer yes --timeout 600 || check=$?
echo "== seqrun exited with $check"
echo "== What the runs left in the project's results (the page with charts: $work/results.html)"
"$build/bin/seqrun" results "$project" --html "$work/results.html" || true
echo "   Open the report files above in a browser; the runs' output files are in the"
echo "   folders of the same names beside them."
[ "$status" -ne 0 ] && exit "$status"
exit "$check"
