#!/usr/bin/env python3
"""A 1 GiB download from a local server: Lanterna with its downloads window against the
engine's silent download, seen from outside.

    python3 bench/download.py BUILD_DIR [--runs 3]

Lanterna is started on the file's address, so the download is its first page and the
downloads window opens with it. The floor is bench_minimal_view --download DIR, which
accepts the download at once and shows nothing; curl is shown beside it for the machine's
own speed. Each time runs from the server's request to the whole file on the disk; the
three take turns in every round.

Prints a table and a "RESULT" line for bench/harness.py's table.
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
from startup import end_helpers, end_tree, fresh_env, own_display  # noqa: E402

SIZE = 1 << 30
CHUNK = b"\0" * (1 << 20)
NAME = "grande.bin"


class Server(http.server.ThreadingHTTPServer):
    asked = None

    def handle_error(self, request, client_address):
        pass  # a program ended mid-request


class File(http.server.BaseHTTPRequestHandler):
    def log_message(self, fmt, *args):
        pass

    def do_GET(self):
        if self.path != "/" + NAME:
            self.send_error(404)
            return
        self.server.asked = time.monotonic()
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Disposition", 'attachment; filename="%s"' % NAME)
        self.send_header("Content-Length", str(SIZE))
        self.end_headers()
        for _ in range(SIZE // len(CHUNK)):
            self.wfile.write(CHUNK)


def one(cmd, env, server, folder, timeout=120):
    """Seconds from the request to the whole file in `folder` (and no partial file)."""
    server.asked = None
    proc = subprocess.Popen(cmd, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    target = os.path.join(folder, NAME)
    try:
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                whole = os.path.getsize(target) == SIZE and len(os.listdir(folder)) == 1
            except OSError:
                whole = False
            if whole and server.asked is not None:
                return time.monotonic() - server.asked
            time.sleep(0.01)  # a poll of the disk, not a wait for the program
        raise RuntimeError(f"{os.path.basename(cmd[0])}: the download did not complete")
    finally:
        end_tree(proc.pid)
        proc.wait(timeout=10)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--runs", type=int, default=int(os.environ.get("BENCH_DOWNLOAD_RUNS", "3")))
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    work = tempfile.mkdtemp(prefix="lanterna-download-")
    server = Server(("127.0.0.1", 0), File)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = "http://127.0.0.1:%d/%s" % (server.server_address[1], NAME)
    display, helpers = own_display()
    try:
        base = dict(os.environ, DISPLAY=display, LANTERNA_DRIVE_C=os.path.join(work, "C"))
        base.pop("QT_QPA_PLATFORM", None)
        os.makedirs(base["LANTERNA_DRIVE_C"])
        prog = os.path.join(work, "prog")
        os.makedirs(prog)
        shutil.copy2(os.path.join(build, "lanterna"), prog)
        samples = {"curl": [], "floor": [], "lanterna": []}
        order = list(samples)
        count = 0
        for r in range(args.runs):
            for who in order[r % 3:] + order[:r % 3]:
                count += 1
                env = fresh_env(base, work, count)
                folder = os.path.join(env["HOME"], "Downloads")
                os.makedirs(folder)
                cmd = {"curl": ["curl", "-s", "-o", os.path.join(folder, NAME), url],
                       "floor": [os.path.join(build, "bench", "bench_minimal_view"), "--download", folder, url],
                       "lanterna": [os.path.join(prog, "lanterna"), url]}[who]
                samples[who].append(one(cmd, env, server, folder))
                shutil.rmtree(env["HOME"], ignore_errors=True)
        if os.environ.get("BENCH_VERBOSE"):
            for who, got in samples.items():
                print(f"  {who:>8}", " ".join(f"{t:.2f}" for t in got), file=sys.stderr)
        med = {who: statistics.median(got) for who, got in samples.items()}
        print(f"A 1 GiB download from a local server (median of {args.runs} each, taking turns): Lanterna with"
              f" its downloads window {med['lanterna']:.2f} s, the engine's silent download {med['floor']:.2f} s,"
              f" curl {med['curl']:.2f} s")
        print(f"RESULT 1 GiB download, downloads window open|{med['lanterna']:.2f}|{med['floor']:.2f}|s|1.05"
              f"|bare view's silent download")
    finally:
        server.shutdown()
        end_helpers(helpers, work)


if __name__ == "__main__":
    main()
