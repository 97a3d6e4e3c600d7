#!/usr/bin/env python3
"""A long chain of navigations in Lanterna against a bare web view, seen from outside.

    python3 bench/chain.py BUILD_DIR [--pages 100,1000] [--runs 3]

A local server hands out pages that move themselves on to the next one once loaded; the
engine drops a frame's navigations past 200 in 10 s, so each page asks again every
quarter second until it has left. The time runs from the server's first request for
page 0 to its first request for the last page. The floor (bench_minimal_view on the
same first address, on a stored profile of its own) and Lanterna take turns in every round. Memory is the PSS of the
whole process tree when the last page is asked for, and 5 s later.

Prints a table and "RESULT" lines for bench/harness.py's table.
"""
import argparse
import http.server
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from startup import end_helpers, end_tree, fresh_env, own_display, tree_pss_mib  # noqa: E402

LATER = 5.0  # seconds between the two memory readings
RETRY_MS = 250


class Chain:
    """The pages of one run: /c/<run>/<i>; the times of each page's first request."""

    def __init__(self):
        self.lock = threading.Lock()
        self.first = {}
        self.requests = 0
        self.last_seen = threading.Event()
        self.run, self.pages = None, 0

    def begin(self, run, pages):
        with self.lock:
            self.first, self.requests, self.run, self.pages = {}, 0, run, pages
            self.last_seen.clear()

    def seen(self, run, i):
        with self.lock:
            if run != self.run:
                return
            self.requests += 1
            self.first.setdefault(i, time.monotonic())
            if i == self.pages:
                self.last_seen.set()


def handler(chain):
    class Pages(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, fmt, *args):
            pass

        def do_GET(self):
            parts = self.path.split("/")
            if len(parts) != 4 or parts[1] != "c" or not parts[3].isdigit():
                self.send_error(404)
                return
            run, i = parts[2], int(parts[3])
            chain.seen(run, i)
            if i < chain.pages:
                move = ("<script>function go(){location.href='/c/%s/%d';setTimeout(go,%d);}"
                        "addEventListener('load',go);</script>" % (run, i + 1, RETRY_MS))
            else:
                move = ""
            body = ("<html><head><title>Pagina %d</title></head><body bgcolor=\"#13579B\">"
                    "<h1>Pagina %d</h1><p>Una pagina della catena.</p>%s</body></html>" % (i, i, move)).encode()
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            self.wfile.write(body)
    return Pages


def one(cmd, env, chain, run, pages, timeout):
    """Seconds from page 0 to the last page, PSS at the end and LATER seconds on, requests."""
    chain.begin(run, pages)
    proc = subprocess.Popen(cmd, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        if not chain.last_seen.wait(timeout):
            raise RuntimeError(f"{os.path.basename(cmd[0])}: the chain stopped at page {max(chain.first, default=-1)}")
        end = tree_pss_mib(proc.pid)
        time.sleep(LATER)  # the same pause for both programs
        later = tree_pss_mib(proc.pid)
        with chain.lock:
            took = chain.first[pages] - chain.first[0]
            requests = chain.requests
        return took, end, later, requests
    finally:
        end_tree(proc.pid)
        proc.wait(timeout=10)


class QuietServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass  # a program ended mid-request, as every run ends


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--pages", default="100,1000")
    ap.add_argument("--runs", type=int, default=int(os.environ.get("BENCH_CHAIN_RUNS", "3")))
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    sizes = [int(s) for s in args.pages.split(",")]

    work = tempfile.mkdtemp(prefix="lanterna-chain-")
    chain = Chain()
    server = QuietServer(("127.0.0.1", 0), handler(chain))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    port = server.server_address[1]
    display, helpers = own_display()
    try:
        base = dict(os.environ, DISPLAY=display, LANTERNA_DRIVE_C=os.path.join(work, "C"))
        base.pop("QT_QPA_PLATFORM", None)
        os.makedirs(base["LANTERNA_DRIVE_C"])
        samples = {}
        count = 0
        for r in range(args.runs):
            order = ["floor", "lanterna"] if r % 2 == 0 else ["lanterna", "floor"]
            for pages in sizes:
                for who in order:
                    count += 1
                    # Lanterna in a folder of its own: its log of visited addresses lies beside it.
                    prog = os.path.join(work, "prog%d" % count)
                    os.makedirs(prog)
                    if who == "lanterna":
                        shutil.copy2(os.path.join(build, "lanterna"), prog)
                        cmd = [os.path.join(prog, "lanterna")]
                    env = fresh_env(base, work, count)
                    if who == "floor":  # on a stored profile, as Lanterna is
                        cmd = [os.path.join(build, "bench", "bench_minimal_view"), "--profile",
                               os.path.join(env["XDG_DATA_HOME"], "lanterna", "profile")]
                    run = "r%d" % count
                    cmd.append("http://127.0.0.1:%d/c/%s/0" % (port, run))
                    samples.setdefault((pages, who), []).append(one(cmd, env, chain, run, pages, 30 + pages * 0.5))
                    shutil.rmtree(os.path.join(work, "homes", str(count)), ignore_errors=True)
                    shutil.rmtree(prog, ignore_errors=True)
        if os.environ.get("BENCH_VERBOSE"):
            for key, got in samples.items():
                print("  %5d %-8s" % key, " ".join("%.2f" % g[0] for g in got), file=sys.stderr)
        print(f"A chain of pages on a local server (median of {args.runs} runs each, interleaved with the floor):")
        print(f"  {'pages':>6} {'Lanterna s':>11} {'floor s':>8} {'ratio':>6} {'paired':>7} {'ms/page':>8}"
              f" {'MiB end':>8} {'floor':>6} {'MiB +5 s':>9} {'floor':>6} {'asked again':>12}")
        for pages in sizes:
            lan, flo = samples[(pages, "lanterna")], samples[(pages, "floor")]
            med = [statistics.median(x[k] for x in lan) for k in range(4)]
            fmed = [statistics.median(x[k] for x in flo) for k in range(4)]
            paired = statistics.median(a[0] / b[0] for a, b in zip(lan, flo))
            extra = (med[0] - fmed[0]) * 1000 / pages
            print(f"  {pages:>6} {med[0]:>11.2f} {fmed[0]:>8.2f} {med[0] / fmed[0]:>6.3f} {paired:>7.3f}"
                  f" {extra:>+8.1f} {med[1]:>8.1f} {fmed[1]:>6.1f} {med[2]:>9.1f} {fmed[2]:>6.1f}"
                  f" {int(med[3]) - pages - 1:>5} {int(fmed[3]) - pages - 1:>6}")
            print(f"RESULT chain of {pages} pages|{med[0]:.2f}|{fmed[0]:.2f}|s|1.03|bare web view")
            print(f"RESULT memory after {pages} pages, 5 s on|{med[2]:.1f}|{fmed[2]:.1f}|MiB|1.02|bare web view")
    finally:
        server.shutdown()
        end_helpers(helpers, work)


if __name__ == "__main__":
    main()
