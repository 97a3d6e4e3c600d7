"""The address box as a user reaches it: typed addresses with Enter, keypad Enter, Alt+A,
Tab from the page, picks from the drop-down list, Command1's two roles, and the visited
addresses kept across a close with Alt+F4 and a second start."""

import os

import harness as h

HOME = "C:\\HOME-PAG\\INIZIO.HTM"
SECOND = "file:///C:/HOME-PAG/SECONDA.HTM"


def list_popup(s, wid, pid):
    """Opens the drop-down list with the mouse; returns the list window's geometry."""
    h.combo_arrow(s, wid)
    # The list may open with a short animation: its size counts once it stays put.
    popup = h.settled(lambda: [g for g in (s.geometry(w) for w in s.windows(".", pid) if w != wid)
                               if g[3] > 0], 10, "the drop-down list")
    return popup[0]


FRAME = 1  # the list window's border, in pixels
ROW = 13  # a line of the list, in pixels, at the program's font


def rows_of(popup):
    rows, rest = divmod(popup[3] - 2 * FRAME, ROW)
    h.check(rest == 0, "the list's height %d fits whole lines of %d pixels" % (popup[3], ROW))
    return rows


def pick_row(s, popup, index):
    x, y, width, _ = popup
    s.click_at(x + width // 2, y + FRAME + ROW * index + ROW // 2)


def scenario():
    with h.Session("address") as s:
        srv = s.server
        p = s.start()
        with s.step("the home page at start"):
            w = s.main_window(p)
            s.wait_title_is(w, HOME, 60)
            s.activate(w)
            s.key("alt+a")
            h.park_pointer(s)
            local_caption = h.control_pixels(s, w, "Command1")

        with s.step("a typed web address and Enter"):
            h.type_address(s, w, srv.url("a.htm"))
            s.wait_requests("/a.htm", 1)
            s.wait_title_is(w, s.web_title("a.htm"))
            h.park_pointer(s)
            h.wait_for(lambda: h.control_pixels(s, w, "Command1") != local_caption, 5,
                       "Command1 to change its caption for a web page")

        with s.step("Tab from the page reaches the address box; keypad Enter"):
            h.click_page(s, w, 400, 40)
            s.key("Tab")
            s.key("ctrl+a")
            s.type(srv.url("b.htm"))
            s.key("KP_Enter")
            s.wait_requests("/b.htm", 1)
            s.wait_title_is(w, s.web_title("b.htm"))
            h.check(srv.count("/a.htm") == 1, "Enter navigated once: %r" % srv.paths())

        with s.step("a typed local address and Enter"):
            h.type_address(s, w, SECOND)
            s.wait_title_is(w, "C:\\HOME-PAG\\SECONDA.HTM")
            h.park_pointer(s)
            h.wait_for(lambda: h.control_pixels(s, w, "Command1") == local_caption, 5,
                       "Command1 to show its editing caption again")

        with s.step("Command1 on a local page opens the editor menu"):
            h.click_main(s, w, "Command1")
            menu = s.wait_window("^Menu possibili modifiche$")
            s.click_design(menu, 2760, 2100, 1560, 435)  # "F I N E"
            s.wait_no_window("^Menu possibili modifiche$")

        with s.step("an address already listed, typed again: Enter navigates once"):
            h.type_address(s, w, srv.url("a.htm"))
            s.wait_requests("/a.htm", 2)
            s.wait_title_is(w, s.web_title("a.htm"))

        with s.step("a pick from the list with the mouse"):
            popup = list_popup(s, w, p.pid)
            rows = rows_of(popup)
            # The start address (and the home page's own address, depending on the order
            # of its events), a.htm, b.htm, the local page; typed again, a.htm is not added.
            h.check(rows in (4, 5), "the visited pages listed once each (%d rows)" % rows)
            pick_row(s, popup, rows - 1)
            s.wait_title_is(w, "C:\\HOME-PAG\\SECONDA.HTM")

        with s.step("a pick from the list with the keys"):
            s.activate(w)
            s.key("alt+a")
            s.key("alt+Down")
            h.wait_for(lambda: len(s.windows(".", p.pid)) > 1, 10, "the drop-down list")
            s.key("Up")  # from the local page up to b.htm
            s.key("Return")
            s.wait_requests("/b.htm", 2)
            s.wait_title_is(w, s.web_title("b.htm"))
            h.check(srv.count("/a.htm") == 2, "Enter navigated once: %r" % srv.paths())
            # The next request comes from another copy, so it cannot serve as the barrier.
            h.stays(lambda: srv.count("/b.htm") == 2, 1.0, "a pick navigates once")

        with s.step("Command1 on a web page starts a new copy on that address, maximised and active"):
            h.click_main(s, w, "Command1")
            copy = h.wait_for(lambda: [pid for pid, args in s.program_copies() if pid != p.pid
                                       and args == [srv.url("b.htm")]], 20, "a new copy on b.htm")

            def maximised_window():
                managed = s.managed()
                for wid in s.windows(".", copy[0]):
                    state = s.x(["xprop", "-id", str(wid), "_NET_WM_STATE"], check=False)
                    if wid in managed and "_NET_WM_STATE_MAXIMIZED_VERT" in state \
                            and "_NET_WM_STATE_MAXIMIZED_HORZ" in state:
                        return wid
                return None
            other = h.wait_for(maximised_window, 60, "the new copy's window, maximised")
            h.wait_for(lambda: s.x(["xdotool", "getactivewindow"], check=False).strip() == str(other), 20,
                       "the new copy's window to have the focus")
            h.end_processes(sorted(h.descendants(copy), reverse=True))

        with s.step("an address typed the moment a page shows is kept, and Enter opens it"):
            h.type_address(s, w, srv.url("c.htm"))
            s.wait_requests("/c.htm", 1)
            s.key("ctrl+a")
            s.type(srv.url("a.htm?battuto"))
            # The caption takes this form from the tick after the page's last event.
            s.wait_title_is(w, s.web_title("c.htm"))
            s.key("Return")
            s.wait_requests("/a.htm?battuto", 1)

        with s.step("Alt+F4, Si: the visited addresses are kept"):
            s.activate(w)
            s.key("alt+F4")
            ask = s.wait_window("^Chiusura Lanterna$")
            s.activate(ask)
            s.key("alt+s")
            h.wait_for(lambda: p.poll() is not None, 20, "the program to end")
            dat = os.path.join(s.prog, "LANTERNA.DAT")
            with open(dat, "rb") as f:
                lines = f.read().decode("cp1252").splitlines()
            for address in (srv.url("a.htm"), srv.url("b.htm"), SECOND):
                h.check(address in lines, "%s in LANTERNA.DAT %r" % (address, lines))

        with s.step("a second start lists them"):
            p2 = s.start()
            w2 = s.main_window(p2)
            s.wait_title_is(w2, HOME, 60)
            popup = list_popup(s, w2, p2.pid)
            rows = rows_of(popup)
            # The start address first, then the stored ones in their order.
            stored = [line for line in lines if line != HOME]
            h.check(rows >= 1 + len(stored), "the stored addresses listed (%d rows)" % rows)
            before = srv.count("/b.htm")
            pick_row(s, popup, 1 + stored.index(srv.url("b.htm")))
            s.wait_requests("/b.htm", before + 1)
            s.wait_title_is(w2, s.web_title("b.htm"))

        with s.step("a start whose page is still loading lists them as soon as the list opens"):
            # The stored addresses join the list once the first page has shown, or
            # when the user opens the list before: this page trickles for seconds.
            h.end_processes(sorted(h.descendants([p2.pid]), reverse=True))
            p3 = s.start(srv.url("slow.htm"))
            w3 = s.main_window(p3)
            s.wait_requests("/slow.htm", 1)
            s.activate(w3)
            popup = list_popup(s, w3, p3.pid)
            rows = rows_of(popup)
            h.check(rows >= min(10, 1 + len(stored)), "the stored addresses listed at once (%d rows)" % rows)
            s.key("Escape")
            h.end_processes(sorted(h.descendants([p3.pid]), reverse=True))

        with s.step("a pipe named as the start page: the window comes up and answers"):
            os.mkfifo(os.path.join(s.drive, "HOME-PAG", "TUBO.HTM"))
            p4 = s.start("C:\\HOME-PAG\\TUBO.HTM")
            w4 = s.main_window(p4)
            before = srv.count("/c.htm")
            h.type_address(s, w4, srv.url("c.htm"))
            s.wait_requests("/c.htm", before + 1)


if __name__ == "__main__":
    h.run(scenario)
