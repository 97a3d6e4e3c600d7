"""Drives the real program through the X server the way a keyboard and a mouse do.

Each scenario gets its own Xvfb display with openbox, its own copy of the program
folder, drive C:, Favorites folder, HOME and XDG folders, and a local web server.
Input goes only through XTEST (xdotool without --window); results are read from
outside: window titles, files, the server's request log, the process table.
"""

import contextlib
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

import webserver

SKIP = 77  # CTest's SKIP_RETURN_CODE for this suite
SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TWIPS_PER_PIXEL = 15


def px(twips):
    # Same rounding as the program's own helper (round half away from zero).
    v = twips / TWIPS_PER_PIXEL
    return int(v + 0.5) if v >= 0 else -int(-v + 0.5)


def caption(url):
    """The main window's caption on a web address: the address in Windows form."""
    return url.replace("://", ":\\\\").replace("/", "\\")


class StepFailed(AssertionError):
    pass


def wait_for(cond, timeout, what, interval=0.1):
    """Polls cond() until it returns something true; fails with `what` at the deadline."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            last = cond()
        except (subprocess.CalledProcessError, OSError, ValueError):
            last = None
        if last:
            return last
        if time.monotonic() > deadline:
            raise StepFailed("timed out after %ss waiting for %s" % (timeout, what))
        time.sleep(interval)


def settled(value, timeout, what, interval=0.25):
    """Waits until value() gives the same non-empty result twice in a row (an animation done)."""
    last = [None]

    def same():
        now = value()
        done = now and now == last[0]
        last[0] = now
        return now if done else None
    return wait_for(same, timeout, what, interval)


def check(cond, what):
    if not cond:
        raise StepFailed(what)


def stays(cond, duration, what, interval=0.1, state=None):
    """Checks that cond() keeps holding for `duration` seconds (for things that must NOT happen).
    state() describes what was seen, for the failure message."""
    end = time.monotonic() + duration
    while time.monotonic() < end:
        if not cond():
            raise StepFailed("no longer true: %s%s" % (what, " (%s)" % state() if state else ""))
        time.sleep(interval)


# ---------------------------------------------------------------- processes

def _proc_cmdline(pid):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            return [a.decode("utf-8", "replace") for a in f.read().split(b"\0") if a]
    except OSError:
        return None


def _proc_ppid(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return int(f.read().rsplit(")", 1)[1].split()[1])
    except (OSError, IndexError, ValueError):
        return None


def alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def all_pids():
    return [int(d) for d in os.listdir("/proc") if d.isdigit()]


def descendants(roots):
    roots = set(roots)
    found = set(roots)
    changed = True
    table = {p: _proc_ppid(p) for p in all_pids()}
    while changed:
        changed = False
        for p, pp in table.items():
            if pp in found and p not in found:
                found.add(p)
                changed = True
    return found


def end_processes(pids):
    """SIGTERM then SIGKILL, only to the given processes."""
    pids = [p for p in pids if alive(p)]
    for p in pids:
        with contextlib.suppress(OSError):
            os.kill(p, signal.SIGTERM)
    deadline = time.monotonic() + 3
    while time.monotonic() < deadline and any(alive(p) for p in pids):
        time.sleep(0.05)
    for p in pids:
        if alive(p):
            with contextlib.suppress(OSError):
                os.kill(p, signal.SIGKILL)


# ---------------------------------------------------------------- the session

def tool_missing():
    return [t for t in ("Xvfb", "openbox", "xdotool", "xprop", "xwininfo", "xdpyinfo", "import")
            if shutil.which(t) is None]


class Session:
    """One scenario's world: display, window manager, server, folders and the program."""

    def __init__(self, name):
        self.name = name
        self.binary = os.environ.get("LANTERNA_BINARY", "")
        self.shots = os.environ.get("LANTERNA_INPUT_SHOTS", os.path.join(os.getcwd(), "input-screenshots"))
        self.root = tempfile.mkdtemp(prefix="lanterna-input-%s-" % name)
        self.prog = os.path.join(self.root, "prog")
        self.drive = os.path.join(self.root, "C")
        self.home = os.path.join(self.root, "home")
        self.favorites = os.path.join(self.drive, "Utenti", "prova", "Favorites")
        self.started = []      # Popen objects this session started
        self.programs = []     # Popen objects of the program
        self.display = None
        self.server = None
        self.tls = None
        self.step_name = "start"
        self.shot_count = 0

    # -- set-up and tear-down

    def __enter__(self):
        os.makedirs(self.prog)
        shutil.copy2(self.binary, os.path.join(self.prog, "lanterna"))
        shutil.copytree(os.path.join(SOURCE_DIR, "examples", "drive"), self.drive)
        demo = os.path.join(self.drive, "Utenti", "demo", "Favorites")
        shutil.move(demo, self.favorites)
        for d in ("config", "data", "cache", "runtime"):
            os.makedirs(os.path.join(self.home, d), mode=0o700)
        os.makedirs(os.path.join(self.root, "sanitizer"))
        os.chmod(os.path.join(self.root, "sanitizer"), 0o1777)  # also for the ordinary users of a scenario
        self._start_display()
        self.server = webserver.WebServer(os.path.join(self.root, "requests.log"))
        return self

    def __exit__(self, exc_type, exc, tb):
        if exc_type is not None:
            self.screenshot("failed")
        ours = set()
        for p in self.programs + self.started:
            ours |= descendants([p.pid])
        # New copies the program started on its own run from our program folder.
        for pid in all_pids():
            cmd = _proc_cmdline(pid)
            if cmd and cmd[0].startswith(self.prog + os.sep):
                ours |= descendants([pid])
        end_processes(sorted(ours, reverse=True))
        for p in self.programs + self.started:
            with contextlib.suppress(Exception):
                p.wait(timeout=5)
        for server in (self.server, self.tls):
            if server:
                server.stop()
        reports = self._sanitizer_reports()
        shutil.rmtree(self.root, ignore_errors=True)
        if reports and exc_type is None:
            raise StepFailed("the sanitizer reported:\n" + reports)
        return False

    def _sanitizer_reports(self):
        folder = os.path.join(self.root, "sanitizer")
        texts = []
        for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else ():
            with open(os.path.join(folder, name), errors="replace") as f:
                texts.append(f.read())
        if texts:
            print("\n".join(texts), file=sys.stderr)
        return "\n".join(texts)

    def _start_display(self):
        # A display number nobody holds: no lock file, no socket, no abstract socket.
        with open("/proc/net/unix") as f:
            taken = f.read()
        candidates = [n for n in range(200, 400)
                      if not os.path.exists("/tmp/.X%d-lock" % n)
                      and not os.path.exists("/tmp/.X11-unix/X%d" % n)
                      and "/tmp/.X11-unix/X%d\n" % n not in taken]
        random.shuffle(candidates)
        for n in candidates[:10]:
            log = open(os.path.join(self.root, "xvfb.log"), "w")
            xvfb = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "1280x1024x24",
                                     "-nolisten", "tcp", "-noreset"],
                                    stdout=subprocess.DEVNULL, stderr=log)
            self.display = ":%d" % n
            up = wait_for(lambda: xvfb.poll() is not None or
                          subprocess.run(["xdpyinfo"], env=self.env(), stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL).returncode == 0,
                          30, "Xvfb to start") and xvfb.poll() is None
            if up:
                self.started.append(xvfb)
                break
            xvfb.wait()
        else:
            raise StepFailed("no free X display found")
        self.wm_log = open(os.path.join(self.root, "openbox.log"), "w")
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env(),
                              stdout=self.wm_log, stderr=self.wm_log)
        self.started.append(wm)
        try:
            wait_for(lambda: "window id" in self.x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]),
                     20, "openbox to manage the display")
        except StepFailed:
            with open(os.path.join(self.root, "openbox.log")) as f:
                print("openbox on %s, running: %s, said: %s" % (self.display, wm.poll() is None, f.read()),
                      file=sys.stderr)
            raise

    def tls_server(self):
        """The same pages over TLS, with a self-signed certificate made now."""
        self.tls = webserver.WebServer(os.path.join(self.root, "tls-requests.log"),
                                       webserver.self_signed_certificate(self.root))
        self.server.tls = self.tls
        return self.tls

    def env(self, **extra):
        e = {k: v for k, v in os.environ.items()
             if not k.startswith(("QT_", "LANTERNA_", "XDG_", "WAYLAND", "DBUS_"))}
        e.update({
            "DISPLAY": self.display or "",
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "XDG_DATA_HOME": os.path.join(self.home, "data"),
            "XDG_CACHE_HOME": os.path.join(self.home, "cache"),
            "XDG_RUNTIME_DIR": os.path.join(self.home, "runtime"),
            "QT_QPA_PLATFORM": "xcb",
            "LANG": "C.UTF-8",
            "LANTERNA_DRIVE_C": self.drive,
            "LANTERNA_FAVORITES": self.favorites,
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
            # No session bus: without one libdbus may start its own through the X server,
            # and the toolkit's first call then waits on it, now and then for good.
            "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + os.path.join(self.root, "no-session-bus"),
        })
        if self.server:
            # Outside sites reach the local server as a proxy: no network needed,
            # and the request log shows exactly which address was asked for.
            e["QTWEBENGINE_CHROMIUM_FLAGS"] = (
                "--no-sandbox --disable-gpu --disable-background-networking --disable-component-update "
                "--proxy-server=http://127.0.0.1:%d" % self.server.port)
        e.update(self.sanitizer_env())
        e.update(extra)
        return e

    def sanitizer_env(self):
        """A sanitized program writes its reports beside the session; __exit__ fails on any."""
        return {var: os.environ[var] + ":log_path=" + os.path.join(self.root, "sanitizer", "report")
                for var in ("ASAN_OPTIONS", "UBSAN_OPTIONS") if var in os.environ}

    # -- X helpers

    def x(self, argv, check=True):
        out = subprocess.run(argv, env=self.env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                             timeout=20, check=check)
        return out.stdout.decode("utf-8", "replace")

    def xdo(self, *args):
        return self.x(["xdotool"] + [str(a) for a in args])

    def screenshot(self, label):
        os.makedirs(self.shots, exist_ok=True)
        self.shot_count += 1
        safe = re.sub(r"[^A-Za-z0-9_.-]+", "_", "%s-%02d-%s-%s" % (self.name, self.shot_count,
                                                                    self.step_name, label))
        path = os.path.join(self.shots, safe + ".png")
        with contextlib.suppress(Exception):
            self.x(["import", "-window", "root", path])
            print("screenshot kept: " + path, file=sys.stderr)
        return path

    @contextlib.contextmanager
    def step(self, name):
        self.step_name = name
        print("[%s] %s" % (self.name, name), flush=True)
        try:
            yield
        except BaseException:
            self.screenshot("failed")
            raise

    def windows(self, name_regex=".", pid=None):
        args = ["xdotool", "search", "--onlyvisible"]
        if pid is not None:
            # Without --all, xdotool takes a window of any process whose title matches.
            args += ["--all", "--pid", str(pid)]
        if pid is None or name_regex != ".":
            args += ["--name", name_regex]
        out = self.x(args, check=False)
        return [int(w) for w in out.split()]

    def managed(self):
        """The top-level windows the window manager manages (no popups, no inner windows)."""
        out = self.x(["xprop", "-root", "_NET_CLIENT_LIST"], check=False)
        return {int(v, 16) for v in re.findall(r"0x[0-9a-fA-F]+", out)}

    def title(self, wid):
        return self.x(["xdotool", "getwindowname", str(wid)], check=False).rstrip("\n")

    def wait_window(self, name_regex, timeout=20, pid=None):
        """A top-level window with that title, once the window manager has it."""
        def find():
            managed = self.managed()
            return next((w for w in self.windows(name_regex, pid) if w in managed), None)
        return wait_for(find, timeout, "a window titled /%s/" % name_regex)

    def wait_no_window(self, name_regex, timeout=10):
        wait_for(lambda: not self.windows(name_regex), timeout, "no window titled /%s/" % name_regex)

    def geometry(self, wid):
        # xwininfo's absolute corner is the client area's; xdotool's counts the frame twice.
        out = self.x(["xwininfo", "-id", str(wid)])
        def field(name):
            return int(re.search(name + r":\s*(-?\d+)", out).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def activate(self, wid):
        self.x(["xdotool", "windowactivate", "--sync", str(wid)], check=False)
        wait_for(lambda: self.x(["xdotool", "getactivewindow"], check=False).strip() == str(wid),
                 10, "window %s to be active" % wid)
        # The window manager names the active window before the keyboard's focus gets
        # there (just after a dialog closes): keys typed in between would be lost.
        wait_for(lambda: self.x(["xdotool", "getwindowfocus"], check=False).strip() == str(wid),
                 10, "the keyboard's focus in window %s" % wid)

    def click_at(self, x, y, button=1):
        self.xdo("mousemove", "--sync", x, y)
        self.xdo("click", button)

    def click_design(self, wid, left, top, width, height, dx=None, dy=None, button=1):
        """Clicks a control placed at design twips inside the window's client area."""
        wx, wy, _, _ = self.geometry(wid)
        x = wx + px(left) + (px(width) // 2 if dx is None else dx)
        y = wy + px(top) + (px(height) // 2 if dy is None else dy)
        self.click_at(x, y, button)

    def key(self, *keys):
        self.xdo("key", "--clearmodifiers", *keys)

    def type(self, text):
        self.xdo("type", "--clearmodifiers", "--delay", 15, text)

    # -- the program

    def start(self, *args):
        p = subprocess.Popen([os.path.join(self.prog, "lanterna")] + list(args), env=self.env(),
                             cwd=self.root, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.programs.append(p)
        return p

    def start_shown(self, what, title, *args):
        """Starts the program with args; its main window, once it shows title."""
        p = self.start(*args)
        with self.step(what):
            w = self.main_window(p)
            self.wait_title_is(w, title, 60)
        return p, w

    def web_title(self, name):
        """The caption of a page of the local server."""
        return caption(self.server.url(name))

    def answer(self, title_regex, keys):
        """Answers the message box with that title by keys, and waits for it to go."""
        box = self.wait_window(title_regex)
        self.activate(box)
        self.key(keys)
        self.wait_no_window(title_regex)

    def program_copies(self):
        """Processes running the program from this session's folder, with their arguments."""
        found = []
        for pid in all_pids():
            cmd = _proc_cmdline(pid)
            if cmd and cmd[0] == os.path.join(self.prog, "lanterna") and alive(pid):
                found.append((pid, cmd[1:]))
        return found

    def main_window(self, proc, timeout=60, exclude=()):
        """The program's main window: its largest visible window (the design's 773 x 500);
        exclude: windows of other copies."""
        def find():
            managed = self.managed()
            for wid in self.windows(".", proc.pid):
                if wid not in managed or wid in exclude:
                    continue
                with contextlib.suppress(subprocess.CalledProcessError, AttributeError):
                    _, _, width, height = self.geometry(wid)
                    if width >= 700 and height >= 450 and self.title(wid):
                        return wid
            return None
        return wait_for(find, timeout, "the main window of process %d" % proc.pid)

    def wait_title(self, wid, predicate, what, timeout=20):
        return wait_for(lambda: predicate(self.title(wid)) and self.title(wid), timeout,
                        "the title to be %s (now %r)" % (what, self.title(wid)))

    def wait_title_is(self, wid, text, timeout=20):
        return self.wait_title(wid, lambda t: t == text, repr(text), timeout)

    def wait_requests(self, path, n, timeout=20, command="GET"):
        return wait_for(lambda: self.server.count(path, command) >= n, timeout,
                        "%d request(s) of %s (seen %d)" % (n, path, self.server.count(path, command)))


# Design positions on the main window (left, top, width, height in twips).
MAIN = {
    "toolbar": (30, 0, 2820, 510),
    "Command1": (2850, 0, 870, 495),
    "cboAddress": (4545, -15, 3360, 315),
    "Check1": (3825, 285, 1680, 195),
    "Check2": (3825, 495, 1680, 195),
    "Command3": (5520, 315, 1485, 315),
    "Command4": (7005, 315, 1875, 315),
    "Command7": (10395, 315, 1200, 315),
    "web": (75, 690, 5400, 3735),
}
TOOLBAR_KEYS = ["Back", "Forward", "Stop", "Refresh", "Home", "Search"]


def click_main(s, wid, control, **kw):
    s.click_design(wid, *MAIN[control], **kw)


def click_toolbar(s, wid, key):
    left, top, width, height = MAIN["toolbar"]
    size = px(width) // 6
    i = TOOLBAR_KEYS.index(key)
    s.click_design(wid, left, top, width, height, dx=i * size + size // 2, dy=size // 2)


def click_page(s, wid, x=150, y=60, button=1):
    """A point of the page, in page pixels from the web view's top-left corner."""
    left, top, _, _ = MAIN["web"]
    s.click_design(wid, left, top, 0, 0, dx=x, dy=y, button=button)


def combo_arrow(s, wid):
    """Clicks the address box's drop-down arrow (the box spans the window's width)."""
    left, top, _, height = MAIN["cboAddress"]
    _, _, width, _ = s.geometry(wid)
    box_width = px(width * TWIPS_PER_PIXEL - 4735)
    s.click_design(wid, left, top, 0, height, dx=box_width - 8)


def control_pixels(s, wid, control):
    """The control's pixels as they are on screen (to compare captions drawn at two moments)."""
    left, top, width, height = MAIN[control]
    wx, wy, _, _ = s.geometry(wid)
    geometry = "%dx%d+%d+%d" % (px(width) - 4, px(height) - 4, wx + px(left) + 2, wy + px(top) + 2)
    return subprocess.run(["import", "-window", "root", "-crop", geometry, "rgb:-"], env=s.env(),
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=20, check=True).stdout


def park_pointer(s):
    """Moves the pointer to an empty corner of the screen, away from any hover effect."""
    s.xdo("mousemove", "--sync", 1270, 1010)


def type_address(s, wid, text, enter="Return"):
    """Alt+A reaches the address box; the text replaces what is there."""
    s.activate(wid)
    s.key("alt+a")
    s.key("ctrl+a")
    s.type(text)
    if enter:
        s.key(enter)


def run(scenario):
    """Entry point of a scenario file: skips when the X tools are absent."""
    missing = tool_missing()
    if missing:
        print("real-input suite skipped: missing %s (scripts/deps installs them)" % ", ".join(missing))
        sys.exit(SKIP)
    if not os.path.isfile(os.environ.get("LANTERNA_BINARY", "")):
        print("LANTERNA_BINARY does not name the program", file=sys.stderr)
        sys.exit(2)
    started = time.monotonic()
    try:
        scenario()
    except Exception:
        traceback.print_exc()
        print("FAILED after %.1fs" % (time.monotonic() - started))
        sys.exit(1)
    print("passed in %.1fs" % (time.monotonic() - started))
