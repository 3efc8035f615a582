#!/usr/bin/env python3
"""Drag and annotation benchmark (figures, not a test), measured from outside the program.

Drives snapcrest.exe on the build's private Xvfb with xdotool and reads the CPU
time of the program, of wineserver and of the X server from /proc:

  first   the first selection: 200 paced moves of its corner
  move    200 paced moves dragging the selection by its inside
  resize  200 paced moves dragging its bottom-right handle
  rect    a rectangle's live preview: 200 paced moves of its corner
  arrow   an arrow's live preview, likewise
  stroke  a free-hand stroke of 200 paced moves
  hover   200 pointer moves between two tool bar buttons (each one changes a
          hover frame), with the program's own paint-handler times from
          SNAPCREST_PAINT_LOG
  pen     a free-hand stroke: the cost of one move once the stroke holds about
          100, 1,000 and 10,000 points

rect and pen both ways (SNAPCREST_REFERENCE_PAINT=0: only what changed; =1:
the whole surface per move), and beside floor.exe (the least a frozen overlay
can do, repainting only the strips that changed) dragging the same 200 moves of
a first selection, when FLOOR_EXE names it.

usage: annotate_bench.py SNAPCREST_EXE XVFB_PID STATE_DIR [part ...]
(scripts/bench-annotate.sh and scripts/bench-side.sh set the environment up)."""
import json
import os
import statistics
import subprocess
import sys
import time

exe, xvfb, state = sys.argv[1], int(sys.argv[2]), sys.argv[3]
parts = sys.argv[4:] or ['hover', 'rect', 'pen']
log_unix = os.path.join(state, 'paint.log')
log_win = 'Z:' + log_unix.replace('/', '\\')


TICK_MS = 1000.0 / os.sysconf('SC_CLK_TCK')


def sched(pid):
    """CPU ms of a process so far, its ended threads included (the per-thread
    figures would lose a thread's time when it ends)."""
    try:
        fields = open(f'/proc/{pid}/stat').read().rsplit(')', 1)[1].split()
        return (int(fields[11]) + int(fields[12])) * TICK_MS
    except (OSError, IndexError, ValueError):
        return 0.0


def threads(pid):
    """CPU ns of each live thread of a process so far, from schedstat."""
    out = {}
    try:
        for tid in os.listdir(f'/proc/{pid}/task'):
            try:
                out[tid] = int(open(f'/proc/{pid}/task/{tid}/schedstat').read().split()[0])
            except (OSError, IndexError, ValueError):
                pass
    except OSError:
        pass
    return out


class Clock:
    """CPU ms of processes from one moment on. The kernel's per-thread figures
    count to the nanosecond, where the process's own count in 10 ms ticks is
    off by up to a tick over a drag of 200 moves (0.05 ms a move) for each
    process; but a thread that ends takes its figures with it, so when one
    ends, that process is counted in ticks."""

    def __init__(self, pids):
        self.start = {p: (threads(p), sched(p)) for p in pids}

    def elapsed(self, pid):
        before, ticks = self.start[pid]
        now = threads(pid)
        if any(tid not in now for tid in before):
            return sched(pid) - ticks
        return sum(now[tid] - before.get(tid, 0) for tid in now) / 1e6


def wineserver():
    out = subprocess.run(['pidof', 'wineserver64', 'wineserver'], capture_output=True, text=True).stdout.split()
    return int(out[0]) if out else None


def xdo(*args):
    subprocess.run(['xdotool', *map(str, args)], check=True)


def screen():
    out = subprocess.run(['xdotool', 'getdisplaygeometry'], capture_output=True, text=True).stdout.split()
    return int(out[0]), int(out[1])


W, H = screen()


def quiet(pids, eps=0.5, window=0.1, limit=20):
    last, start = sum(sched(p) for p in pids), time.time()
    while time.time() - start < limit:
        time.sleep(window)
        now = sum(sched(p) for p in pids)
        if now - last < eps:
            return
        last = now


