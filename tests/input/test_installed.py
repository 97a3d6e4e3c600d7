"""Lanterna as a user gets it: installed with `make install-files` into a prefix, started
from its menu entry as an ordinary user with a fresh HOME and no Lanterna variables. The
home page comes from the user's own drive, the editor changes it there, the Favorites
show the samples, and the log is kept after Si: beside the program when the user may
write there, in the user's data folder when not."""

import os
import re
import shlex
import subprocess

import harness as h

HOME_PAGE = "C:\\HOME-PAG\\INIZIO.HTM"
MENU = "^Menu possibili modifiche$"
CAPTION = "^Creazione di una nuova scritta$"
CLOSING = "^Chiusura Lanterna$"
NOBODY = 65534


def as_user():
    """The command prefix that runs a program as an ordinary user (when we are root)."""
    if os.geteuid() != 0:
        return []
    return ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups"]


def give(path, mode=0o755):
    """Lets the ordinary user into a folder of the test."""
    os.chmod(path, mode)
    if os.geteuid() == 0:
        os.chown(path, NOBODY, NOBODY)


def menu_command(prefix):
    with open(os.path.join(prefix, "share", "applications", "lanterna.desktop")) as f:
        line = next(l for l in f if l.startswith("Exec="))
    return [a for a in shlex.split(line[len("Exec="):].strip()) if not a.startswith("%")]


def user_env(s, prefix, home):
    """What a desktop session gives an ordinary user's programs: no Lanterna variables."""
    # The menu entry may name the program by its name alone (a package's does).
    return {"PATH": os.path.join(prefix, "bin") + ":/usr/bin:/bin", "HOME": home, "DISPLAY": s.display,
            # Not Lanterna's: the test machine's engine needs these, a desktop would not.
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
            "QTWEBENGINE_CHROMIUM_FLAGS": "--no-sandbox --disable-gpu --disable-background-networking",
            "DBUS_SESSION_BUS_ADDRESS": s.env()["DBUS_SESSION_BUS_ADDRESS"], **s.sanitizer_env()}


def one_day(s, prefix, home, program_folder_writable):
    data = os.path.join(home, ".local", "share", "lanterna")
    drive = os.path.join(data, "C")
    page = os.path.join(drive, "HOME-PAG", "INIZIO.HTM")
    folder = os.path.join(prefix, "lib", "lanterna")
    if os.geteuid() == 0:
        os.chown(folder, NOBODY if program_folder_writable else 0, NOBODY if program_folder_writable else 0)
    os.chmod(folder, 0o755 if program_folder_writable else 0o555)
    p = subprocess.Popen(as_user() + menu_command(prefix), env=user_env(s, prefix, home), cwd=home,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    s.programs.append(p)

    with s.step("the home page of the user's own drive"):
        w = s.main_window(p)
        s.wait_title_is(w, HOME_PAGE, 60)
        h.check(os.path.isfile(page), "the home page was put in the user's drive: " + page)

    with s.step("the editor changes the page in the user's drive"):
        with open(page, "rb") as f:
            before = f.read().split(b"\r\n")
        h.click_main(s, w, "Command1")
        menu = s.wait_window(MENU)
        s.click_design(menu, 240, 780, 4080, 495)  # "Crea una scritta"
        form = s.wait_window(CAPTION)
        s.click_design(form, 1800, 120, 5820, 315)  # Text1
        s.type("Installato")
        s.click_design(form, 4440, 3720, 1500, 435)  # "Conferma"
        s.wait_no_window(CAPTION)
        with open(page, "rb") as f:
            after = f.read().split(b"\r\n")
        added = [line for line in after if line not in before]
        h.check(len(after) == len(before) + 1 and len(added) == 1 and b"Installato" in added[0],
                "the page gained one line with the caption: %r" % added)
        s.activate(menu)
        s.key("Escape")

    with s.step("the Favorites show the samples: Ricette opens the second page"):
        s.activate(w)
        h.click_main(s, w, "Command3")
        fav = s.wait_window("^Internet Preferiti$")
        s.activate(fav)
        # Rows from the tree's top (270 twips): the root, Pagina iniziale, Ricette, Cucina, Notizie.
        s.click_design(fav, 45, 270, 0, 0, dx=95, dy=10 + 2 * 18)
        h.wait_for(lambda: len(s.windows(".", p.pid)) >= 3, 10, "the shortcut's menu")
        s.key("Down")
        s.key("Return")  # "Open Site"
        s.wait_title_is(w, "C:\\HOME-PAG\\SECONDA.HTM")

    with s.step("closing with Si keeps the log"):
        s.activate(w)
        s.key("alt+F4")
        question = s.wait_window(CLOSING)
        s.activate(question)
        s.key("alt+s")  # Si
        h.wait_for(lambda: p.poll() is not None, 30, "the program to end")
        beside = os.path.join(folder, "LANTERNA.DAT")
        own = os.path.join(data, "LANTERNA.DAT")
        log, other = (beside, own) if program_folder_writable else (own, beside)
        h.check(os.path.isfile(log), "the log at " + log)
        with open(log, "rb") as f:
            lines = f.read().split(b"\r\n")
        h.check(b"file:///C:/HOME-PAG/SECONDA.HTM" in lines, "the visited page is logged: %r" % lines)
        h.check(not os.path.exists(other), "no log at " + other)
    # The next user finds the program as installed.
    if os.path.exists(os.path.join(folder, "LANTERNA.DAT")):
        os.chmod(folder, 0o755)
        os.remove(os.path.join(folder, "LANTERNA.DAT"))


def scenario():
    with h.Session("installed") as s:
        give(s.root)
        prefix = os.path.join(s.root, "prefix")
        build = os.path.dirname(os.path.abspath(s.binary))
        with s.step("make install-files into a prefix"):
            subprocess.run(["make", "-s", "-C", h.SOURCE_DIR, "install-files", "PREFIX=" + prefix, "BUILD=" + build],
                           check=True, stdout=subprocess.DEVNULL)
            h.check(os.path.islink(os.path.join(prefix, "bin", "lanterna")), "the program is on the PATH")
            h.check(re.match(r"^/", menu_command(prefix)[0]) is not None, "the menu entry names the program")
        for d, _, _ in os.walk(prefix):
            os.chmod(d, 0o755)

        # A per-user install: the user owns the program's folder.
        home = os.path.join(s.root, "utente1")
        os.makedirs(home)
        give(home)
        one_day(s, prefix, home, program_folder_writable=True)

        # A system-wide one: the folder is not the user's; a second user with a fresh HOME.
        home = os.path.join(s.root, "utente2")
        os.makedirs(home)
        give(home)
        one_day(s, prefix, home, program_folder_writable=False)


if __name__ == "__main__":
    h.run(scenario)
