#!/usr/bin/env python3
"""Start-up, memory and idle figures of the game beside a bare Qt window.

    tools/startbench/startbench.py [--build build] [--game PROGRAM] [--runs 7] [--idle 10]
                                   [--breakdown] [--threads]

Starts, under a private Xvfb (no window manager, black root), the bare window
`bareboard`, the same window twinkling fifty pixels ten times a second as the
game's stars do (the floor of the game's idle cost), that twinkling window
once more sending its pixels in plain X requests as the game does
(QT_XCB_NO_MITSHM=1), the same twinkle in a plain QWindow without widgets
that paints straight into its backing store (the floor of the twinkle in Qt
at all), and the game with music on and with music off, several
times each, in turns, and prints the medians and the game's ratios to the
bare window:

  exec->paint  from just before the program is spawned to the first look at
               the screen's frame buffer (read straight from Xvfb's -fbdir
               file, about every millisecond) that shows at least three
               colours: a mapped window that has not painted yet is one flat
               colour over the black root
  cpu->paint   the program's CPU time (all threads, /proc/PID/task/*/schedstat)
               at that moment
  rss          VmRSS two seconds after the first paint (the music has started)
  idle cpu     the program's CPU over --idle seconds from then on, in % of one
               core; nothing is touched meanwhile, only the stars twinkle

With --threads it also prints the idle CPU of each thread by name (the window
thread, Qt's X event reader, SDL's audio thread...), medians over the runs.
With --breakdown it also prints where each game's resident memory goes beyond
the bare window's: /proc/PID/smaps summed by mapping (each library, the
program, [heap], anonymous memory) at the moment rss is read, medians over
the runs, the largest differences first.

The game runs from BUILD/game with settings of its own (English, sound on,
music on or off) and SDL's dummy audio driver unless SDL_AUDIODRIVER is set.
Before each run the driver waits (up to 60 s) for the machine to be quiet, so
that other work lands in as few runs as possible; ratios from one sitting hold
better than absolute times. Needs python3 and Xvfb.
"""
import argparse
import mmap
import os
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 1280, 1024


def cpu_ns(pid):
    total = 0
    try:
        for tid in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                    total += int(f.read().split()[0])
            except (OSError, ValueError, IndexError):
                pass
    except OSError:
        return None
    return total


def cpu_by_thread(pid):
    """{tid: (name, CPU time in ns)} of each thread of the program."""
    threads = {}
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return threads
    for tid in tids:
        try:
            with open(f"/proc/{pid}/task/{tid}/comm") as f:
                name = f.read().strip()
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                threads[tid] = (name, int(f.read().split()[0]))
        except (OSError, ValueError, IndexError):
            pass
    return threads


def idle_by_name(before, after, seconds):
    """% of a core each thread name used between two cpu_by_thread() looks;
    threads of one name are summed, a thread that ended meanwhile is left out."""
    names = {}
    for tid, (name, ns) in after.items():
        used = ns - before.get(tid, (name, 0))[1]
        names[name] = names.get(name, 0.0) + 100.0 * used / 1e9 / seconds
    return names


def rss_mb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return None


def rss_by_mapping(pid):
    """Resident kB of each mapping of the process, summed by name."""
    sizes = {}
    name = "[anon]"
    try:
        with open(f"/proc/{pid}/smaps") as f:
            for line in f:
                head = line.split()
                if not head:
                    continue
                if "-" in head[0] and not head[0].endswith(":"):
                    name = head[5] if len(head) > 5 else "[anon]"
                elif head[0] == "Rss:":
                    sizes[name] = sizes.get(name, 0) + int(head[1])
    except OSError:
        pass
    return sizes


def busy_pct(interval=0.5):
    def read():
        with open("/proc/stat") as f:
            v = [int(x) for x in f.readline().split()[1:9]]
        return sum(v), v[3] + v[4]
    t1, i1 = read()
    time.sleep(interval)
    t2, i2 = read()
    return 100.0 * ((t2 - t1) - (i2 - i1)) / max(1, t2 - t1)


