""""Vedo finestre IE aperte" with three stand-ins for Internet Explorer (copies of sleep
named iexplore.exe): a click on a line and Si ends exactly that process, No ends none."""

import os
import shutil
import subprocess

import harness as h

HOME = "C:\\HOME-PAG\\INIZIO.HTM"
WINDOW = "^Elenco finestre Internet Explorer attive$"
QUESTION = "^Gestione finestre IE$"
ROW = 12  # a line of the list, in pixels, at the program's font


def click_line(s, win, index):
    # The list starts at 90, 90 twips (6 pixels) inside the window.
    s.click_design(win, 90, 90, 6090, 0, dy=2 + ROW * index + ROW // 2)


def scenario():
    with h.Session("ie") as s:
        # While a page loads the program ends these processes itself: start them after.
        _, w = s.start_shown("the home page at start", HOME)

        fake = os.path.join(s.root, "ie", "iexplore.exe")
        os.makedirs(os.path.dirname(fake))
        shutil.copy2(shutil.which("sleep"), fake)
        ie = []
        for _ in range(3):
            proc = subprocess.Popen([fake, "600"])
            s.started.append(proc)
            ie.append(proc)
        pids = sorted(proc.pid for proc in ie)

        def running():
            return [pid for pid in pids if h.alive(pid)]

        with s.step("the window lists them after Aggiorna elenco; a line, No: nothing ends"):
            h.click_main(s, w, "Command4")
            win = s.wait_window(WINDOW)
            s.activate(win)
            # The window was listed while the home page loaded, before these started.
            s.click_design(win, 3405, 3015, 1410, 390)  # "Aggiorna elenco"
            click_line(s, win, 0)
            s.answer(QUESTION, "alt+n")
            h.stays(lambda: running() == pids, 1.5, "all three running")

        with s.step("the top line, Si: the newest process ends, only it"):
            # Lines stand newest first: the top one is the highest process number.
            click_line(s, win, 0)
            s.answer(QUESTION, "alt+s")
            h.wait_for(lambda: not h.alive(pids[2]), 10, "process %d to end" % pids[2])
            h.stays(lambda: running() == pids[:2], 1.5, "the other two running")

        with s.step("the second line of the refreshed list, Si: the oldest ends"):
            h.wait_for(lambda: not s.windows(QUESTION), 5, "no question")
            click_line(s, win, 1)
            s.answer(QUESTION, "alt+s")
            h.wait_for(lambda: not h.alive(pids[0]), 10, "process %d to end" % pids[0])
            h.stays(lambda: running() == [pids[1]], 1.5, "the middle one running")


if __name__ == "__main__":
    h.run(scenario)
