#!/usr/bin/env python3
"""Start-up time and memory of Lanterna against a bare web view, seen from outside.

    python3 bench/startup.py BUILD_DIR [--sizes 0,1000,10000,32767] [--runs 7]
    python3 bench/startup.py BUILD_DIR --profiles [--runs 7]

Runs its own Xvfb display with openbox. Each start is timed by bench_window_watch, an X
client that starts the program and watches the screen: the time is from the process start
until a window of that process shows the page (its background colour in the middle of the
window). Every start has a fresh HOME; the floor (one QWebEngineView on the same page, the
same size as Lanterna's page area) and Lanterna alternate, so both see the same machine.
Memory is the PSS of the whole process tree (the program and the engine's processes), read
one second after the page shows.

Prints a table of time and memory against the size of the log, and "RESULT" lines for
bench/harness.py's table. With --profiles, the same against the stored profile instead: an
empty one, and one of 1,000 cookies and a full cache (made once by bench_profile_fill and
copied into each start's home); the floor then shows its page on a copy of the same profile.
Besides the medians, the table gives the median of the ratios
round by round ("paired"), which a machine that slows down for a while moves less.
"""
import argparse
import http.server
import os
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

COLOUR = (0x13, 0x57, 0x9B)
SETTLE = 1.0  # seconds between the page showing and the memory reading, the same for both
QUIET = 0.5  # seconds of rest after a program ends, before the next one starts


def png(width, height, rgb):
    """A solid-colour PNG, written with the standard library only."""
    row = b"\0" + bytes(rgb) * width
    raw = zlib.compress(row * height, 9)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", raw) + chunk(b"IEND", b""))


def write_home_page(folder):
    """A page like the sample home page: a title, a picture background, a heading, links."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "SFONDO.PNG"), "wb") as f:
        f.write(png(64, 64, COLOUR))
    page = os.path.join(folder, "INIZIO.HTM")
    with open(page, "w", encoding="cp1252", newline="\r\n") as f:
        f.write('<HTML>\n<HEAD>\n<TITLE>La mia pagina iniziale</TITLE>\n'
                '<META http-equiv="Content-Type" content="text/html; charset=windows-1252">\n</HEAD>\n'
                '<BODY background="SFONDO.PNG" text="#F0F0F0" link="#FFFF80">\n'
                '<H1 align="center">Benvenuti nella mia pagina</H1>\n'
                '<P align="center">Questa è la pagina iniziale: da qui si parte ogni giorno.</P>\n'
                '<UL>\n<LI><A href="SECONDA.HTM">Le mie ricette preferite</A></LI>\n'
                '<LI><A href="http://www.esempio.it/">Un sito di prova</A></LI>\n</UL>\n'
                '</BODY>\n</HTML>\n')
    return page


def write_log(path, entries):
    """A visited-links log of distinct addresses, one per line, as the program writes it."""
    with open(path, "wb") as f:
        for i in range(entries):
            f.write(b"http://www.sito%05d.example.it/pagina/%d.htm\r\n" % (i, i * 7))


def descendants(pid):
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                ppid = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        children.setdefault(ppid, []).append(int(entry))
    out, todo = [], [pid]
    while todo:
        p = todo.pop()
        out.append(p)
        todo.extend(children.get(p, []))
    return out


def tree_pss_mib(pid):
    """Proportional set size of the tree: shared pages are counted once in all."""
    total = 0
    for p in descendants(pid):
        try:
            with open(f"/proc/{p}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
                        break
        except OSError:
            pass
    return total / 1024.0


def end_helpers(helpers, work):
    """Ends the X server and window manager of a run and removes its folder."""
    for p in helpers:
        p.terminate()
        p.wait(timeout=10)
    shutil.rmtree(work, ignore_errors=True)


def end_tree(pid):
    """Ends the tree and waits until its processes are gone, so the next start has the machine."""
    pids = descendants(pid)
    for p in reversed(pids):
        try:
            os.kill(p, signal.SIGKILL)
        except OSError:
            pass
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and any(os.path.exists(f"/proc/{p}/stat") and not zombie(p) for p in pids):
        time.sleep(0.05)
    time.sleep(QUIET)


def zombie(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] == "Z"
    except OSError:
        return True


def fresh_env(base, work, n):
    env = dict(base)
    home = os.path.join(work, "homes", str(n))
    for sub in ("", ".config", ".cache", ".local/share", "run"):
        os.makedirs(os.path.join(home, sub), mode=0o700, exist_ok=True)
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"), XDG_CACHE_HOME=os.path.join(home, ".cache"),
               XDG_DATA_HOME=os.path.join(home, ".local/share"), XDG_RUNTIME_DIR=os.path.join(home, "run"))
    return env


class Observer:
    def __init__(self, watch):
        self.watch = watch
        self.count = 0

    def start(self, cmd, env, work, profile=None):
        """Seconds until the page shows, and the tree's PSS a moment later. With a profile
        folder, its copy is the user's stored profile, and "{profile}" in cmd names it."""
        self.count += 1
        env = fresh_env(env, work, self.count)
        if profile is not None:
            own = os.path.join(env["XDG_DATA_HOME"], "lanterna", "profile")
            if profile:
                shutil.copytree(profile, own, symlinks=True)
            cmd = [a.replace("{profile}", own) for a in cmd]
        hex_colour = "%02x%02x%02x" % COLOUR
        proc = subprocess.Popen([self.watch, hex_colour] + cmd, env=env, stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        pid, shown = None, None
        try:
            for line in proc.stdout:
                word, _, value = line.strip().partition(" ")
                if word == "pid":
                    pid = int(value)
                elif word == "shown":
                    shown = float(value)
                    break
                elif word == "timeout":
                    break
            if shown is None:
                raise RuntimeError(f"{cmd[0]} never showed its page")
            time.sleep(SETTLE)  # the same pause for both programs before memory is read
            return shown, tree_pss_mib(pid)
        finally:
            if pid:
                end_tree(pid)
            proc.stdin.close()
            proc.wait(timeout=10)
            try:
                os.waitpid(pid, 0)
            except (OSError, TypeError):
                pass
            shutil.rmtree(os.path.join(work, "homes", str(self.count)), ignore_errors=True)


def own_display():
    """An Xvfb display with openbox, for this run only."""
    r, w = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            pass_fds=(w,), stderr=subprocess.DEVNULL)
    os.close(w)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(r, 16)
        if not chunk:
            raise RuntimeError("Xvfb did not start")
        number += chunk
    os.close(r)
    display = ":" + number.decode().strip()
    wm = subprocess.Popen(["openbox"], env=dict(os.environ, DISPLAY=display),
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.5)  # lets openbox take the screen before the first window maps
    return display, [wm, xvfb]