class Screen:
    """A private Xvfb whose frame buffer is a memory-mapped file."""

    def __init__(self, tmp):
        for n in range(61, 200):
            if os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
                continue
            self.proc = subprocess.Popen(
                ["Xvfb", f":{n}", "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24", "-br",
                 "-nolisten", "tcp", "-noreset", "-fbdir", tmp],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            fb = os.path.join(tmp, "Xvfb_screen0")
            for _ in range(100):
                if self.proc.poll() is not None or os.path.exists(f"/tmp/.X11-unix/X{n}"):
                    break
                time.sleep(0.05)
            if self.proc.poll() is None and os.path.exists(fb):
                self.display = f":{n}"
                time.sleep(0.3)
                break
            self.stop()
        else:
            sys.exit("startbench: no free X display")
        self.file = open(fb, "rb")
        self.fb = mmap.mmap(self.file.fileno(), 0, access=mmap.ACCESS_READ)
        h = struct.unpack(">25I", self.fb[:100])
        self.offset = h[0] + h[19] * 12
        self.line = h[12]

    def pixels(self):
        return self.fb[self.offset:self.offset + self.line * SCREEN_H]

    def colours(self, buf, step=4):
        px = memoryview(buf).cast("I")
        width = self.line // 4
        seen = set()
        for row in range(0, SCREEN_H, step):
            seen.update(c & 0xFFFFFF for c in px[row * width:(row + 1) * width:step])
            if len(seen) >= 3:
                break
        return len(seen)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait()


def one_run(screen, command, env, idle_s):
    while busy_pct() > 15 and time.monotonic() < one_run.quiet_deadline:
        pass
    blank = screen.pixels()
    t0 = time.monotonic_ns()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    try:
        paint = cpu = None
        prev = blank
        while time.monotonic_ns() - t0 < 20e9 and proc.poll() is None:
            buf = screen.pixels()
            if buf != prev:
                prev = buf
                if screen.colours(buf) >= 3:
                    paint = (time.monotonic_ns() - t0) / 1e6
                    cpu = cpu_ns(proc.pid) / 1e6
                    break
            time.sleep(0.0005)
        if paint is None:
            sys.exit(f"startbench: {command[0]} painted nothing")
        time.sleep(2.0)
        rss = rss_mb(proc.pid)
        one_run.mappings = rss_by_mapping(proc.pid)
        c1, t1, w1 = cpu_ns(proc.pid), cpu_by_thread(proc.pid), time.monotonic()
        time.sleep(idle_s)
        c2, t2, w2 = cpu_ns(proc.pid), cpu_by_thread(proc.pid), time.monotonic()
        idle = 100.0 * (c2 - c1) / 1e9 / (w2 - w1)
        one_run.threads = idle_by_name(t1, t2, w2 - w1)
        return paint, cpu, rss, idle
    finally:
        proc.terminate()
        try:
            proc.wait(3)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        time.sleep(0.3)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--build", default=os.path.join(here, "..", "..", "build"))
    ap.add_argument("--game", help="the game to measure (default: BUILD/game/tumblewick)")
    ap.add_argument("--runs", type=int, default=7)
    ap.add_argument("--idle", type=float, default=10.0, help="seconds of idle measured")
    ap.add_argument("--breakdown", action="store_true",
                    help="also print the games' resident memory by mapping, beside the bare window's")
    ap.add_argument("--top", type=int, default=20, help="mappings listed by --breakdown")
    ap.add_argument("--threads", action="store_true",
                    help="also print each program's idle CPU by thread")
    a = ap.parse_args()
    build = os.path.abspath(a.build)
    bare = [os.path.join(build, "tools", "startbench", "bareboard")]
    game = [os.path.abspath(a.game) if a.game else os.path.join(build, "game", "tumblewick")]
    for c in (bare, game):
        if not os.access(c[0], os.X_OK):
            sys.exit(f"startbench: {c[0]} is missing; build first")

    tmp = tempfile.mkdtemp(prefix="startbench.", dir="/dev/shm" if os.access("/dev/shm", os.W_OK) else None)
    screen = Screen(tmp)
    base = dict(os.environ, DISPLAY=screen.display)
    base.setdefault("SDL_AUDIODRIVER", "dummy")
    base.pop("WAYLAND_DISPLAY", None)
    base.pop("QT_QPA_PLATFORM", None)
    variants = [("bare window", bare, base), ("bare, twinkling", bare + ["--twinkle"], base),
                ("bare, twinkling, plain", bare + ["--twinkle"], dict(base, QT_XCB_NO_MITSHM="1")),
                ("bare, no widgets, plain", bare + ["--twinkle", "--window"],
                 dict(base, QT_XCB_NO_MITSHM="1"))]
    for music in (1, 0):
        config = os.path.join(tmp, f"config-music{music}")
        os.makedirs(os.path.join(config, "QuirkGames", "Tumblewick"))
        with open(os.path.join(config, "QuirkGames", "Tumblewick", "V2.conf"), "w") as f:
            f.write(f"[common]\ntongue=0\nsound=1\nmusic={music}\n")
        variants.append((f"game, music {'on' if music else 'off'}", game,
                         dict(base, XDG_CONFIG_HOME=config)))
    results = {name: [] for name, _, _ in variants}
    maps = {name: [] for name, _, _ in variants}
    threads = {name: [] for name, _, _ in variants}
    try:
        for name, command, env in variants:       # warm-up: caches, fonts, first client
            one_run.quiet_deadline = time.monotonic() + 60
            one_run(screen, command, env, 0.1)
        for r in range(a.runs):
            for name, command, env in variants:
                one_run.quiet_deadline = time.monotonic() + 60
                row = one_run(screen, command, env, a.idle)
                results[name].append(row)
                maps[name].append(one_run.mappings)
                threads[name].append(one_run.threads)
                print(f"run {r + 1} {name:22} exec->paint {row[0]:6.1f} ms  cpu {row[1]:6.1f} ms"
                      f"  rss {row[2]:5.1f} MB  idle {row[3]:5.2f} %", file=sys.stderr, flush=True)
    finally:
        screen.stop()
        shutil.rmtree(tmp, ignore_errors=True)

    med = {name: [statistics.median(col) for col in zip(*rows)] for name, rows in results.items()}
    b = med["bare window"]
    t = med["bare, twinkling"]
    print(f"medians of {a.runs} runs each, {SCREEN_W}x{SCREEN_H} Xvfb, "
          f"SDL_AUDIODRIVER={base['SDL_AUDIODRIVER']}, idle over {a.idle:.0f} s")
    print(f"{'':24}{'exec->paint':>14}{'cpu->paint':>14}{'rss':>10}{'idle cpu':>11}")
    for name, m in med.items():
        print(f"{name:24}{m[0]:11.1f} ms{m[1]:11.1f} ms{m[2]:7.1f} MB{m[3]:9.2f} %")
        if name.startswith("game"):
            print(f"{'  x bare window':24}{m[0] / b[0]:14.2f}{m[1] / b[1]:14.2f}{m[2] / b[2]:10.2f}"
                  f"{m[3] - t[3]:+9.2f} % over the twinkling window")
    if a.threads:
        print("\nidle cpu by thread (medians; a thread absent from a run counts 0)")
        for name, runs in threads.items():
            per = median_mappings(runs)
            listed = "  ".join(f"{n} {v:.2f} %" for n, v in sorted(per.items(), key=lambda x: -x[1]))
            print(f"{name:24}{listed}")
    if a.breakdown:
        print_breakdown(maps, a.top)


def median_mappings(runs):
    names = set().union(*runs)
    return {n: statistics.median(r.get(n, 0) for r in runs) for n in names}


def print_breakdown(maps, top):
    bare = median_mappings(maps["bare window"])
    for name, runs in maps.items():
        if not name.startswith("game"):
            continue
        game = median_mappings(runs)
        diff = sorted(((game.get(n, 0) - bare.get(n, 0), n) for n in set(game) | set(bare)),
                      reverse=True)
        total = sum(d for d, _ in diff)
        print(f"\n{name}: {total / 1024:+.1f} MB resident beyond the bare window, by mapping")
        for d, n in diff[:top]:
            print(f"  {d / 1024:+7.2f} MB  {n}")
        rest = sum(d for d, _ in diff[top:])
        print(f"  {rest / 1024:+7.2f} MB  the other {max(0, len(diff) - top)} mappings")


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    main()