class Run:
    """One launch of a program under Wine, measured from outside."""

    def __init__(self, args, reference=0):
        env = dict(os.environ, SNAPCREST_REFERENCE_PAINT=str(reference), SNAPCREST_PAINT_LOG=log_win)
        if os.path.exists(log_unix):
            os.remove(log_unix)
        xdo('mousemove', W - 5, H - 5)
        self.proc = subprocess.Popen(['wine', *args], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.pids = [self.proc.pid] + [p for p in [wineserver()] if p]
        time.sleep(1.0)
        quiet(self.pids)

    def moves(self, points, spacing=0.01):
        """Paced moves; CPU per move of program + wineserver, and of the X server."""
        quiet(self.pids)
        clock = Clock(self.pids + [xvfb])
        args = []
        for x, y in points:
            args += ['mousemove', x, y, 'sleep', spacing]
        for i in range(0, len(args), 400):  # keep each command line short
            xdo(*args[i:i + 400])
        quiet(self.pids)
        n = len(points)
        return sum(clock.elapsed(p) for p in self.pids) / n, clock.elapsed(xvfb) / n

    def select(self, left, top, right, bottom):
        xdo('mousemove', left - 4, top - 4, 'mousedown', 1)
        self.moves([(left + (right - left) * i // 10, top + (bottom - top) * i // 10) for i in range(1, 11)])
        xdo('mouseup', 1)
        quiet(self.pids)

    def click(self, x, y):
        xdo('mousemove', x, y, 'click', 1)
        time.sleep(0.2)
        quiet(self.pids)

    def end(self):
        xdo('key', 'Escape')
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        time.sleep(0.5)

    @staticmethod
    def paints():
        """(compose ms, paint ms, partial) of every composition of the run."""
        if not os.path.exists(log_unix):
            return []
        return [tuple(float(v) for v in line.split()) for line in open(log_unix) if line.strip()]


def button(sel, k):
    """Centre of tool bar button k (screen order) for a selection with the bar below it."""
    right, bottom = sel[2] + 4, sel[3] + 4
    return right - 319 - 15 + 30 * k + 12, bottom + 2 + 7 + 12


def median(values):
    return round(statistics.median(values), 3) if values else None


def diagonal(x0, y0, x1, y1, n=200):
    return [(x0 + (x1 - x0) * i // n, y0 + (y1 - y0) * i // n) for i in range(1, n + 1)]


def floor_drag():
    floor = os.environ.get('FLOOR_EXE')
    if not floor or not os.path.exists(floor):
        return None
    run = Run([floor, 'strip'])
    xdo('mousemove', W // 8 - 4, H // 8 - 4, 'mousedown', 1)
    cpu, x = run.moves(diagonal(W // 8, H // 8, sel[2], sel[3]))
    xdo('mouseup', 1)
    run.end()
    return cpu, x


def report(**fields):
    print(json.dumps(dict(screen=f'{W}x{H}', **fields)), flush=True)


sel = (W // 8, H // 8, W * 7 // 8, H * 3 // 4)


def report_floor(measured, **fields):
    """The floor drag's record; its total CPU per move, or None without a floor."""
    if not measured:
        return None
    cpu, x = measured
    report(part='floor', cpu_per_move_ms=round(cpu, 3), xvfb_per_move_ms=round(x, 3),
           total_per_move_ms=round(cpu + x, 3), **fields)
    return cpu + x


# The machine's speed drifts over minutes, by as much as a third here: each
# drag below is paired with a floor drag just before it, and its ratio is to
# that one. The other parts compare with one floor drag at the start.
floor = report_floor(floor_drag()) if set(parts) & {'hover', 'rect', 'pen'} else None


def drag_part(name, press, path, tool=None):
    """One paced drag of 200 moves after the selection (none for 'first'),
    just after the floor's drag when there is a floor."""
    paired = report_floor(floor_drag(), before=name)
    run = Run([exe])
    if name != 'first':
        run.select(*sel)
        if tool is not None:
            run.click(*button(sel, tool))
    xdo('mousemove', *press, 'mousedown', 1)
    cpu, x = run.moves(path)
    xdo('mouseup', 1)
    run.end()
    report(part=name, cpu_per_move_ms=round(cpu, 3), xvfb_per_move_ms=round(x, 3),
           total_per_move_ms=round(cpu + x, 3), ratio_to_floor=paired and round((cpu + x) / paired, 3))


mid = ((sel[0] + sel[2]) // 2, (sel[1] + sel[3]) // 2)
if 'first' in parts:
    drag_part('first', (sel[0] - 4, sel[1] - 4), diagonal(sel[0], sel[1], sel[2], sel[3]))
if 'move' in parts:
    drag_part('move', mid, diagonal(mid[0], mid[1], mid[0] - W // 10, mid[1] - H // 10))
if 'resize' in parts:
    drag_part('resize', (sel[2], sel[3]), diagonal(sel[2], sel[3], sel[2] - W // 4, sel[3] - H // 4))
if 'arrow' in parts:
    drag_part('arrow', (sel[0] + 50, sel[1] + 50), diagonal(sel[0] + 60, sel[1] + 60, sel[2] - 60, sel[3] - 60), 2)
if 'rect-changed' in parts:
    drag_part('rect', (sel[0] + 50, sel[1] + 50), diagonal(sel[0] + 60, sel[1] + 60, sel[2] - 60, sel[3] - 60), 0)
if 'stroke' in parts:
    drag_part('stroke', (sel[0] + 50, sel[1] + 50),
              [(sel[0] + 50 + 4 * i, sel[1] + 50 + (i % 40) * 3) for i in range(1, 201)], 4)

if 'hover' in parts:
    run = Run([exe])
    xdo('mousemove', W // 8 - 4, H // 8 - 4, 'mousedown', 1)
    drag_cpu, drag_x = run.moves(diagonal(W // 8, H // 8, sel[2], sel[3]))
    xdo('mouseup', 1)
    quiet(run.pids)
    a, b = button(sel, 2), button(sel, 3)
    hover_cpu, hover_x = run.moves([a if i % 2 else b for i in range(200)])
    run.end()  # the paint log is written as the session ends
    full = [p for p in Run.paints() if p[2] == 0]
    partial = [p for p in Run.paints() if p[2] == 1]
    report(part='hover', full_frame_paint_ms=median([p[1] for p in full]), full_frames=len(full),
           hover_paint_ms=median([p[1] for p in partial]), hover_paints=len(partial),
           drag_cpu_per_move_ms=round(drag_cpu + drag_x, 3), hover_cpu_per_move_ms=round(hover_cpu + hover_x, 3),
           floor_cpu_per_move_ms=floor and round(floor, 3))

if 'rect' in parts:
    for reference in (0, 1):
        run = Run([exe], reference)
        run.select(*sel)
        run.click(*button(sel, 0))  # the rectangle tool
        xdo('mousemove', sel[0] + 50, sel[1] + 50, 'mousedown', 1)
        cpu, x = run.moves(diagonal(sel[0] + 60, sel[1] + 60, sel[2] - 60, sel[3] - 60))
        xdo('mouseup', 1)
        run.end()
        report(part='rect preview', way='whole surface' if reference else 'changed area',
               cpu_per_move_ms=round(cpu, 3), xvfb_per_move_ms=round(x, 3), total_per_move_ms=round(cpu + x, 3),
               floor_cpu_per_move_ms=floor and round(floor, 3),
               ratio_to_floor=floor and round((cpu + x) / floor, 2))

if 'pen' in parts:
    # A serpentine path in 4-pixel steps, rows 12 pixels apart.
    left, top, right = sel[0] + 20, sel[1] + 20, sel[2] - 20
    path, y, row = [], top, 0
    while len(path) < 10200:
        xs = range(left, right, 4) if row % 2 == 0 else range(right, left, -4)
        path += [(x, y) for x in xs]
        y, row = y + 12, row + 1
    for reference in (0, 1):
        run = Run([exe], reference)
        run.select(*sel)
        run.click(*button(sel, 4))  # the pen tool
        xdo('mousemove', left, top, 'mousedown', 1)
        done, spacing = 0, 0.002
        for target in (100, 1000, 10000):
            # Build the stroke up in chunks paced to what a move costs, so the
            # moves are not merged, then time 100 moves at the target length.
            while done < target - 100:
                chunk = path[done:min(done + 200, target - 100)]
                cpu, x = run.moves(chunk, spacing)
                spacing = max(0.002, 2.0 * (cpu + x) / 1000)
                done += len(chunk)
            measure_spacing = max(0.01, 2.0 * spacing)
            cpu, x = run.moves(path[done:done + 100], measure_spacing)
            done += 100
            report(part='pen stroke', way='whole stroke per move' if reference else 'newest segment',
                   points=done, cpu_per_move_ms=round(cpu, 3), xvfb_per_move_ms=round(x, 3),
                   total_per_move_ms=round(cpu + x, 3), floor_cpu_per_move_ms=floor and round(floor, 3),
                   ratio_to_floor=floor and round((cpu + x) / floor, 2))
        xdo('mouseup', 1)
        run.end()
