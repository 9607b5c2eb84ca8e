#!/usr/bin/env python3
"""Whole-process benchmarks of seqrun on generated projects.

Each row runs the real host with the real plug-in and prints the measured
figure beside its goal. CPU time and peak memory come from the kernel's
accounting of the child process (wait4), wall time from a monotonic clock.

    python3 bench/scalebench.py [--build build] [--rows a,b,...] [--quick] [--repeat N]

--quick shrinks every size tenfold, to check that the rows still work.
--repeat runs the runner rows (control, commands) N times each and keeps the
lowest figures: on a shared machine the lowest is the one least disturbed.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.join(HERE, "..", "examples", "demo")

COMMON = ('Count="0" Condition="0" Status="0" Exit="0" SbarStat="0" SbarText="" CommandEx="" '
          'TimeOut="0" GlobalGang="0" PauseMessageText="" PauseMessageDefaultAnswer="0" '
          'PauseMessageAnswerNoIsPass="0" Column.Number="{n}" Column.Status="---" '
          'Properties.AddToReport="1" Properties.PassAction="Next" Properties.FailAction="Next" '
          'Properties.RejectAction="Redo" Properties.SyseAction="Stop" '
          'Properties.SaveResultsOnFail="1" Properties.SaveResultsOnPass="0" '
          'Properties.StatusToSequenceStatus="1"')
COMMAND = ('SeqCommand.AddToLaunchMenu="0" SeqCommand.AllowUserInteraction="0" '
           'SeqCommand.ConsoleApp="0" SeqCommand.Dir="" SeqCommand.EditBeforeLaunch="0" '
           'SeqCommand.Internal="0" SeqCommand.LaunchInDesignDir="0" '
           'SeqCommand.ShowImmediateOutput="0"')


def label_step(n):
    return ('<sequenceelement ItemType="2" Type="4" OldType="4" OperationItemId="Label / Comment" '
            + COMMON.format(n=n) + ' Column.Type="Ctrl" Column.Operation="LABEL" '
            'Column.Property="L%d" Column.Item="," Column.Show="Status" '
            'Properties.Operation="LABEL" Properties.Show="Status" SeqCommand.Name="" '
            'SeqCommand.Command="" SeqCommand.FailExitCode="1" SeqCommand.PassExitCode="0" '
            + COMMAND + '><instrumentparams ItemNumber="%d" SeqOperation="LABEL" Show="Status"/>'
            '</sequenceelement>') % (n, n)


def command_step(n, command="true"):
    return ('<sequenceelement ItemType="3" Type="-1" OldType="0" OperationItemId="" '
            + COMMON.format(n=n) + ' Column.Type="Sys" Column.Operation="Execute Command" '
            'Column.Property="" Column.Item="Step %d" Column.Show="Status" '
            'Properties.Operation="Execute Command" Properties.Show="Status" '
            'SeqCommand.Name="Step %d" SeqCommand.Command="%s" SeqCommand.FailExitCode="1" '
            'SeqCommand.PassExitCode="0" ' % (n, n, command)
            + COMMAND + '><instrumentparams ItemNumber="%d" SeqOperation="Execute Command" '
            'Show="Status"/></sequenceelement>' % n)


def application_step(n):
    return ('<sequenceelement ItemType="1" Type="-1" OldType="3" OperationItemId="" '
            + COMMON.format(n=n) + ' Column.Type="Chain Integrity Test" '
            'Column.Operation="Execute Test" Column.Property="" Column.Item="Chain" '
            'Column.Show="Status" Properties.Operation="Execute Test" Properties.Show="Status" '
            'SeqCommand.Name="" SeqCommand.Command="" SeqCommand.FailExitCode="1" '
            'SeqCommand.PassExitCode="0" ' + COMMAND
            + '><instrumentparams Flags="268500992" InstrumentName="Preferred" ItemNumber="%d" '
            'Level="33" SeqOperation="Execute Test" Show="Status" TapInfo1.Flags="1024" '
            'TapInfo1.Level="33" TckkHz="1000" UseDefaultsCtrl="yes" UseDefaultsPod="yes" '
            'UseDefaultsTap="yes"/></sequenceelement>' % n)


def mixed_step(n):
    """Steps as a production sequence has them; every kind validates on import."""
    kind = n % 4
    if kind == 0:
        return application_step(n)
    if kind == 1:
        return command_step(n)
    return label_step(n)


def sequence(title, steps):
    return ('<sequence Title="%s" Description="Generated for a benchmark" GlobalGang="0" '
            'Repeat="0" RepeatCount="0" StatusBannerApp="0" StatusBannerSequence="0" Uut="0">%s'
            '</sequence>') % (title, "".join(steps))


def make_project(folder, sequences, reports=()):
    """A copy of the demo's applications and instruments with the given sequences."""
    shutil.copytree(DEMO, folder)
    path = os.path.join(folder, "project.xml")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    start = text.index('<plugin name="ORVSequencer">')
    end = text.index("</plugin>")
    body = "".join(sequences) + "".join(
        '<report seqname="%s" title="%s" filename="%s"/>' % r for r in reports)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text[:start] + '<plugin name="ORVSequencer">' + body + text[end:])
    return folder


