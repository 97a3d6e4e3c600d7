#!/usr/bin/env python3
"""Start-up and memory figures of Lanterna against its floor and a peer browser.

Run by bench/run under one Xvfb display. Prints one "RESULT" line per figure:
RESULT <name>|<value>|<floor>|<unit>|<goal ratio>|<floor label>
"""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = int(os.environ.get("BENCH_RUNS", "5"))
TIMEOUT = 60.0


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


def tree_rss_mib(pid):
    total = 0
    for p in descendants(pid):
        try:
            with open(f"/proc/{p}/status") as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total / 1024.0


def end_tree(proc):
    pids = descendants(proc.pid)
    for p in reversed(pids):
        try:
            os.kill(p, signal.SIGKILL)
        except OSError:
            pass
    proc.wait(timeout=10)


def until_ready(cmd, env):
    """Seconds from start until the program prints 'ready', and the tree's memory then."""
    t0 = time.monotonic()
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        while True:
            line = proc.stdout.readline()
            if not line:
                raise RuntimeError(f"{cmd[0]} ended before its page loaded")
            if line.strip() == "ready":
                elapsed = time.monotonic() - t0
                break
        return elapsed, tree_rss_mib(proc.pid)
    finally:
        end_tree(proc)


class EndedEarly(RuntimeError):
    pass


def until_window_retrying(cmd, env, title, tries=3):
    # Xvfb now and then refuses a connection while the observer polls it; the program
    # then cannot open its display at all. Such a start is measured again.
    for attempt in range(tries):
        try:
            return until_window(cmd, env, title)
        except EndedEarly:
            if attempt == tries - 1:
                raise


def until_window(cmd, env, title):
    """Seconds from start until a window whose name holds `title` exists, and the memory then."""
    t0 = time.monotonic()
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while True:
            if proc.poll() is not None:
                raise EndedEarly(f"{cmd[0]} ended before its window appeared")
            found = subprocess.run(["xdotool", "search", "--name", title], capture_output=True, text=True)
            if found.stdout.strip():
                elapsed = time.monotonic() - t0
                break
            if time.monotonic() - t0 > TIMEOUT:
                raise RuntimeError(f"no window named {title} from {cmd[0]}")
            time.sleep(0.02)  # polling interval of the outside observer, not a measured wait
        # Let the window finish painting the page before memory is read, the same for both.
        time.sleep(1.0)
        return elapsed, tree_rss_mib(proc.pid)
    finally:
        end_tree(proc)


def medians(samples):
    return statistics.median(s[0] for s in samples), statistics.median(s[1] for s in samples)


def main():
    build = sys.argv[1]
    work = tempfile.mkdtemp(prefix="lanterna-bench-")
    try:
        # The page is the home page, so Lanterna starts the way a user starts it: without
        # an argument (an argument is requested twice by design).
        drive = os.path.join(work, "C")
        os.makedirs(os.path.join(drive, "HOME-PAG"))
        page = os.path.join(drive, "HOME-PAG", "INIZIO.HTM")
        with open(page, "w", encoding="cp1252") as f:
            f.write("<html><head><title>INIZIO.HTM</title></head><body>\n<h1>Pagina di prova</h1>\n")
            for i in range(200):
                f.write(f"<p>Riga {i}: il testo della pagina di prova per misurare l'avvio.</p>\n")
            f.write("</body></html>\n")

        env = dict(os.environ)
        env["LANTERNA_DRIVE_C"] = drive
        env["HOME"] = os.path.join(work, "home")
        os.makedirs(env["HOME"])
        env["XDG_RUNTIME_DIR"] = os.path.join(work, "run")
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        if os.geteuid() == 0:
            env["QTWEBENGINE_CHROMIUM_FLAGS"] = (env.get("QTWEBENGINE_CHROMIUM_FLAGS", "") + " --no-sandbox").strip()
        ready_env = dict(env, LANTERNA_BENCH_READY="stay")

        lanterna = [os.path.join(build, "lanterna")]
        minimal = [os.path.join(build, "bench", "bench_minimal_view"), page]

        lan, floor = [], []
        for _ in range(RUNS):  # interleaved, so both see the same machine
            lan.append(until_ready(lanterna, ready_env))
            floor.append(until_ready(minimal, ready_env))
        (lt, lm), (ft, fm) = medians(lan), medians(floor)
        print(f"RESULT start to first local page|{lt:.3f}|{ft:.3f}|s|1.15|bare web view")
        print(f"RESULT memory after that page|{lm:.0f}|{fm:.0f}|MiB|1.10|bare web view")

        falkon = shutil.which("falkon")
        if falkon:
            peer_cmd = [falkon, "--private-browsing", "--no-extensions", "--no-remote", "file://" + page]
            lw, pw = [], []
            for _ in range(RUNS):
                lw.append(until_window_retrying(lanterna, env, "INIZIO.HTM"))
                pw.append(until_window_retrying(peer_cmd, env, "INIZIO.HTM"))
            (lwt, lwm), (pwt, pwm) = medians(lw), medians(pw)
            print(f"RESULT window with the page (vs falkon)|{lwt:.3f}|{pwt:.3f}|s|1.00|falkon")
            print(f"RESULT memory with the page (vs falkon)|{lwm:.0f}|{pwm:.0f}|MiB|1.00|falkon")
        else:
            print("falkon not installed: peer figures skipped", file=sys.stderr)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def table():
    """Reads RESULT lines on stdin and prints the table with each goal."""
    rows = []
    for line in sys.stdin:
        if not line.startswith("RESULT "):
            sys.stdout.write("  " + line)
            continue
        name, value, floor, unit, goal, label = line[len("RESULT "):].rstrip("\n").split("|")
        ratio = float(value) / float(floor) if float(floor) > 0 else float("inf")
        rows.append((name, value, floor, unit, ratio, float(goal), label))
    print()
    head = f"{'figure':42} {'median':>10} {'floor':>10} {'unit':5} {'ratio':>6} {'goal':>7}  met  floor is"
    print(head)
    print("-" * len(head))
    for name, value, floor, unit, ratio, goal, label in rows:
        met = "yes" if ratio <= goal else "NO"
        print(f"{name:42} {value:>10} {floor:>10} {unit:5} {ratio:6.2f} {'<= ' + format(goal, 'g'):>7}  {met:3}  {label}")


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == "--table":
        table()
    else:
        main()
