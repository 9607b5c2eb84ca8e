#!/usr/bin/env bash
# Whole-process timing of a long run: a sequence of N command steps that
# each run `true`, through `seqrun run`, beside a shell loop that starts
# `true` N times (the floor: what starting the processes costs anyway).
# Every command step also writes its row into the report, so the run's
# time includes a report of N rows.
#
#   bash bench/runbench.sh [build-dir] [steps]
set -euo pipefail
build="${1:-build}"
steps="${2:-1000}"
seqrun="$build/bin/seqrun"
work="$(mktemp -d "${TMPDIR:-/tmp}/orv-runbench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

python3 - "$work/project" "$steps" <<'PY'
import os, sys
folder, steps = sys.argv[1], int(sys.argv[2])
os.makedirs(folder)
rows = []
for n in range(1, steps + 1):
    rows.append('<sequenceelement ItemType="3" Type="-1" Column.Number="%d" Column.Type="Sys" '
                'Column.Operation="Execute Command" Column.Item="true %d" Column.Show="Status" '
                'Column.Status="---" Properties.PassAction="Next" Properties.FailAction="Next" '
                'Properties.RejectAction="Redo" Properties.SyseAction="Stop" '
                'Properties.StatusToSequenceStatus="1" SeqCommand.Name="true %d" '
                'SeqCommand.Command="true" SeqCommand.PassExitCode="0" SeqCommand.FailExitCode="1">'
                '<instrumentparams/></sequenceelement>' % (n, n, n))
with open(os.path.join(folder, "project.xml"), "w") as f:
    f.write('<project name="Bench" formatIndex="0"><applications/><instruments/>'
            '<plugin name="ORVSequencer"><sequence Title="Long">%s</sequence></plugin></project>'
            % "".join(rows))
PY

now() { date +%s.%N; }
start=$(now)
"$seqrun" run "$work/project" Long > "$work/run.log"
run=$(echo "$(now) - $start" | bc)
start=$(now)
for _ in $(seq "$steps"); do /bin/sh -c true; done
loop=$(echo "$(now) - $start" | bc)
rows=$(grep -c "<td>Sys</td>" "$work"/project/Sequences/Long/SequenceReport-*.html)
printf 'seqrun run, %d command steps : %6.2f s (%d report rows)\n' "$steps" "$run" "$rows"
printf 'shell loop, %d x sh -c true   : %6.2f s\n' "$steps" "$loop"
printf 'ratio                          : %6.1f\n' "$(echo "$run / $loop" | bc -l)"
