"""The Debian package as users get it. Built from the build by `make deb`'s script, it
passes lintian (no errors; every warning explained in the README) and the desktop and
AppStream validators. Unpacked into a temporary root, never installed on this machine, it
answers --version without a display and takes any other argument as the address. Two
ordinary users with fresh HOMEs and no Lanterna variables each get a drive and a log of
their own in their data folder; the second makes it the default browser, and a web address
given to xdg-open opens in it."""

import glob
import os
import re
import shutil
import subprocess
import sys
import types

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "input"))
import harness as h  # noqa: E402
import test_installed as installed  # noqa: E402

TOOLS = ("dpkg-shlibdeps", "lintian", "appstreamcli", "desktop-file-validate", "xdg-mime", "xdg-settings", "xdg-open")


def output(argv, **kw):
    r = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120, **kw)
    return r.returncode, r.stdout.decode("utf-8", "replace")


def lintian_findings(text):
    """(severity, tag) of every error and warning lintian printed."""
    return re.findall(r"^([EW]): lanterna[^:]*: (\S+)", text, re.M)


def default_browser_day(s, prefix, home, other_log):
    env = installed.user_env(s, prefix, home)
    # As after an install: the package's entry among the system's, the user's own folders empty.
    env["XDG_DATA_DIRS"] = os.path.join(prefix, "share") + ":/usr/share"
    env["XDG_DATA_HOME"] = os.path.join(home, ".local", "share")
    data = os.path.join(env["XDG_DATA_HOME"], "lanterna")
    user = installed.as_user()

    with s.step("made the default browser, Lanterna is the handler of web addresses"):
        rc, text = output(user + ["xdg-settings", "set", "default-web-browser", "lanterna.desktop"], env=env, cwd=home)
        h.check(rc == 0, "xdg-settings accepts the entry: " + text)
        for kind in ("x-scheme-handler/https", "x-scheme-handler/http", "text/html"):
            rc, text = output(user + ["xdg-mime", "query", "default", kind], env=env, cwd=home)
            h.check(text.strip() == "lanterna.desktop", "the handler of %s is Lanterna: %r" % (kind, text))

    with s.step("xdg-open starts Lanterna on the address"):
        p = subprocess.Popen(user + ["xdg-open", s.server.url("a.htm")], env=env, cwd=home,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        s.programs.append(p)
        s.wait_requests("/a.htm", 1, 60)
        program = h.wait_for(lambda: next((types.SimpleNamespace(pid=q) for q in h.descendants([p.pid])
                                           if (h._proc_cmdline(q) or [""])[0].endswith("/lanterna")), None),
                             10, "Lanterna among xdg-open's processes")
        w = s.main_window(program)
        # The address in path form, as the program's argument became it, once the page is there.
        s.wait_title_is(w, s.web_title("a.htm"), 60)
        h.check(os.path.isfile(os.path.join(data, "C", "HOME-PAG", "INIZIO.HTM")), "this user's own drive")

    with s.step("closing with Si keeps this user's log in this user's data folder"):
        s.activate(w)
        s.key("alt+F4")
        question = s.wait_window(installed.CLOSING)
        s.activate(question)
        s.key("alt+s")  # Si
        h.wait_for(lambda: p.poll() is not None, 30, "xdg-open and the program to end")
        with open(os.path.join(data, "LANTERNA.DAT"), "rb") as f:
            h.check(s.server.url("a.htm").encode() in f.read().split(b"\r\n"), "the address is in this user's log")
        with open(other_log, "rb") as f:
            h.check(b"/a.htm" not in f.read(), "the other user's log stays theirs")
        h.check(not os.path.exists(os.path.join(prefix, "lib", "lanterna", "LANTERNA.DAT")), "no log beside the program")


def scenario():
    with h.Session("package") as s:
        installed.give(s.root)
        build = os.path.dirname(os.path.abspath(s.binary))
        with s.step("make-deb builds the package from the build"):
            rc, text = output([os.path.join(h.SOURCE_DIR, "scripts", "make-deb"), build, os.path.join(s.root, "deb")])
            h.check(rc == 0, "make-deb: " + text)
            with open(os.path.join(build, "lanterna-version.txt")) as f:
                version = f.read().strip()
            debs = glob.glob(os.path.join(s.root, "deb", "*.deb"))
            arch = subprocess.run(["dpkg", "--print-architecture"], stdout=subprocess.PIPE, text=True).stdout.strip()
            h.check([os.path.basename(d) for d in debs] == ["lanterna_%s-1_%s.deb" % (version, arch)],
                    "the package: %r" % debs)
        # Lintian takes its time: it reads the package while the program runs.
        lintian = subprocess.Popen(["lintian", debs[0]], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        s.started.append(lintian)
        root = os.path.join(s.root, "root")
        prefix = os.path.join(root, "usr")

        with s.step("unpacked, the desktop entry and the AppStream data are valid"):
            subprocess.run(["dpkg-deb", "-x", debs[0], root], check=True)
            entry = os.path.join(prefix, "share", "applications", "lanterna.desktop")
            rc, text = output(["desktop-file-validate", entry])
            h.check(rc == 0 and not text.strip(), "desktop-file-validate: " + text)
            rc, text = output(["appstreamcli", "validate", "--no-net"]
                              + glob.glob(os.path.join(prefix, "share", "metainfo", "*.xml")))
            h.check(rc == 0, "appstreamcli: " + text)
            with open(entry) as f:
                lines = f.read().splitlines()
            for line in ("Exec=lanterna %u", "MimeType=x-scheme-handler/http;x-scheme-handler/https;text/html;"):
                h.check(line in lines, "the entry holds " + line)

        with s.step("--version and --help answer without a display"):
            rc, text = output([os.path.join(prefix, "bin", "lanterna"), "--version"], env={})
            h.check(rc == 0 and text == "Lanterna %s\n" % version, "--version: %r" % text)
            rc, text = output([os.path.join(prefix, "bin", "lanterna"), "--help"], env={})
            h.check(rc == 0 and text.startswith("Uso: lanterna"), "--help: %r" % text)

        for d, _, _ in os.walk(root):
            os.chmod(d, 0o755)
        homes = [os.path.join(s.root, "utente%d" % n) for n in (1, 2)]
        for home in homes:
            os.makedirs(home)
            installed.give(home)
        installed.one_day(s, prefix, homes[0], program_folder_writable=False)
        default_browser_day(s, prefix, homes[1],
                            os.path.join(homes[0], ".local", "share", "lanterna", "LANTERNA.DAT"))

        with s.step("any other argument is the address, even one the toolkit would take as its own"):
            p = subprocess.Popen([os.path.join(prefix, "bin", "lanterna"), s.server.url("a.htm"), "-reverse"],
                                 env=s.env(), cwd=s.root, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            s.programs.append(p)
            s.wait_requests("/a.htm%20-reverse", 1, 60)
            h.end_processes(sorted(h.descendants([p.pid]), reverse=True))

        with s.step("lintian: no error, every warning explained in the README"):
            text = lintian.communicate(timeout=300)[0].decode("utf-8", "replace")
            findings = lintian_findings(text)
            print(text.strip() or "lintian: nothing to say")
            h.check(not [t for sev, t in findings if sev == "E"], "lintian errors: " + text)
            with open(os.path.join(h.SOURCE_DIR, "README.md")) as f:
                readme = f.read()
            h.check(all("`%s`" % t in readme for _, t in findings), "a warning the README does not explain: " + text)


if __name__ == "__main__":
    if not shutil.which("dpkg-deb"):
        print("package test skipped: not a Debian system")
        sys.exit(h.SKIP)
    missing = [t for t in TOOLS if not shutil.which(t)]
    if missing:
        print("missing " + ", ".join(missing) + ": run scripts/deps", file=sys.stderr)
        sys.exit(1)
    h.run(scenario)