class _Filler(http.server.BaseHTTPRequestHandler):
    """A page that fetches 110 cacheable MiB, then sets its title."""
    BLOBS = 110

    def log_message(self, fmt, *args):
        pass

    def do_GET(self):
        if self.path == "/fill.htm":
            body = ("<title>...</title><script>var n=%d,p=[];for(var i=0;i<n;i++)p.push(fetch('/b/'+i)"
                    ".then(function(r){return r.arrayBuffer();}));Promise.all(p).then(function(){"
                    "document.title='fatto';});</script>" % self.BLOBS).encode()
            kind, cache = "text/html", "no-store"
        else:
            body, kind, cache = os.urandom(1024 * 1024), "application/octet-stream", "max-age=31536000"
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", cache)
        self.end_headers()
        self.wfile.write(body)


def full_profile(build, work):
    """A stored profile as after long use: 1,000 cookies and a full cache."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), _Filler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    data = os.path.join(work, "filled")
    os.makedirs(data)
    env = dict(os.environ, XDG_DATA_HOME=data, QT_QPA_PLATFORM="offscreen")
    try:
        subprocess.run([os.path.join(build, "bench", "bench_profile_fill"),
                        "http://127.0.0.1:%d/fill.htm" % server.server_address[1]],
                       env=env, check=True, stderr=subprocess.DEVNULL, timeout=900)
    finally:
        server.shutdown()
    return os.path.join(data, "lanterna", "profile")


def profiles(args, build, work, observer, base, page):
    """Start-up on the stored profile, empty and full, against a bare view on the same one."""
    full = full_profile(build, work)
    size = subprocess.run(["du", "-sm", os.path.join(full, "cache")], capture_output=True, text=True).stdout.split()[0]
    with open(os.path.join(full, "cookies.txt")) as f:
        cookies = sum(1 for line in f if line.startswith("+ "))
    print(f"Full profile: {cookies} cookies in the journal, cache {size} MiB", file=sys.stderr)
    prog = os.path.join(work, "prog")
    os.makedirs(prog)
    shutil.copy2(os.path.join(build, "lanterna"), prog)
    lanterna = [os.path.join(prog, "lanterna")]
    floor = [os.path.join(build, "bench", "bench_minimal_view"), "--profile", "{profile}", page]
    kinds = {"empty": "", "full": full}
    runs = {}
    for name, folder in kinds.items():
        runs[(name, "floor")] = (floor, folder)
        runs[(name, "lanterna")] = (lanterna, folder)
    for cmd, folder in runs.values():
        observer.start(cmd, base, work, folder)
    samples = {key: [] for key in runs}
    order = list(runs)
    for r in range(args.runs):
        for key in order[r % len(order):] + order[:r % len(order)]:
            cmd, folder = runs[key]
            samples[key].append(observer.start(cmd, base, work, folder))
    if os.environ.get("BENCH_VERBOSE"):
        for key, got in samples.items():
            print(f"  {'/'.join(key):>14}", " ".join(f"{t:.3f}" for t, _ in got), file=sys.stderr)
    print(f"Start-up on the stored profile (median of {args.runs} starts each, against a bare web view on"
          f" a copy of the same profile):")
    print(f"  {'profile':>8} {'Lanterna s':>11} {'floor s':>8} {'ratio':>6} {'paired':>7}"
          f" {'Lanterna MiB':>13} {'floor MiB':>10}")
    for name in kinds:
        lan, flo = samples[(name, "lanterna")], samples[(name, "floor")]
        lt, ft = statistics.median(t for t, _ in lan), statistics.median(t for t, _ in flo)
        lm, fm = statistics.median(m for _, m in lan), statistics.median(m for _, m in flo)
        paired = statistics.median(a / b for (a, _), (b, _) in zip(lan, flo))
        print(f"  {name:>8} {lt:>11.3f} {ft:>8.3f} {lt / ft:>6.3f} {paired:>7.3f} {lm:>13.1f} {fm:>10.1f}")
        label = "empty profile" if name == "empty" else "1,000 cookies and a full cache"
        print(f"RESULT start to the page shown ({label})|{lt:.3f}|{ft:.3f}|s|1.05|bare web view, same profile")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--sizes", default="0,1000,10000,32767")
    ap.add_argument("--profiles", action="store_true")
    ap.add_argument("--runs", type=int, default=int(os.environ.get("BENCH_RUNS", "7")))
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    sizes = [int(s) for s in args.sizes.split(",")]

    work = tempfile.mkdtemp(prefix="lanterna-start-")
    display, helpers = own_display()
    try:
        drive = os.path.join(work, "C")
        page = write_home_page(os.path.join(drive, "HOME-PAG"))
        base = dict(os.environ, DISPLAY=display, LANTERNA_DRIVE_C=drive)
        base.pop("QT_QPA_PLATFORM", None)
        observer = Observer(os.path.join(build, "bench", "bench_window_watch"))
        floor_cmd = [os.path.join(build, "bench", "bench_minimal_view"), page]
        if args.profiles:
            profiles(args, build, work, observer, base, page)
            return

        # Every size's program in a folder of its own, with its log beside it.
        programs = {}
        for size in sizes:
            prog = os.path.join(work, f"prog{size}")
            os.makedirs(prog)
            shutil.copy2(os.path.join(build, "lanterna"), prog)
            if size:
                write_log(os.path.join(prog, "LANTERNA.DAT"), size)
            programs[size] = [os.path.join(prog, "lanterna")]

        # A first start of each warms the disk cache. Then rounds: the floor and every size
        # once each, the order turning from round to round, so all see the same machine.
        observer.start(floor_cmd, base, work)
        for cmd in programs.values():
            observer.start(cmd, base, work)
        samples = {key: [] for key in ["floor"] + sizes}
        order = ["floor"] + sizes
        for r in range(args.runs):
            turned = order[r % len(order):] + order[:r % len(order)]
            for key in turned:
                samples[key].append(observer.start(floor_cmd if key == "floor" else programs[key], base, work))
        if os.environ.get("BENCH_VERBOSE"):
            for key, got in samples.items():
                print(f"  {key!s:>8}", " ".join(f"{t:.3f}" for t, _ in got), file=sys.stderr)

        def medians(got):
            return statistics.median(t for t, _ in got), statistics.median(m for _, m in got)

        def paired(key, base):
            """Median of the round-by-round ratios: each round's starts ran back to back, so
            a machine that slows down for a while slows both sides of every ratio."""
            return statistics.median(t / b for (t, _), (b, _) in zip(samples[key], samples[base]))
        ft, fm = medians(samples["floor"])
        results = {}
        for size in sizes:
            lt, lm = medians(samples[size])
            results[size] = (lt, ft, lm, fm)

        print(f"Start-up against the size of the log (median of {args.runs} starts each, interleaved with the floor):")
        print(f"  {'entries':>8} {'Lanterna s':>11} {'floor s':>8} {'ratio':>6} {'extra ms':>9} {'paired':>7}"
              f" {'Lanterna MiB':>13} {'floor MiB':>10} {'ratio':>6}")
        for size in sizes:
            lt, ft, lm, fm = results[size]
            print(f"  {size:>8} {lt:>11.3f} {ft:>8.3f} {lt / ft:>6.3f} {(lt - ft) * 1000:>9.0f}"
                  f" {paired(size, 'floor'):>7.3f} {lm:>13.1f} {fm:>10.1f} {lm / fm:>6.3f}")
        if 0 in sizes and len(sizes) > 1:
            full = max(sizes)
            extra = statistics.median((t - e) * 1000 for (t, _), (e, _) in zip(samples[full], samples[0]))
            print(f"  paired: the median of the ratios of each round; a full log ({full}) against the empty one,"
                  f" round by round: {extra:+.0f} ms")
        if 0 in results:
            lt, ft, lm, fm = results[0]
            print(f"RESULT start to the page shown (empty log)|{lt:.3f}|{ft:.3f}|s|1.05|bare web view")
            print(f"RESULT memory with the page (empty log)|{lm:.1f}|{fm:.1f}|MiB|1.02|bare web view")
            full = max(results)
            if full:
                extra = results[full][0] - lt
                print(f"RESULT start with {full} log entries, extra|{max(extra, 0) * 1000:.0f}|50|ms|1.00|goal 50 ms")
    finally:
        end_helpers(helpers, work)


if __name__ == "__main__":
    main()