class Measure:
    def __init__(self, wall, cpu, rss_mb, code):
        self.wall, self.cpu, self.rss_mb, self.code = wall, cpu, rss_mb, code


# Starts the command and reports its wall time, CPU time, peak memory (KB)
# and exit code into the file named first. The command is started from this
# small process, not from the benchmark: a child of a large process is
# charged with that process's peak memory when it starts its program.
# A program that cannot be started exits 127, never a code a row accepts.
LAUNCHER = r"""
import os, sys, time
start = time.monotonic()
pid = os.fork()
if pid == 0:
    try:
        os.execvp(sys.argv[2], sys.argv[2:])
    finally:
        os._exit(127)
_, status, usage = os.wait4(pid, 0)
with open(sys.argv[1], "w") as result:
    result.write("%f %f %d %d" % (time.monotonic() - start, usage.ru_utime + usage.ru_stime,
                                  usage.ru_maxrss, os.waitstatus_to_exitcode(status)))
"""


def measure(command):
    # Standard error goes to a file: a pipe that nobody reads while the child
    # runs would stop a child that names many refused steps.
    with tempfile.TemporaryFile() as errors, tempfile.NamedTemporaryFile("r") as result:
        subprocess.run([sys.executable, "-c", LAUNCHER, result.name] + command,
                       stdout=subprocess.DEVNULL, stderr=errors, check=True)
        wall, cpu, rss_kb, code = result.read().split()
        if int(code) not in (0, 1):
            errors.seek(0)
            text = errors.read().decode(errors="replace")
            sys.stderr.write("%s exited %s\n%s\n" % (" ".join(command), code, text[-2000:]))
    return Measure(float(wall), float(cpu), int(rss_kb) / 1024.0, int(code))


def figures(run):
    """Wall time, CPU time and peak memory: on a busy machine CPU time is the steadier figure."""
    return "%.2f s (%.2f s CPU), %.0f MB" % (run.wall, run.cpu, run.rss_mb)


def report(row, figure, goal):
    print("%-60s %-34s goal %s" % (row, figure, goal), flush=True)


def lowest(runs):
    """The lowest wall and the lowest CPU time of several runs of one command."""
    return Measure(min(r.wall for r in runs), min(r.cpu for r in runs),
                   min(r.rss_mb for r in runs), max(r.code for r in runs))


class Bench:
    def __init__(self, build, work, scale, repeat=1):
        self.seqrun = os.path.join(build, "bin", "seqrun")
        self.sqcgen = os.path.join(build, "bin", "sqcgen")
        self.work = work
        self.scale = scale
        self.repeat = max(1, repeat)

    def run_copy(self, project, sequence):
        """A run of `sequence` on a fresh copy of `project`: a run leaves reports behind."""
        copy = project + ".run"
        shutil.rmtree(copy, ignore_errors=True)
        shutil.copytree(project, copy)
        return measure([self.seqrun, "run", copy, sequence])

    def size(self, n):
        return max(1, n // self.scale)

    def folder(self, name):
        return os.path.join(self.work, name)

    def control_steps(self):
        small, large = self.size(300), self.size(3000)
        projects = {steps: make_project(self.folder("labels%d" % steps),
                                        [sequence("Long", [label_step(n) for n in range(1, steps + 1)])])
                    for steps in (small, large)}
        samples = {small: [], large: []}
        for _ in range(self.repeat):
            for steps in (small, large):
                samples[steps].append(self.run_copy(projects[steps], "Long"))
        runs = {steps: lowest(samples[steps]) for steps in (small, large)}
        cpu = (runs[large].cpu - runs[small].cpu) / (large - small) * 1e6
        wall = (runs[large].wall - runs[small].wall) / (large - small) * 1e3
        report("CPU per control step (LABEL), %d..%d steps" % (small, large),
               "%.0f us" % cpu, "<= 50 us")
        report("Wall time per control step", "%.2f ms" % wall, "<= 0.2 ms")

    def command_steps(self):
        steps = self.size(1000)
        project = make_project(self.folder("commands"),
                               [sequence("Long", [command_step(n) for n in range(1, steps + 1)])])
        loop_command = ["bash", "-c", 'for _ in $(seq %d); do /bin/sh -c true; done' % steps]
        runs, loops = [], []
        # In turn, so that both see the same load of the machine.
        for _ in range(self.repeat):
            runs.append(self.run_copy(project, "Long"))
            loops.append(measure(loop_command))
        run = lowest(runs)
        loop = lowest(loops)
        report("%d command steps (true) against a shell loop" % steps,
               "%.2fx (%.2f s / %.2f s)" % (run.wall / loop.wall, run.wall, loop.wall), "<= 1.2x")
        # Both with their shells' CPU time: on a busy machine the steadier figure.
        report("  the same in CPU time", "%.2fx (%.2f s / %.2f s)" % (run.cpu / loop.cpu, run.cpu, loop.cpu), "-")

    def list_3300(self):
        sequences = [sequence("Sequence %d" % s, [mixed_step(n) for n in range(1, 101)])
                     for s in range(self.size(33))]
        project = make_project(self.folder("list3300"), sequences)
        size = os.path.getsize(os.path.join(project, "project.xml")) / 1e6
        run = measure([self.seqrun, "list", project])
        report("seqrun list, %d steps (%.1f MB project.xml)" % (len(sequences) * 100, size),
               "%.2f s CPU, %.0f MB" % (run.cpu, run.rss_mb), "-")

    def list_history(self):
        count, steps, history = self.size(100), 200, self.size(10000)
        sequences = [sequence("Sequence %d" % s, [mixed_step(n) for n in range(1, steps + 1)])
                     for s in range(count)]
        reports = [("Sequence %d" % (h % count), "Report %d" % h,
                    "Sequences/Sequence %d/SequenceReport-%d.html" % (h % count, h))
                   for h in range(history)]
        project = make_project(self.folder("history"), sequences, reports)
        run = measure([self.seqrun, "list", project])
        report("seqrun list, %d sequences x %d steps + %d history entries" % (count, steps, history),
               figures(run), "<= 1 s, <= 300 MB")

    def sequence_list(self):
        items = self.size(100000)
        project = make_project(self.folder("seql"),
                               [sequence("Big", [mixed_step(n) for n in range(1, items + 1)])])
        seql = self.folder("big.seql")
        export = measure([self.seqrun, "export", project, "Big", seql])
        lines = sum(1 for line in open(seql, encoding="utf-8") if line.startswith("ITEM"))
        # Into a project of its own, so that the import saves only what it read.
        target = make_project(self.folder("seqlimport"), [])
        imported = measure([self.seqrun, "import", target, "Copy", seql])
        report("import of a %d-item .seql" % items,
               figures(imported), "<= 5 s, <= 1 GB")
        report("export of the same (%d items written)" % lines,
               figures(export), "<= 3 s")

    def import_sqc(self):
        records = self.size(20000)
        sqc = self.folder("big.sqc")
        subprocess.run([self.sqcgen, sqc, str(records)], check=True)
        project = make_project(self.folder("sqc"), [])
        imported = measure([self.seqrun, "import-sqc", project, sqc, "--title", "Legacy"])
        listed = measure([self.seqrun, "list", project])
        report("import-sqc of %d records" % records,
               figures(imported), "<= 3 s, <= 500 MB")
        report("  then list of that project",
               figures(listed), "<= 1 s")


ROWS = ["control", "commands", "list3300", "history", "seql", "sqc"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--rows", default=",".join(ROWS))
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--repeat", type=int, default=1)
    arguments = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="orv-scalebench.") as work:
        bench = Bench(os.path.abspath(arguments.build), work, 10 if arguments.quick else 1,
                      arguments.repeat)
        actions = {"control": bench.control_steps, "commands": bench.command_steps,
                   "list3300": bench.list_3300, "history": bench.list_history,
                   "seql": bench.sequence_list, "sqc": bench.import_sqc}
        for row in arguments.rows.split(","):
            actions[row]()


if __name__ == "__main__":
    main()
